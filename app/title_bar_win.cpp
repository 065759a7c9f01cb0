#include "app/title_bar_win.h"

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "config/settings.h"

DWORD main_window_style(int titlebar) {
    return titlebar != 0 ? 0x808E0000u : static_cast<DWORD>(WS_OVERLAPPEDWINDOW);
}

void apply_title_bar(MainState& s, HWND hwnd) {
    menus_attach(s, hwnd);
    DWORD style = main_window_style(settings.titlebar);
    // Every other bit is replaced; a visible window stays visible.
    if (IsWindowVisible(hwnd)) style |= WS_VISIBLE;
    SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    s.clock_only_repaint = false;
    repaint(hwnd);
}
