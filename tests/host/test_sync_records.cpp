// What the sync keeps in files beside the settings file (the journal, the feed cache) and in
// the settings file (the subscriptions): round trips with hostile field contents, every
// corrupt or foreign form read as nothing, the files written whole through the file seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "config/fileio.h"
#include "config/profile_file.h"
#include "schedule/feed_cache.h"
#include "schedule/feed_fetch.h"
#include "schedule/feed_list.h"
#include "schedule/stored_fields.h"
#include "schedule/sync_journal.h"

namespace {

SyncJournal sample_journal() {
    SyncJournal j;
    j.collection = "https://dav.example.com/alice/cal/";
    j.token = "http://radicale.org/ns/sync/2a7a\tx%y";
    SyncJournalItem a;
    a.href = "/alice/cal/ev-1.ics";
    a.uid = "ev-1@example\r\nX:injected";
    a.etag = "\"962e\"";
    a.server_hash = 0xFEDCBA9876543210ull;
    a.base_hash = 1;
    a.held = true;
    SyncJournalItem b;
    b.href = "/alice/cal/%E4%BA%88.ics";
    b.uid = "";
    b.etag = "";
    b.unreadable = true;
    j.items = {a, b};
    return j;
}

bool same(const SyncJournal& a, const SyncJournal& b) {
    if (a.collection != b.collection || a.token != b.token || a.items.size() != b.items.size())
        return false;
    for (size_t i = 0; i < a.items.size(); ++i) {
        const SyncJournalItem &x = a.items[i], &y = b.items[i];
        if (x.href != y.href || x.uid != y.uid || x.etag != y.etag ||
            x.server_hash != y.server_hash || x.base_hash != y.base_hash || x.held != y.held ||
            x.unreadable != y.unreadable)
            return false;
    }
    return true;
}

TEST(SyncJournal, RoundTrip) {
    const SyncJournal j = sample_journal();
    const std::string text = sync_journal_text(j);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);  // one line a record, breaks escaped
    SyncJournal back;
    ASSERT_TRUE(sync_journal_parse(text.data(), text.size(), &back));
    EXPECT_TRUE(same(j, back));
    SyncJournal empty;
    const std::string e = sync_journal_text(empty);
    ASSERT_TRUE(sync_journal_parse(e.data(), e.size(), &back));
    EXPECT_TRUE(same(empty, back));
}

TEST(SyncJournal, CorruptFormsReadAsNothing) {
    const std::string good = sync_journal_text(sample_journal());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return s.replace(at, from.size(), to);
    };
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"another file", "[Config]\r\nfoo=1\r\n"},
        {"a later version", replaced("ZelmarSyncJournal\t1", "ZelmarSyncJournal\t2")},
        {"cut in the last line", good.substr(0, good.size() - 1)},
        {"cut between items", good.substr(0, good.find("item", good.find("item") + 1))},
        {"without its end", good.substr(0, good.find("end\t"))},
        {"a count that does not match", replaced("end\t2", "end\t3")},
        {"bytes after the end", good + "x"},
        {"a hash too short", replaced("fedcba9876543210", "fedcba987654321")},
        {"a hash not hexadecimal", replaced("fedcba9876543210", "fedcba987654321g")},
        {"a held flag of 3", replaced("\t1\nitem", "\t3\nitem")},
        {"a field too many", replaced("\t1\nitem", "\t1\t0\nitem")},
        {"a broken escape", replaced("%0D", "%0")},
        {"an item without href", replaced("item\t/alice/cal/ev-1.ics", "item\t")},
        {"the token line missing", replaced("token\t", "tok\t")},
    };
    for (const auto& c : cases) {
        SyncJournal j = sample_journal();
        EXPECT_FALSE(sync_journal_parse(c.text.data(), c.text.size(), &j)) << c.name;
        EXPECT_TRUE(j.items.empty() && j.collection.empty() && j.token.empty()) << c.name;
    }
}

// Files in memory, with a write that can fail.
class MemoryFiles : public FileIO {
public:
    std::string data;
    bool exists = false, writable = true;
    int writes = 0;
    FileStamp stamp(const char*) override {
        FileStamp s;
        s.exists = exists;
        s.size = data.size();
        return s;
    }
    bool read_all(const char*, std::string* out) override {
        *out = data;
        return exists;
    }
    bool write_atomic(const char*, const char* d, size_t n) override {
        ++writes;
        if (!writable) return false;
        data.assign(d, n);
        exists = true;
        return true;
    }
};

