// Writing the schedule as one iCalendar file (RFC 5545) that other calendar programs show
// on the very days this program does, for every year 1980..2079.
#pragma once

#include <stddef.h>

#include <string>

#include "schedule/entry.h"
#include "schedule/ical_platform.h"

struct IcalExportCounts {
    int written;  // events written
    int no_day;   // entries left out: they fall on no day of 1980..2079
};

// The whole calendar of list[0..count) into out (replaced): one VEVENT per entry with a day,
// lines ending CR LF and folded at 75 octets. now_utc is the time stamp of the events. Times
// are written in this machine's zone (ical_local_zone), with its VTIMEZONE.
void ical_write(const ScheduleEntry* list, int count, const IcalPlatform* platform,
                const IcalTime& now_utc, std::string* out, IcalExportCounts* counts);

// UID of an entry: derived from its date, time and memo, so the same entry gets the same
// UID in every export; nth > 0 tells apart entries equal in all of those.
void ical_entry_uid(const ScheduleEntry* e, int nth, char* out, size_t size);
