// What each change recomposes: every event, every stored value, changes of whole settings
// records, the marks kept between paints and the steps a paint takes from them.
#include <gtest/gtest.h>

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/recompose.h"
#include "config/settings.h"

namespace {

constexpr Layers kNone = kLayerNone, kClock = kLayerClock, kAll = kAllLayers;
constexpr Layers kMonth = kLayerMonth | kLayerClock;

TEST(Recompose, EveryEventAgainstWhatIsComposed) {
    const struct {
        ViewEvent e;
        Layers want;
    } table[] = {
        {ViewEvent::kTickQuiet, kNone},
        {ViewEvent::kClockTextChanged, kClock},
        {ViewEvent::kNewDay, kMonth},
        {ViewEvent::kShownMonthChanged, kMonth},
        {ViewEvent::kArrowPressChanged, kMonth},
        {ViewEvent::kEntriesChanged, kMonth},
        {ViewEvent::kFontChanged, kMonth},
        {ViewEvent::kBackgroundReloaded, kAll},
        {ViewEvent::kResized, kAll},
        {ViewEvent::kSizeSettled, kAll},
        {ViewEvent::kSurfaceLost, kAll},
        {ViewEvent::kSysColorsChanged, kAll},
        {ViewEvent::kTextRenderingChanged, kMonth},
        {ViewEvent::kDisplayChanged, kAll},
        {ViewEvent::kMoved, kNone},
        {ViewEvent::kUncovered, kNone},
        {ViewEvent::kHidden, kNone},
        {ViewEvent::kShown, kNone},
        {ViewEvent::kMinimized, kNone},
        {ViewEvent::kRestored, kNone},
        {ViewEvent::kTrayTipChanged, kNone},
        {ViewEvent::kTitleBarToggled, kNone},
        {ViewEvent::kAlwaysOnTopToggled, kNone},
    };
    // The table names every event once: a new event cannot go undecided.
    ASSERT_EQ(sizeof table / sizeof table[0], static_cast<size_t>(ViewEvent::kCount));
    bool seen[static_cast<int>(ViewEvent::kCount)] = {};
    for (const auto& row : table) {
        const int i = static_cast<int>(row.e);
        EXPECT_FALSE(seen[i]) << i;
        seen[i] = true;
        EXPECT_EQ(layers_for_event(row.e), row.want) << i;
    }
    EXPECT_EQ(layers_for_event(ViewEvent::kCount), kAll);  // out of the list: everything
}

// Every row of both tables is found by its key and names a layer set the module hands out:
// closed upward, the same for every row of one redraw, and growing with the redraw. Keys are
// unique also without regard to letter case (as the file matches them), so no lookup finds
// another row.
TEST(Recompose, EveryRowNamesALayer) {
    struct Row {
        const char* name;
        Redraw redraws;
    };
    std::vector<Row> rows;
    for (const SettingKey& k : kSettingKeys) rows.push_back({k.name, k.redraws});
    for (const WindowSetKey& k : kWindowSetKeys) rows.push_back({k.name, k.redraws});
    constexpr int kRedraws = static_cast<int>(Redraw::kBackground) + 1;
    Layers of_redraw[kRedraws];
    bool seen[kRedraws] = {};
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        for (size_t j = 0; j < i; ++j) EXPECT_NE(strcasecmp(rows[j].name, r.name), 0) << r.name;
        EXPECT_TRUE(setting_is_classified(r.name)) << r.name;
        const int n = static_cast<int>(r.redraws);
        ASSERT_GE(n, 0) << r.name;
        ASSERT_LT(n, kRedraws) << r.name;
        const Layers l = layers_for_setting(r.name);
        EXPECT_EQ(close_upward(l), l) << r.name;
        if (seen[n]) EXPECT_EQ(l, of_redraw[n]) << r.name;
        of_redraw[n] = l;
        seen[n] = true;
    }
    EXPECT_EQ(of_redraw[static_cast<int>(Redraw::kNothing)], kNone) << "the window set redraws nothing";
    for (int n = 1; n < kRedraws; ++n) {
        if (!seen[n] || !seen[n - 1]) continue;
        EXPECT_EQ(of_redraw[n] & of_redraw[n - 1], of_redraw[n - 1]) << n;
        EXPECT_NE(of_redraw[n], of_redraw[n - 1]) << n;
    }
    // Unknown keys and case slips compose everything.
    EXPECT_FALSE(setting_is_classified("backimage"));
    EXPECT_EQ(layers_for_setting("backimage"), kAll);
    EXPECT_EQ(layers_for_setting(nullptr), kAll);
}

