#include "app/tray_win.h"

#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "calendar/date.h"
#include "config/cp932.h"
#include "resources/resource.h"

namespace {
char g_tip[64];
}

void tray_add(HWND) { g_tip[0] = '\0'; }

void tray_set_tip(HWND, const char* text) { cp932_copy(g_tip, sizeof g_tip, text ? text : ""); }

void tray_remove(HWND) {}

const char* tray_tip() { return g_tip; }

LRESULT tray_callback(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (wp != kTrayIconId) return 0;
    switch (static_cast<UINT>(lp)) {
    case WM_LBUTTONDOWN:
        if (!s.window_visible) SendMessageA(hwnd, WM_COMMAND, CMD_HIDE_SHOW, 0);
        SetForegroundWindow(hwnd);
        return 0;
    case WM_RBUTTONDOWN: {
        POINT pt;
        GetCursorPos(&pt);
        SetForegroundWindow(hwnd);
        show_main_popup(s, hwnd, pt);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, kTrayCallback, wp, lp);
    }
}

void tray_restore(HWND hwnd) {
    tray_add(hwnd);
    int y, m, d;
    get_today(&y, &m, &d);
    char tip[64];
    format_date_tip(tip, sizeof tip, y, m, d);
    tray_set_tip(hwnd, tip);
}
