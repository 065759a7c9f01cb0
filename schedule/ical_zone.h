// Time zones a file describes itself (VTIMEZONE): observances with their offsets and onsets,
// used for a TZID the platform does not know.
#pragma once

#include <stddef.h>

#include <vector>

#include "schedule/ical_rule.h"
#include "schedule/ical_time.h"

struct IcalObservance {
    IcalTime start;       // first onset, wall time before it
    int offset_from = 0;  // minutes east of UTC before the onset
    int offset_to = 0;    // and from it on
    bool has_rule = false;
    IcalRule rule{};
    std::vector<IcalTime> onsets;  // RDATE onsets, a bounded number
};

struct IcalZone {
    char tzid[128] = "";
    std::vector<IcalObservance> observances;
};

// Bounds on what a file may make the reader keep and search for every time it converts.
constexpr size_t kIcalMaxZones = 64;
constexpr size_t kIcalMaxObservances = 16;
constexpr size_t kIcalMaxOnsets = 64;
constexpr size_t kIcalMaxAllOnsets = 4096;

// "+0900", "-0500", "+053000": minutes east of UTC; false when malformed.
bool ical_parse_offset(const char* s, size_t n, int* minutes);

// The zone's offset (minutes east of UTC) in force at a wall time: the offset the latest
// onset not after it brought; before every onset, the first observance's offset before it.
// False when the zone has no observance.
bool ical_zone_offset(const IcalZone& z, const IcalTime& wall, int* minutes);

// The wall time of the zone as UTC.
bool ical_zone_to_utc(const IcalZone& z, const IcalTime& wall, IcalTime* utc);

// Every VTIMEZONE of a calendar text with its usable observances (at most kIcalMaxZones
// zones of kIcalMaxObservances observances of kIcalMaxOnsets listed onsets, kIcalMaxAllOnsets in
// all).
void ical_collect_zones(const char* text, size_t n, std::vector<IcalZone>* out);

// The zone of that name, or nullptr.
const IcalZone* ical_find_zone(const std::vector<IcalZone>& zones, const char* tzid);
