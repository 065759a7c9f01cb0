// Calendar subscriptions: the dialog's rules (the address field, additions and changes, the
// rows and buttons), the read-only list made from the feeds' cached copies, and the day
// contents and recent list with subscribed rows among the schedule's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/feed_dialog.h"
#include "dialogs/subscribed_rows.h"
#include "resources/texts.h"
#include "schedule/feed_entries.h"
#include "tests/host/entry_maker.h"
#include "tests/host/ical_host_platform.h"

namespace {

TEST(FeedDialogRules, AddressField) {
    struct Case {
        const char* typed;
        FeedUrlCheck check;
        const char* kept;
    } cases[] = {
        {"  https://cal.example/h.ics \t", FeedUrlCheck::kOk, "https://cal.example/h.ics"},
        {"http://127.0.0.1:8080/a.ics", FeedUrlCheck::kOk, "http://127.0.0.1:8080/a.ics"},
        {"webcal://cal.example/h.ics", FeedUrlCheck::kOk, "https://cal.example/h.ics"},
        {"WebCal://cal.example/h.ics", FeedUrlCheck::kOk, "https://cal.example/h.ics"},
        {"webcals://cal.example/h.ics", FeedUrlCheck::kOk, "https://cal.example/h.ics"},
        {"HTTPS://cal.example/", FeedUrlCheck::kOk, "HTTPS://cal.example/"},
        {"", FeedUrlCheck::kEmpty, ""},
        {"   ", FeedUrlCheck::kEmpty, ""},
        {"ftp://cal.example/h.ics", FeedUrlCheck::kBad, ""},
        {"cal.example/h.ics", FeedUrlCheck::kBad, ""},
        {"webcal:/cal.example", FeedUrlCheck::kBad, ""},
        {"https://", FeedUrlCheck::kBad, ""},
        {"https://user:pw@cal.example/h.ics", FeedUrlCheck::kBad, ""},
        {"https://cal.example:99999/", FeedUrlCheck::kBad, ""},
    };
    for (const Case& c : cases) {
        std::string kept;
        EXPECT_EQ(feed_url_check(c.typed, &kept), c.check) << c.typed;
        EXPECT_EQ(kept, c.kept) << c.typed;
    }
}

TEST(FeedDialogRules, AdditionsAndChanges) {
    std::vector<FeedSubscription> feeds;
    EXPECT_EQ(feed_edit(&feeds, -1, "webcal://a.example/x.ics", "A", true), FeedEditError::kNone);
    EXPECT_EQ(feed_edit(&feeds, -1, "http://b.example/y.ics", "", false), FeedEditError::kNone);
    ASSERT_EQ(feeds.size(), 2u);
    EXPECT_EQ(feeds[0].url, "https://a.example/x.ics");
    EXPECT_FALSE(feeds[1].on);
    const std::vector<FeedSubscription> before = feeds;
    struct Case {
        int index;
        const char* url;
        std::string name;
        FeedEditError error;
    } refused[] = {
        {-1, "https://a.example/x.ics", "again", FeedEditError::kDuplicate},  // webcal was read as https
        {1, " webcal://a.example/x.ics", "", FeedEditError::kDuplicate},
        {-1, "", "", FeedEditError::kUrlEmpty},
        {0, "mailto:x@example", "", FeedEditError::kUrlBad},
        {-1, "https://c.example/", std::string(kFeedMaxName + 1, 'n'), FeedEditError::kNameLong},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(feed_edit(&feeds, c.index, c.url, c.name, true), c.error) << c.url;
        EXPECT_NE(feed_edit_message(c.error), nullptr);
        ASSERT_EQ(feeds.size(), before.size()) << c.url;
        EXPECT_EQ(feeds[0].url, before[0].url);
        EXPECT_EQ(feeds[1].url, before[1].url);
    }
    // A row keeps its own address on a change; its other fields change.
    EXPECT_EQ(feed_edit(&feeds, 0, "https://a.example/x.ics", "renamed", false), FeedEditError::kNone);
    EXPECT_EQ(feeds[0].name, "renamed");
    EXPECT_FALSE(feeds[0].on);
    while ((int)feeds.size() < kFeedMaxCount)
        ASSERT_EQ(feed_edit(&feeds, -1, "https://f.example/" + std::to_string(feeds.size()), "", true),
                  FeedEditError::kNone);
    EXPECT_EQ(feed_edit(&feeds, -1, "https://g.example/", "", true), FeedEditError::kFull);
    EXPECT_EQ(feed_edit(&feeds, 3, "https://g.example/", "", true), FeedEditError::kNone);
}

TEST(FeedDialogRules, RowsAndButtons) {
    const FeedRowTexts named = feed_row_texts({"https://cal.example/h.ics", "祝日", true});
    EXPECT_EQ(named.texts[0], std::string(kFeedOn));
    EXPECT_EQ(named.texts[1], "祝日");
    EXPECT_EQ(named.texts[2], "https://cal.example/h.ics");
    const FeedRowTexts unnamed = feed_row_texts({"webcal://Cal.Example:8443/h.ics", "", false});
    EXPECT_EQ(unnamed.texts[0], std::string(kFeedOff));
    EXPECT_EQ(unnamed.texts[1], "cal.example");
    struct Case {
        int count, selected;
        bool add, change;
    } cases[] = {
        {0, -1, true, false}, {3, -1, true, false}, {3, 0, true, true},
        {3, 2, true, true},   {3, 3, true, false},  {kFeedMaxCount, 5, false, true},
    };
    for (const Case& c : cases) {
        const FeedButtons b = feed_buttons(c.count, c.selected);
        EXPECT_EQ(b.add, c.add) << c.count << " " << c.selected;
        EXPECT_EQ(b.change, c.change) << c.count << " " << c.selected;
        EXPECT_EQ(b.remove, c.change) << c.count << " " << c.selected;
    }
}

TEST(FeedDialogRules, FailureWordsAndCachePath) {
    const std::string kept = feed_failure_text("祝日", NetError::kConnect, true);
    const std::string none = feed_failure_text("祝日", NetError::kNotFound, false);
    EXPECT_NE(kept.find("祝日"), std::string::npos);
    EXPECT_NE(kept.find(kFeedReasonConnect), std::string::npos);
    EXPECT_NE(none.find(kFeedReasonNotFound), std::string::npos);
    EXPECT_NE(kept, feed_failure_text("祝日", NetError::kConnect, false));
    struct Case {
        const char* settings;
        const char* cache;
    } paths[] = {
        {"C:\\Zelmar\\alice.cfg", "C:\\Zelmar\\alice.feeds"},
        {"C:\\Zel.mar\\alice", "C:\\Zel.mar\\alice.feeds"},
        {"alice.cfg", "alice.feeds"},
    };
    for (const Case& c : paths) EXPECT_EQ(feed_cache_path(c.settings), c.cache);
}

std::string calendar(const std::vector<std::string>& events) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n";
    for (const std::string& e : events) text += "BEGIN:VEVENT\r\n" + e + "END:VEVENT\r\n";
    return text + "END:VCALENDAR\r\n";
}

