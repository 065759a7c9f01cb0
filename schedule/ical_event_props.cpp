// Gathering an event's properties and its alarms.
#include <string.h>

#include "config/local_path.h"
#include "resources/texts.h"
#include "schedule/ical_event.h"
#include "schedule/ical_text.h"
#include "schedule/utf8_text.h"

namespace {

bool named(const IcalProperty& p, const char* name) {
    return strcmp(p.name, name) == 0;
}

bool param_is(const IcalProperty& p, const char* name, const char* value) {
    char v[32];
    return ical_param(p, name, v, sizeof v) && ical_word_is(v, strlen(v), value);
}

void take_start(IcalEventData* ev, const IcalProperty& p) {
    if (ev->has_start || ev->bad_start) return;
    size_t n = p.value_len;
    // A date given as VALUE=DATE but written with a time: its date.
    if (param_is(p, "VALUE", "DATE") && n > 8) n = 8;
    bool utc = false;
    if (!ical_parse_time(p.value, n, &ev->start, &ev->start_is_date, &utc)) {
        ev->bad_start = true;
        return;
    }
    ev->start_utc = utc;
    ev->has_start = true;
    if (!ical_param(p, "TZID", ev->tzid, sizeof ev->tzid)) ev->tzid[0] = '\0';
}

// A DTEND or RECURRENCE-ID value (the first one counts).
void take_stamp(IcalStamp* st, const IcalProperty& p) {
    if (st->present || st->bad) return;
    size_t n = p.value_len;
    if (param_is(p, "VALUE", "DATE") && n > 8) n = 8;
    if (!ical_parse_time(p.value, n, &st->at, &st->is_date, &st->utc)) {
        st->bad = true;
        return;
    }
    st->present = true;
    if (!ical_param(p, "TZID", st->tzid, sizeof st->tzid)) st->tzid[0] = '\0';
}

void take_uid(IcalEventData* ev, const IcalProperty& p, bool truncated) {
    if (ev->uid[0] || truncated || p.value_len == 0 || p.value_len >= sizeof ev->uid) return;
    for (size_t i = 0; i < p.value_len; ++i)
        if ((unsigned char)p.value[i] < 0x20) return;
    memcpy(ev->uid, p.value, p.value_len);
    ev->uid[p.value_len] = '\0';
}

void take_sequence(IcalEventData* ev, const IcalProperty& p) {
    if (ev->has_sequence || p.value_len == 0 || p.value_len > 9) return;
    uint32_t v = 0;
    for (size_t i = 0; i < p.value_len; ++i) {
        if (p.value[i] < '0' || p.value[i] > '9') return;
        v = v * 10 + (uint32_t)(p.value[i] - '0');
    }
    ev->has_sequence = true;
    ev->sequence = v;
}

void take_modified(IcalEventData* ev, const IcalProperty& p) {
    bool is_date, utc;
    if (!ev->has_modified && ical_parse_time(p.value, p.value_len, &ev->modified, &is_date, &utc) &&
        !is_date && utc)
        ev->has_modified = true;
}

// The dates of an RDATE or EXDATE list (a period counts by its start); at, when given, keeps
// each one's time and form.
void take_dates(IcalEventData* ev, const IcalProperty& p, bool truncated, IcalDate* list,
                int* count, IcalTime* at = nullptr, uint8_t* form = nullptr) {
    if (truncated) ev->dates_unknown = true;
    const bool period = param_is(p, "VALUE", "PERIOD");
    const char* s = p.value;
    const char* end = p.value + p.value_len;
    while (s < end) {
        const char* e = s;
        while (e < end && *e != ',') ++e;
        const char* stop = e;
        if (period)
            for (const char* q = s; q < e; ++q)
                if (*q == '/') {
                    stop = q;
                    break;
                }
        IcalTime t;
        bool is_date, utc;
        if (!ical_parse_time(s, (size_t)(stop - s), &t, &is_date, &utc) ||
            *count >= kIcalMaxListedDates) {
            ev->dates_unknown = true;
        } else {
            if (at) {
                at[*count] = t;
                form[*count] = (uint8_t)((utc ? kIcalFormUtc : 0) | (is_date ? kIcalFormDate : 0));
            }
            list[(*count)++] = IcalDate{(int16_t)t.year, (int8_t)t.month, (int8_t)t.day};
        }
        s = e + 1;
    }
}

bool holiday_category(const char* s, size_t n) {
    return ical_word_is(s, n, "Holiday") || ical_word_is(s, n, "Holidays") ||
           (n == strlen(kIcalHolidayCategory) && memcmp(s, kIcalHolidayCategory, n) == 0) ||
           (n == strlen(kIcalNationalHolidayCategory) && memcmp(s, kIcalNationalHolidayCategory, n) == 0);
}

void take_categories(IcalEventData* ev, const IcalProperty& p) {
    const char* s = p.value;
    const char* end = p.value + p.value_len;
    while (s <= end) {
        const char* e = s;
        while (e < end && *e != ',') e += (*e == '\\' && e + 1 < end) ? 2 : 1;
        char item[64];
        size_t n = ical_unescape_text(s, (size_t)(e - s), item, sizeof item);
        while (n > 0 && item[n - 1] == ' ') --n;
        const char* b = item;
        while (n > 0 && *b == ' ') ++b, --n;
        if (holiday_category(b, n)) ev->holiday = true;
        s = e + 1;
    }
}

bool flag_value(const IcalProperty& p) {
    return p.value_len >= 1 && p.value[0] == '1';
}

// A value that names a place (a path or a URL) rather than a sound by its name ("Chord").
bool names_a_place(const IcalProperty& p) {
    for (size_t i = 0; i < p.value_len; ++i)
        if (p.value[i] == ':' || p.value[i] == '\\' || p.value[i] == '/') return true;
    return false;
}

// The sound file of an ATTACH value (a path or a file URI), taken only when it names a file
// on a local fixed disk: opening anything else could reach a host the file chooses. A place
// that is refused sets *refused.
bool attach_path(const IcalProperty& p, const IcalPlatform* platform, char* out, size_t size,
                 bool* refused) {
    if (param_is(p, "VALUE", "BINARY") || param_is(p, "ENCODING", "BASE64")) return false;
    *refused = names_a_place(p);
    char path[1024];
    size_t n = 0;
    const char* s = p.value;
    size_t len = p.value_len;
    const bool uri = len > 5 && ical_word_is(s, 5, "file:");
    if (uri) {
        s += 5, len -= 5;
        if (len >= 2 && s[0] == '/' && s[1] == '/') s += 2, len -= 2;  // authority (empty)
        if (len >= 3 && s[0] == '/' && s[2] == ':') s += 1, len -= 1;  // /C:/...
    }
    for (size_t i = 0; i < len && n < sizeof path - 1; ++i) {
        char c = s[i];
        if (uri && c == '%' && i + 2 < len) {
            auto hex = [](char h) {
                return h >= '0' && h <= '9'                     ? h - '0'
                       : (h | 0x20) >= 'a' && (h | 0x20) <= 'f' ? (h | 0x20) - 'a' + 10
                                                                : -1;
            };
            const int hi = hex(s[i + 1]), lo = hex(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                c = (char)(hi * 16 + lo);
                i += 2;
            }
        }
        if (uri && c == '/') c = '\\';
        path[n++] = c;
    }
    path[n] = '\0';
    for (size_t i = 0; i < n; ++i)
        if ((unsigned char)path[i] < 0x20) return false;
    char clean[1024];
    const size_t cn = utf8_clean(path, n, sizeof clean, false, clean, sizeof clean);
    char cp[kIcalSoundKeep + 8];
    const int got = platform->from_utf8(platform->context, clean, cn, cp, sizeof cp);
    if (got <= 0 || (size_t)got > size - 1) return false;
    DriveQuestion drives;
    drives.kind = platform->drive_kind;
    drives.context = platform->context;
    if (!local_fixed_file(cp, drives)) return false;
    memcpy(out, cp, (size_t)got + 1);
    *refused = false;
    return true;
}

}  // namespace

