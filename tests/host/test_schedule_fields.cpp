#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dialogs/schedule_dialog_rules.h"
#include "dialogs/schedule_fields.h"
#include "resources/resource.h"
#include "tests/host/entry_maker.h"

namespace {

EntryFieldTexts texts(const char* year, const char* month, const char* day,
                      const char* hour = "", const char* minute = "", const char* memo = "m") {
    EntryFieldTexts t;
    std::memset(&t, 0, sizeof t);
    std::snprintf(t.year, sizeof t.year, "%s", year);
    std::snprintf(t.month, sizeof t.month, "%s", month);
    std::snprintf(t.day, sizeof t.day, "%s", day);
    std::snprintf(t.hour, sizeof t.hour, "%s", hour);
    std::snprintf(t.minute, sizeof t.minute, "%s", minute);
    std::snprintf(t.memo, sizeof t.memo, "%s", memo);
    return t;
}

ScheduleEntry read(const EntryFieldTexts& t) {
    ScheduleEntry e;
    std::memset(&e, 0, sizeof e);
    entry_from_field_texts(&t, &e);
    return e;
}

TEST(EntryFieldRead, DateFields) {
    struct {
        const char *year, *month, *day;
        int y, m, d;
    } cases[] = {
        {"", "", "", -1, -1, -1},
        {"2004", "03", "5", 2004, 3, 5},
        {"20045", "1234", "1234", 2004, 123, 123},  // cut to 4, 3 and 3 bytes
        {"x", "x1", "", 0, 0, -1},                // no leading digits: 0
        {"", "1", "?", -1, 1, kDayMovable},
        {"", "1", "?12", -1, 1, kDayMovable},
        {"", "1", "m2", -1, 1, kDaySecondMonday},
        {"", "1", "M2", -1, 1, kDaySecondMonday},
        {"", "1", "M3", -1, 1, kDayThirdMonday},
        {"", "1", "m3", -1, 1, kDayThirdMonday},
        {"", "1", "M", -1, 1, 0},
        {"", "1", "M4", -1, 1, 0},
        {"", "1", "M22", -1, 1, 0},  // the whole text must be the code
        {"", "1", "0", -1, 1, 0},
        {"", "1", "40", -1, 1, 40},
    };
    for (const auto& c : cases) {
        const ScheduleEntry e = read(texts(c.year, c.month, c.day));
        EXPECT_EQ(e.year, c.y) << c.year;
        EXPECT_EQ(e.month, c.m) << c.month;
        EXPECT_EQ(e.day, c.d) << c.day;
    }
}

TEST(EntryFieldRead, TimeFields) {
    struct {
        const char *hour, *minute;
        int h, m, has_time;
    } cases[] = {
        {"", "", -1, -1, 0},   {"9", "5", 9, 5, 1},     {"0", "0", 0, 0, 1},
        {"23", "59", 23, 59, 1}, {"24", "00", -1, 0, 0}, {"12", "60", 12, -1, 0},
        {"", "30", -1, 30, 0}, {"99999999999", "1", -1, 1, 0},
    };
    for (const auto& c : cases) {
        const ScheduleEntry e = read(texts("", "1", "1", c.hour, c.minute));
        EXPECT_EQ(e.hour, c.h) << c.hour;
        EXPECT_EQ(e.minute, c.m) << c.minute;
        EXPECT_EQ(e.has_time, c.has_time) << c.hour << ":" << c.minute;
    }
}

TEST(EntryFieldRead, AlarmKindAndMinutesBefore) {
    struct {
        bool alarm_on, sound_on;
        const char* file;
        const char* before;
        int kind, minutes;
    } cases[] = {
        {false, false, "", "", 0, 0},      {false, true, "a.wav", "5", 0, 5},
        {true, false, "a.wav", "15", 1, 15}, {true, true, "", "99", 2, 99},
        {true, true, "a.wav", "100", 3, 0},  {true, true, "a.wav", "", 3, 0},
    };
    for (const auto& c : cases) {
        EntryFieldTexts t = texts("", "1", "1", "9", "0");
        t.alarm_on = c.alarm_on;
        t.sound_on = c.sound_on;
        std::snprintf(t.sound_file, sizeof t.sound_file, "%s", c.file);
        std::snprintf(t.minutes_before, sizeof t.minutes_before, "%s", c.before);
        const ScheduleEntry e = read(t);
        EXPECT_EQ(e.alarm_kind, c.kind) << c.alarm_on << c.sound_on << c.file;
        EXPECT_EQ(e.minutes_before, c.minutes) << c.before;
    }
}

TEST(EntryFieldRead, MemoKeepsEightyBytesWithoutSplittingACharacter) {
    const std::string ascii(80, 'a');
    const std::string kanji_40 = [] {
        std::string s;
        for (int i = 0; i < 40; ++i) s += "漢";
        return s;
    }();
    struct {
        std::string typed;
        std::string kept;
    } cases[] = {
        {ascii, ascii},                          // all 80 bytes, the last one too
        {ascii + "b", ascii},                    // beyond 80: cut
        {kanji_40, kanji_40},                    // 40 double-byte characters fill it
        {"a" + kanji_40, "a" + kanji_40.substr(0, 78)},  // the 40th would end at byte 81
    };
    for (const auto& c : cases) {
        EntryFieldTexts t = texts("", "1", "1");
        std::snprintf(t.memo, sizeof t.memo, "%s", c.typed.c_str());
        const ScheduleEntry e = read(t);
        EXPECT_EQ(std::string(e.memo), c.kept) << c.typed.size();
    }
}

TEST(EntryFieldRead, SoundFileKeeps259Bytes) {
    EntryFieldTexts t = texts("", "1", "1");
    std::memset(t.sound_file, 'x', sizeof t.sound_file - 1);
    t.sound_file[sizeof t.sound_file - 1] = '\0';
    ScheduleEntry e = read(t);
    EXPECT_EQ(std::strlen(e.sound_file), 259u);
    std::snprintf(t.sound_file, sizeof t.sound_file, "%s", (std::string(258, 'x') + "音").c_str());
    e = read(t);
    EXPECT_EQ(std::strlen(e.sound_file), 258u);
}

TEST(EntryFieldRead, LeavesHiddenFieldsAlone) {
    ScheduleEntry e;
    std::memset(&e, 0, sizeof e);
    e.alarm_at = 12345;
    e.last_edited = 1;
    const EntryFieldTexts t = texts("2004", "5", "5");
    entry_from_field_texts(&t, &e);
    EXPECT_EQ(e.alarm_at, 12345u);
    EXPECT_EQ(e.last_edited, 1);
}

// A rule belongs to an entry of a year: typed over one without a year, or with a day code,
// the entry drops it; a year keeps it.
TEST(EntryFieldRead, RuleOnlyWithAYear) {
    struct {
        const char *year, *day;
        bool kept;
    } cases[] = {{"2030", "3", true}, {"", "3", false}, {"", "M2", false}, {"2030", "?", false}};
    for (const auto& c : cases) {
        ScheduleEntry e;
        std::memset(&e, 0, sizeof e);
        e.repeat.kind = RepeatKind::kDaily;
        e.repeat.interval = 1;
        e.skip_count = 1;
        e.skips[0] = 20300604;
        const EntryFieldTexts t = texts(c.year, "6", c.day);
        entry_from_field_texts(&t, &e);
        EXPECT_EQ(e.repeat.kind == RepeatKind::kDaily, c.kept) << c.year << " " << c.day;
        EXPECT_EQ(e.skip_count, 1);  // the days left out stay: every year has them too
    }
}

TEST(EntryFieldShow, Texts) {
    struct {
        int year, month, day, hour, minute, before;
        const char *ty, *tm, *td, *th, *tmin, *tbefore;
        int has_time;
    } cases[] = {
        {-1, -1, -1, -1, -1, -1, "", "", "", "", "", "0", 0},
        {2004, 3, 5, 9, 5, 15, "2004", "3", "5", "9", "05", "15", 1},
        {-1, 1, kDayMovable, 0, 0, 0, "", "1", "??", "0", "00", "0", 1},
        {-1, 1, kDaySecondMonday, -1, 30, 100, "", "1", "M2", "", "30", "0", 0},
        {-1, 1, kDayThirdMonday, 12, -1, 99, "", "1", "M3", "12", "", "99", 0},
        {0, 0, 0, 0, 0, 0, "0", "0", "0", "0", "00", "0", 1},
    };
    for (const auto& c : cases) {
        ScheduleEntry e;
        std::memset(&e, 0, sizeof e);
        e.year = c.year;
        e.month = c.month;
        e.day = c.day;
        e.hour = c.hour;
        e.minute = c.minute;
        e.minutes_before = c.before;
        e.has_time = 7;
        EntryFieldTexts t;
        field_texts_from_entry(&e, &t);
        EXPECT_STREQ(t.year, c.ty);
        EXPECT_STREQ(t.month, c.tm);
        EXPECT_STREQ(t.day, c.td);
        EXPECT_STREQ(t.hour, c.th);
        EXPECT_STREQ(t.minute, c.tmin);
        EXPECT_STREQ(t.minutes_before, c.tbefore);
        EXPECT_EQ(e.has_time, c.has_time);
    }
}

TEST(EntryFieldShow, ChecksFollowFlagsAndAlarmKind) {
    struct {
        int holiday, scramble, kind;
        bool h, s, alarm, sound;
    } cases[] = {
        {0, 0, 0, false, false, false, false}, {1, 1, 1, true, true, true, false},
        {5, 2, 2, true, true, true, true},     {0, 0, 3, false, false, true, true},
    };
    for (const auto& c : cases) {
        ScheduleEntry e;
        entry_blank(&e);
        e.holiday = (uint8_t)c.holiday;
        e.scramble = (uint8_t)c.scramble;
        e.alarm_kind = (uint8_t)c.kind;
        EntryFieldTexts t;
        field_texts_from_entry(&e, &t);
        EXPECT_EQ(t.holiday, c.h);
        EXPECT_EQ(t.scramble, c.s);
        EXPECT_EQ(t.alarm_on, c.alarm);
        EXPECT_EQ(t.sound_on, c.sound);
    }
}

// Showing an entry and reading it back gives the same entry, which is what Add relies on
// when it writes the normalised values back into the fields.
TEST(EntryFieldShow, RoundTrip) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = -1;
    e.month = 9;
    e.day = kDayMovable;
    e.hour = 7;
    e.minute = 3;
    e.minutes_before = 10;
    e.alarm_kind = 3;
    e.holiday = 1;
    std::snprintf(e.memo, sizeof e.memo, "秋分の日");
    std::snprintf(e.sound_file, sizeof e.sound_file, "C:\\音\\a.wav");
    EntryFieldTexts t;
    field_texts_from_entry(&e, &t);
    ScheduleEntry back;
    entry_blank(&back);
    entry_from_field_texts(&t, &back);
    back.alarm_at = e.alarm_at;
    EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0);
}

