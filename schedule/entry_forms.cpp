#include "schedule/entry_forms.h"

#include <stdio.h>
#include <string.h>

#include "calendar/filetime.h"
#include "config/cp932.h"
#include "schedule/entry_dates.h"
#include "schedule/ical_event.h"
#include "schedule/ical_rule.h"

namespace {

// The longest value a reader looks at: more than any form written here.
constexpr size_t kValueMax = 1024;

const char* const kFreqNames[] = {nullptr, "DAILY", "WEEKLY", "MONTHLY", "MONTHLY", "YEARLY"};

std::string ymd_text(int ymd) {
    char b[16];
    snprintf(b, sizeof b, "%08d", ymd);
    return b;
}


// Exactly eight digits naming a real date of 1..9999.
bool parse_ymd(const char* s, size_t n, int* ymd) {
    if (n != 8) return false;
    int v = 0;
    for (size_t i = 0; i < 8; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    const CalendarDate d = date_of_ymd(v);
    if (d.year < 1 || !is_real_date(d.year, d.month, d.day)) return false;
    *ymd = v;
    return true;
}

// "hhmm" of a real time of day.
bool parse_hhmm(const char* s, size_t n, int* hour, int* minute) {
    if (n != 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    *hour = (s[0] - '0') * 10 + (s[1] - '0');
    *minute = (s[2] - '0') * 10 + (s[3] - '0');
    return *hour <= 23 && *minute <= 59;
}

// "yyyymmdd" or "yyyymmddThhmm"; *hour -1 for a day alone.
bool parse_day_time(const std::string& v, int* ymd, int* hour, int* minute) {
    *hour = *minute = -1;
    if (v.size() == 8) return parse_ymd(v.data(), 8, ymd);
    return v.size() == 13 && (v[8] == 'T' || v[8] == 't') && parse_ymd(v.data(), 8, ymd) &&
           parse_hhmm(v.data() + 9, 4, hour, minute);
}

std::string day_time_text(int ymd, bool timed, int hour, int minute) {
    std::string s = ymd_text(ymd);
    if (timed) {
        char b[8];
        snprintf(b, sizeof b, "T%02d%02d", hour, minute);
        s += b;
    }
    return s;
}

bool parse_decimal(const std::string& v, long long max, long long* out) {
    if (v.empty() || v.size() > 19) return false;
    long long r = 0;
    for (char c : v) {
        if (c < '0' || c > '9') return false;
        r = r * 10 + (c - '0');
        if (r > max) return false;
    }
    *out = r;
    return true;
}

// A duration of whole minutes, as written here: [-]P[nD][T[nH][nM]].
std::string duration_text(long long minutes) {
    std::string s = minutes < 0 ? "-P" : "P";
    long long m = minutes < 0 ? -minutes : minutes;
    char b[32];
    if (m >= 1440) {
        snprintf(b, sizeof b, "%lldD", m / 1440);
        s += b;
        m %= 1440;
    }
    if (m != 0 || s.size() <= 2) {
        s += 'T';
        if (m >= 60) {
            snprintf(b, sizeof b, "%lldH", m / 60);
            s += b;
            m %= 60;
        }
        if (m != 0 || s.back() == 'T') {
            snprintf(b, sizeof b, "%lldM", m);
            s += b;
        }
    }
    return s;
}

bool parse_minutes(const std::string& v, long long* minutes) {
    int64_t seconds;
    if (!ical_parse_duration(v.data(), v.size(), &seconds) || seconds % 60 != 0) return false;
    *minutes = seconds / 60;
    return true;
}

// ---- The rule ----

bool rule_from_parts(const IcalRuleParts& p, const CalendarDate& start, RepeatRule* r) {
    if (p.bad || p.other || p.freq_unknown || p.interval < 1 || p.interval > kRepeatIntervalMax ||
        (p.count != 0 && p.has_until) || p.count > kRepeatCountMax || !is_real_date(start.year, start.month, start.day))
        return false;
    RepeatRule out;
    memset(&out, 0, sizeof out);
    out.interval = static_cast<uint8_t>(p.interval);
    // Any year: the weekday of a start before 1980 too.
    const int start_wd = ical_weekday(start.year, start.month, start.day);
    switch (p.freq) {
    case IcalFreq::kDaily:
        if (p.month_count || p.monthday_count || p.byday_count || p.setpos_count) return false;
        out.kind = RepeatKind::kDaily;
        break;
    case IcalFreq::kWeekly:
        if (p.month_count || p.monthday_count || p.setpos_count) return false;
        out.kind = RepeatKind::kWeekly;
        out.week_start = static_cast<uint8_t>(p.wkst >= 0 ? p.wkst : 1);  // RFC 5545: Monday
        for (int i = 0; i < p.byday_count; ++i) {
            if (p.bydays[i].nth != 0) return false;
            out.weekdays |= static_cast<uint8_t>(1u << p.bydays[i].weekday);
        }
        if (out.weekdays == 0) out.weekdays = static_cast<uint8_t>(1u << start_wd);
        break;
    case IcalFreq::kMonthly:
        if (p.month_count || (p.monthday_count && p.byday_count)) return false;
        if (p.byday_count) {
            out.kind = RepeatKind::kMonthlyByWeekday;
            // "2WE,4WE", or one weekday picked by BYSETPOS ("WE" with 2,4).
            if (p.setpos_count && p.byday_count != 1) return false;
            for (int i = 0; i < p.byday_count; ++i) {
                const IcalByDay& b = p.bydays[i];
                if (p.setpos_count) {
                    if (b.nth != 0) return false;
                    for (int k = 0; k < p.setpos_count; ++k) {
                        const int pos = p.setpos[k];
                        if (pos != -1 && (pos < 1 || pos > 4)) return false;
                        out.nth_weekdays[pos == -1 ? kNthLast : pos - 1] |= static_cast<uint8_t>(1u << b.weekday);
                    }
                    continue;
                }
                if (b.nth != -1 && (b.nth < 1 || b.nth > 4)) return false;
                out.nth_weekdays[b.nth == -1 ? kNthLast : b.nth - 1] |= static_cast<uint8_t>(1u << b.weekday);
            }
        } else {
            if (p.setpos_count) return false;
            out.kind = RepeatKind::kMonthlyByDay;
            for (int i = 0; i < p.monthday_count; ++i) {
                const int d = p.monthdays[i];
                if (d < -1) return false;
                out.month_days |= d == -1 ? kMonthLastDay : 1u << d;
            }
            if (out.month_days == 0) out.month_days = 1u << start.day;
        }
        break;
    case IcalFreq::kYearly:
        // The entry's own month and day, each year or every few.
        if (p.byday_count || p.setpos_count || p.month_count > 1 || p.monthday_count > 1 ||
            (p.month_count && p.months[0] != start.month) ||
            (p.monthday_count && p.monthdays[0] != start.day))
            return false;
        out.kind = RepeatKind::kYearly;
        break;
    default:
        return false;
    }
    if (p.count) {
        out.end = RepeatEnd::kCount;
        out.count = static_cast<uint16_t>(p.count);
    } else if (p.has_until) {
        out.end = RepeatEnd::kUntil;
        out.until = date_ymd(CalendarDate{p.until.year, p.until.month, p.until.day});
    }
    *r = out;
    return true;
}

void append_weekdays(std::string* s, unsigned weekdays, const char* prefix) {
    for (int w = 0; w < 7; ++w) {
        if (!(weekdays & (1u << w))) continue;
        if (s->back() != '=') *s += ',';
        *s += prefix;
        *s += kIcalWeekdays[w];
    }
}

// ---- Skipped days ----

std::string skips_text(const ScheduleEntry& e) {
    std::string s;
    const int n = e.skip_count < kMaxSkips ? e.skip_count : kMaxSkips;
    for (int i = 0; i < n; ++i) {
        if (i) s += ',';
        s += ymd_text(e.skips[i]);
    }
    return s;
}

bool parse_skips(const std::string& v, ScheduleEntry* e) {
    int32_t days[kMaxSkips];
    int n = 0;
    size_t i = 0;
    while (i <= v.size()) {
        size_t j = v.find(',', i);
        if (j == std::string::npos) j = v.size();
        int ymd;
        if (n >= kMaxSkips || !parse_ymd(v.data() + i, j - i, &ymd)) return false;
        days[n++] = ymd;
        i = j + 1;
    }
    memcpy(e->skips, days, sizeof(int32_t) * static_cast<size_t>(n));
    for (int k = n; k < kMaxSkips; ++k) e->skips[k] = 0;
    e->skip_count = static_cast<uint8_t>(n);
    entry_settle(e);
    return true;
}

// ---- The end ----

bool parse_end(const std::string& v, ScheduleEntry* e) {
    int ymd, hour, minute;
    if (!parse_day_time(v, &ymd, &hour, &minute) || e->year < 1 ||
        !is_real_date(e->year, e->month, e->day))
        return false;
    const CalendarDate end = date_of_ymd(ymd);
    const long long span = civil_day_number(end.year, end.month, end.day) -
                           civil_day_number(e->year, e->month, e->day);
    if (span < 0 || span > kMaxSpanDays || (hour >= 0 && !e->has_time)) return false;
    e->span_days = static_cast<int16_t>(span);
    e->has_end_time = hour >= 0 ? 1 : 0;
    e->end_hour = static_cast<int8_t>(hour >= 0 ? hour : 0);
    e->end_minute = static_cast<int8_t>(minute >= 0 ? minute : 0);
    return true;
}

// ---- The lead ----

bool lead_shown_as_stored(const ScheduleEntry& e) {
    return e.lead_unit == LeadUnit::kMinutes && e.minutes_before >= 0 && e.minutes_before <= kStoredLeadMax;
}

std::string trigger_text(const ScheduleEntry& e) {
    char b[32];
    switch (e.lead_unit) {
    case LeadUnit::kHours:
        if (e.minutes_before % 60 == 0) {
            snprintf(b, sizeof b, "-PT%dH", e.minutes_before / 60);
            return b;
        }
        break;
    case LeadUnit::kDays:
        if (e.minutes_before % 1440 == 0) {
            snprintf(b, sizeof b, "-P%dD", e.minutes_before / 1440);
            return b;
        }
        break;
    case LeadUnit::kMinutes:
        break;
    }
    snprintf(b, sizeof b, "-PT%dM", e.minutes_before);
    return b;
}

bool parse_trigger(const std::string& v, ScheduleEntry* e) {
    long long minutes;
    if (!parse_minutes(v, &minutes) || minutes > 0 || -minutes > kMaxLeadMinutes) return false;
    // The unit its last figure names, when the lead is a whole number of it ("-PT20M0H" is
    // 20 minutes, not a third of an hour).
    const char unit = v.empty() ? '\0' : static_cast<char>(v.back() | 0x20);
    e->minutes_before = static_cast<int32_t>(-minutes);
    e->lead_unit = unit == 'h' && minutes % 60 == 0     ? LeadUnit::kHours
                   : unit == 'd' && minutes % 1440 == 0 ? LeadUnit::kDays
                                                        : LeadUnit::kMinutes;
    return true;
}

// ---- An entry without a time that rings ----

std::string day_action_text(const ScheduleEntry& e) {
    std::string s(1, static_cast<char>('0' + (e.alarm_kind <= 9 ? e.alarm_kind : 0)));
    if (alarm_kind_of(e) == AlarmKind::kSoundFile) {
        char sound[sizeof e.sound_file];
        cp932_copy_n(sound, sizeof sound, e.sound_file, sizeof e.sound_file - 1);
        s += sound;
    }
    return s;
}

bool parse_day_action(const std::string& v, ScheduleEntry* e) {
    if (v.empty() || v[0] < '0' || v[0] > '3' || e->has_time) return false;
    e->alarm_kind = static_cast<uint8_t>(v[0] - '0');
    e->sound_file[0] = '\0';
    if (alarm_kind_of(*e) == AlarmKind::kSoundFile)
        cp932_copy(e->sound_file, sizeof e->sound_file, v.c_str() + 1);
    return true;
}

bool parse_day_trigger(const std::string& v, ScheduleEntry* e) {
    long long minutes;
    if (e->has_time || !parse_minutes(v, &minutes) || minutes < -kMaxLeadMinutes || minutes > 1439)
        return false;
    e->day_alarm = 1;
    e->day_alarm_minute = static_cast<int16_t>(minutes);
    return true;
}

// ---- Identity and stamps ----

bool parse_uid(const std::string& v, ScheduleEntry* e) {
    if (v.empty() || v.size() >= sizeof e->uid) return false;
    for (char c : v)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    memcpy(e->uid, v.c_str(), v.size() + 1);
    return true;
}

std::string stamp_text(uint64_t at) {
    LocalTime t;
    if (!filetime_to_wall_time(at, &t)) return std::string();
    char b[24];
    snprintf(b, sizeof b, "%04d%02d%02dT%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return b;
}

bool parse_stamp(const std::string& v, uint64_t* at) {
    int ymd, hour, minute;
    if (v.size() != 15 || (v[8] != 'T' && v[8] != 't') || !parse_ymd(v.data(), 8, &ymd) ||
        !parse_hhmm(v.data() + 9, 4, &hour, &minute) || v[13] < '0' || v[13] > '5' || v[14] < '0' || v[14] > '9')
        return false;
    const CalendarDate d = date_of_ymd(ymd);
    return wall_time_to_filetime(d.year, d.month, d.day, hour, minute, (v[13] - '0') * 10 + (v[14] - '0'), 0, at);
}

bool parse_recurrence(const std::string& v, ScheduleEntry* e) {
    int ymd, hour, minute;
    if (!parse_day_time(v, &ymd, &hour, &minute)) return false;
    e->recur_date = ymd;
    e->recur_has_time = hour >= 0 ? 1 : 0;
    e->recur_hour = static_cast<int8_t>(hour >= 0 ? hour : 0);
    e->recur_minute = static_cast<int8_t>(minute >= 0 ? minute : 0);
    return true;
}

}  // namespace

std::string repeat_rule_text(const RepeatRule& r) {
    if (r.kind == RepeatKind::kNone || r.kind > RepeatKind::kYearly) return std::string();
    std::string s = "FREQ=";
    s += kFreqNames[static_cast<int>(r.kind)];
    char b[32];
    if (r.interval > 1) {
        snprintf(b, sizeof b, ";INTERVAL=%d", r.interval);
        s += b;
    }
    switch (r.kind) {
    case RepeatKind::kWeekly:
        if (r.weekdays & 0x7F) {
            s += ";BYDAY=";
            append_weekdays(&s, r.weekdays, "");
        }
        if (r.week_start != 1 && r.week_start <= 6) {
            s += ";WKST=";
            s += kIcalWeekdays[r.week_start];
        }
        break;
    case RepeatKind::kMonthlyByDay:
        if (r.month_days != 0) {
            s += ";BYMONTHDAY=";
            for (int d = 1; d <= 31; ++d) {
                if (!(r.month_days & (1u << d))) continue;
                snprintf(b, sizeof b, "%s%d", s.back() == '=' ? "" : ",", d);
                s += b;
            }
            if (r.month_days & kMonthLastDay) s += s.back() == '=' ? "-1" : ",-1";
        }
        break;
    case RepeatKind::kMonthlyByWeekday: {
        const char* const ordinals[kNthSlots] = {"1", "2", "3", "4", "-1"};
        s += ";BYDAY=";
        for (int k = 0; k < kNthSlots; ++k) append_weekdays(&s, r.nth_weekdays[k], ordinals[k]);
        if (s.back() == '=') s.resize(s.size() - 7);
        break;
    }
    default:
        break;
    }
    if (r.end == RepeatEnd::kUntil) {
        s += ";UNTIL=" + ymd_text(r.until);
    } else if (r.end == RepeatEnd::kCount) {
        snprintf(b, sizeof b, ";COUNT=%d", r.count);
        s += b;
    }
    return s;
}

bool repeat_rule_parse(const char* s, size_t n, const CalendarDate& start, RepeatRule* r) {
    if (n > kValueMax) return false;
    IcalRuleParts p;
    ical_rule_parts(s, n, &p);
    return rule_from_parts(p, start, r);
}

int stored_minutes_before(const ScheduleEntry& e) {
    return e.minutes_before > kStoredLeadMax ? kStoredLeadMax : e.minutes_before;
}

std::vector<EntryProp> entry_props(const ScheduleEntry& e, bool with_uid) {
    std::vector<EntryProp> props;
    if (with_uid && e.uid[0] != '\0') props.emplace_back("uid", std::string(e.uid, strnlen(e.uid, sizeof e.uid - 1)));
    if (e.repeat.kind != RepeatKind::kNone) props.emplace_back("rrule", repeat_rule_text(e.repeat));
    if (e.skip_count != 0) props.emplace_back("exdate", skips_text(e));
    if ((e.span_days > 0 || e.has_end_time) && e.year >= 1 && is_real_date(e.year, e.month, e.day)) {
        const long long end = civil_day_number(e.year, e.month, e.day) + e.span_days;
        props.emplace_back("end", day_time_text(date_ymd(civil_date_of(end)), e.has_end_time && e.has_time,
                                                e.end_hour, e.end_minute));
    }
    if (e.has_time && !lead_shown_as_stored(e)) props.emplace_back("trigger", trigger_text(e));
    if (!e.has_time && e.day_alarm) {
        props.emplace_back("daytrigger", duration_text(e.day_alarm_minute));
        props.emplace_back("dayaction", day_action_text(e));
    }
    if (e.recur_date != 0)
        props.emplace_back("recurid", day_time_text(e.recur_date, e.recur_has_time != 0, e.recur_hour,
                                                    e.recur_minute));
    if (e.sequence != 0) props.emplace_back("seq", std::to_string(e.sequence));
    if (e.modified != 0) {
        const std::string stamp = stamp_text(e.modified);
        if (!stamp.empty()) props.emplace_back("modified", stamp);
    }
    return props;
}

bool entry_take_prop(const std::string& name, const std::string& value, ScheduleEntry* e) {
    if (value.size() > kValueMax) return false;
    if (name == "uid") return parse_uid(value, e);
    if (name == "rrule") {
        RepeatRule r;
        if (e->year < 1 || !repeat_rule_parse(value.data(), value.size(), CalendarDate{e->year, e->month, e->day}, &r))
            return false;
        e->repeat = r;
        entry_settle(e);
        return true;
    }
    if (name == "exdate") return parse_skips(value, e);
    if (name == "end") return parse_end(value, e);
    if (name == "trigger") return e->has_time && parse_trigger(value, e);
    if (name == "daytrigger") return parse_day_trigger(value, e);
    if (name == "dayaction") return parse_day_action(value, e);
    if (name == "recurid") return parse_recurrence(value, e);
    if (name == "seq") {
        long long v;
        if (!parse_decimal(value, 0xFFFFFFFFll, &v)) return false;
        e->sequence = static_cast<uint32_t>(v);
        return true;
    }
    if (name == "modified") return parse_stamp(value, &e->modified);
    return false;
}
