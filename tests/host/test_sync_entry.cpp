// Entries as sync items: the UID of an item's text and a copy under another UID, the text of
// an entry, and the canonical text that decides whether two texts are the same version
// (a server that rewrites an item in its own order and folding has not changed it).
#include <gtest/gtest.h>

#include <string>

#include "entry_maker.h"
#include "ical_host_platform.h"
#include "ical_test_support.h"
#include "schedule/sync_entry.h"
#include "schedule/sync_item.h"

namespace {

using namespace ical_test;

TEST(SyncItem, UidOfText) {
    struct {
        const char* name;
        std::string text;
        const char* uid;
    } cases[] = {
        {"plain", calendar({"BEGIN:VEVENT", "UID:ev-1@example", "END:VEVENT"}), "ev-1@example"},
        {"lower case, LF ends",
         calendar({"BEGIN:VEVENT", "uid:abc", "END:VEVENT"}, "\n"), "abc"},
        {"folded", calendar({"BEGIN:VEVENT", "UID:0123456789", " abcdef", "END:VEVENT"}),
         "0123456789abcdef"},
        {"the first event's",
         calendar({"BEGIN:VEVENT", "UID:one", "END:VEVENT", "BEGIN:VEVENT", "UID:two", "END:VEVENT"}),
         "one"},
        {"a to-do's is not an event's", calendar({"BEGIN:VTODO", "UID:todo", "END:VTODO"}), ""},
        {"none", calendar({"BEGIN:VEVENT", "SUMMARY:x", "END:VEVENT"}), ""},
        {"too long", calendar({"BEGIN:VEVENT", "UID:" + std::string(kSyncMaxUid + 1, 'u'), "END:VEVENT"}),
         ""},
        {"not a calendar", "hello", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ical_event_uid(c.text.data(), c.text.size()), c.uid) << c.name;
}

TEST(SyncItem, CopyUnderAnotherUid) {
    const std::string text = calendar({"BEGIN:VEVENT", "UID:0123456789", " abcdef",
                                       "SUMMARY:UID:not this", "BEGIN:VALARM", "UID:alarm-1",
                                       "END:VALARM", "END:VEVENT"});
    const std::string long_uid = std::string(100, 'n');
    const std::string copy = ical_with_uid(text, long_uid);
    EXPECT_EQ(ical_event_uid(copy.data(), copy.size()), long_uid);
    EXPECT_NE(copy.find("SUMMARY:UID:not this\r\n"), std::string::npos);
    EXPECT_EQ(copy.find("abcdef"), std::string::npos);
    EXPECT_EQ(copy.find("alarm-1"), std::string::npos);
    for (size_t at = 0, next; at < copy.size(); at = next + 2) {
        next = copy.find("\r\n", at);
        ASSERT_NE(next, std::string::npos);
        EXPECT_LE(next - at, 75u);  // folded
    }
}

TEST(SyncItem, MethodLeftOut) {
    const std::string text = "BEGIN:VCALENDAR\r\nmethod:PUBLISH\r\nMETHODS:x\r\nMETHOD;X=1:RE\r\n"
                             " QUEST\r\nVERSION:2.0\r\nEND:VCALENDAR";
    EXPECT_EQ(ical_without_method(text), "BEGIN:VCALENDAR\r\nMETHODS:x\r\nVERSION:2.0\r\nEND:VCALENDAR");
}

// An item from the server is a file from outside like an imported one: its alarm's sound
// file is taken only from a local fixed disk, otherwise the alarm keeps the system sound.
TEST(SyncEntry, ASoundFileOffTheLocalDisksComesInAsTheSystemSound) {
    const struct {
        const char* attach;
        const char* alarm;  // what describe() shows of the alarm
    } cases[] = {
        {"\\\\10.9.9.9\\share\\ring.wav", "alarm2/5"},
        {"file:////10.9.9.9/share/ring.wav", "alarm2/5"},
        {"\\\\?\\UNC\\10.9.9.9\\share\\ring.wav", "alarm2/5"},
        {"C:\\Sounds\\ring.wav", "alarm3/5 C:\\Sounds\\ring.wav"},
    };
    for (const auto& c : cases) {
        const std::string text = calendar(event({"UID:s1", "DTSTART:20240601T093000", "BEGIN:VALARM",
                                                 "ACTION:AUDIO", "TRIGGER:-PT5M",
                                                 std::string("ATTACH:") + c.attach, "END:VALARM"},
                                                "x"));
        ScheduleEntry e;
        ASSERT_TRUE(sync_entry_read(text, ical_host::japan(), &e)) << c.attach;
        EXPECT_EQ(describe(e), std::string("2024-6-1 9:30 ") + c.alarm + " [x]") << c.attach;
    }
}

TEST(SyncEntry, TextAndCanon) {
    const IcalPlatform* p = ical_host::japan();
    const IcalTime now = {2024, 5, 1, 3, 4, 5};
    ScheduleEntry e = make_alarm_entry(2024, 6, 1, 9, 30, 15, 1, "会議");
    const std::string text = sync_entry_text(e, "uid-1", p, now);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(ical_event_uid(text.data(), text.size()), "uid-1");
    EXPECT_EQ(text.find("METHOD"), std::string::npos);
    ScheduleEntry back;
    ASSERT_TRUE(sync_entry_read(text, p, &back));
    EXPECT_EQ(describe(back), describe(e));

    const std::string canon = sync_entry_canon(text, p);
    ASSERT_FALSE(canon.empty());
    // Another stamp, another UID, the lines in another order and folded elsewhere: the same.
    std::string reordered = calendar(event({"DTSTAMP:20990101T000000Z",
                                            "DTSTART;TZID=Asia/Tokyo:20240601T093000",
                                            "BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:x",
                                            "TRIGGER:-PT15M", "END:VALARM"},
                                           "\xE4\xBC\x9A\xE8\xAD\xB0"));  // UTF-8
    EXPECT_EQ(sync_entry_canon(reordered, p), canon) << reordered;
    EXPECT_EQ(sync_entry_canon(ical_with_uid(text, "other"), p), canon);
    EXPECT_EQ(sync_entry_canon(sync_entry_text(e, "uid-1", p, IcalTime{2030, 1, 1, 0, 0, 0}), p),
              canon);
    // What the entry holds, changed: another version.
    struct {
        const char* name;
        void (*change)(ScheduleEntry*);
    } edits[] = {
        {"memo", [](ScheduleEntry* x) { std::snprintf(x->memo, sizeof x->memo, "会議2"); }},
        {"minute", [](ScheduleEntry* x) { x->minute = 31; }},
        {"alarm", [](ScheduleEntry* x) { x->minutes_before = 5; }},
        {"no alarm", [](ScheduleEntry* x) { x->alarm_kind = 0; }},
        {"every year", [](ScheduleEntry* x) { x->year = -1; }},
        {"holiday", [](ScheduleEntry* x) { x->holiday = 1; }},
    };
    for (const auto& ed : edits) {
        ScheduleEntry x = e;
        ed.change(&x);
        EXPECT_NE(sync_entry_canon(sync_entry_text(x, "uid-1", p, now), p), canon) << ed.name;
    }
    // What the list cannot hold has no canonical text.
    EXPECT_EQ(sync_entry_canon(calendar({"BEGIN:VTODO", "UID:t", "END:VTODO"}), p), "");
    EXPECT_EQ(sync_entry_canon("garbage", p), "");
    ScheduleEntry no_day = make_entry(2024, 2, 30, 0, "x");
    EXPECT_EQ(sync_entry_text(no_day, "u", p, now), "");
    // The engine's form of it.
    const SyncCanon c = sync_entry_canon_of(p);
    EXPECT_EQ(c.canon(c.context, text), canon);
}

}  // namespace