// Every entry can have an alarm: one with a time rings its lead before, one without at a
// time of its day or a day before; the sound part only with the sound box ticked.
TEST(AlarmEnables, Table) {
    struct {
        int hour, minute, kind;
        bool group, lead, day, sound;
    } cases[] = {
        {-1, -1, 0, false, false, false, false}, {-1, -1, 1, true, false, true, false},
        {-1, -1, 3, true, false, true, true},    {9, -1, 1, true, false, true, false},
        {9, 0, 0, false, false, false, false},   {9, 0, 1, true, true, false, false},
        {9, 0, 2, true, true, false, true},      {0, 0, 3, true, true, false, true},
    };
    for (const auto& c : cases) {
        ScheduleEntry e;
        entry_blank(&e);
        e.hour = c.hour;
        e.minute = c.minute;
        e.has_time = c.hour != -1 && c.minute != -1;
        e.alarm_kind = (uint8_t)c.kind;
        const AlarmEnables a = alarm_enables_for(&e);
        EXPECT_TRUE(a.alarm);
        EXPECT_EQ(a.group, c.group) << c.hour << " " << c.kind;
        EXPECT_EQ(a.lead, c.lead) << c.hour << " " << c.kind;
        EXPECT_EQ(a.day, c.day) << c.hour << " " << c.kind;
        EXPECT_EQ(a.sound, c.sound) << c.hour << " " << c.kind;
    }
}

