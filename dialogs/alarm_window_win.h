// The alarm window (IDD_ALARM): modeless, centred and topmost, telling the entries that
// came due and sounding the alarm of the first one with a sound. A later alarm reuses the
// window and replaces its text; alarms put off with "5分後" join what is on show when they
// come back. The window grows with its alarms up to the work area, then scrolls.
#pragma once

#include <windows.h>

#include <memory>

#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"
#include "schedule/alarm_batch.h"
#include "schedule/sound_win.h"

struct DueAlarm;
struct ScheduleList;

// What "5分後" does with the alarms on show: its owner keeps them to show them again later.
struct AlarmSnooze {
    void (*fn)(void* context, const AlarmBatch& shown) = nullptr;
    void* context = nullptr;
};

// Where the template put the window and the controls below the text, in pixels.
struct AlarmTemplateSize {
    int window_w = 0, window_h = 0;
    int edit_w = 0, edit_h = 0;
    POINT button[3] = {};  // 閉じる, 5分後, ♪ (client coordinates)
};

// The window's record. Its owner keeps one for as long as the owner lives and hands it to
// show_alarms; the open window keeps it too.
struct AlarmWindow : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_ALARM;
    static constexpr bool kSqueezes = false;  // grows with its alarms up to the work area
    HWND hwnd = nullptr;                 // the open window, or none
    const ScheduleList* list = nullptr;  // for a CMD_SHOW_ALARM that comes with an index alone
    bool twelve_hour = false;            // the times in 12-hour form
    bool mark_after = false;             // AM/PM after the time
    AlarmSnooze snooze;                  // none: the 5分後 button is greyed
    SoundPlayer* sound = nullptr;        // plays the sound files; none: they beep
    std::unique_ptr<AlarmBatch> shown;   // the alarms on show
    std::unique_ptr<AlarmBatch> pending; // posted by show_alarms, taken by the command it posted
    bool pending_joins = false;          // pending joins what is on show instead of replacing it
    AlarmTemplateSize size;              // read at creation
    HHOOK key_filter = nullptr;          // its keys inside other dialogs' loops

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

// How the window writes times: settings `method` and `ampm`.
struct AlarmTimeForm {
    bool twelve_hour;
    bool mark_after;
};

// Creates the window of w over owner if none is open, then posts it the alarms of b to show
// (b is copied). They replace what is on show, or join it with join. Alarms handed over
// before the window took the previous ones are shown together with them.
void show_alarm_batch(HWND owner, AlarmWindow* w, AlarmTimeForm form, const AlarmBatch& b,
                      bool join);
// The entries of list at indices (in list order), as they are now. Entries due in the same
// check are shown together; those due up to missed_upto (an alarm instant, 0 for none) came
// due before the program started and say so.
void show_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                 const int* indices, int count, uint64_t missed_upto = 0);
// The same for occurrences come due (each shown on its own day).
void show_due_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                     const DueAlarm* due, int count, uint64_t missed_upto = 0);
// Destroys the window of w if one is open (its sound stops with it).
void close_alarm_window(AlarmWindow* w);
