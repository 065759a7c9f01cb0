#include "schedule/dav_url.h"

#include <string.h>

#include "config/ascii.h"

namespace {

bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_unreserved(char c) {
    return is_alpha(c) || ascii_digit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
int hex_value(char c) {
    if (ascii_digit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void append_escape(std::string* out, unsigned char c) {
    static const char kHex[] = "0123456789ABCDEF";
    *out += '%';
    *out += kHex[c >> 4];
    *out += kHex[c & 15];
}

// Path or query bytes as sent: controls, spaces and bytes above 0x7E escaped, a "%" not
// starting an escape escaped too; everything else as written.
std::string encode_loose(const char* s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = (unsigned char)s[i];
        const bool escape_start =
            c == '%' && i + 2 < n && hex_value(s[i + 1]) >= 0 && hex_value(s[i + 2]) >= 0;
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' ||
            c == '^' || c == '`' || c == '{' || c == '|' || c == '}' || (c == '%' && !escape_start))
            append_escape(&out, c);
        else
            out += (char)c;
    }
    return out;
}

bool parse_host(const char* s, size_t n, std::string* host) {
    if (n == 0 || n > 255) return false;
    host->clear();
    if (s[0] == '[') {
        if (s[n - 1] != ']' || n < 4) return false;
        for (size_t i = 1; i + 1 < n; ++i)
            if (hex_value(s[i]) < 0 && s[i] != ':' && s[i] != '.') return false;
        host->assign(s, n);
        for (char& c : *host) c = ascii_lower(c);
        return true;
    }
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (!is_alpha(c) && !ascii_digit(c) && c != '-' && c != '.' && c != '_') return false;
        *host += ascii_lower(c);
    }
    return true;
}

bool parse_port(const char* s, size_t n, int* port) {
    if (n == 0 || n > 5) return false;
    int v = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!ascii_digit(s[i])) return false;
        v = v * 10 + (s[i] - '0');
    }
    if (v < 1 || v > 65535) return false;
    *port = v;
    return true;
}

// "host[:port]" of an authority; no user information.
bool parse_authority(const char* s, size_t n, bool https, DavUrl* out) {
    if (memchr(s, '@', n)) return false;
    size_t host_end = n;
    if (n > 0 && s[0] == '[') {
        const char* close = (const char*)memchr(s, ']', n);
        if (!close) return false;
        host_end = (size_t)(close - s) + 1;
        if (host_end < n && s[host_end] != ':') return false;
    } else {
        const char* colon = (const char*)memchr(s, ':', n);
        if (colon) host_end = (size_t)(colon - s);
    }
    if (!parse_host(s, host_end, &out->host)) return false;
    out->port = https ? 443 : 80;
    if (host_end < n && !parse_port(s + host_end + 1, n - host_end - 1, &out->port)) return false;
    return true;
}

// RFC 3986 5.2.4: "." and ".." segments taken out of an absolute path.
std::string remove_dot_segments(const std::string& in) {
    std::string out;
    size_t i = 0;
    while (i < in.size()) {
        size_t end = in.find('/', i + 1);
        if (end == std::string::npos) end = in.size();
        const std::string seg = in.substr(i, end - i);  // "/name" (or "name" at the start)
        if (seg == "/.") {
            if (end == in.size()) out += '/';
        } else if (seg == "/..") {
            const size_t cut = out.rfind('/');
            out.erase(cut == std::string::npos ? 0 : cut);
            if (end == in.size()) out += '/';
        } else {
            out += seg;
        }
        i = end;
    }
    if (out.empty() || out[0] != '/') out.insert(out.begin(), '/');
    return out;
}

// Splits "path?query#fragment" into the encoded path and query.
void split_path(const char* s, size_t n, std::string* path, std::string* query) {
    const char* hash = (const char*)memchr(s, '#', n);
    if (hash) n = (size_t)(hash - s);
    const char* q = (const char*)memchr(s, '?', n);
    const size_t path_n = q ? (size_t)(q - s) : n;
    *path = encode_loose(s, path_n);
    *query = q ? encode_loose(q, n - path_n) : std::string();
}

bool scheme_of(const char* text, size_t* skip, bool* https) {
    static const struct {
        const char* prefix;
        bool https;
    } kSchemes[] = {{"https://", true}, {"http://", false}, {"webcals://", true}, {"webcal://", false}};
    for (const auto& s : kSchemes) {
        const size_t n = strlen(s.prefix);
        size_t i = 0;
        while (i < n && text[i] && ascii_lower(text[i]) == s.prefix[i]) ++i;
        if (i == n) {
            *skip = n;
            *https = s.https;
            return true;
        }
    }
    return false;
}

