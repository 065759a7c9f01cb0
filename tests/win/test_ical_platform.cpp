// The iCalendar seam on the platform: code page 932 and UTF-8 through the system's
// conversions, zone names of both kinds through the system's zone table, this machine's own
// zone, and export and import of a file through the program's file layer.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/fileio.h"
#include "schedule/ical_file.h"
#include "schedule/ical_platform_win.h"
#include "schedule/ical_zone.h"
#include "win_scratch.h"

namespace {

const IcalPlatform* P() {
    return ical_platform_win();
}

std::string to_utf8(const char* cp932, size_t size = 256) {
    std::vector<char> out(size);
    const int n = P()->to_utf8(P()->context, cp932, out.data(), out.size());
    return n < 0 ? "<failed>" : std::string(out.data(), (size_t)n);
}

std::string from_utf8(const std::string& utf8, size_t size = 256) {
    std::vector<char> out(size);
    const int n = P()->from_utf8(P()->context, utf8.data(), utf8.size(), out.data(), out.size());
    return n < 0 ? "<failed>" : std::string(out.data(), (size_t)n);
}

TEST(IcalPlatformWin, CodePageToUtf8) {
    struct {
        const char* cp932;
        const char* utf8;
    } cases[] = {
        {"", ""},
        {"abc ;,\\", "abc ;,\\"},
        {"会議", u8"会議"},
        {"ソ表能", u8"ソ表能"},    // trail bytes 0x5C
        {"ｱｲｳ", u8"ｱｲｳ"},          // half-width katakana
        {"\x87\x40", u8"①"},       // NEC row 13
        {"\xFB\xFC", u8"髙"},      // IBM extension
        {"\x81\x60", u8"\uFF5E"},  // the code page's wave dash
    };
    for (const auto& c : cases) EXPECT_EQ(to_utf8(c.cp932), c.utf8) << c.cp932;
    // Cut on a character boundary.
    EXPECT_EQ(to_utf8("会議", 6), u8"会");
}

TEST(IcalPlatformWin, Utf8ToCodePage) {
    struct {
        std::string utf8;
        const char* cp932;
    } cases[] = {
        {"", ""},
        {u8"会議ソ表", "会議ソ表"},
        {u8"ｱｲｳ①髙", "ｱｲｳ\x87\x40\xFB\xFC"},
        {u8"\uFF5E", "\x81\x60"},
        {u8"caf\u00E9", "caf・"},  // no look-alike "e"
        {u8"\U0001F600!", "・!"},  // outside the code page, as one character
        {u8"\u00A0x", "・x"},
    };
    for (const auto& c : cases) EXPECT_EQ(from_utf8(c.utf8), c.cp932) << c.utf8;
    // Cut without splitting a double-byte character.
    EXPECT_EQ(from_utf8(u8"a会議", 5), "a会");
}

struct ZoneCase {
    const char* tzid;
    IcalTime wall;
    IcalTime utc;  // year 0: the zone is unknown
};

TEST(IcalPlatformWin, ZonesByEitherName) {
    const ZoneCase cases[] = {
        {"Asia/Tokyo", {2024, 1, 15, 9, 30, 0}, {2024, 1, 15, 0, 30, 0}},
        {"Tokyo Standard Time", {2024, 1, 15, 9, 30, 0}, {2024, 1, 15, 0, 30, 0}},
        {"asia/tokyo", {1985, 7, 1, 0, 0, 0}, {1985, 6, 30, 15, 0, 0}},
        {"America/New_York", {2024, 1, 15, 9, 0, 0}, {2024, 1, 15, 14, 0, 0}},
        {"America/New_York", {2024, 7, 15, 9, 0, 0}, {2024, 7, 15, 13, 0, 0}},
        {"Eastern Standard Time", {2024, 7, 15, 9, 0, 0}, {2024, 7, 15, 13, 0, 0}},
        {"Europe/London", {2024, 7, 1, 12, 0, 0}, {2024, 7, 1, 11, 0, 0}},
        {"/mozilla.org/20050126_1/Europe/Berlin", {2024, 1, 10, 12, 0, 0}, {2024, 1, 10, 11, 0, 0}},
        {"India Standard Time", {2024, 3, 1, 5, 30, 0}, {2024, 3, 1, 0, 0, 0}},
        // Old names through the links to the zones they stand for.
        {"US/Pacific", {2024, 7, 1, 9, 0, 0}, {2024, 7, 1, 16, 0, 0}},
        {"us/central", {2024, 1, 15, 9, 0, 0}, {2024, 1, 15, 15, 0, 0}},
        {"Asia/Calcutta", {2024, 3, 1, 5, 30, 0}, {2024, 3, 1, 0, 0, 0}},
        {"Mars/Olympus_Mons", {2024, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"Tokyo Standard Time\\Dynamic DST", {2024, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"", {2024, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        IcalTime utc = {};
        const bool known = P()->zone_to_utc(P()->context, c.tzid, &c.wall, &utc);
        EXPECT_EQ(known, c.utc.year != 0) << c.tzid;
        if (!known || !c.utc.year) continue;
        EXPECT_EQ(ical_time_compare(utc, c.utc), 0)
            << c.tzid << ": " << utc.year << "-" << utc.month << "-" << utc.day << " " << utc.hour
            << ":" << utc.minute;
    }
}

// This machine's zone by its own name, to UTC and back, gives the wall time again.
TEST(IcalPlatformWin, OwnZoneThereAndBack) {
    DYNAMIC_TIME_ZONE_INFORMATION dz = {};
    ASSERT_NE(GetDynamicTimeZoneInformation(&dz), TIME_ZONE_ID_INVALID);
    char name[128];
    ASSERT_GT(
        WideCharToMultiByte(CP_ACP, 0, dz.TimeZoneKeyName, -1, name, sizeof name, nullptr, nullptr),
        1)
        << "the system names no zone for this machine";
    const IcalTime walls[] = {
        {2024, 1, 15, 9, 30, 0}, {2024, 7, 15, 18, 45, 0}, {1999, 12, 31, 23, 59, 0}};
    for (const IcalTime& w : walls) {
        IcalTime utc, local;
        ASSERT_TRUE(P()->zone_to_utc(P()->context, name, &w, &utc)) << name;
        ASSERT_TRUE(P()->utc_to_local(P()->context, &utc, &local));
        EXPECT_EQ(ical_time_compare(local, w), 0) << name << " " << w.month << "/" << w.day;
    }
}

// The zone an export writes for this machine, read back by the reader's own VTIMEZONE code,
// gives the instants the system gives for the machine's zone with each year's rules, every
// third day of 1980..2079.
TEST(IcalPlatformWin, ExportedZoneAgreesWithTheSystem) {
    const IcalLocalZone& local = ical_local_zone(P());
    ASSERT_TRUE(local.tzid[0]) << "the platform names no zone for this machine";
    const std::string text = "BEGIN:VCALENDAR\r\n" + local.vtimezone + "END:VCALENDAR\r\n";
    std::vector<IcalZone> zones;
    ical_collect_zones(text.data(), text.size(), &zones);
    const IcalZone* z = ical_find_zone(zones, local.tzid);
    ASSERT_NE(z, nullptr) << local.vtimezone;
    DYNAMIC_TIME_ZONE_INFORMATION dz = {};
    ASSERT_NE(GetDynamicTimeZoneInformation(&dz), TIME_ZONE_ID_INVALID);
    int wrong = 0;
    for (int64_t day = ical_days_from_civil(1980, 1, 1);
         day <= ical_days_from_civil(2079, 12, 31) && wrong < 5; day += 3) {
        IcalTime wall{0, 0, 0, 12, 0, 0};
        ical_civil_from_days(day, &wall.year, &wall.month, &wall.day);
        SYSTEMTIME lt = {(WORD)wall.year, (WORD)wall.month, 0, (WORD)wall.day, 12, 0, 0, 0};
        SYSTEMTIME st;
        TIME_ZONE_INFORMATION year_rules;
        ASSERT_TRUE(GetTimeZoneInformationForYear((USHORT)wall.year, &dz, &year_rules));
        ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(&year_rules, &lt, &st));
        IcalTime utc;
        ASSERT_TRUE(ical_zone_to_utc(*z, wall, &utc));
        const IcalTime expect{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
        if (ical_time_compare(utc, expect) != 0) {
            ++wrong;
            ADD_FAILURE() << local.tzid << " " << wall.year << "-" << wall.month << "-" << wall.day;
        }
    }
}

// A file written through the program's file layer and read back through it with the
// platform's conversions: the entries come back; the memos keep their double-byte text.
TEST(IcalPlatformWin, ExportAndImportAFile) {
    const std::string dir = win_test::scratch_dir("ical");
    const std::string path = dir + "schedule.ics";
    std::vector<ScheduleEntry> list(4);
    const char* memos[] = {"会議 ソ表", "①髙ｱ", "a,b;c\\d", "元日"};
    const int dates[][3] = {{2004, 5, 5}, {-1, 1, 98}, {-1, 3, 99}, {-1, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        entry_blank(&list[i]);
        list[i].year = dates[i][0];
        list[i].month = dates[i][1];
        list[i].day = dates[i][2];
        list[i].holiday = i == 3;
        std::snprintf(list[i].memo, sizeof list[i].memo, "%s", memos[i]);
    }
    IcalExportCounts wc;
    ASSERT_EQ(
        ical_export_file(fileio_win(), path.c_str(), list.data(), 4, P(), ical_now_utc_win(), &wc),
        IcalFileResult::kDone);
    EXPECT_EQ(wc.written, 4);

    std::vector<ScheduleEntry> back(kMaxEntries);
    int count = 0;
    IcalImportCounts rc;
    ASSERT_EQ(
        ical_import_file(fileio_win(), path.c_str(), P(), back.data(), &count, kMaxEntries, &rc),
        IcalFileResult::kDone);
    EXPECT_EQ(rc.added, 4);
    ASSERT_EQ(count, 4);
    for (const ScheduleEntry& e : list) {
        bool found = false;
        for (int i = 0; i < count; ++i)
            found |=
                ical_same_appointment(&e, &back[i]) && (back[i].holiday != 0) == (e.holiday != 0);
        EXPECT_TRUE(found) << e.memo;
    }

    count = 0;
    EXPECT_EQ(ical_import_file(fileio_win(), (dir + "missing.ics").c_str(), P(), back.data(),
                               &count, kMaxEntries, &rc),
              IcalFileResult::kReadFailed);
    EXPECT_EQ(count, 0);
    win_test::remove_tree(dir);
}

}  // namespace
