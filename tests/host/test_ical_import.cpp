// Import rules, one event at a time: start forms and time zones, recurrences, alarms, the
// memo, the holiday flag, the forms of the text, and the counts of a whole import.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_maker.h"
#include "ical_test_support.h"

namespace {

using namespace ical_test;

struct EventCase {
    const char* name;
    std::vector<std::string> lines;  // inside one VEVENT (SUMMARY:x added unless given)
    const char* expect;              // describe() of the entry, or nullptr: unreadable
    bool recurrence_cut, alarm_cut;
};

// A zone the host platform does not know: US Eastern, described by the file.
const std::vector<std::string> kEasternZone = {
    "BEGIN:VTIMEZONE", "TZID:Custom Eastern",
    "BEGIN:STANDARD", "DTSTART:16011104T020000", "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11",
    "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500", "END:STANDARD",
    "BEGIN:DAYLIGHT", "DTSTART:16010311T020000", "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3",
    "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400", "END:DAYLIGHT", "END:VTIMEZONE"};

const EventCase kEventCases[] = {
    // Start forms and zones (this machine is in Japan, UTC+9).
    {"date", {"DTSTART;VALUE=DATE:20240115"}, "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"date without VALUE", {"DTSTART:20240115"}, "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"date given a time", {"DTSTART;VALUE=DATE:20240115T000000"}, "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"floating", {"DTSTART:20240115T093000"}, "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"utc", {"DTSTART:20240115T003000Z"}, "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"utc next day here", {"DTSTART:20240115T160000Z"}, "2024-1-16 h0 t=1:0 a=0/0/ s=0 [x]"},
    {"iana zone", {"DTSTART;TZID=Asia/Tokyo:20240115T093000"}, "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"windows zone quoted", {"DTSTART;TZID=\"Tokyo Standard Time\":20240115T093000"},
     "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"other zone", {"DTSTART;TZID=America/Phoenix:20240115T170000"}, "2024-1-16 h0 t=9:0 a=0/0/ s=0 [x]"},
    {"utc zone name", {"DTSTART;TZID=Etc/UTC:20240115T000000"}, "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]"},
    {"unknown zone: floating", {"DTSTART;TZID=Nowhere/Else:20240115T093000"},
     "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"seconds dropped", {"DTSTART:20240115T093059"}, "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]"},
    {"no start", {"DTEND:20240115T093000"}, nullptr},
    {"bad date", {"DTSTART:20240230"}, nullptr},
    {"bad time", {"DTSTART:20240115T250000"}, nullptr},
    {"before 1980", {"DTSTART;VALUE=DATE:19791231"}, nullptr},
    {"after 2079 here", {"DTSTART:20791231T160000Z"}, nullptr},

    // Recurrences.
    {"yearly", {"DTSTART;VALUE=DATE:19900704", "RRULE:FREQ=YEARLY"}, "-1-7-4 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"yearly by month and day", {"DTSTART:20240704T080000", "RRULE:FREQ=YEARLY;BYMONTH=7;BYMONTHDAY=4;WKST=SU"},
     "-1-7-4 h0 t=8:0 a=0/0/ s=0 [x]"},
    {"second monday", {"DTSTART;VALUE=DATE:20240108", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
     "-1-1-98 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"third monday", {"DTSTART;VALUE=DATE:20240916", "RRULE:FREQ=YEARLY;BYDAY=3MO;BYMONTH=9"},
     "-1-9-97 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"second monday by setpos", {"DTSTART;VALUE=DATE:20241014", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=MO;BYSETPOS=2"},
     "-1-10-98 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"third monday by days", {"DTSTART;VALUE=DATE:20240715",
                              "RRULE:FREQ=YEARLY;BYMONTH=7;BYDAY=MO;BYMONTHDAY=15,16,17,18,19,20,21"},
     "-1-7-97 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"movable day with its earlier years",
     {"DTSTART;VALUE=DATE:20000110", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO",
      "RDATE;VALUE=DATE:19800115,19810115,19820115,19830115,19840115,19850115,19860115,"
      "19870115,19880115,19890115,19900115,19910115,19920115,19930115,19940115,19950115,"
      "19960115,19970115,19980115,19990115"},
     "-1-1-99 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"weekly: first day", {"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=WEEKLY;BYDAY=MO"},
     "2024-1-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"yearly three times", {"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=YEARLY;COUNT=3"},
     "2024-1-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"yearly once", {"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=YEARLY;COUNT=1"},
     "2024-1-1 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"yearly until", {"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=YEARLY;UNTIL=20300101"},
     "2024-1-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"every other year", {"DTSTART;VALUE=DATE:20240101", "RRULE:FREQ=YEARLY;INTERVAL=2"},
     "2024-1-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"leap day yearly", {"DTSTART;VALUE=DATE:20040229", "RRULE:FREQ=YEARLY"},
     "2004-2-29 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"yearly with a year left out", {"DTSTART;VALUE=DATE:20240501", "RRULE:FREQ=YEARLY", "EXDATE;VALUE=DATE:20250501"},
     "2024-5-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"listed dates", {"DTSTART;VALUE=DATE:20240501", "RDATE;VALUE=DATE:20240601"},
     "2024-5-1 h0 t=-1:-1 a=0/0/ s=0 [x]", true},
    {"start left out: next listed date", {"DTSTART;VALUE=DATE:20240501", "RDATE;VALUE=DATE:20240601",
                                          "EXDATE;VALUE=DATE:20240501"},
     "2024-6-1 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"yearly from 2000 only: second monday", {"DTSTART;VALUE=DATE:20000110", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
     "-1-1-98 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"yearly into another day here", {"DTSTART:19900704T200000Z", "RRULE:FREQ=YEARLY"},
     "-1-7-5 h0 t=5:0 a=0/0/ s=0 [x]"},
    {"monday into tuesday here: first only", {"DTSTART:20240107T200000Z", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
     "2024-1-8 h0 t=5:0 a=0/0/ s=0 [x]", true},

    // Alarms.
    {"display", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT15M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/15/ s=0 [x]"},
    {"long duration form", {"DTSTART:20240115T090000", "BEGIN:VALARM", "TRIGGER:-P0DT1H30M0S", "ACTION:DISPLAY", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/90/ s=0 [x]"},
    {"at the start", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER;RELATED=START:PT0S", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/0/ s=0 [x]"},
    {"seconds round to earlier", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT90S", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/2/ s=0 [x]"},
    {"too early", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT100M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]", false, true},
    {"after the start", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:PT5M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]", false, true},
    {"absolute", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY",
                  "TRIGGER;VALUE=DATE-TIME:20240114T235000Z", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]", false, true},
    {"from the end", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER;RELATED=END:-PT5M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]", false, true},
    {"sound file", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:AUDIO", "TRIGGER:-PT5M",
                    "ATTACH:C:\\Sounds\\bell.wav", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=3/5/C:\\Sounds\\bell.wav s=0 [x]"},
    {"sound file uri", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:AUDIO", "TRIGGER:-PT5M",
                        std::string("ATTACH:file:///C:/My%20Sounds/") + u8"表" + ".wav", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=3/5/C:\\My Sounds\\表.wav s=0 [x]"},
    {"named sound", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:AUDIO", "TRIGGER:-PT5M",
                     "ATTACH;VALUE=URI:Chord", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=2/5/ s=0 [x]"},
    {"placeholder alarm", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:NONE",
                           "TRIGGER;VALUE=DATE-TIME:19760401T005545Z", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]"},
    {"second alarm dropped", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:EMAIL", "TRIGGER:-PT1H",
                              "END:VALARM", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT10M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/60/ s=0 [x]", false, true},
    {"first unusable, second taken", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY",
                                      "TRIGGER:-P1D", "END:VALARM", "BEGIN:VALARM", "ACTION:DISPLAY",
                                      "TRIGGER:-PT10M", "END:VALARM"},
     "2024-1-15 h0 t=9:0 a=1/10/ s=0 [x]", false, true},
    {"alarm of a day", {"DTSTART;VALUE=DATE:20240115", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT15M", "END:VALARM"},
     "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]", false, true},
    {"alarm cut short", {"DTSTART:20240115T090000", "SUMMARY:x", "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:-PT15M"},
     "2024-1-15 h0 t=9:0 a=0/0/ s=0 [x]", false, true},

    // Holiday and scramble flags.
    {"holiday category", {"DTSTART;VALUE=DATE:20240115", std::string("CATEGORIES:") + u8"祝日"},
     "2024-1-15 h1 t=-1:-1 a=0/0/ s=0 [x]"},
    {"holiday among categories", {"DTSTART;VALUE=DATE:20240115", "CATEGORIES:Work, holidays"},
     "2024-1-15 h1 t=-1:-1 a=0/0/ s=0 [x]"},
    {"other category", {"DTSTART;VALUE=DATE:20240115", "CATEGORIES:Holiday trip"},
     "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"own flags", {"DTSTART;VALUE=DATE:20240115", "X-ZELMAR-HOLIDAY:1", "X-ZELMAR-SCRAMBLE:1"},
     "2024-1-15 h1 t=-1:-1 a=0/0/ s=1 [x]"},

    // Names and parameters in any case, unknown parts skipped.
    {"lower case", {"dtstart;value=date:20240115", "x-zelmar-holiday:1"}, "2024-1-15 h1 t=-1:-1 a=0/0/ s=0 [x]"},
    {"unknown inside", {"BEGIN:X-THING", "DTSTART:19990101", "END:X-THING", "DTSTART;VALUE=DATE:20240115",
                        "X-UNKNOWN;A=\"b:c;d\":value"},
     "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
    {"unknown never closed", {"DTSTART;VALUE=DATE:20240115", "SUMMARY:x", "BEGIN:X-THING"}, "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]"},
};

TEST(IcalImportEvent, EachRule) {
    for (const auto& c : kEventCases) {
        std::vector<std::string> lines = kEasternZone;
        bool has_summary = false;
        for (const auto& l : c.lines) has_summary |= l.rfind("SUMMARY", 0) == 0;
        const auto ev = event(c.lines, has_summary ? nullptr : "x");
        lines.insert(lines.end(), ev.begin(), ev.end());
        const Imported r = import_text(calendar(lines));
        ASSERT_TRUE(r.calendar) << c.name;
        EXPECT_EQ(r.counts.read, 1) << c.name;
        if (!c.expect) {
            EXPECT_EQ(r.counts.unreadable, 1) << c.name;
            EXPECT_TRUE(r.entries.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(r.entries.size(), 1u) << c.name;
        EXPECT_EQ(describe(r.entries[0]), c.expect) << c.name;
        EXPECT_EQ(r.counts.recurrence_cut, c.recurrence_cut ? 1 : 0) << c.name;
        EXPECT_EQ(r.counts.alarm_cut, c.alarm_cut ? 1 : 0) << c.name;
        EXPECT_EQ(r.counts.changed, c.recurrence_cut || c.alarm_cut ? 1 : 0) << c.name;
    }
}

TEST(IcalImportEvent, ZoneDescribedInTheFile) {
    struct {
        const char* start;
        const char* expect;
    } cases[] = {
        {"DTSTART;TZID=Custom Eastern:20240704T200000", "2024-7-5 h0 t=9:0 a=0/0/ s=0 [x]"},   // daylight
        {"DTSTART;TZID=Custom Eastern:20240115T190000", "2024-1-16 h0 t=9:0 a=0/0/ s=0 [x]"},  // standard
        {"DTSTART;TZID=Custom Eastern:20241103T003000", "2024-11-3 h0 t=13:30 a=0/0/ s=0 [x]"},
        {"DTSTART;TZID=Custom Eastern:20241103T030000", "2024-11-3 h0 t=17:0 a=0/0/ s=0 [x]"},
    };
    for (const auto& c : cases) {
        // The zone after the event that uses it.
        std::vector<std::string> lines = event({c.start});
        lines.insert(lines.end(), kEasternZone.begin(), kEasternZone.end());
        const Imported r = import_text(calendar(lines));
        ASSERT_EQ(r.entries.size(), 1u) << c.start;
        EXPECT_EQ(describe(r.entries[0]), c.expect) << c.start;
    }
}

TEST(IcalImportEvent, MachineInAnotherZone) {
    ical_host::Context ctx;
    ctx.local_offset = -300;  // UTC-5 all year
    const IcalPlatform p = ical_host::platform(&ctx);
    struct {
        std::vector<std::string> lines;
        const char* expect;
        bool cut;
    } cases[] = {
        {{"DTSTART;TZID=Asia/Tokyo:20240115T093000"}, "2024-1-14 h0 t=19:30 a=0/0/ s=0 [x]", false},
        {{"DTSTART;VALUE=DATE:20240115"}, "2024-1-15 h0 t=-1:-1 a=0/0/ s=0 [x]", false},
        {{"DTSTART:20240115T093000"}, "2024-1-15 h0 t=9:30 a=0/0/ s=0 [x]", false},
        {{"DTSTART;TZID=Asia/Tokyo:19800101T090000", "RRULE:FREQ=YEARLY"}, "-1-12-31 h0 t=19:0 a=0/0/ s=0 [x]", false},
        {{"DTSTART;TZID=Asia/Tokyo:19800301T090000", "RRULE:FREQ=YEARLY"}, "1980-2-29 h0 t=19:0 a=0/0/ s=0 [x]", true},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(calendar(event(c.lines)), &p);
        ASSERT_EQ(r.entries.size(), 1u) << c.expect;
        EXPECT_EQ(describe(r.entries[0]), c.expect);
        EXPECT_EQ(r.counts.recurrence_cut, c.cut ? 1 : 0) << c.expect;
    }
}

TEST(IcalImportMemo, TextRules) {
    const std::string kanji100 = [] {
        std::string s;
        for (int i = 0; i < 100; ++i) s += u8"表";
        return s;
    }();
    const std::string ascii79 = std::string(79, 'a');
    struct {
        std::string summary;
        std::string memo;
    } cases[] = {
        {"a\\,b\\;c\\\\d\\nnext\\Nline", "a,b;c\\d next line"},
        {u8"会議", "会議"},
        {u8"ｱｲｳ", "ｱｲｳ"},
        {u8"予定\U0001F600です", "予定・です"},     // no such character in the code page
        {u8"10時\u301C12時", "10時～12時"},         // the wave dash of other systems
        {u8"\u2212\u2016\u2014", "－∥―"},
        {kanji100, std::string(40 * 2, ' ').replace(0, 80, [] {
             std::string s;
             for (int i = 0; i < 40; ++i) s += "表";
             return s;
         }())},
        {ascii79 + u8"表", ascii79},                // the 80th byte would split the character
        {"tab\there", "tab here"},
        {"trailing   ", "trailing"},
        {"", "(件名なし)"},
        {u8"\u3000 \u3000", "(件名なし)"},
        {"\xFF\xFEx", "・・x"},                     // not UTF-8
    };
    for (const auto& c : cases) {
        const Imported r = import_text(calendar(event({"DTSTART;VALUE=DATE:20240115"}, c.summary.c_str())));
        ASSERT_EQ(r.entries.size(), 1u) << c.summary;
        EXPECT_EQ(std::string(r.entries[0].memo), c.memo) << c.summary;
    }
    // A summary parameter and a second SUMMARY change nothing; none at all is untitled.
    const Imported lang = import_text(calendar(
        {"BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240115", std::string("SUMMARY;LANGUAGE=ja:") + u8"一",
         "SUMMARY:two", "END:VEVENT", "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240116", "END:VEVENT"}));
    ASSERT_EQ(lang.entries.size(), 2u);
    EXPECT_STREQ(lang.entries[0].memo, "一");
    EXPECT_STREQ(lang.entries[1].memo, "(件名なし)");
}

TEST(IcalImportText, FormsOfTheFile) {
    const std::string body = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20240115\nSUMMARY:ab\nEND:VEVENT\nEND:VCALENDAR\n";
    auto with = [&](const std::string& from, const std::string& to) {
        std::string s = body;
        for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
        return s;
    };
    struct {
        const char* name;
        std::string text;
        const char* memo;  // nullptr: not a calendar
    } cases[] = {
        {"LF", body, "ab"},
        {"CRLF", with("\n", "\r\n"), "ab"},
        {"CR", with("\n", "\r"), "ab"},
        {"BOM", "\xEF\xBB\xBF" + with("\n", "\r\n"), "ab"},
        {"folded with a space", with("SUMMARY:ab", "SUMMARY:a\r\n b"), "ab"},
        {"folded with a tab", with("SUMMARY:ab", "SUMMARY:a\n\tb"), "ab"},
        {"folded inside a character", with("SUMMARY:ab", std::string("SUMMARY:a\xE8\xA1\r\n \xA8")), "a表"},
        {"folded name", with("DTSTART;VALUE=DATE", "DTST\r\n ART;VALUE=DATE"), "ab"},
        {"lower case", with("BEGIN:VEVENT", "begin:vevent"), "ab"},
        {"blank lines", with("\n", "\n\n"), "ab"},
        {"not a calendar", "BEGIN:VCARD\nFN:x\nEND:VCARD\n", nullptr},
        {"empty", "", nullptr},
        {"event outside a calendar", "BEGIN:VEVENT\nDTSTART:20240115\nEND:VEVENT\n", nullptr},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(c.text);
        EXPECT_EQ(r.calendar, c.memo != nullptr) << c.name;
        if (!c.memo) continue;
        ASSERT_EQ(r.entries.size(), 1u) << c.name;
        EXPECT_STREQ(r.entries[0].memo, c.memo) << c.name;
    }
}

TEST(IcalImportList, CountsDuplicatesAndTheLimit) {
    const std::vector<std::string> file = [] {
        std::vector<std::string> l;
        for (const char* d : {"20240101", "20240102", "20240101", "20240103", "20240104"}) {
            auto ev = event({std::string("DTSTART;VALUE=DATE:") + d}, "m");
            l.insert(l.end(), ev.begin(), ev.end());
        }
        auto bad = event({"DTSTART:2024"}, "m");
        l.insert(l.end(), bad.begin(), bad.end());
        return l;
    }();
    struct {
        const char* name;
        std::vector<ScheduleEntry> before;
        int max;
        int added, already, full, unreadable;
    } cases[] = {
        {"empty list", {}, kMaxEntries, 4, 1, 0, 1},
        {"one there already", {make_entry(2024, 1, 3, 1, "m")}, kMaxEntries, 3, 2, 0, 1},
        {"other time is another entry", {make_entry(2024, 1, 3, 0, "m", 9, 0)}, kMaxEntries, 4, 1, 0, 1},
        {"room for two", {make_entry(2030, 1, 1, 0, "z")}, 3, 2, 1, 2, 1},
        {"full", {make_entry(2030, 1, 1, 0, "z")}, 1, 0, 0, 5, 1},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(calendar(file), ical_host::japan(), c.before, c.max);
        EXPECT_EQ(r.counts.read, 6) << c.name;
        EXPECT_EQ(r.counts.added, c.added) << c.name;
        EXPECT_EQ(r.counts.already, c.already) << c.name;
        EXPECT_EQ(r.counts.full, c.full) << c.name;
        EXPECT_EQ(r.counts.unreadable, c.unreadable) << c.name;
        ASSERT_EQ((int)r.entries.size(), (int)c.before.size() + c.added) << c.name;
        for (size_t i = 1; i < r.entries.size(); ++i)
            EXPECT_LE(entry_compare(&r.entries[i - 1], &r.entries[i]), 0) << c.name;
    }
}

TEST(IcalImportList, BrokenEventsCostOnlyThemselves) {
    const std::string text = calendar({
        "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240101", "SUMMARY:one",  // END lost
        "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240102", "SUMMARY:two", "END:VEVENT",
        "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240103", "SUMMARY:three", "BEGIN:VALARM", "END:VEVENT",
        "BEGIN:VTODO", "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240104", "END:VEVENT", "END:VTODO",
        "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240105", "SUMMARY:five",  // cut by the calendar's END
    });
    const Imported r = import_text(text);
    EXPECT_EQ(r.counts.read, 4);
    EXPECT_EQ(r.counts.unreadable, 2);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_STREQ(r.entries[0].memo, "two");
    EXPECT_STREQ(r.entries[1].memo, "three");
    EXPECT_EQ(r.counts.alarm_cut, 1);
}

// Hostile files: each is read to its end, what can be added is added and the rest told.
TEST(IcalImportList, HostileFiles) {
    std::string garbage(10 << 20, '\0');
    uint32_t x = 12345;
    for (char& c : garbage) c = (char)((x = x * 1103515245u + 12345u) >> 24);
    EXPECT_FALSE(import_text(garbage).calendar);
    const std::string garbage_in_calendar = "BEGIN:VCALENDAR\r\n" + garbage.substr(0, 1 << 20);
    EXPECT_TRUE(import_text(garbage_in_calendar).calendar);

    const std::string long_line = calendar(event({"DTSTART;VALUE=DATE:20240115", "X-LONG:" + std::string(1 << 20, 'x')},
                                                 (std::string(1 << 20, 'y')).c_str()));
    const Imported one = import_text(long_line);
    ASSERT_EQ(one.entries.size(), 1u);
    EXPECT_EQ(std::string(one.entries[0].memo), std::string(80, 'y'));

    std::vector<std::string> many;
    for (int i = 0; i < 10000; ++i) {
        char d[40];
        std::snprintf(d, sizeof d, "DTSTART;VALUE=DATE:%04d0101", 1980 + i % 100);
        auto ev = event({d}, std::to_string(i).c_str());
        many.insert(many.end(), ev.begin(), ev.end());
    }
    const Imported lots = import_text(calendar(many), ical_host::japan(), {make_entry(2000, 1, 1, 0, "0")});
    EXPECT_EQ(lots.counts.read, 10000);
    EXPECT_EQ(lots.counts.added, kMaxEntries - 1);
    EXPECT_EQ(lots.counts.full, 10000 - (kMaxEntries - 1));
    EXPECT_EQ(lots.entries.size(), (size_t)kMaxEntries);
}

}  // namespace
