#include "schedule/sync_item.h"

#include <string.h>

#include "config/content_hash.h"
#include "schedule/ical_lines.h"
#include "schedule/ical_text.h"

namespace {

// A line of the property name (any case), followed by ":" or ";".
bool starts_name(const char* s, size_t n, const char* name) {
    size_t i = 0;
    for (; name[i]; ++i) {
        if (i >= n) return false;
        char c = s[i];
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        if (c != name[i]) return false;
    }
    return i < n && (s[i] == ':' || s[i] == ';');
}

// Length of the physical line at s (without its end) and of its end (CR LF, LF or CR).
size_t line_at(const char* s, const char* end, size_t* eol) {
    const char* p = s;
    while (p < end && *p != '\r' && *p != '\n') ++p;
    *eol = (p < end && *p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : (p < end ? 1 : 0);
    return (size_t)(p - s);
}

}  // namespace

uint64_t sync_hash(const char* text, size_t n) { return fnv1a_64(text, n); }

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

namespace {

// Every logical line (a line with its continuations) through change: replaced by what it
// put in *out when it returns true, else kept as it was.
template <class Fn>
std::string rewrite_lines(const std::string& text, Fn change) {
    std::string out;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        size_t eol;
        const size_t n = line_at(p, end, &eol);
        const char* next = p + n + eol;
        while (next < end && (*next == ' ' || *next == '\t')) {
            size_t e2;
            next += line_at(next, end, &e2) + e2;
        }
        if (!change(p, n, &out)) out.append(p, (size_t)(next - p));
        p = next;
    }
    return out;
}

}  // namespace

std::string ical_without_method(const std::string& text) {
    return rewrite_lines(text, [](const char* s, size_t n, std::string*) {
        return starts_name(s, n, "METHOD");
    });
}

std::string ical_with_uid(const std::string& text, const std::string& uid) {
    return rewrite_lines(text, [&](const char* s, size_t n, std::string* out) {
        if (!starts_name(s, n, "UID")) return false;
        ical_fold_line("UID:" + uid, out);
        return true;
    });
}
