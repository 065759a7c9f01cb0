#include "schedule/ical_zone.h"

#include <algorithm>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "schedule/ical_platform.h"
#include "schedule/ical_text.h"
#include "schedule/ical_walk.h"
#include "schedule/zone_names.h"

namespace {

bool parse_two_digits(const char* s, int* v) {
    if (s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return false;
    *v = (s[0] - '0') * 10 + (s[1] - '0');
    return true;
}

// The latest onset of an observance at or before wall (wall_at as ical_time_seconds counts
// it), if any, as counted the same way.
bool latest_onset(const IcalObservance& o, const IcalTime& wall, int64_t wall_at, int64_t* found) {
    bool have = false;
    auto consider = [&](int64_t t) {
        if (t > wall_at) return;
        if (!have || t > *found) *found = t;
        have = true;
    };
    consider(o.start_at);
    const auto after = std::upper_bound(o.onsets.begin(), o.onsets.end(), wall_at);
    if (after != o.onsets.begin()) consider(*(after - 1));
    if (o.has_rule && o.rule.yearly_one_day) {
        // The onsets of this year and the last; and when the rule ended earlier, its last
        // ones (the rule may still be the latest to have changed the offset).
        int last = wall.year;
        if (o.rule.has_until && o.rule.until.year < last) last = o.rule.until.year;
        if (o.rule.count && o.start.year + o.rule.count - 1 < last)
            last = o.start.year + o.rule.count - 1;
        const int years[4] = {wall.year - 1, wall.year, last - 1, last};
        for (int i = 0; i < 4; ++i) {
            const int y = years[i];
            if (i >= 2 && (y == years[0] || y == years[1])) continue;  // counted already
            if (y < o.start.year || y > wall.year) continue;
            if (o.rule.count && y - o.start.year >= o.rule.count) continue;
            const int d = ical_rule_day(o.rule, y);
            if (d == 0) continue;
            IcalTime t = o.start;
            t.year = y;
            t.month = o.rule.month;
            t.day = d;
            if (o.rule_hour >= 0) t.hour = o.rule_hour;
            if (o.rule_minute >= 0) t.minute = o.rule_minute;
            const int64_t at = ical_time_seconds(t);
            if (at < o.start_at) continue;
            if (o.rule.has_until && at > o.until_at) continue;
            consider(at);
        }
    }
    return have;
}

// Takes the BYHOUR, BYMINUTE and BYSECOND parts of a single value each out of a rule (some
// programs write the onset's time there rather than in DTSTART): what is left is a rule of
// days. A part with a list of values stays, and leaves the rule one of many times a day.
void take_time_parts(char* rule, size_t* len, int* hour, int* minute) {
    size_t out = 0;
    for (size_t i = 0; i < *len;) {
        size_t j = i;
        while (j < *len && rule[j] != ';') ++j;
        size_t eq = i;
        while (eq < j && rule[eq] != '=') ++eq;
        const char* v = rule + eq + 1;
        const size_t vn = eq < j ? j - eq - 1 : 0;
        int value = -1;
        if (vn >= 1 && vn <= 2 && v[0] >= '0' && v[0] <= '9' &&
            (vn == 1 || (v[1] >= '0' && v[1] <= '9')))
            value = vn == 1 ? v[0] - '0' : (v[0] - '0') * 10 + (v[1] - '0');
        const size_t kn = eq - i;
        bool taken = false;
        if (value >= 0 && ical_word_is(rule + i, kn, "BYHOUR") && value <= 23) {
            *hour = value;
            taken = true;
        } else if (value >= 0 && ical_word_is(rule + i, kn, "BYMINUTE") && value <= 59) {
            *minute = value;
            taken = true;
        } else if (value >= 0 && ical_word_is(rule + i, kn, "BYSECOND") && value <= 60) {
            taken = true;
        }
        if (!taken) {
            if (out > 0) rule[out++] = ';';
            memmove(rule + out, rule + i, j - i);
            out += j - i;
        }
        i = j + 1;
    }
    *len = out;
}

// A zone's name as compared: TEXT escapes undone.
void zone_key(const char* s, size_t n, char* out, size_t size) {
    ical_unescape_text(s, n, out, size);
}

}  // namespace

bool ical_parse_offset(const char* s, size_t n, int* minutes) {
    if ((n != 5 && n != 7) || (s[0] != '+' && s[0] != '-')) return false;
    int h, m, sec = 0;
    if (!parse_two_digits(s + 1, &h) || !parse_two_digits(s + 3, &m)) return false;
    if (n == 7 && !parse_two_digits(s + 5, &sec)) return false;
    if (h > 23 || m > 59 || sec > 59) return false;
    const int v = h * 60 + m;
    *minutes = s[0] == '-' ? -v : v;
    return true;
}

bool ical_zone_offset(const IcalZone& z, const IcalTime& wall, int* minutes) {
    if (z.observances.empty()) return false;
    const IcalObservance* best = nullptr;
    int64_t best_at = 0;
    const int64_t wall_at = ical_time_seconds(wall);
    for (const IcalObservance& o : z.observances) {
        int64_t at;
        if (latest_onset(o, wall, wall_at, &at) && (!best || at > best_at)) {
            best = &o;
            best_at = at;
        }
    }
    if (best) {
        *minutes = best->offset_to;
        return true;
    }
    const IcalObservance* first = &z.observances[0];
    for (const IcalObservance& o : z.observances)
        if (o.start_at < first->start_at) first = &o;
    *minutes = first->offset_from;
    return true;
}

bool ical_zone_to_utc(const IcalZone& z, const IcalTime& wall, IcalTime* utc) {
    int offset;
    if (!ical_zone_offset(z, wall, &offset)) return false;
    *utc = ical_add_minutes(wall, -offset);
    utc->second = wall.second;
    return true;
}

namespace {

class ZoneCollector : public IcalHandler {
public:
    explicit ZoneCollector(std::vector<IcalZone>* out) : out_(out) {}

