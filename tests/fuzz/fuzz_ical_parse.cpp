// The iCalendar reader on any bytes: it stays in its buffers, the counts add up, every entry
// it gives passes the schedule dialog's checks and has a usable alarm, and what it gives,
// written and read again, comes back the same (rule, skipped days, identity too) and is then
// all already there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/cp932.h"
#include "dialogs/schedule_fields.h"
#include "schedule/entry.h"
#include "schedule/entry_forms.h"
#include "schedule/ical_import.h"
#include "schedule/ical_write.h"
#include "tests/host/ical_host_platform.h"

namespace {

void check_entry(const ScheduleEntry& e) {
    ScheduleEntry copy = e;
    bool cleared = false;
    if (validate_entry(&copy, &cleared) != nullptr || cleared) std::abort();
    const size_t memo = strnlen(e.memo, sizeof e.memo);
    if (memo == 0 || memo > 80) std::abort();
    // Whole characters only: the walk ends exactly on the terminator.
    const char* p = e.memo;
    while (*p) {
        const char* next = cp932_next(p);
        if (next - p == 1 && cp932_is_lead((unsigned char)*p)) std::abort();
        p = next;
    }
    if (e.has_time && (e.hour < 0 || e.hour > 23 || e.minute < 0 || e.minute > 59)) std::abort();
    if (!e.has_time && (e.hour != -1 || e.minute != -1)) std::abort();
    if (e.alarm_kind > 3 || (has_alarm(e) && !e.has_time && !e.day_alarm)) std::abort();
    if (e.minutes_before < 0 || e.minutes_before > kMaxLeadMinutes) std::abort();
    if (strnlen(e.sound_file, sizeof e.sound_file) > 259) std::abort();
    if (alarm_kind_of(e) != AlarmKind::kSoundFile && e.sound_file[0]) std::abort();
    // No sound file but one on a local fixed disk.
    ical_host::Context drives;
    const DriveQuestion q{ical_host::drive_kind, &drives};
    if (e.sound_file[0] && !local_fixed_file(e.sound_file, q)) std::abort();
    ScheduleEntry probe = e;
    compute_alarm_at(&probe);
    if (e.alarm_at != (has_alarm(e) ? probe.alarm_at : 0)) std::abort();
}

bool same(const ScheduleEntry& a, const ScheduleEntry& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.holiday == b.holiday &&
           a.scramble == b.scramble && std::strcmp(a.memo, b.memo) == 0 &&
           a.has_time == b.has_time && a.hour == b.hour && a.minute == b.minute &&
           a.alarm_kind == b.alarm_kind && a.minutes_before == b.minutes_before &&
           std::strcmp(a.sound_file, b.sound_file) == 0 &&
           repeat_rule_text(a.repeat) == repeat_rule_text(b.repeat) && a.skip_count == b.skip_count &&
           a.day_alarm == b.day_alarm && a.day_alarm_minute == b.day_alarm_minute &&
           a.recur_date == b.recur_date && (!a.uid[0] || std::strcmp(a.uid, b.uid) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<ScheduleEntry> list(kMaxEntries), again(kMaxEntries);
    const IcalPlatform* p = ical_host::japan();
    // The input in a buffer of exactly its size: a read past it is caught.
    std::vector<char> text(data, data + size);

    // A small list now and then, so that a full list is met too.
    const int max = size > 0 && data[0] % 8 == 0 ? 1 + data[size - 1] % 4 : kMaxEntries;
    int count = 0;
    IcalImportCounts c;
    const bool calendar = ical_import(text.data(), text.size(), p, list.data(), &count, max, &c);
    if (!calendar && (count != 0 || c.read != 0)) std::abort();
    if (c.read != c.added + c.updated + c.already + c.full + c.unreadable + c.cancelled ||
        c.added != count || c.updated != 0)
        std::abort();
    if (c.changed > c.added || c.recurrence_cut > c.changed || c.alarm_cut > c.changed ||
        c.sound_refused > c.changed)
        std::abort();
    for (int i = 0; i < count; ++i) check_entry(list[i]);

    std::string written;
    IcalExportCounts w;
    ical_write(list.data(), count, p, IcalTime{2024, 1, 1, 0, 0, 0}, &written, &w);
    if (w.written != count || w.no_day != 0) std::abort();

    int back = 0;
    IcalImportCounts c2;
    if (!ical_import(written.data(), written.size(), p, again.data(), &back, kMaxEntries, &c2))
        std::abort();
    if (back != count || c2.read != count || c2.changed != 0) std::abort();
    for (int i = 0; i < count; ++i)
        if (!same(list[i], again[i])) std::abort();

    // Read into the list it came from: everything is there already.
    if (!ical_import(written.data(), written.size(), p, again.data(), &back, kMaxEntries, &c2))
        std::abort();
    if (back != count || c2.added != 0 || c2.updated != 0 || c2.already != count) std::abort();
    return 0;
}
