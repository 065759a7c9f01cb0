// Import rules, one event at a time: start forms and time zones, recurrences, alarms, the
// memo, the holiday flag, the forms of the text, and the counts of a whole import.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_maker.h"
#include "ical_test_support.h"

namespace {

using namespace ical_test;

// A zone the host platform does not know: US Eastern, described by the file.
const std::vector<std::string> kEasternZone = {
    "BEGIN:VTIMEZONE", "TZID:Custom Eastern",
    "BEGIN:STANDARD", "DTSTART:16011104T020000", "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11",
    "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500", "END:STANDARD",
    "BEGIN:DAYLIGHT", "DTSTART:16010311T020000", "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3",
    "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400", "END:DAYLIGHT", "END:VTIMEZONE"};

struct EventCase {
    std::string name;
    std::vector<std::string> lines;  // inside one VEVENT (SUMMARY:x added unless given)
    std::string expect;              // describe() of the entry, or empty: unreadable
    bool recurrence_cut, alarm_cut;
    bool sound_refused = false;  // the system sound instead of a sound file from elsewhere
};

// Reads one event (after the zone above) and checks what it gave.
void check_event(const EventCase& c, const IcalPlatform* p = ical_host::japan()) {
    std::vector<std::string> lines = kEasternZone;
    bool has_summary = false;
    for (const auto& l : c.lines) has_summary |= l.rfind("SUMMARY", 0) == 0;
    const auto ev = event(c.lines, has_summary ? nullptr : "x");
    lines.insert(lines.end(), ev.begin(), ev.end());
    const Imported r = import_text(calendar(lines), p);
    ASSERT_TRUE(r.calendar) << c.name;
    EXPECT_EQ(r.counts.read, 1) << c.name;
    if (c.expect.empty()) {
        EXPECT_EQ(r.counts.unreadable, 1) << c.name;
        EXPECT_TRUE(r.entries.empty()) << c.name;
        return;
    }
    ASSERT_EQ(r.entries.size(), 1u) << c.name;
    EXPECT_EQ(describe(r.entries[0]), c.expect) << c.name;
    EXPECT_EQ(r.counts.recurrence_cut, c.recurrence_cut ? 1 : 0) << c.name;
    EXPECT_EQ(r.counts.alarm_cut, c.alarm_cut ? 1 : 0) << c.name;
    EXPECT_EQ(r.counts.sound_refused, c.sound_refused ? 1 : 0) << c.name;
    EXPECT_EQ(r.counts.changed, c.recurrence_cut || c.alarm_cut || c.sound_refused ? 1 : 0)
        << c.name;
}

// Start forms and zones (this machine is in Japan, UTC+9), flags, names in any case.
TEST(IcalImportEvent, StartZoneAndFlags) {
    const EventCase cases[] = {
        {"date", {"DTSTART;VALUE=DATE:20240115"}, "2024-1-15 [x]"},
        {"date without VALUE", {"DTSTART:20240115"}, "2024-1-15 [x]"},
        {"date given a time", {"DTSTART;VALUE=DATE:20240115T000000"}, "2024-1-15 [x]"},
        {"floating", {"DTSTART:20240115T093000"}, "2024-1-15 9:30 [x]"},
        {"utc", {"DTSTART:20240115T003000Z"}, "2024-1-15 9:30 [x]"},
        {"utc next day here", {"DTSTART:20240115T160000Z"}, "2024-1-16 1:00 [x]"},
        {"iana zone", {"DTSTART;TZID=Asia/Tokyo:20240115T093000"}, "2024-1-15 9:30 [x]"},
        {"windows zone", {"DTSTART;TZID=\"Tokyo Standard Time\":20240115T093000"},
         "2024-1-15 9:30 [x]"},
        {"other zone", {"DTSTART;TZID=America/Phoenix:20240115T170000"}, "2024-1-16 9:00 [x]"},
        {"utc zone name", {"DTSTART;TZID=Etc/UTC:20240115T000000"}, "2024-1-15 9:00 [x]"},
        {"unknown zone: floating", {"DTSTART;TZID=Nowhere/Else:20240115T093000"},
         "2024-1-15 9:30 [x]"},
        {"seconds dropped", {"DTSTART:20240115T093059"}, "2024-1-15 9:30 [x]"},
        {"no start", {"DTEND:20240115T093000"}, ""},
        {"bad date", {"DTSTART:20240230"}, ""},
        {"bad time", {"DTSTART:20240115T250000"}, ""},
        {"before 1980", {"DTSTART;VALUE=DATE:19791231"}, ""},
        {"after 2079 here", {"DTSTART:20791231T160000Z"}, ""},
        {"holiday category", {"DTSTART:20240115", std::string("CATEGORIES:") + u8"祝日"},
         "2024-1-15 holiday [x]"},
        {"among categories", {"DTSTART:20240115", "CATEGORIES:Work, holidays"},
         "2024-1-15 holiday [x]"},
        {"other category", {"DTSTART:20240115", "CATEGORIES:Holiday trip"}, "2024-1-15 [x]"},
        {"own flags", {"DTSTART:20240115", "X-ZELMAR-HOLIDAY:1", "X-ZELMAR-SCRAMBLE:1"},
         "2024-1-15 holiday scrambled [x]"},
        {"lower case", {"dtstart;value=date:20240115", "x-zelmar-holiday:1"},
         "2024-1-15 holiday [x]"},
        {"unknown parts", {"BEGIN:X-THING", "DTSTART:19990101", "END:X-THING", "DTSTART:20240115",
                           "X-UNKNOWN;A=\"b:c;d\":value"}, "2024-1-15 [x]"},
        {"unknown never closed", {"DTSTART:20240115", "SUMMARY:x", "BEGIN:X-THING"},
         "2024-1-15 [x]"},
    };
    for (const auto& c : cases) check_event(c);
}

// Rules an entry holds become every-year entries; any other brings its first day, told.
TEST(IcalImportEvent, Recurrences) {
    const std::string earlier_years =
        "RDATE;VALUE=DATE:19800115,19810115,19820115,19830115,19840115,"
        "19850115,19860115,19870115,19880115,19890115,19900115,19910115,19920115,19930115,19940115,"
        "19950115,19960115,19970115,19980115,19990115";
    const EventCase cases[] = {
        {"yearly", {"DTSTART:19900704", "RRULE:FREQ=YEARLY"}, "-1-7-4 [x]"},
        {"by month and day",
         {"DTSTART:20240704T080000", "RRULE:FREQ=YEARLY;BYMONTH=7;BYMONTHDAY=4;WKST=SU"},
         "-1-7-4 8:00 [x]"},
        {"second monday", {"DTSTART:20240108", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
         "-1-1-98 [x]"},
        {"third monday", {"DTSTART:20240916", "RRULE:FREQ=YEARLY;BYDAY=3MO;BYMONTH=9"},
         "-1-9-97 [x]"},
        {"by setpos", {"DTSTART:20241014", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=MO;BYSETPOS=2"},
         "-1-10-98 [x]"},
        {"by a week of days", {"DTSTART:20240715",
                               "RRULE:FREQ=YEARLY;BYMONTH=7;BYDAY=MO;BYMONTHDAY=15,16,17,18,19,20,"
                               "21"},
         "-1-7-97 [x]"},
        {"movable day",
         {"DTSTART:20000110", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO", earlier_years},
         "-1-1-99 [x]"},
        {"from 2000 only", {"DTSTART:20000110", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
         "-1-1-98 [x]"},
        {"weekly", {"DTSTART:20240101", "RRULE:FREQ=WEEKLY;BYDAY=MO"},
         "2024-1-1 [x] rrule=FREQ=WEEKLY;BYDAY=MO"},
        {"three times", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;COUNT=3"},
         "2024-1-1 [x] rrule=FREQ=YEARLY;COUNT=3"},
        {"once", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;COUNT=1"}, "2024-1-1 [x]"},
        {"until", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;UNTIL=20300101"},
         "2024-1-1 [x] rrule=FREQ=YEARLY;UNTIL=20300101"},
        {"every other year", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;INTERVAL=2"},
         "2024-1-1 [x] rrule=FREQ=YEARLY;INTERVAL=2"},
        {"leap day", {"DTSTART:20040229", "RRULE:FREQ=YEARLY"}, "2004-2-29 [x] rrule=FREQ=YEARLY"},
        {"a year left out", {"DTSTART:20240501", "RRULE:FREQ=YEARLY", "EXDATE;VALUE=DATE:20250501"},
         "2024-5-1 [x] rrule=FREQ=YEARLY exdate=20250501"},
        {"two rules", {"DTSTART:20240501", "RRULE:FREQ=YEARLY", "RRULE:FREQ=YEARLY"},
         "2024-5-1 [x]", true},
        {"listed dates", {"DTSTART:20240501", "RDATE;VALUE=DATE:20240601"}, "2024-5-1 [x]", true},
        {"start left out", {"DTSTART:20240501", "RDATE:20240601", "EXDATE:20240501"},
         "2024-6-1 [x]"},
        {"bad listed date", {"DTSTART:20240501", "RDATE:2024"}, "2024-5-1 [x]", true},
        {"another day here", {"DTSTART:19900704T200000Z", "RRULE:FREQ=YEARLY"}, "-1-7-5 5:00 [x]"},
        {"monday into tuesday here",
         {"DTSTART:20240107T200000Z", "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO"},
         "2024-1-8 5:00 [x]", true},
        {"monday here from utc",
         {"DTSTART:20240107T200000Z", "RRULE:FREQ=WEEKLY;UNTIL=20240121T200000Z"},
         "2024-1-8 5:00 [x] rrule=FREQ=WEEKLY;BYDAY=MO;UNTIL=20240122"},
        {"until earlier in the day than the start",
         {"DTSTART;TZID=Asia/Tokyo:20240101T100000", "RRULE:FREQ=DAILY;UNTIL=20240103T000000Z"},
         "2024-1-1 10:00 [x] rrule=FREQ=DAILY;UNTIL=20240102"},
        {"monthly by setpos", {"DTSTART:20240131", "RRULE:FREQ=MONTHLY;BYDAY=WE,FR;BYSETPOS=-1"},
         "2024-1-31 [x]", true},
        {"monthly last weekday", {"DTSTART:20240126", "RRULE:FREQ=MONTHLY;BYDAY=FR;BYSETPOS=-1"},
         "2024-1-26 [x] rrule=FREQ=MONTHLY;BYDAY=-1FR"},
        {"monthly last day", {"DTSTART:20240131", "RRULE:FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=-1"},
         "2024-1-31 [x] rrule=FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=-1"},
        {"yearly by month", {"DTSTART:20240315", "RRULE:FREQ=YEARLY;BYMONTH=3;COUNT=4"},
         "2024-3-15 [x] rrule=FREQ=YEARLY;COUNT=4"},
        {"hourly", {"DTSTART:20240101T090000", "RRULE:FREQ=HOURLY;COUNT=3"}, "2024-1-1 9:00 [x]", true},
        {"by week number", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;BYWEEKNO=1"}, "2024-1-1 [x]", true},
        {"by year day", {"DTSTART:20240101", "RRULE:FREQ=YEARLY;BYYEARDAY=1,100"}, "2024-1-1 [x]", true},
        {"listed day the rule has", {"DTSTART:20240101", "RRULE:FREQ=DAILY;COUNT=3", "RDATE:20240102"},
         "2024-1-1 [x] rrule=FREQ=DAILY;COUNT=3"},
        {"listed day besides", {"DTSTART:20240101", "RRULE:FREQ=DAILY;COUNT=3", "RDATE:20240110"},
         "2024-1-1 [x] rrule=FREQ=DAILY;COUNT=3", true},
    };
    for (const auto& c : cases) check_event(c);
}

// The first alarm with a trigger 0..99 minutes before the start is the entry's; the others
// are dropped, and told.
TEST(IcalImportEvent, Alarms) {
    struct {
        std::vector<std::string> alarm;  // lines of one VALARM; "-" starts another
        const char* expect;              // what describe() shows after the time
        bool cut;
        bool refused = false;
    } cases[] = {
        {{"ACTION:DISPLAY", "TRIGGER:-PT15M"}, " alarm1/15", false},
        {{"TRIGGER:-P0DT1H30M0S", "ACTION:DISPLAY"}, " alarm1/90", false},
        {{"ACTION:DISPLAY", "TRIGGER;RELATED=START:PT0S"}, " alarm1/0", false},
        {{"ACTION:DISPLAY", "TRIGGER;VALUE=DURATION:-PT90S"}, " alarm1/2", false},
         // earlier, not later
        {{"ACTION:DISPLAY", "TRIGGER:-PT100M"}, " alarm1/100 [x] trigger=-PT100M", false},
        {{"ACTION:DISPLAY", "TRIGGER:-PT2H"}, " alarm1/120 [x] trigger=-PT2H", false},
        {{"ACTION:DISPLAY", "TRIGGER:-PT1H"}, " alarm1/60 [x] trigger=-PT1H", false},
        {{"ACTION:DISPLAY", "TRIGGER:-P1W"}, " alarm1/10080 [x] trigger=-P7D", false},
        {{"ACTION:DISPLAY", "TRIGGER:-P8D"}, "", true},
        {{"ACTION:DISPLAY", "TRIGGER:PT5M"}, "", true},
        {{"ACTION:DISPLAY", "TRIGGER:-PT5"}, "", true},
        {{"ACTION:DISPLAY", "TRIGGER:-P1H"}, "", true},
        {{"ACTION:DISPLAY"}, "", true},
        {{"ACTION:DISPLAY", "TRIGGER;VALUE=DATE-TIME:20240114T235000Z"}, "", true},
        {{"ACTION:DISPLAY", "TRIGGER;RELATED=END:-PT5M"}, "", true},
        {{"ACTION:AUDIO", "TRIGGER:-PT5M", "ATTACH:C:\\Sounds\\bell.wav"},
         " alarm3/5 C:\\Sounds\\bell.wav", false},
        {{"ACTION:AUDIO", "TRIGGER:-PT5M",
          std::string("ATTACH:file:///C:/My%20Sounds/") + u8"表.wav"},
         " alarm3/5 C:\\My Sounds\\表.wav", false},
        {{"ACTION:AUDIO", "TRIGGER:-PT5M", "ATTACH:\\\\server\\a.wav"}, " alarm2/5", false, true},
        {{"ACTION:AUDIO", "TRIGGER:-PT5M", "ATTACH;VALUE=URI:Chord"}, " alarm2/5", false},
        {{"ACTION:AUDIO", "TRIGGER:-PT5M", "ATTACH;ENCODING=BASE64;VALUE=BINARY:C:\\a"},
         " alarm2/5", false},
        {{"ACTION:DISPLAY", "TRIGGER:-PT5M", "ATTACH:C:\\a.wav"}, " alarm1/5", false},
        {{"ACTION:NONE", "TRIGGER;VALUE=DATE-TIME:19760401T005545Z"}, "", false},
        {{"ACTION:EMAIL", "TRIGGER:-PT1H", "-", "ACTION:DISPLAY", "TRIGGER:-PT10M"},
         " alarm1/60 [x] trigger=-PT1H", true},
        {{"ACTION:DISPLAY", "TRIGGER:-P1D", "-", "ACTION:DISPLAY", "TRIGGER:-PT10M"},
         " alarm1/1440 [x] trigger=-P1D", true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = {"DTSTART:20240115T090000", "BEGIN:VALARM"};
        std::string name;
        for (const auto& l : c.alarm) {
            name += l + " ";
            if (l == "-") lines.insert(lines.end(), {"END:VALARM", "BEGIN:VALARM"});
            else lines.push_back(l);
        }
        lines.push_back("END:VALARM");
        std::string expect = std::string("2024-1-15 9:00") + c.expect;
        if (expect.find('[') == std::string::npos) expect += " [x]";
        check_event({name, lines, expect, false, c.cut, c.refused});
    }
    // An event without a time rings at a moment of its day or the days before.
    for (const EventCase& c : std::vector<EventCase>{
             {"the day before at 9:00", {"TRIGGER:-PT15H"}, "daytrigger=-PT15H dayaction=1"},
             {"the day at 9:00", {"TRIGGER:PT9H"}, "daytrigger=PT9H dayaction=1"},
             {"two days before", {"TRIGGER:-P2D"}, "daytrigger=-P2D dayaction=1"},
             {"seconds: earlier", {"TRIGGER:-PT90S"}, "daytrigger=-PT2M dayaction=1"},
             {"the next day", {"TRIGGER:P1D"}, "", false, true}}) {
        EventCase d = c;
        d.lines.insert(d.lines.begin(), {"DTSTART;VALUE=DATE:20240115", "BEGIN:VALARM",
                                         "ACTION:DISPLAY"});
        d.lines.push_back("END:VALARM");
        d.expect = std::string("2024-1-15 ") + (c.expect.empty() ? "" : "alarm1/0 ") + "[x]" +
                   (c.expect.empty() ? "" : " " + c.expect);
        check_event(d);
    }
    check_event({"alarm cut short",
                 {"DTSTART:20240115T090000", "SUMMARY:x", "BEGIN:VALARM", "ACTION:DISPLAY",
                                     "TRIGGER:-PT15M"}, "2024-1-15 9:00 [x]", false, true});
}

// An alarm's sound file is taken only from a local fixed disk (here C: and D:; N: is mapped
// to a share, E: removable); any other place leaves the system sound, and is told.
TEST(IcalImportEvent, SoundFilesOnlyFromLocalDisks) {
    const struct {
        std::vector<std::string> attach;  // the ATTACH lines of one audio alarm
        const char* expect;               // what describe() shows after the time
        bool refused;
    } cases[] = {
        {{"ATTACH:file:////10.9.9.9/share/ring.wav"}, " alarm2/5", true},
        {{"ATTACH:file://10.9.9.9/share/ring.wav"}, " alarm2/5", true},
        {{"ATTACH:file:///%5C%5Chost/s/a.wav"}, " alarm2/5", true},
        {{"ATTACH://host/share/a.wav"}, " alarm2/5", true},
        {{"ATTACH:\\\\?\\UNC\\host\\s\\a.wav"}, " alarm2/5", true},
        {{"ATTACH:\\\\.\\pipe\\x"}, " alarm2/5", true},
        {{"ATTACH:\\\\?\\C:\\a.wav"}, " alarm2/5", true},
        {{"ATTACH:http://example.com/a.wav"}, " alarm2/5", true},
        {{"ATTACH;VALUE=URI:smb://host/s/a.wav"}, " alarm2/5", true},
        {{"ATTACH:N:\\a.wav"}, " alarm2/5", true},
        {{"ATTACH:E:\\a.wav"}, " alarm2/5", true},
        {{"ATTACH:C:\\snd\\aux.wav"}, " alarm2/5", true},
        {{"ATTACH:C:\\a.wav:x"}, " alarm2/5", true},
        {{"ATTACH:snd\\a.wav"}, " alarm2/5", true},
        {{"ATTACH:Chord"}, " alarm2/5", false},  // a sound by its name, not a place
        {{"ATTACH:d:/Sounds/a.wav"}, " alarm3/5 d:/Sounds/a.wav", false},
        {{"ATTACH:file:///D:/a.wav"}, " alarm3/5 D:\\a.wav", false},
        {{"ATTACH:\\\\host\\a.wav", "ATTACH:C:\\b.wav"}, " alarm3/5 C:\\b.wav", false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = {"DTSTART:20240115T090000", "BEGIN:VALARM",
                                          "ACTION:AUDIO", "TRIGGER:-PT5M"};
        lines.insert(lines.end(), c.attach.begin(), c.attach.end());
        lines.push_back("END:VALARM");
        check_event({c.attach[0], lines, std::string("2024-1-15 9:00") + c.expect + " [x]", false,
                     false, c.refused});
    }
    // An alarm that plays no sound keeps no file and changes nothing.
    check_event({"display", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:DISPLAY",
                             "TRIGGER:-PT5M", "ATTACH:\\\\host\\a.wav", "END:VALARM"},
                 "2024-1-15 9:00 alarm1/5 [x]", false, false, false});
    // Without an answer about drives, no drive is local.
    ical_host::Context none;
    none.fixed_drives = "";
    IcalPlatform p = ical_host::platform(&none);
    check_event({"no drives", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:AUDIO",
                               "TRIGGER:-PT5M", "ATTACH:C:\\a.wav", "END:VALARM"},
                 "2024-1-15 9:00 alarm2/5 [x]", false, false, true}, &p);
    p.drive_kind = nullptr;
    check_event({"no question", {"DTSTART:20240115T090000", "BEGIN:VALARM", "ACTION:AUDIO",
                                 "TRIGGER:-PT5M", "ATTACH:C:\\a.wav", "END:VALARM"},
                 "2024-1-15 9:00 alarm2/5 [x]", false, false, true}, &p);
}

TEST(IcalImportEvent, ZonesElsewhere) {
    for (const EventCase& c : std::vector<EventCase>{
             {"daylight", {"DTSTART;TZID=Custom Eastern:20240704T200000"}, "2024-7-5 9:00 [x]"},
             {"standard", {"DTSTART;TZID=Custom Eastern:20240115T190000"}, "2024-1-16 9:00 [x]"},
             {"before the change", {"DTSTART;TZID=Custom Eastern:20241103T003000"},
              "2024-11-3 13:30 [x]"},
             {"after the change", {"DTSTART;TZID=Custom Eastern:20241103T030000"},
              "2024-11-3 17:00 [x]"}})
        check_event(c);
    // This machine at UTC-5 all year.
    ical_host::Context ctx;
    ctx.local_offset = -300;
    const IcalPlatform p = ical_host::platform(&ctx);
    for (const EventCase& c : std::vector<EventCase>{
             {"zone", {"DTSTART;TZID=Asia/Tokyo:20240115T093000"}, "2024-1-14 19:30 [x]"},
             {"date", {"DTSTART;VALUE=DATE:20240115"}, "2024-1-15 [x]"},
             {"floating", {"DTSTART:20240115T093000"}, "2024-1-15 9:30 [x]"},
             {"yearly", {"DTSTART;TZID=Asia/Tokyo:19800101T090000", "RRULE:FREQ=YEARLY"},
              "-1-12-31 19:00 [x]"},
             {"yearly near a leap day",
              {"DTSTART;TZID=Asia/Tokyo:19800301T090000", "RRULE:FREQ=YEARLY"},
              "1980-2-29 19:00 [x] rrule=FREQ=YEARLY"}})
        check_event(c, &p);
}

TEST(IcalImportEvent, Memo) {
    std::string kanji100, kanji40;
    for (int i = 0; i < 100; ++i) kanji100 += u8"表";
    for (int i = 0; i < 40; ++i) kanji40 += "表";
    const std::string a79(79, 'a');
    for (const EventCase& c : std::vector<EventCase>{
             {"escapes", {"SUMMARY:a\\,b\\;c\\\\d\\nnext\\Nline"},
              "2024-1-15 [a,b;c\\d next line]"},
             {"double-byte", {std::string("SUMMARY:") + u8"会議ｱｲｳ"}, "2024-1-15 [会議ｱｲｳ]"},
             {"not in the code page", {std::string("SUMMARY:") + u8"予定\U0001F600です"},
              "2024-1-15 [予定・です]"},
             {"forms of other systems",
              {std::string("SUMMARY:") + u8"10時\u301C12時\u2212\u2016\u2014"},
              "2024-1-15 [10時～12時－∥―]"},
             {"80 bytes", {"SUMMARY:" + kanji100}, "2024-1-15 [" + kanji40 + "]"},
             {"no split character", {"SUMMARY:" + a79 + u8"表"}, "2024-1-15 [" + a79 + "]"},
             {"tab and trailing blanks", {"SUMMARY:tab\there   "}, "2024-1-15 [tab here]"},
             {"not UTF-8", {"SUMMARY:\xFF\xFEx"}, "2024-1-15 [・・x]"},
             {"empty", {"SUMMARY:"}, "2024-1-15 [(件名なし)]"},
             {"blanks", {std::string("SUMMARY:") + u8"\u3000 \u3000"}, "2024-1-15 [(件名なし)]"},
             {"the first one", {std::string("SUMMARY;LANGUAGE=ja:") + u8"一", "SUMMARY:two"},
              "2024-1-15 [一]"}}) {
        EventCase d = c;
        d.lines.insert(d.lines.begin(), "DTSTART:20240115");
        check_event(d);
    }
}

TEST(IcalImportText, FormsOfTheFile) {
    const std::string body =
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20240115\nSUMMARY:ab\nEND:VEVENT\nEND:VCALENDAR\n";
    auto with = [&](const std::string& from, const std::string& to) {
        std::string s = body;
        for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
        return s;
    };
    const std::string zone_after = with("DTSTART:20240115", "DTSTART;TZID=Z1:20240115T000000") +
        "BEGIN:VCALENDAR\nBEGIN:VTIMEZONE\nTZID:Z1\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
        "TZOFFSETFROM:+0100\nTZOFFSETTO:+0100\nEND:STANDARD\nEND:VTIMEZONE\nEND:VCALENDAR\n";
    struct {
        const char* name;
        std::string text;
        const char* expect;  // nullptr: not a calendar
    } cases[] = {
        {"LF", body, "2024-1-15 [ab]"},
        {"CRLF", with("\n", "\r\n"), "2024-1-15 [ab]"},
        {"CR", with("\n", "\r"), "2024-1-15 [ab]"},
        {"BOM", "\xEF\xBB\xBF" + with("\n", "\r\n"), "2024-1-15 [ab]"},
        {"folded with a space", with("SUMMARY:ab", "SUMMARY:a\r\n b"), "2024-1-15 [ab]"},
        {"folded with a tab", with("SUMMARY:ab", "SUMMARY:a\n\tb"), "2024-1-15 [ab]"},
        {"folded in a character", with("SUMMARY:ab", "SUMMARY:a\xE8\xA1\r\n \xA8"),
         "2024-1-15 [a表]"},
        {"folded name", with("DTSTART", "DTST\r\n ART"), "2024-1-15 [ab]"},
        {"lower case", with("BEGIN:VEVENT", "begin:vevent"), "2024-1-15 [ab]"},
        {"blank lines", with("\n", "\n\n"), "2024-1-15 [ab]"},
        {"zone after its event", zone_after, "2024-1-15 8:00 [ab]"},
        {"no summary", with("SUMMARY:ab\n", ""), "2024-1-15 [(件名なし)]"},
        {"not a calendar", "BEGIN:VCARD\nFN:x\nEND:VCARD\n", nullptr},
        {"empty", "", nullptr},
        {"event outside a calendar", "BEGIN:VEVENT\nDTSTART:20240115\nEND:VEVENT\n", nullptr},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(c.text);
        EXPECT_EQ(r.calendar, c.expect != nullptr) << c.name;
        EXPECT_EQ(describe_all(r.entries), c.expect ? std::vector<std::string>{c.expect}
                                                    : std::vector<std::string>{}) << c.name;
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
        {"other time is another entry", {make_entry(2024, 1, 3, 0, "m", 9, 0)},
         kMaxEntries, 4, 1, 0, 1},
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
        "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240103", "SUMMARY:three", "BEGIN:VALARM",
        "END:VEVENT",
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

    const std::string long_line =
        calendar(event({"DTSTART;VALUE=DATE:20240115", "X-LONG:" + std::string(1 << 20, 'x')},
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
    const Imported lots =
        import_text(calendar(many), ical_host::japan(), {make_entry(2000, 1, 1, 0, "0")});
    EXPECT_EQ(lots.counts.read, 10000);
    EXPECT_EQ(lots.counts.added, kMaxEntries - 1);
    EXPECT_EQ(lots.counts.full, 10000 - (kMaxEntries - 1));
    EXPECT_EQ(lots.entries.size(), (size_t)kMaxEntries);
}

}  // namespace
