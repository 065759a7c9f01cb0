// The schedule sections of a settings document: the merge with a file another program
// changed, the entries the list has no room for, and what a save keeps of keys it cannot read.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/schedule_sections.h"

namespace {

using Memos = std::vector<std::string>;

// A file in the current form with one dated entry per memo.
ProfileFile file_of(const Memos& memos) {
    std::string text = "[Schedule]\r\nschedulecount=" + std::to_string(memos.size()) + "\r\n";
    for (size_t i = 0; i < memos.size(); ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "schedule%03zu=2004010100%s\r\n", i + 1, memos[i].c_str());
        text += line;
    }
    ProfileFile f;
    f.parse(text.data(), text.size());
    return f;
}

Memos memos_of(const ScheduleEntry* list, int count) {
    Memos out;
    for (int i = 0; i < count; ++i) out.push_back(list[i].memo);
    return out;
}

Memos carried_memos(const ScheduleKeep& keep) {
    Memos out;
    ScheduleEntry e;
    bool takes_alarm;
    for (const StoredSlot& s : keep.carried)
        out.push_back(entry_from_stored(s.value, nullptr, &e, &takes_alarm) ? e.memo : "?" + s.value);
    return out;
}

// Program edits: "-m" deletes the first entry with memo m, "+m" adds one, "m>n" changes m to n.
void edit(const Memos& edits, ScheduleEntry* list, int* count) {
    for (const std::string& ed : edits) {
        const size_t arrow = ed.find('>');
        const std::string memo = ed[0] == '-' ? ed.substr(1) : ed.substr(0, arrow);
        int at = -1;
        for (int i = 0; i < *count && at < 0; ++i)
            if (memo == list[i].memo) at = i;
        if (ed[0] == '+') {
            list[*count] = list[0];  // a dated entry like the others
            std::strcpy(list[(*count)++].memo, ed.c_str() + 1);
        } else if (ed[0] == '-') {
            ASSERT_GE(at, 0) << ed;
            for (int i = at + 1; i < *count; ++i) list[i - 1] = list[i];
            --*count;
        } else {
            ASSERT_GE(at, 0) << ed;
            std::strcpy(list[at].memo, ed.c_str() + arrow + 1);
        }
    }
}

