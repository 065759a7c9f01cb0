// The main window's menu and internal commands.
#include "app/app_win.h"
#include "app/background_choice.h"
#include "app/dialog_calls_win.h"
#include "app/feeds_win.h"
#include "app/font_command_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "app/sync_run_win.h"
#include "app/title_bar_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/profile.h"
#include "config/settings.h"
#include "image/background_loader_win.h"
#include "image/background_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/storage.h"

namespace {

void reset_month(MainState& s, HWND hwnd) {
    get_today(&s.today_year, &s.today_month, &s.today_day);
    s.view.shown_year = s.today_year;
    s.view.shown_month = s.today_month;
    repaint(s, hwnd, ViewEvent::kShownMonthChanged);
}

void restore_position(MainState& s, HWND hwnd) {
    Settings& settings = *s.settings;
    settings_load(&settings, screen_width(), screen_height(), s.dpi);
    // As saved, without moving it onto the screen.
    MoveWindow(hwnd, settings.x1, settings.y1, settings.x2 - settings.x1,
               settings.y2 - settings.y1, TRUE);
}

void toggle_hidden(MainState& s, HWND hwnd) {
    if (s.window_visible) {
        s.window_visible = false;
        ShowWindow(hwnd, SW_HIDE);
        menus_show_hidden_state(s, true);
    } else {
        s.window_visible = true;
        ShowWindow(hwnd, SW_RESTORE);
        menus_show_hidden_state(s, false);
        repaint(s, hwnd, ViewEvent::kShown);
    }
}

// What the window does once a menu switch changed its setting.
void after_always_on_top(MainState& s, HWND hwnd) {
    s.recompose.mark(ViewEvent::kAlwaysOnTopToggled);
    apply_z_order(s, hwnd);
}

void after_title_bar(MainState& s, HWND hwnd) {
    s.recompose.mark(ViewEvent::kTitleBarToggled);
    apply_title_bar(s, hwnd);
}

// The holidays and the era years go on or off in the month, the title, the lists and the
// tray tip at once.
void after_tip_and_month(MainState& s, HWND hwnd) {
    tray_show_today(hwnd, *s.settings);
    // The month follows the changed setting at this paint, which compares the settings.
    repaint(s, hwnd, ViewEvent::kTrayTipChanged);
}

// The month follows the changed setting at this paint, which compares the settings.
void after_day_shapes(MainState& s, HWND hwnd) { repaint(s, hwnd, ViewEvent::kTickQuiet); }

// The old calendar's days go on or off under the day numbers at this paint, which finds the
// changed setting; the day contents read it when they open.
void after_month(MainState& s, HWND hwnd) { repaint(s, hwnd, ViewEvent::kUncovered); }

}  // namespace

// The settings the menu switches on and off, each checked while on. A new switch is a row
// here, its setting's row and its menu item.
const MenuSwitch kMenuSwitches[] = {
    {CMD_ALWAYS_ON_TOP, offsetof(Settings, front), after_always_on_top},
    {CMD_NO_TITLE_BAR, offsetof(Settings, titlebar), after_title_bar},
    {CMD_NATIONAL_HOLIDAYS, offsetof(Settings, NationalHolidays), after_tip_and_month},
    {CMD_ROKUYO, offsetof(Settings, Rokuyo), after_month},
    {CMD_KYUREKI, offsetof(Settings, Kyureki), after_month},
    {CMD_WAREKI, offsetof(Settings, Wareki), after_tip_and_month},
    {CMD_DAY_SHAPES, offsetof(Settings, DayShapes), after_day_shapes},
};
const size_t kMenuSwitchCount = sizeof kMenuSwitches / sizeof kMenuSwitches[0];

