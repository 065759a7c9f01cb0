#include "app/tray_win.h"

#include <cstring>

#include "app/app_win.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "calendar/date.h"
#include "config/cp932.h"
#include "config/settings.h"
#include "config/system_dlls_win.h"
#include "resources/resource.h"

// The record in its first form: cbSize, window, id, flags, callback, icon and a 64-byte tip.
// It is 88 bytes in the 32-bit program, every shell version reads it.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "first NOTIFYICONDATAA form");

namespace {

char g_tip[64];  // the tip field of the record's first form
char g_second_line[64];  // under the date; "" none
HICON g_icon = nullptr;
int g_icon_dpi = 0;  // the DPI the icon is sized for; 0: the system's
NotifyIconFn g_notify = nullptr;
// The icon was asked for: until then a new tip is only kept, and the shell is not loaded.
bool g_added = false;

// The shell is loaded at the first call, after the window's first paint.
BOOL notify(DWORD message, NOTIFYICONDATAA* data) {
    // Two calls, not one pointer: the seam has the shell's calling convention, the wrapper ours.
    if (g_notify) return g_notify(message, data);
    return sys_notify_icon(message, data);
}

NOTIFYICONDATAA record(HWND hwnd, UINT flags) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = kTrayIconId;
    nid.uFlags = flags;
    return nid;
}

}  // namespace

void set_notify_icon_function(NotifyIconFn fn) { g_notify = fn; }

void send_tip(HWND hwnd) {
    NOTIFYICONDATAA nid = record(hwnd, NIF_TIP);
    std::memcpy(nid.szTip, g_tip, sizeof g_tip);  // the first form's 64 bytes
    notify(NIM_MODIFY, &nid);
}

namespace {

// The program's icon at the small-icon size of the DPI (16 pixels at 96 DPI): the image of
// that size when the icon has one, the nearest one scaled otherwise.
HICON load_tray_icon(int dpi) {
    int cx = dpi > 0 ? sys_get_system_metrics_for_dpi(SM_CXSMICON, static_cast<UINT>(dpi))
                     : GetSystemMetrics(SM_CXSMICON);
    int cy = dpi > 0 ? sys_get_system_metrics_for_dpi(SM_CYSMICON, static_cast<UINT>(dpi))
                     : GetSystemMetrics(SM_CYSMICON);
    if (cx <= 0 || cy <= 0) cx = cy = 16;
    return static_cast<HICON>(LoadImageA(app_instance(), MAKEINTRESOURCEA(IDI_ZELMAR), IMAGE_ICON,
                                         cx, cy, LR_DEFAULTCOLOR));
}

}  // namespace

void tray_change_icon(HWND hwnd, int dpi) {
    HICON made = load_tray_icon(dpi);
    if (!made) return;
    g_icon_dpi = dpi;
    HICON old = g_icon;
    g_icon = made;
    if (g_added) {
        NOTIFYICONDATAA nid = record(hwnd, NIF_ICON);
        nid.hIcon = g_icon;
        notify(NIM_MODIFY, &nid);
    }
    if (old) DestroyIcon(old);
}

void tray_add(HWND hwnd) {
    if (!g_icon) g_icon = load_tray_icon(g_icon_dpi);
    NOTIFYICONDATAA nid = record(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    nid.uCallbackMessage = kTrayCallback;
    nid.hIcon = g_icon;
    notify(NIM_ADD, &nid);  // no notification area: "TaskbarCreated" comes once there is one
    g_added = true;
    if (g_tip[0] != '\0') send_tip(hwnd);  // the tip of a tick that came before
}

void tray_set_tip(HWND hwnd, const char* text) {
    cp932_copy(g_tip, sizeof g_tip, text ? text : "");
    if (hwnd && g_added) send_tip(hwnd);
}

void tray_remove(HWND hwnd) {
    if (g_added) {
        NOTIFYICONDATAA nid = record(hwnd, 0);
        notify(NIM_DELETE, &nid);
    }
    g_added = false;
    if (g_icon) DestroyIcon(g_icon);
    g_icon = nullptr;
}

const char* tray_tip() { return g_tip; }

LRESULT tray_callback(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (wp != kTrayIconId) return 0;
    switch (static_cast<UINT>(lp)) {
    case WM_LBUTTONDOWN:
        if (!s.window_visible) SendMessageA(hwnd, WM_COMMAND, CMD_HIDE_SHOW, 0);
        SetForegroundWindow(hwnd);
        return 0;
    case WM_RBUTTONDOWN: {
        POINT pt = {0, 0};
        GetCursorPos(&pt);
        // The menu of a window in the foreground closes when the user clicks elsewhere.
        SetForegroundWindow(hwnd);
        show_main_popup(s, hwnd, pt);  // sets popup_pending
        PostMessageA(hwnd, WM_NULL, 0, 0);
        // Some window managers map the owner of a popup menu; a window hidden to the tray
        // stays hidden.
        if (!s.window_visible) ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, kTrayCallback, wp, lp);
    }
}

void tray_show_date(HWND hwnd, int year, int month, int day, const Settings& settings) {
    char tip[64];
    format_tray_tip(tip, sizeof tip, year, month, day, settings.NationalHolidays,
                    settings.Wareki);
    if (g_second_line[0] != '\0') {
        // The date's line stays whole; the tip's room cuts the second line.
        const size_t used = std::strlen(tip);
        if (used + 2 < sizeof tip) {
            tip[used] = '\n';
            cp932_copy(tip + used + 1, sizeof tip - used - 1, g_second_line);
        }
    }
    tray_set_tip(hwnd, tip);
}

void tray_set_second_line(const char* text) {
    cp932_copy(g_second_line, sizeof g_second_line, text ? text : "");
}

void tray_show_today(HWND hwnd, const Settings& settings) {
    int y, m, d;
    get_today(&y, &m, &d);
    tray_show_date(hwnd, y, m, d, settings);
}

void tray_restore(HWND hwnd, const Settings& settings) {
    tray_show_today(nullptr, settings);  // kept for the icon, which takes it on at once
    tray_add(hwnd);
}
