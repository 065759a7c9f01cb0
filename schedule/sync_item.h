// One calendar item as it travels between the local list and a calendar server: its UID and
// its iCalendar text (RFC 5545, one VCALENDAR holding the VEVENT of that UID), with the
// text operations the sync needs: the UID of a text, a copy under another UID, and the hash
// that tells one version from another.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

struct SyncItem {
    std::string uid;
    std::string ical;
};

// FNV-1a, 64 bits, of text[0..n).
uint64_t sync_hash(const char* text, size_t n);
inline uint64_t sync_hash(const std::string& s) { return sync_hash(s.data(), s.size()); }

// The UID of the first VEVENT of a calendar text (unfolded, as written); "" when there is
// none or it is longer than kSyncMaxUid bytes.
constexpr size_t kSyncMaxUid = 1024;
std::string ical_event_uid(const char* text, size_t n);

// The text without its METHOD property: a calendar object on a server has none (RFC 4791).
std::string ical_without_method(const std::string& text);

// The text with every UID property of its components set to uid (folded at 75 octets);
// every other line as it was.
std::string ical_with_uid(const std::string& text, const std::string& uid);
