#include "dialogs/schedule_fields.h"

#include <cstdio>
#include <cstring>

#include <iterator>

#include "calendar/date.h"
#include "config/cp932.h"
#include "dialogs/number_field.h"
#include "dialogs/repeat_words.h"
#include "resources/texts.h"

namespace {

// Leading decimal digits of at most max bytes of s, 0 when there are none. Large values stay
// large without overflowing: every range check below rejects them alike.
int field_leading_number(const char* s, size_t max) {
    int v = 0;
    for (size_t i = 0; i < max && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v < 100000000) v = v * 10 + (s[i] - '0');
    }
    return v;
}

// -1 for an empty text, else its leading number.
int field_number(const char* s, size_t max) {
    if (max == 0 || s[0] == '\0') return -1;
    return field_leading_number(s, max);
}

int read_in_range(const char* s, int lo, int hi, int outside) {
    const int v = field_number(s, kNumberFieldSize);
    return v < lo || v > hi ? outside : v;
}

// The day field: 3 bytes, a day code as typed or else a number.
int read_day(const char* s) {
    const int code = parse_day_code(s, 3, DayCodeSpelling::kTyped);
    return code != 0 ? code : field_number(s, 3);
}

void show_number(char* out, int v) {
    if (v == -1) out[0] = '\0';
    else std::snprintf(out, kNumberFieldSize, "%d", v);
}

void show_minute(char* out, int v) {
    if (v < 0) out[0] = '\0';
    else std::snprintf(out, kNumberFieldSize, "%02d", v);
}

int clamp_item(int item, int count) { return item < 0 || item >= count ? 0 : item; }

// An every-year entry's span is counted in a common year.
constexpr int kEveryYearSpanYear = 2001;

int span_year(const ScheduleEntry* e) { return e->year == -1 ? kEveryYearSpanYear : e->year; }

// The days from the entry's date to the last day typed; -1 when they cannot be counted (a
// missing half, no real day, a last day before the date in its month, more than a year).
int read_span(const EntryFieldTexts* t, const ScheduleEntry* e) {
    const int m = field_number(t->end_month, 3), d = field_number(t->end_day, 3);
    if (m == -1 && d == -1) return 0;
    const int y0 = span_year(e);
    if (m == -1 || d == -1 || !is_real_date(y0, e->month, e->day)) return -1;
    const int y1 = m < e->month ? y0 + 1 : y0;  // reaches into the next year
    if (!is_real_date(y1, m, d)) return -1;
    const long long span = civil_day_number(y1, m, d) - civil_day_number(y0, e->month, e->day);
    return span < 0 || span > kMaxSpanDays ? -1 : static_cast<int>(span);
}

void read_end_time(const EntryFieldTexts* t, ScheduleEntry* e) {
    const int h = field_number(t->end_hour, kNumberFieldSize);
    const int m = field_number(t->end_minute, kNumberFieldSize);
    e->has_end_time = h != -1 || m != -1;
    if (!e->has_end_time) return;
    const bool valid = h >= 0 && h <= 23 && m >= 0 && m <= 59;
    e->end_hour = static_cast<int8_t>(valid ? h : -1);
    e->end_minute = static_cast<int8_t>(valid ? m : -1);
}

constexpr int kLeadFactor[kLeadUnitItems] = {1, 60, 24 * 60};

// Minutes 0..99 as typed (anything else 0, as the stored alarm key has it); hours and days
// as that many minutes, one past the longest lead when they reach beyond it.
int read_lead(const char* text, int unit) {
    const int v = field_number(text, kNumberFieldSize);
    if (unit == 0) return v < 0 || v > 99 ? 0 : v;
    if (v <= 0) return 0;
    const int most = kMaxLeadMinutes / kLeadFactor[unit];
    return v > most ? kMaxLeadMinutes + 1 : v * kLeadFactor[unit];
}

