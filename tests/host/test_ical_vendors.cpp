// Files shaped like those other calendar programs write, read whole: their time zones (IANA
// and Windows names, with and without VTIMEZONE), UTC times, all-day events, alarm forms,
// line ends and byte-order marks. This machine is in Japan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ical_test_support.h"

namespace {

using namespace ical_test;

std::string join(const std::vector<std::string>& lines, const char* eol) {
    std::string s;
    for (const auto& l : lines) s += l + eol;
    return s;
}

// A web calendar's export: IANA zone with its VTIMEZONE, a weekly meeting with a reminder in
// the long duration form, a yearly all-day holiday, a UTC event with an e-mail and a popup
// reminder, and a UTF-8 byte-order mark.
const std::vector<std::string> kWebCalendar = {
    "BEGIN:VCALENDAR", "PRODID:-//Google Inc//Google Calendar 70.9054//EN", "VERSION:2.0",
    "CALSCALE:GREGORIAN", "METHOD:PUBLISH", "X-WR-CALNAME:taro@example.com",
    "X-WR-TIMEZONE:Asia/Tokyo", "BEGIN:VTIMEZONE", "TZID:Asia/Tokyo", "X-LIC-LOCATION:Asia/Tokyo",
    "BEGIN:STANDARD", "TZOFFSETFROM:+0900", "TZOFFSETTO:+0900", "TZNAME:JST",
    "DTSTART:19700101T000000", "END:STANDARD", "END:VTIMEZONE", "BEGIN:VEVENT",
    "DTSTART;TZID=Asia/Tokyo:20240415T100000", "DTEND;TZID=Asia/Tokyo:20240415T110000",
    "RRULE:FREQ=WEEKLY;WKST=SU;BYDAY=MO", "DTSTAMP:20240501T000000Z",
    "UID:7kukuqrfedlm2f9t4p3mo8qnb4@google.com", "CREATED:20240401T000000Z", "DESCRIPTION:",
    "LAST-MODIFIED:20240401T000000Z", "LOCATION:", "SEQUENCE:0", "STATUS:CONFIRMED",
    std::string("SUMMARY:") + u8"定例会議", "TRANSP:OPAQUE", "BEGIN:VALARM", "ACTION:DISPLAY",
    "DESCRIPTION:This is an event reminder", "TRIGGER:-P0DT0H10M0S", "END:VALARM", "END:VEVENT",
    "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240211", "DTEND;VALUE=DATE:20240212", "RRULE:FREQ=YEARLY",
    "DTSTAMP:20240501T000000Z", "UID:20240211_holiday@google.com", "CLASS:PUBLIC",
    std::string("SUMMARY:") + u8"建国記念の日", "TRANSP:TRANSPARENT", "END:VEVENT", "BEGIN:VEVENT",
    "DTSTART:20240301T013000Z", "DTEND:20240301T023000Z", "DTSTAMP:20240501T000000Z",
    "UID:0a1b2c@google.com", "SUMMARY:Call with New York", "BEGIN:VALARM", "ACTION:EMAIL",
    "DESCRIPTION:This is an event reminder", "SUMMARY:Alarm notification",
    "ATTENDEE:mailto:taro@example.com", "TRIGGER:-P0DT0H30M0S", "END:VALARM", "BEGIN:VALARM",
    "ACTION:DISPLAY", "DESCRIPTION:This is an event reminder", "TRIGGER:-P1D", "END:VALARM",
    "END:VEVENT", "BEGIN:VEVENT", "DTSTART;VALUE=DATE:20240108", "DTEND;VALUE=DATE:20240109",
    "RRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=2MO", "UID:seijin@google.com",
    std::string("SUMMARY:") + u8"成人の日", "END:VEVENT", "END:VCALENDAR"};

// A desktop mail program's export: Windows zone names in quotes with their VTIMEZONEs, one
// zone the host does not know (so its VTIMEZONE is used), a yearly third Monday, a language
// parameter, a tab-folded description and Microsoft properties.
const std::vector<std::string> kMailProgram = {
    "BEGIN:VCALENDAR", "PRODID:-//Microsoft Corporation//Outlook 16.0 MIMEDIR//EN", "VERSION:2.0",
    "METHOD:PUBLISH", "X-MS-OLK-FORCEINSPECTOROPEN:TRUE", "BEGIN:VTIMEZONE",
    "TZID:Tokyo Standard Time", "BEGIN:STANDARD", "DTSTART:16010101T000000", "TZOFFSETFROM:+0900",
    "TZOFFSETTO:+0900", "END:STANDARD", "END:VTIMEZONE", "BEGIN:VTIMEZONE",
    "TZID:Eastern Standard Time", "BEGIN:STANDARD", "DTSTART:16011104T020000",
    "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11", "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500",
    "END:STANDARD", "BEGIN:DAYLIGHT", "DTSTART:16010311T020000",
    "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3", "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400",
    "END:DAYLIGHT", "END:VTIMEZONE", "BEGIN:VEVENT", "CLASS:PUBLIC", "CREATED:20240501T010203Z",
    std::string("DESCRIPTION:") + u8"議題：予算\\n", "\t" + std::string(u8"担当：山田\\n"),
    "DTEND;TZID=\"Tokyo Standard Time\":20240520T100000", "DTSTAMP:20240501T010203Z",
    "DTSTART;TZID=\"Tokyo Standard Time\":20240520T093000", "LAST-MODIFIED:20240501T010203Z",
    "PRIORITY:5", "SEQUENCE:0", std::string("SUMMARY;LANGUAGE=ja:") + u8"部内打合せ", "TRANSP:OPAQUE",
    "UID:040000008200E00074C5B7101A82E00800000000D0F2A8C1E89CDA01000000000000000010000000",
    "X-MICROSOFT-CDO-BUSYSTATUS:BUSY", "X-MICROSOFT-CDO-IMPORTANCE:1", "X-MS-OLK-CONFTYPE:0",
    "BEGIN:VALARM", "TRIGGER:-PT15M", "ACTION:DISPLAY", "DESCRIPTION:Reminder", "END:VALARM",
    "END:VEVENT", "BEGIN:VEVENT", "DTSTART;TZID=\"Eastern Standard Time\":20240710T200000",
    "DTEND;TZID=\"Eastern Standard Time\":20240710T210000", "SUMMARY;LANGUAGE=en-us:NY sync",
    "UID:040000008200E00074C5B7101A82E0080000000001", "END:VEVENT", "BEGIN:VEVENT",
    "DTSTART;VALUE=DATE:20240916", "DTEND;VALUE=DATE:20240917",
    "RRULE:FREQ=YEARLY;BYDAY=3MO;BYMONTH=9", std::string("SUMMARY;LANGUAGE=ja:") + u8"敬老の日",
    "CATEGORIES:Holiday", "X-MICROSOFT-CDO-ALLDAYEVENT:TRUE",
    "UID:040000008200E00074C5B7101A82E0080000000002", "END:VEVENT", "END:VCALENDAR"};

// A desktop calendar's export: the IANA zone with its historical observances, a sound
// reminder by name, a placeholder alarm, a yearly birthday with a wave dash and an all-day
// event over several days.
const std::vector<std::string> kDesktopCalendar = {
    "BEGIN:VCALENDAR", "METHOD:PUBLISH", "VERSION:2.0", std::string("X-WR-CALNAME:") + u8"仕事",
    "PRODID:-//Apple Inc.//macOS 14.4//EN", "X-APPLE-CALENDAR-COLOR:#1BADF8",
    "X-WR-TIMEZONE:Asia/Tokyo", "CALSCALE:GREGORIAN", "BEGIN:VTIMEZONE", "TZID:Asia/Tokyo",
    "BEGIN:STANDARD", "TZOFFSETFROM:+0900",
    "RRULE:FREQ=YEARLY;UNTIL=19510908T150000Z;BYMONTH=9;BYDAY=2SA", "DTSTART:19500909T000000",
    "TZNAME:JST", "TZOFFSETTO:+0900", "END:STANDARD", "BEGIN:DAYLIGHT", "TZOFFSETFROM:+0900",
    "DTSTART:19490403T000000", "TZNAME:JDT", "TZOFFSETTO:+1000", "RDATE:19500507T000000",
    "RDATE:19510506T000000", "END:DAYLIGHT", "END:VTIMEZONE", "BEGIN:VEVENT", "TRANSP:OPAQUE",
    "DTEND;TZID=Asia/Tokyo:20240610T150000", "UID:5D4A6C3F-1B2E-4F6A-9C8D-7E6F5A4B3C2D",
    "DTSTAMP:20240601T000000Z", std::string("LOCATION:") + u8"駅前歯科", "SEQUENCE:0",
    "X-APPLE-TRAVEL-ADVISORY-BEHAVIOR:AUTOMATIC", std::string("SUMMARY:") + u8"歯医者",
    "LAST-MODIFIED:20240601T000000Z", "CREATED:20240601T000000Z",
    "DTSTART;TZID=Asia/Tokyo:20240610T140000", "BEGIN:VALARM", "X-WR-ALARMUID:A1B2C3D4",
    "UID:A1B2C3D4", "TRIGGER:-PT30M", "ATTACH;VALUE=URI:Chord", "ACTION:AUDIO",
    "X-APPLE-DEFAULT-ALARM:TRUE", "END:VALARM", "BEGIN:VALARM", "X-WR-ALARMUID:E5F6", "UID:E5F6",
    "TRIGGER;VALUE=DATE-TIME:19760401T005545Z", "ACTION:NONE", "X-APPLE-LOCAL-DEFAULT-ALARM:TRUE",
    "X-APPLE-DEFAULT-ALARM:TRUE", "END:VALARM", "END:VEVENT", "BEGIN:VEVENT",
    "DTSTART;VALUE=DATE:19850704", "DTEND;VALUE=DATE:19850705", "RRULE:FREQ=YEARLY", "UID:BDAY-1",
    std::string("SUMMARY:") + u8"田中さん\u301C誕生日", "END:VEVENT", "BEGIN:VEVENT",
    "DTSTART;VALUE=DATE:20240812", "DTEND;VALUE=DATE:20240816", "UID:TRIP-1",
    std::string("SUMMARY:") + u8"夏休み", "END:VEVENT", "END:VCALENDAR"};

// A mail program's calendar add-on: seconds in offsets, the duration parameter on the
// trigger, a daily series, a holiday category, a to-do that is not an event, LF line ends.
const std::vector<std::string> kCalendarAddOn = {
    "BEGIN:VCALENDAR", "PRODID:-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN", "VERSION:2.0",
    "BEGIN:VTIMEZONE", "TZID:Asia/Tokyo", "X-TZINFO:Asia/Tokyo[2024a]", "BEGIN:STANDARD",
    "TZOFFSETTO:+090000", "TZOFFSETFROM:+090000", "TZNAME:JST", "DTSTART:19700101T000000",
    "END:STANDARD", "END:VTIMEZONE", "BEGIN:VEVENT", "CREATED:20240101T000000Z",
    "LAST-MODIFIED:20240101T000000Z", "DTSTAMP:20240101T000000Z",
    "UID:2d4c6e8a-0b1d-4f3e-a5c7-e9f1b3d5f7a9", std::string("SUMMARY:") + u8"体育の日",
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=2MO", std::string("CATEGORIES:") + u8"祝日",
    "DTSTART;VALUE=DATE:20241014", "DTEND;VALUE=DATE:20241015", "TRANSP:TRANSPARENT",
    "X-MOZ-GENERATION:1", "END:VEVENT", "BEGIN:VEVENT", "UID:8f6e4d2c",
    std::string("SUMMARY:") + u8"朝会", "RRULE:FREQ=DAILY;COUNT=5",
    "DTSTART;TZID=Asia/Tokyo:20240401T083000", "DTEND;TZID=Asia/Tokyo:20240401T090000",
    "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER;VALUE=DURATION:-PT5M",
    "DESCRIPTION:Default Mozilla Description", "END:VALARM", "END:VEVENT", "BEGIN:VTODO",
    "UID:todo-1", "SUMMARY:not an event", "DTSTART:20240402T000000", "END:VTODO", "END:VCALENDAR"};

struct VendorCase {
    const char* name;
    std::string text;
    std::vector<std::string> expect;  // describe() of the entries, in list order
    int recurrence_cut, alarm_cut;
};

TEST(IcalVendorFiles, ReadWhole) {
    const VendorCase cases[] = {
        {"web calendar, BOM, CRLF", "\xEF\xBB\xBF" + join(kWebCalendar, "\r\n"),
         {"2024-3-1 10:30 alarm1/30 [Call with New York] end=20240301T1130",
          "2024-4-15 10:00 alarm1/10 [定例会議] rrule=FREQ=WEEKLY;BYDAY=MO;WKST=SU "
          "end=20240415T1100 modified=20240401T090000",
          "-1-1-98 [成人の日]",
          "-1-2-11 [建国記念の日]"},
         0, 1},
        {"mail program, CRLF", join(kMailProgram, "\r\n"),
         {"2024-5-20 9:30 alarm1/15 [部内打合せ] end=20240520T1000 modified=20240501T100203",
          "2024-7-11 9:00 [NY sync] end=20240711T1000",
          "-1-9-97 holiday [敬老の日]"},
         0, 0},
        {"desktop calendar, CRLF", join(kDesktopCalendar, "\r\n"),
         {"2024-6-10 14:00 alarm2/30 [歯医者] end=20240610T1500 modified=20240601T090000",
          "2024-8-12 [夏休み] end=20240815",
          "-1-7-4 [田中さん～誕生日]"},
         0, 0},
        {"calendar add-on, LF", join(kCalendarAddOn, "\n"),
         {"2024-4-1 8:30 alarm1/5 [朝会] rrule=FREQ=DAILY;COUNT=5 end=20240401T0900",
          "-1-10-98 holiday [体育の日] modified=20240101T090000"},
         0, 0},
    };
    for (const auto& c : cases) {
        const Imported r = import_text(c.text);
        ASSERT_TRUE(r.calendar) << c.name;
        EXPECT_EQ(describe_all(r.entries), c.expect) << c.name;
        EXPECT_EQ(r.counts.read, (int)c.expect.size()) << c.name;
        EXPECT_EQ(r.counts.unreadable, 0) << c.name;
        EXPECT_EQ(r.counts.recurrence_cut, c.recurrence_cut) << c.name;
        EXPECT_EQ(r.counts.alarm_cut, c.alarm_cut) << c.name;
    }
}

}  // namespace
