#include "schedule/sync_item.h"

#include <string.h>

#include "schedule/ical_lines.h"
#include "schedule/ical_text.h"

namespace {

bool starts_uid(const char* s, size_t n) {
    return n >= 4 && (s[0] == 'U' || s[0] == 'u') && (s[1] == 'I' || s[1] == 'i') &&
           (s[2] == 'D' || s[2] == 'd') && (s[3] == ':' || s[3] == ';');
}

// Length of the physical line at s (without its end) and of its end (CR LF, LF or CR).
size_t line_at(const char* s, const char* end, size_t* eol) {
    const char* p = s;
    while (p < end && *p != '\r' && *p != '\n') ++p;
    *eol = (p < end && *p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : (p < end ? 1 : 0);
    return (size_t)(p - s);
}

}  // namespace

uint64_t sync_hash(const char* text, size_t n) {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < n; ++i) {
        h ^= (unsigned char)text[i];
        h *= 1099511628211ull;
    }
    return h;
}

std::string ical_event_uid(const char* text, size_t n) {
    IcalLineReader r;
    ical_lines_begin(&r, text, n);
    IcalLine line;
    bool in_event = false;
    while (ical_next_line(&r, &line)) {
        IcalProperty p;
        if (!ical_split_property(&line, &p)) continue;
        if (ical_word_is(p.name, strlen(p.name), "BEGIN") && ical_word_is(p.value, p.value_len, "VEVENT"))
            in_event = true;
        else if (ical_word_is(p.name, strlen(p.name), "END") && ical_word_is(p.value, p.value_len, "VEVENT"))
            in_event = false;
        else if (in_event && ical_word_is(p.name, strlen(p.name), "UID")) {
            if (line.truncated || p.value_len == 0 || p.value_len > kSyncMaxUid) return std::string();
            return std::string(p.value, p.value_len);
        }
    }
    return std::string();
}

std::string ical_with_uid(const std::string& text, const std::string& uid) {
    std::string out;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        size_t eol;
        size_t n = line_at(p, end, &eol);
        // The logical line: this one and the continuations after it.
        const char* next = p + n + eol;
        while (next < end && (*next == ' ' || *next == '\t')) {
            size_t e2;
            next += line_at(next, end, &e2) + e2;
        }
        if (starts_uid(p, n)) {
            ical_fold_line("UID:" + uid, &out);
        } else {
            out.append(p, (size_t)(next - p));
        }
        p = next;
    }
    return out;
}
