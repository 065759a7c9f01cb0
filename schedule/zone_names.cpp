#include "schedule/zone_names.h"

#include <string.h>

#include <algorithm>

#include "config/ascii.h"

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

// The tz database's links from old or other names to the zone they stand for (its
// "backward" file and the like): US/Pacific is America/Los_Angeles. Names meaning UTC are
// left to kUtcNames.
struct ZoneLink {
    const char* name;
    const char* target;
};

const ZoneLink kLinks[] = {
    {"Africa/Asmera", "Africa/Nairobi"},
    {"Africa/Timbuktu", "Africa/Abidjan"},
    {"America/Argentina/ComodRivadavia", "America/Argentina/Catamarca"},
    {"America/Atka", "America/Adak"},
    {"America/Buenos_Aires", "America/Argentina/Buenos_Aires"},
    {"America/Catamarca", "America/Argentina/Catamarca"},
    {"America/Coral_Harbour", "America/Panama"},
    {"America/Cordoba", "America/Argentina/Cordoba"},
    {"America/Ensenada", "America/Tijuana"},
    {"America/Fort_Wayne", "America/Indiana/Indianapolis"},
    {"America/Godthab", "America/Nuuk"},
    {"America/Indianapolis", "America/Indiana/Indianapolis"},
    {"America/Jujuy", "America/Argentina/Jujuy"},
    {"America/Knox_IN", "America/Indiana/Knox"},
    {"America/Kralendijk", "America/Puerto_Rico"},
    {"America/Louisville", "America/Kentucky/Louisville"},
    {"America/Lower_Princes", "America/Puerto_Rico"},
    {"America/Marigot", "America/Puerto_Rico"},
    {"America/Mendoza", "America/Argentina/Mendoza"},
    {"America/Montreal", "America/Toronto"},
    {"America/Nipigon", "America/Toronto"},
    {"America/Pangnirtung", "America/Iqaluit"},
    {"America/Porto_Acre", "America/Rio_Branco"},
    {"America/Rainy_River", "America/Winnipeg"},
    {"America/Rosario", "America/Argentina/Cordoba"},
    {"America/Santa_Isabel", "America/Tijuana"},
    {"America/Shiprock", "America/Denver"},
    {"America/St_Barthelemy", "America/Puerto_Rico"},
    {"America/Thunder_Bay", "America/Toronto"},
    {"America/Virgin", "America/Puerto_Rico"},
    {"America/Yellowknife", "America/Edmonton"},
    {"Antarctica/South_Pole", "Pacific/Auckland"},
    {"Arctic/Longyearbyen", "Europe/Berlin"},
    {"Asia/Ashkhabad", "Asia/Ashgabat"},
    {"Asia/Calcutta", "Asia/Kolkata"},
    {"Asia/Choibalsan", "Asia/Ulaanbaatar"},
    {"Asia/Chongqing", "Asia/Shanghai"},
    {"Asia/Chungking", "Asia/Shanghai"},
    {"Asia/Dacca", "Asia/Dhaka"},
    {"Asia/Harbin", "Asia/Shanghai"},
    {"Asia/Istanbul", "Europe/Istanbul"},
    {"Asia/Kashgar", "Asia/Urumqi"},
    {"Asia/Katmandu", "Asia/Kathmandu"},
    {"Asia/Macao", "Asia/Macau"},
    {"Asia/Rangoon", "Asia/Yangon"},
    {"Asia/Saigon", "Asia/Ho_Chi_Minh"},
    {"Asia/Tel_Aviv", "Asia/Jerusalem"},
    {"Asia/Thimbu", "Asia/Thimphu"},
    {"Asia/Ujung_Pandang", "Asia/Makassar"},
    {"Asia/Ulan_Bator", "Asia/Ulaanbaatar"},
    {"Atlantic/Faeroe", "Atlantic/Faroe"},
    {"Atlantic/Jan_Mayen", "Europe/Berlin"},
    {"Australia/ACT", "Australia/Sydney"},
    {"Australia/Canberra", "Australia/Sydney"},
    {"Australia/Currie", "Australia/Hobart"},
    {"Australia/LHI", "Australia/Lord_Howe"},
    {"Australia/NSW", "Australia/Sydney"},
    {"Australia/North", "Australia/Darwin"},
    {"Australia/Queensland", "Australia/Brisbane"},
    {"Australia/South", "Australia/Adelaide"},
    {"Australia/Tasmania", "Australia/Hobart"},
    {"Australia/Victoria", "Australia/Melbourne"},
    {"Australia/West", "Australia/Perth"},
    {"Australia/Yancowinna", "Australia/Broken_Hill"},
    {"Brazil/Acre", "America/Rio_Branco"},
    {"Brazil/DeNoronha", "America/Noronha"},
    {"Brazil/East", "America/Sao_Paulo"},
    {"Brazil/West", "America/Manaus"},
    {"Canada/Atlantic", "America/Halifax"},
    {"Canada/Central", "America/Winnipeg"},
    {"Canada/Eastern", "America/Toronto"},
    {"Canada/Mountain", "America/Edmonton"},
    {"Canada/Newfoundland", "America/St_Johns"},
    {"Canada/Pacific", "America/Vancouver"},
    {"Canada/Saskatchewan", "America/Regina"},
    {"Canada/Yukon", "America/Whitehorse"},
    {"Chile/Continental", "America/Santiago"},
    {"Chile/EasterIsland", "Pacific/Easter"},
    {"Cuba", "America/Havana"},
    {"Egypt", "Africa/Cairo"},
    {"Eire", "Europe/Dublin"},
    {"Europe/Belfast", "Europe/London"},
    {"Europe/Bratislava", "Europe/Prague"},
    {"Europe/Busingen", "Europe/Zurich"},
    {"Europe/Kiev", "Europe/Kyiv"},
    {"Europe/Mariehamn", "Europe/Helsinki"},
    {"Europe/Nicosia", "Asia/Nicosia"},
    {"Europe/Podgorica", "Europe/Belgrade"},
    {"Europe/San_Marino", "Europe/Rome"},
    {"Europe/Tiraspol", "Europe/Chisinau"},
    {"Europe/Uzhgorod", "Europe/Kyiv"},
    {"Europe/Vatican", "Europe/Rome"},
    {"Europe/Zaporozhye", "Europe/Kyiv"},
    {"GB", "Europe/London"},
    {"GB-Eire", "Europe/London"},
    {"Hongkong", "Asia/Hong_Kong"},
    {"Iceland", "Africa/Abidjan"},
    {"Iran", "Asia/Tehran"},
    {"Israel", "Asia/Jerusalem"},
    {"Jamaica", "America/Jamaica"},
    {"Japan", "Asia/Tokyo"},
    {"Kwajalein", "Pacific/Kwajalein"},
    {"Libya", "Africa/Tripoli"},
    {"Mexico/BajaNorte", "America/Tijuana"},
    {"Mexico/BajaSur", "America/Mazatlan"},
    {"Mexico/General", "America/Mexico_City"},
    {"NZ", "Pacific/Auckland"},
    {"NZ-CHAT", "Pacific/Chatham"},
    {"Navajo", "America/Denver"},
    {"PRC", "Asia/Shanghai"},
    {"Pacific/Enderbury", "Pacific/Kanton"},
    {"Pacific/Johnston", "Pacific/Honolulu"},
    {"Pacific/Ponape", "Pacific/Guadalcanal"},
    {"Pacific/Samoa", "Pacific/Pago_Pago"},
    {"Pacific/Truk", "Pacific/Port_Moresby"},
    {"Pacific/Yap", "Pacific/Port_Moresby"},
    {"Poland", "Europe/Warsaw"},
    {"Portugal", "Europe/Lisbon"},
    {"ROC", "Asia/Taipei"},
    {"ROK", "Asia/Seoul"},
    {"Singapore", "Asia/Singapore"},
    {"Turkey", "Europe/Istanbul"},
    {"US/Alaska", "America/Anchorage"},
    {"US/Aleutian", "America/Adak"},
    {"US/Arizona", "America/Phoenix"},
    {"US/Central", "America/Chicago"},
    {"US/East-Indiana", "America/Indiana/Indianapolis"},
    {"US/Eastern", "America/New_York"},
    {"US/Hawaii", "Pacific/Honolulu"},
    {"US/Indiana-Starke", "America/Indiana/Knox"},
    {"US/Michigan", "America/Detroit"},
    {"US/Mountain", "America/Denver"},
    {"US/Pacific", "America/Los_Angeles"},
    {"US/Samoa", "Pacific/Pago_Pago"},
    {"W-SU", "Europe/Moscow"},
};

