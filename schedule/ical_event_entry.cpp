// Turning a gathered event into a schedule entry.
#include <string.h>

#include "config/cp932.h"
#include "resources/texts.h"
#include "schedule/entry_dates.h"
#include "schedule/ical_event.h"
#include "schedule/utf8_text.h"
#include "schedule/zone_names.h"

namespace {

// The event's wall time at the occurrence as this machine's local time: UTC and zone times
// through the platform (a fixed Etc zone by its offset, a zone it does not know through the
// file's own VTIMEZONE), floating times and unknown zones as they are.
bool to_local(const IcalEventData& ev, const IcalPlatform* p, const std::vector<IcalZone>& zones,
              const IcalTime& at, IcalTime* local) {
    if (ev.start_utc || zone_is_utc(ev.tzid)) return p->utc_to_local(p->context, &at, local);
    if (!ev.tzid[0]) {
        *local = at;
        return true;
    }
    IcalTime utc;
    if (ical_wall_to_utc(p, zones, ev.tzid, at, &utc))
        return p->utc_to_local(p->context, &utc, local);
    *local = at;
    return true;
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

}  // namespace

bool ical_event_entry(const IcalEventData& ev, const IcalPlatform* p,
                      const std::vector<IcalZone>& zones, IcalImported* out) {
    if (!ev.has_start) return false;
    memset(out, 0, sizeof *out);

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
    if (occ.count == 0) return false;

    IcalTime at = ev.start;
    at.year = occ.first.year;
    at.month = occ.first.month;
    at.day = occ.first.day;
    IcalTime local = at;
    if (!ev.start_is_date && !to_local(ev, p, zones, at, &local)) return false;
    const int64_t shift = ical_days_from_civil(local.year, local.month, local.day) -
                          ical_days_from_civil(at.year, at.month, at.day);

    ScheduleEntry& e = out->entry;
    entry_blank(&e);
    take_memo(ev, p, &e);
    e.holiday = ev.holiday ? 1 : 0;
    e.scramble = ev.scramble ? 1 : 0;
    if (!ev.start_is_date) {
        e.has_time = 1;
        e.hour = local.hour;
        e.minute = local.minute;
    }
    if (ev.alarm_taken && e.has_time) {
        set_alarm_kind(&e, ev.alarm_kind);
        e.minutes_before = ev.alarm_minutes;
        memcpy(e.sound_file, ev.alarm_sound, sizeof ev.alarm_sound);
    }
    out->alarm_cut = ev.alarm_dropped || (ev.alarm_taken && !e.has_time);
    out->sound_refused = ev.alarm_taken && e.has_time && ev.alarm_sound_refused;

    bool placed = false;
    if (occ.every_year) {
        int m = occ.month, d = occ.day;
        const bool movable = d > 31;
        if (shift == 0 || (!movable && shift_fixed_day(&m, &d, shift))) {
            e.year = -1;
            e.month = m;
            e.day = d;
            placed = passes_dialog_checks(e);
        }
    }
    if (!placed) {
        e.year = local.year;
        e.month = local.month;
        e.day = local.day;
        if (!passes_dialog_checks(e)) return false;
        const bool recurring = has_rule || ev.rdate_count > 0 || ev.dates_unknown;
        const bool bounded = !has_rule || (rule.yearly_one_day && (rule.count || rule.has_until));
        const bool known = !ev.dates_unknown && !ev.rule_unusable && ev.rule_count <= 1;
        out->recurrence_cut = recurring && !(occ.count == 1 && known && bounded);
    }
    entry_update_alarm_at(&e);
    return true;
}