// The last day of an entry that lasts several days: a day after its date, in the next year
// when its month comes first; what cannot be counted is left for the checks to refuse.
TEST(EntryFieldRead, EndDay) {
    struct {
        int year, month, day;
        const char *end_month, *end_day;
        int span;
    } cases[] = {
        {2030, 8, 10, "", "", 0},
        {2030, 8, 10, "8", "14", 4},        // 夏季休暇 8/10-8/14
        {2030, 8, 10, "8", "10", 0},        // the same day
        {2030, 12, 30, "1", "3", 4},        // over the year's end
        {2032, 2, 28, "3", "1", 2},         // a leap year's 29 February lies between
        {-1, 2, 28, "3", "1", 1},           // every year: counted in a common year
        {2030, 8, 10, "8", "9", -1},        // before the date in its month
        {2030, 8, 10, "8", "", -1},         // a half
        {2030, 8, 10, "", "14", -1},
        {2030, 8, 10, "9", "31", -1},       // no such day
        {2030, 1, 10, "12", "31", 355},
        {-1, 1, kDayMovable, "1", "20", -1},  // a movable day has no fixed distance
    };
    for (const auto& c : cases) {
        char y[8], m[8], d[8];
        std::snprintf(y, sizeof y, "%d", c.year);
        std::snprintf(m, sizeof m, "%d", c.month);
        std::snprintf(d, sizeof d, "%d", c.day);
        EntryFieldTexts t = texts(c.year == -1 ? "" : y, m, c.day == kDayMovable ? "?" : d);
        std::snprintf(t.end_month, sizeof t.end_month, "%s", c.end_month);
        std::snprintf(t.end_day, sizeof t.end_day, "%s", c.end_day);
        EXPECT_EQ(read(t).span_days, c.span) << c.month << "/" << c.day << "-" << c.end_month << "/" << c.end_day;
    }
}

