// The detailed settings dialog's rules: opening values, enabling, the commands, and what OK
// and 更新 write into the settings record.
#include "dialogs/settings_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "config/settings.h"
#include "resources/resource.h"

namespace {

std::map<int, bool> enabled(const ControlState* states, int n) {
    std::map<int, bool> m;
    for (int i = 0; i < n; ++i) m[states[i].id] = states[i].enabled;
    return m;
}

Settings defaults() {
    Settings s;
    settings_defaults(&s, 1024, 768);
    return s;
}

}  // namespace

TEST(SettingsDialogEnabling, BackgroundGroup) {
    struct Case {
        bool image_on;
        int mode;
        bool area_rows, transparency, ratio;
    };
    const Case cases[] = {
        {false, 0, false, false, false}, {false, 1, false, false, false}, {true, 0, true, true, false},
        {true, 1, true, false, true},    {true, 2, true, false, true},    {true, 9, true, false, true},
    };
    for (const auto& c : cases) {
        ControlState out[kBackgroundControls];
        background_enabling(SettingsWork{c.image_on, c.mode, false, false}, out);
        auto m = enabled(out, kBackgroundControls);
        ASSERT_EQ(m.size(), 12u);
        for (int id : {IDC_SET_BACK_WHOLE, IDC_SET_BACK_RIGHT, IDC_SET_BACK_BOTTOM, IDC_SET_BACK_FILE_LABEL,
                       IDC_SET_BACK_FILE, IDC_SET_BACK_BROWSE})
            EXPECT_EQ(m[id], c.area_rows) << id << " image " << c.image_on << " mode " << c.mode;
        for (int id : {IDC_SET_TRANSPARENT_LABEL, IDC_SET_BACK_TRANSPARENT, IDC_SET_TRANSPARENT_UNIT})
            EXPECT_EQ(m[id], c.transparency) << id << " image " << c.image_on << " mode " << c.mode;
        for (int id : {IDC_SET_AREA_LABEL, IDC_SET_BACK_AREA, IDC_SET_AREA_UNIT})
            EXPECT_EQ(m[id], c.ratio) << id << " image " << c.image_on << " mode " << c.mode;
    }
}

TEST(SettingsDialogEnabling, ClockGroup) {
    struct { bool clock, twelve; bool others, ampm; } cases[] = {
        {false, false, false, false}, {false, true, false, false}, {true, false, true, false}, {true, true, true, true},
    };
    for (const auto& c : cases) {
        ControlState out[kClockControls];
        clock_enabling(SettingsWork{false, 0, c.clock, c.twelve}, out);
        auto m = enabled(out, kClockControls);
        EXPECT_EQ(m[IDC_SET_CLOCK_12H], c.others);
        EXPECT_EQ(m[IDC_SET_CLOCK_ANALOG], c.others);
        EXPECT_EQ(m[IDC_SET_CLOCK_SECONDS], c.others);
        EXPECT_EQ(m[IDC_SET_CLOCK_AMPM_AFTER], c.ampm) << c.clock << c.twelve;
    }
}

// What the dialog shows at opening, by control id.
std::map<int, ControlValue> shown(const Settings& s) {
    ControlValue v[kSettingControlCount];
    settings_dialog_values(s, v);
    std::map<int, ControlValue> m;
    for (const ControlValue& x : v) m[x.id] = x;
    return m;
}

// The checked radio of ids first..last: 0 when none, -1 when more than one.
int checked_radio(const std::map<int, ControlValue>& m, int first, int last) {
    int found = 0;
    for (const auto& [id, v] : m)
        if (id >= first && id <= last && v.checked) found = found ? -1 : id;
    return found;
}

struct RadioGroup {
    int first, last;
};
constexpr RadioGroup kSaturday = {IDC_SET_SAT_COLOUR, IDC_SET_SAT_PLAIN};
constexpr RadioGroup kToday = {IDC_SET_TODAY_BOX, IDC_SET_TODAY_TICK};
constexpr RadioGroup kMonth = {IDC_SET_MONTH_JAPANESE, IDC_SET_MONTH_ENGLISH};
constexpr RadioGroup kWeek = {IDC_SET_WEEK_JAPANESE, IDC_SET_WEEK_ENGLISH};
constexpr RadioGroup kArea = {IDC_SET_BACK_WHOLE, IDC_SET_BACK_BOTTOM};

int radio(const Settings& s, RadioGroup g) { return checked_radio(shown(s), g.first, g.last); }