// The minutes from 00:00 of the day of a day alarm; one past its range when it cannot be read.
int read_day_alarm(const EntryFieldTexts* t) {
    const int h = read_in_range(t->day_alarm_hour, 0, 23, -1);
    const int m = read_in_range(t->day_alarm_minute, 0, 59, -1);
    if (h == -1 || m == -1) return 1440;
    return -1440 * clamp_item(t->day_alarm_day, kDayAlarmItems) + h * 60 + m;
}

// The lead in the unit it was entered in when that shows it whole, else in the largest unit
// that does; minutes outside 0..99 that no unit shows whole show as 0.
void show_lead(const ScheduleEntry* e, EntryFieldTexts* t) {
    const int v = e->minutes_before;
    int unit = clamp_item(static_cast<int>(e->lead_unit), kLeadUnitItems);
    if (v <= 0 || v % kLeadFactor[unit] != 0 || v > kMaxLeadMinutes) unit = 0;
    if (unit == 0 && (v < 0 || v > 99)) {
        if (v > 0 && v <= kMaxLeadMinutes && v % kLeadFactor[2] == 0) unit = 2;
        else if (v > 0 && v <= kMaxLeadMinutes && v % kLeadFactor[1] == 0) unit = 1;
    }
    t->lead_unit = unit;
    const int shown = unit == 0 && (v < 0 || v > 99) ? 0 : v / kLeadFactor[unit];
    std::snprintf(t->minutes_before, sizeof t->minutes_before, "%d", shown);
}

void show_day_alarm(const ScheduleEntry* e, EntryFieldTexts* t) {
    int minute = e->day_alarm_minute;
    int days = minute >= 0 ? 0 : (-minute + 1439) / 1440;
    int time = minute + 1440 * days;
    if (!e->day_alarm || days >= kDayAlarmItems || time < 0 || time > 1439) {
        days = 0;
        time = kDefaultDayAlarmMinute;
    }
    t->day_alarm_day = days;
    show_number(t->day_alarm_hour, time / 60);
    show_minute(t->day_alarm_minute, time % 60);
}

// The last day of an entry that lasts several days, when its date is a day of its month.
bool span_last_day(const ScheduleEntry* e, int* month, int* day) {
    const int y0 = span_year(e);
    if (e->span_days <= 0 || !is_real_date(y0, e->month, e->day)) return false;
    const CalendarDate last = civil_date_of(civil_day_number(y0, e->month, e->day) + e->span_days);
    *month = last.month;
    *day = last.day;
    return true;
}

}  // namespace

void entry_from_field_texts(const EntryFieldTexts* typed, ScheduleEntry* e) {
    // The number fields as their readers take them: full-width digits typed with the input
    // method on are digits.
    EntryFieldTexts folded = *typed;
    char* const numbers[] = {folded.year,       folded.month,          folded.day,
                             folded.hour,       folded.minute,         folded.end_month,
                             folded.end_day,    folded.end_hour,       folded.end_minute,
                             folded.minutes_before, folded.day_alarm_hour, folded.day_alarm_minute};
    for (char* field : numbers) {
        char as_typed[kNumberFieldSize];
        std::memcpy(as_typed, field, sizeof as_typed);
        as_typed[sizeof as_typed - 1] = '\0';
        number_field_text(field, kNumberFieldSize, as_typed);
    }
    const EntryFieldTexts* t = &folded;
    e->year = field_number(t->year, 4);
    e->month = field_number(t->month, 3);
    e->day = read_day(t->day);
    e->hour = read_in_range(t->hour, 0, 23, -1);
    e->minute = read_in_range(t->minute, 0, 59, -1);
    e->has_time = e->hour != -1 && e->minute != -1;
    cp932_copy_n(e->memo, sizeof e->memo, t->memo, kMemoKeep);
    e->holiday = t->holiday;
    e->scramble = t->scramble;
    e->alarm_kind = t->alarm_on;
    const int unit = clamp_item(t->lead_unit, kLeadUnitItems);
    e->lead_unit = static_cast<LeadUnit>(unit);
    e->minutes_before = read_lead(t->minutes_before, unit);
    cp932_copy_n(e->sound_file, kSoundKeep + 1, t->sound_file, kSoundKeep);
    if (e->alarm_kind == 1 && t->sound_on) e->alarm_kind = e->sound_file[0] ? 3 : 2;
    e->span_days = static_cast<int16_t>(read_span(t, e));
    read_end_time(t, e);
    e->day_alarm = !e->has_time && e->alarm_kind != 0;
    if (e->day_alarm) e->day_alarm_minute = static_cast<int16_t>(read_day_alarm(t));
    // An every-year entry repeats by its date alone: a rule it was typed over does not apply.
    if (e->year == -1 || is_day_code(e->day)) std::memset(&e->repeat, 0, sizeof e->repeat);
}