TEST(ScheduleMerge, ChangesOnEitherSideMeetAtTheSave) {
    const struct Case {
        const char* name;
        int max;
        Memos at_load, edits, file_now, list, carried;
    } cases[] = {
        {"added to the file", 9, {"a", "b"}, {}, {"a", "b", "c"}, {"a", "b", "c"}, {}},
        {"deleted here stays deleted", 9, {"a", "b"}, {"-b"}, {"a", "b"}, {"a"}, {}},
        {"deleted from the file", 9, {"a", "b"}, {}, {"a"}, {"a"}, {}},
        {"changed in the file", 9, {"a", "b"}, {}, {"a", "bx"}, {"a", "bx"}, {}},
        {"changed in both: both kept", 9, {"a", "b"}, {"b>bp"}, {"a", "bx"}, {"a", "bp", "bx"}, {}},
        {"deleted here, changed there", 9, {"a", "b"}, {"-b"}, {"a", "bx"}, {"a", "bx"}, {}},
        {"changed here, deleted there", 9, {"a", "b"}, {"b>bp"}, {"a"}, {"a", "bp"}, {}},
        {"added on both sides", 9, {"a"}, {"+p"}, {"a", "x"}, {"a", "p", "x"}, {}},
        {"one of two equal deleted", 9, {"a", "a"}, {"-a"}, {"a", "a"}, {"a"}, {}},
        {"renumbered only", 9, {"a", "b", "c"}, {}, {"c", "a", "b"}, {"a", "b", "c"}, {}},
        {"no room: carried", 2, {"a", "b", "c"}, {}, {"a", "b", "c"}, {"a", "b"}, {"c"}},
        {"room made: carried move in", 2, {"a", "b", "c"}, {"-a"}, {"a", "b", "c"}, {"b", "c"}, {}},
        {"added without room", 2, {"a", "b"}, {}, {"a", "b", "x"}, {"a", "b"}, {"x"}},
        {"carried deleted from the file", 2, {"a", "b", "c", "d"}, {}, {"a", "b", "d"}, {"a", "b"}, {"d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScheduleEntry list[10];
        int count = 0;
        ScheduleKeep keep;
        schedule_merge(file_of(c.at_load), list, &count, c.max, &keep);
        edit(c.edits, list, &count);
        schedule_merge(file_of(c.file_now), list, &count, c.max, &keep);
        EXPECT_EQ(memos_of(list, count), c.list);
        EXPECT_EQ(carried_memos(keep), c.carried);

        // Written and read back: the same entries, and the merge of an unchanged file
        // after a write changes nothing.
        ProfileFile written;
        schedule_write(&written, list, count, keep);
        schedule_keep_written(&keep, list, count);
        schedule_merge(written, list, &count, c.max, &keep);
        EXPECT_EQ(memos_of(list, count), c.list);
        EXPECT_EQ(carried_memos(keep), c.carried);
    }
}

TEST(ScheduleMerge, AFileNotWrittenIsTheBaseOfTheNextMerge) {
    // The first write failed: the file still holds a and b, plus c added meanwhile. The
    // next merge must neither bring a back nor take c twice.
    ScheduleEntry list[10];
    int count = 0;
    ScheduleKeep keep;
    schedule_merge(file_of({"a", "b"}), list, &count, 10, &keep);
    edit({"-a"}, list, &count);
    schedule_merge(file_of({"a", "b", "c"}), list, &count, 10, &keep);
    ASSERT_EQ(memos_of(list, count), Memos({"b", "c"}));
    schedule_merge(file_of({"a", "b", "c"}), list, &count, 10, &keep);
    EXPECT_EQ(memos_of(list, count), Memos({"b", "c"}));
    schedule_merge(file_of({"a", "b", "c", "d"}), list, &count, 10, &keep);
    EXPECT_EQ(memos_of(list, count), Memos({"b", "c", "d"}));
}

TEST(ScheduleSections, KeysNotReadAreKeptAndNumberedAfterTheList) {
    const std::string file =
        "[Schedule]\r\nSCHEDULECOUNT=9\r\n"
        "schedule001=x\r\n"                       // too short: kept as stored
        "Schedule1000=2004010100late\r\n"         // past 999: read all the same
        "schedule0002=2004010100wide\r\n"         // not "%03d": another name
        "schedule003=2004010101timed\r\n"
        "note\r\n"
        "schedule003=2004010100twin\r\n"          // second of its name: a slot of its own
        "schedule002=2004010201\r\n"              // an empty memo: its alarm stays a line
        "schedule000=2004010100zero\r\n"
        "schedule006=\"2004010301  \"\r\n"         // blanks once written: kept as such
        "[Alarm]\r\nalarm003=0930150\r\nalarm002=1000000\r\nalarm007=orphan\r\nalarm003=twin\r\n"
        "alarm006=0800000\r\n";
    ProfileFile doc;
    doc.parse(file.data(), file.size());
    ScheduleEntry list[2];
    int count = 0;
    ScheduleKeep keep;
    schedule_merge(doc, list, &count, 2, &keep);
    ASSERT_EQ(memos_of(list, count), Memos({"timed", "twin"}));
    EXPECT_EQ(list[0].hour, 9);
    EXPECT_EQ(keep.not_loaded, 1);

    ProfileFile out;
    schedule_write(&out, list, count, keep);
    const std::string written = out.serialize();
    EXPECT_EQ(written,
              "[Schedule]\r\nschedulecount=2\r\n"
              "schedule001=2004010101timed\r\nschedule002=2004010100twin\r\n"
              "schedule003=x\r\nschedule004=2004010201\r\nschedule005=2004010301\r\n"
              "schedule006=2004010100late\r\n"
              "schedule0002=2004010100wide\r\nnote\r\nschedule000=2004010100zero\r\n"
              "[Alarm]\r\nalarm001=0930150\r\nalarm002=1000000\r\n"
              "alarm007=orphan\r\nalarm003=twin\r\nalarm006=0800000\r\n");

    // Read and written again: the same bytes.
    ProfileFile again;
    again.parse(written.data(), written.size());
    ScheduleKeep keep2;
    count = 0;
    schedule_merge(again, list, &count, 2, &keep2);
    ProfileFile out2;
    schedule_write(&out2, list, count, keep2);
    EXPECT_EQ(out2.serialize(), written);
}

TEST(ScheduleSections, KeyNumbersAreThoseOfTheStoredNames) {
    const struct {
        const char* name;
        int k;
    } cases[] = {{"schedule001", 1},   {"schedule999", 999}, {"schedule1000", 1000},
                 {"schedule000", 0},   {"schedule01", 0},    {"schedule0001", 0},
                 {"schedule12a", 0},   {"alarm001", 0},      {"schedule999999999", 999999999},
                 {"schedule1000000000", 0}, {"schedule-01", 0}};
    for (const auto& c : cases) EXPECT_EQ(stored_key_number(c.name, "schedule"), c.k) << c.name;
}

}  // namespace