TEST(EntryFieldRead, EndTime) {
    struct {
        const char *hour, *minute;
        int has_end, h, m;
    } cases[] = {
        {"", "", 0, 0, 0},       {"15", "30", 1, 15, 30}, {"0", "00", 1, 0, 0},
        {"24", "0", 1, -1, -1},  {"15", "", 1, -1, -1},   {"", "30", 1, -1, -1},
    };
    for (const auto& c : cases) {
        EntryFieldTexts t = texts("2030", "6", "1", "14", "00");
        std::snprintf(t.end_hour, sizeof t.end_hour, "%s", c.hour);
        std::snprintf(t.end_minute, sizeof t.end_minute, "%s", c.minute);
        const ScheduleEntry e = read(t);
        EXPECT_EQ(e.has_end_time, c.has_end) << c.hour << ":" << c.minute;
        if (c.has_end) {
            EXPECT_EQ(e.end_hour, c.h) << c.hour;
            EXPECT_EQ(e.end_minute, c.m) << c.minute;
        }
    }
}

TEST(EntryFieldRead, LeadInItsUnit) {
    struct {
        const char* typed;
        int unit;
        int minutes;
    } cases[] = {
        {"15", 0, 15},   {"99", 0, 99},     {"100", 0, 0},        {"", 0, 0},
        {"2", 1, 120},   {"168", 1, 10080}, {"169", 1, 10081},    {"0", 1, 0},
        {"1", 2, 1440},  {"7", 2, 10080},   {"8", 2, 10081},      {"999", 2, 10081},
        {"3", 9, 3},     // an item outside the list reads as minutes
    };
    for (const auto& c : cases) {
        EntryFieldTexts t = texts("2030", "6", "1", "9", "0");
        std::snprintf(t.minutes_before, sizeof t.minutes_before, "%s", c.typed);
        t.lead_unit = c.unit;
        const ScheduleEntry e = read(t);
        EXPECT_EQ(e.minutes_before, c.minutes) << c.typed << " " << c.unit;
        EXPECT_EQ(static_cast<int>(e.lead_unit), c.unit >= 0 && c.unit < 3 ? c.unit : 0) << c.unit;
    }
}

// An entry without a time rings at a time of its day or of a day before it.
TEST(EntryFieldRead, DayAlarm) {
    struct {
        const char *hour, *minute;  // the entry's own time
        bool alarm;
        int day;
        const char *day_hour, *day_minute;
        int day_alarm, day_minute_read;  // day_minute_read: -99999 for left alone
    } cases[] = {
        {"", "", true, 0, "9", "00", 1, 540},
        {"", "", true, 1, "9", "00", 1, 540 - 1440},   // the day before at 9:00
        {"", "", true, 7, "0", "00", 1, -10080},       // a week before at 0:00
        {"", "", true, 1, "24", "00", 1, 1440},        // no such time: refused later
        {"", "", true, 0, "", "", 1, 1440},
        {"", "", false, 1, "9", "00", 0, -99999},      // no alarm: no day alarm
        {"10", "00", true, 1, "9", "00", 0, -99999},   // a time: its lead instead
    };
    for (const auto& c : cases) {
        EntryFieldTexts t = texts("2030", "6", "1", c.hour, c.minute);
        t.alarm_on = c.alarm;
        t.day_alarm_day = c.day;
        std::snprintf(t.day_alarm_hour, sizeof t.day_alarm_hour, "%s", c.day_hour);
        std::snprintf(t.day_alarm_minute, sizeof t.day_alarm_minute, "%s", c.day_minute);
        ScheduleEntry e;
        std::memset(&e, 0, sizeof e);
        e.day_alarm_minute = -9999;
        entry_from_field_texts(&t, &e);
        EXPECT_EQ(e.day_alarm, c.day_alarm) << c.day << " " << c.day_hour;
        EXPECT_EQ(e.day_alarm_minute, c.day_minute_read == -99999 ? -9999 : c.day_minute_read)
            << c.day << " " << c.day_hour;
    }
}

