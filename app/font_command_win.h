// Command 205 フォント(&F)...: the font dialog with a live preview on the main window.
#pragma once

#include <windows.h>

// Opens the dialog from the settings' font. OK keeps the choice and saves the settings
// (a failed save is told); cancel puts back the font that was set before, undoing any
// preview.
void choose_font(HWND hwnd);