std::string event(int n, const char* day, const char* extra = "") {
    return "UID:e" + std::to_string(n) + "\r\nDTSTAMP:20240101T000000Z\r\nDTSTART" + day +
           "\r\nSUMMARY:ev" + std::to_string(n) + "\r\n" + extra;
}

FeedCache cache_of(const std::vector<std::pair<std::string, std::string>>& bodies) {
    FeedCache c;
    for (const auto& b : bodies) feed_cache_entry(&c, b.first)->body = b.second;
    return c;
}

TEST(FeedEntries, ReadFromCachedCopies) {
    std::vector<std::string> many;
    for (int i = 0; i < kFeedMaxEvents + 5; ++i) many.push_back(event(i, ";VALUE=DATE:20250301"));
    const std::vector<FeedSubscription> feeds = {
        {"https://a.example/a.ics", "A", true},
        {"https://off.example/o.ics", "Off", false},
        {"https://none.example/n.ics", "None", true},
        {"https://b.example/b.ics", "", true},
        {"https://big.example/m.ics", "Big", true},
    };
    const FeedCache cache = cache_of({
        {"https://a.example/a.ics",
         calendar({event(1, ":20250110T090000", "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"),
                   event(2, ";VALUE=DATE:20250120", "RRULE:FREQ=WEEKLY;COUNT=3\r\n"),
                   event(5, ";VALUE=DATE:20250102", "RRULE:FREQ=DAILY;COUNT=5\r\nEXDATE;VALUE=DATE:20250104\r\n"),
                   event(6, ";VALUE=DATE:20250125", "RRULE:FREQ=DAILY;BYHOUR=3\r\n")})},
        {"https://off.example/o.ics", calendar({event(3, ";VALUE=DATE:20250115")})},
        {"https://b.example/b.ics", calendar({event(4, ";VALUE=DATE:20250112")})},
        {"https://big.example/m.ics", calendar(many)},
    });
    FeedEntries out;
    feed_entries_build(feeds, cache, ical_host::japan(), &out);
    EXPECT_EQ(out.names, (std::vector<std::string>{"A", "b.example", "Big"}));
    ASSERT_EQ(out.entries.size(), 5u + kFeedMaxEvents);
    ASSERT_EQ(out.feed_of.size(), out.entries.size());
    EXPECT_EQ(out.feed_of[0], 0);
    EXPECT_EQ(out.feed_of[4], 1);
    EXPECT_EQ(out.feed_of.back(), 2);
    for (const ScheduleEntry& e : out.entries) {
        EXPECT_FALSE(has_alarm(e)) << e.memo;
        EXPECT_EQ(e.alarm_at, 0u);
    }
    // The month's marks: the timed event, the weekly series' days, the daily series without
    // its skipped day, the first day of a rule no entry holds and the other feed's day, none
    // of the switched-off feed's; kept until the list changes.
    const DayMarks jan = feed_month_marks(out, 2025, 1);
    EXPECT_EQ(jan.marked | jan.holiday, (1u << 2) | (1u << 3) | (1u << 5) | (1u << 6) | (1u << 10) | (1u << 12) |
                                            (1u << 20) | (1u << 25) | (1u << 27));
    EXPECT_EQ(feed_month_marks(out, 2025, 3).marked | feed_month_marks(out, 2025, 3).holiday, 1u << 1);
    const uint32_t generation = out.generation;
    feed_entries_build({feeds[3]}, cache, ical_host::japan(), &out);
    EXPECT_NE(out.generation, generation);
    const DayMarks only_b = feed_month_marks(out, 2025, 1);
    EXPECT_EQ(only_b.marked | only_b.holiday, 1u << 12);
}

