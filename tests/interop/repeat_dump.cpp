// Writes repeating entries of every kind (curated ones for the hard days, and a few hundred
// drawn at random) with the days this program gives them 1980..2079, for check_repeat.py to
// expand the same rules with python3-dateutil's rrule. Each entry's rule is written with
// the stored form's writer and read back by its reader first (a difference stops the dump).
//
// One JSON object a line: the start, the RRULE and EXDATE texts, the span, the time and
// lead; "starts" (each occurrence, yyyymmdd), "covered" (each day it falls on), "next" (the
// next occurrence from the 1st of each month, 0 for none) and "alarms" (each ringing as
// yyyymmddhhmm, asked a week at a time).
//
// Usage: repeat_dump <file>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "calendar/filetime.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"

namespace {

struct Case {
    ScheduleEntry e;
};

uint32_t g_seed = 20240611;
int draw(int n) {
    g_seed = g_seed * 1103515245u + 12345u;
    return static_cast<int>((g_seed >> 8) % static_cast<uint32_t>(n));
}

ScheduleEntry dated(int y, int m, int d) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = y;
    e.month = m;
    e.day = d;
    std::snprintf(e.memo, sizeof e.memo, "r");
    return e;
}

RepeatRule rule(RepeatKind kind, int interval = 1) {
    RepeatRule r;
    std::memset(&r, 0, sizeof r);
    r.kind = kind;
    r.interval = static_cast<uint8_t>(interval);
    r.week_start = kind == RepeatKind::kWeekly ? 1 : 0;
    return r;
}

uint32_t days(std::initializer_list<int> list) {
    uint32_t m = 0;
    for (int d : list) m |= d == -1 ? kMonthLastDay : 1u << d;
    return m;
}

std::vector<ScheduleEntry> curated() {
    std::vector<ScheduleEntry> out;
    auto add = [&](ScheduleEntry e, RepeatRule r) {
        e.repeat = r;
        out.push_back(e);
    };
    RepeatRule r;
    // 燃えるゴミ every Monday and Thursday.
    r = rule(RepeatKind::kWeekly);
    r.weekdays = (1 << 1) | (1 << 4);
    add(dated(2024, 1, 4), r);
    // 資源ゴミ on the 2nd and 4th Wednesday.
    r = rule(RepeatKind::kMonthlyByWeekday);
    r.nth_weekdays[1] = r.nth_weekdays[3] = 1 << 3;
    add(dated(2024, 1, 10), r);
    // A team meeting every other Tuesday, weeks from Sunday and from Monday.
    r = rule(RepeatKind::kWeekly, 2);
    r.weekdays = 1 << 2;
    r.week_start = 0;
    add(dated(2024, 1, 9), r);
    // Every other week on Sunday and Tuesday: the week start decides which Sundays.
    r.weekdays = (1 << 0) | (1 << 2);
    add(dated(2024, 1, 9), r);
    r.week_start = 1;
    add(dated(2024, 1, 9), r);
    // 給料日 on the 25th; the last Friday; the last day; the 31st (short months skipped).
    r = rule(RepeatKind::kMonthlyByDay);
    r.month_days = days({25});
    add(dated(2020, 1, 25), r);
    r = rule(RepeatKind::kMonthlyByWeekday);
    r.nth_weekdays[kNthLast] = 1 << 5;
    add(dated(2020, 1, 31), r);
    r = rule(RepeatKind::kMonthlyByDay);
    r.month_days = days({-1});
    add(dated(1980, 1, 31), r);
    r.month_days = days({31});
    add(dated(1980, 1, 31), r);
    r.month_days = days({31});
    r.interval = 2;
    add(dated(2023, 1, 31), r);
    r.month_days = days({15, -1, 30});
    r.interval = 1;
    add(dated(2003, 2, 15), r);
    // A medicine every day for two weeks; every day until 2027/1/14.
    r = rule(RepeatKind::kDaily);
    r.end = RepeatEnd::kCount;
    r.count = 14;
    add(dated(2026, 12, 25), r);
    r.end = RepeatEnd::kUntil;
    r.count = 0;
    r.until = 20270114;
    add(dated(2026, 12, 25), r);
    // 29 February, yearly and every third year; an interval across years.
    r = rule(RepeatKind::kYearly);
    add(dated(1980, 2, 29), r);
    r.interval = 3;
    add(dated(1984, 2, 29), r);
    r = rule(RepeatKind::kMonthlyByDay, 7);
    r.month_days = days({30});
    add(dated(2019, 11, 30), r);
    r = rule(RepeatKind::kDaily, 45);
    add(dated(1999, 12, 20), r);
    // Counted ends with skipped days (they count too), the first day skipped.
    r = rule(RepeatKind::kWeekly);
    r.weekdays = (1 << 1) | (1 << 3) | (1 << 5);
    r.end = RepeatEnd::kCount;
    r.count = 10;
    ScheduleEntry e = dated(2024, 1, 1);
    e.skip_count = 3;
    e.skips[0] = 20240101;
    e.skips[1] = 20240105;
    e.skips[2] = 20240110;
    add(e, r);
    // Spans: 夏季休暇 from 8/10 to 8/14 every year; spans across month and year ends.
    r = rule(RepeatKind::kYearly);
    e = dated(2024, 8, 10);
    e.span_days = 4;
    add(e, r);
    r = rule(RepeatKind::kMonthlyByDay);
    r.month_days = days({30});
    e = dated(2023, 12, 30);
    e.span_days = 3;
    add(e, r);
    r = rule(RepeatKind::kWeekly);
    r.weekdays = 1 << 5;
    e = dated(2030, 1, 4);
    e.span_days = 2;
    e.skip_count = 1;
    e.skips[0] = 20300111;
    add(e, r);
    // A long span from a monthly rule: the days overlap.
    r = rule(RepeatKind::kMonthlyByWeekday, 2);
    r.nth_weekdays[0] = 1 << 1;
    e = dated(2010, 3, 1);
    e.span_days = 40;
    add(e, r);
    // A timed meeting 22:00〜02:00 and one ending at 00:00 (not reaching the next day).
    r = rule(RepeatKind::kWeekly);
    r.weekdays = 1 << 5;
    e = dated(2025, 1, 3);
    e.has_time = 1, e.hour = 22, e.minute = 0;
    e.span_days = 1, e.has_end_time = 1, e.end_hour = 2, e.end_minute = 0;
    e.alarm_kind = 1, e.minutes_before = 30;
    add(e, r);
    e.end_hour = 0;
    add(e, r);
    // Leads: a day before at 20:00 (long lead), one reaching back over a month end.
    r = rule(RepeatKind::kMonthlyByDay);
    r.month_days = days({1});
    e = dated(2024, 3, 1);
    e.has_time = 1, e.hour = 0, e.minute = 10;
    e.alarm_kind = 2, e.minutes_before = 4 * 60 + 10, e.lead_unit = LeadUnit::kMinutes;
    add(e, r);
    // All-day: the day before at 9:00.
    r = rule(RepeatKind::kWeekly);
    r.weekdays = 1 << 0;
    e = dated(2024, 1, 7);
    e.alarm_kind = 1, e.day_alarm = 1, e.day_alarm_minute = -900;
    add(e, r);
    // From the first and to the last day of the range.
    r = rule(RepeatKind::kDaily, 99);
    add(dated(1980, 1, 1), r);
    r = rule(RepeatKind::kWeekly);
    r.weekdays = 0x7F;
    add(dated(2079, 12, 25), r);
    return out;
}

