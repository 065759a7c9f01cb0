// Process-wide identity of the program and the main window entry points.
#ifndef ZELMAR_APP_H
#define ZELMAR_APP_H

#include <windows.h>

struct ScheduleList;
struct Settings;

extern const char kMainClassName[];   // "TarseZelmar32Class"

// The records the main window works on for its whole life, filled by start-up and handed
// over at creation.
struct MainRecords {
    Settings* settings;
    ScheduleList* schedule;
};

// The instance all resources are loaded from (set by main_window_register).
HINSTANCE app_instance();

// Registers the main window class; false when the platform refuses it.
bool main_window_register(HINSTANCE inst);
// Creates the main window on the records with the style their `titlebar` setting asks for
// (WM_CREATE places it and builds its menus), then shows and updates it; nullptr on failure.
HWND main_window_create(HINSTANCE inst, int show, const MainRecords& records);
// Runs the message loop until WM_QUIT and returns its exit code.
int message_loop();

// The whole program run: single instance, paths, settings, window, loop. Returns the exit
// code (1 when another copy runs, 2 when the settings path cannot be formed, 3 when the
// window cannot be made).
int app_run(HINSTANCE inst, int show);

#endif