TEST(EntryFieldShow, LeadDayAlarmAndEnd) {
    struct {
        int minutes_before, unit;
        const char* shown;
        int shown_unit;
    } leads[] = {
        {15, 0, "15", 0},   {120, 1, "2", 1},  {90, 1, "90", 0},  {2880, 2, "2", 2},
        {1440, 1, "24", 1}, {1440, 0, "1", 2}, {300, 0, "5", 1},  {101, 0, "0", 0},
        {-1, 0, "0", 0},    {10081, 2, "0", 0}, {60, 7, "60", 0},
    };
    for (const auto& c : leads) {
        ScheduleEntry e = make_entry(2030, 6, 1, 0, "m", 9, 0, 1);
        e.minutes_before = c.minutes_before;
        e.lead_unit = static_cast<LeadUnit>(c.unit);
        EntryFieldTexts t;
        field_texts_from_entry(&e, &t);
        EXPECT_STREQ(t.minutes_before, c.shown) << c.minutes_before << " " << c.unit;
        EXPECT_EQ(t.lead_unit, c.shown_unit) << c.minutes_before << " " << c.unit;
    }
    struct {
        int day_alarm, minute;
        int day;
        const char *hour, *min;
    } days[] = {
        {1, 540, 0, "9", "00"},    {1, -900, 1, "9", "00"},  {1, -1440, 1, "0", "00"},
        {1, -10080, 7, "0", "00"}, {1, 1439, 0, "23", "59"}, {0, -900, 0, "9", "00"},
        {1, -10081, 0, "9", "00"}, {1, 1440, 0, "9", "00"},  // out of range: the default
    };
    for (const auto& c : days) {
        ScheduleEntry e = make_entry(2030, 6, 1, 0, "m", -1, -1, 1);
        e.day_alarm = static_cast<uint8_t>(c.day_alarm);
        e.day_alarm_minute = static_cast<int16_t>(c.minute);
        EntryFieldTexts t;
        field_texts_from_entry(&e, &t);
        EXPECT_EQ(t.day_alarm_day, c.day) << c.minute;
        EXPECT_STREQ(t.day_alarm_hour, c.hour) << c.minute;
        EXPECT_STREQ(t.day_alarm_minute, c.min) << c.minute;
    }
    ScheduleEntry e = make_entry(2030, 12, 30, 0, "m", 14, 0);
    e.span_days = 4;
    e.has_end_time = 1;
    e.end_hour = 15;
    e.end_minute = 5;
    EntryFieldTexts t;
    field_texts_from_entry(&e, &t);
    EXPECT_STREQ(t.end_month, "1");
    EXPECT_STREQ(t.end_day, "3");
    EXPECT_STREQ(t.end_hour, "15");
    EXPECT_STREQ(t.end_minute, "05");
}

// Every field of the new kinds shows and reads back to the same entry.
TEST(EntryFieldShow, RoundTripOfTheNewFields) {
    struct {
        int hour, span, end_h, end_m, before, unit, day_alarm_minute;
    } cases[] = {
        {14, 0, 15, 30, 0, 0, 0},      {14, 4, 10, 0, 120, 1, 0},   {9, 0, -1, -1, 2880, 2, 0},
        {-1, 4, -1, -1, 0, 0, -900},   {-1, 0, -1, -1, 0, 0, 1439}, {-1, 300, -1, -1, 0, 0, -10080},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = make_entry(2030, 8, 10, 0, "夏季休暇", c.hour, c.hour == -1 ? -1 : 0, 1);
        e.span_days = static_cast<int16_t>(c.span);
        e.has_end_time = c.end_h != -1;
        e.end_hour = static_cast<int8_t>(c.end_h == -1 ? 0 : c.end_h);
        e.end_minute = static_cast<int8_t>(c.end_m == -1 ? 0 : c.end_m);
        e.minutes_before = c.before;
        e.lead_unit = static_cast<LeadUnit>(c.unit);
        e.day_alarm = c.hour == -1;
        e.day_alarm_minute = static_cast<int16_t>(c.day_alarm_minute);
        EntryFieldTexts t;
        field_texts_from_entry(&e, &t);
        ScheduleEntry back = e;
        std::memset(&back, 0, offsetof(ScheduleEntry, last_edited));
        back.span_days = -7;
        back.has_end_time = 9;
        back.day_alarm = 9;
        entry_from_field_texts(&t, &back);
        EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0) << c.hour << " " << c.span << " " << c.before;
    }
}

TEST(ClearBlankMemo, OnlySpacesAreBlank) {
    struct {
        const char* memo;
        bool cleared;
    } cases[] = {
        {"", false},
        {" ", true},
        {"   ", true},
        {"　", true},            // full-width space
        {" 　 　", true},
        {"\t", false},           // a tab is not blank
        {" a", false},
        {"　あ", false},
        {"\x81\x41", false},     // another double-byte character with the same lead byte
        {"\x40", false},         // the trail byte alone is "@"
    };
    for (const auto& c : cases) {
        char memo[81];
        std::snprintf(memo, sizeof memo, "%s", c.memo);
        EXPECT_EQ(clear_blank_memo(memo), c.cleared) << c.memo;
        EXPECT_STREQ(memo, c.cleared ? "" : c.memo);
    }
}

TEST(ClearBlankMemo, FullLengthBlankMemo) {
    char memo[81];
    std::string s;
    for (int i = 0; i < 40; ++i) s += "　";
    std::snprintf(memo, sizeof memo, "%s", s.c_str());
    EXPECT_TRUE(clear_blank_memo(memo));
    EXPECT_STREQ(memo, "");
}

ScheduleEntry dated(int y, int m, int d, const char* memo = "m") {
    return make_entry(y, m, d, 0, memo);
}

