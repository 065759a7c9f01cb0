#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "calendar/filetime.h"
#include "schedule/alarm_batch.h"
#include "schedule/alarm_text.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"

namespace {

class AlarmTextTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        std::memset(schedule.entries, 0, sizeof schedule.entries);
        schedule.count = 0;
    }
    static int add(int y, int m, int d, int hour, int minute, int before, int kind,
                   const char* memo) {
        return append_entry(&schedule, make_alarm_entry(y, m, d, hour, minute, before, kind, memo));
    }
};

TEST(AlarmTime, Forms) {
    struct {
        int hour, minute;
        bool twelve, after;
        const char* text;
    } cases[] = {
        {9, 5, false, false, " 9:05"},   {23, 59, false, true, "23:59"},
        {0, 0, false, false, " 0:00"},   {12, 5, true, false, "PM 0:05"},
        {0, 5, true, false, "AM 0:05"},  {13, 7, true, true, "1:07 PM"},
        {11, 59, true, true, "11:59 AM"}, {23, 0, true, false, "PM 11:00"},
        {12, 0, true, true, "0:00 PM"},
    };
    for (const auto& c : cases) {
        char out[32];
        format_alarm_time(out, sizeof out, c.hour, c.minute, c.twelve, c.after);
        EXPECT_STREQ(out, c.text) << c.hour << ":" << c.minute;
    }
}

TEST_F(AlarmTextTest, EntryForms) {
    const int ten = add(2004, 6, 1, 9, 5, 10, 1, "会議");
    const int zero = add(2004, 12, 31, 13, 7, 0, 2, "大掃除");
    char out[256];
    format_alarm_entry(out, sizeof out, &schedule.entries[ten], false, false);
    EXPECT_STREQ(out, "2004年6月1日  9:05\r\n会議\r\n10 分前です");
    format_alarm_entry(out, sizeof out, &schedule.entries[zero], true, true);
    EXPECT_STREQ(out, "2004年12月31日 1:07 PM\r\n大掃除\r\n予定時刻です");
}

TEST_F(AlarmTextTest, MemoWithoutTerminatorStaysInItsRecord) {
    const int i = add(2004, 6, 1, 9, 0, 5, 1, "");
    std::memset(schedule.entries[i].memo, 'x', sizeof schedule.entries[i].memo);
    char out[256];
    format_alarm_entry(out, sizeof out, &schedule.entries[i], false, false);
    EXPECT_EQ(std::string(out), "2004年6月1日  9:00\r\n" + std::string(81, 'x') + "\r\n5 分前です");
}

TEST_F(AlarmTextTest, BatchJoinsBlocksWithAnEmptyLine) {
    add(2004, 6, 1, 10, 0, 15, 1, "A会議");
    add(2004, 6, 1, 10, 0, 15, 3, "B会議");
    add(2004, 6, 1, 10, 15, 0, 1, "C");
    const int idx[] = {0, 1, 2};
    AlarmBatch b;
    alarm_batch_make(&b, schedule, idx, 3);
    char out[1024];
    EXPECT_EQ(format_alarm_batch(out, sizeof out, &b, false, false), 3);
    EXPECT_STREQ(out,
                 "2004年6月1日 10:00\r\nA会議\r\n15 分前です\r\n\r\n"
                 "2004年6月1日 10:00\r\nB会議\r\n15 分前です\r\n\r\n"
                 "2004年6月1日 10:15\r\nC\r\n予定時刻です");
    // A single entry looks exactly like its own block.
    AlarmBatch one;
    alarm_batch_make(&one, schedule, idx + 1, 1);
    char single[256];
    format_alarm_entry(single, sizeof single, &schedule.entries[1], false, false);
    EXPECT_EQ(format_alarm_batch(out, sizeof out, &one, false, false), 1);
    EXPECT_STREQ(out, single);
}

TEST_F(AlarmTextTest, BatchWritesOnlyWholeBlocks) {
    add(2004, 6, 1, 10, 0, 15, 1, "one");
    add(2004, 6, 1, 10, 0, 15, 1, "two");
    const int idx[] = {0, 1};
    AlarmBatch b;
    alarm_batch_make(&b, schedule, idx, 2);
    char block[256];
    format_alarm_entry(block, sizeof block, &schedule.entries[0], false, false);
    const size_t one = std::strlen(block);
    char out[1024];
    struct {
        size_t size;
        int blocks;
    } cases[] = {{0, 0}, {one, 0}, {one + 1, 1}, {2 * one + 4, 1}, {2 * one + 5, 2}};
    for (const auto& c : cases) {
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(format_alarm_batch(out, c.size, &b, false, false), c.blocks) << c.size;
        if (c.size) {
            EXPECT_LT(std::strlen(out), c.size);
        }
        EXPECT_EQ(out[c.size], '#') << "wrote past the buffer";
    }
}