    void begin(IcalComp c) override {
        if (c == IcalComp::kTimezone) {
            in_zone_ = out_->size() < kIcalMaxZones;
            if (in_zone_) out_->emplace_back();
        } else if ((c == IcalComp::kStandard || c == IcalComp::kDaylight) && in_zone_) {
            obs_ = IcalObservance();
            has_start_ = has_from_ = has_to_ = false;
            rule_text_len_ = 0;
            in_obs_ = true;
        }
    }

    void end(IcalComp c, bool implicit) override {
        if (c == IcalComp::kTimezone) {
            in_zone_ = false;
        } else if ((c == IcalComp::kStandard || c == IcalComp::kDaylight) && in_obs_) {
            in_obs_ = false;
            IcalZone& z = out_->back();
            if (implicit || !has_start_ || !has_from_ || !has_to_) return;
            if (z.observances.size() >= kIcalMaxObservances) return;
            if (rule_text_len_ > 0) {
                take_time_parts(rule_text_, &rule_text_len_, &obs_.rule_hour, &obs_.rule_minute);
                ical_parse_rule(rule_text_, rule_text_len_, obs_.start, &obs_.rule);
                obs_.has_rule = true;
                // An UNTIL in UTC is the instant of the last onset: as a wall time, read in
                // the offset in force before it, as the onsets are compared.
                IcalRuleParts parts;
                ical_rule_parts(rule_text_, rule_text_len_, &parts);
                if (obs_.rule.has_until && parts.until_utc) {
                    const int second = obs_.rule.until.second;
                    obs_.rule.until = ical_add_minutes(obs_.rule.until, obs_.offset_from);
                    obs_.rule.until.second = second;
                }
            }
            obs_.start_at = ical_time_seconds(obs_.start);
            obs_.until_at = obs_.rule.has_until ? ical_time_seconds(obs_.rule.until) : 0;
            std::sort(obs_.onsets.begin(), obs_.onsets.end());
            z.observances.push_back(obs_);
        }
    }

