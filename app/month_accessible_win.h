// The month view for screen readers: the main window's client answers WM_GETOBJECT with an
// IAccessible whose children are the days of the month on show (1 .. days: their names as a
// person reads them, their entries as the description, their places, the cursor's day
// focused and selected), then the two month buttons and, when shown, the clock. A reader's
// default action on a day opens its contents, on a button steps the month; selecting a day
// moves the cursor there. The accessibility library and COM are loaded at the first question,
// so a start without a reader loads neither.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/main_layout.h"
#include "config/window_messages_win.h"

// What the window shows now, as the object asks for it at each question.
struct AccessView {
    int year, month, days;
    int cursor_day;           // 0: none in this month
    bool focused;             // the window has the keyboard
    CellRect cells[31];       // each day's place in the client
    CellRect previous_button, next_button;
    int pressed_button;       // 0 none, 1 previous, 2 next
    bool clock_shown;
    CellRect clock_rect;
    char clock_text[32];
    char month_name[64];      // the header
};

// What a reader asked the window to do; the window does it after the question returned.
enum class AccessAction : int {
    kOpenDay = 1,    // child: the day
    kSelectDay = 2,  // child: the day
    kPress = 3,      // child: 1 the previous month's button, 2 the next one's
};

// How the object reads the window: its view, and a day's name and description (code page
// 932) into buffers of the given sizes.
struct AccessSource {
    void (*view)(void* context, AccessView* out);
    void (*day_texts)(void* context, int day, char* name, size_t name_size, char* description,
                      size_t description_size);
    void* context;
};

struct MonthAccessible;

// WM_GETOBJECT of the main window: the client's object for OBJID_CLIENT (made at the first
// question and kept in *kept), DefWindowProc's answer for every other object.
LRESULT month_accessible_answer(HWND hwnd, WPARAM wp, LPARAM lp, const AccessSource& source,
                                MonthAccessible** kept);
// The window goes: the object answers no more, readers' references are cut, COM is left.
void month_accessible_release(MonthAccessible** kept);
// The cursor moved to day: readers hear of the focus (and of a new month's days first).
void month_accessible_focus_moved(HWND hwnd, int day, bool new_month);
