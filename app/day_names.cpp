#include "app/day_names.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "calendar/era.h"
#include "calendar/lunisolar.h"
#include "calendar/sekki.h"
#include "calendar/zassetsu.h"
#include "calendar/national_holidays.h"
#include "config/cp932.h"
#include "dialogs/schedule_lists.h"
#include "dialogs/subscribed_rows.h"
#include "resources/texts.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

namespace {

// Text into a buffer of size bytes, NUL-terminated, cut at a character boundary; once a
// text was cut nothing more goes in, so what is written is always a prefix of the whole.
struct Writer {
    char* out;
    size_t size;
    size_t used = 0;
    bool cut = false;

    Writer(char* o, size_t n) : out(o), size(n) {
        if (size) out[0] = '\0';
    }
    void append(const char* text) {
        if (cut || size == 0) return;
        const size_t len = std::strlen(text);
        const size_t n = cp932_copy(out + used, size - used, text);
        used += n;
        cut = n < len;
    }
};

}  // namespace

DayFacts day_facts(const ScheduleList& list, int year, int month, int day, int ty, int tm, int td,
                   const DayNameShows& shows, const FeedEntries* feeds) {
    DayFacts f = {year, month, day, year == ty && month == tm && day == td, 0, 0, nullptr, false, "", false, false, {}};
    if (!is_real_date(year, month, day)) return f;
    if (shows.wareki != 0) date_era_text(year, month, day, f.era, sizeof f.era);
    if (shows.rokuyo != 0 || shows.kyureki != 0) {
        f.almanac_shown = almanac_day(year, month, day, &f.almanac);
        f.old_calendar = f.almanac_shown && shows.kyureki != 0;
    }
    const int national = shows.national_holidays;
    const int n = schedule_live_count(list);
    for (int i = 0; i < n; ++i)
        if (entry_on_date(&list.entries[i], year, month, day)) ++f.entries;
    if (feeds)
        for (const ScheduleEntry& e : feeds->entries)
            if (entry_on_date(&e, year, month, day)) ++f.subscribed;
    if (national != 0) f.holiday = national_holiday_name(year, month, day);
    // The user's holidays as the month paints them red.
    DayClass cls[31];
    if (classify_month(year, month, schedule_month_marks(list, year, month), nullptr, 1, cls) >= day)
        f.day_off = cls[day - 1].holiday || cls[day - 1].substitute;
    return f;
}

void format_day_name(char* out, size_t size, const DayFacts& f) {
    Writer wr(out, size);
    const int w = weekday_of(f.year, f.month, f.day);
    char date[64];
    std::snprintf(date, sizeof date, kDayNameFormat, f.month, f.day,
                  w >= 0 && w <= 6 ? weekday_names_ja[w] : "");
    wr.append(f.era);
    wr.append(date);
    const char* parts[6 + kZassetsuCount] = {};
    char entries[32], subscribed[48], lunar[64];
    int n = 0;
    if (f.today) parts[n++] = kDayNameToday;
    if (f.entries > 0) {
        std::snprintf(entries, sizeof entries, kDayNameEntriesFormat, f.entries);
        parts[n++] = entries;
    }
    if (f.subscribed > 0) {
        std::snprintf(subscribed, sizeof subscribed, kDayNameSubscribedFormat, f.subscribed);
        parts[n++] = subscribed;
    }
    if (f.holiday)
        parts[n++] = f.holiday;
    else if (f.day_off)
        parts[n++] = kDayNameDayOff;
    // As the day contents head the day: the old calendar's date with its 六曜, the solar term
    // and the 雑節; or the 六曜 alone.
    const AlmanacDay& a = f.almanac;
    const int rokuyo = a.rokuyo >= 0 && a.rokuyo < kRokuyoCount ? a.rokuyo : 0;
    if (f.old_calendar) {
        std::snprintf(lunar, sizeof lunar, kLunarDateFormat, a.lunar.leap ? kLunarLeapMark : "", a.lunar.month,
                      a.lunar.day, kRokuyoNames[rokuyo]);
        parts[n++] = lunar;
        if (a.term >= 0 && a.term < kSolarTermCount) parts[n++] = kSolarTermNames[a.term];
        for (int k = 0; k < kZassetsuCount; ++k)
            if (a.zassetsu & (1u << k)) parts[n++] = kZassetsuNames[k];
    } else if (f.almanac_shown) {
        parts[n++] = kRokuyoNames[rokuyo];
    }
    for (int i = 0; i < n; ++i) {
        wr.append(i == 0 ? " " : kDayNameSeparator);
        wr.append(parts[i]);
    }
}

void format_day_description(char* out, size_t size, const ScheduleList& list, int year, int month,
                            int day, const FeedEntries* feeds) {
    Writer wr(out, size);
    const std::vector<DayListing> rows = day_listing(list.entries, schedule_live_count(list), feeds, year, month, day);
    bool first = true;
    for (size_t i = 0; i < rows.size() && !wr.cut; ++i) {
        if (!first) wr.append(kDayNameSeparator);
        first = false;
        // The time as the list shows it, without its padding.
        const char* time = rows[i].row.time;
        while (*time == ' ') ++time;
        if (*time) {
            wr.append(time);
            wr.append(" ");
        }
        wr.append(rows[i].memo);
    }
}
