// The repeat dialog's rules: its fields as texts and check states, how a rule shows in
// them, which controls each choice enables, what a choice fills in from the entry's date,
// and the rule the fields read as (or the message that says why they cannot). Pure: the
// dialog copies control states in and out.
#pragma once

#include <cstddef>

#include "calendar/date.h"
#include "schedule/entry.h"

// The kind radio buttons, in their order.
enum class RepeatChoice { kNone, kDaily, kWeekly, kMonthly, kYearly };
// A monthly rule by its day of the month, or by its k-th weekdays.
enum class MonthlyBy { kDate, kWeekday };
// The end radio buttons.
enum class RepeatEndChoice { kNever, kDate, kCount };

constexpr size_t kRepeatTextSize = 32;

struct RepeatFields {
    RepeatChoice choice;
    char interval[kRepeatTextSize];
    bool weekday[7];                // Sunday first; a weekly rule's days and a monthly one's
    MonthlyBy monthly_by;
    char month_days[kRepeatTextSize];  // "25", "1,15"
    bool last_day;                  // 末日
    bool nth[kNthSlots];            // 第1..第4, 最終
    RepeatEndChoice end;
    char until[kRepeatTextSize];    // "2027/1/14"
    char count[kRepeatTextSize];
    uint8_t week_start;             // not shown: a weekly rule's first weekday, kept as it was
};

// The first weekday of the weeks of a weekly rule made here: Monday, as RFC 5545 has it.
constexpr uint8_t kDefaultWeekStart = 1;

// The fields that show r for an entry starting on start. A rule whose k-th weekdays differ
// from one k to another shows every weekday and every k it names (the dialog keeps the rule
// as it was unless the user changes something).
void repeat_fields_from_rule(const RepeatRule& r, const CalendarDate& start, RepeatFields* f);

// What each choice enables.
struct RepeatEnables {
    bool interval;    // the interval and its unit
    bool weekdays;    // the weekday boxes: weekly, or monthly by weekday
    bool monthly;     // 日付で / 曜日で
    bool month_days;  // the days and 末日: monthly by date
    bool nth;         // 第1..最終: monthly by weekday
    bool end;         // the end radio buttons
    bool until;       // the end date
    bool count;       // the count
};
RepeatEnables repeat_enables(const RepeatFields& f);

// The interval's unit for a choice: "日ごと", "週間ごと", "か月ごと", "年ごと"; empty for none.
const char* repeat_interval_unit(RepeatChoice c);

// A kind or a monthly way was chosen: what it needs and is empty is filled in from the
// entry's date (its weekday, its day of the month, its k-th weekday), so that OK at once
// gives the rule a user expects.
void repeat_fields_choose(RepeatFields* f, RepeatChoice c, const CalendarDate& start);
void repeat_fields_choose_monthly(RepeatFields* f, MonthlyBy by, const CalendarDate& start);

// The rule the fields read as for an entry starting on start, into *out; nullptr then, else
// the message of the first field that cannot be read (*out untouched).
const char* repeat_rule_from_fields(const RepeatFields& f, const CalendarDate& start, RepeatRule* out);

// The days of a month a text names: numbers 1..31 parted by anything else ("1,15", "1、15",
// "1 15"); a text without a number names none (0). False for a number outside 1..31.
bool parse_month_days(const char* s, uint32_t* days);

// A date typed as "2027/1/14" (any non-digits part the numbers; "20270114" as one number),
// or "1/14" in the year of after (the next year when that day is before after). False for
// what names no real date.
bool parse_typed_date(const char* s, const CalendarDate& after, CalendarDate* out);
