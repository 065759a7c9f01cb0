// Finding the calendars behind an address the user gives (RFC 4791, RFC 6764): a calendar's
// own URL is taken as it is; a server root is asked through /.well-known/caldav, the user's
// principal (current-user-principal) and its calendar home (calendar-home-set), and the
// calendars there that take events are listed.
#pragma once

#include <string>
#include <vector>

#include "schedule/dav_session.h"

struct DavCalendar {
    std::string url;
    std::string name;  // display name, UTF-8 ("" none)
};

struct DavDiscovery {
    NetError error = NetError::kNone;  // kNotCalendar when nothing was found
    int status = 0;
    std::vector<DavCalendar> calendars;
};

void dav_discover(DavSession* session, const std::string& address, DavDiscovery* out);