const char* const kUtcNames[] = {"UTC",       "GMT",           "Z",        "Zulu",
                                 "Universal", "Etc/UTC",       "Etc/GMT",  "Etc/Universal",
                                 "Etc/Zulu",  "Etc/UCT",       "UCT",      "Etc/GMT0",
                                 "GMT0",      "Etc/Greenwich", "Greenwich"};

bool same_name(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (ascii_lower(*a) != ascii_lower(*b)) return false;
    return *a == *b;
}

bool name_before(const char* a, const char* b) {
    for (; *a && ascii_lower(*a) == ascii_lower(*b); ++a, ++b) {
    }
    return (unsigned char)ascii_lower(*a) < (unsigned char)ascii_lower(*b);
}

// A table's rows ordered by one of their names (any letter case), made once, so that a name
// is found by binary search: a file names a zone for every time it holds.
template <typename Row, size_t N>
class SortedIndex {
public:
    SortedIndex(const Row (&rows)[N], const char* Row::*key) : key_(key) {
        for (size_t i = 0; i < N; ++i) order_[i] = &rows[i];
        // Stable, so that of equal keys the one listed first is found first.
        std::stable_sort(order_, order_ + N, [key](const Row* a, const Row* b) {
            return name_before(a->*key, b->*key);
        });
    }

