// What the iCalendar reader and writer need of the platform, handed in by the caller as one
// record: text conversion between code page 932 and UTF-8, and turning a zone's wall time
// into the machine's local time. The Windows program fills it from ical_platform_win.h.
#pragma once

#include <stddef.h>

#include "config/local_path.h"
#include "schedule/ical_time.h"

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
};
