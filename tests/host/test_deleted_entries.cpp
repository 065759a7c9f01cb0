// Entries deleted from the list: a file read again does not bring back what it still holds
// unchanged, the remembered list is bounded, and it is stored so that a file with nothing
// deleted keeps its bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "entry_maker.h"
#include "ical_test_support.h"
#include "schedule/deleted_entries.h"

namespace {

using namespace ical_test;

std::string one_event(const std::vector<std::string>& lines) {
    std::vector<std::string> all = {"BEGIN:VEVENT"};
    all.insert(all.end(), lines.begin(), lines.end());
    all.push_back("END:VEVENT");
    return calendar(all);
}

Imported import_with(const std::string& text, DeletedEntries* deleted,
                     std::vector<ScheduleEntry> list = {}) {
    Imported r;
    int count = (int)list.size();
    list.resize(kMaxEntries);
    r.calendar = ical_import(text.data(), text.size(), ical_host::japan(), list.data(), &count,
                             kMaxEntries, &r.counts, deleted);
    list.resize(count);
    r.entries = list;
    return r;
}

ScheduleEntry with_uid(const char* uid, int day, int32_t recur_date = 0) {
    ScheduleEntry e = make_entry(2024, 1, day, 0, "m");
    std::snprintf(e.uid, sizeof e.uid, "%s", uid);
    e.recur_date = recur_date;
    return e;
}

// Read a file, delete its entry here (edited first or not), read another file: what comes back.
TEST(DeletedEntries, AFileReadAgainBringsBackOnlyWhatChangedSince) {
    const std::vector<std::string> first = {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20240101T000000Z",
                                            "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"};
    const struct {
        const char* name;
        bool edited_here;                 // changed here (its sequence counts up) before deleted
        std::vector<std::string> again;   // the event read the second time
        bool back;                        // added again, and no longer remembered
    } cases[] = {
        {"the same file", false, first, false},
        {"an older sequence", false,
         {"UID:e1", "SEQUENCE:0", "DTSTART;VALUE=DATE:20240111", "SUMMARY:new"}, false},
        {"the same sequence, stamped earlier", false,
         {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20231231T000000Z", "DTSTART;VALUE=DATE:20240111",
          "SUMMARY:new"}, false},
        {"the same content without a version", false,
         {"UID:e1", "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"}, false},
        {"changed there: a newer sequence", false,
         {"UID:e1", "SEQUENCE:2", "DTSTART;VALUE=DATE:20240111", "SUMMARY:new"}, true},
        {"changed there: the same sequence, stamped later", false,
         {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20240102T000000Z", "DTSTART;VALUE=DATE:20240110",
          "SUMMARY:renamed"}, true},
        {"changed there without a version", false,
         {"UID:e1", "DTSTART;VALUE=DATE:20240110", "SUMMARY:renamed"}, true},
        {"edited here, the file's copy older", true, first, false},
        {"another identity", false,
         {"UID:e2", "SEQUENCE:1", "DTSTART;VALUE=DATE:20240110", "SUMMARY:other"}, true},
    };
    for (const auto& c : cases) {
        DeletedEntries deleted;
        const Imported once = import_with(one_event(first), &deleted);
        ASSERT_EQ(once.entries.size(), 1u) << c.name;
        ScheduleEntry gone = once.entries[0];
        if (c.edited_here) {
            ++gone.sequence;
            std::snprintf(gone.memo, sizeof gone.memo, "edited");
        }
        deleted.remember(gone);
        const Imported r = import_with(one_event(c.again), &deleted);
        ASSERT_TRUE(r.calendar) << c.name;
        EXPECT_EQ(r.counts.added, c.back ? 1 : 0) << c.name;
        EXPECT_EQ(r.counts.deleted_here, c.back ? 0 : 1) << c.name;
        EXPECT_EQ(r.entries.size(), c.back ? 1u : 0u) << c.name;
        // Only the one that came back is forgotten: another identity leaves e1 remembered.
        const bool same_uid = std::string(c.again[0]) == "UID:e1";
        EXPECT_EQ(deleted.find(gone) != nullptr, !(c.back && same_uid)) << c.name;
        // Read once more, the same file changes nothing.
        const Imported third = import_with(one_event(c.again), &deleted, r.entries);
        EXPECT_EQ(third.counts.added, 0) << c.name;
    }
}

// An occurrence changed on its own is remembered apart from its series; the list keeps the
// newest kMaxDeleted, a deleted-again one counting as new.
TEST(DeletedEntries, OccurrencesApartAndTheOldestDroppedFirst) {
    DeletedEntries d;
    d.remember(with_uid("s", 1, 20240108));
    EXPECT_EQ(d.find(with_uid("s", 1)), nullptr);
    EXPECT_NE(d.find(with_uid("s", 9, 20240108)), nullptr);
    d.remember(with_uid("", 2));
    EXPECT_EQ(d.size(), 1u);

    DeletedEntries full;
    char uid[16];
    for (size_t i = 0; i < kMaxDeleted; ++i) {
        std::snprintf(uid, sizeof uid, "u%zu", i);
        full.remember(with_uid(uid, 1));
    }
    full.remember(with_uid("u0", 1));      // u0 is the newest now, u1 the oldest
    full.remember(with_uid("extra", 1));
    EXPECT_EQ(full.size(), kMaxDeleted);
    EXPECT_NE(full.find(with_uid("u0", 1)), nullptr);
    EXPECT_EQ(full.find(with_uid("u1", 1)), nullptr);
    EXPECT_NE(full.find(with_uid("u2", 1)), nullptr);
    EXPECT_NE(full.find(with_uid("extra", 1)), nullptr);
}

// The stored section: untouched while nothing is deleted, read back as written, written on
// top of another program's lines, and kept pending until a write reaches the file.
TEST(DeletedEntries, StoredSection) {
    const std::string old_file = "[Schedule]\r\nschedulecount=0\r\n[ScheduleExtra]\r\n";
    ProfileFile doc;
    doc.parse(old_file.data(), old_file.size());
    DeletedEntries d;
    d.load(doc);
    d.write(&doc);
    d.commit();
    EXPECT_EQ(doc.serialize(), old_file);

    ScheduleEntry a = with_uid("a", 1), b = with_uid("b", 2, 20240102);
    a.sequence = 7;
    a.modified = 133497216000000000ull;
    d.remember(a);
    d.write(&doc);  // not committed: the file was not written
    d.remember(b);
    d.write(&doc);
    d.commit();
    DeletedEntries back;
    back.load(doc);
    ASSERT_EQ(back.size(), 2u);
    const DeletedVersion* v = back.find(a);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->sequence, 7u);
    EXPECT_EQ(v->modified, a.modified);
    EXPECT_EQ(v->content, ical_content_digest(a));
    EXPECT_NE(back.find(b), nullptr);

    // Another program remembered c and forgot a meanwhile; here b is forgotten: c stays.
    ScheduleEntry c = with_uid("c", 3);
    DeletedEntries other;
    other.load(doc);
    other.forget(a);
    other.remember(c);
    other.write(&doc);
    other.commit();
    const std::string before = doc.serialize();
    d.write(&doc);  // nothing new here: the document stays as the other left it
    d.commit();
    EXPECT_EQ(doc.serialize(), before);
    EXPECT_EQ(d.find(a), nullptr);
    d.forget(b);
    d.write(&doc);
    d.commit();
    back.load(doc);
    EXPECT_EQ(back.size(), 1u);
    EXPECT_NE(back.find(c), nullptr);

    // Lines that are no record are not taken.
    const std::string hostile =
        "[ScheduleDeleted]\r\nzz=1,2,0000000000000000\r\n0123456789abcdef=99999999999,1,00\r\n"
        "0123456789abcdef=1,1\r\nfedcba9876543210\r\n";
    doc.parse(hostile.data(), hostile.size());
    back.load(doc);
    EXPECT_EQ(back.size(), 0u);
}

}  // namespace