Settings some_settings() {
    Settings s;
    std::memset(&s, 0, sizeof s);
    s.monthlang = 1;
    s.cmode = 1;
    s.charset = 128;
    s.weight = 400;
    s.BackArea = 50;
    std::strcpy(s.fontname, "Gothic");
    std::strcpy(s.BackImageFile, "C:\\photo.jpg");
    return s;
}

// A change of any one field asks for what its key asks for, found through the record's
// layout (every int and text field, the window set included).
TEST(Recompose, EachChangedFieldOfARecord) {
    const Settings before = some_settings();
    EXPECT_EQ(layers_for_settings_change(before, before), kNone);
    for (const SettingKey& k : kSettingKeys) {
        Settings after = before;
        char* field = reinterpret_cast<char*>(&after) + k.offset;
        if (k.kind == SettingKind::kText) {
            field[0] = static_cast<char>(field[0] == 'x' ? 'y' : 'x');
            field[1] = '\0';
        } else {
            int v;
            std::memcpy(&v, field, sizeof v);
            v += 8;
            std::memcpy(field, &v, sizeof v);
        }
        EXPECT_EQ(layers_for_settings_change(before, after), layers_for_setting(k.name)) << k.name;
    }
    for (const WindowSetKey& k : kWindowSetKeys) {
        Settings after = before;
        reinterpret_cast<int*>(reinterpret_cast<char*>(&after) + k.offset)[0] += 5;
        EXPECT_EQ(layers_for_settings_change(before, after), kNone) << k.name;
    }
}

TEST(Recompose, ChangesOfSeveralFieldsUnite) {
    const Settings before = some_settings();
    const struct {
        const char* what;
        void (*change)(Settings&);
        Layers want;
    } cases[] = {
        {"format and seconds", [](Settings& s) { s.method = 1; s.second = 1; }, kClock},
        {"format and on top", [](Settings& s) { s.ampm = 1; s.front = 8; }, kClock},
        {"seconds and Saturdays", [](Settings& s) { s.second = 1; s.cmode = 0; }, kMonth},
        {"face and image file", [](Settings& s) {
             std::strcpy(s.fontname, "Mincho");
             std::strcpy(s.BackImageFile, "C:\\other.bmp");
         }, kAll},
        {"only past the text's end", [](Settings& s) { s.fontname[40] = 'z'; }, kNone},
        {"window set and list", [](Settings& s) { s.x2 += 100; s.ToDoBoot = 1; }, kNone},
    };
    for (const auto& c : cases) {
        Settings after = before;
        c.change(after);
        EXPECT_EQ(layers_for_settings_change(before, after), c.want) << c.what;
    }
}

TEST(Recompose, MarksAccumulateUntilAPaintTakesThem) {
    Recomposition r;
    EXPECT_EQ(r.pending(), kAll);  // nothing composed yet
    EXPECT_EQ(r.take(), kAll);
    EXPECT_EQ(r.pending(), kNone);
    EXPECT_EQ(r.take(), kNone);  // an uncover's paint: only a copy

    const struct {
        const char* what;
        ViewEvent events[3];
        int n;
        Layers want;
    } cases[] = {
        {"ticks", {ViewEvent::kClockTextChanged, ViewEvent::kTickQuiet}, 2, kClock},
        {"tick then month", {ViewEvent::kClockTextChanged, ViewEvent::kShownMonthChanged}, 2, kMonth},
        {"hidden through a new day", {ViewEvent::kHidden, ViewEvent::kNewDay, ViewEvent::kShown}, 3, kMonth},
        {"minimised tick and restore", {ViewEvent::kMinimized, ViewEvent::kClockTextChanged,
                                        ViewEvent::kRestored}, 3, kClock},
        {"resize over a tick", {ViewEvent::kClockTextChanged, ViewEvent::kResized}, 2, kAll},
        {"moves and uncovers", {ViewEvent::kMoved, ViewEvent::kUncovered}, 2, kNone},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.n; ++i) r.mark(c.events[i]);
        EXPECT_EQ(r.take(), c.want) << c.what;
        EXPECT_EQ(r.pending(), kNone) << c.what;
    }

    // A lower layer marked by hand brings the ones above it; settings marks likewise.
    r.mark(kLayerBackground);
    EXPECT_EQ(r.take(), kAll);
    Settings a = some_settings(), b = a;
    b.second = 1;
    r.mark_settings(a, b);
    EXPECT_EQ(r.take(), kClock);
}

