// The iCalendar platform seam on the host: code page 932 through iconv (as the C library
// knows it), zones through the tz database (tz_database.h: IANA names and their links, and
// the Windows names of the zone table through their IANA names), with the machine's own zone
// settable (Japan by default: a fixed +09:00, or any zone of the database by name). Used by
// the host tests, the fuzz target and the export of the interop check.
#pragma once

#include <iconv.h>

#include <cstring>
#include <string>

#include "calendar/date.h"
#include "config/cp932.h"
#include "schedule/ical_platform.h"
#include "schedule/utf8_text.h"
#include "schedule/zone_names.h"
#include "tz_database.h"

namespace ical_host {

struct Context {
    int local_offset = 540;          // this machine's zone, minutes east of UTC
    const char* local_zone = nullptr;  // or a zone of the tz database by name
    bool knows_zones = true;         // false: no zone name is known, as on a bare system
    const char* fixed_drives = "CD";
    const char* remote_drives = "N";  // mapped to a share
};

// One converter per direction, opened once.
inline iconv_t converter(bool to_cp932) {
    static const iconv_t to = iconv_open("CP932", "UTF-8");
    static const iconv_t from = iconv_open("UTF-8", "CP932");
    return to_cp932 ? to : from;
}

// One character through iconv; false when the code page lacks it.
inline bool convert_one(bool to_cp932, const char* in, size_t n, std::string* out) {
    iconv_t cd = converter(to_cp932);
    if (cd == (iconv_t)-1) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* src = const_cast<char*>(in);
    char* dst = buf;
    size_t left = n, room = sizeof buf;
    const bool ok = iconv(cd, &src, &left, &dst, &room) != (size_t)-1 && left == 0;
    if (ok) out->append(buf, sizeof buf - room);
    return ok;
}

inline int to_utf8(void*, const char* cp932, char* out, size_t size) {
    std::string s;
    for (const char* p = cp932; *p;) {
        const char* next = cp932_next(p);
        if (!convert_one(false, p, (size_t)(next - p), &s)) s += "\xEF\xBF\xBD";
        p = next;
    }
    const size_t n = utf8_cut(s.data(), s.size(), size - 1);
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
    return (int)n;
}

inline int from_utf8(void*, const char* utf8, size_t n, char* out, size_t size) {
    size_t used = 0;
    for (size_t i = 0; i < n;) {
        uint32_t cp;
        const size_t len = utf8_decode(utf8 + i, n - i, &cp);
        std::string c;
        if (cp == 0 || !convert_one(true, utf8 + i, len, &c)) c = "\x81\x45";
        i += len;
        if (used + c.size() > size - 1) break;
        std::memcpy(out + used, c.data(), c.size());
        used += c.size();
    }
    out[used] = '\0';
    return (int)used;
}

// The database zone a name stands for: the name itself or a link, a Windows zone's IANA
// name, each also after a vendor prefix.
inline const tzdb::Zone* zone_named(const char* tzid) {
    for (const char* p = tzid; p; p = std::strchr(p, '/')) {
        if (*p == '/') ++p;
        if (!*p) break;
        const char* iana = zone_iana_name(p);
        if (const tzdb::Zone* z = tzdb::find(iana ? iana : p)) return z;
    }
    return nullptr;
}

inline bool zone_to_utc(void* ctx, const char* tzid, const IcalTime* wall, IcalTime* utc) {
    if (!static_cast<Context*>(ctx)->knows_zones) return false;
    const tzdb::Zone* z = zone_named(tzid);
    if (!z) return false;
    *utc = tzdb::time_of(tzdb::utc_of_wall(*z, tzdb::seconds_of(*wall)));
    return true;
}

inline bool utc_to_local(void* ctx, const IcalTime* utc, IcalTime* local) {
    const Context* c = static_cast<Context*>(ctx);
    if (!c->local_zone) {
        *local = ical_add_minutes(*utc, c->local_offset);
        return true;
    }
    const tzdb::Zone* z = tzdb::find(c->local_zone);
    if (!z) return false;
    const int64_t s = tzdb::seconds_of(*utc);
    *local = tzdb::time_of(s + tzdb::offset_at(*z, s));
    return true;
}

inline bool local_zone_name(void* ctx, char* out, size_t size) {
    const Context* c = static_cast<Context*>(ctx);
    const char* name = c->local_zone ? c->local_zone : (c->local_offset == 540 ? "Asia/Tokyo" : nullptr);
    if (!name || std::strlen(name) >= size) return false;
    std::strcpy(out, name);
    return true;
}

// A change at a UTC instant as the system's rules state it: the day's place in its month and
// the wall time before it.
inline IcalZoneChange change_at(int64_t at, int32_t before) {
    const IcalTime t = tzdb::time_of(at + before);
    const int week = t.day + 7 > days_in_month(t.month, t.year) ? 5 : (t.day - 1) / 7 + 1;
    return IcalZoneChange{t.month, week, ical_weekday(t.year, t.month, t.day), t.hour, t.minute};
}

// The year's rules read off the database: standard time the lower offset of the year, the
// first change up and the first change down the daylight time's start and end.
inline bool local_zone_rules(void* ctx, int year, IcalZoneRules* out) {
    const Context* c = static_cast<Context*>(ctx);
    *out = IcalZoneRules{};
    if (!c->local_zone) {
        if (c->local_offset != 540) return false;
        out->standard = out->daylight = 540;
        return true;
    }
    const tzdb::Zone* z = tzdb::find(c->local_zone);
    if (!z) return false;
    const int64_t from = tzdb::seconds_of(IcalTime{year, 1, 1, 0, 0, 0}) - 14 * 3600;
    const int64_t to = tzdb::seconds_of(IcalTime{year + 1, 1, 1, 0, 0, 0}) - 14 * 3600;
    const std::vector<tzdb::Change> changes = tzdb::changes_between(*z, from, to);
    const tzdb::Change* up = nullptr;
    const tzdb::Change* down = nullptr;
    for (const tzdb::Change& ch : changes) {
        if (ch.after > ch.before && !up) up = &ch;
        if (ch.after < ch.before && !down) down = &ch;
    }
    // A year daylight time only begins in (or only ends in) starts in standard time (or in
    // daylight time): the other change is put at its first moment.
    const IcalZoneChange new_year{1, 1, ical_weekday(year, 1, 1), 0, 0};
    if (up || down) {
        out->standard = (down ? down->after : up->before) / 60;
        out->daylight = (up ? up->after : down->before) / 60;
        out->to_daylight = up ? change_at(up->at, up->before) : new_year;
        out->to_standard = down ? change_at(down->at, down->before) : new_year;
    } else {
        out->standard = out->daylight = tzdb::offset_at(*z, to - 1) / 60;
    }
    return true;
}

inline DriveKind drive_kind(void* ctx, char letter) {
    const Context* c = static_cast<Context*>(ctx);
    if (std::strchr(c->fixed_drives, letter)) return DriveKind::kFixed;
    if (std::strchr(c->remote_drives, letter)) return DriveKind::kRemote;
    return DriveKind::kOther;
}

inline IcalPlatform platform(Context* ctx) {
    return IcalPlatform{ctx,        to_utf8,         from_utf8,       zone_to_utc,
                        utc_to_local, drive_kind,    local_zone_name, local_zone_rules};
}

// A machine in Japan.
inline const IcalPlatform* japan() {
    static Context ctx;
    static const IcalPlatform p = platform(&ctx);
    return &p;
}

}  // namespace ical_host
