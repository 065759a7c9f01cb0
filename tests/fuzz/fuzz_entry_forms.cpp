// The readers of an entry's stored forms (rule, skipped days, end, leads, identity, stamps)
// on any value: a value refused leaves the entry as it was; one taken is written back in the
// same form and read again to the same properties; the days it gives lie in their months,
// and the next occurrence from any day is an occurrence on or after it.
//
// Input: byte 0 picks the property, bytes 1..3 the entry's date and whether it has a time,
// the rest is the value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/date.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"

namespace {

const char* const kNames[] = {"rrule", "exdate", "end", "trigger", "daytrigger", "dayaction",
                              "recurid", "seq", "modified", "uid"};

ScheduleEntry base(const uint8_t* b) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = kEntryFirstYear + b[0] % 100;
    e.month = 1 + b[1] % 12;
    e.day = 1 + (b[2] >> 1) % days_in_month(e.month, e.year);
    std::strcpy(e.memo, "m");
    if (b[2] & 1) {
        e.has_time = 1;
        e.hour = b[0] % 24;
        e.minute = b[1] % 60;
        e.alarm_kind = 1;
    }
    return e;
}

void check_days(const ScheduleEntry& e, int y, int m) {
    const uint32_t outside = static_cast<uint32_t>(~0ull << (days_in_month(m, y) + 1)) | 1u;
    const uint32_t starts = entry_month_starts(e, y, m);
    const uint32_t covered = entry_month_days(e, y, m);
    if ((starts | covered) & outside) std::abort();
    if (starts & ~covered) std::abort();
    CalendarDate next;
    if (entry_next_occurrence(e, CalendarDate{y, m, 1}, &next)) {
        if (date_ymd(next) < y * 10000 + m * 100 + 1) std::abort();
        if (!((entry_month_starts(e, next.year, next.month) >> next.day) & 1u)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || size > 2048) return 0;
    const std::string name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
    const std::string value(reinterpret_cast<const char*>(data) + 4, size - 4);
    ScheduleEntry e = base(data + 1);
    const ScheduleEntry before = e;
    if (!entry_take_prop(name, value, &e)) {
        if (std::memcmp(&e, &before, sizeof e) != 0) std::abort();
        return 0;
    }

    // Written and read again: the same properties.
    const auto props = entry_props(e, true);
    ScheduleEntry back = base(data + 1);
    for (const EntryProp& p : props)
        if (!entry_take_prop(p.first, p.second, &back)) std::abort();
    if (entry_props(back, true) != props) std::abort();

    for (int k = 0; k < 4; ++k) {
        const int y = e.year + data[1 + k % 3] % 8 - 1, m = 1 + (data[k % 4] + k) % 12;
        check_days(e, y, m);
    }
    check_days(e, e.year, e.month);
    return 0;
}
