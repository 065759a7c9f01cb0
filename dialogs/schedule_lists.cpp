#include "dialogs/schedule_lists.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "calendar/almanac.h"
#include "calendar/date.h"
#include "calendar/era.h"
#include "calendar/national_holidays.h"
#include "config/cp932.h"
#include "resources/texts.h"
#include "schedule/entry_dates.h"

namespace {

void format_entry_time(char* out, size_t size, const ScheduleEntry* e) {
    if (e->hour == -1 || e->minute == -1)
        out[0] = '\0';
    else if (e->has_time && e->has_end_time)
        std::snprintf(out, size, kTimeRangeFormat, (int)e->hour, (int)e->minute, (int)e->end_hour,
                      (int)e->end_minute);
    else
        std::snprintf(out, size, "%2d:%02d", (int)e->hour, (int)e->minute);
}

// A memo from a stored file may fill all 81 bytes: at most 80 are shown, never half a
// double-byte character.
void copy_memo(char* out, const ScheduleEntry* e) {
    cp932_copy_n(out, kMemoText, e->memo, kMemoText - 1);
}

constexpr int kHolidayImage = 1;  // the flag

// The columns every recent row shows for a date n days from today.
void fill_recent_date(RecentRow* out, int y, int m, int d, long n, int image) {
    out->days = n;
    out->image = image;
    format_distance_label(out->label, sizeof out->label, n);
    std::snprintf(out->date, sizeof out->date, kRecentDateFormat, m, d,
                  weekday_names_ja[weekday_of(y, m, d)]);
}

}  // namespace

const ListColumn kDayColumns[kDayColumnCount] = {
    {nullptr, kListAlignLeft, nullptr, 20, false},
    {kColumnTime, kListAlignCenter, "99:9900", 0, false},
    {kColumnMemo, kListAlignLeft, nullptr, 0, true},
};

const ListColumn kRecentColumns[kRecentColumnCount] = {
    {nullptr, kListAlignLeft, "99日後9", 20, false},
    {kColumnDate, kListAlignCenter, "99月99日(99)00", 0, false},
    {kColumnTime, kListAlignCenter, "99:9900", 0, false},
    {"A", kListAlignCenter, "999_", 0, false},
    {kColumnMemo, kListAlignLeft, nullptr, 0, true},
};

const char kTimeRangeSample[] = "99:99〜99:9900";

int clamp_todo_width(int width) {
    return width < kTodoWidthMin ? kTodoWidthMin : (width > kTodoWidthMax ? kTodoWidthMax : width);
}

void format_todo_width_item(char* out, size_t size, int k) { std::snprintf(out, size, "%2d", k); }

int todo_width_item_index(int width) { return clamp_todo_width(width) - kTodoWidthMin; }

bool todo_width_pick(int index, int* width) {
    if (index < 0 || index > kTodoWidthMax - kTodoWidthMin) return false;
    const int k = index + kTodoWidthMin;
    if (k == *width) return false;
    *width = k;
    return true;
}

void format_list_header(char* out, size_t size, int year, int month, int day, int wareki) {
    const char* weekday = weekday_names_ja[weekday_of(year, month, day)];
    char era[32];
    if (wareki != 0 && date_era_text(year, month, day, era, sizeof era))
        std::snprintf(out, size, kListHeaderEraFormat, era, month, day, weekday);
    else
        std::snprintf(out, size, kListHeaderFormat, year, month, day, weekday);
}

void format_distance_label(char* out, size_t size, long n) {
    if (n >= 0 && n < 3)
        std::snprintf(out, size, "%s", kNearDays[n]);
    else
        std::snprintf(out, size, kDaysAheadFormat, n);
}

int entry_image(const ScheduleEntry* e) { return e->holiday != 0 ? kHolidayImage : 0; }

bool day_contents_row(const ScheduleEntry* e, int year, int month, int day, DayRow* out) {
    if (!entry_on_date(e, year, month, day)) return false;
    out->image = entry_image(e);
    format_entry_time(out->time, sizeof out->time, e);
    copy_memo(out->memo, e);
    return true;
}

bool day_contents_holiday_row(int year, int month, int day, int national, DayRow* out) {
    if (national == 0 || !is_real_date(year, month, day)) return false;
    const char* name = national_holiday_name(year, month, day);
    if (!name) return false;
    out->image = kHolidayImage;
    out->time[0] = '\0';
    cp932_copy(out->memo, sizeof out->memo, name);
    return true;
}

bool day_contents_almanac_row(int year, int month, int day, int rokuyo, int kyureki,
                              DayRow* out) {
    if (rokuyo == 0 && kyureki == 0) return false;
    AlmanacDay a;
    if (!almanac_day(year, month, day, &a)) return false;
    out->image = 0;
    out->time[0] = '\0';
    if (kyureki != 0) {
        almanac_day_text(a, out->memo, sizeof out->memo);
        return true;
    }
    const char* name = almanac_label(a, true, false);
    return name && cp932_copy(out->memo, sizeof out->memo, name) > 0;
}

