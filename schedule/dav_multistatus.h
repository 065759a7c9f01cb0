// Reading a WebDAV multistatus answer (RFC 4918, with the CalDAV properties of RFC 4791 and
// the sync-collection report of RFC 6578): per response its href, its status, and the
// properties a calendar client asks for, taken only from a propstat whose status is 2xx.
// Every count and text is bounded, so that a hostile server costs at most what the limits
// allow.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "schedule/dav_xml.h"

struct DavLimits {
    size_t max_responses = 20000;   // more: the answer is refused as too large
    size_t max_data = 1024 * 1024;  // bytes of one calendar-data; more: that item is marked
    size_t max_text = 4096;         // bytes of an href, ETag, name or token; more: dropped
    size_t max_depth = 64;          // element nesting; deeper: refused
};

struct DavResponse {
    std::string href;  // as written, trimmed
    int status = 0;    // the response's own status (404 = removed in a sync report); 0 none

    bool has_etag = false;
    std::string etag;
    bool has_data = false;
    bool data_too_large = false;  // calendar-data over the limit: not kept
    std::string calendar_data;
    bool is_collection = false, is_calendar = false;
    std::string displayname;
    std::string principal_href;  // current-user-principal
    std::string home_href;       // calendar-home-set (the first)
    bool has_components = false;  // supported-calendar-component-set given
    bool supports_events = false;  // and it names VEVENT
    std::string sync_token;        // the sync-token property
    std::string ctag;              // getctag of the calendar server's namespace
};

enum class DavReadResult {
    kOk,
    kNotMultistatus,  // well-formed, but another document
    kMalformed,       // not well-formed, a DTD, an entity
    kTooLarge,        // more responses or deeper nesting than the limits
};

struct DavMultistatus {
    std::vector<DavResponse> responses;
    std::string sync_token;  // the report's own sync-token
    bool truncated = false;  // a 507 response: the server sent part of the set
};

DavReadResult dav_read_multistatus(const XmlParser& parser, const char* body, size_t n,
                                   const DavLimits& limits, DavMultistatus* out);

// "HTTP/1.1 404 Not Found" -> 404; 0 when it holds no status.
int dav_status_code(const char* s, size_t n);
