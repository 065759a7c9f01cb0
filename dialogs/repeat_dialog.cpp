#include "dialogs/repeat_dialog.h"

#include <cstdio>
#include <cstring>

#include "resources/texts.h"
#include "schedule/entry_dates.h"

namespace {

// Numbers are read to at most this value; anything larger stays larger, so every range
// check refuses it alike.
constexpr int kNumberCap = 100000000;

// The runs of digits of s, at most max of them; returns how many there were (also beyond
// max). digits[k] receives the length of run k.
int digit_runs(const char* s, int* values, int* digits, int max) {
    int n = 0;
    for (const char* p = s; *p;) {
        if (*p < '0' || *p > '9') {
            ++p;
            continue;
        }
        int v = 0, len = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++len)
            if (v < kNumberCap) v = v * 10 + (*p - '0');
        if (n < max) {
            values[n] = v;
            digits[n] = len;
        }
        ++n;
    }
    return n;
}

// The whole text as one number; -1 when it is empty or holds anything but digits.
int read_count(const char* s) {
    if (!*s) return -1;
    int v = 0;
    for (const char* p = s; *p; ++p) {
        if (*p < '0' || *p > '9') return -1;
        if (v < kNumberCap) v = v * 10 + (*p - '0');
    }
    return v;
}

bool date_in_entry_range(int y, int m, int d) {
    return y >= kEntryFirstYear && y <= 9999 && is_real_date(y, m, d);
}

bool any(const bool* v, int n) {
    for (int i = 0; i < n; ++i)
        if (v[i]) return true;
    return false;
}

uint8_t weekday_bits(const RepeatFields& f) {
    unsigned bits = 0;
    for (int w = 0; w < 7; ++w)
        if (f.weekday[w]) bits |= 1u << w;
    return static_cast<uint8_t>(bits);
}

// The k-th slot of a date within its month: 0..3, or the last for a fifth.
int nth_slot_of(int day) { return day >= 29 ? kNthLast : (day - 1) / 7; }

void show_month_days(uint32_t days, char* out, size_t size) {
    out[0] = '\0';
    size_t len = 0;
    for (int d = 1; d <= 31; ++d) {
        if (!(days & (1u << d))) continue;
        const int n = std::snprintf(out + len, size - len, len ? ",%d" : "%d", d);
        if (n < 0 || static_cast<size_t>(n) >= size - len) break;
        len += static_cast<size_t>(n);
    }
}

void set_text(char* out, const char* format, int v) { std::snprintf(out, kRepeatTextSize, format, v); }

}  // namespace

void repeat_fields_from_rule(const RepeatRule& r, const CalendarDate& start, RepeatFields* f) {
    std::memset(f, 0, sizeof *f);
    (void)start;
    switch (r.kind) {
    case RepeatKind::kDaily: f->choice = RepeatChoice::kDaily; break;
    case RepeatKind::kWeekly: f->choice = RepeatChoice::kWeekly; break;
    case RepeatKind::kMonthlyByDay:
    case RepeatKind::kMonthlyByWeekday: f->choice = RepeatChoice::kMonthly; break;
    case RepeatKind::kYearly: f->choice = RepeatChoice::kYearly; break;
    default: f->choice = RepeatChoice::kNone; break;
    }
    set_text(f->interval, "%d", r.interval >= 1 && f->choice != RepeatChoice::kNone ? r.interval : 1);
    f->week_start = r.kind == RepeatKind::kWeekly && r.week_start <= 6 ? r.week_start : kDefaultWeekStart;
    unsigned weekdays = 0;
    if (r.kind == RepeatKind::kWeekly) weekdays = r.weekdays;
    if (r.kind == RepeatKind::kMonthlyByWeekday) {
        f->monthly_by = MonthlyBy::kWeekday;
        for (int k = 0; k < kNthSlots; ++k) {
            weekdays |= r.nth_weekdays[k];
            f->nth[k] = (r.nth_weekdays[k] & 0x7F) != 0;
        }
    }
    for (int w = 0; w < 7; ++w) f->weekday[w] = (weekdays >> w) & 1u;
    if (r.kind == RepeatKind::kMonthlyByDay) {
        show_month_days(r.month_days, f->month_days, sizeof f->month_days);
        f->last_day = (r.month_days & kMonthLastDay) != 0;
    }
    if (f->choice == RepeatChoice::kNone) return;
    if (r.end == RepeatEnd::kUntil) {
        f->end = RepeatEndChoice::kDate;
        const CalendarDate u = date_of_ymd(r.until);
        std::snprintf(f->until, sizeof f->until, "%d/%d/%d", u.year, u.month, u.day);
    } else if (r.end == RepeatEnd::kCount) {
        f->end = RepeatEndChoice::kCount;
        set_text(f->count, "%d", r.count);
    }
}

RepeatEnables repeat_enables(const RepeatFields& f) {
    RepeatEnables e = {};
    const bool on = f.choice != RepeatChoice::kNone;
    const bool monthly = f.choice == RepeatChoice::kMonthly;
    e.interval = on;
    e.monthly = monthly;
    e.month_days = monthly && f.monthly_by == MonthlyBy::kDate;
    e.nth = monthly && f.monthly_by == MonthlyBy::kWeekday;
    e.weekdays = f.choice == RepeatChoice::kWeekly || e.nth;
    e.end = on;
    e.until = on && f.end == RepeatEndChoice::kDate;
    e.count = on && f.end == RepeatEndChoice::kCount;
    return e;
}

