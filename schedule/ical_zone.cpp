#include "schedule/ical_zone.h"

#include <string.h>

#include "schedule/ical_walk.h"

namespace {

bool two_digits(const char* s, int* v) {
    if (s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return false;
    *v = (s[0] - '0') * 10 + (s[1] - '0');
    return true;
}

// The latest onset of an observance at or before wall, if any.
bool latest_onset(const IcalObservance& o, const IcalTime& wall, IcalTime* found) {
    bool have = false;
    auto consider = [&](const IcalTime& t) {
        if (ical_time_compare(t, wall) > 0) return;
        if (!have || ical_time_compare(t, *found) > 0) *found = t;
        have = true;
    };
    consider(o.start);
    for (const IcalTime& t : o.onsets) consider(t);
    if (o.has_rule && o.rule.yearly_one_day) {
        // The onsets of this year and the last; and when the rule ended earlier, its last
        // ones (the rule may still be the latest to have changed the offset).
        int last = wall.year;
        if (o.rule.has_until && o.rule.until.year < last) last = o.rule.until.year;
        if (o.rule.count && o.start.year + o.rule.count - 1 < last)
            last = o.start.year + o.rule.count - 1;
        const int years[4] = {wall.year - 1, wall.year, last - 1, last};
        for (int y : years) {
            if (y < o.start.year || y > wall.year) continue;
            if (o.rule.count && y - o.start.year >= o.rule.count) continue;
            const int d = ical_rule_day(o.rule, y);
            if (d == 0) continue;
            IcalTime t = o.start;
            t.year = y;
            t.month = o.rule.month;
            t.day = d;
            if (ical_time_compare(t, o.start) < 0) continue;
            if (o.rule.has_until && ical_time_compare(t, o.rule.until) > 0) continue;
            consider(t);
        }
    }
    return have;
}

}  // namespace

bool ical_parse_offset(const char* s, size_t n, int* minutes) {
    if ((n != 5 && n != 7) || (s[0] != '+' && s[0] != '-')) return false;
    int h, m, sec = 0;
    if (!two_digits(s + 1, &h) || !two_digits(s + 3, &m)) return false;
    if (n == 7 && !two_digits(s + 5, &sec)) return false;
    if (h > 23 || m > 59 || sec > 59) return false;
    const int v = h * 60 + m;
    *minutes = s[0] == '-' ? -v : v;
    return true;
}

bool ical_zone_offset(const IcalZone& z, const IcalTime& wall, int* minutes) {
    if (z.observances.empty()) return false;
    const IcalObservance* best = nullptr;
    IcalTime best_at = {};
    for (const IcalObservance& o : z.observances) {
        IcalTime at;
        if (latest_onset(o, wall, &at) && (!best || ical_time_compare(at, best_at) > 0)) {
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
        if (ical_time_compare(o.start, first->start) < 0) first = &o;
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
                ical_parse_rule(rule_text_, rule_text_len_, obs_.start, &obs_.rule);
                obs_.has_rule = true;
            }
            z.observances.push_back(obs_);
        }
    }

    void property(IcalComp c, const IcalProperty& p, const IcalLine& line) override {
        if (c == IcalComp::kTimezone && in_zone_) {
            if (strcmp(p.name, "TZID") == 0) {
                IcalZone& z = out_->back();
                size_t n = p.value_len < sizeof z.tzid - 1 ? p.value_len : sizeof z.tzid - 1;
                memcpy(z.tzid, p.value, n);
                z.tzid[n] = '\0';
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
                    obs_.onsets.push_back(t);
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
    for (const IcalZone& z : zones)
        if (strcmp(z.tzid, tzid) == 0 && !z.observances.empty()) return &z;
    return nullptr;
}
