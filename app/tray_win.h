// The notification-area icon of the main window: added right after the window's first paint
// (the shell is loaded then, not at start) and when the taskbar restarts, its tip following
// today's date, removed at destruction. Its mouse messages come
// back to the main window as WM_USER + 1.
#pragma once

#include <windows.h>
#include <shellapi.h>

struct MainState;
struct Settings;

constexpr UINT kTrayIconId = 31049;

// The icon with the callback message and an empty tip (NIM_ADD), then the tip kept so far
// (NIM_MODIFY) when there is one. Without a notification area the calls fail and nothing
// else happens; "TaskbarCreated" adds it later.
void tray_add(HWND hwnd);
// Keeps the tip (at most 63 bytes, cut on a character boundary) and, once the icon was
// added, changes only the tip (NIM_MODIFY, NIF_TIP).
void tray_set_tip(HWND hwnd, const char* text);
// NIM_DELETE of the icon when it was added; the icon image is released.
void tray_remove(HWND hwnd);
// The icon image made anew at the small-icon size of dpi (the system's until this is called)
// and, once the icon was added, shown (NIM_MODIFY, NIF_ICON).
void tray_change_icon(HWND hwnd, int dpi);
// The tip last set.
const char* tray_tip();

// Message WM_USER + 1: a left click shows a hidden window, a right click opens the menu.
LRESULT tray_callback(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
// The tip of a date, with the holiday's name on a national holiday and the era year, as
// the settings' switches say.
void tray_show_date(HWND hwnd, int year, int month, int day, const Settings& settings);
void tray_show_today(HWND hwnd, const Settings& settings);
// A second line under the date in the tip ("" none), such as when the calendar was last
// synced; shown from the next tray_show_date on.
void tray_set_second_line(const char* text);
// "TaskbarCreated": the icon again, with today's date as its tip.
void tray_restore(HWND hwnd, const Settings& settings);

// The shell call, replaceable by tests; nullptr puts Shell_NotifyIconA back.
using NotifyIconFn = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
void set_notify_icon_function(NotifyIconFn fn);