void field_texts_from_entry(ScheduleEntry* e, EntryFieldTexts* t) {
    show_number(t->year, e->year);
    show_number(t->month, e->month);
    if (const char* code = day_code_text(e->day))
        std::snprintf(t->day, sizeof t->day, "%s", code);
    else
        show_number(t->day, e->day);
    show_number(t->hour, e->hour);
    if (e->minute == -1) t->minute[0] = '\0';
    else std::snprintf(t->minute, sizeof t->minute, "%02d", e->minute);
    e->has_time = e->hour != -1 && e->minute != -1;
    int end_month = -1, end_day = -1;
    span_last_day(e, &end_month, &end_day);
    show_number(t->end_month, end_month);
    show_number(t->end_day, end_day);
    const bool end_time = e->has_end_time && e->end_hour >= 0 && e->end_minute >= 0;
    show_number(t->end_hour, end_time ? e->end_hour : -1);
    show_minute(t->end_minute, end_time ? e->end_minute : -1);
    cp932_copy_n(t->memo, sizeof t->memo, e->memo, sizeof e->memo);
    show_lead(e, t);
    show_day_alarm(e, t);
    cp932_copy_n(t->sound_file, sizeof t->sound_file, e->sound_file, sizeof e->sound_file);
    t->holiday = e->holiday != 0;
    t->scramble = e->scramble != 0;
    t->alarm_on = e->alarm_kind != 0;
    t->sound_on = e->alarm_kind >= 2;
}

AlarmEnables alarm_enables_for(const ScheduleEntry* e) {
    AlarmEnables a;
    a.alarm = true;
    a.group = e->alarm_kind != 0;
    a.lead = a.group && e->has_time == 1;
    a.day = a.group && e->has_time != 1;
    a.sound = a.group && e->alarm_kind >= 2;
    return a;
}

bool entry_fields_complete(const ScheduleEntry* e) {
    return e->month != -1 && e->day != -1 && e->memo[0] != '\0';
}

namespace {

// Whether byte offset off of s starts a character (or is its end).
bool starts_char(const char* s, size_t off) {
    const char* p = s;
    while (static_cast<size_t>(p - s) < off && *p != '\0') p = cp932_next(p);
    return static_cast<size_t>(p - s) == off;
}

// Bytes of whole characters of s (n bytes long) that fit in room.
size_t whole_chars_within(const char* s, size_t n, size_t room) {
    const char* p = s;
    for (;;) {
        const char* next = cp932_next(p);
        const size_t len = static_cast<size_t>(next - s);
        if (next == p || len > n || len > room) return static_cast<size_t>(p - s);
        p = next;
    }
}

}  // namespace

