// The tz database as Debian installs it (/usr/share/zoneinfo, package tzdata), read for the
// host's iCalendar platform: the zone names (tzdata.zi), each zone's compiled file (TZif,
// RFC 8536: its 64-bit transitions and the POSIX rule of its footer for the years after
// them), and a zone's offset at any instant. Files are read at most 256 KiB and every count
// in them is checked against what is there; zones are read once and kept.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "schedule/ical_rule.h"
#include "schedule/ical_time.h"

namespace tzdb {

constexpr const char* kRoot = "/usr/share/zoneinfo/";
constexpr size_t kMaxFile = 256 * 1024;

// A POSIX rule "Mm.w.d[/time]": the d-th weekday (0 = Sunday) of week w (5 = last) of
// month m, at time seconds of local time in force before it.
struct PosixChange {
    int month = 0, week = 0, weekday = 0;
    int time = 7200;
};

struct Zone {
    std::vector<int64_t> at;      // transitions, seconds since 1970 UTC, ascending
    std::vector<int32_t> after;   // the offset each brings, seconds east of UTC
    int32_t initial = 0;          // before the first
    bool has_rule = false;        // a footer rule for after the last transition
    int32_t std_offset = 0, dst_offset = 0;
    bool has_dst = false;
    PosixChange start, end;       // into and out of daylight time
};

inline int64_t seconds_of(const IcalTime& t) {
    return (ical_days_from_civil(t.year, t.month, t.day) * 86400 + t.hour * 3600 +
            t.minute * 60 + t.second);
}

inline IcalTime time_of(int64_t s) {
    int64_t days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    const int64_t in_day = s - days * 86400;
    IcalTime t{};
    ical_civil_from_days(days, &t.year, &t.month, &t.day);
    t.hour = (int)(in_day / 3600);
    t.minute = (int)(in_day / 60 % 60);
    t.second = (int)(in_day % 60);
    return t;
}

// The day of month of a POSIX change in year y.
inline int change_day(const PosixChange& c, int y) {
    IcalRule r{};
    r.yearly_one_day = true;
    r.month = c.month;
    r.nth = c.week == 5 ? -1 : c.week;
    r.weekday = c.weekday;
    return ical_rule_day(r, y);
}

namespace posix {

inline bool number(const char*& s, int max, int* v) {
    if (*s < '0' || *s > '9') return false;
    int r = 0;
    while (*s >= '0' && *s <= '9') {
        r = r * 10 + (*s++ - '0');
        if (r > max) return false;
    }
    *v = r;
    return true;
}

// "[+-]hh[:mm[:ss]]" as seconds.
inline bool clock(const char*& s, int32_t* out) {
    int sign = 1;
    if (*s == '+' || *s == '-') sign = *s++ == '-' ? -1 : 1;
    int h, m = 0, sec = 0;
    if (!number(s, 167, &h)) return false;
    if (*s == ':' && !number(++s, 59, &m)) return false;
    if (*s == ':' && !number(++s, 59, &sec)) return false;
    *out = sign * (h * 3600 + m * 60 + sec);
    return true;
}

inline bool name(const char*& s) {
    if (*s == '<') {
        while (*s && *s != '>') ++s;
        if (*s != '>') return false;
        ++s;
        return true;
    }
    const char* b = s;
    while ((*s >= 'A' && *s <= 'Z') || (*s >= 'a' && *s <= 'z')) ++s;
    return s - b >= 3;
}

inline bool change(const char*& s, PosixChange* c) {
    if (*s++ != 'M') return false;  // Julian-day forms are not met in the zones used
    if (!number(s, 12, &c->month) || *s++ != '.' || !number(s, 5, &c->week) || *s++ != '.' ||
        !number(s, 6, &c->weekday) || c->month < 1 || c->week < 1)
        return false;
    c->time = 7200;
    if (*s == '/') return clock(++s, &c->time);
    return true;
}

// A footer such as "EST5EDT,M3.2.0,M11.1.0" or "<+0530>-5:30" into the zone.
inline bool parse(const char* s, Zone* z) {
    int32_t west;
    if (!name(s) || !clock(s, &west)) return false;
    z->std_offset = -west;
    z->dst_offset = z->std_offset + 3600;
    z->has_dst = false;
    if (*s) {
        if (!name(s)) return false;
        if (*s && *s != ',') {
            if (!clock(s, &west)) return false;
            z->dst_offset = -west;
        }
        if (*s++ != ',' || !change(s, &z->start) || *s++ != ',' || !change(s, &z->end) || *s)
            return false;
        z->has_dst = true;
    }
    z->has_rule = true;
    return true;
}

}  // namespace posix

inline uint32_t be32(const unsigned char* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

inline int64_t be64(const unsigned char* p) {
    return (int64_t)((uint64_t)be32(p) << 32 | be32(p + 4));
}

// A TZif file of version 2 or later: the second (64-bit) header and data, then the footer.
inline bool parse_tzif(const std::vector<unsigned char>& f, Zone* z) {
    auto counts = [&](size_t at, uint32_t c[6]) {
        if (f.size() < at + 44 || f[at] != 'T' || f[at + 1] != 'Z' || f[at + 2] != 'i' ||
            f[at + 3] != 'f')
            return false;
        for (int i = 0; i < 6; ++i) c[i] = be32(&f[at + 20 + 4 * i]);
        // isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt: each bounded by the file.
        for (int i = 0; i < 6; ++i)
            if (c[i] > kMaxFile) return false;
        return c[4] >= 1;
    };
    uint32_t c[6];
    if (!counts(0, c) || f[4] < '2') return false;
    const size_t v1 = 44 + c[3] * 5 + c[4] * 6 + c[5] + c[2] * 8 + c[1] + c[0];
    if (!counts(v1, c)) return false;
    const size_t times = v1 + 44, idx = times + (size_t)c[3] * 8, types = idx + c[3];
    const size_t end = types + (size_t)c[4] * 6 + c[5] + (size_t)c[2] * 12 + c[1] + c[0];
    if (end > f.size()) return false;
    auto type_offset = [&](size_t t) { return (int32_t)be32(&f[types + 6 * t]); };
    z->initial = type_offset(0);
    for (uint32_t i = 0; i < c[3]; ++i) {
        const unsigned t = f[idx + i];
        if (t >= c[4]) return false;
        const int64_t at = be64(&f[times + 8 * (size_t)i]);
        if (!z->at.empty() && at <= z->at.back()) return false;
        z->at.push_back(at);
        z->after.push_back(type_offset(t));
    }
    // "\n<rule>\n"
    if (end + 2 <= f.size() && f[end] == '\n') {
        const auto nl = std::find(f.begin() + (long)end + 1, f.end(), '\n');
        const std::string rule(f.begin() + (long)end + 1, nl);
        if (!rule.empty() && !posix::parse(rule.c_str(), z)) z->has_rule = false;
    }
    return true;
}

// The instants (UTC seconds) a footer rule enters and leaves daylight time in year y.
inline void rule_changes(const Zone& z, int y, int64_t* start, int64_t* end) {
    const IcalTime s{y, z.start.month, change_day(z.start, y), 0, 0, 0};
    const IcalTime e{y, z.end.month, change_day(z.end, y), 0, 0, 0};
    *start = seconds_of(s) + z.start.time - z.std_offset;
    *end = seconds_of(e) + z.end.time - z.dst_offset;
}

// Offset (seconds east of UTC) at a UTC instant.
inline int32_t offset_at(const Zone& z, int64_t utc) {
    if (z.at.empty() || utc >= z.at.back()) {
        if (!z.has_rule) return z.at.empty() ? z.initial : z.after.back();
        if (!z.has_dst) return z.std_offset;
        const int y = time_of(utc + z.std_offset).year;
        int64_t start, end;
        rule_changes(z, y, &start, &end);
        const bool dst = start < end ? (utc >= start && utc < end) : !(utc >= end && utc < start);
        return dst ? z.dst_offset : z.std_offset;
    }
    const auto it = std::upper_bound(z.at.begin(), z.at.end(), utc);
    return it == z.at.begin() ? z.initial : z.after[(size_t)(it - z.at.begin()) - 1];
}

// A wall time of the zone as UTC seconds: the offset in force then, the earlier reading of
// an hour that comes twice, and a time the clocks skip read with the offset before the skip.
inline int64_t utc_of_wall(const Zone& z, int64_t wall) {
    const int32_t before = offset_at(z, wall - 86400), after = offset_at(z, wall + 86400);
    if (offset_at(z, wall - before) == before) return wall - before;
    if (offset_at(z, wall - after) == after) return wall - after;
    return wall - before;
}

// Every offset change in [from, to): its instant and the offsets before and after.
struct Change {
    int64_t at;
    int32_t before, after;
};

inline std::vector<Change> changes_between(const Zone& z, int64_t from, int64_t to) {
    std::vector<Change> out;
    for (size_t i = 0; i < z.at.size(); ++i)
        if (z.at[i] >= from && z.at[i] < to)
            out.push_back({z.at[i], i ? z.after[i - 1] : z.initial, z.after[i]});
    if (z.has_rule && z.has_dst) {
        const int64_t last = z.at.empty() ? INT64_MIN : z.at.back();
        for (int y = time_of(from).year - 1; y <= time_of(to).year + 1; ++y) {
            int64_t s, e;
            rule_changes(z, y, &s, &e);
            if (s >= from && s < to && s > last) out.push_back({s, z.std_offset, z.dst_offset});
            if (e >= from && e < to && e > last) out.push_back({e, z.dst_offset, z.std_offset});
        }
        std::sort(out.begin(), out.end(), [](const Change& a, const Change& b) { return a.at < b.at; });
    }
    return out;
}

inline bool read_file(const std::string& path, std::vector<unsigned char>* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    out->resize(kMaxFile + 1);
    const size_t n = fread(out->data(), 1, out->size(), f);
    fclose(f);
    out->resize(n);
    return n > 0 && n <= kMaxFile;
}

inline std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

// Every zone and link name of the database (any letter case) with the zone it reads from.
inline const std::map<std::string, std::string>& names() {
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> t;
        std::vector<unsigned char> zi;
        FILE* f = fopen((std::string(kRoot) + "tzdata.zi").c_str(), "rb");
        if (!f) return t;
        char line[512];
        std::vector<std::pair<std::string, std::string>> links;
        while (fgets(line, sizeof line, f)) {
            char a[256], b[256];
            if (line[0] == 'Z' && sscanf(line, "Z %255s", a) == 1) t[lower(a)] = a;
            if (line[0] == 'L' && sscanf(line, "L %255s %255s", a, b) == 2) links.push_back({a, b});
        }
        fclose(f);
        for (const auto& l : links) {
            const auto it = t.find(lower(l.first));
            if (it != t.end()) t[lower(l.second)] = it->second;
        }
        return t;
    }();
    return table;
}

// The zone of a database name (any letter case), read once; nullptr for no such zone.
inline const Zone* find(const std::string& name) {
    static std::map<std::string, std::unique_ptr<Zone>> loaded;
    const auto& n = names();
    const auto it = n.find(lower(name));
    if (it == n.end()) return nullptr;
    auto& slot = loaded[it->second];
    if (!slot) {
        std::unique_ptr<Zone> z(new Zone());
        std::vector<unsigned char> bytes;
        if (!read_file(kRoot + it->second, &bytes) || !parse_tzif(bytes, z.get())) return nullptr;
        slot = std::move(z);
    }
    return slot.get();
}

}  // namespace tzdb
