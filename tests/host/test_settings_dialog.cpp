// The detailed settings dialog's rules: opening values, enabling, the commands, and what OK
// and 更新 write into the settings record.
#include "dialogs/settings_dialog.h"

#include <gtest/gtest.h>

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

TEST(SettingsDialogInit, RadiosChecksAndNumbers) {
    Settings s = defaults();
    SettingsDialogInit d = settings_dialog_init(s);
    EXPECT_EQ(d.saturday_radio, IDC_SET_SAT_COLOUR);
    EXPECT_EQ(d.today_radio, IDC_SET_TODAY_BOX);
    EXPECT_EQ(d.month_radio, IDC_SET_MONTH_JAPANESE);
    EXPECT_EQ(d.week_radio, IDC_SET_WEEK_ENGLISH);
    EXPECT_EQ(d.area_radio, IDC_SET_BACK_WHOLE);
    EXPECT_EQ(d.back_area, 50u);
    EXPECT_FALSE(d.back_image || d.clock || d.seconds);

    struct Case {
        const char* what;
        void (*change)(Settings*);
        int SettingsDialogInit::*radio;
        int want;
    };
    const Case cases[] = {
        {"cmode 2 is not 1", [](Settings* x) { x->cmode = 2; }, &SettingsDialogInit::saturday_radio, IDC_SET_SAT_PLAIN},
        {"cmode 0", [](Settings* x) { x->cmode = 0; }, &SettingsDialogInit::saturday_radio, IDC_SET_SAT_PLAIN},
        {"ticks", [](Settings* x) { x->checkmark = 1; }, &SettingsDialogInit::today_radio, IDC_SET_TODAY_TICK},
        {"checkmark 3 checks none", [](Settings* x) { x->checkmark = 3; }, &SettingsDialogInit::today_radio, 0},
        {"English months", [](Settings* x) { x->monthlang = 0; }, &SettingsDialogInit::month_radio, IDC_SET_MONTH_ENGLISH},
        {"Japanese weekdays", [](Settings* x) { x->weeklang = 1; }, &SettingsDialogInit::week_radio, IDC_SET_WEEK_JAPANESE},
        {"bottom band", [](Settings* x) { x->BackMode = 2; }, &SettingsDialogInit::area_radio, IDC_SET_BACK_BOTTOM},
        {"BackMode 3 checks none", [](Settings* x) { x->BackMode = 3; }, &SettingsDialogInit::area_radio, 0},
        {"BackMode -1 checks none", [](Settings* x) { x->BackMode = -1; }, &SettingsDialogInit::area_radio, 0},
    };
    for (const auto& c : cases) {
        Settings t = defaults();
        c.change(&t);
        EXPECT_EQ(settings_dialog_init(t).*c.radio, c.want) << c.what;
    }

    s.Transparent = 150;  // out-of-range stored values are shown as used
    s.BackArea = -5;
    d = settings_dialog_init(s);
    EXPECT_EQ(d.transparent, 100u);
    EXPECT_EQ(d.back_area, 0u);
}

TEST(SettingsFromDialog, ReadsEveryControl) {
    Settings s = defaults();
    s.second = 1;
    const SettingsDialogFields f = {false, false, false, true, true, true, false, true, true,
                                    "C:\\pics\\背景.bmp", 150, 0};
    settings_from_dialog(f, SettingsWork{true, 2, true, true}, &s);
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
    const SettingsDialogFields g = {true, true, true, false, false, false, false, false, false,
                                    long_name.c_str(), 4294967295u, 37};
    settings_from_dialog(g, SettingsWork{false, 7, false, false}, &s);
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