TEST(SettingsDialogInit, RadiosChecksAndNumbers) {
    Settings s = defaults();
    auto d = shown(s);
    EXPECT_EQ(radio(s, kSaturday), IDC_SET_SAT_COLOUR);
    EXPECT_EQ(radio(s, kToday), IDC_SET_TODAY_BOX);
    EXPECT_EQ(radio(s, kMonth), IDC_SET_MONTH_JAPANESE);
    EXPECT_EQ(radio(s, kWeek), IDC_SET_WEEK_ENGLISH);
    EXPECT_EQ(radio(s, kArea), IDC_SET_BACK_WHOLE);
    EXPECT_EQ(d[IDC_SET_BACK_AREA].number, 50u);
    EXPECT_FALSE(d[IDC_SET_BACK_IMAGE].checked || d[IDC_SET_CLOCK].checked || d[IDC_SET_CLOCK_SECONDS].checked);

    struct Case {
        const char* what;
        void (*change)(Settings*);
        RadioGroup group;
        int want;
    };
    const Case cases[] = {
        {"cmode 2 is not 1", [](Settings* x) { x->cmode = 2; }, kSaturday, IDC_SET_SAT_PLAIN},
        {"cmode 0", [](Settings* x) { x->cmode = 0; }, kSaturday, IDC_SET_SAT_PLAIN},
        {"ticks", [](Settings* x) { x->checkmark = 1; }, kToday, IDC_SET_TODAY_TICK},
        {"checkmark 3 checks none", [](Settings* x) { x->checkmark = 3; }, kToday, 0},
        {"English months", [](Settings* x) { x->monthlang = 0; }, kMonth, IDC_SET_MONTH_ENGLISH},
        {"Japanese weekdays", [](Settings* x) { x->weeklang = 1; }, kWeek, IDC_SET_WEEK_JAPANESE},
        {"bottom band", [](Settings* x) { x->BackMode = 2; }, kArea, IDC_SET_BACK_BOTTOM},
        {"BackMode 3 checks none", [](Settings* x) { x->BackMode = 3; }, kArea, 0},
        {"BackMode -1 checks none", [](Settings* x) { x->BackMode = -1; }, kArea, 0},
    };
    for (const auto& c : cases) {
        Settings t = defaults();
        c.change(&t);
        EXPECT_EQ(radio(t, c.group), c.want) << c.what;
    }

    s.Transparent = 150;  // out-of-range stored values are shown as used
    s.BackArea = -5;
    d = shown(s);
    EXPECT_EQ(d[IDC_SET_BACK_TRANSPARENT].number, 100u);
    EXPECT_EQ(d[IDC_SET_BACK_AREA].number, 0u);
}

// The controls as the dialog holds them when OK is pressed, by id.
struct Controls {
    bool saturday_colour, today_box, month_japanese, week_japanese;
    bool clock, twelve_hour, ampm_after, analog, seconds, image;
    int area_radio;  // 0: none checked
    const char* file;
    unsigned transparent, back_area;
};

void read_back(const Controls& c, Settings* s) {
    const ControlValue v[] = {
        {IDC_SET_SAT_COLOUR, c.saturday_colour, 0, nullptr},
        {IDC_SET_SAT_PLAIN, !c.saturday_colour, 0, nullptr},
        {IDC_SET_TODAY_BOX, c.today_box, 0, nullptr},
        {IDC_SET_TODAY_TICK, !c.today_box, 0, nullptr},
        {IDC_SET_MONTH_JAPANESE, c.month_japanese, 0, nullptr},
        {IDC_SET_MONTH_ENGLISH, !c.month_japanese, 0, nullptr},
        {IDC_SET_WEEK_JAPANESE, c.week_japanese, 0, nullptr},
        {IDC_SET_WEEK_ENGLISH, !c.week_japanese, 0, nullptr},
        {IDC_SET_CLOCK, c.clock, 0, nullptr},
        {IDC_SET_CLOCK_12H, c.twelve_hour, 0, nullptr},
        {IDC_SET_CLOCK_AMPM_AFTER, c.ampm_after, 0, nullptr},
        {IDC_SET_CLOCK_ANALOG, c.analog, 0, nullptr},
        {IDC_SET_CLOCK_SECONDS, c.seconds, 0, nullptr},
        {IDC_SET_BACK_IMAGE, c.image, 0, nullptr},
        {IDC_SET_BACK_WHOLE, c.area_radio == IDC_SET_BACK_WHOLE, 0, nullptr},
        {IDC_SET_BACK_RIGHT, c.area_radio == IDC_SET_BACK_RIGHT, 0, nullptr},
        {IDC_SET_BACK_BOTTOM, c.area_radio == IDC_SET_BACK_BOTTOM, 0, nullptr},
        {IDC_SET_BACK_FILE, false, 0, c.file},
        {IDC_SET_BACK_TRANSPARENT, false, c.transparent, nullptr},
        {IDC_SET_BACK_AREA, false, c.back_area, nullptr},
    };
    settings_from_dialog(v, sizeof v / sizeof v[0], s);
}

