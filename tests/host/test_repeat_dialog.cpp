// The repeat dialog's rules and the rule in words: what each kind of rule says in a list row,
// how a rule shows in the dialog's fields and reads back, what each choice enables and fills
// in from the entry's date, and every message its fields can give.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/repeat_dialog.h"
#include "dialogs/repeat_words.h"
#include "resources/texts.h"

namespace {

constexpr uint8_t kMon = 1 << 1, kTue = 1 << 2, kWed = 1 << 3, kThu = 1 << 4, kFri = 1 << 5,
                  kSat = 1 << 6, kSun = 1 << 0;

RepeatRule rule(RepeatKind kind, int interval = 1) {
    RepeatRule r;
    std::memset(&r, 0, sizeof r);
    r.kind = kind;
    r.interval = static_cast<uint8_t>(interval);
    return r;
}
RepeatRule weekly_rule(uint8_t days, int interval = 1, int week_start = 1) {
    RepeatRule r = rule(RepeatKind::kWeekly, interval);
    r.weekdays = days;
    r.week_start = static_cast<uint8_t>(week_start);
    return r;
}
RepeatRule monthly_days_rule(uint32_t days, int interval = 1) {
    RepeatRule r = rule(RepeatKind::kMonthlyByDay, interval);
    r.month_days = days;
    return r;
}
// The same weekdays on each k-th given (0..3, kNthLast).
RepeatRule monthly_nth_rule(std::initializer_list<int> slots, uint8_t days, int interval = 1) {
    RepeatRule r = rule(RepeatKind::kMonthlyByWeekday, interval);
    for (int k : slots) r.nth_weekdays[k] = days;
    return r;
}
RepeatRule until_rule(RepeatRule r, int ymd) {
    r.end = RepeatEnd::kUntil;
    r.until = ymd;
    return r;
}
RepeatRule counted_rule(RepeatRule r, int n) {
    r.end = RepeatEnd::kCount;
    r.count = static_cast<uint16_t>(n);
    return r;
}

std::string words(const RepeatRule& r) {
    char out[128];
    repeat_rule_words(r, out, sizeof out);
    return out;
}

TEST(RepeatWords, EveryKind) {
    RepeatRule mixed = rule(RepeatKind::kMonthlyByWeekday);
    mixed.nth_weekdays[0] = kMon;
    mixed.nth_weekdays[2] = kTue;
    struct {
        RepeatRule r;
        const char* words;
    } cases[] = {
        {rule(RepeatKind::kNone), ""},
        {rule(RepeatKind::kDaily), "毎日"},
        {rule(RepeatKind::kDaily, 3), "3日ごと"},
        {weekly_rule(kMon | kThu), "毎週 月・木"},
        {weekly_rule(kTue, 2), "2週間ごと 火"},
        {weekly_rule(kSun | kSat), "毎週 土・日"},  // Monday first: the weekend last
        {monthly_days_rule(1u << 25), "毎月 25日"},
        {monthly_days_rule(kMonthLastDay), "毎月 末日"},
        {monthly_days_rule((1u << 1) | (1u << 15) | kMonthLastDay, 2), "2か月ごと 1日・15日・末日"},
        {monthly_nth_rule({1, 3}, kWed), "毎月 第2・第4水曜"},
        {monthly_nth_rule({kNthLast}, kFri), "毎月 最終金曜"},
        {monthly_nth_rule({0, 2}, kMon | kThu, 3), "3か月ごと 第1・第3月・木曜"},
        {mixed, "毎月 第1月曜・第3火曜"},
        {rule(RepeatKind::kYearly), "毎年"},
        {rule(RepeatKind::kYearly, 2), "2年ごと"},
        {until_rule(rule(RepeatKind::kDaily), 20270114), "毎日 (2027/1/14まで)"},
        {counted_rule(weekly_rule(kMon), 10), "毎週 月 (10回)"},
        {rule(RepeatKind::kDaily, 0), "毎日"},  // an interval of 0 reads as 1
    };
    for (const auto& c : cases) EXPECT_EQ(words(c.r), c.words);
}

TEST(RepeatWords, CutToTheBufferWithoutHalfACharacter) {
    const RepeatRule r = until_rule(monthly_nth_rule({0, 1, 2, 3, kNthLast}, 0x7F), 20271231);
    const std::string whole = words(r);
    for (size_t size : {size_t{1}, size_t{5}, size_t{12}, whole.size(), whole.size() + 1}) {
        char out[128];
        std::memset(out, 'x', sizeof out);
        const size_t n = repeat_rule_words(r, out, size);
        ASSERT_LT(n, size);
        EXPECT_EQ(std::strlen(out), n);
        EXPECT_EQ(whole.compare(0, n, out), 0) << size;  // a prefix of whole pieces
    }
    EXPECT_EQ(repeat_rule_words(r, nullptr, 0), 0u);
}

const CalendarDate kThursday = {2027, 1, 14};  // the 2nd Thursday of January 2027

RepeatFields shown(const RepeatRule& r, const CalendarDate& start = kThursday) {
    RepeatFields f;
    repeat_fields_from_rule(r, start, &f);
    return f;
}

TEST(RepeatFields, ShowEveryKind) {
    RepeatFields f = shown(rule(RepeatKind::kNone));
    EXPECT_EQ(f.choice, RepeatChoice::kNone);
    EXPECT_STREQ(f.interval, "1");
    EXPECT_EQ(f.end, RepeatEndChoice::kNever);

    f = shown(counted_rule(weekly_rule(kMon | kThu, 2), 10));
    EXPECT_EQ(f.choice, RepeatChoice::kWeekly);
    EXPECT_STREQ(f.interval, "2");
    for (int w = 0; w < 7; ++w) EXPECT_EQ(f.weekday[w], w == 1 || w == 4) << w;
    EXPECT_EQ(f.end, RepeatEndChoice::kCount);
    EXPECT_STREQ(f.count, "10");

    f = shown(until_rule(monthly_days_rule((1u << 1) | (1u << 15) | kMonthLastDay), 20280101));
    EXPECT_EQ(f.choice, RepeatChoice::kMonthly);
    EXPECT_EQ(f.monthly_by, MonthlyBy::kDate);
    EXPECT_STREQ(f.month_days, "1,15");
    EXPECT_TRUE(f.last_day);
    EXPECT_EQ(f.end, RepeatEndChoice::kDate);
    EXPECT_STREQ(f.until, "2028/1/1");

    f = shown(monthly_nth_rule({1, 3}, kWed));
    EXPECT_EQ(f.monthly_by, MonthlyBy::kWeekday);
    for (int k = 0; k < kNthSlots; ++k) EXPECT_EQ(f.nth[k], k == 1 || k == 3) << k;
    for (int w = 0; w < 7; ++w) EXPECT_EQ(f.weekday[w], w == 3) << w;

    EXPECT_EQ(shown(rule(RepeatKind::kYearly, 5)).choice, RepeatChoice::kYearly);
}

TEST(RepeatFields, WhatEachChoiceEnables) {
    struct {
        RepeatChoice choice;
        MonthlyBy by;
        RepeatEndChoice end;
        bool interval, weekdays, monthly, month_days, nth, end_radios, until, count;
    } cases[] = {
        {RepeatChoice::kNone, MonthlyBy::kDate, RepeatEndChoice::kDate, 0, 0, 0, 0, 0, 0, 0, 0},
        {RepeatChoice::kDaily, MonthlyBy::kWeekday, RepeatEndChoice::kNever, 1, 0, 0, 0, 0, 1, 0, 0},
        {RepeatChoice::kWeekly, MonthlyBy::kDate, RepeatEndChoice::kDate, 1, 1, 0, 0, 0, 1, 1, 0},
        {RepeatChoice::kMonthly, MonthlyBy::kDate, RepeatEndChoice::kCount, 1, 0, 1, 1, 0, 1, 0, 1},
        {RepeatChoice::kMonthly, MonthlyBy::kWeekday, RepeatEndChoice::kNever, 1, 1, 1, 0, 1, 1, 0, 0},
        {RepeatChoice::kYearly, MonthlyBy::kWeekday, RepeatEndChoice::kCount, 1, 0, 0, 0, 0, 1, 0, 1},
    };
    for (const auto& c : cases) {
        RepeatFields f = {};
        f.choice = c.choice;
        f.monthly_by = c.by;
        f.end = c.end;
        const RepeatEnables e = repeat_enables(f);
        const int n = static_cast<int>(c.choice);
        EXPECT_EQ(e.interval, c.interval) << n;
        EXPECT_EQ(e.weekdays, c.weekdays) << n;
        EXPECT_EQ(e.monthly, c.monthly) << n;
        EXPECT_EQ(e.month_days, c.month_days) << n;
        EXPECT_EQ(e.nth, c.nth) << n;
        EXPECT_EQ(e.end, c.end_radios) << n;
        EXPECT_EQ(e.until, c.until) << n;
        EXPECT_EQ(e.count, c.count) << n;
    }
    const char* units[] = {"", "日ごと", "週間ごと", "か月ごと", "年ごと"};
    for (int k = 0; k < 5; ++k) EXPECT_STREQ(repeat_interval_unit(static_cast<RepeatChoice>(k)), units[k]);
}

// A choice fills in from the entry's date what it needs and is empty, and leaves what the
// user chose.
TEST(RepeatFields, ChoicesFillInFromTheDate) {
    RepeatFields f = shown(rule(RepeatKind::kNone));
    repeat_fields_choose(&f, RepeatChoice::kWeekly, kThursday);
    for (int w = 0; w < 7; ++w) EXPECT_EQ(f.weekday[w], w == 4) << w;
    f.weekday[4] = false;
    f.weekday[1] = true;
    repeat_fields_choose(&f, RepeatChoice::kWeekly, kThursday);  // chosen days stay
    for (int w = 0; w < 7; ++w) EXPECT_EQ(f.weekday[w], w == 1) << w;

    f = shown(rule(RepeatKind::kNone));
    repeat_fields_choose(&f, RepeatChoice::kMonthly, kThursday);
    EXPECT_EQ(f.monthly_by, MonthlyBy::kDate);
    EXPECT_STREQ(f.month_days, "14");
    repeat_fields_choose_monthly(&f, MonthlyBy::kWeekday, kThursday);
    for (int k = 0; k < kNthSlots; ++k) EXPECT_EQ(f.nth[k], k == 1) << k;
    EXPECT_TRUE(f.weekday[4]);

    // The k-th of other dates: the 4th, and a fifth weekday, which is the last.
    struct {
        CalendarDate start;
        int slot;
    } slots[] = {{{2027, 1, 28}, 3}, {{2027, 1, 29}, kNthLast}, {{2027, 1, 1}, 0}, {{2027, 1, 7}, 0}};
    for (const auto& c : slots) {
        RepeatFields g = shown(rule(RepeatKind::kNone), c.start);
        repeat_fields_choose(&g, RepeatChoice::kMonthly, c.start);
        repeat_fields_choose_monthly(&g, MonthlyBy::kWeekday, c.start);
        for (int k = 0; k < kNthSlots; ++k) EXPECT_EQ(g.nth[k], k == c.slot) << c.start.day << " " << k;
    }
    // 末日 alone is a choice of days: no day is put beside it.
    f = shown(monthly_days_rule(kMonthLastDay));
    repeat_fields_choose_monthly(&f, MonthlyBy::kDate, kThursday);
    EXPECT_STREQ(f.month_days, "");
}

TEST(RepeatFields, ReadBackAsShown) {
    const RepeatRule rules[] = {
        rule(RepeatKind::kNone, 0),
        rule(RepeatKind::kDaily, 99),
        until_rule(rule(RepeatKind::kDaily), 20270127),
        counted_rule(weekly_rule(kMon | kThu), 9999),
        weekly_rule(kTue, 2),
        weekly_rule(kMon | kFri, 2, 0),  // weeks from Sunday, as another calendar made it
        monthly_days_rule(1u << 25),
        monthly_days_rule(kMonthLastDay, 12),
        monthly_nth_rule({1, 3}, kWed),
        counted_rule(monthly_nth_rule({kNthLast}, kFri), 1),
        rule(RepeatKind::kYearly, 3),
    };
    for (const RepeatRule& r : rules) {
        const RepeatFields f = shown(r);
        RepeatRule back;
        std::memset(&back, 0xAB, sizeof back);
        ASSERT_EQ(repeat_rule_from_fields(f, kThursday, &back), nullptr) << words(r);
        EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0) << words(r);
    }
}

