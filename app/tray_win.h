// The notification-area icon of the main window. The icon itself is not shown yet: these
// keep the tip text it will carry, and the callback handles its mouse messages.
#pragma once

#include <windows.h>

struct MainState;

constexpr UINT kTrayIconId = 31049;

void tray_add(HWND hwnd);
// Sets the tip (at most 63 bytes, cut on a character boundary).
void tray_set_tip(HWND hwnd, const char* text);
void tray_remove(HWND hwnd);
// The tip last set.
const char* tray_tip();

// Message WM_USER + 1: a left click shows a hidden window, a right click opens the menu.
LRESULT tray_callback(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
// "TaskbarCreated": the icon again, with today's date as its tip.
void tray_restore(HWND hwnd);