// The schedule's 12 January entries and a feed's events of that day and the days after.
struct Lists {
    std::vector<ScheduleEntry> own;
    FeedEntries feeds;
    Lists() {
        own = {make_entry(2025, 1, 12, 0, "own one"), make_entry(2025, 1, 14, 0, "own two"),
               make_entry(2025, 1, 12, 1, "own holiday")};
        feeds.entries = {make_entry(2025, 1, 12, 0, "meetup"), make_entry(2025, 1, 13, 0, "talk"),
                         make_entry(2025, 1, 12, 0, "party")};
        feeds.feed_of = {0, 1, 1};
        feeds.names = {"Club", "Town"};
    }
};

TEST(SubscribedRows, DayContents) {
    Lists l;
    const std::vector<DayListing> rows = day_listing(l.own.data(), (int)l.own.size(), &l.feeds, 2025, 1, 12);
    struct Row {
        const char* memo;
        int entry;
        bool subscribed;
    } want[] = {
        {"own one", 0, false},
        {"own holiday", 2, false},
        {"［Club］meetup", -1, true},
        {"［Town］party", -1, true},
    };
    ASSERT_EQ(rows.size(), sizeof want / sizeof want[0]);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_STREQ(rows[i].memo, want[i].memo) << i;
        EXPECT_EQ(rows[i].entry, want[i].entry) << i;
        EXPECT_EQ(rows[i].subscribed, want[i].subscribed) << i;
    }
    EXPECT_EQ(day_listing(l.own.data(), (int)l.own.size(), nullptr, 2025, 1, 12).size(), 2u);
    // A long name and memo are cut to the column's text, never in a character.
    char memo[kListedMemoText];
    const std::string name(kFeedMaxName, 'n');
    std::string kanji;
    for (int i = 0; i < 40; ++i) kanji += "漢";
    subscribed_memo(memo, sizeof memo, name.c_str(), kanji.c_str());
    const std::string shown = memo;
    EXPECT_LT(shown.size(), sizeof memo);
    EXPECT_EQ(shown.compare(0, 2, "［"), 0);
    EXPECT_EQ((shown.size() - name.size()) % 2, 0u);
}

TEST(SubscribedRows, RecentList) {
    Lists l;
    RecentOccurrence occ[16];
    const int n = recent_listing(l.own.data(), (int)l.own.size(), &l.feeds, 2025, 1, 12, 7, occ, 16);
    struct Row {
        int days;
        bool subscribed;
        const char* memo;
    } want[] = {
        {0, false, "own one"},   {0, false, "own holiday"}, {0, true, "［Club］meetup"},
        {0, true, "［Town］party"}, {1, true, "［Town］talk"},  {2, false, "own two"},
    };
    ASSERT_EQ(n, (int)(sizeof want / sizeof want[0]));
    for (int i = 0; i < n; ++i) {
        RecentListing row;
        recent_listing_row(l.own.data(), &l.feeds, occ[i], &row);
        char memo[kListedMemoText];
        recent_listing_memo(l.own.data(), &l.feeds, occ[i], memo, sizeof memo);
        EXPECT_EQ(occ[i].days, want[i].days) << i;
        EXPECT_EQ(occ[i].subscribed, want[i].subscribed) << i;
        EXPECT_STREQ(row.memo, want[i].memo) << i;
        EXPECT_STREQ(memo, want[i].memo) << i;
        EXPECT_STREQ(recent_listing_entry(l.own.data(), &l.feeds, occ[i]).memo, row.row.memo) << i;
    }
    EXPECT_EQ(recent_listing(l.own.data(), (int)l.own.size(), &l.feeds, 2025, 1, 12, 7, occ, 3), 3);
}

}  // namespace
