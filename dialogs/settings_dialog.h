// The rules of the detailed settings dialog (template 211): what its controls show when it
// opens, which of them are enabled, what each command does, and how OK and 更新 read the
// controls back into the settings record. The dialog procedure only moves these values
// between the record and the controls.
#pragma once

#include <cstddef>

struct Settings;

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

// What the controls show at opening. A radio id of 0 checks none of its group.
struct SettingsDialogInit {
    int saturday_radio;
    int today_radio;
    int month_radio;
    int week_radio;
    int area_radio;
    bool clock, twelve_hour, ampm_after, analog, seconds, back_image;
    unsigned transparent;  // the stored percentages, shown limited to 0..100
    unsigned back_area;
};

SettingsDialogInit settings_dialog_init(const Settings& s);

// What the controls hold when OK or 更新 is pressed. The numbers are the edits read as
// unsigned numbers (text that is not a number reads as 0).
struct SettingsDialogFields {
    bool saturday_colour;  // 1003 checked
    bool today_box;        // 1005 checked
    bool month_japanese;   // 1007 checked
    bool week_japanese;    // 1009 checked
    bool clock, twelve_hour, ampm_after, analog, seconds;
    const char* image_file;
    unsigned transparent;
    unsigned back_area;
};

// Writes every field into the record; the percentages are limited to 0..100 and the file
// name is cut to 259 bytes on a character boundary.
void settings_from_dialog(const SettingsDialogFields& f, const SettingsWork& w, Settings* s);

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
