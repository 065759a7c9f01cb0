#include "schedule/stored_fields.h"

#include <string.h>

#include "config/fileio.h"

namespace {

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool stored_unescape(const char* s, size_t n, size_t max, std::string* out) {
    out->clear();
    for (size_t i = 0; i < n; ++i) {
        if (out->size() >= max) return false;
        if (s[i] != '%') {
            *out += s[i];
            continue;
        }
        if (i + 2 >= n) return false;
        const int hi = hex_digit_value(s[i + 1]), lo = hex_digit_value(s[i + 2]);
        if (hi < 0 || lo < 0) return false;
        *out += (char)(hi * 16 + lo);
        i += 2;
    }
    return true;
}

std::string stored_escape(const std::string& text, char extra) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const unsigned char c = (unsigned char)ch;
        if (c < 0x20 || c == 0x7F || c == '%' || (extra && ch == extra)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

bool stored_line(StoredReader* r, const char** s, size_t* n) {
    if (r->p >= r->end) return false;
    const char* nl = (const char*)memchr(r->p, '\n', (size_t)(r->end - r->p));
    if (!nl) return false;
    *s = r->p;
    *n = (size_t)(nl - r->p);
    r->p = nl + 1;
    return true;
}

bool stored_fields(StoredReader* r, size_t count, size_t max, std::vector<std::string>* fields) {
    const char* s;
    size_t n;
    if (!stored_line(r, &s, &n)) return false;
    fields->assign(count, std::string());
    size_t start = 0;
    for (size_t f = 0; f < count; ++f) {
        size_t stop = start;
        while (stop < n && s[stop] != '\t') ++stop;
        if ((stop == n) != (f + 1 == count)) return false;  // too few or too many fields
        if (!stored_unescape(s + start, stop - start, max, &(*fields)[f])) return false;
        start = stop + 1;
    }
    return true;
}

bool stored_block(StoredReader* r, size_t n, std::string* out) {
    const size_t left = (size_t)(r->end - r->p);
    if (n >= left || r->p[n] != '\n') return false;
    out->assign(r->p, n);
    r->p += n + 1;
    return true;
}

bool stored_file_read(FileIO* io, const char* path, size_t max, std::string* out) {
    out->clear();
    const FileStamp st = io->stamp(path);
    return st.exists && st.size <= max && io->read_all(path, out) && out->size() <= max;
}

std::string stored_hex(uint64_t v) {
    static const char kHex[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) s[(size_t)i] = kHex[v & 15];
    return s;
}

bool stored_parse_hex(const std::string& s, uint64_t* v) {
    if (s.size() != 16) return false;
    uint64_t x = 0;
    for (char c : s) {
        const int d = hex_digit_value(c);
        if (d < 0) return false;
        x = x << 4 | (uint64_t)d;
    }
    *v = x;
    return true;
}

bool stored_parse_decimal(const std::string& s, uint64_t max, uint64_t* v) {
    if (s.empty() || s.size() > 20) return false;
    uint64_t x = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        const uint64_t d = (uint64_t)(c - '0');
        if (x > (max - d) / 10) return false;
        x = x * 10 + d;
    }
    *v = x;
    return true;
}