TEST(ValidateEntry, RulesInOrder) {
    const char* const* msg = kEntryFieldMessages;
    struct {
        ScheduleEntry e;
        const char* expected;
    } cases[] = {
        {dated(1979, -1, -1, ""), msg[0]},
        {dated(2080, 2, 30), msg[0]},
        {dated(1980, -1, 1), msg[1]},
        {dated(-1, -1, -1, " "), msg[1]},
        {dated(-1, 0, -1), msg[2]},
        {dated(2004, 13, 1), msg[2]},
        {dated(2004, 1, -1), msg[3]},
        {dated(2004, 1, 0), msg[4]},
        {dated(2004, 1, 32), msg[4]},
        {dated(2004, 4, 31), msg[4]},
        {dated(2004, 2, 29), nullptr},
        {dated(2003, 2, 29), msg[4]},
        {dated(2100 - 21, 2, 29), msg[4]},  // 2079 is a common year
        {dated(2000, 2, 29), nullptr},
        {dated(-1, 2, 29), msg[4]},         // never on an every-year entry
        {dated(-1, 2, 28), nullptr},
        {dated(-1, 5, kDayMovable), nullptr},
        {dated(-1, 12, kDaySecondMonday), nullptr},
        {dated(-1, 1, kDayThirdMonday), nullptr},
        {dated(2004, 1, kDayMovable), msg[4]},
        {dated(2004, 1, kDaySecondMonday), msg[4]},
        {dated(-1, 1, 40), msg[4]},
        {dated(2079, 12, 31), nullptr},
        {dated(1980, 1, 1, ""), msg[5]},
        {dated(1980, 1, 1, " 　"), msg[5]},
    };
    for (auto& c : cases) {
        const char* got = validate_entry(&c.e, nullptr);
        EXPECT_EQ(got ? std::string(got) : "(valid)", c.expected ? c.expected : "(valid)")
            << c.e.year << "-" << c.e.month << "-" << c.e.day << " [" << c.e.memo << "]";
    }
}

TEST(ValidateEntry, BlankMemoClearedWhateverTheDateFound) {
    struct {
        ScheduleEntry e;
        bool cleared;
    } cases[] = {
        {dated(1979, 1, 1, "  "), true},
        {dated(2004, 1, 1, "　"), true},
        {dated(2004, 1, 1, " x"), false},
        {dated(2004, 1, 1, ""), false},
    };
    for (auto& c : cases) {
        bool cleared = !c.cleared;
        validate_entry(&c.e, &cleared);
        EXPECT_EQ(cleared, c.cleared);
        if (c.cleared) {
            EXPECT_STREQ(c.e.memo, "");
        }
    }
}

// What the new fields may not hold is told after the date and memo checks.
TEST(ValidateEntry, NewFieldsInOrder) {
    auto with = [](void (*edit)(ScheduleEntry*)) {
        ScheduleEntry e = make_entry(2030, 8, 10, 0, "m", 14, 0, 1);
        edit(&e);
        return e;
    };
    struct {
        ScheduleEntry e;
        const char* expected;
    } cases[] = {
        {with([](ScheduleEntry* e) { e->repeat.kind = RepeatKind::kDaily; e->repeat.interval = 1; }), nullptr},
        {with([](ScheduleEntry* e) { e->repeat.kind = RepeatKind::kDaily; e->repeat.interval = 1; e->year = -1; }),
         "繰り返しは年月日の決まった予定にだけ設定できます"},
        {with([](ScheduleEntry* e) {
             e->repeat.kind = RepeatKind::kDaily;
             e->repeat.interval = 1;
             e->repeat.end = RepeatEnd::kUntil;
             e->repeat.until = 20300809;
         }),
         "繰り返しの終わりの設定が不正です"},
        {with([](ScheduleEntry* e) { e->span_days = -1; }), "終了日時の設定が不正です"},
        {with([](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 13; }), "終了日時の設定が不正です"},
        {with([](ScheduleEntry* e) { e->has_end_time = 1; e->end_hour = 13; e->span_days = 1; }), nullptr},
        {with([](ScheduleEntry* e) { e->minutes_before = 10081; }), "告知の設定が不正です (7日前まで)"},
        {with([](ScheduleEntry* e) { e->minutes_before = 10080; }), nullptr},
        {with([](ScheduleEntry* e) { e->has_time = 0; e->day_alarm = 1; e->day_alarm_minute = 1440; }),
         "告知の設定が不正です (7日前まで)"},
        {with([](ScheduleEntry* e) { e->span_days = -1; e->memo[0] = '\0'; }), "メモが入力されていません"},
    };
    for (auto& c : cases) {
        const char* got = validate_entry(&c.e, nullptr);
        EXPECT_EQ(got ? std::string(got) : "(valid)", c.expected ? c.expected : "(valid)");
    }
}

TEST(ValidateEntry, MessagesAreTheSystemTexts) {
    const char* expected[6] = {
        "年の設定は1980年から2079年までです", "月が入力されていません", "月の設定が不正です",
        "日が入力されていません",             "日の設定が不正です",     "メモが入力されていません",
    };
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(kEntryFieldMessages[i], expected[i]);
}

