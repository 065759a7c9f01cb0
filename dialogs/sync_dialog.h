// Rules of the sync settings dialog: what the address and the interval read as, when OK and
// the search for calendars are enabled, when plain http needs the user's yes, and how a
// calendar found on the server is shown in the list. The dialog procedure reads the fields
// (address, user and password as UTF-8, the interval in code page 932) and applies these.
#pragma once

#include <string>

#include "schedule/dav_discovery.h"
#include "schedule/dav_url.h"

// What the interval field accepts (EM_LIMITTEXT).
constexpr int kSyncIntervalFieldLimit = 4;

enum class SyncAddress {
    kEmpty,    // nothing but blanks: no account
    kInvalid,  // not an http or https URL the sync can use
    kValid,
};

// The address field: blanks around it dropped; *url (when given) gets a valid one.
SyncAddress sync_address_read(const char* text, DavUrl* url);

// The interval field in minutes, kSyncIntervalMin..kSyncIntervalMax (full-width digits too).
bool sync_interval_read(const char* text, int* minutes);

struct SyncFields {
    const char* address;
    const char* user;
    const char* password;
    const char* interval;
};

// OK: an empty address (the account is removed) or a valid one, a valid interval, and no
// password without a user name.
bool sync_ok_enabled(const SyncFields& f);
// 探す: a valid address and a user name, while no search is under way.
bool sync_find_enabled(const SyncFields& f, bool searching);

// Whether the password may go to url only after the user says yes: plain http to another
// machine that the user has not yet allowed.
bool sync_plain_question_needed(const DavUrl& url, bool confirmed);
// The user's yes for the old address still holds for the new one: the same server.
bool sync_plain_still_confirmed(const char* old_address, bool old_confirmed, const char* new_address);

// A calendar as its row in the list: "name - URL", or the URL alone without a name.
std::string sync_calendar_row(const DavCalendar& c);
