// Multistatus answers and what the reader must make of them, the same through every XML
// parser behind it (libxml2 on the host, XmlLite in the program).
#pragma once

#include <string>
#include <vector>

#include "schedule/dav_multistatus.h"

namespace dav_samples {

struct Sample {
    const char* name;
    std::string xml;
    DavReadResult result;
    std::vector<std::string> hrefs;  // of the responses read
    const char* etag;                // of the first response
    bool calendar;                   // the first response is a calendar
    bool events;                     // and takes events
    const char* data;                // the first response's calendar data (line ends aside)
    bool may_read = false;  // a parser may also read it (an undeclared entity expands to nothing)
};

// ASCII text as UTF-16LE with its byte-order mark.
inline std::string utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

inline std::vector<Sample> samples() {
    const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    return {
        {"home listing",
         head + "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response>"
                "<href>/alice/cal/</href><propstat><prop><resourcetype><C:calendar /><collection />"
                "</resourcetype><C:supported-calendar-component-set><C:comp name=\"VTODO\" />"
                "<C:comp name=\"VEVENT\" /></C:supported-calendar-component-set></prop>"
                "<status>HTTP/1.1 200 OK</status></propstat></response><response><href>/alice/todo/"
                "</href></response></multistatus>",
         DavReadResult::kOk, {"/alice/cal/", "/alice/todo/"}, "", true, true, ""},
        {"other prefixes, CDATA and escapes",
         "<D:multistatus xmlns:D=\"DAV:\" xmlns:cal=\"urn:ietf:params:xml:ns:caldav\"><D:response>"
         "<D:href>/c/a&amp;b.ics</D:href><D:propstat><D:prop><D:getetag>\"x\"</D:getetag>"
         "<cal:calendar-data><![CDATA[BEGIN:VCALENDAR\r\n]]>SUMMARY:&lt;&#x4E88;&gt;</cal:calendar-data>"
         "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response></D:multistatus>",
         DavReadResult::kOk, {"/c/a&b.ics"}, "\"x\"", false, false,
         "BEGIN:VCALENDAR\n" "SUMMARY:<\xE4\xBA\x88>"},
        {"a failed propstat",
         "<multistatus xmlns=\"DAV:\"><response><href>/c/</href><propstat><prop><getetag>\"f\""
         "</getetag></prop><status>HTTP/1.1 403 Forbidden</status></propstat></response>"
         "</multistatus>",
         DavReadResult::kOk, {"/c/"}, "", false, false, ""},
        {"UTF-16 with its byte-order mark",
         utf16("<multistatus xmlns=\"DAV:\"><response><href>/u</href></response></multistatus>"),
         DavReadResult::kOk, {"/u"}, "", false, false, ""},
        {"a DTD", "<!DOCTYPE multistatus [<!ENTITY x \"y\">]><multistatus xmlns=\"DAV:\"/>",
         DavReadResult::kMalformed, {}, "", false, false, ""},
        {"an external entity",
         "<!DOCTYPE m [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><multistatus xmlns=\"DAV:\">"
         "<response><href>&e;</href></response></multistatus>",
         DavReadResult::kMalformed, {}, "", false, false, ""},
        {"an undeclared entity", "<multistatus xmlns=\"DAV:\"><response><href>&e;</href></response></multistatus>",
         DavReadResult::kMalformed, {}, "", false, false, "", true},
        {"not well-formed", "<multistatus xmlns=\"DAV:\"><response></multistatus>",
         DavReadResult::kMalformed, {}, "", false, false, ""},
        {"an undeclared prefix", "<D:multistatus/>", DavReadResult::kNotMultistatus, {}, "", false, false, ""},
        {"a login page", "<html><body>login</body></html>", DavReadResult::kNotMultistatus, {}, "",
         false, false, ""},
    };
}

// The first difference between what was read and what the sample expects ("" none).
inline std::string differs(const Sample& s, DavReadResult r, const DavMultistatus& ms) {
    if (s.may_read && r == DavReadResult::kOk) return "";
    if (r != s.result) return "result " + std::to_string((int)r);
    std::vector<std::string> hrefs;
    for (const DavResponse& x : ms.responses) hrefs.push_back(x.href);
    if (hrefs != s.hrefs) return "hrefs";
    if (ms.responses.empty()) return "";
    const DavResponse& f = ms.responses[0];
    if (f.etag != s.etag) return "etag " + f.etag;
    if (f.is_calendar != s.calendar || f.supports_events != s.events) return "calendar";
    std::string data;
    for (char c : f.calendar_data)
        if (c != '\r') data += c;
    if (data != s.data) return "data " + f.calendar_data;
    return "";
}

}  // namespace dav_samples
