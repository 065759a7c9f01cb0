// The messages the program posts to its own windows, in one list so that no two share a
// number: a worker's result that reached the wrong case would be read as another's.
#pragma once

#include <windows.h>

// The main window.
constexpr UINT kTrayCallback = WM_USER + 1;     // the tray icon's clicks
constexpr UINT kBackgroundLoaded = WM_APP + 1;  // wParam: the load's generation
constexpr UINT kAlarmsHeldBack = WM_APP + 2;    // tells held_back_notice
constexpr UINT kAccessActionMessage = WM_APP + 8;  // wParam: the action, lParam: its child
constexpr UINT kFeedsDone = WM_APP + 20;        // lParam: the worker task that ended
constexpr UINT kSyncDone = WM_APP + 21;         // lParam: the sync's task
// The sync settings dialog.
constexpr UINT kSyncSearchDone = WM_APP + 30;   // lParam: the calendar search's task
