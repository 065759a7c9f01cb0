// CMD_FONT フォント(&F)...: the font dialog with a live preview on the main window.
#pragma once

#include <windows.h>

struct Settings;

// Opens the dialog from the font of *settings over hwnd, which the preview repaints. OK
// keeps the choice and saves the settings (a failed save is told); cancel puts back the font
// that was set before, undoing any preview.
void choose_font(Settings* settings, HWND hwnd);
