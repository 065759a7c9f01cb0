// The main window's state: the month on show and everything the tick, the mouse and the
// painting share. One instance, living as long as the window; dialogs read and write the
// shown month and the clicked day.
#pragma once

#include <windows.h>

#include "app/main_layout.h"

struct MainState {
    HWND hwnd;
    int shown_year, shown_month;
    int today_year, today_month, today_day;
    TickMemory tick;                  // last day, minute, second and alarm instant checked
    int now_hour, now_minute, now_second;
    int pressed_arrow;                // 0 none, 1 left, 2 right
    bool popup_pending;               // the next left press in the client area is swallowed
    bool move_cursor;
    bool window_visible;
    bool startup_list_pending;
    bool clock_only_repaint;
    char last_date_text[16];
    CellRect left_arrow_rect, right_arrow_rect;
    int header_height;
    CellRect day_cells[31];
    RECT clock_rect, clock_text_rect;
    HMENU menu_bar, main_menu;
    UINT taskbar_created_msg;
    bool timer_running;
    WINDOWPLACEMENT placement;
    HWND alarm_window;
    int clicked_day;
};

extern MainState main_state;

constexpr UINT_PTR kMainTimer = 100;
constexpr UINT kTrayCallback = WM_USER + 1;