TEST(Recompose, StepsOfAPaint) {
    const struct {
        Layers taken;
        bool clock;
        ComposeSteps want;  // drop cache, lay, month, keep, restore, clock
    } cases[] = {
        {kNone, true, {false, false, false, false, false, false}},
        {kNone, false, {false, false, false, false, false, false}},
        {kClock, true, {false, false, false, false, true, true}},
        {kClock, false, {false, false, false, false, false, false}},
        {kLayerMonth, true, {false, true, true, true, false, true}},  // brings the clock
        {kMonth, false, {false, true, true, false, false, false}},
        {kLayerBackground, true, {true, true, true, true, false, true}},
        {kAll, false, {true, true, true, false, false, false}},
    };
    for (const auto& c : cases) {
        const ComposeSteps s = compose_steps(c.taken, c.clock);
        SCOPED_TRACE(testing::Message() << "layers " << c.taken << " clock " << c.clock);
        EXPECT_EQ(s.drop_background_cache, c.want.drop_background_cache);
        EXPECT_EQ(s.lay_background, c.want.lay_background);
        EXPECT_EQ(s.draw_month, c.want.draw_month);
        EXPECT_EQ(s.keep_month_picture, c.want.keep_month_picture);
        EXPECT_EQ(s.restore_month_picture, c.want.restore_month_picture);
        EXPECT_EQ(s.draw_clock, c.want.draw_clock);
    }
}

// A change the paint finds by comparing what the month was composed from asks for what its
// event asks for; several changes unite.
TEST(Recompose, MonthInputsAgainstTheirEvents) {
    const MonthInputs before = {2009, 5, 2009, 5, 20, 0};
    const Layers month = layers_for_event(ViewEvent::kShownMonthChanged);
    const struct {
        const char* what;
        void (*change)(MonthInputs&);
        Layers want;
    } cases[] = {
        {"nothing", [](MonthInputs&) {}, kNone},
        {"next month", [](MonthInputs& m) { m.shown_month = 6; }, month},
        {"same month a year on", [](MonthInputs& m) { m.shown_year = 2010; }, month},
        {"midnight", [](MonthInputs& m) { m.today_day = 21; }, layers_for_event(ViewEvent::kNewDay)},
        {"a month's first day", [](MonthInputs& m) { m.today_month = 6; m.today_day = 1; }, kMonth},
        {"new year", [](MonthInputs& m) { m.today_year = 2010; }, kMonth},
        {"button held", [](MonthInputs& m) { m.pressed_arrow = 2; },
         layers_for_event(ViewEvent::kArrowPressChanged)},
    };
    for (const auto& c : cases) {
        MonthInputs after = before;
        c.change(after);
        EXPECT_EQ(layers_for_month_inputs(before, after), c.want) << c.what;
        Recomposition r;
        r.take();
        r.mark_inputs(before, after);
        EXPECT_EQ(r.take(), c.want) << c.what;
    }
}

// What a paint must bring to the window besides its update rectangle: the whole client after
// the month, the old and the new clock (with the text's fringe) after a new time.
TEST(Recompose, AreaAComposedPaintChanged) {
    const int w = 340, h = 340;
    const CellRect none = {0, 0, 0, 0};
    const CellRect clock = {250, 300, 320, 320}, wider = {230, 300, 320, 320};
    const CellRect face = {260, 250, 330, 320}, text = {180, 290, 256, 310};
    const CellRect corner = {300, 330, 345, 350};  // reaches past the client
    const struct {
        const char* what;
        Layers taken;
        bool clock_shown;
        CellRect before[2], after[2];
        CellRect want;
    } cases[] = {
        {"nothing marked: a copy", kNone, true, {clock, clock}, {clock, clock}, none},
        {"month", kMonth, true, {clock, clock}, {clock, clock}, {0, 0, w, h}},
        {"background without a clock", kAll, false, {none, none}, {none, none}, {0, 0, w, h}},
        {"same clock", kClock, true, {clock, clock}, {clock, clock}, {248, 298, 322, 322}},
        {"clock grew", kClock, true, {clock, clock}, {wider, wider}, {228, 298, 322, 322}},
        {"analog face and text", kClock, true, {face, text}, {face, text}, {178, 248, 332, 322}},
        {"first clock", kClock, true, {none, none}, {clock, none}, {248, 298, 322, 322}},
        {"cut to the client", kClock, true, {corner, none}, {corner, none}, {298, 328, w, h}},
        {"clock not shown", kClock, false, {clock, clock}, {clock, clock}, none},
    };
    for (const auto& c : cases) {
        const ComposeSteps steps = compose_steps(c.taken, c.clock_shown);
        const CellRect a = composed_area(steps, w, h, c.before, c.after);
        EXPECT_TRUE(a.left == c.want.left && a.top == c.want.top && a.right == c.want.right &&
                    a.bottom == c.want.bottom)
            << c.what << ": " << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    }
    const CellRect all[2] = {clock, clock};
    EXPECT_TRUE(rect_empty(composed_area(compose_steps(kAll, true), 0, 0, all, all)));
}

}  // namespace
