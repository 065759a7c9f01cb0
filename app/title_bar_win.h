// The two frames of the main window: caption and menu bar, or a bare sizing frame.
#pragma once

#include <windows.h>

struct MainState;

// WS_OVERLAPPEDWINDOW for `titlebar` 0; WS_POPUP | WS_BORDER | WS_SYSMENU | WS_THICKFRAME |
// WS_MINIMIZEBOX otherwise.
DWORD main_window_style(int titlebar);
// Switches the window to the frame and menu `titlebar` asks for, keeping its outer
// rectangle: the client area grows or shrinks by the caption and menu bar, and the window
// is repainted in full.
void apply_title_bar(MainState& s, HWND hwnd);
