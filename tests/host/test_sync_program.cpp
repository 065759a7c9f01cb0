// The program's side of the calendar sync without a server: the schedule list as the sync's
// store (a change applied only to the version the sync saw, the list's room), the account's
// keys in the settings file, the settings dialog's rules, and what a sync tells the user once.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "config/profile.h"
#include "config/sync_settings.h"
#include "dialogs/sync_dialog.h"
#include "entry_maker.h"
#include "ical_host_platform.h"
#include "resources/texts.h"
#include "schedule/sync_entry.h"
#include "schedule/sync_list.h"
#include "schedule/sync_notice.h"
#include "storage_fixture.h"

namespace {

const IcalTime kNow = {2026, 12, 9, 5, 0, 0};

ScheduleEntry entry(const char* uid, int day, const char* memo, int recur_date = 0) {
    ScheduleEntry e = make_entry(2026, 12, day, 0, memo, 9, 30);
    std::snprintf(e.uid, sizeof e.uid, "%s", uid);
    e.recur_date = recur_date;
    return e;
}

std::string text_of(const ScheduleEntry& e) { return sync_entry_text(e, e.uid, ical_host::japan(), kNow); }

uint64_t version_of(const ScheduleEntry& e) {
    return sync_version(sync_entry_canon_of(ical_host::japan()), text_of(e));
}

SyncChange put(const ScheduleEntry& now, bool absent, uint64_t expect) {
    SyncChange c;
    c.uid = now.uid;
    c.ical = text_of(now);
    c.expect_absent = absent;
    c.expect_hash = expect;
    return c;
}

SyncChange removal(const char* uid, uint64_t expect) {
    SyncChange c;
    c.kind = SyncChangeKind::kRemove;
    c.uid = uid;
    c.expect_hash = expect;
    return c;
}

int saves;
bool count_save(void*) { return ++saves, true; }

// a (with a changed occurrence of its own), b, and an entry marked for removal.
std::unique_ptr<ScheduleList> sample_list() {
    std::unique_ptr<ScheduleList> list(new ScheduleList());
    schedule_clear(list.get());
    ScheduleEntry a = entry("a", 1, "series a");
    a.repeat.kind = RepeatKind::kWeekly;
    a.repeat.interval = 1;
    a.repeat.weekdays = 1u << 2;
    append_entry(list.get(), a);
    append_entry(list.get(), entry("a", 8, "a moved", 20261208));
    append_entry(list.get(), entry("b", 2, "entry b"));
    ScheduleEntry gone = entry("c", 3, "marked");
    gone.holiday = kHolidayRemove;
    append_entry(list.get(), gone);
    return list;
}

TEST(SyncList, SnapshotCarriesEachSeriesOnceWithTheRoomLeft) {
    std::unique_ptr<ScheduleList> list = sample_list();
    append_entry(list.get(), entry("b", 5, "a second b"));
    append_entry(list.get(), entry("", 6, "no identity"));
    const SyncSnapshot snap = sync_list_snapshot(sync_list_copy(*list), ical_host::japan(), kNow);
    ASSERT_EQ(snap.items.size(), 2u);
    EXPECT_EQ(snap.items[0].uid, "a");
    EXPECT_EQ(snap.items[1].uid, "b");
    EXPECT_NE(snap.items[1].ical.find("entry b"), std::string::npos);  // the first b, not the second
    EXPECT_EQ(snap.room, kMaxEntries - 6);
}

TEST(SyncList, ChangesApplyOnlyToTheVersionTheSyncSaw) {
    const ScheduleEntry a = sample_list()->entries[0], b = entry("b", 2, "entry b");
    const ScheduleEntry a2 = entry("a", 4, "series a moved"), n = entry("n", 7, "new one");
    struct {
        const char* name;
        SyncChange change;
        SyncApply result;
        int count;            // entries afterwards
        const char* memo_of_a;  // "" none left
    } cases[] = {
        {"a new entry", put(n, true, 0), SyncApply::kApplied, 5, "series a"},
        {"new, but the list has it meanwhile", put(a2, true, 0), SyncApply::kChanged, 4, "series a"},
        {"changed as seen", put(a2, false, version_of(a)), SyncApply::kApplied, 4, "series a moved"},
        {"changed here meanwhile", put(a2, false, version_of(b)), SyncApply::kChanged, 4, "series a"},
        {"removed as seen, with its occurrence", removal("a", version_of(a)), SyncApply::kApplied, 2, ""},
        {"removed, changed here meanwhile", removal("a", 1), SyncApply::kChanged, 4, "series a"},
        {"removed here already", removal("x", version_of(a)), SyncApply::kChanged, 4, "series a"},
        {"an entry marked for removal is not synced", removal("c", version_of(entry("c", 3, "marked"))),
         SyncApply::kChanged, 4, "series a"},
    };
    for (auto& c : cases) {
        std::unique_ptr<ScheduleList> list = sample_list();
        const uint32_t generation = list->generation;
        saves = 0;
        ScheduleListStore store(list.get(), ical_host::japan(), count_save, nullptr);
        EXPECT_EQ(store.apply(c.change), c.result) << c.name;
        EXPECT_EQ(list->count, c.count) << c.name;
        const int at = sync_list_find(*list, "a");
        EXPECT_STREQ(at < 0 ? "" : list->entries[at].memo, c.memo_of_a) << c.name;
        if (at >= 0 && std::string(list->entries[at].memo) == "series a")
            EXPECT_EQ(list->entries[at].repeat.kind, RepeatKind::kWeekly) << c.name;
        const bool applied = c.result == SyncApply::kApplied;
        EXPECT_EQ(store.applied(), applied ? 1 : 0) << c.name;
        EXPECT_EQ(list->generation != generation, applied) << c.name;
        EXPECT_GE(sync_list_find(*list, "b"), 0) << c.name;  // others untouched
        if (applied && c.change.kind == SyncChangeKind::kPut) {
            const int i = sync_list_find(*list, c.change.uid);
            ASSERT_GE(i, 0) << c.name;
            EXPECT_EQ(list->entries[i].hour, 9) << c.name;
            EXPECT_EQ(version_of(list->entries[i]), sync_version(sync_entry_canon_of(ical_host::japan()), c.change.ical))
                << c.name << ": the list holds the version the server has";
        }
        EXPECT_TRUE(store.commit());
        EXPECT_EQ(saves, 1);
    }
}

// The server's version is taken whole: its rule where it has one, none where the rule was
// taken out there; the entry then reads as the server's version.
TEST(SyncList, AServerEditIsTakenWithOrWithoutItsRule) {
    const ScheduleEntry a = sample_list()->entries[0];
    ScheduleEntry renamed = a;
    std::snprintf(renamed.memo, sizeof renamed.memo, "renamed");
    struct {
        const char* name;
        ScheduleEntry server;
        RepeatKind rule;
    } cases[] = {
        {"memo changed, rule kept", renamed, RepeatKind::kWeekly},
        {"rule taken out", entry("a", 1, "series a"), RepeatKind::kNone},
        {"moved to a Friday", entry("a", 4, "series a"), RepeatKind::kNone},
    };
    for (auto& c : cases) {
        std::snprintf(c.server.uid, sizeof c.server.uid, "a");
        std::unique_ptr<ScheduleList> list = sample_list();
        ScheduleListStore store(list.get(), ical_host::japan(), count_save, nullptr);
        ASSERT_EQ(store.apply(put(c.server, false, version_of(a))), SyncApply::kApplied) << c.name;
        const ScheduleEntry& now = list->entries[sync_list_find(*list, "a")];
        EXPECT_EQ(now.repeat.kind, c.rule) << c.name;
        EXPECT_EQ(version_of(now), version_of(c.server)) << c.name;
    }
}

TEST(SyncList, AFullListOrAnUnreadableItemLeavesItOnTheServer) {
    std::unique_ptr<ScheduleList> list = sample_list();
    ScheduleListStore store(list.get(), ical_host::japan(), count_save, nullptr);
    SyncChange junk = put(entry("j", 1, "x"), true, 0);
    junk.ical = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
    EXPECT_EQ(store.apply(junk), SyncApply::kUnreadable);
    while (list->count < kMaxEntries) append_entry(list.get(), entry("", 9, "filler"));
    EXPECT_EQ(store.apply(put(entry("n", 7, "new"), true, 0)), SyncApply::kFull);
    EXPECT_EQ(list->count, kMaxEntries);
    // A change of an entry it holds still goes in.
    EXPECT_EQ(store.apply(put(entry("b", 3, "b later"), false, version_of(entry("b", 2, "entry b")))),
              SyncApply::kApplied);
}

TEST(SyncSettingsKeys, OwnSectionReadBackAndOutOfRangeReadsAsDefault) {
    const std::filesystem::path dir = storage_test::make_scratch_dir();
    const std::string path = (dir / "user.cfg").string();
    struct {
        const char* file;
        const char* address;
        int enabled, interval, plain;
    } cases[] = {
        {"[Config]\r\nfront=0\r\n", "", 0, kSyncIntervalDefault, 0},
        {"[Sync]\r\nAddress=https://dav.example.com/c/\r\nEnabled=1\r\nInterval=60\r\nPlainConfirmed=1\r\n",
         "https://dav.example.com/c/", 1, 60, 1},
        {"[Sync]\r\nAddress=x\r\nEnabled=7\r\nInterval=0\r\n", "x", 1, kSyncIntervalDefault, 0},
        {"[Sync]\r\nInterval=1441\r\n", "", 0, kSyncIntervalDefault, 0},
    };
    for (const auto& c : cases) {
        storage_test::spit(path, c.file);
        ASSERT_TRUE(profile_open(path.c_str(), nullptr));
        SyncSettings s;
        sync_settings_load(&s);
        EXPECT_STREQ(s.address, c.address) << c.file;
        EXPECT_EQ(s.enabled, c.enabled) << c.file;
        EXPECT_EQ(s.interval, c.interval) << c.file;
        EXPECT_EQ(s.plain_confirmed, c.plain) << c.file;
        EXPECT_EQ(sync_automatic(s), c.enabled && c.address[0]) << c.file;
    }
    SyncSettings s;
    sync_settings_defaults(&s);
    std::snprintf(s.address, sizeof s.address, "http://127.0.0.1:5232/alice/cal/");
    std::snprintf(s.user, sizeof s.user, "alice");
    s.interval = 30;
    sync_settings_put(s);
    ASSERT_TRUE(profile_flush());
    ASSERT_TRUE(profile_open(path.c_str(), nullptr));
    SyncSettings back;
    sync_settings_load(&back);
    EXPECT_STREQ(back.address, s.address);
    EXPECT_STREQ(back.user, "alice");
    EXPECT_EQ(back.interval, 30);
    std::filesystem::remove_all(dir);
}

TEST(SyncDialogRules, FieldsAndButtons) {
    struct {
        const char* address;
        const char* user;
        const char* password;
        const char* interval;
        bool ok, find;
    } cases[] = {
        {"https://dav.example.com/", "alice", "pw", "15", true, true},
        {"  https://dav.example.com/cal/  ", "alice", "", "１５", true, true},  // blanks, full-width digits
        {"", "", "", "15", true, false},               // no account
        {"dav.example.com", "alice", "pw", "15", false, false},  // no scheme
        {"ftp://dav.example.com/", "alice", "pw", "15", false, false},
        {"https://alice:pw@dav.example.com/", "alice", "pw", "15", false, false},  // password in it
        {"https://dav.example.com/", "", "pw", "15", false, false},  // a password without a user
        {"https://dav.example.com/", "", "", "15", true, false},
        {"https://dav.example.com/", "alice", "pw", "0", false, true},
        {"https://dav.example.com/", "alice", "pw", "1441", false, true},
        {"https://dav.example.com/", "alice", "pw", "-5", false, true},
        {"https://dav.example.com/", "alice", "pw", "", false, true},
    };
    for (const auto& c : cases) {
        const SyncFields f = {c.address, c.user, c.password, c.interval};
        EXPECT_EQ(sync_ok_enabled(f), c.ok) << c.address << " / " << c.interval;
        EXPECT_EQ(sync_find_enabled(f, false), c.find) << c.address;
        EXPECT_FALSE(sync_find_enabled(f, true)) << c.address << ": not while searching";
    }
    int minutes = 0;
    ASSERT_TRUE(sync_interval_read(" 1440 ", &minutes));
    EXPECT_EQ(minutes, 1440);
}

TEST(SyncDialogRules, PlainHttpNeedsTheUsersYesPerServer) {
    struct {
        const char* url;
        bool confirmed, asked;
    } cases[] = {
        {"http://dav.example.com/c/", false, true},
        {"http://dav.example.com/c/", true, false},
        {"https://dav.example.com/c/", false, false},
        {"http://127.0.0.1:5232/c/", false, false},
        {"http://localhost/c/", false, false},
    };
    for (const auto& c : cases) {
        DavUrl url;
        ASSERT_EQ(sync_address_read(c.url, &url), SyncAddress::kValid) << c.url;
        EXPECT_EQ(sync_plain_question_needed(url, c.confirmed), c.asked) << c.url;
    }
    EXPECT_TRUE(sync_plain_still_confirmed("http://dav.example.com/a/", true, "http://dav.example.com/b/"));
    EXPECT_FALSE(sync_plain_still_confirmed("http://dav.example.com/a/", false, "http://dav.example.com/b/"));
    EXPECT_FALSE(sync_plain_still_confirmed("http://dav.example.com/a/", true, "http://other.example.com/a/"));
    EXPECT_FALSE(sync_plain_still_confirmed("http://dav.example.com/a/", true, "http://dav.example.com:8080/a/"));
}

TEST(SyncNotice, EachThingToldOnceUntilItChanges) {
    SyncCounts none = {}, both = {}, full = {}, full_more = {};
    both.kept_both = 2;
    full.not_taken = 3;
    full_more.not_taken = 4;
    const std::string auth = std::string("カレンダーの同期に失敗しました。\n") + kSyncErrorAuth;
    struct Step {
        NetError error;
        int status;
        SyncCounts counts;
        std::string told;  // "" nothing
    } steps[] = {
        {NetError::kAuth, 401, none, auth},
        {NetError::kAuth, 401, none, ""},           // the same again: quiet
        {NetError::kCancelled, 0, none, ""},        // a stopped sync changes nothing
        {NetError::kAuth, 401, none, ""},
        {NetError::kServer, 500, none, std::string("カレンダーの同期に失敗しました。\nサーバーがエラーを返しました (500)。")},
        {NetError::kServer, 503, none, std::string("カレンダーの同期に失敗しました。\nサーバーがエラーを返しました (503)。")},
        {NetError::kNone, 0, none, ""},
        {NetError::kAuth, 401, none, auth},         // after a success, told again
        {NetError::kNone, 0, both, "両方で変更された予定が 2 件あったため、両方の版を残しました。"},
        {NetError::kNone, 0, full, "登録数が上限の500件に達したため、サーバーの予定 3 件を取り込めませんでした。"},
        {NetError::kNone, 0, full, ""},
        {NetError::kNone, 0, full_more, "登録数が上限の500件に達したため、サーバーの予定 4 件を取り込めませんでした。"},
        {NetError::kConnect, 0, none, std::string("カレンダーの同期に失敗しました。\n") + kSyncErrorConnect},
        {NetError::kNone, 0, full_more, ""},        // a failure in between does not forget the count
        {NetError::kNone, 0, none, ""},
        {NetError::kNone, 0, full_more, "登録数が上限の500件に達したため、サーバーの予定 4 件を取り込めませんでした。"},
    };
    SyncTold told;
    int n = 0;
    for (const Step& s : steps)
        EXPECT_EQ(sync_notice(s.error, s.status, s.counts, kMaxEntries, &told), s.told) << "step " << n++;
    char line[64];
    sync_tip_line(line, sizeof line, 12, 9, 14, 5);
    EXPECT_STREQ(line, "同期: 12/9 14:05");
}

}  // namespace