ScheduleEntry random_case() {
    const int y = 1980 + draw(100), m = 1 + draw(12), d = 1 + draw(days_in_month(m, y));
    ScheduleEntry e = dated(y, m, d);
    const int kinds[] = {1, 2, 2, 3, 4, 4, 5};
    RepeatRule r = rule(static_cast<RepeatKind>(kinds[draw(7)]));
    const int pick = draw(10);
    r.interval = static_cast<uint8_t>(pick < 5 ? 1 : pick < 8 ? 2 + draw(4) : 1 + draw(99));
    switch (r.kind) {
    case RepeatKind::kWeekly:
        r.week_start = static_cast<uint8_t>(draw(7));
        r.weekdays = static_cast<uint8_t>(1 + draw(127));
        break;
    case RepeatKind::kMonthlyByDay:
        for (int k = 1 + draw(3); k > 0; --k) r.month_days |= draw(8) == 0 ? kMonthLastDay : 1u << (1 + draw(31));
        break;
    case RepeatKind::kMonthlyByWeekday:
        for (int k = 1 + draw(3); k > 0; --k) r.nth_weekdays[draw(kNthSlots)] |= static_cast<uint8_t>(1u << draw(7));
        break;
    default:
        break;
    }
    switch (draw(3)) {
    case 1:
        r.end = RepeatEnd::kCount;
        r.count = static_cast<uint16_t>(1 + draw(60));
        break;
    case 2: {
        r.end = RepeatEnd::kUntil;
        const long long until = civil_day_number(y, m, d) + draw(3000);
        r.until = date_ymd(civil_date_of(until));
        break;
    }
    default:
        break;
    }
    e.repeat = r;
    if (draw(3) == 0) e.span_days = static_cast<int16_t>(draw(5) == 0 ? draw(60) : draw(4));
    // Skipped days among the first occurrences and a few that are none.
    CalendarDate near[24];
    const int n = entry_days_between(e, CalendarDate{y, m, d}, CalendarDate{2079, 12, 31}, near, 24);
    for (int k = draw(4); k > 0 && n > 0; --k) e.skips[e.skip_count++] = date_ymd(near[draw(n)]);
    if (draw(4) == 0) e.skips[e.skip_count++] = date_ymd(civil_date_of(civil_day_number(y, m, d) + draw(400)));
    if (draw(2) == 0) {
        e.has_time = 1, e.hour = draw(24), e.minute = draw(60);
        e.alarm_kind = 1;
        e.minutes_before = draw(3) == 0 ? draw(kMaxLeadMinutes + 1) : draw(100);
    }
    return e;
}