TEST(SyncJournal, ThroughTheFileSeam) {
    MemoryFiles files;
    SyncJournal j;
    EXPECT_FALSE(sync_journal_load(&files, "x.sync", &j));  // missing: an empty journal
    EXPECT_TRUE(j.items.empty());
    ASSERT_TRUE(sync_journal_save(&files, "x.sync", sample_journal()));
    ASSERT_TRUE(sync_journal_load(&files, "x.sync", &j));
    EXPECT_TRUE(same(j, sample_journal()));
    files.writable = false;
    EXPECT_FALSE(sync_journal_save(&files, "x.sync", SyncJournal()));
    ASSERT_TRUE(sync_journal_load(&files, "x.sync", &j));  // the old one stands
    EXPECT_TRUE(same(j, sample_journal()));
    files.data.resize(files.data.size() / 2);
    EXPECT_FALSE(sync_journal_load(&files, "x.sync", &j));
    EXPECT_TRUE(j.items.empty());
}

FeedCache sample_cache() {
    FeedCache c;
    FeedCacheEntry* a = feed_cache_entry(&c, "webcal://example.com/holidays.ics");
    a->etag = "W/\"abc\"";
    a->last_modified = "Tue, 01 Oct 2024 10:00:00 GMT";
    a->fetched = 1727776800;
    a->checked = 1727780400;
    a->error = NetError::kConnect;
    a->status = 0;
    a->body = "BEGIN:VCALENDAR\r\n\nend\t1\nfeed\t\r\nEND:VCALENDAR\r\n";  // looks like records
    FeedCacheEntry* b = feed_cache_entry(&c, "https://example.com/team.ics");
    b->status = 304;
    return c;
}

TEST(FeedCache, RoundTripAndCorruptForms) {
    const FeedCache c = sample_cache();
    ASSERT_EQ(c.entries.size(), 2u);
    EXPECT_EQ(feed_cache_entry(const_cast<FeedCache*>(&c), "https://example.com/team.ics"),
              &c.entries[1]);  // found, not made again
    const std::string text = feed_cache_text(c);
    FeedCache back;
    ASSERT_TRUE(feed_cache_parse(text.data(), text.size(), &back));
    ASSERT_EQ(back.entries.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const FeedCacheEntry &x = c.entries[i], &y = back.entries[i];
        EXPECT_EQ(x.url, y.url);
        EXPECT_EQ(x.etag, y.etag);
        EXPECT_EQ(x.last_modified, y.last_modified);
        EXPECT_EQ(x.fetched, y.fetched);
        EXPECT_EQ(x.checked, y.checked);
        EXPECT_EQ(x.error, y.error);
        EXPECT_EQ(x.status, y.status);
        EXPECT_EQ(x.body, y.body);
    }
    const std::string len = std::to_string(c.entries[0].body.size());
    const size_t len_at = text.find("\t" + len + "\n");
    ASSERT_NE(len_at, std::string::npos);
    auto body_length = [&](const std::string& n) {
        return std::string(text).replace(len_at, len.size() + 2, "\t" + n + "\n");
    };
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"a body longer than declared", body_length(std::to_string(c.entries[0].body.size() - 1))},
        {"a body shorter than declared", body_length(std::to_string(c.entries[0].body.size() + 1))},
        {"a body past the end", body_length("999999")},
        {"a body over the limit", body_length("99999999999")},
        {"an error past the known ones",
         std::string(text).replace(
             text.find("\t" + std::to_string((int)NetError::kConnect) + "\t0\t" + len), 2, "\t99")},
        {"cut", text.substr(0, text.size() - 2)},
        {"another file", "ZelmarSyncJournal\t1\n"},
    };
    for (const auto& k : cases) {
        FeedCache f = sample_cache();
        EXPECT_FALSE(feed_cache_parse(k.text.data(), k.text.size(), &f)) << k.name;
        EXPECT_TRUE(f.entries.empty()) << k.name;
    }
    FeedCache kept = sample_cache();
    feed_cache_keep(&kept, {"https://example.com/team.ics"});
    ASSERT_EQ(kept.entries.size(), 1u);
    EXPECT_EQ(kept.entries[0].url, "https://example.com/team.ics");
}

