#include "schedule/ical_write.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "config/content_hash.h"
#include "resources/texts.h"
#include "resources/version.h"
#include "calendar/filetime.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"
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

// The alarm's trigger: the lead before a time (in the unit it is shown in), or when an entry
// without a time rings from 00:00 of its day; "" when the entry does not ring.
std::string trigger_of(const ScheduleEntry* e) {
    const AlarmKind kind = alarm_kind_of(*e);
    if (kind != AlarmKind::kWindow && !alarm_sounds(*e)) return std::string();
    if (!timed(e) && !e->day_alarm) return std::string();
    const std::vector<EntryProp> props = entry_props(*e, false);
    for (const EntryProp& prop : props)
        if (prop.first == (timed(e) ? "trigger" : "daytrigger")) return prop.second;
    if (!timed(e)) return std::string();
    char trigger[32];
    const int before = e->minutes_before >= 0 && e->minutes_before <= kMaxLeadMinutes ? e->minutes_before : 0;
    snprintf(trigger, sizeof trigger, "-PT%dM", before);
    return trigger;
}

void write_alarm(const ScheduleEntry* e, const std::string& summary, const IcalPlatform* p,
                 std::string* out) {
    // A byte outside the kinds rings as none: no alarm to write.
    const std::string trigger = trigger_of(e);
    if (trigger.empty()) return;
    line(out, "BEGIN:VALARM");
    if (alarm_sounds(*e)) {
        line(out, "ACTION:AUDIO");
        line(out, "TRIGGER:" + trigger);
        char sound[sizeof e->sound_file];
        memcpy(sound, e->sound_file, sizeof sound);
        sound[sizeof sound - 1] = '\0';
        if (alarm_kind_of(*e) == AlarmKind::kSoundFile && sound[0])
            line(out, "ATTACH:" + utf8_of(p, sound));
    } else {
        line(out, "ACTION:DISPLAY");
        line(out, "TRIGGER:" + trigger);
        line(out, "DESCRIPTION:" + summary);
    }
    line(out, "END:VALARM");
}

IcalTime day_time(int y, int m, int d, int hour, int minute) {
    return IcalTime{y, m, d, hour, minute, 0};
}

IcalTime plus_days(const IcalTime& t, long long days) {
    const CalendarDate d = civil_date_of(civil_day_number(t.year, t.month, t.day) + days);
    return IcalTime{d.year, d.month, d.day, t.hour, t.minute, t.second};
}

// A wall time of this machine as UTC. The platform converts only the other way, so the
// machine's offset at a first guess is taken off, and once more at the instant that gives (a
// wall time in a daylight-saving gap comes out shifted by the gap, as the clock would show it).
bool local_to_utc(const IcalPlatform* p, const IcalTime& local, IcalTime* utc) {
    IcalTime guess = local;
    for (int round = 0; round < 2; ++round) {
        IcalTime wall;
        if (!p->utc_to_local(p->context, &guess, &wall)) return false;
        guess = ical_add_minutes(local, -ical_minutes_between(guess, wall));
    }
    *utc = guess;
    return true;
}

// The rule of a series as RRULE writes it: the last day of UNTIL as a UTC time for an entry
// with a time (its start has a zone), as a date for one without.
std::string rule_of(const ScheduleEntry* e, const IcalPlatform* p) {
    std::string rule = repeat_rule_text(e->repeat);
    if (e->repeat.end != RepeatEnd::kUntil || !timed(e)) return rule;
    const CalendarDate d = date_of_ymd(e->repeat.until);
    IcalTime utc;
    if (!local_to_utc(p, IcalTime{d.year, d.month, d.day, 23, 59, 59}, &utc)) return rule;
    char buf[24];
    ical_format_date_time(utc, buf);
    const size_t at = rule.find(";UNTIL=");
    if (at == std::string::npos) return rule;
    const size_t end = rule.find(';', at + 1);
    return rule.substr(0, at) + ";UNTIL=" + buf + "Z" +
           (end == std::string::npos ? std::string() : rule.substr(end));
}

// DTSTART of a series: its date, unless the rule does not fall on it (a start on a Friday
// of a rule for Sundays); DTSTART is always an occurrence, so then the rule's first day.
IcalDate series_start(const ScheduleEntry* e) {
    ScheduleEntry rule = *e;
    rule.skip_count = 0;
    CalendarDate first;
    if (((entry_month_starts(rule, e->year, e->month) >> e->day) & 1u) == 0 &&
        entry_next_occurrence(rule, CalendarDate{e->year, e->month, e->day}, &first))
        return IcalDate{(int16_t)first.year, (int8_t)first.month, (int8_t)first.day};
    return IcalDate{(int16_t)e->year, (int8_t)e->month, (int8_t)e->day};
}