void put_days(FILE* f, const char* name, const std::vector<int>& v) {
    std::fprintf(f, ", \"%s\": [", name);
    for (size_t i = 0; i < v.size(); ++i) std::fprintf(f, "%s%d", i ? "," : "", v[i]);
    std::fprintf(f, "]");
}

bool write_case(FILE* f, ScheduleEntry e) {
    entry_settle(&e);
    const std::string text = repeat_rule_text(e.repeat);
    RepeatRule back;
    if (!repeat_rule_parse(text.data(), text.size(), CalendarDate{e.year, e.month, e.day}, &back)) {
        std::fprintf(stderr, "repeat_dump: %s does not read back\n", text.c_str());
        return false;
    }
    back.count_last = e.repeat.count_last;
    back.count_key = e.repeat.count_key;
    if (std::memcmp(&back, &e.repeat, sizeof back) != 0) {
        std::fprintf(stderr, "repeat_dump: %s reads back as another rule\n", text.c_str());
        return false;
    }
    std::vector<int> starts, covered, next;
    for (int y = kEntryFirstYear; y <= kEntryLastYear; ++y)
        for (int m = 1; m <= 12; ++m) {
            for (uint32_t s = entry_month_starts(e, y, m); s; s &= s - 1)
                starts.push_back(y * 10000 + m * 100 + __builtin_ctz(s));
            for (uint32_t c = entry_month_days(e, y, m); c; c &= c - 1)
                covered.push_back(y * 10000 + m * 100 + __builtin_ctz(c));
            CalendarDate at;
            next.push_back(entry_next_occurrence(e, CalendarDate{y, m, 1}, &at) ? date_ymd(at) : 0);
        }
    std::fprintf(f, "{\"start\": %d, \"rrule\": \"%s\", \"exdate\": [", date_ymd(CalendarDate{e.year, e.month, e.day}),
                 text.c_str());
    for (int i = 0; i < e.skip_count; ++i) std::fprintf(f, "%s%d", i ? "," : "", e.skips[i]);
    std::fprintf(f, "], \"span\": %d, \"covered_span\": %d", e.span_days, entry_covered_span(e));
    if (entry_rings(e)) {
        // A week at a time from the first year to the last; instants as yyyymmddhhmm.
        const uint64_t week = 7 * kTicksPerDay;
        uint64_t from = 0;
        wall_time_to_filetime(kEntryFirstYear, 1, 1, 0, 0, 0, 0, &from);
        uint64_t end = 0;
        wall_time_to_filetime(kEntryLastYear, 12, 31, 23, 59, 0, 0, &end);
        OccurrenceAlarm got[16];
        std::fprintf(f, ", \"time\": %d, \"lead\": %d, \"day_alarm\": %d, \"alarms\": [",
                     e.has_time ? e.hour * 100 + e.minute : -1, e.minutes_before,
                     e.day_alarm ? e.day_alarm_minute : -100000);
        bool first = true;
        for (uint64_t t = from - kTicksPerMinute; t < end; t += week) {
            const int n = entry_alarms_between(e, t, t + week, got, 16);
            for (int i = 0; i < n && got[i].at <= end; ++i) {
                LocalTime w;
                filetime_to_wall_time(got[i].at, &w);
                std::fprintf(f, "%s\"%04d%02d%02d%02d%02d/%d\"", first ? "" : ",", w.year, w.month, w.day,
                             w.hour, w.minute, date_ymd(got[i].day));
                first = false;
            }
        }
        std::fprintf(f, "]");
    }
    put_days(f, "starts", starts);
    put_days(f, "covered", covered);
    put_days(f, "next", next);
    std::fprintf(f, "}\n");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: repeat_dump <file>\n");
        return 2;
    }
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    std::vector<ScheduleEntry> cases = curated();
    for (int i = 0; i < 300; ++i) cases.push_back(random_case());
    bool ok = true;
    for (const ScheduleEntry& e : cases) ok = write_case(f, e) && ok;
    std::fclose(f);
    std::printf("repeat_dump: %zu entries\n", cases.size());
    return ok ? 0 : 1;
}