TEST_F(AlarmTextTest, DueEntriesAllFoundInListOrder) {
    add(2004, 6, 1, 10, 0, 15, 1, "a");   // 9:45
    add(2004, 6, 1, 9, 45, 0, 2, "b");    // 9:45
    add(2004, 6, 1, 9, 46, 0, 1, "c");    // 9:46
    add(2004, 6, 1, 9, 44, 0, 0, "d");    // no alarm
    const int no_time = add(2004, 6, 1, 9, 45, 0, 1, "e");
    schedule.entries[no_time].has_time = 0;
    const uint64_t at = alarm_instant(2004, 6, 1, 9, 45);
    int out[kMaxEntries];
    struct {
        uint64_t after, upto;
        int max;
        std::string found;
    } cases[] = {
        {at - kTicksPerMinute, at, kMaxEntries, "01"},
        {at - kTicksPerMinute, at, 1, "0"},
        {at - 2 * kTicksPerMinute, at + kTicksPerMinute, kMaxEntries, "012"},
        {at, at + kTicksPerMinute, kMaxEntries, "2"},
        {at, at, kMaxEntries, ""},
        {at + kTicksPerDay, at, kMaxEntries, ""},
        {0, at + kTicksPerDay - 1, kMaxEntries, "012"},  // reaches back 24 hours
        {0, at + kTicksPerDay, kMaxEntries, "2"},
    };
    for (const auto& c : cases) {
        const int n = find_due_alarms_between(schedule, c.after, c.upto, out, c.max);
        std::string got;
        for (int k = 0; k < n; ++k) got += char('0' + out[k]);
        EXPECT_EQ(got, c.found) << (c.after / kTicksPerMinute) << " " << (c.upto / kTicksPerMinute);
    }
}

TEST_F(AlarmTextTest, SameBatchNeedsSameIndicesAndInstants) {
    add(2004, 6, 1, 10, 0, 15, 1, "a");
    add(2004, 6, 1, 11, 0, 15, 1, "b");
    const int i0[] = {0}, i1[] = {1}, i01[] = {0, 1}, bad[] = {5, -1};
    AlarmBatch a, b, empty;
    alarm_batch_make(&a, schedule, i0, 1);
    alarm_batch_make(&b, schedule, i0, 1);
    EXPECT_TRUE(alarm_batch_same(&a, &b));
    // The same index now holds another entry (the list was re-sorted by an edit).
    std::swap(schedule.entries[0], schedule.entries[1]);
    alarm_batch_make(&b, schedule, i0, 1);
    EXPECT_FALSE(alarm_batch_same(&a, &b));
    alarm_batch_make(&b, schedule, i1, 1);
    EXPECT_FALSE(alarm_batch_same(&a, &b));  // same entry, other index: shown anew
    alarm_batch_make(&b, schedule, i01, 2);
    EXPECT_FALSE(alarm_batch_same(&a, &b));
    alarm_batch_make(&empty, schedule, bad, 2);
    EXPECT_EQ(empty.count, 0);
    EXPECT_FALSE(alarm_batch_same(&empty, &empty));
}

TEST_F(AlarmTextTest, LeadIsTheFirstEntryWithASound) {
    const int quiet = add(2004, 6, 1, 10, 0, 0, 1, "q");
    const int beep = add(2004, 6, 1, 10, 0, 0, 2, "b");
    const int file = add(2004, 6, 1, 10, 0, 0, 3, "f");
    const int odd = add(2004, 6, 1, 10, 0, 0, 7, "o");
    struct {
        std::initializer_list<int> idx;
        int lead;
    } cases[] = {
        {{quiet, beep, file}, 1}, {{quiet, file, beep}, 1}, {{quiet, odd}, 0},
        {{file}, 0},              {{}, -1},
    };
    for (const auto& c : cases) {
        AlarmBatch b;
        alarm_batch_make(&b, schedule, c.idx.begin(), (int)c.idx.size());
        EXPECT_EQ(alarm_batch_lead(&b), c.lead);
    }
}

}  // namespace
