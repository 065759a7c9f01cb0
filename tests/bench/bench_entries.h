// The schedule lists the benchmarks work on.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "config/profile_file.h"

#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/schedule_sections.h"

// The i-th entry of a benchmark list, blank but for its memo, time and alarm 15 minutes
// before (a sound file, or the system sound), scrambled when i is a multiple of three; its
// date is the caller's.
inline void bench_timed_entry(ScheduleEntry* e, int i, AlarmKind kind) {
    entry_blank(e);
    e->scramble = i % 3 == 0;
    std::snprintf(e->memo, sizeof e->memo, "会議 %03d 表示", i);
    e->has_time = 1;
    e->hour = i % 24;
    e->minute = i % 60;
    e->minutes_before = 15;
    set_alarm_kind(e, kind);
    if (kind == AlarmKind::kSoundFile)
        std::snprintf(e->sound_file, sizeof e->sound_file, "C:\\Windows\\Media\\alarm%03d.wav", i);
}

// n entries spread over twenty years, every one with a time and a sound alarm, a third of
// them scrambled.
inline void fill_bench_entries(ScheduleList* list, int n) {
    for (int i = 0; i < n; ++i) {
        ScheduleEntry& e = list->entries[i];
        bench_timed_entry(&e, i, AlarmKind::kSoundFile);
        e.year = 2004 + i % 20;
        e.month = 1 + i % 12;
        e.day = 1 + i % 28;
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

// n entries that all repeat and fall on many days of the benchmarks' May 2009 (a quarter
// each): daily ones (every one to three days, some with an end), weekly ones on two or three
// weekdays with skipped days, monthly ones on the k-th weekdays, and spans of two to five
// days (yearly, weekly and monthly); every fifth a holiday, every one with a time and an
// alarm, a third scrambled, every one a memo as in fill_bench_entries (bench_timed_entry).
inline void fill_repeating_entries(ScheduleEntry* entries, int n) {
    for (int i = 0; i < n; ++i) {
        ScheduleEntry& e = entries[i];
        bench_timed_entry(&e, i, AlarmKind::kSystemSound);
        e.year = 2004 + i % 5;
        e.month = 1 + i % 12;
        e.day = 1 + i % 28;
        e.holiday = (i % 5 == 0) ? 1 : 0;
        RepeatRule& r = e.repeat;
        r.interval = 1;
        switch (i % 4) {
        case 0:
            r.kind = RepeatKind::kDaily;
            r.interval = static_cast<uint8_t>(1 + i % 3);
            if (i % 8 == 0) r.end = RepeatEnd::kUntil, r.until = 20300101;
            break;
        case 1:
            r.kind = RepeatKind::kWeekly;
            r.weekdays = static_cast<uint8_t>((1u << (i % 7)) | (1u << ((i + 3) % 7)) | (i % 3 ? 0u : 1u << ((i + 5) % 7)));
            for (int k = 0; k < 12; ++k) e.skips[e.skip_count++] = 20090502 + 2 * k;  // some are its days
            break;
        case 2:
            r.kind = RepeatKind::kMonthlyByWeekday;
            r.nth_weekdays[i % 4] = static_cast<uint8_t>(1u << (i % 7));
            r.nth_weekdays[kNthLast] = static_cast<uint8_t>(1u << ((i + 2) % 7));
            break;
        default: {
            const RepeatKind kinds[3] = {RepeatKind::kYearly, RepeatKind::kWeekly, RepeatKind::kMonthlyByWeekday};
            r.kind = kinds[i % 3];
            r.weekdays = static_cast<uint8_t>(1u << (i % 7));
            r.nth_weekdays[1] = static_cast<uint8_t>(1u << (i % 7));
            if (r.kind == RepeatKind::kYearly) e.month = 5;
            e.span_days = static_cast<int16_t>(1 + i % 4);
            break;
        }
        }
        entry_settle(&e);
    }
}

// A list of n such entries.
inline void fill_bench_repeating_entries(ScheduleList* list, int n) {
    fill_repeating_entries(list->entries, n);
    list->count = n;
}

// The schedule sections of a settings file holding the list; without the extra section (the
// rules, identities...) as a file of an older release has them, whose identities the load
// derives.
inline std::string bench_schedule_text(const ScheduleList& list, bool extra) {
    ProfileFile doc;
    ScheduleKeep keep;
    std::unique_ptr<ScheduleList> copy(new ScheduleList(list));
    int count = copy->count;
    schedule_merge(doc, copy->entries, &count, kMaxEntries, &keep);
    schedule_write(&doc, copy->entries, count, keep);
    if (!extra) doc.set_lines(kScheduleExtraSection, {});
    return doc.serialize();
}