void ical_event_begin(IcalEventData* ev) {
    // Only what is read before it is written needs clearing; the lists are filled by count.
    ev->has_start = ev->bad_start = false;
    ev->start_is_date = ev->start_utc = false;
    ev->tzid[0] = '\0';
    memset(&ev->end, 0, sizeof ev->end);
    memset(&ev->recur_id, 0, sizeof ev->recur_id);
    ev->has_duration = false;
    ev->duration = 0;
    ev->cancelled = false;
    ev->uid[0] = '\0';
    ev->has_sequence = ev->has_modified = false;
    ev->sequence = 0;
    ev->has_summary = false;
    ev->summary[0] = '\0';
    ev->rule_count = 0;
    ev->rule_unusable = false;
    ev->rule_len = 0;
    ev->rdate_count = ev->exdate_count = 0;
    ev->dates_unknown = false;
    ev->holiday = ev->scramble = false;
    ev->alarm_taken = ev->alarm_dropped = false;
    ev->alarm_kind = AlarmKind::kNone;
    ev->alarm_seconds = 0;
    ev->alarm_unit = 'm';
    ev->alarm_sound[0] = '\0';
    ev->alarm_sound_refused = false;
}

void ical_event_property(IcalEventData* ev, const IcalProperty& p, const IcalLine& line) {
    if (named(p, "DTSTART")) {
        take_start(ev, p);
    } else if (named(p, "SUMMARY")) {
        if (!ev->has_summary)
            ical_unescape_text(p.value, p.value_len, ev->summary, sizeof ev->summary);
        ev->has_summary = true;
    } else if (named(p, "RRULE")) {
        if (++ev->rule_count == 1) {
            if (line.truncated || p.value_len >= sizeof ev->rule) {
                ev->rule_unusable = true;
            } else {
                memcpy(ev->rule, p.value, p.value_len);
                ev->rule_len = p.value_len;
            }
        }
    } else if (named(p, "RDATE")) {
        take_dates(ev, p, line.truncated, ev->rdates, &ev->rdate_count);
    } else if (named(p, "EXDATE")) {
        take_dates(ev, p, line.truncated, ev->exdates, &ev->exdate_count, ev->exdate_at,
                   ev->exdate_form);
    } else if (named(p, "DTEND")) {
        take_stamp(&ev->end, p);
    } else if (named(p, "DURATION")) {
        if (!ev->has_duration)
            ev->has_duration = ical_parse_duration(p.value, p.value_len, &ev->duration);
    } else if (named(p, "RECURRENCE-ID")) {
        take_stamp(&ev->recur_id, p);
    } else if (named(p, "STATUS")) {
        ev->cancelled = ical_word_is(p.value, p.value_len, "CANCELLED");
    } else if (named(p, "UID")) {
        take_uid(ev, p, line.truncated);
    } else if (named(p, "SEQUENCE")) {
        take_sequence(ev, p);
    } else if (named(p, "LAST-MODIFIED")) {
        take_modified(ev, p);
    } else if (named(p, "EXRULE")) {
        ev->dates_unknown = true;  // excluded days we do not work out
    } else if (named(p, "CATEGORIES")) {
        take_categories(ev, p);
    } else if (named(p, "X-ZELMAR-HOLIDAY")) {
        if (flag_value(p)) ev->holiday = true;
    } else if (named(p, "X-ZELMAR-SCRAMBLE")) {
        if (flag_value(p)) ev->scramble = true;
    }
}

