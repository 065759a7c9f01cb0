// Names of time zones as calendar files give them: IANA names (Asia/Tokyo), their old names
// kept as links (US/Pacific, Asia/Calcutta), the fixed Etc/GMT±N zones, sometimes behind a
// vendor prefix ("/mozilla.org/20050126_1/Asia/Tokyo"), and the Windows names Outlook
// writes ("Tokyo Standard Time"). Windows knows its zones by the latter. Every look-up is a
// binary search over tables ordered once.
#pragma once

// The zone an old or other IANA name stands for ("US/Pacific" gives "America/Los_Angeles";
// any letter case, a vendor prefix allowed); nullptr when the name is no such link.
const char* zone_canonical_name(const char* tzid);

// The Windows zone for an IANA name of a common zone, or for a link to one (any letter case,
// a vendor prefix allowed); nullptr when the name is not in the table.
const char* zone_windows_name(const char* tzid);

// The IANA name of a Windows zone of the table (the first listed of the zones it stands
// for: "Eastern Standard Time" gives "America/New_York"); nullptr when it is not there.
const char* zone_iana_name(const char* windows);

// The offset of a fixed Etc zone, minutes east of UTC: "Etc/GMT-2" is two hours east of
// UTC, "Etc/GMT+5" five hours west (POSIX turns the sign). False for any other name.
bool zone_fixed_offset(const char* tzid, int* minutes);

// Whether the name means UTC itself (UTC, GMT, Etc/UTC, Z and the like).
bool zone_is_utc(const char* tzid);
