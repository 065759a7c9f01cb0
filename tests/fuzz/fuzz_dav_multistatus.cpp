// The multistatus reader on any bytes through the host's XML parser: what it gives stays
// within the limits, a refused document gives nothing, and what it gives, written as a
// multistatus again, reads back the same. The hrefs it gives resolve to URLs that parse
// back to themselves, and the UID reader takes any calendar data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "schedule/dav_multistatus.h"
#include "schedule/dav_url.h"
#include "schedule/sync_item.h"
#include "tests/host/xml_host_parser.h"

namespace {

// Character data that reads back unchanged (line ends are normalised by XML otherwise).
std::string text_of(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string written(const DavMultistatus& ms) {
    std::string s = "<D:multistatus xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">";
    if (!ms.sync_token.empty()) s += "<D:sync-token>" + text_of(ms.sync_token) + "</D:sync-token>";
    for (const DavResponse& r : ms.responses) {
        s += "<D:response><D:href>" + text_of(r.href) + "</D:href>";
        if (r.status) s += "<D:status>HTTP/1.1 " + std::to_string(r.status) + " X</D:status>";
        s += "<D:propstat><D:prop>";
        if (r.has_etag) s += "<D:getetag>" + text_of(r.etag) + "</D:getetag>";
        if (r.has_data) s += "<C:calendar-data>" + text_of(r.calendar_data) + "</C:calendar-data>";
        s += "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>";
    }
    return s + "</D:multistatus>";
}

void check(const DavMultistatus& ms, const DavLimits& limits) {
    if (ms.responses.size() > limits.max_responses) std::abort();
    if (ms.sync_token.size() > limits.max_text) std::abort();
    for (const DavResponse& r : ms.responses) {
        if (r.href.empty() || r.href.size() > limits.max_text) std::abort();
        if (r.etag.size() > limits.max_text || (!r.has_etag && !r.etag.empty())) std::abort();
        if (r.calendar_data.size() > limits.max_data) std::abort();
        if (r.has_data && r.data_too_large) std::abort();
        if (!r.has_data && !r.calendar_data.empty()) std::abort();
        if (r.status != 0 && (r.status < 100 || r.status > 599)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DavLimits limits;
    limits.max_responses = 64;
    limits.max_data = 1024;
    limits.max_text = 256;
    limits.max_depth = 16;
    const XmlParser parser = xml_host::parser();
    DavMultistatus ms;
    const DavReadResult r = dav_read_multistatus(parser, (const char*)data, size, limits, &ms);
    if (r != DavReadResult::kOk) {
        if (!ms.responses.empty() || !ms.sync_token.empty() || ms.truncated) std::abort();
        return 0;
    }
    check(ms, limits);

    const std::string again = written(ms);
    DavMultistatus back;
    if (dav_read_multistatus(parser, again.data(), again.size(), limits, &back) != DavReadResult::kOk)
        std::abort();
    if (back.responses.size() != ms.responses.size() || back.sync_token != ms.sync_token) std::abort();
    for (size_t i = 0; i < ms.responses.size(); ++i) {
        const DavResponse &a = ms.responses[i], &b = back.responses[i];
        if (a.href != b.href || a.status != b.status || a.has_etag != b.has_etag ||
            a.etag != b.etag || a.has_data != b.has_data || a.calendar_data != b.calendar_data)
            std::abort();
    }

    DavUrl base;
    if (!dav_url_parse("https://dav.example.com/users/alice/cal/", &base)) std::abort();
    for (const DavResponse& resp : ms.responses) {
        DavUrl u, u2;
        if (dav_url_resolve(base, resp.href.c_str(), &u)) {
            if (!dav_url_parse(dav_url_text(u).c_str(), &u2) || dav_url_text(u2) != dav_url_text(u))
                std::abort();
            if (dav_path_key(dav_path_key(u.path)) != dav_path_key(u.path)) std::abort();
        }
        ical_event_uid(resp.calendar_data.data(), resp.calendar_data.size());
    }
    return 0;
}
