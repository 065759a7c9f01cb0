// Schedule entries as sync items: an entry's iCalendar text under its UID, the entry an
// item's text gives, and the canonical text that tells whether two texts are the same
// version as the list holds entries (what an entry cannot hold does not count).
#pragma once

#include <string>

#include "schedule/entry.h"
#include "schedule/ical_platform.h"
#include "schedule/ical_time.h"
#include "schedule/sync_engine.h"

// The calendar text of one entry under uid, stamped now_utc; "" when the entry falls on no
// day of 1980..2079.
std::string sync_entry_text(const ScheduleEntry& entry, const std::string& uid,
                            const IcalPlatform* platform, const IcalTime& now_utc);

// The entry of an item's first event; false when it gives none.
bool sync_entry_read(const std::string& ical, const IcalPlatform* platform, ScheduleEntry* out);

// The canonical text of an item: its entry written with a fixed stamp; "" when it gives no
// entry. Thread-safe as the platform's functions are.
std::string sync_entry_canon(const std::string& ical, const IcalPlatform* platform);

// The canon above as the engine takes it (context: the IcalPlatform).
SyncCanon sync_entry_canon_of(const IcalPlatform* platform);