TEST(SettingsFromDialog, ReadsEveryControl) {
    Settings s = defaults();
    s.second = 1;
    read_back({false, false, false, true, true, true, false, true, true, true, IDC_SET_BACK_BOTTOM,
               "C:\\pics\\背景.bmp", 150, 0},
              &s);
    EXPECT_EQ(s.cmode, 0);
    EXPECT_EQ(s.checkmark, 1);
    EXPECT_EQ(s.monthlang, 0);
    EXPECT_EQ(s.weeklang, 1);
    EXPECT_EQ(s.clock, 1);
    EXPECT_EQ(s.method, 1);
    EXPECT_EQ(s.ampm, 0);
    EXPECT_EQ(s.analog, 1);
    EXPECT_EQ(s.second, 1);
    EXPECT_EQ(s.BackImage, 1);
    EXPECT_EQ(s.BackMode, 2);
    EXPECT_STREQ(s.BackImageFile, "C:\\pics\\背景.bmp");
    EXPECT_EQ(s.Transparent, 100) << "150 is limited to 100";
    EXPECT_EQ(s.BackArea, 0) << "letters read as 0";

    const std::string long_name = "C:\\" + std::string(300, 'x');
    s.BackMode = 7;  // stored so: the dialog opened with no area radio checked
    read_back({true, true, true, false, false, false, false, false, false, false, 0,
               long_name.c_str(), 4294967295u, 37},
              &s);
    EXPECT_EQ(s.cmode, 1);
    EXPECT_EQ(s.checkmark, 0);
    EXPECT_EQ(s.monthlang, 1);
    EXPECT_EQ(s.weeklang, 0);
    EXPECT_EQ(s.second, 0);
    EXPECT_EQ(s.BackImage, 0);
    EXPECT_EQ(s.BackMode, 7) << "an unchanged out-of-range mode stays";
    EXPECT_EQ(std::string(s.BackImageFile), long_name.substr(0, 259));
    EXPECT_EQ(s.Transparent, 100);
    EXPECT_EQ(s.BackArea, 37);
}

// A radio group none of whose radios is checked (a stored value none stands for, left alone):
// the two-way choices read as their second radio, the area mode keeps its value.
TEST(SettingsFromDialog, RadioGroupWithNoneChecked) {
    Settings s = defaults();
    s.cmode = 5;
    s.checkmark = 3;
    s.monthlang = 4;
    s.weeklang = 9;
    s.BackMode = -2;
    ControlValue none[kSettingControlCount];
    settings_dialog_values(s, none);
    for (ControlValue& v : none) v.checked = false;
    settings_from_dialog(none, kSettingControlCount, &s);
    EXPECT_EQ(s.cmode, 0);
    EXPECT_EQ(s.checkmark, 1);
    EXPECT_EQ(s.monthlang, 0);
    EXPECT_EQ(s.weeklang, 0);
    EXPECT_EQ(s.BackMode, -2);
    // Values for ids no control has, and controls without a value, change nothing.
    Settings t = defaults();
    const Settings before = t;
    const ControlValue stray[] = {{9999, true, 7, "x"}, {IDC_SET_APPLY, true, 0, nullptr}};
    settings_from_dialog(stray, 2, &t);
    EXPECT_EQ(std::memcmp(&before, &t, sizeof t), 0);
}

