#include "schedule/ical_write.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "config/content_hash.h"
#include "resources/texts.h"
#include "resources/version.h"
#include "schedule/entry_dates.h"
#include "schedule/ical_occurrences.h"
#include "schedule/ical_text.h"
#include "schedule/ical_time.h"
#include "schedule/ical_zone.h"
#include "schedule/utf8_text.h"

namespace {

bool timed(const ScheduleEntry* e) {
    return e->has_time && e->hour >= 0 && e->hour <= 23 && e->minute >= 0 && e->minute <= 59;
}

// Code page 932 text as clean UTF-8 (no control characters).
std::string utf8_of(const IcalPlatform* p, const char* cp932) {
    char raw[1024];
    if (p->to_utf8(p->context, cp932, raw, sizeof raw) < 0) raw[0] = '\0';
    char clean[1024];
    const size_t n = utf8_clean(raw, strlen(raw), sizeof clean, false, clean, sizeof clean);
    return std::string(clean, n);
}

IcalTime at_date(const IcalDate& d, const ScheduleEntry* e) {
    IcalTime t = {d.year, d.month, d.day, 0, 0, 0};
    if (timed(e)) {
        t.hour = e->hour;
        t.minute = e->minute;
    }
    return t;
}

// ";VALUE=DATE:20040505" or ";TZID=Asia/Tokyo:20040505T093000" for a list of times; with
// no zone (the platform could not tell this machine's), ":20040505T093000", floating.
std::string time_values(const ScheduleEntry* e, const char* tzid, const IcalTime* times, int n) {
    std::string s = !timed(e) ? ";VALUE=DATE:" : tzid[0] ? std::string(";TZID=") + tzid + ":" : ":";
    for (int i = 0; i < n; ++i) {
        char buf[24];
        if (timed(e))
            ical_format_date_time(times[i], buf);
        else
            ical_format_date(times[i], buf);
        if (i) s += ',';
        s += buf;
    }
    return s;
}

// The days of at most one a year an entry gets in 1980..2079.
constexpr int kEntryDaysMax = kIcalLastYear - kIcalFirstYear + 1;

// The entry's days in 1980..2079 in date order into out (room for kEntryDaysMax); returns
// their number.
int entry_days(const ScheduleEntry* e, IcalDate* out) {
    CalendarDate days[kEntryDaysMax];
    const int n = entry_days_between(*e, CalendarDate{kIcalFirstYear, 1, 1},
                                     CalendarDate{kIcalLastYear, 12, 31}, days, kEntryDaysMax);
    for (int i = 0; i < n; ++i)
        out[i] = IcalDate{(int16_t)days[i].year, (int8_t)days[i].month, (int8_t)days[i].day};
    return n;
}

// How the entry's days are written: a start, an optional yearly rule and the dates listed
// besides. Movable days that follow no rule throughout are listed date by date.
struct Form {
    IcalDate start;
    std::string rule;
    std::vector<IcalDate> listed;
};

Form form_of(const ScheduleEntry* e, const IcalDate* days, int n) {
    Form f;
    f.start = days[0];
    char rule[64];
    if (e->year != -1) return f;
    if (e->day >= 1 && e->day <= 31) {
        f.rule = "FREQ=YEARLY";
    } else if (e->day == kDaySecondMonday || e->day == kDayThirdMonday) {
        snprintf(rule, sizeof rule, "FREQ=YEARLY;BYMONTH=%d;BYDAY=%dMO", e->month,
                 e->day == kDaySecondMonday ? 2 : 3);
        f.rule = rule;
    } else if (e->day == kDayMovable && (e->month == 1 || e->month == 10)) {
        // A fixed day up to 1999, the second Monday from 2000.
        int i = 0;
        while (i < n && days[i].year < 2000) f.listed.push_back(days[i++]);
        if (i < n) {
            f.start = days[i];
            snprintf(rule, sizeof rule, "FREQ=YEARLY;BYMONTH=%d;BYDAY=2MO", e->month);
            f.rule = rule;
        } else {
            f.listed.erase(f.listed.begin());
        }
    } else {
        f.listed.assign(days + 1, days + n);
    }
    return f;
}

void line(std::string* out, const std::string& s) {
    ical_fold_line(s, out);
}

void write_alarm(const ScheduleEntry* e, const std::string& summary, const IcalPlatform* p,
                 std::string* out) {
    // A byte outside the kinds rings as none: no alarm to write.
    const AlarmKind kind = alarm_kind_of(*e);
    if (!timed(e) || (kind != AlarmKind::kWindow && !alarm_sounds(*e))) return;
    const int before = e->minutes_before >= 0 && e->minutes_before <= 99 ? e->minutes_before : 0;
    char trigger[32];
    snprintf(trigger, sizeof trigger, "TRIGGER:-PT%dM", before);
    line(out, "BEGIN:VALARM");
    if (alarm_sounds(*e)) {
        line(out, "ACTION:AUDIO");
        line(out, trigger);
        char sound[sizeof e->sound_file];
        memcpy(sound, e->sound_file, sizeof sound);
        sound[sizeof sound - 1] = '\0';
        if (kind == AlarmKind::kSoundFile && sound[0]) line(out, "ATTACH:" + utf8_of(p, sound));
    } else {
        line(out, "ACTION:DISPLAY");
        line(out, trigger);
        line(out, "DESCRIPTION:" + summary);
    }
    line(out, "END:VALARM");
}

void write_event(const ScheduleEntry* e, const IcalDate* days, int n, int nth,
                 const IcalPlatform* p, const char* tzid, const char* stamp, std::string* out) {
    char memo[sizeof e->memo];
    memcpy(memo, e->memo, sizeof memo);
    memo[sizeof memo - 1] = '\0';
    std::string summary;
    ical_escape_text(utf8_of(p, memo).c_str(), &summary);

    char uid[64];
    ical_entry_uid(e, nth, uid, sizeof uid);
    const Form f = form_of(e, days, n);
    const IcalTime start = at_date(f.start, e);
    // An hour for a time, the day for a date.
    const IcalTime end = timed(e) ? ical_add_minutes(start, 60) : ical_add_minutes(start, 1440);

    line(out, "BEGIN:VEVENT");
    line(out, std::string("UID:") + uid);
    line(out, std::string("DTSTAMP:") + stamp);
    line(out, "DTSTART" + time_values(e, tzid, &start, 1));
    line(out, "DTEND" + time_values(e, tzid, &end, 1));
    if (!f.rule.empty()) line(out, "RRULE:" + f.rule);
    if (!f.listed.empty()) {
        std::vector<IcalTime> times;
        for (const IcalDate& d : f.listed) times.push_back(at_date(d, e));
        line(out, "RDATE" + time_values(e, tzid, times.data(), (int)times.size()));
    }
    line(out, "SUMMARY:" + summary);
    if (e->holiday) {
        line(out, std::string("CATEGORIES:") + kIcalHolidayCategory);
        line(out, "X-ZELMAR-HOLIDAY:1");
    }
    if (e->scramble) line(out, "X-ZELMAR-SCRAMBLE:1");
    write_alarm(e, summary, p, out);
    line(out, "END:VEVENT");
}

uint64_t content_hash(const ScheduleEntry* e) {
    char key[64];
    const int hour = timed(e) ? e->hour : -1, minute = timed(e) ? e->minute : -1;
    const int n =
        snprintf(key, sizeof key, "%d/%d/%d/%d:%d/", e->year, e->month, e->day, hour, minute);
    const uint64_t h = fnv1a_64(key, (size_t)n);
    return fnv1a_64(e->memo, strnlen(e->memo, sizeof e->memo), h);
}

}  // namespace