TEST(RepeatFields, MessagesOfFieldsThatCannotBeRead) {
    struct Case {
        const char* what;
        void (*edit)(RepeatFields*);
        const char* message;
    } cases[] = {
        {"interval 0", [](RepeatFields* f) { std::strcpy(f->interval, "0"); }, kIntervalInvalid},
        {"interval 100", [](RepeatFields* f) { std::strcpy(f->interval, "100"); }, kIntervalInvalid},
        {"interval empty", [](RepeatFields* f) { f->interval[0] = '\0'; }, kIntervalInvalid},
        {"interval 1x", [](RepeatFields* f) { std::strcpy(f->interval, "1x"); }, kIntervalInvalid},
        {"no weekday",
         [](RepeatFields* f) {
             f->choice = RepeatChoice::kWeekly;
             std::memset(f->weekday, 0, sizeof f->weekday);
         },
         kWeekdaysMissing},
        {"day 32",
         [](RepeatFields* f) {
             f->choice = RepeatChoice::kMonthly;
             std::strcpy(f->month_days, "1,32");
         },
         kMonthDaysInvalid},
        {"no day",
         [](RepeatFields* f) {
             f->choice = RepeatChoice::kMonthly;
             f->month_days[0] = '\0';
             f->last_day = false;
         },
         kMonthDaysInvalid},
        {"no k-th",
         [](RepeatFields* f) {
             f->choice = RepeatChoice::kMonthly;
             f->monthly_by = MonthlyBy::kWeekday;
             std::memset(f->nth, 0, sizeof f->nth);
         },
         kNthMissing},
        {"k-th without weekday",
         [](RepeatFields* f) {
             f->choice = RepeatChoice::kMonthly;
             f->monthly_by = MonthlyBy::kWeekday;
             f->nth[1] = true;
             std::memset(f->weekday, 0, sizeof f->weekday);
         },
         kNthMissing},
        {"until 2/30",
         [](RepeatFields* f) {
             f->end = RepeatEndChoice::kDate;
             std::strcpy(f->until, "2027/2/30");
         },
         kUntilInvalid},
        {"until empty", [](RepeatFields* f) { f->end = RepeatEndChoice::kDate; }, kUntilInvalid},
        {"until before",
         [](RepeatFields* f) {
             f->end = RepeatEndChoice::kDate;
             std::strcpy(f->until, "2027/1/13");
         },
         kUntilBeforeStart},
        {"count 0",
         [](RepeatFields* f) {
             f->end = RepeatEndChoice::kCount;
             std::strcpy(f->count, "0");
         },
         kCountInvalid},
        {"count 10000",
         [](RepeatFields* f) {
             f->end = RepeatEndChoice::kCount;
             std::strcpy(f->count, "10000");
         },
         kCountInvalid},
    };
    for (const Case& c : cases) {
        RepeatFields f = shown(rule(RepeatKind::kDaily));
        c.edit(&f);
        RepeatRule out = rule(RepeatKind::kYearly, 7);
        EXPECT_STREQ(repeat_rule_from_fields(f, kThursday, &out), c.message) << c.what;
        EXPECT_EQ(out.kind, RepeatKind::kYearly) << c.what;  // untouched
    }
}

