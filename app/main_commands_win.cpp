// The main window's menu and internal commands.
#include "app/app_win.h"
#include "app/dialog_calls_win.h"
#include "app/font_command_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "app/title_bar_win.h"
#include "calendar/date.h"
#include "config/profile.h"
#include "config/settings.h"
#include "dialogs/settings_dialog_win.h"
#include "image/background_win.h"
#include "resources/resource.h"
#include "schedule/storage.h"

namespace {

const char kPositionSaved[] = "現在の位置とサイズを保存しました";

void reset_month(MainState& s, HWND hwnd) {
    get_today(&s.today_year, &s.today_month, &s.today_day);
    s.view.shown_year = s.today_year;
    s.view.shown_month = s.today_month;
    repaint(hwnd);
}

void restore_position(HWND hwnd) {
    settings_load(screen_width(), screen_height());
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
        repaint(hwnd);
    }
}

void toggle_always_on_top(MainState& s, HWND hwnd) {
    settings.front = settings.front != 8 ? 8 : 0;
    report_save_result(hwnd, settings_save());
    menus_show_checks(s);
    apply_z_order(hwnd);
}

void toggle_title_bar(MainState& s, HWND hwnd) {
    settings.titlebar = settings.titlebar == 0 ? 8 : 0;
    report_save_result(hwnd, settings_save());
    menus_show_checks(s);
    apply_title_bar(s, hwnd);
}

// The settings dialog's OK posts command 3 (its 更新 button posts it to this window itself).
void detailed_settings(HWND hwnd) {
    if (settings_dialog(hwnd)) PostMessageA(hwnd, WM_COMMAND, CMD_APPLY_SETTINGS, 0);
}

void apply_settings(HWND hwnd) {
    reload_background();
    report_save_result(hwnd, settings_save());
    repaint(hwnd);
}

void show_recent_schedule(HWND hwnd) {
    recent_schedule_dialog(hwnd, &settings.ToDoBoot, &settings.ToDoWidth);
    report_save_result(hwnd, todo_save());
}

void choose_display_month(MainState& s, HWND hwnd) {
    display_month_dialog(hwnd, s.view);
    repaint(hwnd);
}

void bring_to_front(HWND hwnd) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
}

}  // namespace

void open_schedule_dialog(MainState& s, HWND hwnd, const ScheduleOpening& opening) {
    s.view.schedule_opening = opening;
    if (!schedule_dialog(hwnd, s.view.schedule_opening)) return;
    report_save_result(hwnd, schedule_save());
    repaint(hwnd);
}

void save_position(MainState& s, HWND hwnd) {
    // The normal-position rectangle is right also while the window is minimised (the command
    // stays reachable from the tray menu); a tool window's placement is in screen pixels.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd, &wp)) return;
    settings.x1 = wp.rcNormalPosition.left;
    settings.y1 = wp.rcNormalPosition.top;
    settings.x2 = wp.rcNormalPosition.right;
    settings.y2 = wp.rcNormalPosition.bottom;
    if (settings.iconpos == 8) {
        s.placement = wp;
        settings.ix = wp.ptMinPosition.x;
        settings.iy = wp.ptMinPosition.y;
    }
    // All twenty sets may belong to other resolutions: then nothing is stored or said.
    if (!window_set_put(screen_width(), screen_height())) return;
    if (!profile_flush()) {
        report_save_result(hwnd, false);
        return;
    }
    message_box(hwnd, kPositionSaved, kProgramTitle, MB_ICONINFORMATION);
}

bool main_command(MainState& s, HWND hwnd, int id) {
    switch (id) {
    case CMD_CLOSE_MENU:         // the menu closes by itself
        return true;
    case CMD_DETAILED_SETTINGS: detailed_settings(hwnd); return true;
    case CMD_RECENT: show_recent_schedule(hwnd); return true;
    case CMD_DISPLAY_MONTH: choose_display_month(s, hwnd); return true;
    case CMD_SCHEDULE: open_schedule_dialog(s, hwnd, ScheduleOpening{}); return true;
    case CMD_FONT: choose_font(hwnd); return true;
    case CMD_ALWAYS_ON_TOP: toggle_always_on_top(s, hwnd); return true;
    case CMD_NO_TITLE_BAR: toggle_title_bar(s, hwnd); return true;
    case CMD_RESET_MONTH: reset_month(s, hwnd); return true;
    case CMD_RESTORE_POSITION: restore_position(hwnd); return true;
    case CMD_SAVE_POSITION: save_position(s, hwnd); return true;
    case CMD_HIDE_SHOW: toggle_hidden(s, hwnd); return true;
    case CMD_ABOUT: about_box(hwnd); return true;
    case CMD_EXIT: DestroyWindow(hwnd); return true;
    case CMD_APPLY_SETTINGS: apply_settings(hwnd); return true;
    case CMD_BRING_TO_FRONT: bring_to_front(hwnd); return true;
    default: return false;
    }
}