void ical_entry_uid(const ScheduleEntry* e, int nth, char* out, size_t size) {
    const unsigned long long h = content_hash(e);
    if (nth > 0)
        snprintf(out, size, "%016llx-%d@zelmar", h, nth);
    else
        snprintf(out, size, "%016llx@zelmar", h);
}

void ical_write(const ScheduleEntry* list, int count, const IcalPlatform* platform,
                const IcalTime& now_utc, std::string* out, IcalExportCounts* counts) {
    counts->written = counts->no_day = 0;
    char stamp[24];
    ical_format_date_time(now_utc, stamp);
    strcat(stamp, "Z");

    // Entries hold this machine's wall-clock times, so they are written in its own zone with
    // a VTIMEZONE that describes it, rather than as UTC: an every-year entry at 9:00 stays at
    // 9:00 on both sides of a daylight saving change and of a change of the zone's rules over
    // the years, which one yearly rule of UTC times cannot say. Another program then shows
    // the same instants, in its own zone's hours.
    const IcalLocalZone& zone = ical_local_zone(platform);

    std::string events;
    std::vector<uint64_t> hashes;
    bool any_timed = false;
    IcalDate days[kEntryDaysMax];
    for (int i = 0; i < count; ++i) {
        const ScheduleEntry* e = &list[i];
        const int n = entry_days(e, days);
        if (n == 0) {
            ++counts->no_day;
            continue;
        }
        const uint64_t h = content_hash(e);
        int nth = 0;
        for (uint64_t seen : hashes) nth += seen == h;
        hashes.push_back(h);
        write_event(e, days, n, nth, platform, zone.tzid, stamp, &events);
        any_timed = any_timed || timed(e);
        ++counts->written;
    }

    out->clear();
    line(out, "BEGIN:VCALENDAR");
    line(out, "VERSION:2.0");
    line(out, "PRODID:-//Zelmar//Zelmar " ZELMAR_VERSION_TEXT "//JA");
    line(out, "CALSCALE:GREGORIAN");
    line(out, "METHOD:PUBLISH");
    if (any_timed) out->append(zone.vtimezone);
    out->append(events);
    line(out, "END:VCALENDAR");
}