    void property(IcalComp c, const IcalProperty& p, const IcalLine& line) override {
        if (c == IcalComp::kTimezone && in_zone_) {
            if (strcmp(p.name, "TZID") == 0) {
                IcalZone& z = out_->back();
                zone_key(p.value, p.value_len, z.tzid, sizeof z.tzid);
            }
            return;
        }
        if ((c != IcalComp::kStandard && c != IcalComp::kDaylight) || !in_obs_) return;
        bool is_date, utc;
        if (strcmp(p.name, "DTSTART") == 0) {
            has_start_ = ical_parse_time(p.value, p.value_len, &obs_.start, &is_date, &utc);
        } else if (strcmp(p.name, "TZOFFSETFROM") == 0) {
            has_from_ = ical_parse_offset(p.value, p.value_len, &obs_.offset_from);
        } else if (strcmp(p.name, "TZOFFSETTO") == 0) {
            has_to_ = ical_parse_offset(p.value, p.value_len, &obs_.offset_to);
        } else if (strcmp(p.name, "RRULE") == 0 && !line.truncated) {
            rule_text_len_ = p.value_len < sizeof rule_text_ ? p.value_len : 0;
            memcpy(rule_text_, p.value, rule_text_len_);
        } else if (strcmp(p.name, "RDATE") == 0) {
            const char* s = p.value;
            const char* end = p.value + p.value_len;
            while (s < end && obs_.onsets.size() < kIcalMaxOnsets &&
                   all_onsets_ < kIcalMaxAllOnsets) {
                const char* e = s;
                while (e < end && *e != ',') ++e;
                IcalTime t;
                if (ical_parse_time(s, (size_t)(e - s), &t, &is_date, &utc)) {
                    obs_.onsets.push_back(ical_time_seconds(t));
                    ++all_onsets_;
                }
                s = e + 1;
            }
        }
    }

private:
    std::vector<IcalZone>* out_;
    bool in_zone_ = false, in_obs_ = false;
    IcalObservance obs_;
    bool has_start_ = false, has_from_ = false, has_to_ = false;
    char rule_text_[256];
    size_t rule_text_len_ = 0;
    size_t all_onsets_ = 0;
};

}  // namespace

void ical_collect_zones(const char* text, size_t n, std::vector<IcalZone>* out) {
    out->clear();
    ZoneCollector collector(out);
    ical_walk(text, n, &collector);
}

const IcalZone* ical_find_zone(const std::vector<IcalZone>& zones, const char* tzid) {
    char key[sizeof zones[0].tzid];
    zone_key(tzid, strlen(tzid), key, sizeof key);
    for (const IcalZone& z : zones)
        if (strcmp(z.tzid, key) == 0 && !z.observances.empty()) return &z;
    return nullptr;
}

bool ical_wall_to_utc(const IcalPlatform* p, const std::vector<IcalZone>& zones,
                      const char* tzid, const IcalTime& wall, IcalTime* utc) {
    if (p->zone_to_utc(p->context, tzid, &wall, utc)) return true;
    int offset;
    if (zone_fixed_offset(tzid, &offset)) {
        *utc = ical_add_minutes(wall, -offset);
        utc->second = wall.second;
        return true;
    }
    const IcalZone* z = ical_find_zone(zones, tzid);
    return z && ical_zone_to_utc(*z, wall, utc);
}

namespace {

bool valid_change(const IcalZoneChange& c) {
    return c.month >= 1 && c.month <= 12 && c.week >= 1 && c.week <= 5 && c.weekday >= 0 &&
           c.weekday <= 6 && c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59;
}

bool valid_offset(int minutes) {
    return minutes > -24 * 60 && minutes < 24 * 60;
}

bool has_daylight(const IcalZoneRules& r) {
    return r.daylight != r.standard;
}

IcalTime onset(const IcalZoneChange& c, int y);

// Whether rules r, written for a run of years, also give year y's changes (the "fourth"
// and the "last" Sunday of a month are often the same day).
bool rules_hold(const IcalZoneRules& r, const IcalZoneRules& year_rules, int y) {
    if (r.standard != year_rules.standard || r.daylight != year_rules.daylight) return false;
    if (!has_daylight(r)) return true;
    return ical_time_compare(onset(r.to_daylight, y), onset(year_rules.to_daylight, y)) == 0 &&
           ical_time_compare(onset(r.to_standard, y), onset(year_rules.to_standard, y)) == 0;
}

// A year's rules as the platform gives them, or false when it gives none usable.
bool year_rules(const IcalPlatform* p, int year, IcalZoneRules* r) {
    if (!p->local_zone_rules(p->context, year, r)) return false;
    if (!valid_offset(r->standard) || !valid_offset(r->daylight)) return false;
    if (has_daylight(*r) && (!valid_change(r->to_daylight) || !valid_change(r->to_standard)))
        r->daylight = r->standard;
    return true;
}

std::string offset_text(int minutes) {
    char s[8];
    const int a = minutes < 0 ? -minutes : minutes;
    snprintf(s, sizeof s, "%c%02d%02d", minutes < 0 ? '-' : '+', a / 60, a % 60);
    return s;
}

// The onset of a change in year y, wall time.
IcalTime onset(const IcalZoneChange& c, int y) {
    IcalRule r{};
    r.yearly_one_day = true;
    r.month = c.month;
    r.nth = c.week == 5 ? -1 : c.week;
    r.weekday = c.weekday;
    return IcalTime{y, c.month, ical_rule_day(r, y), c.hour, c.minute, 0};
}

void observance(std::string* out, const char* kind, const IcalTime& start, int from, int to,
                const std::string& rule) {
    char t[24];
    ical_format_date_time(start, t);
    *out += std::string("BEGIN:") + kind + "\r\nDTSTART:" + t + "\r\nTZOFFSETFROM:" +
            offset_text(from) + "\r\nTZOFFSETTO:" + offset_text(to) + "\r\n";
    if (!rule.empty()) *out += "RRULE:" + rule + "\r\n";
    *out += std::string("END:") + kind + "\r\n";
}

// "FREQ=YEARLY;BYMONTH=3;BYDAY=2SU", with the UTC instant of its last onset when it ends.
std::string yearly_rule(const IcalZoneChange& c, bool ends, int last_year, int offset_before) {
    char s[96];
    int n = snprintf(s, sizeof s, "FREQ=YEARLY;BYMONTH=%d;BYDAY=%d%s", c.month,
                     c.week == 5 ? -1 : c.week, kIcalWeekdays[c.weekday]);
    if (ends) {
        char t[24];
        ical_format_date_time(ical_add_minutes(onset(c, last_year), -offset_before), t);
        snprintf(s + n, sizeof s - (size_t)n, ";UNTIL=%sZ", t);
    }
    return s;
}

void build_local_zone(const IcalPlatform* p, const char* name, IcalLocalZone* z) {
    constexpr int kFirst = 1980, kLast = 2079, kYears = kLast - kFirst + 1;
    IcalZoneRules rules[kYears];
    bool any = false;
    for (int i = 0; i < kYears; ++i) {
        const bool got = year_rules(p, kFirst + i, &rules[i]);
        if (!got && i > 0) rules[i] = rules[i - 1];
        if (!got && i == 0) rules[i].standard = rules[i].daylight = INT32_MIN;
        any = any || got;
    }
    if (!any) return;
    // A year before any the platform could tell takes the first it told.
    int first_known = 0;
    while (rules[first_known].standard == INT32_MIN) ++first_known;
    for (int i = 0; i < first_known; ++i) rules[i] = rules[first_known];

    std::string v = "BEGIN:VTIMEZONE\r\nTZID:" + std::string(name) + "\r\n";
    int before = rules[0].standard;  // the offset in force as a run of years begins
    for (int i = 0; i < kYears;) {
        int j = i;
        while (j + 1 < kYears && rules_hold(rules[i], rules[j + 1], kFirst + j + 1)) ++j;
        const IcalZoneRules& r = rules[i];
        const int y0 = kFirst + i, y1 = kFirst + j;
        const bool ends = j + 1 < kYears;
        if (!has_daylight(r)) {
            observance(&v, "STANDARD", IcalTime{y0, 1, 1, 0, 0, 0}, before, r.standard, "");
            before = r.standard;
        } else {
            observance(&v, "DAYLIGHT", onset(r.to_daylight, y0), r.standard, r.daylight,
                       yearly_rule(r.to_daylight, ends, y1, r.standard));
            observance(&v, "STANDARD", onset(r.to_standard, y0), r.daylight, r.standard,
                       yearly_rule(r.to_standard, ends, y1, r.daylight));
            // A year that ends in daylight time (the southern half of the world) hands it on.
            before = r.to_standard.month < r.to_daylight.month ? r.daylight : r.standard;
        }
        i = j + 1;
    }
    v += "END:VTIMEZONE\r\n";
    snprintf(z->tzid, sizeof z->tzid, "%s", name);
    z->vtimezone = v;
}

}  // namespace

const IcalLocalZone& ical_local_zone(const IcalPlatform* p) {
    static thread_local IcalLocalZone none;
    static thread_local IcalLocalZone cached;
    static thread_local std::string cached_name;
    static thread_local bool (*cached_rules)(void*, int, IcalZoneRules*) = nullptr;
    char name[sizeof cached.tzid];
    if (!p->local_zone_name || !p->local_zone_rules ||
        !p->local_zone_name(p->context, name, sizeof name) || !name[0])
        return none;
    // A name that needs quoting in a parameter is not written.
    if (strpbrk(name, "\",;:\\\r\n")) return none;
    if (cached_rules != p->local_zone_rules || cached_name != name) {
        cached = IcalLocalZone();
        build_local_zone(p, name, &cached);
        cached_name = name;
        cached_rules = p->local_zone_rules;
    }
    return cached;
}
