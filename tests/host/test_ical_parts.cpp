// The pieces under the iCalendar reader: yearly rules (also of time zones), zones a file
// describes, and the clean-up of UTF-8 from outside.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "schedule/ical_rule.h"
#include "schedule/ical_zone.h"
#include "schedule/utf8_text.h"

namespace {

TEST(IcalParts, YearlyRules) {
    const IcalTime start = {2004, 2, 29, 9, 0, 0};
    struct {
        const char* rule;
        int year;
        int day;  // -1: not a rule that falls on one day a year
    } cases[] = {
        {"FREQ=YEARLY", 2008, 29}, {"FREQ=YEARLY", 2005, 0},  // no 29 February in 2005
        {"FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", 2024, 31},
         {"FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", 2024, 27},
        {"FREQ=YEARLY;BYDAY=2SU;BYMONTH=3", 2024, 10},
         {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1", 2023, 28},
        {"FREQ=YEARLY;BYMONTH=4;BYDAY=5MO", 2024, 29}, {"FREQ=YEARLY;BYMONTH=4;BYDAY=5MO", 2025, 0},
        {"freq=yearly;bymonth=1;byday=mo;bysetpos=-1", 2024, 29},
        {"FREQ=YEARLY;BYMONTH=10;BYDAY=SU;BYMONTHDAY=-7,-6,-5,-4,-3,-2,-1", 2024, 27},
        {"FREQ=YEARLY;BYMONTH=1;BYDAY=2MO;COUNT=2;UNTIL=20301231", 2004, 12},
        {"FREQ=MONTHLY", 2005, -1}, {"FREQ=YEARLY;INTERVAL=2", 2006, -1},
        {"FREQ=YEARLY;BYDAY=MO;BYMONTH=1", 2004, -1},  // every Monday of January
        {"FREQ=YEARLY;BYDAY=20MO", 2004, -1},          // the 20th Monday of the year
        {"FREQ=YEARLY;BYMONTHDAY=15", 2004, -1},       // the 15th of every month
        {"FREQ=YEARLY;BYMONTH=1,7", 2004, -1}, {"FREQ=YEARLY;BYWEEKNO=20", 2004, -1},
        {"FREQ=YEARLY;BYMONTH=13", 2004, -1}, {"FREQ=YEARLY;COUNT=0", 2004, -1},
        {"FREQ=YEARLY;BYDAY=2MO;BYSETPOS=2;BYMONTH=1", 2004, -1},
    };
    for (const auto& c : cases) {
        IcalRule r;
        ical_parse_rule(c.rule, std::strlen(c.rule), start, &r);
        EXPECT_EQ(r.yearly_one_day, c.day >= 0) << c.rule;
        if (c.day >= 0) {
            EXPECT_EQ(ical_rule_day(r, c.year), c.day) << c.rule << " " << c.year;
        }
    }
    IcalRule r;
    ical_parse_rule("FREQ=YEARLY;COUNT=3;UNTIL=20300101", 34, start, &r);
    EXPECT_EQ(r.count, 3);
    ASSERT_TRUE(r.has_until);
    EXPECT_EQ(r.until.hour, 23);  // a date UNTIL takes in its whole day
}

TEST(IcalParts, ZoneWithHistory) {
    // A zone with summer time in a few listed years and a rule with an end.
    const std::string text =
        "BEGIN:VCALENDAR\nBEGIN:VTIMEZONE\nTZID:Old Tokyo\nBEGIN:STANDARD\nTZOFFSETFROM:+1000\n"
        "RRULE:FREQ=YEARLY;UNTIL=19510908T150000Z;BYMONTH=9;BYDAY=2SA\nDTSTART:19500909T000000\n"
        "TZOFFSETTO:+0900\nEND:STANDARD\nBEGIN:DAYLIGHT\nTZOFFSETFROM:+0900\n"
        "DTSTART:19490403T000000\nTZOFFSETTO:+1000\nRDATE:19500507T000000\nRDATE:19510506T000000\n"
        "END:DAYLIGHT\nEND:VTIMEZONE\n"
        // The same with its onsets listed latest first in one line.
        "BEGIN:VTIMEZONE\nTZID:Old Tokyo listed backwards\nBEGIN:STANDARD\nTZOFFSETFROM:+1000\n"
        "RRULE:FREQ=YEARLY;UNTIL=19510908T150000Z;BYMONTH=9;BYDAY=2SA\nDTSTART:19500909T000000\n"
        "TZOFFSETTO:+0900\nEND:STANDARD\nBEGIN:DAYLIGHT\nTZOFFSETFROM:+0900\n"
        "DTSTART:19490403T000000\nTZOFFSETTO:+1000\nRDATE:19510506T000000,19500507T000000\n"
        "END:DAYLIGHT\nEND:VTIMEZONE\n"
        "BEGIN:VTIMEZONE\nTZID:Broken\nBEGIN:STANDARD\nDTSTART:19700101T000000\nEND:STANDARD\n"
        "END:VTIMEZONE\nEND:VCALENDAR\n";
    std::vector<IcalZone> zones;
    ical_collect_zones(text.data(), text.size(), &zones);
    EXPECT_EQ(ical_find_zone(zones, "Broken"), nullptr);  // no offsets: no usable observance
    struct {
        IcalTime wall;
        int offset;
    } cases[] = {
        {{1948, 1, 1, 0, 0, 0}, 540},   // before every onset: the first one's offset before it
        {{1949, 6, 1, 0, 0, 0}, 600},   {{1950, 6, 1, 0, 0, 0}, 600}, {{1950, 10, 1, 0, 0, 0}, 540},
        {{1951, 6, 1, 0, 0, 0}, 600},   {{1952, 6, 1, 0, 0, 0}, 540}, {{2024, 8, 1, 0, 0, 0}, 540},
    };
    for (const char* name : {"Old Tokyo", "Old Tokyo listed backwards"}) {
        const IcalZone* z = ical_find_zone(zones, name);
        ASSERT_NE(z, nullptr) << name;
        EXPECT_EQ(z->observances.size(), 2u) << name;
        for (const auto& c : cases) {
            int offset = 0;
            ASSERT_TRUE(ical_zone_offset(*z, c.wall, &offset));
            EXPECT_EQ(offset, c.offset) << name << " " << c.wall.year << "-" << c.wall.month;
        }
    }
    int offset;
    EXPECT_TRUE(ical_parse_offset("+053000", 7, &offset));
    EXPECT_EQ(offset, 330);
    EXPECT_FALSE(ical_parse_offset("0900", 4, &offset));
    EXPECT_FALSE(ical_parse_offset("+2500", 5, &offset));
}

TEST(IcalParts, Utf8CleanUp) {
    struct {
        std::string in;
        size_t max_chars;
        bool jis;
        std::string out;
    } cases[] = {
        {u8"表a", 10, false, u8"表a"},
        {"\xC0\x80x", 10, false, u8"\uFFFD\uFFFDx"},          // overlong
        {"\xED\xA0\x80", 10, false, u8"\uFFFD\uFFFD\uFFFD"},  // surrogate
        {"\xF5\x80\x80\x80", 10, false, u8"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"a\xE8\xA1", 10, false, u8"a\uFFFD\uFFFD"},          // cut short
        {"a\tb\x7F" "c\r\nd", 10, false, "a b c  d"},
        {u8"x\u2028y\u0085z", 10, false, "x y z"},
        {u8"〜−", 10, true, u8"～－"},
        {u8"〜−", 10, false, u8"〜−"},
        {u8"表表表", 2, false, u8"表表"},
    };
    for (const auto& c : cases) {
        char out[64];
        const size_t n = utf8_clean(c.in.data(), c.in.size(), c.max_chars, c.jis, out, sizeof out);
        EXPECT_EQ(std::string(out, n), c.out) << c.in;
    }
    char small[5];
    EXPECT_EQ(utf8_clean(u8"a表b", 5, 10, false, small, sizeof small), 4u);  // "a表", not half of "b"
    EXPECT_EQ(utf8_cut(u8"表表", 6, 4), 3u);
    EXPECT_EQ(utf8_cut("\x80\x80\x80\x80\x80\x80", 6, 4), 4u);  // ill-formed: cut where it falls
}

}  // namespace
