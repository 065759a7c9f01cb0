// The main window without a mouse: the day cursor and its keys, the context menu from the
// keyboard, the wheel, the focus cues. Keys do nothing the mouse cannot: a day's contents,
// a new entry on a day, the month steps and the menu.
#include "app/day_cursor.h"
#include "app/dialog_calls_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/month_accessible_win.h"
#include "calendar/date.h"

namespace {

bool key_held(int vk) { return GetKeyState(vk) < 0; }

DayCursor today() {
    int y, m, d;
    get_today(&y, &m, &d);
    return DayCursor{y, m, d};
}

// The cursor first brought into the month on show, as the paint would.
DayCursor current_cursor(MainState& s) {
    cursor_follows_month(s);
    return s.cursor;
}

// The focus cues come on with the first key, as Windows shows them for its controls.
void show_focus_cues(MainState& s, HWND hwnd) {
    if (!s.focus_cue_hidden) return;
    s.focus_cue_hidden = false;
    SendMessageA(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void move(MainState& s, HWND hwnd, CursorMove m) {
    put_cursor(s, hwnd, move_cursor(current_cursor(s), m, today()));
}

void open_cursor_day(MainState& s, HWND hwnd) {
    show_focus_cues(s, hwnd);
    open_day(s, hwnd, current_cursor(s).day);
}

void new_entry_on_cursor_day(MainState& s, HWND hwnd) {
    show_focus_cues(s, hwnd);
    const DayCursor c = current_cursor(s);
    open_schedule_dialog(s, hwnd, ScheduleOpening{c.year, c.month, c.day});
}

// The menu at the cursor's day: below its cell, as a menu opens below what it belongs to.
void menu_at_cursor(MainState& s, HWND hwnd) {
    const int day = current_cursor(s).day;
    POINT pt = {0, 0};
    if (day >= 1 && day <= 31 && s.day_cells[day - 1].left >= 0) {
        const CellRect& c = s.day_cells[day - 1];
        pt = POINT{c.left, c.bottom + 1};
    }
    ClientToScreen(hwnd, &pt);
    show_main_popup(s, hwnd, pt);
}

// The move a key asks for; false when the key moves nothing.
bool move_of_key(WPARAM vk, bool ctrl, CursorMove* m) {
    switch (vk) {
    case VK_LEFT: *m = CursorMove::kPreviousDay; return true;
    case VK_RIGHT: *m = CursorMove::kNextDay; return true;
    case VK_UP: *m = CursorMove::kPreviousWeek; return true;
    case VK_DOWN: *m = CursorMove::kNextWeek; return true;
    case VK_PRIOR: *m = ctrl ? CursorMove::kPreviousYear : CursorMove::kPreviousMonth; return true;
    case VK_NEXT: *m = ctrl ? CursorMove::kNextYear : CursorMove::kNextMonth; return true;
    case VK_HOME: *m = ctrl ? CursorMove::kToday : CursorMove::kMonthStart; return true;
    case VK_END: *m = CursorMove::kMonthEnd; return true;
    case 'T': *m = CursorMove::kToday; return !ctrl;
    default: return false;
    }
}

}  // namespace

void put_cursor(MainState& s, HWND hwnd, const DayCursor& c) {
    show_focus_cues(s, hwnd);
    const bool new_month = c.year != s.view.shown_year || c.month != s.view.shown_month;
    s.cursor = c;
    if (new_month) {
        s.view.shown_year = c.year;
        s.view.shown_month = c.month;
    }
    // The paint finds what moved (the focus alone, or the month) by what it composed from.
    repaint(s, hwnd, ViewEvent::kTickQuiet);
    month_accessible_focus_moved(hwnd, s.cursor.day, new_month);
}

LRESULT on_key_down(MainState& s, HWND hwnd, UINT msg, WPARAM vk, LPARAM lp) {
    const bool ctrl = key_held(VK_CONTROL), shift = key_held(VK_SHIFT), alt = key_held(VK_MENU);
    if (msg == WM_SYSKEYDOWN) {
        // F10 is a system key: with Shift it opens the context menu, alone the menu bar.
        if (vk == VK_F10 && shift) {
            menu_at_cursor(s, hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, vk, lp);
    }
    CursorMove m;
    if (!alt && move_of_key(vk, ctrl, &m)) {
        move(s, hwnd, m);
        return 0;
    }
    switch (vk) {
    case VK_RETURN:
    case VK_SPACE: open_cursor_day(s, hwnd); return 0;
    case VK_INSERT: new_entry_on_cursor_day(s, hwnd); return 0;
    case 'N':
        if (ctrl && !alt) new_entry_on_cursor_day(s, hwnd);
        return 0;
    case VK_APPS: menu_at_cursor(s, hwnd); return 0;
    case VK_F10:
        if (shift) menu_at_cursor(s, hwnd);
        return 0;
    default: return DefWindowProcA(hwnd, msg, vk, lp);
    }
}

// The menu key and Shift+F10 come here through the system on Windows: at the cursor. A
// click of the right button opens its menu itself (on the button's press).
LRESULT on_context_menu(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (lp != -1 && static_cast<DWORD>(lp) != 0xFFFFFFFFu) return DefWindowProcA(hwnd, WM_CONTEXTMENU, wp, lp);
    menu_at_cursor(s, hwnd);
    return 0;
}

LRESULT on_mouse_wheel(MainState& s, HWND hwnd, WPARAM wp) {
    const int months = wheel_months(GET_WHEEL_DELTA_WPARAM(wp), &s.wheel_rest);
    for (int i = 0; i < months; ++i) step_shown_month(s, hwnd, true);
    for (int i = 0; i > months; --i) step_shown_month(s, hwnd, false);
    return 0;
}

LRESULT on_focus_change(MainState& s, HWND hwnd, bool has_focus) {
    s.has_focus = has_focus;
    // The paint draws or takes away the focus rectangle as the cues and the focus say.
    s.recompose.mark(ViewEvent::kTickQuiet);
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}

LRESULT on_update_ui_state(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    const LRESULT r = DefWindowProcA(hwnd, WM_UPDATEUISTATE, wp, lp);
    const LRESULT state = SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0);
    const bool hidden = (state & UISF_HIDEFOCUS) != 0;
    if (hidden != s.focus_cue_hidden) {
        s.focus_cue_hidden = hidden;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return r;
}