const char* repeat_interval_unit(RepeatChoice c) {
    const int k = static_cast<int>(c);
    return k >= 0 && k < 5 ? kIntervalUnits[k] : "";
}

void repeat_fields_choose(RepeatFields* f, RepeatChoice c, const CalendarDate& start) {
    f->choice = c;
    if (f->interval[0] == '\0') set_text(f->interval, "%d", 1);
    if (c == RepeatChoice::kWeekly && !any(f->weekday, 7))
        f->weekday[weekday_of(start.year, start.month, start.day)] = true;
    if (c == RepeatChoice::kMonthly) repeat_fields_choose_monthly(f, f->monthly_by, start);
}

void repeat_fields_choose_monthly(RepeatFields* f, MonthlyBy by, const CalendarDate& start) {
    f->monthly_by = by;
    if (by == MonthlyBy::kDate) {
        if (f->month_days[0] == '\0' && !f->last_day) set_text(f->month_days, "%d", start.day);
        return;
    }
    if (!any(f->nth, kNthSlots)) f->nth[nth_slot_of(start.day)] = true;
    if (!any(f->weekday, 7)) f->weekday[weekday_of(start.year, start.month, start.day)] = true;
}

bool parse_month_days(const char* s, uint32_t* days) {
    int values[32], digits[32];
    const int n = digit_runs(s, values, digits, 32);
    if (n > 32) return false;
    uint32_t bits = 0;
    for (int k = 0; k < n; ++k) {
        if (values[k] < 1 || values[k] > 31) return false;
        bits |= 1u << values[k];
    }
    *days = bits;
    return true;
}

bool parse_typed_date(const char* s, const CalendarDate& after, CalendarDate* out) {
    int v[3], digits[3];
    const int n = digit_runs(s, v, digits, 3);
    CalendarDate d = {};
    if (n == 1 && digits[0] == 8) {
        d = date_of_ymd(v[0]);
    } else if (n == 3) {
        d = CalendarDate{v[0], v[1], v[2]};
    } else if (n == 2) {
        d = CalendarDate{after.year, v[0], v[1]};
        if (date_ymd(d) < date_ymd(after)) ++d.year;  // 29 February stays refused in a common year
    } else {
        return false;
    }
    if (!date_in_entry_range(d.year, d.month, d.day)) return false;
    *out = d;
    return true;
}

const char* repeat_rule_from_fields(const RepeatFields& f, const CalendarDate& start, RepeatRule* out) {
    RepeatRule r;
    std::memset(&r, 0, sizeof r);
    if (f.choice == RepeatChoice::kNone) {
        *out = r;
        return nullptr;
    }
    const int interval = read_count(f.interval);
    if (interval < 1 || interval > kRepeatIntervalMax) return kIntervalInvalid;
    r.interval = static_cast<uint8_t>(interval);
    switch (f.choice) {
    case RepeatChoice::kDaily:
        r.kind = RepeatKind::kDaily;
        break;
    case RepeatChoice::kWeekly:
        r.kind = RepeatKind::kWeekly;
        r.week_start = f.week_start <= 6 ? f.week_start : kDefaultWeekStart;
        r.weekdays = weekday_bits(f);
        if (r.weekdays == 0) return kWeekdaysMissing;
        break;
    case RepeatChoice::kMonthly:
        if (f.monthly_by == MonthlyBy::kDate) {
            r.kind = RepeatKind::kMonthlyByDay;
            if (!parse_month_days(f.month_days, &r.month_days)) return kMonthDaysInvalid;
            if (f.last_day) r.month_days |= kMonthLastDay;
            if (r.month_days == 0) return kMonthDaysInvalid;
        } else {
            r.kind = RepeatKind::kMonthlyByWeekday;
            const uint8_t bits = weekday_bits(f);
            if (bits == 0 || !any(f.nth, kNthSlots)) return kNthMissing;
            for (int k = 0; k < kNthSlots; ++k) r.nth_weekdays[k] = f.nth[k] ? bits : 0;
        }
        break;
    case RepeatChoice::kYearly:
        r.kind = RepeatKind::kYearly;
        break;
    default:
        return kIntervalInvalid;
    }
    switch (f.end) {
    case RepeatEndChoice::kDate: {
        CalendarDate until;
        if (!parse_typed_date(f.until, start, &until)) return kUntilInvalid;
        if (date_ymd(until) < date_ymd(start)) return kUntilBeforeStart;
        r.end = RepeatEnd::kUntil;
        r.until = date_ymd(until);
        break;
    }
    case RepeatEndChoice::kCount: {
        const int count = read_count(f.count);
        if (count < 1 || count > kRepeatCountMax) return kCountInvalid;
        r.end = RepeatEnd::kCount;
        r.count = static_cast<uint16_t>(count);
        break;
    }
    default:
        r.end = RepeatEnd::kNever;
        break;
    }
    *out = r;
    return nullptr;
}