TEST(EntryAlarmAt, ComputedOnlyForAnAlarmAtAConcreteMoment) {
    struct {
        int year, kind, hour;
        bool nonzero;
    } cases[] = {
        {2004, 1, 9, true}, {2004, 0, 9, false}, {-1, 1, 9, false}, {2004, 3, -1, false},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = dated(c.year, 6, 1);
        e.hour = c.hour;
        e.minute = 0;
        e.has_time = c.hour != -1;
        e.alarm_kind = (uint8_t)c.kind;
        e.minutes_before = 15;
        e.alarm_at = 77;
        entry_update_alarm_at(&e);
        EXPECT_EQ(e.alarm_at != 0, c.nonzero) << c.year << " " << c.kind << " " << c.hour;
        if (c.nonzero) {
            EXPECT_EQ(e.alarm_at, alarm_instant(2004, 6, 1, 8, 45));
        }
    }
}

TEST(ScheduleRow, Texts) {
    struct {
        int year, month, day, hour, minute, holiday, scramble, kind;
        const char *y, *d, *t, *s, *a;
        int image;
    } cases[] = {
        {2004, 5, 5, -1, -1, 0, 0, 0, "2004年", " 5月 5日", "", "", "", 0},
        {-1, 12, 31, 9, 5, 1, 1, 3, "通年", "12月31日", " 9:05", "S", "A", 1},
        {-1, 1, kDayMovable, 23, 0, 0, 0, 1, "通年", " 1月??日", "23:00", "", "A", 0},
        {-1, 10, kDaySecondMonday, -1, 0, 2, 0, 0, "通年", "10月第2月曜", "", "", "", 1},
        {-1, 9, kDayThirdMonday, 0, -1, 0, 0, 0, "通年", " 9月第3月曜", "", "", "", 0},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = dated(c.year, c.month, c.day, "memo");
        e.hour = c.hour;
        e.minute = c.minute;
        e.holiday = (uint8_t)c.holiday;
        e.scramble = (uint8_t)c.scramble;
        e.alarm_kind = (uint8_t)c.kind;
        ScheduleRowTexts r;
        schedule_row_texts(&e, &r);
        EXPECT_STREQ(r.year, c.y);
        EXPECT_STREQ(r.date, c.d);
        EXPECT_STREQ(r.time, c.t);
        EXPECT_STREQ(r.scramble, c.s);
        EXPECT_STREQ(r.alarm, c.a);
        EXPECT_STREQ(r.memo, "memo");
        EXPECT_EQ(r.image, c.image);
    }
}

// A row says how long the entry lasts and how it repeats.
TEST(ScheduleRow, SpanEndTimeAndRule) {
    ScheduleEntry e = make_entry(2030, 8, 10, 0, "夏季休暇");
    e.span_days = 4;
    ScheduleRowTexts r;
    schedule_row_texts(&e, &r);
    EXPECT_STREQ(r.date, " 8月10日〜8/14");
    EXPECT_STREQ(r.time, "");
    EXPECT_STREQ(r.repeat, "");

    e = make_entry(2030, 12, 30, 0, "m", 14, 0);
    e.span_days = 4;
    e.has_end_time = 1;
    e.end_hour = 15;
    e.end_minute = 30;
    e.repeat.kind = RepeatKind::kWeekly;
    e.repeat.interval = 2;
    e.repeat.weekdays = 1 << 2;
    schedule_row_texts(&e, &r);
    EXPECT_STREQ(r.date, "12月30日〜1/3");
    EXPECT_STREQ(r.time, "14:00〜15:30");
    EXPECT_STREQ(r.repeat, "2週間ごと 火");

    e = make_entry(-1, 1, kDayMovable, 0, "m");
    e.span_days = 2;  // a movable day: no last day to name
    schedule_row_texts(&e, &r);
    EXPECT_STREQ(r.date, " 1月??日");
}

TEST(ScheduleDialogRules, EditLatchesOnlyWithMonthDayAndMemo) {
    struct {
        int month, day;
        const char* memo;
        int held;
        bool latches, change;
    } cases[] = {
        {-1, 1, "m", -1, false, false}, {1, -1, "m", -1, false, false},
        {1, 1, "", -1, false, false},   {1, 1, "m", -1, true, false},
        {1, 0, "m", 3, true, true},     {1, 40, "m", 0, true, true},
    };
    for (const auto& c : cases) {
        const ScheduleEntry e = dated(-1, c.month, c.day, c.memo);
        EditButtons b = {false, false, true};
        EXPECT_EQ(edit_latches(c.held, &e, &b), c.latches);
        if (c.latches) {
            EXPECT_TRUE(b.add);
            EXPECT_EQ(b.change, c.change);
            EXPECT_FALSE(b.del);
        }
    }
    const EditButtons none = browse_buttons(-1), held = browse_buttons(2);
    EXPECT_TRUE(none.add && !none.change && !none.del);
    EXPECT_TRUE(held.add && held.change && !held.del);
}

