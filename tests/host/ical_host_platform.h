// The iCalendar platform seam on the host: code page 932 through iconv (as the C library
// knows it), and a few fixed-offset zones, with the machine's own zone settable (Japan by
// default). Used by the host tests, the fuzz target and the export of the interop check.
#pragma once

#include <iconv.h>

#include <cstring>
#include <string>

#include "config/cp932.h"
#include "schedule/ical_platform.h"
#include "schedule/utf8_text.h"

namespace ical_host {

struct Zone {
    const char* name;
    int offset;  // minutes east of UTC
};

inline const Zone kZones[] = {
    {"Asia/Tokyo", 540},          {"Tokyo Standard Time", 540}, {"Asia/Kolkata", 330},
    {"India Standard Time", 330}, {"America/Phoenix", -420},    {"US Mountain Standard Time", -420},
    {"Asia/Shanghai", 480},       {"China Standard Time", 480},
};

struct Context {
    int local_offset = 540;  // this machine's zone, minutes east of UTC
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

inline bool zone_to_utc(void*, const char* tzid, const IcalTime* wall, IcalTime* utc) {
    for (const Zone& z : kZones) {
        if (std::strcmp(z.name, tzid) == 0) {
            *utc = ical_add_minutes(*wall, -z.offset);
            return true;
        }
    }
    return false;
}

inline bool utc_to_local(void* ctx, const IcalTime* utc, IcalTime* local) {
    *local = ical_add_minutes(*utc, static_cast<Context*>(ctx)->local_offset);
    return true;
}

inline DriveKind drive_kind(void* ctx, char letter) {
    const Context* c = static_cast<Context*>(ctx);
    if (std::strchr(c->fixed_drives, letter)) return DriveKind::kFixed;
    if (std::strchr(c->remote_drives, letter)) return DriveKind::kRemote;
    return DriveKind::kOther;
}

inline IcalPlatform platform(Context* ctx) {
    return IcalPlatform{ctx, to_utf8, from_utf8, zone_to_utc, utc_to_local, drive_kind};
}

// A machine in Japan.
inline const IcalPlatform* japan() {
    static Context ctx;
    static const IcalPlatform p = platform(&ctx);
    return &p;
}

}  // namespace ical_host