void ical_alarm_begin(IcalEventData* ev) {
    memset(&ev->alarm, 0, sizeof ev->alarm);
}

void ical_alarm_property(IcalEventData* ev, const IcalProperty& p, const IcalLine& line,
                         const IcalPlatform* platform) {
    IcalAlarmData* a = &ev->alarm;
    if (named(p, "ACTION")) {
        a->none = ical_word_is(p.value, p.value_len, "NONE");
        a->audio = ical_word_is(p.value, p.value_len, "AUDIO");
    } else if (named(p, "TRIGGER")) {
        if (a->has_trigger) return;
        a->has_trigger = true;
        a->relative = !param_is(p, "VALUE", "DATE-TIME") && !param_is(p, "RELATED", "END") &&
                      ical_parse_duration(p.value, p.value_len, &a->seconds);
        a->unit = p.value_len ? (char)(p.value[p.value_len - 1] | 0x20) : 'm';
    } else if (named(p, "ATTACH")) {
        bool refused = false;
        if (!a->sound[0] && !line.truncated)
            attach_path(p, platform, a->sound, sizeof a->sound, &refused);
        if (refused) a->sound_refused = true;
    }
}

void ical_alarm_end(IcalEventData* ev, bool implicit) {
    const IcalAlarmData& a = ev->alarm;
    if (a.none && !implicit) return;
    // A lead of up to kMaxLeadMinutes before the start, or (for an event without a time) up to
    // the end of its first day after it; which of the two fits is told when the start is known.
    const bool usable = a.has_trigger && a.relative && !implicit &&
                        a.seconds >= -(int64_t)kMaxLeadMinutes * 60 && a.seconds < 1440 * 60;
    if (ev->alarm_taken || !usable) {
        ev->alarm_dropped = true;
        return;
    }
    ev->alarm_taken = true;
    ev->alarm_seconds = a.seconds;
    ev->alarm_unit = a.unit;
    ev->alarm_kind = !a.audio ? AlarmKind::kWindow
                              : (a.sound[0] ? AlarmKind::kSoundFile : AlarmKind::kSystemSound);
    // A file attached to an alarm that plays no sound is not kept.
    if (ev->alarm_kind == AlarmKind::kSoundFile)
        memcpy(ev->alarm_sound, a.sound, sizeof ev->alarm_sound);
    else
        ev->alarm_sound[0] = '\0';
    ev->alarm_sound_refused = a.audio && !a.sound[0] && a.sound_refused;
}

bool ical_parse_duration(const char* s, size_t n, int64_t* seconds) {
    size_t i = 0;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i >= n || (s[i] != 'P' && s[i] != 'p')) return false;
    ++i;
    bool in_time = false, any = false;
    int64_t total = 0;
    while (i < n) {
        if (s[i] == 'T' || s[i] == 't') {
            if (in_time) return false;
            in_time = true;
            ++i;
            continue;
        }
        int64_t v = 0;
        size_t digits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            if (++digits > 9) return false;
            v = v * 10 + (s[i++] - '0');
        }
        if (digits == 0 || i >= n) return false;
        const char unit = (char)(s[i++] | 0x20);
        int64_t mult;
        if (!in_time && unit == 'w')
            mult = 7 * 86400;
        else if (!in_time && unit == 'd')
            mult = 86400;
        else if (in_time && unit == 'h')
            mult = 3600;
        else if (in_time && unit == 'm')
            mult = 60;
        else if (in_time && unit == 's')
            mult = 1;
        else
            return false;
        total += v * mult;
        any = true;
    }
    if (!any) return false;
    *seconds = neg ? -total : total;
    return true;
}

int ical_minutes_before(int64_t seconds) {
    if (seconds > 0) return -1;
    const int64_t before = (-seconds + 59) / 60;
    return before > 1000000 ? 1000000 : (int)before;
}
