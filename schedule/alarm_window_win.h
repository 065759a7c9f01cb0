// The alarm window: shows entries whose alarm came due and sounds their alarm.
#pragma once

#include <windows.h>

// The open alarm window, or nullptr. Its owner destroys it when the owner itself goes.
extern HWND alarm_window;

// Creates the window over owner if none is open, then posts it the entries to show (list
// indices, in list order). Entries due in the same check are shown together.
void show_alarms(HWND owner, const int* indices, int count);
void show_alarm(HWND owner, int index);
