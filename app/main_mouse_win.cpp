// Mouse handling of the main window: the two month buttons, dragging the header band,
// clicks on day cells and the right-button popup menu.
#include "app/dialog_calls_win.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "calendar/month_step.h"
#include "config/settings.h"

namespace {

// Client coordinates as the message carries them: two unsigned 16-bit values.
int mouse_x(LPARAM lp) { return LOWORD(lp); }
int mouse_y(LPARAM lp) { return HIWORD(lp); }

const CellRect& arrow_rect(const MainState& s, int arrow) {
    return arrow == 1 ? s.left_arrow_rect : s.right_arrow_rect;
}

void set_cursor(MainState& s, LPCSTR id, bool move) {
    SetCursor(LoadCursorA(nullptr, id));
    s.move_cursor = move;
}

// The month buttons are part of the month's picture: pressing or releasing one composes the
// month again, at once.
void show_arrow_state(MainState& s, HWND hwnd, int arrow) {
    s.pressed_arrow = arrow;
    repaint(s, hwnd, ViewEvent::kArrowPressChanged);
}

// Releases the held arrow; a release over an arrow steps the month (forward is the right
// arrow for the left button, the left arrow for the right button).
void release_arrow(MainState& s, HWND hwnd, int x, int y, bool right_button) {
    const int over = arrow_at(s.left_arrow_rect, s.right_arrow_rect, x, y);
    if (over == 0) {
        show_arrow_state(s, hwnd, 0);
        return;
    }
    s.pressed_arrow = 0;
    s.recompose.mark(ViewEvent::kArrowPressChanged);
    step_shown_month(s, hwnd, (over == 2) != right_button);
}

}  // namespace

void step_shown_month(MainState& s, HWND hwnd, bool forward) {
    // The display-month dialog's steps, without its fields: beyond 1980-01 and 2079-12
    // nothing changes.
    if (forward)
        step_month_up(nullptr, &s.view.shown_year, &s.view.shown_month);
    else
        step_month_down(nullptr, &s.view.shown_year, &s.view.shown_month);
    repaint(s, hwnd, ViewEvent::kShownMonthChanged);
}

// The day's entries; from there the schedule dialog on that day, with the entry chosen in
// the list selected.
void open_day(MainState& s, HWND hwnd, int day) {
    s.view.clicked_day = day;
    // The keys go on from the day opened.
    s.cursor = DayCursor{s.view.shown_year, s.view.shown_month, day};
    int entry = -1;
    const Settings& settings = *s.settings;
    const DayContentsShows shows = {settings.NationalHolidays, settings.Rokuyo, settings.Kyureki,
                                    settings.Wareki};
    const DayContentsResult r = day_contents_dialog(hwnd, s.view, *s.schedule, shows, &entry, &s.feed_entries);
    if (r != DayContentsResult::kToSchedule) return;
    ScheduleOpening opening = opening_on_clicked_day(s.view);
    opening.select = entry;
    open_schedule_dialog(s, hwnd, opening);
}

LRESULT on_mouse_move(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    const int x = mouse_x(lp), y = mouse_y(lp);
    if (s.pressed_arrow != 0) {
        if (s.move_cursor) set_cursor(s, IDC_ARROW, false);
        if (!point_in_rect(arrow_rect(s, s.pressed_arrow), x, y)) {
            show_arrow_state(s, hwnd, 0);
            return 0;
        }
        return DefWindowProcA(hwnd, WM_MOUSEMOVE, wp, lp);
    }
    if (in_move_band(s.left_arrow_rect, s.right_arrow_rect, s.header_height, x, y))
        set_cursor(s, IDC_SIZEALL, true);
    else
        set_cursor(s, IDC_ARROW, false);
    return DefWindowProcA(hwnd, WM_MOUSEMOVE, wp, lp);
}

LRESULT on_lbutton_down(MainState& s, HWND hwnd, WPARAM, LPARAM lp) {
    // The click that follows a dismissed popup menu is swallowed once.
    if (s.popup_pending) {
        s.popup_pending = false;
        return 0;
    }
    const int x = mouse_x(lp), y = mouse_y(lp);
    const int arrow = arrow_at(s.left_arrow_rect, s.right_arrow_rect, x, y);
    if (arrow != 0) {
        show_arrow_state(s, hwnd, arrow);
        return 0;
    }
    if (y < s.header_height) {
        // Dragging the header band moves the window, as its caption would.
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE + 2, lp);
        return 0;
    }
    const int day = day_cell_at(s.day_cells.data(), x, y);
    if (day > 0) open_day(s, hwnd, day);
    return 0;
}

LRESULT on_lbutton_up(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (s.pressed_arrow == 0) return DefWindowProcA(hwnd, WM_LBUTTONUP, wp, lp);
    release_arrow(s, hwnd, mouse_x(lp), mouse_y(lp), false);
    return 0;
}

LRESULT on_rbutton_down(MainState& s, HWND hwnd, WPARAM, LPARAM lp) {
    const int x = mouse_x(lp), y = mouse_y(lp);
    const int arrow = arrow_at(s.left_arrow_rect, s.right_arrow_rect, x, y);
    if (arrow != 0) {
        show_arrow_state(s, hwnd, arrow);
        return 0;
    }
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    show_main_popup(s, hwnd, pt);
    return 0;
}

LRESULT on_rbutton_up(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (s.pressed_arrow == 0) return DefWindowProcA(hwnd, WM_RBUTTONUP, wp, lp);
    release_arrow(s, hwnd, mouse_x(lp), mouse_y(lp), true);
    return 0;
}
