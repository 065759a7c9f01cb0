// Time zones a file describes itself (VTIMEZONE): observances with their offsets and onsets,
// used for a TZID the platform does not know.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "schedule/ical_rule.h"
#include "schedule/ical_time.h"

struct IcalObservance {
    IcalTime start;       // first onset, wall time before it
    int offset_from = 0;  // minutes east of UTC before the onset
    int offset_to = 0;    // and from it on
    bool has_rule = false;
    IcalRule rule{};
    int rule_hour = -1;    // BYHOUR of the rule: the hour of its onsets (-1: the start's)
    int rule_minute = -1;  // BYMINUTE likewise
    // Every conversion compares the wall time with these, so they are counted once, as
    // ical_time_seconds counts, when the zone is read: the start, the rule's UNTIL (when it
    // has one) and the RDATE onsets (a bounded number, ascending).
    int64_t start_at = 0;
    int64_t until_at = 0;
    std::vector<int64_t> onsets;
};

struct IcalZone {
    char tzid[128] = "";  // unescaped ("Kuala Lumpur, Singapore")
    std::vector<IcalObservance> observances;
};

// Bounds on what a file may make the reader keep and search for every time it converts.
constexpr size_t kIcalMaxZones = 64;
// Room for the observances of a zone over a century of rule changes, as an export writes.
constexpr size_t kIcalMaxObservances = 256;
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

// The zone of that name, or nullptr. The name is compared unescaped, as the zone's is kept:
// a DTSTART's TZID=Kuala Lumpur\, Singapore names the zone "Kuala Lumpur\, Singapore".
const IcalZone* ical_find_zone(const std::vector<IcalZone>& zones, const char* tzid);

struct IcalPlatform;

// The wall time of a zone named tzid as UTC: through the platform when it knows the name
// (or the zone an old name links to), a fixed Etc/GMT±N zone by its offset, else through
// the file's own VTIMEZONE of that name. False when none of them knows it.
bool ical_wall_to_utc(const IcalPlatform* p, const std::vector<IcalZone>& zones,
                      const char* tzid, const IcalTime& wall, IcalTime* utc);

// This machine's zone as an export writes it: the name its times are labelled with and a
// VTIMEZONE describing it for 1980..2079, made from the platform's rules of each year (runs
// of years with the same rules as one pair of yearly observances). An empty name: the
// platform cannot tell its zone.
struct IcalLocalZone {
    char tzid[64] = "";
    std::string vtimezone;  // content lines, each ending CR LF
};

// The machine's zone, made once for each zone name (per thread): a zone's rules do not change
// while the program runs, and an export, or a fuzz campaign's many, need not ask the
// platform for a hundred years of rules every time.
const IcalLocalZone& ical_local_zone(const IcalPlatform* p);
