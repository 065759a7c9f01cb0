// Time zones of iCalendar exchange: zone names (links, Etc zones, Windows names), zones as
// other programs describe them, and the zone an export writes, checked against the tz
// database on machines in several zones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_maker.h"
#include "ical_test_support.h"
#include "schedule/ical_zone.h"
#include "schedule/zone_names.h"

namespace {

using namespace ical_test;

TEST(IcalZoneNames, LinksWindowsNamesAndFixedZones) {
    struct {
        const char* name;
        const char* windows;    // nullptr: none
        const char* canonical;  // nullptr: no link
    } names[] = {
        {"US/Pacific", "Pacific Standard Time", "America/Los_Angeles"},
        {"us/central", "Central Standard Time", "America/Chicago"},
        {"/mozilla.org/20050126_1/US/Eastern", "Eastern Standard Time", "America/New_York"},
        {"Asia/Calcutta", "India Standard Time", "Asia/Kolkata"},
        {"Canada/Newfoundland", "Newfoundland Standard Time", "America/St_Johns"},
        {"Asia/Tokyo", "Tokyo Standard Time", nullptr},
        {"Mars/Olympus_Mons", nullptr, nullptr},
        {"US/Pacific-Old", nullptr, nullptr},
        {"Pacific", nullptr, nullptr},
    };
    for (const auto& c : names) {
        EXPECT_STREQ(zone_windows_name(c.name), c.windows) << c.name;
        EXPECT_STREQ(zone_canonical_name(c.name), c.canonical) << c.name;
    }
    // Back from the Windows name: the first zone listed for it.
    EXPECT_STREQ(zone_iana_name("Eastern Standard Time"), "America/New_York");
    EXPECT_STREQ(zone_iana_name("tokyo standard time"), "Asia/Tokyo");
    EXPECT_EQ(zone_iana_name("Eastern"), nullptr);

    struct {
        const char* name;
        int offset;  // minutes east; 9999: not a fixed zone
    } fixed[] = {
        {"Etc/GMT-2", 120},  {"Etc/GMT+5", -300}, {"etc/gmt-14", 840},  {"Etc/GMT+12", -720},
        {"x/Etc/GMT-9", 540}, {"Etc/GMT-15", 9999}, {"Etc/GMT+13", 9999}, {"Etc/GMT", 9999},
        {"Etc/GMT-", 9999},  {"Etc/GMT-2x", 9999}, {"Etc/GMT-002", 9999}, {"GMT-2", 9999},
    };
    for (const auto& c : fixed) {
        int offset = 9999;
        EXPECT_EQ(zone_fixed_offset(c.name, &offset), c.offset != 9999) << c.name;
        EXPECT_EQ(offset, c.offset) << c.name;
    }
}

// Events in zones as other programs name and describe them, read on a machine in Japan
// that knows the tz database, and on one that knows no zone name at all.
TEST(IcalZoneNames, EventsInZonesOfOtherPrograms) {
    const std::vector<std::string> kuala_lumpur = {
        "BEGIN:VTIMEZONE", "TZID:Kuala Lumpur\\, Singapore", "BEGIN:STANDARD",
        "DTSTART:16010101T000000", "TZOFFSETFROM:+0800", "TZOFFSETTO:+0800", "END:STANDARD",
        "END:VTIMEZONE"};
    // Daylight time from the second Sunday of March 02:00 as one program writes it: the onset's
    // time only in BYHOUR and BYMINUTE.
    const std::vector<std::string> notes_eastern = {
        "BEGIN:VTIMEZONE", "TZID:Eastern", "BEGIN:STANDARD", "DTSTART:19501105T000000",
        "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500",
        "RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=2;BYDAY=1SU;BYMONTH=11", "END:STANDARD",
        "BEGIN:DAYLIGHT", "DTSTART:19500312T000000", "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400",
        "RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=2;BYDAY=2SU;BYMONTH=3", "END:DAYLIGHT",
        "END:VTIMEZONE"};
    ical_host::Context bare;
    bare.knows_zones = false;
    const IcalPlatform bare_platform = ical_host::platform(&bare);
    struct {
        const char* start;
        const char* japan;  // as read on a machine in Japan
        const char* bare;   // as read where no zone name is known (empty: the same)
    } cases[] = {
        {"DTSTART;TZID=US/Pacific:20240701T090000", "2024-7-2 1:00", "2024-7-1 9:00"},
        {"DTSTART;TZID=US/Central:20240115T090000", "2024-1-16 0:00", "2024-1-15 9:00"},
        {"DTSTART;TZID=Asia/Calcutta:20240115T090000", "2024-1-15 12:30", "2024-1-15 9:00"},
        {"DTSTART;TZID=Etc/GMT-2:20240115T090000", "2024-1-15 16:00", ""},
        {"DTSTART;TZID=Etc/GMT+5:20240115T090000", "2024-1-15 23:00", ""},
        {"DTSTART;TZID=Kuala Lumpur\\, Singapore:20240115T090000", "2024-1-15 10:00", ""},
        {"DTSTART;TZID=\"Kuala Lumpur, Singapore\":20240115T090000", "2024-1-15 10:00", ""},
        {"DTSTART;TZID=\"Kuala Lumpur\\, Singapore\":20240115T090000", "2024-1-15 10:00", ""},
        {"DTSTART;TZID=Eastern:20240310T013000", "2024-3-10 15:30", ""},
        {"DTSTART;TZID=Eastern:20240310T030000", "2024-3-10 16:00", ""},
        {"DTSTART;TZID=Eastern:20241103T003000", "2024-11-3 13:30", ""},
        {"DTSTART;TZID=Eastern:20241103T023000", "2024-11-3 16:30", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = kuala_lumpur;
        lines.insert(lines.end(), notes_eastern.begin(), notes_eastern.end());
        const auto ev = event({c.start});
        lines.insert(lines.end(), ev.begin(), ev.end());
        const std::string text = calendar(lines);
        const Imported japan = import_text(text);
        ASSERT_EQ(japan.entries.size(), 1u) << c.start;
        EXPECT_EQ(describe(japan.entries[0]), std::string(c.japan) + " [x]") << c.start;
        const Imported bare_read = import_text(text, &bare_platform);
        ASSERT_EQ(bare_read.entries.size(), 1u) << c.start;
        EXPECT_EQ(describe(bare_read.entries[0]), std::string(c.bare[0] ? c.bare : c.japan) + " [x]")
            << c.start;
    }
}

// Whether a wall time of the zone is read one way only: not skipped, not met twice.
bool unambiguous(const tzdb::Zone& z, int64_t wall) {
    const int32_t a = tzdb::offset_at(z, wall - 86400), b = tzdb::offset_at(z, wall + 86400);
    const bool a_fits = tzdb::offset_at(z, wall - a) == a, b_fits = tzdb::offset_at(z, wall - b) == b;
    return a == b ? a_fits : a_fits != b_fits;
}

// The zone an export writes, read back by the reader's own VTIMEZONE code, gives every day
// of 1980..2079 the instants the tz database gives, before, between and after the changes.
TEST(IcalLocalZone, DescribesTheMachineZoneForEveryYear) {
    for (const char* name : {"America/New_York", "Europe/London", "Australia/Sydney",
                             "America/Sao_Paulo", "Asia/Tokyo", "Asia/Kolkata", "Asia/Tehran"}) {
        ical_host::Context ctx;
        ctx.local_zone = name;
        const IcalPlatform p = ical_host::platform(&ctx);
        const IcalLocalZone& local = ical_local_zone(&p);
        ASSERT_STREQ(local.tzid, name);
        const std::string text = "BEGIN:VCALENDAR\r\n" + local.vtimezone + "END:VCALENDAR\r\n";
        std::vector<IcalZone> zones;
        ical_collect_zones(text.data(), text.size(), &zones);
        const IcalZone* z = ical_find_zone(zones, name);
        ASSERT_NE(z, nullptr) << name;
        const tzdb::Zone* db = tzdb::find(name);
        ASSERT_NE(db, nullptr) << name;
        int wrong = 0;
        for (int64_t day = ical_days_from_civil(1980, 1, 1);
             day <= ical_days_from_civil(2079, 12, 31) && wrong < 5; ++day) {
            // Noon of every fifth day, and hours on both sides of the changes of a day near one.
            const int64_t noon = day * 86400 + 43200;
            const bool near = tzdb::offset_at(*db, noon - 2 * 86400) !=
                              tzdb::offset_at(*db, noon + 2 * 86400);
            if (!near && day % 5 != 0) continue;
            for (int minute : {12 * 60, 45, 3 * 60 + 30, 20 * 60}) {
                if (minute != 12 * 60 && !near) break;
                const int64_t wall = day * 86400 + minute * 60;
                if (!unambiguous(*db, wall)) continue;
                IcalTime utc;
                ASSERT_TRUE(ical_zone_to_utc(*z, tzdb::time_of(wall), &utc));
                const int64_t expect = tzdb::utc_of_wall(*db, wall);
                if (tzdb::seconds_of(utc) != expect) {
                    ++wrong;
                    const IcalTime w = tzdb::time_of(wall);
                    ADD_FAILURE() << name << " " << w.year << "-" << w.month << "-" << w.day
                                  << " " << minute / 60 << ":" << minute % 60;
                }
            }
        }
    }
}

// A schedule exported on a machine in New York (and one that cannot tell its zone) and read
// on a machine in Japan: the same instants. The zone is made again when the machine's changes.
TEST(IcalLocalZone, ExportInTheMachineZone) {
    const std::vector<ScheduleEntry> list = {make_entry(2024, 7, 1, 0, "summer", 9, 0),
                                             make_entry(2024, 1, 15, 0, "winter", 9, 0),
                                             make_entry(-1, 7, 4, 0, "yearly", 9, 0),
                                             make_entry(2024, 5, 5, 0, "day")};
    ical_host::Context ny, london, unknown;
    ny.local_zone = "America/New_York";
    london.local_zone = "Europe/London";
    unknown.local_offset = -300;  // a fixed offset the platform has no name for
    const IcalPlatform pn = ical_host::platform(&ny), pl = ical_host::platform(&london),
                       pu = ical_host::platform(&unknown);
    ical_host::Context bare;
    bare.knows_zones = false;
    const IcalPlatform pb = ical_host::platform(&bare);

    const std::string from_ny = export_text(list, nullptr, &pn);
    EXPECT_NE(from_ny.find("DTSTART;TZID=America/New_York:20240701T090000"), std::string::npos);
    EXPECT_NE(from_ny.find("BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"), std::string::npos);
    const std::vector<std::string> in_japan = {"2024-1-15 23:00 [winter]", "2024-5-5 [day]",
                                               "2024-7-1 22:00 [summer]",
                                               "-1-7-4 22:00 [yearly]"};
    // Through the tz database, and through the file's VTIMEZONE alone.
    EXPECT_EQ(describe_all(import_text(from_ny).entries), in_japan);
    EXPECT_EQ(describe_all(import_text(from_ny, &pb).entries), in_japan);
    // Read on the machine that wrote it: the entries as they were.
    EXPECT_EQ(describe_all(import_text(from_ny, &pn).entries), describe_all(sorted(list)));

    const std::string from_london = export_text(list, nullptr, &pl);
    EXPECT_NE(from_london.find("DTSTART;TZID=Europe/London:20240701T090000"), std::string::npos);
    EXPECT_EQ(from_london.find("America/New_York"), std::string::npos);
    EXPECT_EQ(export_text(list, nullptr, &pn), from_ny);

    const std::string floating = export_text(list, nullptr, &pu);
    EXPECT_NE(floating.find("DTSTART:20240701T090000\r\n"), std::string::npos);
    EXPECT_EQ(floating.find("VTIMEZONE"), std::string::npos);
    EXPECT_EQ(floating.find("TZID"), std::string::npos);
}

}  // namespace
