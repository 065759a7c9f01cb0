// The dialogs the main window opens. The message box and the About box come from dialogs/;
// the dialogs that are still to come are named entry points that change nothing yet.
#pragma once

#include <windows.h>

#if __has_include("dialogs/message_box.h")
#include "dialogs/message_box.h"
#else
// Until the program's own box is in the tree, the system one stands in.
inline int message_box(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}
#endif

#if __has_include("dialogs/about_box.h")
#include "dialogs/about_box.h"
#else
inline void about_box(HWND owner) { MessageBoxA(owner, "Zelmar.exe Version 2.43", "Tavelspore", MB_OK); }
#endif

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
