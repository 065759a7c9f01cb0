// The alarm window: a modeless dialog over the main window that shows a schedule entry
// whose alarm has come and sounds it. At most one exists; a later alarm reuses it.
#pragma once

#include <windows.h>

// Shows entry index of the schedule list in the alarm window, creating the window (owned by
// owner, the main window) when none is open. The window is not built yet: nothing happens.
void show_alarm(HWND owner, int index);