// Every control is bound to a row of the settings table that it can show: check boxes to
// on/off settings, radios and number edits to integers within their range, the path to a
// text; ids are unique, and a radio group has at most one radio for other values each way.
TEST(SettingsControls, EveryControlShowsItsRow) {
    std::map<int, int> ids;
    std::map<size_t, int> shown_for_others, read_when_none;
    for (const SettingControl& c : kSettingControls) {
        EXPECT_EQ(++ids[c.id], 1) << "id " << c.id << " bound twice";
        const SettingKey* k = setting_key_at(c.field);
        ASSERT_NE(k, nullptr) << c.id;
        EXPECT_EQ(k->group, SettingGroup::kConfig) << k->name;
        switch (c.kind) {
        case ControlKind::kCheck: EXPECT_EQ(k->on_off, OnOff::kOne) << k->name; break;
        case ControlKind::kRadio:
            EXPECT_NE(k->kind, SettingKind::kText) << k->name;
            EXPECT_GE(c.value, k->min) << k->name;
            EXPECT_LE(c.value, k->max) << k->name;
            shown_for_others[c.field] += (c.rules & kShownForOthers) != 0;
            read_when_none[c.field] += (c.rules & kReadWhenNone) != 0;
            break;
        case ControlKind::kNumber:
            EXPECT_NE(k->kind, SettingKind::kText) << k->name;
            EXPECT_GE(k->min, 0) << k->name << ": the edit reads unsigned numbers";
            break;
        case ControlKind::kPath: EXPECT_EQ(k->kind, SettingKind::kText) << k->name; break;
        }
        if (c.kind != ControlKind::kRadio) EXPECT_EQ(c.rules, 0) << k->name;
    }
    for (const auto& [field, n] : shown_for_others) EXPECT_LE(n, 1) << setting_key_at(field)->name;
    for (const auto& [field, n] : read_when_none) EXPECT_LE(n, 1) << setting_key_at(field)->name;
}

// Opening and pressing OK at once gives back the record for every value in range, and every
// bound field is read back.
TEST(SettingsControls, OpenedAndReadBackUnchanged) {
    Settings a = defaults();
    Settings b = defaults();
    b.monthlang = 0;
    b.weeklang = 1;
    b.checkmark = 1;
    b.cmode = 0;
    b.clock = b.method = b.ampm = b.analog = b.second = b.BackImage = 1;
    b.BackMode = 1;
    b.Transparent = 100;
    b.BackArea = 0;
    std::strcpy(b.BackImageFile, "C:\\写真\\表.jpg");
    for (const Settings* s : {&a, &b}) {
        ControlValue v[kSettingControlCount];
        settings_dialog_values(*s, v);
        Settings back = *s;
        for (const SettingControl& c : kSettingControls) {
            const SettingKey& k = *setting_key_at(c.field);
            if (k.kind == SettingKind::kText)
                setting_text(back, k)[0] = '?';
            else
                setting_int(back, k) = 12345;
        }
        settings_from_dialog(v, kSettingControlCount, &back);
        EXPECT_EQ(std::memcmp(s, &back, sizeof back), 0) << (s == &a ? "defaults" : "every other value");
    }
}

TEST(SettingsCommands, ActionOfEachControl) {
    struct { int id, notify; SettingsAction action; } cases[] = {
        {IDC_SET_CLOCK, 0, SettingsAction::toggle_clock},
        {IDC_SET_CLOCK_12H, 0, SettingsAction::toggle_twelve_hour},
        {IDC_SET_CLOCK_AMPM_AFTER, 0, SettingsAction::changed},
        {IDC_SET_CLOCK_ANALOG, 0, SettingsAction::changed},
        {IDC_SET_CLOCK_SECONDS, 0, SettingsAction::changed},
        {IDC_SET_SAT_COLOUR, 0, SettingsAction::changed},
        {IDC_SET_SAT_PLAIN, 0, SettingsAction::changed},
        {IDC_SET_TODAY_TICK, 0, SettingsAction::changed},
        {IDC_SET_WEEK_ENGLISH, 0, SettingsAction::changed},
        {IDC_SET_BACK_TRANSPARENT, 0x300, SettingsAction::changed},
        {IDC_SET_BACK_TRANSPARENT, 0x100, SettingsAction::none},  // focus
        {IDC_SET_BACK_AREA, 0x300, SettingsAction::changed},
        {IDC_SET_BACK_AREA, 0x200, SettingsAction::none},
        {IDC_SET_BACK_IMAGE, 0, SettingsAction::image_switch},
        {IDC_SET_BACK_WHOLE, 0, SettingsAction::area_mode},
        {IDC_SET_BACK_BOTTOM, 0, SettingsAction::area_mode},
        {IDC_SET_BACK_BROWSE, 0, SettingsAction::browse},
        {1, 0, SettingsAction::ok},
        {2, 0, SettingsAction::cancel},
        {IDC_SET_APPLY, 0, SettingsAction::apply},
        {IDC_SET_BACK_FILE, 0x300, SettingsAction::none},
        {1002, 0, SettingsAction::none},
        {1011, 0, SettingsAction::none},
        {149, 0, SettingsAction::none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settings_command_action(c.id, c.notify), c.action) << c.id << " " << c.notify;
}