void write_event(const ScheduleEntry* e, const IcalDate* days, int n, int nth,
                 const IcalPlatform* p, const char* tzid, const char* stamp, std::string* out) {
    char memo[sizeof e->memo];
    memcpy(memo, e->memo, sizeof memo);
    memo[sizeof memo - 1] = '\0';
    std::string summary;
    ical_escape_text(utf8_of(p, memo).c_str(), &summary);

    char uid[kUidSize];
    if (e->uid[0] && strnlen(e->uid, sizeof e->uid) < sizeof e->uid)
        memcpy(uid, e->uid, sizeof uid);
    else
        ical_entry_uid(e, nth, uid, sizeof uid);
    const bool series = entry_repeats(*e) && e->year >= 1;
    Form f;
    if (series)
        f.start = series_start(e);
    else
        f = form_of(e, days, n);
    const IcalTime start = at_date(f.start, e);
    // The real end: a date's last day (the day after it, as DTEND excludes it), a time's end
    // time; a time without an end time lasts to the end of its last day when it spans days,
    // and is an instant (no DTEND) when it does not.
    const bool dated = e->year >= 1;
    const int span = dated ? e->span_days : 0;
    bool has_end = true;
    IcalTime end;
    if (!timed(e))
        end = plus_days(start, span + 1);
    else if (dated && e->has_end_time)
        end = plus_days(day_time(start.year, start.month, start.day, e->end_hour, e->end_minute), span);
    else if (span > 0)
        end = plus_days(day_time(start.year, start.month, start.day, 0, 0), span + 1);
    else
        has_end = false;

    line(out, "BEGIN:VEVENT");
    line(out, std::string("UID:") + uid);
    line(out, std::string("DTSTAMP:") + stamp);
    line(out, "DTSTART" + time_values(e, tzid, &start, 1));
    if (has_end) line(out, "DTEND" + time_values(e, tzid, &end, 1));
    if (series) {
        line(out, "RRULE:" + rule_of(e, p));
        std::vector<IcalTime> skipped;
        for (int i = 0; i < e->skip_count && i < kMaxSkips; ++i) {
            const CalendarDate d = date_of_ymd(e->skips[i]);
            skipped.push_back(day_time(d.year, d.month, d.day, start.hour, start.minute));
        }
        if (!skipped.empty()) line(out, "EXDATE" + time_values(e, tzid, skipped.data(), (int)skipped.size()));
    } else if (!f.rule.empty()) {
        line(out, "RRULE:" + f.rule);
    }
    if (!series && !f.listed.empty()) {
        std::vector<IcalTime> times;
        for (const IcalDate& d : f.listed) times.push_back(at_date(d, e));
        line(out, "RDATE" + time_values(e, tzid, times.data(), (int)times.size()));
    }
    if (e->recur_date != 0) {
        const CalendarDate d = date_of_ymd(e->recur_date);
        const IcalTime at = day_time(d.year, d.month, d.day, e->recur_hour, e->recur_minute);
        if (e->recur_has_time) {
            char buf[24];
            ical_format_date_time(at, buf);
            line(out, std::string("RECURRENCE-ID") + (tzid[0] ? std::string(";TZID=") + tzid : "") + ":" + buf);
        } else {
            char buf[24];
            ical_format_date(at, buf);
            line(out, std::string("RECURRENCE-ID;VALUE=DATE:") + buf);
        }
    }
    line(out, "SUMMARY:" + summary);
    if (e->holiday) {
        line(out, std::string("CATEGORIES:") + kIcalHolidayCategory);
        line(out, "X-ZELMAR-HOLIDAY:1");
    }
    if (e->scramble) line(out, "X-ZELMAR-SCRAMBLE:1");
    if (e->sequence != 0) line(out, "SEQUENCE:" + std::to_string(e->sequence));
    LocalTime wall;
    IcalTime utc;
    if (e->modified != 0 && filetime_to_wall_time(e->modified, &wall) &&
        local_to_utc(p, IcalTime{wall.year, wall.month, wall.day, wall.hour, wall.minute, wall.second}, &utc)) {
        char buf[24];
        ical_format_date_time(utc, buf);
        line(out, std::string("LAST-MODIFIED:") + buf + "Z");
    }
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
