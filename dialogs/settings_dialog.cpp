#include "dialogs/settings_dialog.h"

#include "config/cp932.h"
#include "config/settings.h"
#include "image/background_layout.h"
#include "resources/resource.h"

namespace {

constexpr int kEnChange = 0x300;

}  // namespace

SettingsWork settings_work_from(const Settings& s) {
    return SettingsWork{s.BackImage != 0, s.BackMode, s.clock != 0, s.method != 0};
}

void background_enabling(const SettingsWork& w, ControlState out[kBackgroundControls]) {
    const bool whole = w.image_on && w.area_mode == 0;
    const bool band = w.image_on && w.area_mode != 0;
    const ControlState states[kBackgroundControls] = {
        {IDC_SET_BACK_WHOLE, w.image_on},        {IDC_SET_BACK_RIGHT, w.image_on},
        {IDC_SET_BACK_BOTTOM, w.image_on},       {IDC_SET_BACK_FILE_LABEL, w.image_on},
        {IDC_SET_BACK_FILE, w.image_on},         {IDC_SET_BACK_BROWSE, w.image_on},
        {IDC_SET_TRANSPARENT_LABEL, whole},      {IDC_SET_BACK_TRANSPARENT, whole},
        {IDC_SET_TRANSPARENT_UNIT, whole},       {IDC_SET_AREA_LABEL, band},
        {IDC_SET_BACK_AREA, band},               {IDC_SET_AREA_UNIT, band},
    };
    for (int i = 0; i < kBackgroundControls; ++i) out[i] = states[i];
}

void clock_enabling(const SettingsWork& w, ControlState out[kClockControls]) {
    out[0] = {IDC_SET_CLOCK_12H, w.clock_on};
    out[1] = {IDC_SET_CLOCK_ANALOG, w.clock_on};
    out[2] = {IDC_SET_CLOCK_SECONDS, w.clock_on};
    out[3] = {IDC_SET_CLOCK_AMPM_AFTER, w.clock_on && w.twelve_hour};
}

SettingsDialogInit settings_dialog_init(const Settings& s) {
    SettingsDialogInit d = {};
    d.saturday_radio = s.cmode == 1 ? IDC_SET_SAT_COLOUR : IDC_SET_SAT_PLAIN;
    d.today_radio = s.checkmark == 0 ? IDC_SET_TODAY_BOX : s.checkmark == 1 ? IDC_SET_TODAY_TICK : 0;
    d.month_radio = s.monthlang == 1 ? IDC_SET_MONTH_JAPANESE : IDC_SET_MONTH_ENGLISH;
    d.week_radio = s.weeklang == 1 ? IDC_SET_WEEK_JAPANESE : IDC_SET_WEEK_ENGLISH;
    d.area_radio = s.BackMode >= 0 && s.BackMode <= 2 ? IDC_SET_BACK_WHOLE + s.BackMode : 0;
    d.clock = s.clock != 0;
    d.twelve_hour = s.method != 0;
    d.ampm_after = s.ampm != 0;
    d.analog = s.analog != 0;
    d.seconds = s.second != 0;
    d.back_image = s.BackImage != 0;
    d.transparent = static_cast<unsigned>(clamp_percent(s.Transparent));
    d.back_area = static_cast<unsigned>(clamp_percent(s.BackArea));
    return d;
}

void settings_from_dialog(const SettingsDialogFields& f, const SettingsWork& w, Settings* s) {
    s->cmode = f.saturday_colour ? 1 : 0;
    s->checkmark = f.today_box ? 0 : 1;
    s->monthlang = f.month_japanese ? 1 : 0;
    s->weeklang = f.week_japanese ? 1 : 0;
    s->clock = f.clock ? 1 : 0;
    s->method = f.twelve_hour ? 1 : 0;
    s->ampm = f.ampm_after ? 1 : 0;
    s->analog = f.analog ? 1 : 0;
    s->second = f.seconds ? 1 : 0;
    s->BackImage = w.image_on ? 1 : 0;
    s->BackMode = w.area_mode;
    cp932_copy(s->BackImageFile, sizeof s->BackImageFile, f.image_file ? f.image_file : "");
    s->Transparent = clamp_percent(f.transparent);
    s->BackArea = clamp_percent(f.back_area);
}

SettingsAction settings_command_action(int id, int notify) {
    switch (id) {
    case IDC_SET_CLOCK: return SettingsAction::toggle_clock;
    case IDC_SET_CLOCK_12H: return SettingsAction::toggle_twelve_hour;
    case IDC_SET_CLOCK_AMPM_AFTER:
    case IDC_SET_CLOCK_ANALOG:
    case IDC_SET_CLOCK_SECONDS: return SettingsAction::changed;
    case IDC_SET_BACK_TRANSPARENT:
    case IDC_SET_BACK_AREA: return notify == kEnChange ? SettingsAction::changed : SettingsAction::none;
    case IDC_SET_BACK_IMAGE: return SettingsAction::image_switch;
    case IDC_SET_BACK_WHOLE:
    case IDC_SET_BACK_RIGHT:
    case IDC_SET_BACK_BOTTOM: return SettingsAction::area_mode;
    case IDC_SET_BACK_BROWSE: return SettingsAction::browse;
    case 1: return SettingsAction::ok;
    case 2: return SettingsAction::cancel;
    case IDC_SET_APPLY: return SettingsAction::apply;
    default:
        if (id >= IDC_SET_SAT_COLOUR && id <= IDC_SET_WEEK_ENGLISH) return SettingsAction::changed;
        return SettingsAction::none;
    }
}
