// Helpers of the iCalendar tests: reading a text into a fresh list, the fields that make two
// entries the same entry, and calendar texts built from lines.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ical_host_platform.h"
#include "schedule/entry.h"
#include "schedule/entry_forms.h"
#include "schedule/ical_import.h"
#include "schedule/ical_write.h"

namespace ical_test {

struct Imported {
    bool calendar = false;
    IcalImportCounts counts{};
    std::vector<ScheduleEntry> entries;
};

inline Imported import_text(const std::string& text, const IcalPlatform* p = ical_host::japan(),
                            std::vector<ScheduleEntry> list = {}, int max = kMaxEntries,
                            DeletedEntries* deleted = nullptr) {
    Imported r;
    int count = (int)list.size();
    list.resize(max > count ? max : count);
    r.calendar = ical_import(text.data(), text.size(), p, list.data(), &count, max, &r.counts, deleted);
    list.resize(count);
    r.entries = list;
    return r;
}

inline std::string export_text(const std::vector<ScheduleEntry>& list,
                               IcalExportCounts* c = nullptr,
                               const IcalPlatform* p = ical_host::japan()) {
    std::string out;
    IcalExportCounts counts;
    ical_write(list.data(), (int)list.size(), p, IcalTime{2024, 5, 1, 3, 4, 5}, &out, &counts);
    if (c) *c = counts;
    return out;
}

// What an entry means to the user, in short: "2004-5-5 9:30 alarm3/15 C:\a.wav holiday
// scrambled [memo]" and the stored forms of what else it holds (" rrule=FREQ=DAILY
// exdate=20040506"); what has no meaning in the entry's state (minutes before without an
// alarm, a sound file without a sound alarm) is left out.
inline std::string describe(const ScheduleEntry& e) {
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, "%d-%d-%d", e.year, e.month, e.day);
    if (e.has_time) n += std::snprintf(buf + n, sizeof buf - n, " %d:%02d", e.hour, e.minute);
    if (e.alarm_kind)
        n += std::snprintf(buf + n, sizeof buf - n, " alarm%d/%d%s%s", e.alarm_kind,
                           e.minutes_before, e.alarm_kind == 3 ? " " : "",
                           e.alarm_kind == 3 ? e.sound_file : "");
    std::snprintf(buf + n, sizeof buf - n, "%s%s [%s]", e.holiday ? " holiday" : "",
                  e.scramble ? " scrambled" : "", e.memo);
    std::string s = buf;
    for (const EntryProp& p : entry_props(e, false)) s += " " + p.first + "=" + p.second;
    return s;
}

// In the list's order (entry_compare), as an import leaves them.
inline std::vector<ScheduleEntry> sorted(std::vector<ScheduleEntry> v) {
    std::sort(v.begin(), v.end(), [](const ScheduleEntry& a, const ScheduleEntry& b) {
        return entry_compare(&a, &b) < 0;
    });
    return v;
}

inline std::vector<std::string> describe_all(const std::vector<ScheduleEntry>& list) {
    std::vector<std::string> out;
    for (const auto& e : list) out.push_back(describe(e));
    return out;
}

// A calendar around the given lines (joined with line ends of the caller's choice).
inline std::string calendar(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string s = std::string("BEGIN:VCALENDAR") + eol + "VERSION:2.0" + eol;
    for (const auto& l : lines) s += l + eol;
    return s + "END:VCALENDAR" + eol;
}

// One event with the given lines, a UID and a memo (none for nullptr).
inline std::vector<std::string> event(const std::vector<std::string>& lines,
                                      const char* summary = "x") {
    std::vector<std::string> out = {"BEGIN:VEVENT", "UID:u"};
    out.insert(out.end(), lines.begin(), lines.end());
    if (summary) out.push_back(std::string("SUMMARY:") + summary);
    out.push_back("END:VEVENT");
    return out;
}

}  // namespace ical_test
