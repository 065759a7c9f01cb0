// The two ends of a sync that need no server: requests as the session sends them (where a
// password may go, which redirects are followed), and the list's half (changes applied in
// order, the journal following what the list did, nothing saved when the list was not).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/fileio.h"
#include "schedule/dav_session.h"
#include "schedule/sync_engine.h"

namespace {

// Answers from a script, recording what was asked.
class ScriptedClient : public HttpClient {
public:
    std::vector<HttpResponse> answers;
    std::vector<HttpRequest> asked;
    NetError send(const HttpRequest& req, HttpResponse* res) override {
        asked.push_back(req);
        *res = answers.empty() ? HttpResponse() : answers[std::min(asked.size(), answers.size()) - 1];
        return NetError::kNone;
    }
};

HttpResponse redirect(const char* to) {
    HttpResponse r;
    r.status = 301;
    r.location = to;
    return r;
}

TEST(DavSession, PasswordsAndRedirects) {
    struct {
        const char* name;
        const char* url;
        bool confirmed, cancelled;
        std::vector<HttpResponse> answers;
        NetError error;
        size_t asked;
        const char* last_url;  // where the last request went
    } cases[] = {
        {"plain http elsewhere", "http://dav.example.com/c/", false, false, {}, NetError::kInsecure, 0, ""},
        {"confirmed", "http://dav.example.com/c/", true, false, {HttpResponse()}, NetError::kNone, 1,
         "http://dav.example.com/c/"},
        {"https", "https://dav.example.com/c/", false, false, {HttpResponse()}, NetError::kNone, 1,
         "https://dav.example.com/c/"},
        {"stopped", "https://dav.example.com/c/", false, true, {}, NetError::kCancelled, 0, ""},
        {"a redirect on the same server", "https://dav.example.com/.well-known/caldav", false, false,
         {redirect("/dav/"), HttpResponse()}, NetError::kNone, 2, "https://dav.example.com/dav/"},
        {"a redirect elsewhere: the password stays", "https://dav.example.com/c/", false, false,
         {redirect("https://evil.example.org/c/")}, NetError::kServer, 1, "https://dav.example.com/c/"},
        {"a redirect to plain http", "https://dav.example.com/c/", false, false,
         {redirect("http://dav.example.com/c/")}, NetError::kServer, 1, "https://dav.example.com/c/"},
        {"redirects without end", "https://dav.example.com/a", false, false, {redirect("/a")},
         NetError::kServer, kDavMaxRedirects + 1, "https://dav.example.com/a"},
    };
    for (const auto& c : cases) {
        ScriptedClient http;
        http.answers = c.answers;
        CancelFlag cancel{c.cancelled};
        DavSession s{&http, XmlParser{}, DavLimits(), &cancel, c.confirmed};
        DavUrl url;
        ASSERT_TRUE(dav_url_parse(c.url, &url));
        HttpResponse res;
        DavCall call{"PROPFIND", "0", "<x/>", 1024, {}};
        EXPECT_EQ(dav_send(&s, call, &url, &res), c.error) << c.name;
        ASSERT_EQ(http.asked.size(), c.asked) << c.name;
        for (const HttpRequest& r : http.asked) {
            EXPECT_EQ(r.method, "PROPFIND") << c.name;  // kept across redirects
            EXPECT_TRUE(r.with_password) << c.name;
            EXPECT_FALSE(r.follow_redirects) << c.name;
        }
        if (c.asked) EXPECT_EQ(dav_url_text(http.asked.back().url), c.last_url) << c.name;
        EXPECT_EQ(s.requests, (int)c.asked) << c.name;
    }
}

// A list that applies what its script says, in order.
class ScriptedStore : public SyncStore {
public:
    std::vector<SyncApply> results;
    std::vector<std::string> applied;  // uids handed over
    bool commit_ok = true;
    int commits = 0;
    SyncApply apply(const SyncChange& c) override {
        const SyncApply a = results[applied.size()];
        applied.push_back(c.uid);
        return a;
    }
    bool commit() override {
        ++commits;
        return commit_ok;
    }
};

class Files : public FileIO {
public:
    std::string data;
    int writes = 0;
    FileStamp stamp(const char*) override { return FileStamp(); }
    bool read_all(const char*, std::string*) override { return false; }
    bool write_atomic(const char*, const char* d, size_t n) override {
        ++writes;
        data.assign(d, n);
        return true;
    }
};

SyncJournalItem item(const char* href, const char* uid, bool held) {
    SyncJournalItem j;
    j.href = href;
    j.uid = uid;
    j.etag = "\"e\"";
    j.server_hash = j.base_hash = 7;
    j.held = held;
    return j;
}

SyncChange change(const char* uid, const char* href, bool after_previous = false, bool drop = false) {
    SyncChange c;
    c.uid = uid;
    c.applied = item(href, uid, true);
    c.refused = item(href, uid, false);
    c.after_previous = after_previous;
    c.drop_applied = drop;
    return c;
}

TEST(SyncFinish, JournalFollowsTheList) {
    SyncOutcome out;
    out.token = "t2";
    out.journal.token = "t1";
    out.journal.items = {item("/c/a.ics", "a", true), item("/c/gone.ics", "gone", true)};
    out.changes = {change("a", "/c/a.ics"),                      // applied: held
                   change("gone", "/c/gone.ics", false, true),   // applied removal: dropped
                   change("b", "/c/b.ics"),                      // no room: left on the server
                   change("b-copy", "/c/b-copy.ics", true),      // after a refused one: not tried
                   change("n", "/c/n.ics")};                     // edited meanwhile
    out.changes[1].kind = SyncChangeKind::kRemove;
    ScriptedStore store;
    store.results = {SyncApply::kApplied, SyncApply::kApplied, SyncApply::kFull, SyncApply::kChanged};
    Files files;
    ASSERT_TRUE(sync_finish(&store, &out, &files, "j"));
    EXPECT_EQ(store.applied, (std::vector<std::string>{"a", "gone", "b", "n"}));
    EXPECT_EQ(store.commits, 1);
    SyncJournal saved;
    ASSERT_TRUE(sync_journal_parse(files.data.data(), files.data.size(), &saved));
    EXPECT_EQ(saved.token, "t2");
    std::vector<std::string> held, left;
    for (const auto& j : saved.items) (j.held ? held : left).push_back(j.uid);
    EXPECT_EQ(held, (std::vector<std::string>{"a"}));
    EXPECT_EQ(left, (std::vector<std::string>{"b", "b-copy", "n"}));
    EXPECT_EQ(out.counts.deleted_here, 1);
    EXPECT_EQ(out.counts.downloaded, 1);
    EXPECT_EQ(out.counts.not_taken, 1);
    EXPECT_EQ(out.counts.retry_later, 2);
}

TEST(SyncFinish, NothingSavedBeforeTheList) {
    struct {
        const char* name;
        bool commit_ok;
        NetError error;
        int journal_writes;
        const char* token;
    } cases[] = {
        {"the list saved", true, NetError::kNone, 1, "t2"},
        {"the list not saved: the journal neither", false, NetError::kNone, 0, ""},
        {"a failed exchange: its progress, the old token", true, NetError::kConnect, 1, "t1"},
    };
    for (const auto& c : cases) {
        SyncOutcome out;
        out.error = c.error;
        out.token = "t2";
        out.journal.token = "t1";
        if (c.error == NetError::kNone) out.changes = {change("a", "/c/a.ics")};
        ScriptedStore store;
        store.results = {SyncApply::kApplied};
        store.commit_ok = c.commit_ok;
        Files files;
        EXPECT_EQ(sync_finish(&store, &out, &files, "j"), c.journal_writes == 1) << c.name;
        EXPECT_EQ(files.writes, c.journal_writes) << c.name;
        SyncJournal saved;
        if (c.journal_writes) {
            ASSERT_TRUE(sync_journal_parse(files.data.data(), files.data.size(), &saved)) << c.name;
            EXPECT_EQ(saved.token, c.token) << c.name;
        }
    }
}

TEST(SyncNames, CopiesAndNewResources) {
    DavUrl cal;
    ASSERT_TRUE(dav_url_parse("https://h.example/alice/cal", &cal));
    EXPECT_EQ(sync_new_href(cal, "a b@x/y"), "/alice/cal/a%20b%40x%2Fy.ics");
    const std::string copy = sync_copy_uid("uid-1", 42, "\"e1\"");
    EXPECT_EQ(copy.rfind("uid-1-", 0), 0u);
    EXPECT_EQ(copy, sync_copy_uid("uid-1", 42, "\"e1\""));  // a stopped sync sends no second copy
    EXPECT_NE(copy, sync_copy_uid("uid-1", 43, "\"e1\""));
    EXPECT_NE(copy, sync_copy_uid("uid-1", 42, "\"e2\""));
}

}  // namespace
