// Number fields typed with the input method on: full-width digits pass the edits' filter as
// ASCII digits and read as digits in every field reader; everything else stays as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/cp932.h"
#include "dialogs/display_month.h"
#include "dialogs/number_field.h"
#include "dialogs/schedule_fields.h"

namespace {

// Full-width digits as code page 932 bytes.
const std::string kZen12 = "\x82\x50\x82\x51";          // １２
const std::string kZen1980 = "\x82\x50\x82\x58\x82\x57\x82\x4F";  // １９８０

TEST(NumberField, FilterOfTypedCharacters) {
    const struct {
        const char* what;
        unsigned codes[4];
        bool ime[4];
        int n;
        const char* also;
        unsigned want[4];
    } cases[] = {
        {"ASCII digits and backspace", {'1', '9', 8}, {}, 3, nullptr, {'1', '9', 8}},
        {"letters and signs are swallowed", {'a', '-', ' '}, {}, 3, nullptr, {0, 0, 0}},
        {"full-width digit in two messages", {0x82, 0x51}, {}, 2, nullptr, {0, '2'}},
        {"full-width zero and nine", {0x82, 0x4F, 0x82, 0x58}, {}, 4, nullptr, {0, '0', 0, '9'}},
        {"another double-byte character is swallowed whole", {0x82, 0xA0, '5'}, {}, 3, nullptr, {0, 0, '5'}},
        {"full-width letter: lead and trail both swallowed", {0x82, 0x60}, {}, 2, nullptr, {0, 0}},
        {"a lone lead byte before a digit goes alone", {0x82, '5'}, {}, 2, nullptr, {0, '5'}},
        {"a trail byte that looks like a letter", {0x82, 'M'}, {}, 2, "?Mm", {0, 0}},
        {"IME character: full-width seven", {0x8256}, {true}, 1, nullptr, {'7'}},
        {"IME character: kanji", {0x93FA}, {true}, 1, nullptr, {0}},
        {"IME character: ASCII digit", {'4'}, {true}, 1, nullptr, {'4'}},
        {"the day field's extra characters", {'?', 'M', 'm', 'x'}, {}, 4, "?Mm", {'?', 'M', 'm', 0}},
        {"an IME character drops a half character", {0x82, 0x8250, 0x51}, {false, true, false}, 3,
         nullptr, {0, '1', 0}},
    };
    for (const auto& c : cases) {
        NumberFieldInput in;
        for (int i = 0; i < c.n; ++i)
            EXPECT_EQ(number_field_char(&in, c.codes[i], c.ime[i], c.also), c.want[i]) << c.what << " #" << i;
    }
}

TEST(NumberField, WhatFieldsReadAs) {
    const struct {
        std::string text;
        bool ok;
        unsigned value;
    } cases[] = {
        {kZen12, true, 12},
        {"1" + kZen12.substr(2), true, 12},  // mixed
        {" " + kZen1980 + " ", true, 1980},
        {"\x81\x40" + kZen12, false, 0},     // a full-width blank is no blank
        {kZen12 + "\x8C\x8E", false, 0},     // １２月
        {"", false, 0},
        {"4294967296", true, 4294967295u},   // saturates
    };
    for (const auto& c : cases) {
        unsigned v = 0;
        EXPECT_EQ(number_field_unsigned(c.text.c_str(), &v), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(v, c.value) << c.text;
        // The display-month dialog's fields read the same.
        unsigned m = 0;
        EXPECT_EQ(month_field_unsigned(c.text.c_str(), &m), c.ok) << c.text;
    }
    EXPECT_EQ(month_field_number(kZen12.c_str()), 12);
    EXPECT_EQ(month_field_number(("-" + kZen12).c_str()), -12);
    int y = 0, m = 0;
    EXPECT_TRUE(display_month_check(kZen1980.c_str(), kZen12.c_str(), &y, &m));
    EXPECT_EQ(y, 1980);
    EXPECT_EQ(m, 12);
}

TEST(NumberField, ScheduleFieldsTakeFullWidthDigits) {
    EntryFieldTexts t = {};
    std::strcpy(t.year, kZen1980.c_str());
    std::strcpy(t.month, kZen12.c_str());
    std::strcpy(t.day, "\x82\x52\x82\x50");        // ３１
    std::strcpy(t.hour, "\x82\x50\x82\x58");       // １９
    std::strcpy(t.minute, "\x82\x54");             // ５
    std::strcpy(t.minutes_before, "\x82\x51\x82\x4F");  // ２０
    std::strcpy(t.memo, kZen12.c_str());
    ScheduleEntry e = {};
    entry_from_field_texts(&t, &e);
    EXPECT_EQ(e.year, 1980);
    EXPECT_EQ(e.month, 12);
    EXPECT_EQ(e.day, 31);
    EXPECT_EQ(e.hour, 19);
    EXPECT_EQ(e.minute, 5);
    EXPECT_EQ(e.minutes_before, 20);
    EXPECT_STREQ(e.memo, kZen12.c_str()) << "the memo is text, kept as typed";
}

// The fields of an entry's end and of a day alarm read full-width digits as the date's do,
// each the same as typed in ASCII.
TEST(NumberField, EndAndDayAlarmFieldsTakeFullWidthDigits) {
    const struct {
        const char* ascii;
        const char* wide;
    } typed[] = {
        {"1", "\x82\x50"},          // end month １: the next year's January
        {"2", "\x82\x51"},          // end day ２
        {"18", "\x82\x50\x82\x57"},  // end hour １８
        {"30", "\x82\x52\x82\x4F"},  // end minute ３０
        {"8", "\x82\x57"},          // day alarm hour ８
        {"45", "\x82\x53\x82\x54"},  // day alarm minute ４５
    };
    ScheduleEntry got[2] = {};
    for (int wide = 0; wide < 2; ++wide) {
        EntryFieldTexts t = {};
        std::strcpy(t.year, "2026");
        std::strcpy(t.month, "12");
        std::strcpy(t.day, "30");
        char* const fields[] = {t.end_month, t.end_day, t.end_hour, t.end_minute, t.day_alarm_hour,
                                t.day_alarm_minute};
        for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i)
            std::strcpy(fields[i], wide ? typed[i].wide : typed[i].ascii);
        t.alarm_on = true;
        t.day_alarm_day = 1;  // the day before
        entry_from_field_texts(&t, &got[wide]);
    }
    for (const ScheduleEntry& e : got) {
        EXPECT_EQ(e.span_days, 3) << "12-30 to 1-2 of the next year";
        EXPECT_TRUE(e.has_end_time);
        EXPECT_EQ(e.end_hour, 18);
        EXPECT_EQ(e.end_minute, 30);
        EXPECT_TRUE(e.day_alarm);
        EXPECT_EQ(e.day_alarm_minute, -1440 + 8 * 60 + 45);
    }
}

TEST(NumberField, FoldKeepsOtherTextAndItsBuffer) {
    const struct {
        std::string in;
        size_t size;
        std::string want;
    } cases[] = {
        {kZen12, 16, "12"},
        {"\x82\x60" + kZen12, 16, "\x82\x60" "12"},  // Ａ stays
        {"\x83\x5C" "1", 16, "\x83\x5C" "1"},        // a trail byte 0x5C is no separator
        {kZen1980, 3, "19"},                          // cut to the buffer
        {"\x82\x60\x82\x60", 4, "\x82\x60"},          // never half a character
        {"\x82", 8, "\x82"},                          // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        char out[32];
        std::memset(out, 'x', sizeof out);
        cp932_fold_digits(out, c.size, c.in.c_str());
        EXPECT_EQ(std::string(out), c.want);
        EXPECT_LT(std::strlen(out), c.size);
    }
}

}  // namespace
