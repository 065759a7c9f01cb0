// What the iCalendar reader and writer need of the platform, handed in by the caller as one
// record: text conversion between code page 932 and UTF-8, and turning a zone's wall time
// into the machine's local time. The Windows program fills it from ical_platform_win.h.
#pragma once

#include <stddef.h>

#include "config/local_path.h"
#include "schedule/ical_time.h"

// A change of a zone's clocks in some year as the system's rules give it: on the week-th
// (5: the last) weekday of month, at a wall time read in the offset in force before it.
struct IcalZoneChange {
    int month;    // 1..12
    int week;     // 1..5
    int weekday;  // 0 = Sunday .. 6
    int hour, minute;
};

// A zone's rules in force in one year: standard time, and daylight time when it keeps one.
struct IcalZoneRules {
    int standard;  // minutes east of UTC
    int daylight;  // minutes east of UTC in daylight time; equal to standard: none kept
    IcalZoneChange to_daylight, to_standard;
};

struct IcalPlatform {
    void* context;  // passed back to every function

    // NUL-terminated code page 932 text as UTF-8 into out (out_size bytes), NUL-terminated
    // and cut on a character boundary. Returns the length, or -1 when nothing could be made.
    int (*to_utf8)(void* context, const char* cp932, char* out, size_t out_size);

    // n bytes of well-formed UTF-8 as code page 932 into out, NUL-terminated; a character the
    // code page lacks becomes "・"; cut to out_size - 1 bytes without splitting a character.
    // Returns the length, or -1.
    int (*from_utf8)(void* context, const char* utf8, size_t n, char* out, size_t out_size);

    // The wall time of a named zone (an IANA name such as Asia/Tokyo, or a Windows name such
    // as "Tokyo Standard Time") as UTC. False when the platform does not know the zone.
    bool (*zone_to_utc)(void* context, const char* tzid, const IcalTime* wall, IcalTime* utc);

    // A UTC time as the local date and time of this machine. False when it cannot convert.
    bool (*utc_to_local)(void* context, const IcalTime* utc, IcalTime* local);

    // What kind of drive a letter 'A'..'Z' is on this machine: an alarm's sound file is
    // taken only from a local fixed disk. nullptr: none is.
    DriveKind (*drive_kind)(void* context, char letter);

    // This machine's zone as a calendar file names it (its IANA name when the platform
    // knows one, else the system's own name) into out, NUL-terminated. False, or nullptr,
    // when it cannot tell: times are then written as they are, without a zone.
    bool (*local_zone_name)(void* context, char* out, size_t out_size);

    // The rules of this machine's zone in force in a year (1980..2079). False when the
    // platform cannot tell them for that year.
    bool (*local_zone_rules)(void* context, int year, IcalZoneRules* out);
};
