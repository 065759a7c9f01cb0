// The schedule lists the benchmarks work on.
#pragma once

#include <cstdio>

#include "schedule/entry.h"

// n entries spread over twenty years, every one with a time and a sound alarm, a third of
// them scrambled.
inline void fill_bench_entries(ScheduleList* list, int n) {
    for (int i = 0; i < n; ++i) {
        ScheduleEntry& e = list->entries[i];
        entry_blank(&e);
        e.year = 2004 + i % 20;
        e.month = 1 + i % 12;
        e.day = 1 + i % 28;
        e.scramble = i % 3 == 0;
        std::snprintf(e.memo, sizeof e.memo, "会議 %03d 表示", i);
        e.has_time = 1;
        e.hour = i % 24;
        e.minute = i % 60;
        e.minutes_before = 15;
        set_alarm_kind(&e, AlarmKind::kSoundFile);
        std::snprintf(e.sound_file, sizeof e.sound_file, "C:\\Windows\\Media\\alarm%03d.wav", i);
    }
    list->count = n;
}

// n entries that mark and redden many days of the benchmarks' May 2009: a third every year,
// the rest in 2009, some on movable days, every fifth a holiday.
inline void fill_marked_entries(ScheduleEntry* entries, int n) {
    for (int i = 0; i < n; ++i) {
        ScheduleEntry& e = entries[i];
        entry_blank(&e);
        e.year = (i % 3 == 0) ? -1 : 2009;
        e.month = 1 + i % 12;
        e.day = (i % 17 == 0) ? 98 : 1 + i % 28;
        e.holiday = (i % 5 == 0) ? 1 : 0;
    }
}

// A list of n such entries.
inline void fill_bench_marked_entries(ScheduleList* list, int n) {
    fill_marked_entries(list->entries, n);
    list->count = n;
}
