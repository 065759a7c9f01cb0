// The schedule list the benchmarks work on: n entries spread over twenty years, every one
// with a time and a sound alarm, a third of them scrambled.
#pragma once

#include <cstdio>

#include "schedule/entry.h"

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