    const Row* find(const char* name) const {
        const char* const Row::*key = key_;
        const Row* const* at = std::lower_bound(
            order_, order_ + N, name,
            [key](const Row* r, const char* n) { return name_before(r->*key, n); });
        return at != order_ + N && same_name((*at)->*key, name) ? *at : nullptr;
    }

private:
    const char* Row::*key_;
    const Row* order_[N];
};

const SortedIndex<ZoneName, sizeof kZones / sizeof kZones[0]>& by_iana() {
    static const SortedIndex<ZoneName, sizeof kZones / sizeof kZones[0]> index(kZones,
                                                                               &ZoneName::iana);
    return index;
}

const SortedIndex<ZoneName, sizeof kZones / sizeof kZones[0]>& by_windows() {
    static const SortedIndex<ZoneName, sizeof kZones / sizeof kZones[0]> index(
        kZones, &ZoneName::windows);
    return index;
}

const SortedIndex<ZoneLink, sizeof kLinks / sizeof kLinks[0]>& links() {
    static const SortedIndex<ZoneLink, sizeof kLinks / sizeof kLinks[0]> index(kLinks,
                                                                               &ZoneLink::name);
    return index;
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

// "GMT-2" (after "Etc/"): the zone two hours east of UTC, the sign turned as POSIX has it.
bool etc_offset(const char* name, int* minutes) {
    const char prefix[] = "etc/gmt";
    for (size_t i = 0; i + 1 < sizeof prefix; ++i)
        if (ascii_lower(name[i]) != prefix[i]) return false;
    const char* s = name + sizeof prefix - 1;
    if (*s != '+' && *s != '-') return false;
    const bool east = *s == '-';
    int hours = 0, digits = 0;
    for (++s; *s >= '0' && *s <= '9' && digits < 2; ++s, ++digits) hours = hours * 10 + (*s - '0');
    if (*s || digits == 0 || hours > (east ? 14 : 12)) return false;
    *minutes = east ? hours * 60 : -hours * 60;
    return true;
}

}  // namespace

const char* zone_canonical_name(const char* tzid) {
    if (!tzid) return nullptr;
    const char* found = nullptr;
    any_tail(tzid, [&](const char* name) {
        if (const ZoneLink* l = links().find(name)) found = l->target;
        return found != nullptr;
    });
    return found;
}

const char* zone_windows_name(const char* tzid) {
    if (!tzid) return nullptr;
    const char* found = nullptr;
    any_tail(tzid, [&](const char* name) {
        const ZoneName* z = by_iana().find(name);
        if (!z) {
            const ZoneLink* l = links().find(name);
            if (l) z = by_iana().find(l->target);
        }
        if (z) found = z->windows;
        return found != nullptr;
    });
    return found;
}

const char* zone_iana_name(const char* windows) {
    if (!windows) return nullptr;
    const ZoneName* z = by_windows().find(windows);
    return z ? z->iana : nullptr;
}

bool zone_fixed_offset(const char* tzid, int* minutes) {
    if (!tzid) return false;
    return any_tail(tzid, [&](const char* name) { return etc_offset(name, minutes); });
}

bool zone_is_utc(const char* tzid) {
    if (!tzid || !*tzid) return false;
    for (const char* n : kUtcNames)
        if (same_name(tzid, n)) return true;
    return false;
}