namespace {

// The row of entry e on the day n days from today, y-m-d.
void fill_recent_row(const ScheduleEntry* e, int y, int m, int d, long n, RecentRow* out) {
    fill_recent_date(out, y, m, d, n, entry_image(e));
    format_entry_time(out->time, sizeof out->time, e);
    out->alarm[0] = out->time[0] != '\0' && has_alarm(*e) ? 'A' : '\0';
    out->alarm[1] = '\0';
    copy_memo(out->memo, e);
}

}  // namespace

bool recent_row(const ScheduleEntry* e, int ty, int tm, int td, int width, RecentRow* out) {
    CalendarDate next;
    if (!entry_next_occurrence(*e, CalendarDate{ty, tm, td}, &next)) return false;
    const long n = (long)day_serial(next.year, next.month, next.day) - (long)day_serial(ty, tm, td);
    if (n < 0 || n > clamp_todo_width(width)) return false;
    fill_recent_row(e, next.year, next.month, next.day, n, out);
    return true;
}

int recent_occurrences(const ScheduleEntry* list, int count, int ty, int tm, int td, int width,
                       RecentOccurrence* out, int max) {
    if (list == nullptr || count <= 0 || max <= 0 || !is_real_date(ty, tm, td)) return 0;
    const int w = clamp_todo_width(width);
    const long long t0 = civil_day_number(ty, tm, td);
    const CalendarDate today{ty, tm, td};
    // The months the days cover (99 days reach into the fifth), and each entry's starts in
    // them; the days are then walked in order.
    constexpr int kMonths = 5;
    int months = 0;
    CalendarDate first_of[kMonths];
    for (CalendarDate m{ty, tm, 1}; months < kMonths && civil_day_number(m.year, m.month, 1) <= t0 + w;) {
        first_of[months++] = m;
        m = m.month == 12 ? CalendarDate{m.year + 1, 1, 1} : CalendarDate{m.year, m.month + 1, 1};
    }
    std::vector<uint32_t> starts(static_cast<size_t>(count) * kMonths, 0);
    std::vector<int> listed;  // entries with any start in the days
    int found = 0;
    for (int i = 0; i < count; ++i) {
        bool any = false;
        for (int k = 0; k < months; ++k) {
            uint32_t s = entry_month_starts(list[i], first_of[k].year, first_of[k].month);
            if (k == 0) s &= ~0u << td;
            starts[static_cast<size_t>(i) * kMonths + static_cast<size_t>(k)] = s;
            any = any || s != 0;
        }
        if (any) listed.push_back(i);
        // An occurrence begun before today that lasts into it.
        CalendarDate began;
        if (entry_covered_span(list[i]) > 0 && found < max && entry_occurrence_covering(list[i], today, &began) &&
            date_ymd(began) < date_ymd(today))
            out[found++] = RecentOccurrence{i, 0, today};
    }
    int month = 0;
    for (int n = 0; n <= w && found < max; ++n) {
        const CalendarDate d = civil_date_of(t0 + n);
        while (month + 1 < months && (first_of[month].year != d.year || first_of[month].month != d.month)) ++month;
        for (int i : listed)
            if (found < max && ((starts[static_cast<size_t>(i) * kMonths + static_cast<size_t>(month)] >> d.day) & 1u))
                out[found++] = RecentOccurrence{i, n, d};
    }
    return found;
}

void recent_occurrence_row(const ScheduleEntry* list, const RecentOccurrence& o, RecentRow* out) {
    fill_recent_row(&list[o.entry], o.day.year, o.day.month, o.day.day, o.days, out);
}

int recent_rows(const ScheduleEntry* list, int count, int ty, int tm, int td, int width,
                RecentRow* out, int max) {
    if (max <= 0) return 0;
    std::vector<RecentOccurrence> occ(static_cast<size_t>(max));
    const int n = recent_occurrences(list, count, ty, tm, td, width, occ.data(), max);
    for (int i = 0; i < n; ++i) recent_occurrence_row(list, occ[static_cast<size_t>(i)], &out[i]);
    return n;
}

bool entry_time_has_end(const ScheduleEntry* e) {
    return e->has_time && e->has_end_time && e->hour != -1 && e->minute != -1;
}

int recent_holiday_rows(int ty, int tm, int td, int width, int national, RecentRow* out, int max) {
    if (national == 0 || ty < kHolidayFirstYear || ty > kHolidayLastYear || !is_real_date(ty, tm, td))
        return 0;
    const long t0 = day_serial(ty, tm, td);
    const int w = clamp_todo_width(width);
    int count = 0;
    // Month by month from this one; 99 days reach into the fifth month at most.
    for (int y = ty, m = tm; count < max && day_serial(y, m, 1) <= t0 + w;) {
        MonthHolidays h;
        national_holidays_of_month(y, m, &h);
        for (int d = 1; d <= days_in_month(m, y) && count < max; ++d) {
            const long n = day_serial(y, m, d) - t0;
            if (!h.name[d] || n < 0 || n > w) continue;
            RecentRow* r = &out[count++];
            fill_recent_date(r, y, m, d, n, kHolidayImage);
            r->time[0] = '\0';
            r->alarm[0] = '\0';
            cp932_copy(r->memo, sizeof r->memo, h.name[d]);
        }
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    return count;
}

void entry_time_text(char* out, size_t size, const ScheduleEntry* e) { format_entry_time(out, size, e); }
