// The alarm window (template 212): modeless, centred and topmost, telling the entries that
// came due and sounding the alarm of the first one with a sound. A later alarm reuses the
// window and replaces its text.
#pragma once

#include <windows.h>

#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"
#include "schedule/alarm_batch.h"

struct ScheduleList;

// The window's record. Its owner keeps one for as long as the owner lives and hands it to
// show_alarms; the open window keeps it too.
struct AlarmWindow : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_ALARM;
    HWND hwnd = nullptr;                 // the open window, or none
    const ScheduleList* list = nullptr;  // what the shown indices point into
    bool twelve_hour = false;            // the times in 12-hour form
    bool mark_after = false;             // AM/PM after the time
    AlarmBatch shown = {};               // the entries on show
    AlarmBatch pending = {};             // posted by show_alarms, taken by the command it posted
    bool timer = false;                  // the sound poll runs

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

// How the window writes times: settings `method` and `ampm`.
struct AlarmTimeForm {
    bool twelve_hour;
    bool mark_after;
};

// Creates the window of w over owner if none is open, then posts it the entries of list to
// show (indices, in list order). Entries due in the same check are shown together.
void show_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                 const int* indices, int count);
void show_alarm(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                int index);
// Destroys the window of w if one is open (its sound stops with it).
void close_alarm_window(AlarmWindow* w);
