// Mouse handling of the main window: the two month buttons, dragging the header band,
// clicks on day cells and the right-button popup menu.
#include "app/dialog_calls_win.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "schedule/storage.h"

namespace {

// Client coordinates as the message carries them: two unsigned 16-bit values.
int mouse_x(LPARAM lp) { return LOWORD(lp); }
int mouse_y(LPARAM lp) { return HIWORD(lp); }

const CellRect& arrow_rect(int arrow) {
    return arrow == 1 ? main_state.left_arrow_rect : main_state.right_arrow_rect;
}

void set_cursor(LPCSTR id, bool move) {
    SetCursor(LoadCursorA(nullptr, id));
    main_state.move_cursor = move;
}

void press_arrow(int arrow) {
    draw_arrow_button(nullptr, arrow - 1, 1);
    main_state.pressed_arrow = arrow;
}

// Releases the held arrow; a release over an arrow steps the month (forward is the right
// arrow for the left button, the left arrow for the right button).
void release_arrow(HWND hwnd, int x, int y, bool right_button) {
    draw_arrow_button(nullptr, main_state.pressed_arrow - 1, 0);
    main_state.pressed_arrow = 0;
    const int over = arrow_at(main_state.left_arrow_rect, main_state.right_arrow_rect, x, y);
    if (over == 0) return;
    const bool forward = (over == 2) != right_button;
    if (forward)
        step_month_up(&main_state.shown_year, &main_state.shown_month);
    else
        step_month_down(&main_state.shown_year, &main_state.shown_month);
    repaint(hwnd);
}

void open_day(HWND hwnd, int day) {
    main_state.clicked_day = day;
    if (!day_contents_dialog(hwnd)) return;
    if (!schedule_dialog(hwnd, main_state.shown_year, main_state.shown_month, day)) return;
    report_save_result(hwnd, schedule_save());
    repaint(hwnd);
}

}  // namespace

LRESULT on_mouse_move(HWND hwnd, WPARAM wp, LPARAM lp) {
    const int x = mouse_x(lp), y = mouse_y(lp);
    if (main_state.pressed_arrow != 0) {
        if (main_state.move_cursor) set_cursor(IDC_ARROW, false);
        if (!point_in_rect(arrow_rect(main_state.pressed_arrow), x, y)) {
            draw_arrow_button(nullptr, main_state.pressed_arrow - 1, 0);
            main_state.pressed_arrow = 0;
            return 0;
        }
        return DefWindowProcA(hwnd, WM_MOUSEMOVE, wp, lp);
    }
    if (in_move_band(main_state.left_arrow_rect, main_state.right_arrow_rect,
                     main_state.header_height, x, y))
        set_cursor(IDC_SIZEALL, true);
    else
        set_cursor(IDC_ARROW, false);
    return DefWindowProcA(hwnd, WM_MOUSEMOVE, wp, lp);
}

LRESULT on_lbutton_down(HWND hwnd, WPARAM, LPARAM lp) {
    // The click that follows a dismissed popup menu is swallowed once.
    if (main_state.popup_pending) {
        main_state.popup_pending = false;
        return 0;
    }
    const int x = mouse_x(lp), y = mouse_y(lp);
    const int arrow = arrow_at(main_state.left_arrow_rect, main_state.right_arrow_rect, x, y);
    if (arrow != 0) {
        press_arrow(arrow);
        return 0;
    }
    if (y < main_state.header_height) {
        // Dragging the header band moves the window, as its caption would.
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE + 2, lp);
        return 0;
    }
    const int day = day_cell_at(main_state.day_cells, x, y);
    if (day > 0) open_day(hwnd, day);
    return 0;
}

LRESULT on_lbutton_up(HWND hwnd, WPARAM wp, LPARAM lp) {
    if (main_state.pressed_arrow == 0) return DefWindowProcA(hwnd, WM_LBUTTONUP, wp, lp);
    release_arrow(hwnd, mouse_x(lp), mouse_y(lp), false);
    return 0;
}

LRESULT on_rbutton_down(HWND hwnd, WPARAM, LPARAM lp) {
    const int x = mouse_x(lp), y = mouse_y(lp);
    const int arrow = arrow_at(main_state.left_arrow_rect, main_state.right_arrow_rect, x, y);
    if (arrow != 0) {
        press_arrow(arrow);
        return 0;
    }
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    show_main_popup(hwnd, pt);
    return 0;
}

LRESULT on_rbutton_up(HWND hwnd, WPARAM wp, LPARAM lp) {
    if (main_state.pressed_arrow == 0) return DefWindowProcA(hwnd, WM_RBUTTONUP, wp, lp);
    release_arrow(hwnd, mouse_x(lp), mouse_y(lp), true);
    return 0;
}
