#include "schedule/zone_names.h"

#include <string.h>

namespace {

struct ZoneName {
    const char* iana;
    const char* windows;
};

const ZoneName kZones[] = {
    {"Asia/Tokyo", "Tokyo Standard Time"},
    {"Japan", "Tokyo Standard Time"},
    {"Asia/Seoul", "Korea Standard Time"},
    {"Asia/Pyongyang", "North Korea Standard Time"},
    {"Asia/Shanghai", "China Standard Time"},
    {"Asia/Hong_Kong", "China Standard Time"},
    {"Asia/Macau", "China Standard Time"},
    {"Asia/Taipei", "Taipei Standard Time"},
    {"Asia/Singapore", "Singapore Standard Time"},
    {"Asia/Kuala_Lumpur", "Singapore Standard Time"},
    {"Asia/Manila", "Singapore Standard Time"},
    {"Asia/Bangkok", "SE Asia Standard Time"},
    {"Asia/Jakarta", "SE Asia Standard Time"},
    {"Asia/Ho_Chi_Minh", "SE Asia Standard Time"},
    {"Asia/Saigon", "SE Asia Standard Time"},
    {"Asia/Yangon", "Myanmar Standard Time"},
    {"Asia/Dhaka", "Bangladesh Standard Time"},
    {"Asia/Kathmandu", "Nepal Standard Time"},
    {"Asia/Kolkata", "India Standard Time"},
    {"Asia/Calcutta", "India Standard Time"},
    {"Asia/Karachi", "Pakistan Standard Time"},
    {"Asia/Tashkent", "West Asia Standard Time"},
    {"Asia/Kabul", "Afghanistan Standard Time"},
    {"Asia/Tehran", "Iran Standard Time"},
    {"Asia/Dubai", "Arabian Standard Time"},
    {"Asia/Riyadh", "Arab Standard Time"},
    {"Asia/Baghdad", "Arabic Standard Time"},
    {"Asia/Jerusalem", "Israel Standard Time"},
    {"Asia/Beirut", "Middle East Standard Time"},
    {"Asia/Vladivostok", "Vladivostok Standard Time"},
    {"Asia/Yakutsk", "Yakutsk Standard Time"},
    {"Asia/Irkutsk", "North Asia East Standard Time"},
    {"Asia/Krasnoyarsk", "North Asia Standard Time"},
    {"Asia/Novosibirsk", "N. Central Asia Standard Time"},
    {"Asia/Yekaterinburg", "Ekaterinburg Standard Time"},
    {"Asia/Ulaanbaatar", "Ulaanbaatar Standard Time"},
    {"Australia/Sydney", "AUS Eastern Standard Time"},
    {"Australia/Melbourne", "AUS Eastern Standard Time"},
    {"Australia/Canberra", "AUS Eastern Standard Time"},
    {"Australia/Hobart", "Tasmania Standard Time"},
    {"Australia/Brisbane", "E. Australia Standard Time"},
    {"Australia/Adelaide", "Cen. Australia Standard Time"},
    {"Australia/Darwin", "AUS Central Standard Time"},
    {"Australia/Perth", "W. Australia Standard Time"},
    {"Pacific/Guam", "West Pacific Standard Time"},
    {"Pacific/Auckland", "New Zealand Standard Time"},
    {"Pacific/Fiji", "Fiji Standard Time"},
    {"Pacific/Honolulu", "Hawaiian Standard Time"},
    {"America/Anchorage", "Alaskan Standard Time"},
    {"America/Los_Angeles", "Pacific Standard Time"},
    {"America/Vancouver", "Pacific Standard Time"},
    {"America/Tijuana", "Pacific Standard Time (Mexico)"},
    {"America/Denver", "Mountain Standard Time"},
    {"America/Edmonton", "Mountain Standard Time"},
    {"America/Phoenix", "US Mountain Standard Time"},
    {"America/Chicago", "Central Standard Time"},
    {"America/Winnipeg", "Central Standard Time"},
    {"America/Mexico_City", "Central Standard Time (Mexico)"},
    {"America/New_York", "Eastern Standard Time"},
    {"America/Toronto", "Eastern Standard Time"},
    {"America/Detroit", "Eastern Standard Time"},
    {"America/Indiana/Indianapolis", "US Eastern Standard Time"},
    {"America/Bogota", "SA Pacific Standard Time"},
    {"America/Lima", "SA Pacific Standard Time"},
    {"America/Caracas", "Venezuela Standard Time"},
    {"America/Halifax", "Atlantic Standard Time"},
    {"America/St_Johns", "Newfoundland Standard Time"},
    {"America/Santiago", "Pacific SA Standard Time"},
    {"America/Sao_Paulo", "E. South America Standard Time"},
    {"America/Argentina/Buenos_Aires", "Argentina Standard Time"},
    {"America/Buenos_Aires", "Argentina Standard Time"},
    {"Atlantic/Reykjavik", "Greenwich Standard Time"},
    {"Atlantic/Azores", "Azores Standard Time"},
    {"Europe/London", "GMT Standard Time"},
    {"Europe/Dublin", "GMT Standard Time"},
    {"Europe/Lisbon", "GMT Standard Time"},
    {"Europe/Paris", "Romance Standard Time"},
    {"Europe/Brussels", "Romance Standard Time"},
    {"Europe/Madrid", "Romance Standard Time"},
    {"Europe/Copenhagen", "Romance Standard Time"},
    {"Europe/Berlin", "W. Europe Standard Time"},
    {"Europe/Amsterdam", "W. Europe Standard Time"},
    {"Europe/Rome", "W. Europe Standard Time"},
    {"Europe/Vienna", "W. Europe Standard Time"},
    {"Europe/Zurich", "W. Europe Standard Time"},
    {"Europe/Stockholm", "W. Europe Standard Time"},
    {"Europe/Oslo", "W. Europe Standard Time"},
    {"Europe/Luxembourg", "W. Europe Standard Time"},
    {"Europe/Prague", "Central Europe Standard Time"},
    {"Europe/Budapest", "Central Europe Standard Time"},
    {"Europe/Belgrade", "Central Europe Standard Time"},
    {"Europe/Warsaw", "Central European Standard Time"},
    {"Europe/Zagreb", "Central European Standard Time"},
    {"Europe/Athens", "GTB Standard Time"},
    {"Europe/Bucharest", "GTB Standard Time"},
    {"Europe/Helsinki", "FLE Standard Time"},
    {"Europe/Kiev", "FLE Standard Time"},
    {"Europe/Kyiv", "FLE Standard Time"},
    {"Europe/Riga", "FLE Standard Time"},
    {"Europe/Tallinn", "FLE Standard Time"},
    {"Europe/Vilnius", "FLE Standard Time"},
    {"Europe/Istanbul", "Turkey Standard Time"},
    {"Europe/Moscow", "Russian Standard Time"},
    {"Africa/Cairo", "Egypt Standard Time"},
    {"Africa/Johannesburg", "South Africa Standard Time"},
    {"Africa/Lagos", "W. Central Africa Standard Time"},
    {"Africa/Nairobi", "E. Africa Standard Time"},
    {"Africa/Casablanca", "Morocco Standard Time"},
};

const char* const kUtcNames[] = {"UTC",       "GMT",           "Z",        "Zulu",
                                 "Universal", "Etc/UTC",       "Etc/GMT",  "Etc/Universal",
                                 "Etc/Zulu",  "Etc/UCT",       "UCT",      "Etc/GMT0",
                                 "GMT0",      "Etc/Greenwich", "Greenwich"};

bool same_name(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = (char)(y - 'A' + 'a');
        if (x != y) return false;
    }
    return *a == *b;
}

// The name itself, then every tail after a "/" (for vendor prefixes), tried in turn.
template <typename F>
bool any_tail(const char* tzid, F match) {
    for (const char* p = tzid; p; p = strchr(p, '/')) {
        if (*p == '/') ++p;
        if (*p && match(p)) return true;
    }
    return false;
}

}  // namespace

const char* zone_windows_name(const char* tzid) {
    if (!tzid) return nullptr;
    const char* found = nullptr;
    any_tail(tzid, [&](const char* name) {
        for (const ZoneName& z : kZones) {
            if (same_name(name, z.iana)) {
                found = z.windows;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool zone_is_utc(const char* tzid) {
    if (!tzid || !*tzid) return false;
    for (const char* n : kUtcNames)
        if (same_name(tzid, n)) return true;
    return false;
}
