// The written file: its header, the lines of each kind of entry, escapes and the folding of
// long lines. (Entries without a day are left out: the independent reader check holds them.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "entry_maker.h"
#include "repeat_maker.h"
#include "ical_test_support.h"
#include "resources/version.h"
#include "schedule/utf8_text.h"

namespace {

using namespace ical_test;

std::vector<std::string> physical_lines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "line without CR LF at " << at;
        if (end == std::string::npos) break;
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

std::vector<std::string> unfolded(const std::string& text) {
    std::vector<std::string> out;
    for (const auto& l : physical_lines(text)) {
        if (!l.empty() && l[0] == ' ' && !out.empty()) out.back() += l.substr(1);
        else out.push_back(l);
    }
    return out;
}

bool has(const std::vector<std::string>& lines, const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
}

// Dates from 'from' with the given day each year, "YYYYMMDD" joined by commas.
std::string yearly_dates(int from, int to, int month, int (*day)(int)) {
    std::string s;
    for (int y = from; y <= to; ++y) {
        char d[16];
        std::snprintf(d, sizeof d, "%s%04d%02d%02d", s.empty() ? "" : ",", y, month, day(y));
        s += d;
    }
    return s;
}

struct FormCase {
    const char* name;
    ScheduleEntry entry;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

TEST(IcalWrite, LinesOfEachKindOfEntry) {
    ScheduleEntry alarm1 = make_entry(2004, 5, 5, 0, "m", 9, 30, 1);
    alarm1.minutes_before = 15;
    ScheduleEntry alarm2 = make_entry(2004, 5, 5, 0, "m", 9, 30, 2);
    alarm2.minutes_before = 0;
    ScheduleEntry alarm3 = make_entry(2004, 5, 5, 0, "m", 9, 30, 3);
    alarm3.minutes_before = 99;
    std::snprintf(alarm3.sound_file, sizeof alarm3.sound_file, "C:\\Sounds\\ソ.wav");
    ScheduleEntry untimed_alarm = make_entry(2004, 5, 5, 0, "m", -1, -1, 1);
    ScheduleEntry day_alarm = make_entry(2004, 5, 5, 0, "m", -1, -1, 2);
    day_alarm.day_alarm = 1;
    day_alarm.day_alarm_minute = -900;
    ScheduleEntry occurrence = make_entry(2004, 5, 5, 0, "m");
    std::snprintf(occurrence.uid, sizeof occurrence.uid, "series");
    occurrence.recur_date = 20040504;
    occurrence.sequence = 3;
    wall_time_to_filetime(2004, 5, 1, 8, 59, 59, 0, &occurrence.modified);
    ScheduleEntry scrambled = make_entry(2004, 5, 5, 0, "m");
    scrambled.scramble = 1;
    const std::string equinoxes =
        yearly_dates(1981, 2079, 3, [](int y) { return vernal_equinox_day(y); });
    const FormCase cases[] = {
        {"date", make_entry(2004, 5, 5, 0, "m"),
         {"DTSTART;VALUE=DATE:20040505", "DTEND;VALUE=DATE:20040506", "SUMMARY:m"},
         {"RRULE", "BEGIN:VALARM", "CATEGORIES"}},
        {"time without an end: an instant", make_entry(2079, 12, 31, 0, "m", 23, 30),
         {"DTSTART;TZID=Asia/Tokyo:20791231T233000"}, {"DTEND"}},
        {"every year", make_entry(-1, 1, 1, 1, "m"),
         {"DTSTART;VALUE=DATE:19800101", "RRULE:FREQ=YEARLY", std::string("CATEGORIES:") + u8"祭日",
          "X-ZELMAR-HOLIDAY:1"},
         {"RDATE"}},
        {"leap day every year", make_entry(-1, 2, 29, 0, "m"),
         {"DTSTART;VALUE=DATE:19800229", "RRULE:FREQ=YEARLY"}, {}},
        {"second monday", make_entry(-1, 1, 98, 0, "m"),
         {"DTSTART;VALUE=DATE:19800114", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"}, {"RDATE"}},
        {"third monday", make_entry(-1, 7, 97, 0, "m", 8, 0),
         {"DTSTART;TZID=Asia/Tokyo:19800721T080000", "RRULE:FREQ=YEARLY;BYMONTH=7;BYDAY=3MO"}, {}},
        {"movable january", make_entry(-1, 1, 99, 0, "m"),
         {"DTSTART;VALUE=DATE:20000110", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO",
          "RDATE;VALUE=DATE:" + yearly_dates(1980, 1999, 1, [](int) { return 15; })},
         {}},
        {"movable october", make_entry(-1, 10, 99, 0, "m", 6, 5),
         {"DTSTART;TZID=Asia/Tokyo:20001009T060500", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=2MO"}, {}},
        {"vernal equinox", make_entry(-1, 3, 99, 0, "m"),
         {"DTSTART;VALUE=DATE:19800320", "RDATE;VALUE=DATE:" + equinoxes}, {"RRULE"}},
        {"movable day with a year", make_entry(2004, 7, 98, 0, "m"),
         {"DTSTART;VALUE=DATE:20040712"}, {"RRULE"}},
        {"display alarm", alarm1,
         {"BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT15M", "DESCRIPTION:m", "END:VALARM"},
          {"ACTION:AUDIO"}},
        {"system sound", alarm2, {"ACTION:AUDIO", "TRIGGER:-PT0M"}, {"ATTACH", "ACTION:DISPLAY"}},
        {"sound file", alarm3,
         {"ACTION:AUDIO", "TRIGGER:-PT99M", std::string("ATTACH:C:\\Sounds\\") + u8"ソ.wav"}, {}},
        {"alarm without a time", untimed_alarm, {"DTSTART;VALUE=DATE:20040505"}, {"BEGIN:VALARM"}},
        {"scrambled", scrambled, {"X-ZELMAR-SCRAMBLE:1"}, {"CATEGORIES"}},
        {"escapes", make_entry(2004, 5, 5, 0, "a,b;c\\d:e"), {"SUMMARY:a\\,b\\;c\\\\d:e"}, {}},
        {"a rule that does not fall on the date starts on its first day",
         weekly(2032, 10, 22, {0, 3}), {"DTSTART;VALUE=DATE:20321024", "RRULE:FREQ=WEEKLY;BYDAY=SU,WE;WKST=SU"}, {}},
        {"a timed series: UNTIL in UTC, skipped days at the time",
         skipping(until(timed(daily(2024, 1, 1), 9, 30), 20240110), {20240103}),
         {"RRULE:FREQ=DAILY;UNTIL=20240110T145959Z", "EXDATE;TZID=Asia/Tokyo:20240103T093000"},
         {"DTEND"}},
        {"a day alarm", day_alarm, {"DTEND;VALUE=DATE:20040506", "ACTION:AUDIO", "TRIGGER:-PT15H"}, {}},
        {"a changed occurrence, stamped", occurrence,
         {"UID:series", "RECURRENCE-ID;VALUE=DATE:20040504", "SEQUENCE:3",
          "LAST-MODIFIED:20040430T235959Z"}, {"RRULE"}},
    };
    for (const auto& c : cases) {
        const auto lines = unfolded(export_text({c.entry}));
        for (const auto& l : c.present) EXPECT_TRUE(has(lines, l)) << c.name << ": " << l;
        for (const auto& prefix : c.absent)
            for (const auto& l : lines) EXPECT_NE(l.rfind(prefix, 0), 0u) << c.name << ": " << l;
    }
}

TEST(IcalWrite, HeaderAndZone) {
    const auto dated = unfolded(export_text({make_entry(2004, 5, 5, 0, "m")}));
    ASSERT_GE(dated.size(), 4u);
    EXPECT_EQ(dated.front(), "BEGIN:VCALENDAR");
    EXPECT_EQ(dated.back(), "END:VCALENDAR");
    EXPECT_TRUE(has(dated, "VERSION:2.0"));
    EXPECT_TRUE(has(dated, "CALSCALE:GREGORIAN"));
    EXPECT_TRUE(has(dated, "PRODID:-//Zelmar//Zelmar " ZELMAR_VERSION_TEXT "//JA"));
    EXPECT_TRUE(has(dated, "DTSTAMP:20240501T030405Z"));
    EXPECT_FALSE(has(dated, "BEGIN:VTIMEZONE"));  // no times: no zone
    const auto timed = unfolded(export_text({make_entry(2004, 5, 5, 0, "m", 9, 0)}));
    EXPECT_TRUE(has(timed, "BEGIN:VTIMEZONE"));
    EXPECT_TRUE(has(timed, "TZID:Asia/Tokyo"));
    EXPECT_TRUE(has(timed, "TZOFFSETTO:+0900"));
}

TEST(IcalWrite, FoldsAt75OctetsOnCharacterBoundaries) {
    // 80-byte memos: double-byte characters (3 octets in UTF-8, some with 0x5C trail bytes in
    // code page 932) and half-width ones (also 3 octets), at every offset against the fold.
    std::vector<ScheduleEntry> list;
    for (int lead = 0; lead < 4; ++lead) {
        std::string memo(lead, 'a');
        while (memo.size() + 2 <= 80) memo += (memo.size() / 2) % 2 ? "表" : "ソ";
        list.push_back(make_entry(2004, 1, 1 + lead, 0, memo.c_str()));
        std::string half(lead, ',');
        while (half.size() < 80) half += "ｱ";
        list.push_back(make_entry(2004, 2, 1 + lead, 0, half.c_str()));
    }
    const std::string text = export_text(list);
    const auto lines = physical_lines(text);
    int folded = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        EXPECT_LE(l.size(), 75u) << l;
        // Each physical line is well-formed UTF-8 by itself: no character was split.
        char clean[256];
        EXPECT_EQ(utf8_clean(l.data(), l.size(), 1000, false, clean, sizeof clean), l.size()) << l;
        EXPECT_EQ(std::string(clean), l);
        if (!l.empty() && l[0] == ' ') {
            ++folded;
            // Folded only where the next character would not have fitted.
            uint32_t cp;
            const size_t next = utf8_decode(l.data() + 1, l.size() - 1, &cp);
            EXPECT_GT(lines[i - 1].size() + next, 75u) << "folded early: " << lines[i - 1];
        }
    }
    EXPECT_GT(folded, 8);
    // Unfolded, the memos are all there (the import sorts them as the list is sorted).
    list = sorted(list);
    const Imported r = import_text(text);
    ASSERT_EQ(r.entries.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) EXPECT_STREQ(r.entries[i].memo, list[i].memo);
}

}  // namespace
