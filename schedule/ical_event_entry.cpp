// Turning a gathered event into a schedule entry.
#include <string.h>

#include <vector>

#include "calendar/filetime.h"
#include "config/cp932.h"
#include "resources/texts.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"
#include "schedule/ical_event.h"
#include "schedule/utf8_text.h"
#include "schedule/zone_names.h"

namespace {

// A wall time of the event (in zone tzid, or UTC) as this machine's local time: UTC and zone
// times through the platform (a fixed Etc zone by its offset, a zone it does not know through
// the file's own VTIMEZONE), floating times and unknown zones as they are.
bool to_local(const char* tzid, bool utc_time, const IcalPlatform* p,
              const std::vector<IcalZone>& zones, const IcalTime& at, IcalTime* local) {
    if (utc_time || zone_is_utc(tzid)) return p->utc_to_local(p->context, &at, local);
    if (!tzid[0]) {
        *local = at;
        return true;
    }
    IcalTime utc;
    if (ical_wall_to_utc(p, zones, tzid, at, &utc)) return p->utc_to_local(p->context, &utc, local);
    *local = at;
    return true;
}

bool to_local(const IcalEventData& ev, const IcalPlatform* p, const std::vector<IcalZone>& zones,
              const IcalTime& at, IcalTime* local) {
    return to_local(ev.tzid, ev.start_utc, p, zones, at, local);
}

// A fixed every-year day moved by a day of zone difference; not where a leap day makes the
// result differ from year to year.
bool shift_fixed_day(int* m, int* d, int64_t shift) {
    if (shift < -1 || shift > 1) return false;
    if ((*m == 2 && *d >= 28) || (*m == 3 && *d == 1)) return false;
    int y;
    ical_civil_from_days(ical_days_from_civil(2001, *m, *d) + shift, &y, m, d);
    return true;
}

void take_memo(const IcalEventData& ev, const IcalPlatform* p, ScheduleEntry* e) {
    // One character more than the memo keeps bytes is more than it can hold in any case.
    char clean[kIcalSummaryKeep + 1];
    const size_t cn =
        utf8_clean(ev.summary, strlen(ev.summary), kMemoKeep + 1, true, clean, sizeof clean);
    char cp[256];
    if (p->from_utf8(p->context, clean, cn, cp, sizeof cp) < 0) cp[0] = '\0';
    cp932_copy_n(e->memo, sizeof e->memo, cp, kMemoKeep);
    // The settings file drops blanks at the end of a value.
    size_t n = strlen(e->memo);
    while (n > 0 && e->memo[n - 1] == ' ') e->memo[--n] = '\0';
    clear_blank_memo(e->memo);
    if (!e->memo[0]) memcpy(e->memo, kIcalUntitled, sizeof kIcalUntitled);
}

// What the schedule dialog would store as it is.
bool passes_dialog_checks(const ScheduleEntry& e) {
    ScheduleEntry copy = e;
    bool cleared = false;
    return entry_fault(&copy, &cleared) == EntryFault::kNone && !cleared;
}

CalendarDate date_of(const IcalTime& t) { return CalendarDate{t.year, t.month, t.day}; }

IcalTime at_day(const IcalTime& t, const IcalDate& d) {
    IcalTime r = t;
    r.year = d.year;
    r.month = d.month;
    r.day = d.day;
    return r;
}

long long day_number(const CalendarDate& d) { return civil_day_number(d.year, d.month, d.day); }

// A value of the event given in a zone (or as a date) as this machine's local date and time;
// a date stays as it is.
bool stamp_local(const IcalStamp& st, const IcalPlatform* p, const std::vector<IcalZone>& zones,
                 IcalTime* local) {
    if (st.is_date) {
        *local = st.at;
        return true;
    }
    return to_local(st.tzid, st.utc, p, zones, st.at, local);
}

// Whether the rule names days of its own (weekdays, days of the month, months): those do not
// move with a start that lands on another day here than in the event's zone.
bool rule_names_days(const IcalRuleParts& parts) {
    return parts.byday_count || parts.monthday_count || parts.month_count || parts.setpos_count;
}

// The last local day a rule's UNTIL lets an occurrence start on, for occurrences at the
// entry's time of day (local), as yyyymmdd.
int until_day(const IcalRuleParts& parts, const IcalEventData& ev, const IcalPlatform* p,
              const std::vector<IcalZone>& zones, const ScheduleEntry& e) {
    if (parts.until_is_date) return date_ymd(date_of(parts.until));
    IcalTime local = parts.until;
    if (!to_local(ev.tzid, parts.until_utc || ev.start_utc, p, zones, parts.until, &local))
        local = parts.until;
    long long day = civil_day_number(local.year, local.month, local.day);
    const int at = e.has_time ? e.hour * 60 + e.minute : 0;
    if (local.hour * 60 + local.minute < at) --day;
    return date_ymd(civil_date_of(day));
}

// The series of an event whose rule the entry can hold, on the entry's date (this machine's
// local start day), with its excluded and listed days. False when it cannot hold it whole.
// kNoDay: the rule leaves no day at all; kOutOfRange: none in kEntryFirstYear..kEntryLastYear.
enum class SeriesResult { kNone, kSeries, kNoDay, kOutOfRange };

SeriesResult take_series(const IcalEventData& ev, const IcalPlatform* p,
                         const std::vector<IcalZone>& zones, int64_t shift, ScheduleEntry* e,
                         bool* cut) {
    if (ev.rule_count != 1 || ev.rule_unusable || ev.dates_unknown || ev.recur_id.present)
        return SeriesResult::kNone;
    IcalRuleParts parts;
    ical_rule_parts(ev.rule, ev.rule_len, &parts);
    if (shift != 0 && rule_names_days(parts)) return SeriesResult::kNone;
    const CalendarDate start{e->year, e->month, e->day};
    RepeatRule r;
    if (!repeat_rule_parse(ev.rule, ev.rule_len, start, &r)) return SeriesResult::kNone;
    if (r.end == RepeatEnd::kUntil) {
        r.until = until_day(parts, ev, p, zones, *e);
        if (r.until < date_ymd(start)) return SeriesResult::kNoDay;
    }
    e->repeat = r;
    e->skip_count = 0;

    // The start is always an occurrence of an event, counted by COUNT; a rule that does not
    // fall on it runs from its own first day here, one fewer, and the start's day is lost.
    if (((entry_month_starts(*e, e->year, e->month) >> e->day) & 1u) == 0) {
        CalendarDate at;
        if (!entry_next_occurrence(*e, civil_date_of(day_number(start) + 1), &at) ||
            (r.end == RepeatEnd::kCount && r.count <= 1))
            return SeriesResult::kNone;
        if (r.end == RepeatEnd::kCount) e->repeat.count = static_cast<uint16_t>(r.count - 1);
        e->year = at.year;
        e->month = at.month;
        e->day = at.day;
        if (start.year >= kEntryFirstYear) *cut = true;
    }

    // A start before the first year: the series from its first occurrence in range on, a
    // counted rule with the occurrences before it taken off its count.
    if (e->year < kEntryFirstYear) {
        const CalendarDate first_day{kEntryFirstYear, 1, 1};
        CalendarDate at;
        if (!entry_next_occurrence(*e, first_day, &at) || at.year > kEntryLastYear)
            return SeriesResult::kOutOfRange;
        if (r.end == RepeatEnd::kCount) {
            std::vector<CalendarDate> before(e->repeat.count);
            const int count = e->repeat.count;
            const int n = entry_days_between(*e, CalendarDate{e->year, e->month, e->day},
                                             CalendarDate{kEntryFirstYear - 1, 12, 31},
                                             before.data(), count);
            if (n >= count) return SeriesResult::kOutOfRange;
            e->repeat.count = static_cast<uint16_t>(count - n);
        }
        e->year = at.year;
        e->month = at.month;
        e->day = at.day;
    }
    entry_settle(e);

    // Excluded days that are occurrences become skipped days; others mean nothing.
    for (int i = 0; i < ev.exdate_count; ++i) {
        IcalTime local = ev.exdate_at[i];
        const bool utc = (ev.exdate_form[i] & kIcalFormUtc) != 0;
        if (!(ev.exdate_form[i] & kIcalFormDate) && !ev.start_is_date &&
            !to_local(ev.tzid, utc || ev.start_utc, p, zones, ev.exdate_at[i], &local))
            continue;
        const CalendarDate day = date_of(local);
        if (!ical_date_valid(day.year, day.month, day.day)) continue;
        if (((entry_month_starts(*e, day.year, day.month) >> day.day) & 1u) == 0) continue;
        if (!entry_skip_day(e, day)) *cut = true;
    }
    // Listed days fit when the rule has them already.
    for (int i = 0; i < ev.rdate_count; ++i) {
        CalendarDate day{ev.rdates[i].year, ev.rdates[i].month, ev.rdates[i].day};
        if (shift != 0) day = civil_date_of(day_number(day) + shift);
        if (!entry_on_date(e, day.year, day.month, day.day)) *cut = true;
    }
    CalendarDate first;
    if (!entry_next_occurrence(*e, CalendarDate{kEntryFirstYear, 1, 1}, &first))
        return SeriesResult::kNoDay;  // every day of it left out
    if (first.year > kEntryLastYear) return SeriesResult::kOutOfRange;
    // A rule that gives one day only is that day.
    CalendarDate second;
    const CalendarDate after = civil_date_of(day_number(CalendarDate{e->year, e->month, e->day}) + 1);
    if (e->skip_count == 0 && !entry_next_occurrence(*e, after, &second))
        memset(&e->repeat, 0, sizeof e->repeat);
    return SeriesResult::kSeries;
}

// The span and end time of DTEND or DURATION (measured from DTSTART, start_local here), for
// an entry whose first occurrence starts at first_local.
void take_end(const IcalEventData& ev, const IcalPlatform* p, const std::vector<IcalZone>& zones,
              const IcalTime& start_local, const IcalTime& first_local, ScheduleEntry* e) {
    if (e->year < 1) return;
    long long span = 0;
    int end_minute = -1;
    if (ev.start_is_date) {
        long long days;
        if (ev.end.present && ev.end.is_date)
            days = ical_days_from_civil(ev.end.at.year, ev.end.at.month, ev.end.at.day) -
                   ical_days_from_civil(ev.start.year, ev.start.month, ev.start.day);
        else if (!ev.end.present && ev.has_duration && ev.duration % 86400 == 0)
            days = ev.duration / 86400;
        else
            return;
        span = days - 1;
        if (span <= 0) return;
    } else {
        int64_t minutes;
        IcalTime end_local;
        if (ev.end.present && !ev.end.is_date) {
            if (!stamp_local(ev.end, p, zones, &end_local)) return;
            minutes = ical_minutes_between(start_local, end_local);
        } else if (!ev.end.present && ev.has_duration) {
            minutes = ev.duration / 60;
        } else {
            return;
        }
        if (minutes <= 0 || minutes > (int64_t)(kMaxSpanDays + 1) * 1440) return;
        end_local = ical_add_minutes(first_local, minutes);
        span = ical_days_from_civil(end_local.year, end_local.month, end_local.day) -
               ical_days_from_civil(first_local.year, first_local.month, first_local.day);
        end_minute = end_local.hour * 60 + end_local.minute;
    }
    if (span > kMaxSpanDays) return;
    e->span_days = static_cast<int16_t>(span);
    if (end_minute >= 0) {
        e->has_end_time = 1;
        e->end_hour = static_cast<int8_t>(end_minute / 60);
        e->end_minute = static_cast<int8_t>(end_minute % 60);
    }
}

// The alarm taken from the event: a lead before a time, or a day alarm for a date.
void take_alarm(const IcalEventData& ev, ScheduleEntry* e, IcalImported* out) {
    out->alarm_cut = ev.alarm_dropped;
    if (!ev.alarm_taken) return;
    if (e->has_time) {
        if (ev.alarm_seconds > 0) {
            out->alarm_cut = true;
            return;
        }
        const int before = ical_minutes_before(ev.alarm_seconds);
        e->minutes_before = before;
        e->lead_unit = (ev.alarm_unit == 'h' && before % 60 == 0)                            ? LeadUnit::kHours
                       : ((ev.alarm_unit == 'd' || ev.alarm_unit == 'w') && before % 1440 == 0) ? LeadUnit::kDays
                                                                                                : LeadUnit::kMinutes;
    } else {
        // Earlier rather than later when seconds are given.
        const int64_t s = ev.alarm_seconds;
        e->day_alarm = 1;
        e->day_alarm_minute = static_cast<int16_t>(s >= 0 ? s / 60 : -((-s + 59) / 60));
    }
    set_alarm_kind(e, ev.alarm_kind);
    memcpy(e->sound_file, ev.alarm_sound, sizeof ev.alarm_sound);
    out->sound_refused = ev.alarm_sound_refused;
}

void take_identity(const IcalEventData& ev, const IcalPlatform* p, ScheduleEntry* e,
                   IcalImported* out) {
    memcpy(e->uid, ev.uid, sizeof e->uid);
    e->sequence = ev.has_sequence ? ev.sequence : 0;
    e->modified = 0;
    IcalTime local;
    if (ev.has_modified && p->utc_to_local(p->context, &ev.modified, &local) &&
        !wall_time_to_filetime(local.year, local.month, local.day, local.hour, local.minute,
                               local.second, 0, &e->modified))
        e->modified = 0;
    out->has_version = ev.has_sequence || ev.has_modified;
}

// The occurrence of the series a replacing event stands for.
bool take_recurrence_id(const IcalEventData& ev, const IcalPlatform* p,
                        const std::vector<IcalZone>& zones, ScheduleEntry* e) {
    if (!ev.recur_id.present) return true;
    IcalTime local;
    if (!stamp_local(ev.recur_id, p, zones, &local)) return false;
    if (!ical_date_valid(local.year, local.month, local.day)) return false;
    e->recur_date = date_ymd(date_of(local));
    e->recur_has_time = ev.recur_id.is_date ? 0 : 1;
    e->recur_hour = static_cast<int8_t>(ev.recur_id.is_date ? 0 : local.hour);
    e->recur_minute = static_cast<int8_t>(ev.recur_id.is_date ? 0 : local.minute);
    return true;
}

}  // namespace

