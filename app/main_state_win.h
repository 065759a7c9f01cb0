// The main window's state: the records it was handed at creation, the view the dialogs
// share, and everything the tick, the mouse and the painting share. One instance lives as
// long as the window; the window procedure hands it to every handler. A new record is the
// state of a window just created.
#pragma once

#include <windows.h>

#include <array>

#include "app/main_layout.h"
#include "config/handles_win.h"
#include "dialogs/alarm_window_win.h"
#include "dialogs/view_state.h"
#include "schedule/alarm_snooze.h"

struct ScheduleList;
struct Settings;

constexpr CellRect kNoCell = {-1, -1, -1, -1};

inline std::array<CellRect, 31> no_day_cells() {
    std::array<CellRect, 31> cells;
    cells.fill(kNoCell);
    return cells;
}

inline WINDOWPLACEMENT empty_placement() {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    return wp;
}

struct MainState {
    HWND hwnd = nullptr;
    // The program's records, handed over at creation: everything the window reads or
    // changes of them it hands on from here.
    Settings* settings = nullptr;
    ScheduleList* schedule = nullptr;
    AlarmWindow alarm;                   // the alarm window's record (its window or none)
    ViewState view;                      // shown month, clicked day, schedule dialog's date
    int today_year = 0, today_month = 0, today_day = 0;
    TickMemory tick;                     // last day, minute, second and alarm instant checked
    int now_hour = 0, now_minute = 0, now_second = 0;
    int pressed_arrow = 0;               // 0 none, 1 left, 2 right
    bool popup_pending = false;          // the next left press in the client area is swallowed
    bool move_cursor = false;
    bool window_visible = true;          // false while hidden by the hide command
    bool startup_list_pending = false;
    bool clock_only_repaint = false;     // the tick asks the next paint to draw only the clock
    char last_date_text[16] = "";
    // Laid out by every full paint.
    CellRect left_arrow_rect = {}, right_arrow_rect = {};
    int header_height = 0;
    std::array<CellRect, 31> day_cells = no_day_cells();
    RECT clock_rect = {}, clock_text_rect = {};  // what a clock-only repaint invalidates
    OwnedMenu menu_bar;                  // one entry, whose drop-down is main_menu
    OwnedMenu main_menu;                 // menu 210, also the popup menu
    UINT taskbar_created_msg = 0;
    bool timer_running = false;
    WINDOWPLACEMENT placement = empty_placement();
    bool schedule_dialog_open = false;   // one schedule dialog at a time (the tray reaches it)
    bool ical_chooser_open = false;      // an export's or import's file chooser is open
    char ical_file[MAX_PATH] = "";       // the .ics file chosen last: the choosers start there
    SnoozeQueue snooze;                  // alarms put off with 5分後
    bool session_ended = false;          // Windows ends the session: everything was saved
};

// The one main window's state; only the window procedure and the tests name it.
extern MainState main_state;

constexpr UINT_PTR kMainTimer = 100;
constexpr UINT kTrayCallback = WM_USER + 1;