// The user's examples as typed: the end on the start day itself, 末日 with a day, the end
// date of this or next year.
TEST(RepeatFields, TypedEndsAndDays) {
    RepeatFields f = shown(rule(RepeatKind::kDaily));
    f.end = RepeatEndChoice::kDate;
    std::strcpy(f.until, "1/14");
    RepeatRule r;
    ASSERT_EQ(repeat_rule_from_fields(f, kThursday, &r), nullptr);
    EXPECT_EQ(r.until, 20270114);  // the start day: one occurrence
    std::strcpy(f.until, "1/13");
    ASSERT_EQ(repeat_rule_from_fields(f, kThursday, &r), nullptr);
    EXPECT_EQ(r.until, 20280113);  // a day before the start: next year's

    f = shown(rule(RepeatKind::kNone));
    repeat_fields_choose(&f, RepeatChoice::kMonthly, kThursday);
    f.last_day = true;
    ASSERT_EQ(repeat_rule_from_fields(f, kThursday, &r), nullptr);
    EXPECT_EQ(r.month_days, (1u << 14) | kMonthLastDay);
}

TEST(ParseMonthDays, Table) {
    struct {
        const char* text;
        bool ok;
        uint32_t days;
    } cases[] = {
        {"", true, 0},
        {"25", true, 1u << 25},
        {"1,15", true, (1u << 1) | (1u << 15)},
        {"1、15", true, (1u << 1) | (1u << 15)},
        {" 31 1 ", true, (1u << 31) | (1u << 1)},
        {"15,15", true, 1u << 15},
        {"0", false, 0},
        {"32", false, 0},
        {"99999999999", false, 0},
    };
    for (const auto& c : cases) {
        uint32_t days = 7;
        EXPECT_EQ(parse_month_days(c.text, &days), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(days, c.days) << c.text;
    }
}

TEST(ParseTypedDate, Table) {
    struct {
        const char* text;
        bool ok;
        int ymd;
    } cases[] = {
        {"2027/1/14", true, 20270114},
        {"2027-01-31", true, 20270131},
        {"20270114", true, 20270114},
        {"2028/2/29", true, 20280229},
        {"2027/2/29", false, 0},
        {"1/20", true, 20270120},
        {"1/1", true, 20280101},   // before the start: next year
        {"2/29", false, 0},        // 2027 has none, and no leap year is looked for
        {"1979/12/31", false, 0},
        {"2027/13/1", false, 0},
        {"2027/1", false, 0},  // month 2027: no date
        {"", false, 0},
        {"2027/1/14/5", false, 0},
    };
    for (const auto& c : cases) {
        CalendarDate d = {1, 1, 1};
        EXPECT_EQ(parse_typed_date(c.text, kThursday, &d), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(date_ymd(d), c.ymd) << c.text;
    }
}

}  // namespace