TEST(FeedList, StoredValues) {
    struct {
        FeedSubscription feed;
        const char* value;
    } cases[] = {
        {{"webcal://example.com/h.ics", "祝日", true}, "1|webcal://example.com/h.ics|祝日"},
        {{"https://example.com/a|b.ics", "a|b%c", false}, "0|https://example.com/a%7Cb.ics|a%7Cb%25c"},
        {{"http://x.example/", "", true}, "1|http://x.example/|"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(feed_value(c.feed), c.value);
        FeedSubscription back;
        ASSERT_TRUE(feed_parse_value(c.value, &back)) << c.value;
        EXPECT_EQ(back.url, c.feed.url);
        EXPECT_EQ(back.name, c.feed.name);
        EXPECT_EQ(back.on, c.feed.on);
    }
    for (const char* bad : {"", "1", "1|http://x/", "2|http://x/|n", "1|ftp://x/|n",
                            "1|http://x/|n|extra", "1|http://x/%zz|n", "1|not a url|n"}) {
        FeedSubscription f;
        EXPECT_FALSE(feed_parse_value(bad, &f)) << bad;
    }
}

TEST(FeedList, InTheSettingsFile) {
    ProfileFile p;
    const char file[] =
        "[Config]\r\nfont=1\r\n[Subscription]\r\nfeed01=1|https://a.example/a.ics|A\r\n"
        "feed02=garbage\r\nfeed03=0|webcal://b.example/b.ics|B\r\n";
    p.parse(file, sizeof file - 1);
    std::vector<FeedSubscription> feeds = feed_list_read(p);
    ASSERT_EQ(feeds.size(), 2u);
    EXPECT_EQ(feeds[1].url, "webcal://b.example/b.ics");
    EXPECT_FALSE(feeds[1].on);
    feeds.push_back({"https://c.example/c.ics", "C", true});
    feed_list_write(&p, feeds);
    EXPECT_EQ(p.serialize(),
              "[Config]\r\nfont=1\r\n[Subscription]\r\nfeed01=1|https://a.example/a.ics|A\r\n"
              "feed02=0|webcal://b.example/b.ics|B\r\nfeed03=1|https://c.example/c.ics|C\r\n");
    std::vector<FeedSubscription> many(kFeedMaxCount + 5, feeds[0]);
    feed_list_write(&p, many);
    EXPECT_EQ(feed_list_read(p).size(), (size_t)kFeedMaxCount);
}

TEST(FeedFetch, CalendarText) {
    struct {
        const char* text;
        bool calendar;
    } cases[] = {
        {"BEGIN:VCALENDAR\r\n", true},
        {"\xEF\xBB\xBF\r\n  begin:vcalendar\r\n", true},
        {"<html>BEGIN:VCALENDAR", false},
        {"BEGIN:VCALENDA", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(feed_looks_like_calendar(c.text, strlen(c.text)), c.calendar) << c.text;
}

TEST(StoredFields, NumbersAndEscapes) {
    uint64_t v;
    EXPECT_TRUE(stored_parse_decimal("18446744073709551615", UINT64_MAX, &v));
    EXPECT_EQ(v, UINT64_MAX);
    EXPECT_FALSE(stored_parse_decimal("18446744073709551616", UINT64_MAX, &v));
    EXPECT_FALSE(stored_parse_decimal("11", 10, &v));
    EXPECT_FALSE(stored_parse_decimal("-1", 10, &v));
    EXPECT_FALSE(stored_parse_decimal("", 10, &v));
    EXPECT_TRUE(stored_parse_hex(stored_hex(0x0123456789ABCDEFull), &v));
    EXPECT_EQ(v, 0x0123456789ABCDEFull);
    std::string out;
    const std::string raw = std::string("a\tb\r\n%\x7F\x01|c", 10);
    const std::string esc = stored_escape(raw, '|');
    EXPECT_EQ(esc, "a%09b%0D%0A%25%7F%01%7Cc");
    ASSERT_TRUE(stored_unescape(esc.data(), esc.size(), 100, &out));
    EXPECT_EQ(out, raw);
    EXPECT_FALSE(stored_unescape(esc.data(), esc.size(), 5, &out));
    EXPECT_FALSE(stored_unescape("%4", 2, 100, &out));
}

}  // namespace
