// Addresses of calendar servers and feeds: http, https, webcal (http) and webcals (https)
// URLs taken apart, references in server answers resolved against the request's URL
// (RFC 3986), and the checks that decide where a password may be sent.
#pragma once

#include <stddef.h>

#include <string>

constexpr size_t kDavMaxUrl = 2048;  // longer addresses are refused

struct DavUrl {
    bool https = false;
    std::string host;   // lower case; an IPv6 address keeps its brackets
    int port = 0;       // the one given, or 80 / 443
    std::string path;   // starts with "/", percent-encoded
    std::string query;  // "" or "?..."

    // path and query: what the request line asks for.
    std::string target() const { return path + query; }
};

// Parses an absolute URL (ASCII or UTF-8; spaces and bytes above 0x7E are percent-encoded).
// False for another scheme, a missing or malformed host, a port outside 1..65535, a user
// name or password written into the URL (a password never travels in an address), or more
// than kDavMaxUrl bytes. The fragment is dropped.
bool dav_url_parse(const char* text, DavUrl* out);

// "scheme://host[:port]path?query"; the port is written only when it is not the default.
std::string dav_url_text(const DavUrl& url);

// A reference found in an answer (an href, a Location header) made absolute against the URL
// the answer came from: an absolute URL, "//host/...", "/path", "name", "../name", "?q".
// False when the result would not parse (another scheme, too long).
bool dav_url_resolve(const DavUrl& base, const char* ref, DavUrl* out);

// This machine: localhost, 127.0.0.0/8 or [::1].
bool dav_url_is_loopback(const DavUrl& url);

// Same scheme, host and port.
bool dav_url_same_origin(const DavUrl& a, const DavUrl& b);

// A path as servers compare it: escapes of unreserved characters decoded, other escapes
// in upper case. Two hrefs name the same resource when their keys are equal.
std::string dav_path_key(const std::string& path);

// The last segment of a path in a form safe for a new resource name: letters, digits and
// "-._~" kept, every other byte percent-encoded (an item's UID becomes "<uid>.ics").
std::string dav_path_segment(const std::string& text);
