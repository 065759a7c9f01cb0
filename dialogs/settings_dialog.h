// The rules of the detailed settings dialog (IDD_SETTINGS): what its controls show when it
// opens, which of them are enabled, what each command does, and how OK and 更新 read the
// controls back into the settings record. The dialog procedure only moves these values
// between the record and the controls.
#pragma once

#include <cstddef>

#include "config/settings.h"
#include "resources/resource.h"

// The dialog's own copy of the switches that decide the enabling.
struct SettingsWork {
    bool image_on;     // 背景に画像を表示
    int area_mode;     // 0 whole, 1 right, 2 bottom (others as stored)
    bool clock_on;     // 時計を表示する
    bool twelve_hour;  // 時刻を12時制で表示
};

SettingsWork settings_work_from(const Settings& s);

struct ControlState {
    int id;
    bool enabled;
};

// Area radios, file label, file edit and 参照 follow the image switch; the transparency
// label, edit and unit also need the whole-window mode; the display-ratio ones a band mode.
constexpr int kBackgroundControls = 12;
void background_enabling(const SettingsWork& w, ControlState out[kBackgroundControls]);

// 12-hour, analog and seconds follow the clock switch; AM/PM after the time also needs the
// 12-hour form.
constexpr int kClockControls = 4;
void clock_enabling(const SettingsWork& w, ControlState out[kClockControls]);

// How a control of the dialog shows its setting and reads it back. Each control is bound to
// its setting by its id in kSettingControls; a new setting of the dialog is a row of the
// settings table, a control in the template and a row there.
enum class ControlKind : unsigned char {
    kCheck,   // check box of an on/off setting: checked when on; reads 1 or 0
    kRadio,   // one radio of the group bound to a setting: checked when the setting holds its
              // value; the setting takes the value of the checked radio
    kNumber,  // number edit: the setting within its range; reads the edit within that range
    kPath,    // read-only edit of a text setting, which the chooser changes
};
// Radio group rules for a setting whose value no radio stands for.
constexpr unsigned char kShownForOthers = 1;  // this radio is checked at opening
constexpr unsigned char kReadWhenNone = 2;    // none is checked: the setting takes this value

struct SettingControl {
    int id;
    ControlKind kind;
    size_t field;         // offsetof(Settings, field): its row of kSettingKeys
    int value;            // kRadio: what the setting holds when this radio is checked
    unsigned char rules;  // kRadio: kShownForOthers, kReadWhenNone
};
#define ZELMAR_FIELD(name) offsetof(Settings, name)
inline constexpr SettingControl kSettingControls[] = {
    {IDC_SET_MONTH_JAPANESE, ControlKind::kRadio, ZELMAR_FIELD(monthlang), 1, 0},
    {IDC_SET_MONTH_ENGLISH, ControlKind::kRadio, ZELMAR_FIELD(monthlang), 0, kShownForOthers | kReadWhenNone},
    {IDC_SET_WEEK_JAPANESE, ControlKind::kRadio, ZELMAR_FIELD(weeklang), 1, 0},
    {IDC_SET_WEEK_ENGLISH, ControlKind::kRadio, ZELMAR_FIELD(weeklang), 0, kShownForOthers | kReadWhenNone},
    {IDC_SET_TODAY_BOX, ControlKind::kRadio, ZELMAR_FIELD(checkmark), 0, 0},
    {IDC_SET_TODAY_TICK, ControlKind::kRadio, ZELMAR_FIELD(checkmark), 1, kReadWhenNone},
    {IDC_SET_SAT_COLOUR, ControlKind::kRadio, ZELMAR_FIELD(cmode), 1, 0},
    {IDC_SET_SAT_PLAIN, ControlKind::kRadio, ZELMAR_FIELD(cmode), 0, kShownForOthers | kReadWhenNone},
    {IDC_SET_CLOCK, ControlKind::kCheck, ZELMAR_FIELD(clock), 0, 0},
    {IDC_SET_CLOCK_SECONDS, ControlKind::kCheck, ZELMAR_FIELD(second), 0, 0},
    {IDC_SET_CLOCK_12H, ControlKind::kCheck, ZELMAR_FIELD(method), 0, 0},
    {IDC_SET_CLOCK_AMPM_AFTER, ControlKind::kCheck, ZELMAR_FIELD(ampm), 0, 0},
    {IDC_SET_CLOCK_ANALOG, ControlKind::kCheck, ZELMAR_FIELD(analog), 0, 0},
    {IDC_SET_BACK_IMAGE, ControlKind::kCheck, ZELMAR_FIELD(BackImage), 0, 0},
    {IDC_SET_BACK_WHOLE, ControlKind::kRadio, ZELMAR_FIELD(BackMode), 0, 0},
    {IDC_SET_BACK_RIGHT, ControlKind::kRadio, ZELMAR_FIELD(BackMode), 1, 0},
    {IDC_SET_BACK_BOTTOM, ControlKind::kRadio, ZELMAR_FIELD(BackMode), 2, 0},
    {IDC_SET_BACK_TRANSPARENT, ControlKind::kNumber, ZELMAR_FIELD(Transparent), 0, 0},
    {IDC_SET_BACK_AREA, ControlKind::kNumber, ZELMAR_FIELD(BackArea), 0, 0},
    {IDC_SET_BACK_FILE, ControlKind::kPath, ZELMAR_FIELD(BackImageFile), 0, 0},
};
#undef ZELMAR_FIELD
constexpr size_t kSettingControlCount = sizeof kSettingControls / sizeof kSettingControls[0];


// What a control shows, or holds when OK or 更新 is pressed: the check state of a check box or
// a radio, the number of a number edit (read as an unsigned number, 0 for text that is not
// one) and the text of the path.
struct ControlValue {
    int id;
    bool checked;
    unsigned number;
    const char* text;
};

// What every bound control shows at opening, one value a row of kSettingControls in its
// order (texts point into s).
void settings_dialog_values(const Settings& s, ControlValue out[]);

// Writes the controls' values into the record, each through the row of its id: a value of an
// id no row binds is passed over, a row without a value keeps its field. Texts are cut to
// their field on a character boundary.
void settings_from_dialog(const ControlValue* values, size_t count, Settings* s);

enum class SettingsAction {
    none,           // not handled
    toggle_clock,
    toggle_twelve_hour,
    changed,        // only enables 更新
    image_switch,   // the image check box: read it, apply the enabling
    area_mode,      // one of the area radios
    browse,
    ok,
    apply,
    cancel,
};

// The action of WM_COMMAND id with notification code notify. The two number edits count
// only their EN_CHANGE.
SettingsAction settings_command_action(int id, int notify);
