// Bringing the events of an iCalendar text into a schedule list: an event whose UID names an
// entry of the list updates it (when the file's copy differs and is not older), any other
// becomes an entry unless an equal one (date, time, memo) is already there or the list is
// full; an event that replaces one occurrence of a series makes the series leave that day
// out. An event the user deleted from the list (deleted) is left out unless the file's copy
// changed since; one that changed comes back and is no longer remembered as deleted. The list
// ends sorted in the usual order. What happened is counted for the one message
// the user gets.
#pragma once

#include <stddef.h>

#include "schedule/deleted_entries.h"
#include "schedule/entry.h"
#include "schedule/ical_platform.h"

struct IcalImportCounts {
    int read;            // events in the file
    int added;           // entries added to the list
    int already;         // equal to an entry already in the list (or added before from the file),
                         // or the list's copy of it is newer
    int recurrence_cut;  // added with the first day of a recurrence the list cannot hold
    int alarm_cut;       // added without an alarm the event had
    int changed;         // added with any of those changes
    int full;            // left out: the list was full
    int unreadable;      // left out: the event could not be read or has no day in 1980..2079
    int sound_refused;   // added with the system sound: the sound file was no local file
    int updated;         // entries of the list (same UID) changed to the file's copy
    int cancelled;       // left out: cancelled, or its rule leaves no day at all
    int days_left_out;   // days series of the list now leave out for occurrences the file replaced
    int deleted_here;    // left out: deleted from the list, and the file's copy is no newer
};

// Reads text and adds what it gives to list[0..*count), which has room for max entries.
// Returns false, with the list untouched, when the text is no iCalendar at all. Sorts the
// list (entry_compare) when something was added or changed. deleted nullptr: none is.
bool ical_import(const char* text, size_t n, const IcalPlatform* platform, ScheduleEntry* list,
                 int* count, int max, IcalImportCounts* counts, DeletedEntries* deleted = nullptr);

// Two entries that stand for the same appointment: same date (or every-year form), time
// and memo.
bool ical_same_appointment(const ScheduleEntry* a, const ScheduleEntry* b);

// Two entries the same in everything an event carries but their version (sequence, stamp).
bool ical_same_content(const ScheduleEntry& a, const ScheduleEntry& b);
// A digest of what ical_same_content compares.
uint64_t ical_content_digest(const ScheduleEntry& e);