TEST(ScheduleDialogRules, FieldCommands) {
    const int fields[] = {112, 119, 120, 123, 124, 126, 1010, 1011, 1013, 1015, 1017, 1020};
    for (int id : fields) EXPECT_TRUE(is_entry_field(id)) << id;
    const int others[] = {1, 2, 110, 113, 114, 125, 208, 1016, 1019, 1021, 1022};
    for (int id : others) EXPECT_FALSE(is_entry_field(id)) << id;

    struct {
        int id;
        bool text_changed, moves;
    } cases[] = {
        {IDC_SCHED_HOUR, true, true},      {IDC_SCHED_HOUR, false, false},
        {IDC_SCHED_MINUTE, true, true},    {IDC_SCHED_ALARM, false, true},
        {IDC_SCHED_SOUND_ON, false, true}, {IDC_SCHED_MEMO, true, false},
        {IDC_SCHED_BEFORE, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(field_change_moves_alarm(c.id, c.text_changed), c.moves) << c.id;
}

TEST(ScheduleDialogRules, WorkEntries) {
    ScheduleEntry e;
    std::memset(&e, 0x5A, sizeof e);
    opening_work_entry(&e, 2004, 6, 1);
    EntryFieldTexts t;
    field_texts_from_entry(&e, &t);
    EXPECT_STREQ(t.year, "2004");
    EXPECT_STREQ(t.hour, "");
    EXPECT_STREQ(t.minutes_before, "0");
    EXPECT_EQ(e.has_time, 0);
    EXPECT_STREQ(e.memo, "");
    EXPECT_EQ(e.alarm_at, 0u);

    std::memset(&e, 0x5A, sizeof e);
    cleared_work_entry(&e);
    field_texts_from_entry(&e, &t);
    EXPECT_STREQ(t.year, "");
    EXPECT_STREQ(t.day, "");
    EXPECT_STREQ(t.hour, "0");
    EXPECT_STREQ(t.minute, "00");
    EXPECT_TRUE(alarm_enables_for(&e).alarm);
}

TEST(ScheduleDialogRules, ChangeNeedsALiveEntry) {
    struct {
        int held, count;
        bool ok;
    } cases[] = {{-1, 5, false}, {0, 0, false}, {0, 1, true}, {4, 5, true}, {5, 5, false}};
    for (const auto& c : cases) EXPECT_EQ(change_has_target(c.held, c.count), c.ok);
}

// The memo kept within 80 bytes as it is typed, pasted or composed. "あ" and "表" take two
// bytes (表's second byte is 0x5C, "\\").
TEST(MemoLimit, WhatAnEditInsertedIsCutAtACharacterBoundary) {
    auto repeat = [](const char* c, int n) {
        std::string k;
        for (int i = 0; i < n; ++i) k += c;
        return k;
    };
    const std::string a78(78, 'a'), a79(79, 'a'), a80(80, 'a'), k39 = repeat("あ", 39);
    struct Case {
        const char* what;
        std::string before, after;
        bool cut;
        std::string kept;  // the text once cut
    } cases[] = {
        {"fits", a78, a78 + "あ", false, a78 + "あ"},
        {"exactly 80 bytes", a79, a80, false, a80},
        {"a letter past the limit", a80, a80 + "b", true, a80},
        {"a kana at 79 bytes", a79, a79 + "あ", true, a79},
        {"a kana typed in the middle", a79, "aaa" + std::string("表") + a78.substr(2), true, a79},
        {"kana after 39 kana", k39 + "aa", k39 + "あaa", true, k39 + "aa"},
        {"a paste cut to whole characters", "xy", "xa" + repeat("表", 40) + "y", true,
         "xa" + repeat("表", 38) + "y"},
        {"a paste over a selection", "abXYZ" + a78.substr(0, 75), "abああ" + a78.substr(0, 75),
         true, "abあ" + a78.substr(0, 75)},
        {"the selection stays deleted", a80, "a" + std::string("表表") + a78, true, a79},
        {"a paste into an empty field", "", k39 + "あああ", true, k39 + "あ"},
        {"a field already too long is cut whole", a80 + "aaaa", a80 + "aaaaa", true, a80},
    };
    for (const Case& c : cases) {
        MemoCut cut = {};
        const bool done = memo_cut(c.before.c_str(), c.after.c_str(), kMemoKeep, &cut);
        EXPECT_EQ(done, c.cut) << c.what;
        std::string kept = c.after;
        if (done) kept = c.after.substr(0, cut.start + cut.keep) + c.after.substr(cut.end);
        EXPECT_EQ(kept, c.kept) << c.what;
        EXPECT_LE(kept.size(), kMemoKeep) << c.what;
    }
}

TEST(MemoLimit, CharactersInBytes) {
    struct Case {
        const char* text;
        size_t bytes, chars;
    } cases[] = {{"", 5, 0}, {"abc", 2, 2}, {"表a", 2, 1}, {"表a", 3, 2}, {"a表", 2, 2}, {"ああ", 10, 2}};
    for (const Case& c : cases) EXPECT_EQ(cp932_chars_in(c.text, c.bytes), c.chars) << c.text << " " << c.bytes;
}

}  // namespace
