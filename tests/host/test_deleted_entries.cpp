// Entries deleted from the list: a file read again brings back only what changed since, the
// remembered list is bounded, and its section is written only when something changed.
#include <gtest/gtest.h>

#include <cstdio>

#include "config/profile_file.h"
#include "entry_maker.h"
#include "ical_test_support.h"
#include "schedule/deleted_entries.h"

namespace {

using namespace ical_test;

Imported import_with(std::vector<std::string> lines, DeletedEntries* deleted) {
    lines.insert(lines.begin(), "BEGIN:VEVENT");
    lines.push_back("END:VEVENT");
    return import_text(calendar(lines), ical_host::japan(), {}, kMaxEntries, deleted);
}

ScheduleEntry with_uid(const char* uid, int32_t recur_date = 0) {
    ScheduleEntry e = make_entry(2024, 1, 1, 0, "m");
    std::snprintf(e.uid, sizeof e.uid, "%s", uid);
    e.recur_date = recur_date;
    return e;
}

TEST(DeletedEntries, AFileReadAgainBringsBackOnlyWhatChangedSince) {
    const std::vector<std::string> first = {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20240101T000000Z",
                                            "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"};
    const struct {
        const char* name;
        bool edited_here;  // its sequence counted up here before it was deleted
        std::vector<std::string> again;
        bool back;
    } cases[] = {
        {"the same file", false, first, false},
        {"older sequence", false, {"UID:e1", "SEQUENCE:0", "DTSTART:20240111", "SUMMARY:new"}, false},
        {"same sequence, stamped earlier", false,
         {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20231231T000000Z", "DTSTART:20240111", "SUMMARY:new"}, false},
        {"same content, no version", false, {"UID:e1", "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"}, false},
        {"newer sequence", false, {"UID:e1", "SEQUENCE:2", "DTSTART:20240111", "SUMMARY:new"}, true},
        {"same sequence, stamped later", false,
         {"UID:e1", "SEQUENCE:1", "LAST-MODIFIED:20240102T000000Z", "DTSTART:20240110", "SUMMARY:x"}, true},
        {"changed, no version", false, {"UID:e1", "DTSTART;VALUE=DATE:20240110", "SUMMARY:x"}, true},
        {"edited here, the file older", true, first, false},
        {"another identity", false, {"UID:e2", "DTSTART;VALUE=DATE:20240110", "SUMMARY:old"}, true},
    };
    for (const auto& c : cases) {
        DeletedEntries deleted;
        const Imported once = import_with(first, &deleted);
        ASSERT_EQ(once.entries.size(), 1u) << c.name;
        ScheduleEntry gone = once.entries[0];
        gone.sequence += c.edited_here;
        if (c.edited_here) std::snprintf(gone.memo, sizeof gone.memo, "edited");
        deleted.remember(gone);
        const Imported r = import_with(c.again, &deleted);
        EXPECT_EQ(r.entries.size(), c.back ? 1u : 0u) << c.name;
        EXPECT_EQ(r.counts.deleted_here, c.back ? 0 : 1) << c.name;
        // Only the one that came back is forgotten.
        EXPECT_EQ(deleted.find(gone) == nullptr, c.back && c.again[0] == "UID:e1") << c.name;
    }
}

// Occurrences apart from their series; the newest kMaxDeleted kept, one deleted again counting
// as new.
TEST(DeletedEntries, OccurrencesApartAndTheOldestDroppedFirst) {
    DeletedEntries d;
    d.remember(with_uid("s", 20240108));
    d.remember(with_uid(""));
    EXPECT_EQ(d.find(with_uid("s")), nullptr);
    EXPECT_NE(d.find(with_uid("s", 20240108)), nullptr);
    EXPECT_EQ(d.size(), 1u);
    char uid[16];
    for (size_t i = 0; i < kMaxDeleted; ++i) {
        std::snprintf(uid, sizeof uid, "u%zu", i);
        d.remember(with_uid(uid));
    }
    d.remember(with_uid("u0"));
    d.remember(with_uid("extra"));
    EXPECT_EQ(d.size(), kMaxDeleted);
    EXPECT_EQ(d.find(with_uid("s", 20240108)), nullptr);
    EXPECT_EQ(d.find(with_uid("u1")), nullptr);
    for (const char* kept : {"u0", "u2", "extra"}) EXPECT_NE(d.find(with_uid(kept)), nullptr);
}

// Untouched while nothing is deleted, read back as written, written on top of another
// program's changes, pending until a write reaches the file; lines that are no record dropped.
TEST(DeletedEntries, StoredSection) {
    const std::string old_file = "[Schedule]\r\nschedulecount=0\r\n[ScheduleDeleted]\r\nzz=1,2,3\r\n"
                                 "0123456789abcdef=99999999999,1,0000000000000000\r\n0123456789abcdef=1,1\r\n";
    ProfileFile doc;
    doc.parse(old_file.data(), old_file.size());
    DeletedEntries d, other, back;
    d.load(doc);
    d.write(&doc);
    d.commit();
    EXPECT_EQ(doc.serialize(), old_file);
    EXPECT_EQ(d.size(), 0u);

    ScheduleEntry a = with_uid("a"), b = with_uid("b", 20240102), c = with_uid("c");
    a.sequence = 7;
    a.modified = 133497216000000000ull;
    d.remember(a);
    d.write(&doc);  // the file was not written: a stays pending
    d.remember(b);
    d.write(&doc);
    d.commit();
    other.load(doc);
    const DeletedVersion* v = other.find(a);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->sequence, 7u);
    EXPECT_EQ(v->modified, a.modified);
    EXPECT_EQ(v->content, ical_content_digest(a));
    EXPECT_NE(other.find(b), nullptr);

    other.forget(a);
    other.remember(c);
    other.write(&doc);
    other.commit();
    d.forget(b);
    d.write(&doc);
    d.commit();
    back.load(doc);
    EXPECT_EQ(back.size(), 1u);
    EXPECT_NE(back.find(c), nullptr);
    EXPECT_EQ(d.find(a), nullptr);
}

}  // namespace
