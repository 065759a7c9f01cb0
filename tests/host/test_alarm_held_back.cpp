// The notice of the alarms a mark ahead of the clock holds back: the mark's date and time,
// then every alarm due after the current minute less one up to the mark, and no other.
#include <gtest/gtest.h>

#include <string>

#include "entry_maker.h"
#include "schedule/alarm_held_back.h"
#include "schedule/entry_dates.h"

namespace {

const char kHead[] =
    "時計が、前回アラームを確かめた 2004年5月5日 10:00 より前になっています。\n"
    "同じアラームを二度鳴らさないため、この時刻までのアラームは鳴りません。";

struct HeldBack : testing::Test {
    ScheduleList list;
    void SetUp() override { list.count = 0; }
    int add(int h, int m, int before, int kind, const char* memo, int day = 5) {
        return append_entry(&list, make_alarm_entry(2004, 5, day, h, m, before, kind, memo));
    }
    std::string notice(bool twelve = false, bool after = false) {
        return held_back_notice(list, alarm_instant(2004, 5, 5, 9, 29), alarm_instant(2004, 5, 5, 10, 0),
                                twelve, after);
    }
};

TEST_F(HeldBack, NamesExactlyTheAlarmsUpToTheMark) {
    add(9, 29, 0, 1, "前の分");        // checked before: not held back
    add(9, 30, 0, 2, "今");            // the current minute
    add(10, 15, 15, 3, "十五分前");    // rings at 10:00, the mark
    add(10, 1, 0, 1, "後");            // after the mark: rings
    add(9, 45, 0, 0, "アラームなし");  // no alarm
    add(9, 45, 0, 1, "別の日", 6);
    EXPECT_EQ(notice(), std::string(kHead) +
                            "\n\n鳴らないアラーム:\n2004年5月5日  9:30  今\n2004年5月5日 10:15  十五分前");
}

TEST_F(HeldBack, TimesInTheFormTheSettingsChooseAndTheRestCounted) {
    for (int k = 0; k < kHeldBackLines + 3; ++k) add(9, 30 + k, 0, 1, "m");
    const std::string text = notice(true, true);
    EXPECT_EQ(text.find("2004年5月5日 10:00 AM より前"), text.find("2004年5月5日 "));
    EXPECT_NE(text.find("\n2004年5月5日 9:49 AM  m\nほか 3 件"), std::string::npos) << text;
    EXPECT_EQ(text.find("9:50 AM"), std::string::npos);
    EXPECT_NE(notice(true, false).find("AM 9:30  m"), std::string::npos);
}

TEST_F(HeldBack, WithNothingHeldBackOnlyTheMarkAndNoMarkNothing) {
    add(10, 1, 0, 1, "後");
    EXPECT_EQ(notice(), kHead);
    EXPECT_EQ(held_back_notice(list, 0, 0, false, false), "");
}

// A repeating and an every-year entry are named with the day of the occurrence held back,
// not their first date; one that rang before the window is not named.
TEST_F(HeldBack, OccurrencesNamedWithTheirOwnDay) {
    ScheduleEntry daily = make_alarm_entry(2004, 4, 1, 9, 45, 0, 1, "毎日");
    daily.repeat.kind = RepeatKind::kDaily;
    daily.repeat.interval = 1;
    append_entry(&list, daily);
    append_entry(&list, make_alarm_entry(-1, 5, 5, 9, 50, 0, 1, "毎年"));
    append_entry(&list, make_alarm_entry(-1, 5, 4, 9, 50, 0, 1, "昨日の毎年"));
    EXPECT_EQ(notice(), std::string(kHead) +
                            "\n\n鳴らないアラーム:\n2004年5月5日  9:45  毎日\n2004年5月5日  9:50  毎年");
}

}  // namespace
