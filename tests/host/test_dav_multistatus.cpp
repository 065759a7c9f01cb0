// The multistatus reader on answers shaped as the calendar server of the tests writes them
// and on hand-made ones (other prefixes, missing parts, failed propstats, hostile sizes),
// through a real XML parser; and the request bodies read back by the same parser.
#if ZELMAR_HOST_XML

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/dav_multistatus.h"
#include "schedule/dav_requests.h"
#include "dav_samples.h"
#include "xml_host_parser.h"

namespace {

DavReadResult read(const std::string& xml, DavMultistatus* out, DavLimits limits = DavLimits()) {
    return dav_read_multistatus(xml_host::parser(), xml.data(), xml.size(), limits, out);
}

const char kHead[] = "<?xml version='1.0' encoding='utf-8'?>\n";

TEST(DavMultistatus, ServerShapedAnswers) {
    // Discovery at the root: the principal found, the home set refused in its own propstat.
    DavMultistatus ms;
    ASSERT_EQ(read(std::string(kHead) +
                       "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                       "<response><href>/</href><propstat><prop><current-user-principal>"
                       "<href>/alice/</href></current-user-principal><resourcetype><collection />"
                       "</resourcetype></prop><status>HTTP/1.1 200 OK</status></propstat>"
                       "<propstat><prop><C:calendar-home-set /></prop>"
                       "<status>HTTP/1.1 404 Not Found</status></propstat></response></multistatus>",
                   &ms),
              DavReadResult::kOk);
    ASSERT_EQ(ms.responses.size(), 1u);
    EXPECT_EQ(ms.responses[0].href, "/");
    EXPECT_EQ(ms.responses[0].principal_href, "/alice/");
    EXPECT_TRUE(ms.responses[0].home_href.empty());
    EXPECT_TRUE(ms.responses[0].is_collection);
    EXPECT_FALSE(ms.responses[0].is_calendar);

    // The home listed: a principal and a calendar taking events.
    ASSERT_EQ(read(std::string(kHead) +
                       "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                       "<response><href>/alice/</href><propstat><prop><resourcetype><principal />"
                       "<collection /></resourcetype></prop><status>HTTP/1.1 200 OK</status>"
                       "</propstat></response><response><href>/alice/cal/</href><propstat><prop>"
                       "<resourcetype><C:calendar /><collection /></resourcetype>"
                       "<displayname>\xE5\xAE\xB6\xE6\x97\x8F</displayname>"
                       "<C:supported-calendar-component-set>"
                       "<C:comp name=\"VTODO\" /><C:comp name=\"VEVENT\" />"
                       "</C:supported-calendar-component-set><sync-token>http://radicale.org/ns/"
                       "sync/2a7a</sync-token></prop><status>HTTP/1.1 200 OK</status></propstat>"
                       "</response></multistatus>",
                   &ms),
              DavReadResult::kOk);
    ASSERT_EQ(ms.responses.size(), 2u);
    const DavResponse& cal = ms.responses[1];
    EXPECT_TRUE(cal.is_calendar && cal.is_collection);
    EXPECT_EQ(cal.displayname, "\xE5\xAE\xB6\xE6\x97\x8F");  // UTF-8 as sent
    EXPECT_TRUE(cal.has_components && cal.supports_events);
    EXPECT_EQ(cal.sync_token, "http://radicale.org/ns/sync/2a7a");
    EXPECT_FALSE(ms.responses[0].is_calendar);

    // A sync report: the token, a changed item with its ETag, a removed one.
    ASSERT_EQ(read(std::string(kHead) +
                       "<multistatus xmlns=\"DAV:\"><sync-token>tok-2</sync-token>"
                       "<response><href>/alice/cal/ev-1.ics</href><propstat><prop><getetag>"
                       "\"962e\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat>"
                       "</response><response><href>/alice/cal/gone.ics</href>"
                       "<status>HTTP/1.1 404 Not Found</status></response></multistatus>",
                   &ms),
              DavReadResult::kOk);
    EXPECT_EQ(ms.sync_token, "tok-2");
    ASSERT_EQ(ms.responses.size(), 2u);
    EXPECT_TRUE(ms.responses[0].has_etag);
    EXPECT_EQ(ms.responses[0].etag, "\"962e\"");
    EXPECT_EQ(ms.responses[1].status, 404);
    EXPECT_FALSE(ms.responses[1].has_etag);
    EXPECT_FALSE(ms.truncated);

    // A multiget: escaped calendar data comes back as text, line ends kept.
    ASSERT_EQ(read(std::string(kHead) +
                       "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                       "<response><href>/alice/cal/ev-1.ics</href><propstat><prop><getetag>\"e1\""
                       "</getetag><C:calendar-data>BEGIN:VCALENDAR\r\nSUMMARY:A &amp; &lt;B&gt;\r\n"
                       "END:VCALENDAR\r\n</C:calendar-data></prop><status>HTTP/1.1 200 OK</status>"
                       "</propstat></response></multistatus>",
                   &ms),
              DavReadResult::kOk);
    ASSERT_EQ(ms.responses.size(), 1u);
    EXPECT_TRUE(ms.responses[0].has_data);
    EXPECT_NE(ms.responses[0].calendar_data.find("SUMMARY:A & <B>\n"), std::string::npos)
        << ms.responses[0].calendar_data;
}

TEST(DavMultistatus, PrefixesAndNamespaces) {
    struct {
        const char* name;
        std::string xml;
        bool calendar;
        const char* etag;
    } cases[] = {
        {"other prefixes",
         "<D:multistatus xmlns:D=\"DAV:\" xmlns:cal=\"urn:ietf:params:xml:ns:caldav\"><D:response>"
         "<D:href>/c/</D:href><D:propstat><D:prop><D:resourcetype><cal:calendar/></D:resourcetype>"
         "<D:getetag>\"x\"</D:getetag></D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
         "</D:response></D:multistatus>",
         true, "\"x\""},
        {"namespace declared on the element",
         "<multistatus xmlns=\"DAV:\"><response><href>/c/</href><propstat><prop><resourcetype>"
         "<calendar xmlns=\"urn:ietf:params:xml:ns:caldav\"/></resourcetype></prop>"
         "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
         true, ""},
        {"a calendar element of another namespace",
         "<multistatus xmlns=\"DAV:\" xmlns:x=\"urn:example\"><response><href>/c/</href><propstat>"
         "<prop><resourcetype><x:calendar/></resourcetype><x:getetag>\"no\"</x:getetag></prop>"
         "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
         false, ""},
        {"properties of a failed propstat",
         "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response>"
         "<href>/c/</href><propstat><prop><resourcetype><C:calendar/></resourcetype><getetag>\"f\""
         "</getetag></prop><status>HTTP/1.1 403 Forbidden</status></propstat></response>"
         "</multistatus>",
         false, ""},
        {"a propstat without status",
         "<multistatus xmlns=\"DAV:\"><response><href>/c/</href><propstat><prop><getetag>\"f\""
         "</getetag></prop></propstat></response></multistatus>",
         false, ""},
        {"unknown elements around",
         "<multistatus xmlns=\"DAV:\" xmlns:x=\"urn:x\"><x:note>hi<href>/no/</href></x:note><response>"
         "<x:extra><href>/not-this/</href></x:extra><href> /c/ </href><propstat><prop><getetag>"
         " \"t\" </getetag><x:p><getetag>\"inner\"</getetag></x:p></prop>"
         "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
         false, "\"t\""},
    };
    for (const auto& c : cases) {
        DavMultistatus ms;
        ASSERT_EQ(read(c.xml, &ms), DavReadResult::kOk) << c.name;
        ASSERT_EQ(ms.responses.size(), 1u) << c.name;
        EXPECT_EQ(ms.responses[0].href, "/c/") << c.name;
        EXPECT_EQ(ms.responses[0].is_calendar, c.calendar) << c.name;
        EXPECT_EQ(ms.responses[0].etag, c.etag) << c.name;
        EXPECT_EQ(ms.responses[0].has_etag, c.etag[0] != '\0') << c.name;
    }
}

TEST(DavMultistatus, RefusedDocuments) {
    const std::string deep = [] {
        std::string s = "<multistatus xmlns=\"DAV:\">";
        for (int i = 0; i < 100; ++i) s += "<response>";
        for (int i = 0; i < 100; ++i) s += "</response>";
        return s + "</multistatus>";
    }();
    struct {
        const char* name;
        std::string xml;
        DavReadResult result;
    } cases[] = {
        {"empty", "", DavReadResult::kMalformed},
        {"html", "<html><body>Login</body></html>", DavReadResult::kNotMultistatus},
        {"multistatus of another namespace", "<multistatus xmlns=\"urn:x\"/>",
         DavReadResult::kNotMultistatus},
        {"cut short", "<multistatus xmlns=\"DAV:\"><response><href>/a", DavReadResult::kMalformed},
        {"a DTD", "<!DOCTYPE m [<!ENTITY a \"aaaa\">]><multistatus xmlns=\"DAV:\"/>",
         DavReadResult::kMalformed},
        {"an entity", "<!DOCTYPE m [<!ENTITY a \"x\">]><multistatus xmlns=\"DAV:\"><response>"
                      "<href>&a;</href></response></multistatus>",
         DavReadResult::kMalformed},
        {"an external entity", "<!DOCTYPE m [<!ENTITY a SYSTEM \"file:///etc/passwd\">]>"
                               "<multistatus xmlns=\"DAV:\"><response><href>&a;</href></response>"
                               "</multistatus>",
         DavReadResult::kMalformed},
        {"too deep", deep, DavReadResult::kTooLarge},
    };
    for (const auto& c : cases) {
        DavMultistatus ms;
        ms.sync_token = "left over";
        EXPECT_EQ(read(c.xml, &ms), c.result) << c.name;
        EXPECT_TRUE(ms.responses.empty() && ms.sync_token.empty()) << c.name;
    }
}

TEST(DavMultistatus, Bounds) {
    DavLimits limits;
    limits.max_responses = 3;
    limits.max_data = 16;
    limits.max_text = 16;  // a status line fits
    auto response = [](const std::string& href, const std::string& data) {
        return "<response><href>" + href + "</href><propstat><prop><getetag>\"e\"</getetag>"
               "<C:calendar-data>" + data + "</C:calendar-data></prop><status>HTTP/1.1 200 OK"
               "</status></propstat></response>";
    };
    const std::string open =
        "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">";
    DavMultistatus ms;
    // Three responses fit, a fourth is refused whole.
    std::string three = open + response("/a", "x") + response("/b", "y") + response("/c", "z");
    ASSERT_EQ(read(three + "</multistatus>", &ms, limits), DavReadResult::kOk);
    EXPECT_EQ(ms.responses.size(), 3u);
    EXPECT_EQ(read(three + response("/d", "w") + "</multistatus>", &ms, limits),
              DavReadResult::kTooLarge);
    EXPECT_TRUE(ms.responses.empty());

    // Calendar data at the limit is kept; past it the item is marked and its data dropped.
    ASSERT_EQ(read(open + response("/a", std::string(16, 'd')) +
                       response("/b", std::string(17, 'd')) + "</multistatus>",
                   &ms, limits),
              DavReadResult::kOk);
    ASSERT_EQ(ms.responses.size(), 2u);
    EXPECT_TRUE(ms.responses[0].has_data);
    EXPECT_EQ(ms.responses[0].calendar_data.size(), 16u);
    EXPECT_FALSE(ms.responses[1].has_data);
    EXPECT_TRUE(ms.responses[1].data_too_large);
    EXPECT_TRUE(ms.responses[1].calendar_data.empty());

    // An href past the text limit: a response without href, left out.
    ASSERT_EQ(read(open + response("/1234567890123456", "x") + response("/ok", "y") + "</multistatus>",
                   &ms, limits),
              DavReadResult::kOk);
    ASSERT_EQ(ms.responses.size(), 1u);
    EXPECT_EQ(ms.responses[0].href, "/ok");

    // A 507 for the collection: the set is partial.
    ASSERT_EQ(read("<multistatus xmlns=\"DAV:\"><response><href>/c/</href><status>HTTP/1.1 507 "
                   "Insufficient Storage</status></response><sync-token>t</sync-token>"
                   "</multistatus>",
                   &ms),
              DavReadResult::kOk);
    EXPECT_TRUE(ms.truncated);
}

TEST(DavMultistatus, SamplesThroughLibxml2) {
    for (const auto& s : dav_samples::samples()) {
        DavMultistatus ms;
        const DavReadResult r = read(s.xml, &ms);
        EXPECT_EQ(dav_samples::differs(s, r, ms), "") << s.name;
    }
}

TEST(DavMultistatus, StatusLines) {
    struct {
        const char* line;
        int code;
    } cases[] = {
        {"HTTP/1.1 200 OK", 200},      {"HTTP/1.1 404 Not Found", 404}, {" HTTP/1.0 507", 507},
        {"HTTP/2 412 Precondition", 412}, {"HTTP/1.1 OK", 0},           {"200", 200},
        {"HTTP/1.1 2000 OK", 0},       {"", 0},                          {"HTTP/1.1 700 x", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dav_status_code(c.line, strlen(c.line)), c.code) << c.line;
}

// What the parser reads from a request body: its root and every href and token.
class Texts : public XmlSink {
public:
    std::string root;
    std::vector<std::string> hrefs;
    std::string token;
    bool start(const char* ns, const char* local) override {
        if (root.empty()) root = std::string(ns) + " " + local;
        in_ = std::string(local);
        text_.clear();
        return true;
    }
    bool attribute(const char*, const char*, const char*) override { return true; }
    bool text(const char* s, size_t n) override {
        text_.append(s, n);
        return true;
    }
    bool end() override {
        if (in_ == "href") hrefs.push_back(text_);
        if (in_ == "sync-token") token = text_;
        in_.clear();
        return true;
    }

private:
    std::string in_, text_;
};

TEST(DavRequests, BodiesReadBack) {
    const std::vector<std::string> hrefs = {"/cal/a&b.ics", "/cal/<x>.ics", "/cal/'q\".ics"};
    struct {
        std::string body;
        const char* root;
        std::vector<std::string> hrefs;
        const char* token;
    } cases[] = {
        {dav_body_propfind(), "DAV: propfind", {}, ""},
        {dav_body_event_etags(), "urn:ietf:params:xml:ns:caldav calendar-query", {}, ""},
        {dav_body_multiget(hrefs), "urn:ietf:params:xml:ns:caldav calendar-multiget", hrefs, ""},
        {dav_body_sync_collection("http://x/sync/1?a&b"), "DAV: sync-collection", {},
         "http://x/sync/1?a&b"},
        {dav_body_sync_collection(""), "DAV: sync-collection", {}, ""},
    };
    for (const auto& c : cases) {
        Texts t;
        ASSERT_TRUE(xml_host::parse(nullptr, c.body.data(), c.body.size(), &t)) << c.body;
        EXPECT_EQ(t.root, c.root);
        EXPECT_EQ(t.hrefs, c.hrefs);
        EXPECT_EQ(t.token, c.token);
    }
}

}  // namespace

#endif  // ZELMAR_HOST_XML