bool memo_cut(const char* before, const char* after, size_t limit, MemoCut* cut) {
    const size_t la = std::strlen(after), lb = std::strlen(before);
    if (la <= limit) return false;
    // The common start, by whole characters.
    const char* a = after;
    const char* b = before;
    for (;;) {
        const char* na = cp932_next(a);
        const char* nb = cp932_next(b);
        if (na == a || na - a != nb - b || std::memcmp(a, b, static_cast<size_t>(na - a)) != 0)
            break;
        a = na;
        b = nb;
    }
    const size_t p = static_cast<size_t>(a - after);
    // The common end: equal bytes that start a character in both texts.
    size_t s = 0;
    for (size_t k = 1; k <= la - p && k <= lb - p && after[la - k] == before[lb - k]; ++k) {
        if (starts_char(after, la - k) && starts_char(before, lb - k)) s = k;
    }
    if (p + s > limit) {
        *cut = {0, la, whole_chars_within(after, la, limit)};
        return true;
    }
    *cut = {p, la - s, whole_chars_within(after + p, la - s - p, limit - p - s)};
    return true;
}

size_t cp932_chars_in(const char* s, size_t n) {
    size_t chars = 0;
    for (const char* p = s; static_cast<size_t>(p - s) < n && *p != '\0'; p = cp932_next(p))
        ++chars;
    return chars;
}

const char* const kEntryFieldMessages[11] = {
    kYearOutOfRange, kMonthMissing,  kMonthInvalid,     kDayMissing,
    kDayInvalid,     kMemoMissing,   kRepeatInvalid,    kRepeatEndInvalid,
    kSpanInvalid,    kLeadInvalid,   kSkipsInvalid,
};

const char* validate_entry(ScheduleEntry* e, bool* memo_cleared) {
    const EntryFault fault = entry_fault(e, memo_cleared);
    const int k = static_cast<int>(fault) - 1;
    if (fault == EntryFault::kNone) return nullptr;
    return k >= 0 && k < static_cast<int>(std::size(kEntryFieldMessages)) ? kEntryFieldMessages[k]
                                                                         : kDayInvalid;
}

void schedule_row_texts(const ScheduleEntry* e, ScheduleRowTexts* out) {
    if (e->year == -1) std::snprintf(out->year, sizeof out->year, "%s", kEveryYear);
    else std::snprintf(out->year, sizeof out->year, kRowYearFormat, e->year);
    switch (e->day) {
    case kDayMovable:
        std::snprintf(out->date, sizeof out->date, kRowDateMovableFormat, e->month);
        break;
    case kDaySecondMonday:
        std::snprintf(out->date, sizeof out->date, kRowDateSecondMondayFormat, e->month);
        break;
    case kDayThirdMonday:
        std::snprintf(out->date, sizeof out->date, kRowDateThirdMondayFormat, e->month);
        break;
    default:
        std::snprintf(out->date, sizeof out->date, kRowDateFormat, e->month, e->day);
        break;
    }
    int end_month, end_day;
    if (span_last_day(e, &end_month, &end_day)) {
        const size_t len = std::strlen(out->date);
        std::snprintf(out->date + len, sizeof out->date - len, kRowSpanEndFormat, end_month, end_day);
    }
    entry_time_text(out->time, sizeof out->time, e);
    repeat_rule_words(e->repeat, out->repeat, sizeof out->repeat);
    std::snprintf(out->scramble, sizeof out->scramble, "%s", e->scramble ? "S" : "");
    std::snprintf(out->alarm, sizeof out->alarm, "%s", has_alarm(*e) ? "A" : "");
    out->memo = e->memo;
    // Any nonzero holiday byte is a holiday (older data can carry other values).
    out->image = e->holiday != 0;
}

const ListColumn kScheduleColumnTable[kScheduleColumns] = {
    {kColumnYear, kListAlignLeft, "9999年00", 20, false},
    // A span's dates, a time with its end and the rule in words widen their columns only
    // where a row has them: the memo keeps its room in a list of one-off entries.
    {kColumnDate, kListAlignCenter, "99月99日00000", 0, false, true},
    {kColumnTime, kListAlignCenter, "99:99000", 0, false, true},
    {kRepeatColumn, kListAlignLeft, "繰り返し00", 0, false, true},
    {"S", kListAlignCenter, "999_", 0, false},
    {"A", kListAlignCenter, "999_", 0, false},
    {kColumnMemo, kListAlignLeft, "999_", 0, true},
};
