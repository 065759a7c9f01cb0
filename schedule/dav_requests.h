// Bodies of the requests a calendar client sends (RFC 4918 PROPFIND, RFC 4791 REPORTs,
// RFC 6578 sync-collection), as UTF-8 XML text.
#pragma once

#include <string>
#include <vector>

// PROPFIND of what discovery asks of any address: resource type, name, the principal, the
// calendar home, the components a calendar takes, its sync token and change tag.
std::string dav_body_propfind();

// REPORT calendar-query: the href and ETag of every event of a calendar.
std::string dav_body_event_etags();

// REPORT calendar-multiget: ETag and calendar data of the hrefs given (paths as the server
// wrote them or as this client made them).
std::string dav_body_multiget(const std::vector<std::string>& hrefs);

// REPORT sync-collection: what changed since token ("" for everything), with ETags.
std::string dav_body_sync_collection(const std::string& token);

// Text as XML character data: & < > " ' escaped.
std::string xml_escape(const std::string& text);
