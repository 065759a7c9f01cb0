// Names of time zones as calendar files give them: IANA names (Asia/Tokyo), sometimes behind
// a vendor prefix ("/mozilla.org/20050126_1/Asia/Tokyo"), and the Windows names Outlook
// writes ("Tokyo Standard Time"). Windows knows its zones by the latter.
#pragma once

// The Windows zone for an IANA name of a common zone (any letter case, a vendor prefix
// allowed); nullptr when the name is not in the table.
const char* zone_windows_name(const char* tzid);

// Whether the name means UTC itself (UTC, GMT, Etc/UTC, Z and the like).
bool zone_is_utc(const char* tzid);
