// The dialogs the main window opens: the message box and the About box come from dialogs/;
// the dialogs that are still to come are named entry points that change nothing yet.
#pragma once

#include <windows.h>

#include "dialogs/about_box_win.h"
#include "dialogs/message_box_win.h"

// Day-contents dialog 206 for the clicked day; non-zero when its schedule button was used.
// Not built yet: always 0.
int day_contents_dialog(HWND owner);
// Schedule dialog 205 opened on a date (-1 fields: none given); non-zero when the list
// changed. Not built yet: always 0.
int schedule_dialog(HWND owner, int year, int month, int day);
// Shows the alarm of list entry index (the alarm window comes later: nothing happens).
void alarm_notify(HWND owner, int index);
// Scans the program directory for image plug-ins (they come later: none are loaded).
void scan_image_plugins(const char* program_dir);