bool is_absolute_ref(const char* ref) {
    if (!is_alpha(ref[0])) return false;
    for (const char* p = ref; *p; ++p) {
        if (*p == ':') return true;
        if (!is_alpha(*p) && !ascii_digit(*p) && *p != '+' && *p != '-' && *p != '.') return false;
    }
    return false;
}

}  // namespace

bool dav_url_parse(const char* text, DavUrl* out) {
    if (!text) return false;
    while (*text == ' ' || *text == '\t') ++text;
    size_t n = strnlen(text, kDavMaxUrl + 1);
    if (n > kDavMaxUrl) return false;
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
    size_t skip = 0;
    DavUrl url;
    if (!scheme_of(text, &skip, &url.https)) return false;
    const char* auth = text + skip;
    const size_t rest = n - skip;
    size_t auth_n = 0;
    while (auth_n < rest && auth[auth_n] != '/' && auth[auth_n] != '?' && auth[auth_n] != '#')
        ++auth_n;
    if (!parse_authority(auth, auth_n, url.https, &url)) return false;
    split_path(auth + auth_n, rest - auth_n, &url.path, &url.query);
    url.path = remove_dot_segments(url.path);
    if (url.path.size() + url.query.size() > kDavMaxUrl) return false;
    *out = url;
    return true;
}

std::string dav_url_text(const DavUrl& url) {
    std::string s = url.https ? "https://" : "http://";
    s += url.host;
    if (url.port != (url.https ? 443 : 80)) s += ":" + std::to_string(url.port);
    return s + url.path + url.query;
}

bool dav_url_resolve(const DavUrl& base, const char* ref, DavUrl* out) {
    if (!ref) return false;
    const size_t n = strnlen(ref, kDavMaxUrl + 1);
    if (n > kDavMaxUrl) return false;
    if (is_absolute_ref(ref)) return dav_url_parse(ref, out);
    if (ref[0] == '/' && ref[1] == '/')
        return dav_url_parse(((base.https ? "https:" : "http:") + std::string(ref, n)).c_str(), out);
    DavUrl url = base;
    std::string path, query;
    split_path(ref, n, &path, &query);
    if (path.empty()) {
        if (!query.empty() || memchr(ref, '?', n)) url.query = query;
    } else if (path[0] == '/') {
        url.path = remove_dot_segments(path);
        url.query = query;
    } else {
        const size_t slash = base.path.rfind('/');
        url.path = remove_dot_segments(base.path.substr(0, slash + 1) + path);
        url.query = query;
    }
    if (url.path.size() + url.query.size() > kDavMaxUrl) return false;
    *out = url;
    return true;
}

bool dav_url_is_loopback(const DavUrl& url) {
    if (url.host == "localhost" || url.host == "[::1]") return true;
    // 127.a.b.c, each part a decimal 0..255.
    const char* p = url.host.c_str();
    int parts = 0;
    while (*p) {
        int v = 0, digits = 0;
        while (ascii_digit(*p) && digits < 4) v = v * 10 + (*p++ - '0'), ++digits;
        if (digits == 0 || digits > 3 || v > 255) return false;
        if (parts == 0 && v != 127) return false;
        ++parts;
        if (*p == '.') ++p;
        else if (*p) return false;
    }
    return parts == 4 && url.host.back() != '.';
}

bool dav_url_same_origin(const DavUrl& a, const DavUrl& b) {
    return a.https == b.https && a.host == b.host && a.port == b.port;
}

std::string dav_path_key(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        const int hi = i + 2 < path.size() && path[i] == '%' ? hex_value(path[i + 1]) : -1;
        const int lo = hi >= 0 ? hex_value(path[i + 2]) : -1;
        if (lo < 0) {
            out += path[i];
            continue;
        }
        const char c = (char)(hi * 16 + lo);
        if (is_unreserved(c)) {
            out += c;
        } else {
            out += '%';
            out += kHex[hi];
            out += kHex[lo];
        }
        i += 2;
    }
    return out;
}

std::string dav_path_segment(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (is_unreserved(c)) out += c;
        else append_escape(&out, (unsigned char)c);
    }
    return out;
}