namespace {

const MenuSwitch* menu_switch(int id) {
    for (const MenuSwitch& m : kMenuSwitches)
        if (static_cast<int>(m.command) == id) return &m;
    return nullptr;
}

// The setting switched and saved, the check mark shown, then what the window makes of it.
void switch_setting(MainState& s, HWND hwnd, const MenuSwitch& m) {
    const SettingKey* k = setting_key_at(m.field);
    if (!k) return;
    toggle_switch(s.settings, *k);
    report_save_result(hwnd, settings_save(*s.settings));
    menus_show_checks(s);
    m.after(s, hwnd);
}

// What the settings dialog wrote takes effect: the background anew, the settings saved,
// the window repainted. A chosen image that cannot be loaded is told, with its name, over
// owner (the dialog while it is open).
void apply_settings(MainState& s, HWND hwnd, HWND owner) {
    const Settings& settings = *s.settings;
    const bool loaded = reload_background(background_choice_of(settings));
    report_save_result(hwnd, settings_save(settings));
    repaint(s, hwnd, ViewEvent::kBackgroundReloaded);
    if (loaded) return;
    char text[512];
    format_background_failure(text, sizeof text, settings.BackImageFile);
    message_box(owner, text, kProgramName, MB_OK | MB_ICONEXCLAMATION);
}

// 更新 in the settings dialog.
void apply_from_settings_dialog(void* context, HWND dialog) {
    MainState& s = *static_cast<MainState*>(context);
    apply_settings(s, s.hwnd, dialog);
}

// The dialog's OK has the window apply the settings once the dialog is gone.
void detailed_settings(MainState& s, HWND hwnd) {
    if (settings_dialog(hwnd, s.settings, SettingsApply{apply_from_settings_dialog, &s},
                        ImageFormats{image_formats_filter, nullptr}))
        PostMessageA(hwnd, WM_COMMAND, CMD_APPLY_SETTINGS, 0);
}

void show_recent_schedule(MainState& s, HWND hwnd) {
    Settings& settings = *s.settings;
    recent_schedule_dialog(hwnd, *s.schedule, &settings.ToDoBoot, &settings.ToDoWidth,
                           settings.NationalHolidays, &s.feed_entries);
    report_save_result(hwnd, todo_save(settings));
}

void choose_display_month(MainState& s, HWND hwnd) {
    display_month_dialog(hwnd, s.view);
    repaint(s, hwnd, ViewEvent::kShownMonthChanged);
}

void bring_to_front(HWND hwnd) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
}

}  // namespace

void open_schedule_dialog(MainState& s, HWND hwnd, const ScheduleOpening& opening) {
    // One at a time: the tray menu still reaches the window while the dialog is open.
    if (s.schedule_dialog_open) return;
    s.view.schedule_opening = opening;
    s.schedule_dialog_open = true;
    const bool changed = schedule_dialog(hwnd, s.view.schedule_opening, s.schedule, s.sound.get(),
                                         nullptr, ScheduleStored{ring_stored_entry, &s});
    s.schedule_dialog_open = false;
    if (!changed) return;
    report_save_result(hwnd, schedule_save(*s.settings, s.schedule));
    repaint(s, hwnd, ViewEvent::kEntriesChanged);
}

void save_position(MainState& s, HWND hwnd) {
    // The normal-position rectangle is right also while the window is minimised (the command
    // stays reachable from the tray menu); a tool window's placement is in screen pixels.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd, &wp)) return;
    Settings& settings = *s.settings;
    settings.x1 = wp.rcNormalPosition.left;
    settings.y1 = wp.rcNormalPosition.top;
    settings.x2 = wp.rcNormalPosition.right;
    settings.y2 = wp.rcNormalPosition.bottom;
    if (keeps_icon_position(settings)) {
        s.placement = wp;
        settings.ix = wp.ptMinPosition.x;
        settings.iy = wp.ptMinPosition.y;
    }
    // All twenty sets may belong to other resolutions: then nothing is stored or said.
    if (!window_set_put(settings, screen_width(), screen_height())) return;
    if (!profile_flush()) {
        report_save_result(hwnd, false);
        return;
    }
    message_box(hwnd, kPositionSaved, kProgramName, MB_ICONINFORMATION);
}

bool main_command(MainState& s, HWND hwnd, int id) {
    switch (id) {
    case CMD_CLOSE_MENU:         // the menu closes by itself
        return true;
    case CMD_DETAILED_SETTINGS: detailed_settings(s, hwnd); return true;
    case CMD_RECENT: show_recent_schedule(s, hwnd); return true;
    case CMD_DISPLAY_MONTH: choose_display_month(s, hwnd); return true;
    case CMD_SCHEDULE: open_schedule_dialog(s, hwnd, ScheduleOpening{}); return true;
    case CMD_FONT: choose_font(s.settings, hwnd); return true;
    case CMD_ICS_EXPORT: export_calendar(s, hwnd); return true;
    case CMD_ICS_IMPORT: import_calendar(s, hwnd); return true;
    case CMD_SYNC_SETTINGS: sync_settings_command(s, hwnd); return true;
    case CMD_SYNC_NOW: sync_now(s, hwnd); return true;
    case CMD_SUBSCRIPTIONS: subscriptions_command(s, hwnd); return true;
    case CMD_RESET_MONTH: reset_month(s, hwnd); return true;
    case CMD_RESTORE_POSITION: restore_position(s, hwnd); return true;
    case CMD_SAVE_POSITION: save_position(s, hwnd); return true;
    case CMD_HIDE_SHOW: toggle_hidden(s, hwnd); return true;
    case CMD_ABOUT: about_box(hwnd); return true;
    case CMD_EXIT: DestroyWindow(hwnd); return true;
    case CMD_APPLY_SETTINGS: apply_settings(s, hwnd, hwnd); return true;
    case CMD_BRING_TO_FRONT: bring_to_front(hwnd); return true;
    default: break;
    }
    if (const MenuSwitch* m = menu_switch(id)) {
        switch_setting(s, hwnd, *m);
        return true;
    }
    return false;
}
