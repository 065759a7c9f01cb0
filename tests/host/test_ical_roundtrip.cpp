// Export then import gives back the same entries, for every kind of entry the schedule can
// hold; a second import of the same file adds nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_maker.h"
#include "ical_test_support.h"

namespace {

using namespace ical_test;

ScheduleEntry with_alarm(ScheduleEntry e, int kind, int before, const char* sound = "") {
    e.alarm_kind = (uint8_t)kind;
    e.minutes_before = before;
    std::snprintf(e.sound_file, sizeof e.sound_file, "%s", sound);
    return e;
}

// 80 bytes: 40 double-byte characters, many of them with the trail byte 0x5C.
std::string memo80() {
    std::string s;
    const char* chars[] = {"ソ", "表", "能", "予", "十", "会", "議", "①"};
    for (int i = 0; i < 40; ++i) s += chars[i % 8];
    return s;
}

std::vector<ScheduleEntry> every_kind() {
    const std::string m80 = memo80();
    std::vector<ScheduleEntry> list = {
        make_entry(2004, 5, 5, 0, "会議"),
        with_alarm(make_entry(2004, 5, 5, 1, "休日出勤", 9, 30), 2, 15),
        with_alarm(make_entry(2079, 12, 31, 0, "年越し", 23, 30), 1, 0),
        make_entry(1980, 1, 1, 0, "初日"),
        make_entry(2000, 2, 29, 0, "閏日"),
        make_entry(-1, 1, 1, 1, "元日"),
        make_entry(-1, 2, 28, 0, "月末"),
        with_alarm(make_entry(-1, 12, 31, 0, "大晦日", 18, 5), 3, 99, "C:\\Sounds\\ソ表\\能.wav"),
        make_entry(-1, 1, 99, 1, "成人の日"),
        make_entry(-1, 3, 99, 1, "春分の日"),
        make_entry(-1, 9, 99, 1, "秋分の日", 10, 0),
        with_alarm(make_entry(-1, 10, 99, 0, "体育の日", 7, 45), 1, 30),
        make_entry(2005, 6, 1, 0, m80.c_str()),
        make_entry(2005, 6, 2, 0, "a,b;c\\d:e \"q\""),
        make_entry(2005, 6, 3, 0, "ｱｲｳｴｵ 半角"),
        with_alarm(make_entry(2005, 6, 4, 0, "音", 0, 0), 3, 5, "d:/share/a b%20c.wav"),
    };
    for (int m = 1; m <= 12; ++m) {
        list.push_back(make_entry(-1, m, 98, 0, "第2月曜"));
        list.push_back(make_entry(-1, m, 97, m % 2, "第3月曜", m, 15));
    }
    list[3].scramble = 1;
    list[8].scramble = 1;
    return list;
}

TEST(IcalRoundTrip, EveryKindOfEntryComesBackAsItWas) {
    const std::vector<ScheduleEntry> list = every_kind();
    IcalExportCounts wc;
    const std::string text = export_text(list, &wc);
    EXPECT_EQ(wc.written, (int)list.size());
    EXPECT_EQ(wc.no_day, 0);

    const Imported r = import_text(text);
    ASSERT_TRUE(r.calendar);
    EXPECT_EQ(r.counts.read, (int)list.size());
    EXPECT_EQ(r.counts.added, (int)list.size());
    EXPECT_EQ(r.counts.changed, 0);
    EXPECT_EQ(r.counts.unreadable, 0);
    EXPECT_EQ(describe_all(r.entries), describe_all(sorted(list)));
    for (const auto& e : r.entries) {
        ScheduleEntry probe = e;
        compute_alarm_at(&probe);
        EXPECT_EQ(e.alarm_at, e.alarm_kind && e.has_time ? probe.alarm_at : 0u) << describe(e);
    }

    // The same file again: everything is already there.
    const Imported again = import_text(text, ical_host::japan(), r.entries);
    EXPECT_EQ(again.counts.already, (int)list.size());
    EXPECT_EQ(again.counts.added, 0);
    EXPECT_EQ(describe_all(again.entries), describe_all(r.entries));
}

// The export writes the sound file the user chose, wherever it lies; read back, a file on a
// share gives the system sound, and the message counts the entry as changed.
TEST(IcalRoundTrip, ASoundFileOnAShareComesBackAsTheSystemSound) {
    const std::vector<ScheduleEntry> list = {
        with_alarm(make_entry(2005, 6, 4, 0, "共有", 9, 0), 3, 5, "\\\\server\\share\\a b.wav"),
        with_alarm(make_entry(2005, 6, 4, 0, "手元", 10, 0), 3, 5, "C:\\a b.wav")};
    const std::string text = export_text(list);
    EXPECT_NE(text.find("ATTACH:\\\\server\\share\\a b.wav\r\n"), std::string::npos);
    const Imported r = import_text(text);
    EXPECT_EQ(describe_all(r.entries),
              (std::vector<std::string>{"2005-6-4 9:00 alarm2/5 [共有]",
                                        "2005-6-4 10:00 alarm3/5 C:\\a b.wav [手元]"}));
    EXPECT_EQ(r.counts.added, 2);
    EXPECT_EQ(r.counts.sound_refused, 1);
    EXPECT_EQ(r.counts.changed, 1);
}

TEST(IcalRoundTrip, ExportIsTheSameTwiceAndUidsAreUnique) {
    const std::vector<ScheduleEntry> list = every_kind();
    EXPECT_EQ(export_text(list), export_text(list));
    // Equal entries get UIDs of their own, still the same on every export.
    std::vector<ScheduleEntry> twins = {make_entry(2004, 1, 1, 0, "同じ"),
                                        make_entry(2004, 1, 1, 0, "同じ")};
    const std::string text = export_text(twins);
    const size_t first = text.find("UID:");
    const size_t second = text.find("UID:", first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(text.substr(first, text.find('\r', first) - first),
              text.substr(second, text.find('\r', second) - second));
}

}  // namespace
