#include "dialogs/repeat_words.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "calendar/date.h"
#include "resources/texts.h"

namespace {

// Appends to a NUL-terminated buffer, cutting at its end (never half a character: every
// piece appended is whole or left out).
struct Words {
    char* out;
    size_t size;
    size_t len = 0;

    void add(const char* text) {
        const size_t n = std::strlen(text);
        if (len + n + 1 > size) return;
        std::memcpy(out + len, text, n + 1);
        len += n;
    }
    void addf(const char* format, ...) {
        char piece[64];
        va_list args;
        va_start(args, format);
        std::vsnprintf(piece, sizeof piece, format, args);
        va_end(args);
        add(piece);
    }
};

// Weekdays Monday first, as a week is read out.
constexpr int kWeekdayOrder[7] = {1, 2, 3, 4, 5, 6, 0};

void add_weekdays(Words& w, unsigned bits) {
    bool first = true;
    for (int k : kWeekdayOrder) {
        if (!(bits & (1u << k))) continue;
        if (!first) w.add(kRuleSeparator);
        w.add(kWeekdayNamesJa[k]);
        first = false;
    }
}

void add_nth(Words& w, int slot) {
    if (slot == kNthLast) w.add(kRuleNthLast);
    else w.addf(kRuleNthFormat, slot + 1);
}

// "第2・第4水曜" when every chosen k-th has the same weekdays, else "第1月曜・第3火曜".
void add_nth_weekdays(Words& w, const RepeatRule& r) {
    unsigned common = 0;
    bool same = true;
    for (int k = 0; k < kNthSlots; ++k) {
        const unsigned bits = r.nth_weekdays[k] & 0x7Fu;
        if (bits == 0) continue;
        if (common == 0) common = bits;
        else if (bits != common) same = false;
    }
    bool first = true;
    for (int k = 0; k < kNthSlots; ++k) {
        const unsigned bits = r.nth_weekdays[k] & 0x7Fu;
        if (bits == 0) continue;
        if (!first) w.add(kRuleSeparator);
        add_nth(w, k);
        if (!same) {
            add_weekdays(w, bits);
            w.add(kRuleWeekdaySuffix);
        }
        first = false;
    }
    if (same && common != 0) {
        add_weekdays(w, common);
        w.add(kRuleWeekdaySuffix);
    }
}

void add_month_days(Words& w, uint32_t days) {
    bool first = true;
    for (int d = 1; d <= 31; ++d) {
        if (!(days & (1u << d))) continue;
        if (!first) w.add(kRuleSeparator);
        w.addf(kRuleDayFormat, d);
        first = false;
    }
    if (days & kMonthLastDay) {
        if (!first) w.add(kRuleSeparator);
        w.add(kRuleLastDay);
    }
}

// "毎週" for an interval of 1, else "2週間ごと".
void add_every(Words& w, const char* every, const char* every_n, int interval) {
    if (interval <= 1) w.add(every);
    else w.addf(every_n, interval);
}

}  // namespace

size_t repeat_rule_words(const RepeatRule& r, char* out, size_t size) {
    if (size == 0) return 0;
    out[0] = '\0';
    Words w{out, size};
    const int interval = r.interval;
    switch (r.kind) {
    case RepeatKind::kDaily:
        add_every(w, kEveryDay, kEveryNDaysFormat, interval);
        break;
    case RepeatKind::kWeekly:
        add_every(w, kEveryWeek, kEveryNWeeksFormat, interval);
        w.add(" ");
        add_weekdays(w, r.weekdays);
        break;
    case RepeatKind::kMonthlyByDay:
        add_every(w, kEveryMonth, kEveryNMonthsFormat, interval);
        w.add(" ");
        add_month_days(w, r.month_days);
        break;
    case RepeatKind::kMonthlyByWeekday:
        add_every(w, kEveryMonth, kEveryNMonthsFormat, interval);
        w.add(" ");
        add_nth_weekdays(w, r);
        break;
    case RepeatKind::kYearly:
        add_every(w, kEveryYearRule, kEveryNYearsFormat, interval);
        break;
    default:
        return 0;
    }
    if (r.end == RepeatEnd::kUntil) {
        const CalendarDate u = date_of_ymd(r.until);
        w.addf(kRuleUntilFormat, u.year, u.month, u.day);
    } else if (r.end == RepeatEnd::kCount) {
        w.addf(kRuleCountFormat, static_cast<int>(r.count));
    }
    return w.len;
}
