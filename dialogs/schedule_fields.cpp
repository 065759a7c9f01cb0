#include "dialogs/schedule_fields.h"

#include <cstdio>
#include <cstring>

#include "config/cp932.h"
#include "resources/texts.h"

namespace {

// Leading decimal digits of at most max bytes of s, 0 when there are none. Large values stay
// large without overflowing: every range check below rejects them alike.
int leading_number(const char* s, size_t max) {
    int v = 0;
    for (size_t i = 0; i < max && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v < 100000000) v = v * 10 + (s[i] - '0');
    }
    return v;
}

// -1 for an empty text, else its leading number.
int read_number(const char* s, size_t max) {
    if (max == 0 || s[0] == '\0') return -1;
    return leading_number(s, max);
}

int read_in_range(const char* s, int lo, int hi, int outside) {
    const int v = read_number(s, kNumberFieldSize);
    return v < lo || v > hi ? outside : v;
}

// The day field: 3 bytes, a day code as typed or else a number.
int read_day(const char* s) {
    const int code = parse_day_code(s, 3, DayCodeSpelling::kTyped);
    return code != 0 ? code : read_number(s, 3);
}

void show_number(char* out, int v) {
    if (v == -1) out[0] = '\0';
    else std::snprintf(out, kNumberFieldSize, "%d", v);
}

}  // namespace

void entry_from_field_texts(const EntryFieldTexts* t, ScheduleEntry* e) {
    e->year = read_number(t->year, 4);
    e->month = read_number(t->month, 3);
    e->day = read_day(t->day);
    e->hour = read_in_range(t->hour, 0, 23, -1);
    e->minute = read_in_range(t->minute, 0, 59, -1);
    e->has_time = e->hour != -1 && e->minute != -1;
    cp932_copy_n(e->memo, sizeof e->memo, t->memo, kMemoKeep);
    e->holiday = t->holiday;
    e->scramble = t->scramble;
    e->alarm_kind = t->alarm_on;
    const int before = read_number(t->minutes_before, kNumberFieldSize);
    e->minutes_before = before < 0 || before > 99 ? 0 : before;
    cp932_copy_n(e->sound_file, kSoundKeep + 1, t->sound_file, kSoundKeep);
    if (e->alarm_kind == 1 && t->sound_on) e->alarm_kind = e->sound_file[0] ? 3 : 2;
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
    cp932_copy_n(t->memo, sizeof t->memo, e->memo, sizeof e->memo);
    const int before = e->minutes_before < 0 || e->minutes_before > 99 ? 0 : e->minutes_before;
    std::snprintf(t->minutes_before, sizeof t->minutes_before, "%d", before);
    cp932_copy_n(t->sound_file, sizeof t->sound_file, e->sound_file, sizeof e->sound_file);
    t->holiday = e->holiday != 0;
    t->scramble = e->scramble != 0;
    t->alarm_on = e->alarm_kind != 0;
    t->sound_on = e->alarm_kind >= 2;
}

AlarmEnables alarm_enables_for(const ScheduleEntry* e) {
    AlarmEnables a;
    a.alarm = e->has_time == 1;
    a.group = a.alarm && e->alarm_kind != 0;
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

const char* const kEntryFieldMessages[6] = {
    kYearOutOfRange, kMonthMissing, kMonthInvalid, kDayMissing, kDayInvalid, kMemoMissing,
};

const char* validate_entry(ScheduleEntry* e, bool* memo_cleared) {
    const EntryFault fault = entry_fault(e, memo_cleared);
    return fault == EntryFault::kNone ? nullptr : kEntryFieldMessages[static_cast<int>(fault) - 1];
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
    if (e->hour != -1 && e->minute != -1)
        std::snprintf(out->time, sizeof out->time, "%2d:%02d", e->hour, e->minute);
    else
        out->time[0] = '\0';
    std::snprintf(out->scramble, sizeof out->scramble, "%s", e->scramble ? "S" : "");
    std::snprintf(out->alarm, sizeof out->alarm, "%s", has_alarm(*e) ? "A" : "");
    out->memo = e->memo;
    // Any nonzero holiday byte is a holiday (older data can carry other values).
    out->image = e->holiday != 0;
}

const ListColumn kScheduleColumnTable[kScheduleColumns] = {
    {kColumnYear, kListAlignLeft, "9999年00", 20, false},
    {kColumnDate, kListAlignCenter, "99月99日00000", 0, false},
    {kColumnTime, kListAlignCenter, "99:99000", 0, false},
    {"S", kListAlignCenter, "999_", 0, false},
    {"A", kListAlignCenter, "999_", 0, false},
    {kColumnMemo, kListAlignLeft, "999_", 0, true},
};
