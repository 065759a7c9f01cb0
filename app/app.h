// Process-wide identity of the program and the main window entry points.
#ifndef ZELMAR_APP_H
#define ZELMAR_APP_H

#include <windows.h>

extern const char kMainClassName[];   // "TarseZelmar32Class"
extern const char kProgramTitle[];    // "Tavelspore"

// Registers the main window class; false when the platform refuses it.
bool main_window_register(HINSTANCE inst);
// Creates (and shows) the main window; nullptr on failure.
HWND main_window_create(HINSTANCE inst, int show);
// Runs the message loop until WM_QUIT and returns its exit code.
int message_loop();

#endif