bool ical_event_entry(const IcalEventData& ev, const IcalPlatform* p,
                      const std::vector<IcalZone>& zones, IcalImported* out) {
    if (!ev.has_start) return false;
    memset(out, 0, sizeof *out);
    ScheduleEntry& e = out->entry;
    entry_blank(&e);
    take_identity(ev, p, &e, out);
    if (!take_recurrence_id(ev, p, zones, &e)) return false;
    if (ev.cancelled) {
        out->cancelled = true;
        return true;
    }

    const bool has_rule = ev.rule_count > 0;
    IcalRule rule;
    memset(&rule, 0, sizeof rule);
    if (ev.rule_count == 1 && !ev.rule_unusable)
        ical_parse_rule(ev.rule, ev.rule_len, ev.start, &rule);
    IcalRecurrence rec = {ev.start,         has_rule ? &rule : nullptr,
                          ev.dates_unknown, ev.rdates,
                          ev.rdate_count,   ev.exdates,
                          ev.exdate_count};
    IcalOccurrences occ;
    ical_occurrences(rec, &occ);

    // The start here, and how many days it lies from the start as written.
    IcalTime start_local = ev.start;
    if (!ev.start_is_date && !to_local(ev, p, zones, ev.start, &start_local)) return false;
    const int64_t start_shift = ical_days_from_civil(start_local.year, start_local.month, start_local.day) -
                                ical_days_from_civil(ev.start.year, ev.start.month, ev.start.day);

    take_memo(ev, p, &e);
    e.holiday = ev.holiday ? 1 : 0;
    e.scramble = ev.scramble ? 1 : 0;
    if (!ev.start_is_date) {
        e.has_time = 1;
        e.hour = start_local.hour;
        e.minute = start_local.minute;
    }

    bool placed = false;
    IcalTime first_local = start_local;
    if (occ.count > 0 && occ.every_year && !ev.recur_id.present) {
        IcalTime at = at_day(ev.start, occ.first);
        IcalTime local = at;
        if (!ev.start_is_date && !to_local(ev, p, zones, at, &local)) return false;
        const int64_t shift = ical_days_from_civil(local.year, local.month, local.day) -
                              ical_days_from_civil(at.year, at.month, at.day);
        int m = occ.month, d = occ.day;
        const bool movable = d > 31;
        if (shift == 0 || (!movable && shift_fixed_day(&m, &d, shift))) {
            e.year = -1;
            e.month = m;
            e.day = d;
            placed = passes_dialog_checks(e);
        }
    }
    if (!placed && has_rule) {
        ScheduleEntry series = e;
        series.year = start_local.year;
        series.month = start_local.month;
        series.day = start_local.day;
        bool cut = false;
        const SeriesResult sr = take_series(ev, p, zones, start_shift, &series, &cut);
        if (sr == SeriesResult::kNoDay) {
            out->cancelled = true;
            return true;
        }
        if (sr == SeriesResult::kOutOfRange) return false;
        if (sr == SeriesResult::kSeries && passes_dialog_checks(series)) {
            e = series;
            out->recurrence_cut = cut;
            placed = true;
            // Its first occurrence here, at the start's time.
            first_local.year = e.year;
            first_local.month = e.month;
            first_local.day = e.day;
        }
    }
    if (!placed) {
        if (occ.count == 0) return false;
        IcalTime at = at_day(ev.start, occ.first);
        if (!ev.start_is_date && !to_local(ev, p, zones, at, &first_local)) return false;
        if (ev.start_is_date) first_local = at;
        e.year = first_local.year;
        e.month = first_local.month;
        e.day = first_local.day;
        if (!passes_dialog_checks(e)) return false;
        const bool recurring = has_rule || ev.rdate_count > 0 || ev.dates_unknown;
        const bool bounded = !has_rule || (rule.yearly_one_day && (rule.count || rule.has_until));
        const bool known = !ev.dates_unknown && !ev.rule_unusable && ev.rule_count <= 1;
        out->recurrence_cut = recurring && !(occ.count == 1 && known && bounded);
    }

    take_end(ev, p, zones, start_local, first_local, &e);
    if (!passes_dialog_checks(e)) e.span_days = 0, e.has_end_time = 0, e.end_hour = e.end_minute = 0;
    take_alarm(ev, &e, out);
    if (!passes_dialog_checks(e)) {
        e.day_alarm = 0;
        e.day_alarm_minute = 0;
        e.minutes_before = 0;
        e.lead_unit = LeadUnit::kMinutes;
        set_alarm_kind(&e, AlarmKind::kNone);
        e.sound_file[0] = '\0';
        out->alarm_cut = true;
        out->sound_refused = false;
    }
    entry_settle(&e);
    entry_update_alarm_at(&e);
    return true;
}
