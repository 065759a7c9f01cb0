#include "app/title_bar_win.h"

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "config/settings.h"

namespace {

// A bare sizing frame that still has the window menu and can be minimised.
constexpr DWORD kTitlelessStyle = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// Two moves make the system compute the frame and the client area for the new style; each
// is a whole repaint (the second one ends at the rectangle read before).
void move_to_recompute_frame(HWND hwnd) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    MoveWindow(hwnd, r.left, r.top, w - 1, h - 1, TRUE);
    MoveWindow(hwnd, r.left, r.top, w, h, TRUE);
}

}  // namespace

DWORD main_window_style(int titlebar) {
    return titlebar != 0 ? kTitlelessStyle : static_cast<DWORD>(WS_OVERLAPPEDWINDOW);
}

void apply_title_bar(MainState& s, HWND hwnd) {
    menus_attach(s, hwnd);  // the menu bar or none, then DrawMenuBar
    const DWORD style = main_window_style(s.settings->titlebar);
    const DWORD shown = IsWindowVisible(hwnd) ? WS_VISIBLE : 0;
    // A minimised window keeps its state: its normal rectangle is the outer one to keep, and
    // it gets the new frame when it is restored.
    if (IsIconic(hwnd)) {
        SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style | WS_MINIMIZE | shown));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // Every style bit is replaced, WS_VISIBLE too: a shown window is shown again; one hidden
    // to the tray, or not shown yet during its creation, stays hidden.
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
    if (shown) ShowWindow(hwnd, SW_SHOW);
    move_to_recompute_frame(hwnd);
}
