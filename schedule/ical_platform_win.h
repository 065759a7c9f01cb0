// The iCalendar platform record on Windows: code page 932 and UTF-8 through the system's
// conversions, zones through the system's zone table in the registry, and the machine's
// own zone for local times and for the zone an export writes (its name and yearly rules
// from GetDynamicTimeZoneInformation and GetTimeZoneInformationForYear).
#pragma once

#include "schedule/ical_platform.h"

const IcalPlatform* ical_platform_win();

// The current time in UTC, the time stamp of an export.
IcalTime ical_now_utc_win();
