// The alarm window's rules apart from the window: how it grows with its alarms and when it
// scrolls, the count line, alarms joining the window, and the alarms put off with 5分後.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "calendar/filetime.h"
#include "dialogs/alarm_layout.h"
#include "schedule/alarm_batch.h"
#include "schedule/alarm_snooze.h"
#include "schedule/alarm_text.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"

namespace {

// The template at 96 DPI with a 13-pixel font: a 50-pixel text above the buttons.
AlarmLayoutInput window_for(int lines, int work_h) {
    AlarmLayoutInput in = {};
    in.lines = lines;
    in.line_height = 13;
    in.edit_height = 50;
    in.window_width = 344;
    in.window_height = 112;
    in.work = {0, 0, 1024, work_h};
    in.screen_w = 1024;
    in.screen_h = 768;
    return in;
}

TEST(AlarmLayout, GrowsByWholeBlocksThenScrollsAtTheWorkArea) {
    struct Case {
        const char* what;
        int lines, work_h;
        bool scrolls;
        int grow, height, y;
    } cases[] = {
        {"one alarm: the template", 3, 738, false, 0, 112, 328},
        {"two alarms", 7, 738, false, 93 - 50, 155, 306},
        {"five alarms", 19, 738, false, 249 - 50, 311, 228},
        {"just within the work area", 50, 720, false, 652 - 50, 714, 6},
        {"one line more: scrolls", 51, 720, true, 720 - 112, 720, 0},
        {"forty alarms", 159, 738, true, 738 - 112, 738, 0},
        {"a work area smaller than the template", 7, 100, true, 0, 112, 0},
    };
    for (const Case& c : cases) {
        const AlarmLayout l = alarm_window_layout(window_for(c.lines, c.work_h));
        EXPECT_EQ(l.scrolls, c.scrolls) << c.what;
        EXPECT_EQ(l.grow, c.grow) << c.what;
        EXPECT_EQ(l.window_height, c.height) << c.what;
        EXPECT_EQ(l.x, (1024 - 344) / 2) << c.what;
        EXPECT_EQ(l.y, c.y) << c.what;
    }
}

TEST(AlarmLayout, StaysWithinAWorkAreaThatDoesNotStartAtTheTop) {
    AlarmLayoutInput in = window_for(19, 0);
    in.work = {100, 200, 1024, 738};  // a taskbar on the left and one at the top
    EXPECT_EQ(alarm_window_layout(in).y, 228);  // centred: already inside
    in.lines = 31;  // 405 pixels of text: the centre would reach above the work area
    const AlarmLayout tall = alarm_window_layout(in);
    EXPECT_EQ(tall.window_height, 112 + 405 - 50);
    EXPECT_EQ(tall.y, 200);
    in.screen_w = 400;  // the window is centred on the screen, then moved right of the bar
    EXPECT_EQ(alarm_window_layout(in).x, 100);
}

TEST(AlarmLayout, LinesOfAText) {
    struct Case {
        const char* text;
        int lines;
    } cases[] = {{"", 0}, {"a", 1}, {"a\r\nb", 2}, {"a\r\nb\r\n", 2}, {"a\r\n\r\nb", 3},
                 {"\r\n", 1}, {nullptr, 0}};
    for (const Case& c : cases) EXPECT_EQ(text_line_count(c.text), c.lines) << (c.text ? c.text : "null");
}

class AlarmBatches : public testing::Test {
protected:
    void SetUp() override { schedule_clear(&schedule); }
    void TearDown() override { schedule_clear(&schedule); }
    static std::unique_ptr<AlarmBatch> batch(std::initializer_list<int> idx) {
        std::unique_ptr<AlarmBatch> b(new AlarmBatch);
        alarm_batch_make(b.get(), schedule, idx.begin(), static_cast<int>(idx.size()));
        return b;
    }
    static std::string memos(const AlarmBatch& b) {
        std::string s;
        for (int k = 0; k < b.count; ++k) s += b.item[k].entry.memo;
        return s;
    }
};

TEST_F(AlarmBatches, MissedAlarmsSayItAndTheCountLineLeads) {
    append_entry(&schedule, make_alarm_entry(2004, 6, 1, 9, 0, 0, 1, "早朝"));
    append_entry(&schedule, make_alarm_entry(2004, 6, 1, 10, 0, 15, 1, "会議"));
    append_entry(&schedule, make_alarm_entry(2004, 6, 1, 10, 0, 0, 1, "昼"));
    auto b = batch({0, 1, 2});
    alarm_batch_mark_missed(b.get(), schedule.entries[1].alarm_at);  // 09:45 and before
    std::strcpy(schedule.entries[1].memo, "edited");  // the batch keeps the texts it had
    char out[1024];
    EXPECT_EQ(format_alarm_batch(out, sizeof out, b.get(), false, false, true), 3);
    EXPECT_STREQ(out,
                 "アラーム 3件\r\n\r\n"
                 "2004年6月1日  9:00\r\n早朝\r\n(起動前の予定)\r\n\r\n"
                 "2004年6月1日 10:00\r\n会議\r\n(起動前の予定)\r\n\r\n"
                 "2004年6月1日 10:00\r\n昼\r\n予定時刻です");
    // Without room for the count line nothing is written.
    EXPECT_EQ(format_alarm_batch(out, 8, b.get(), false, false, true), 0);
    EXPECT_STREQ(out, "");
}

TEST_F(AlarmBatches, JoiningAddsOnlyWhatIsNotOnShow) {
    for (const char* m : {"a", "b", "c"}) append_entry(&schedule, make_alarm_entry(2004, 6, 1, 9, 0, 0, 1, m));
    auto shown = batch({0, 1});
    struct Step {
        std::initializer_list<int> idx;
        int added;
        const char* now;
    } steps[] = {{{1}, 0, "ab"}, {{2, 0}, 1, "abc"}, {{}, 0, "abc"}, {{0, 1, 2}, 0, "abc"}};
    for (const Step& s : steps) {
        EXPECT_EQ(alarm_batch_add(shown.get(), batch(s.idx).get()), s.added);
        EXPECT_EQ(memos(*shown), s.now);
    }
    // The same entry at another instant (it was changed) is another alarm.
    schedule.entries[0].alarm_at += kTicksPerMinute;
    EXPECT_EQ(alarm_batch_add(shown.get(), batch({0}).get()), 1);
    EXPECT_EQ(memos(*shown), "abca");
    // The lead of what joined: the first with a sound from there on.
    schedule.entries[1].alarm_kind = 2;
    auto with_sound = batch({0, 1, 2});
    EXPECT_EQ(alarm_batch_lead(with_sound.get(), 0), 1);
    EXPECT_EQ(alarm_batch_lead(with_sound.get(), 2), 2);
    EXPECT_EQ(alarm_batch_lead(with_sound.get(), 3), -1);
}

TEST_F(AlarmBatches, SnoozedAlarmsComeBackOnceTheirTimeHasCome) {
    for (const char* m : {"a", "b", "c"}) append_entry(&schedule, make_alarm_entry(2004, 6, 1, 9, 0, 0, 1, m));
    SnoozeQueue q;
    // a put off just before the millisecond count wraps, b a little later for 10 s, c after
    // the wrap.
    ASSERT_TRUE(snooze_add(&q, *batch({0}), 0xFFFF0000u, kSnoozeMs));
    ASSERT_TRUE(snooze_add(&q, *batch({1}), 0xFFFFFF00u, 10000));
    ASSERT_TRUE(snooze_add(&q, *batch({2}), 100, kSnoozeMs));
    EXPECT_EQ(snooze_waiting(q), 3);
    struct Step {
        uint32_t now;
        const char* back;  // memos of the batch taken, "" for none
    } steps[] = {
        // b: 0xFFFFFF00 + 10000 is 9744 after the wrap; a: 0xFFFF0000 + 300000 is 234464.
        {9743, ""},   {9744, "b"},   {9744, ""},   {234463, ""},
        {234464, "a"}, {300099, ""}, {300100, "c"},
    };
    for (const Step& s : steps) {
        const auto b = snooze_take_due(&q, s.now);
        EXPECT_EQ(b ? memos(*b) : "", s.back) << s.now;
    }
    EXPECT_EQ(snooze_waiting(q), 0);
}

TEST_F(AlarmBatches, AFullSnoozeQueueJoinsTheLastBatchAndDropsNothing) {
    for (const char* m : {"a", "b"}) append_entry(&schedule, make_alarm_entry(2004, 6, 1, 9, 0, 0, 1, m));
    SnoozeQueue q;
    for (int k = 0; k < kSnoozeSlots; ++k) ASSERT_TRUE(snooze_add(&q, *batch({0}), 100u * k, 1000));
    ASSERT_TRUE(snooze_add(&q, *batch({1}), 5000, 1000));
    EXPECT_EQ(snooze_waiting(q), kSnoozeSlots);
    std::string back;
    for (uint32_t now = 5000; now <= 6000; now += 50) {
        while (auto b = snooze_take_due(&q, now)) back += memos(*b) + (now < 6000 ? "<" : ">");
    }
    // Seven batches of a were due, longest put off first; the last one waited with b.
    EXPECT_EQ(back, "a<a<a<a<a<a<a<ab>");
    set_snooze_interval(0);
    EXPECT_EQ(snooze_interval(), kSnoozeMs);
    set_snooze_interval(1500);
    EXPECT_EQ(snooze_interval(), 1500u);
    set_snooze_interval(0);
}

}  // namespace
