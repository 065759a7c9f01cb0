#include "schedule/ical_lines.h"

#include <string.h>

#include "config/ascii.h"

namespace {

bool name_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Skips one line end (CR LF, LF or CR) at p; returns where the next line starts.
const char* skip_line_end(const char* p, const char* end) {
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
    return p;
}

}  // namespace

void ical_lines_begin(IcalLineReader* r, const char* text, size_t n) {
    r->p = text;
    r->end = text + n;
    if (n >= 3 && (unsigned char)text[0] == 0xEF && (unsigned char)text[1] == 0xBB &&
        (unsigned char)text[2] == 0xBF)
        r->p += 3;
}

bool ical_next_line(IcalLineReader* r, IcalLine* line) {
    for (;;) {
        if (r->p >= r->end) return false;
        line->len = 0;
        line->truncated = false;
        const char* p = r->p;
        for (;;) {
            // One physical line.
            const char* start = p;
            while (p < r->end && *p != '\r' && *p != '\n') ++p;
            const size_t n = (size_t)(p - start);
            const size_t room = kIcalLineKeep - line->len;
            const size_t take = n < room ? n : room;
            memcpy(line->text + line->len, start, take);
            line->len += take;
            if (take < n) line->truncated = true;
            p = skip_line_end(p, r->end);
            // A line that starts with a space or a tab continues the one before.
            if (p < r->end && (*p == ' ' || *p == '\t')) {
                ++p;
                continue;
            }
            break;
        }
        r->p = p;
        line->text[line->len] = '\0';
        if (line->len > 0) return true;
    }
}

bool ical_split_property(const IcalLine* line, IcalProperty* out) {
    const char* s = line->text;
    const char* end = s + line->len;
    // Blanks before a name (a file's first line indented: no line before it to continue).
    while (s < end && (*s == ' ' || *s == '\t')) ++s;
    const char* p = s;
    while (p < end && name_char(*p)) ++p;
    const size_t name_len = (size_t)(p - s);
    if (name_len == 0) return false;
    const size_t keep = name_len < sizeof out->name - 1 ? name_len : sizeof out->name - 1;
    for (size_t i = 0; i < keep; ++i) out->name[i] = ascii_upper(s[i]);
    out->name[keep] = '\0';
    if (name_len != keep) out->name[0] = '\0';  // too long to be any name we know
    if (p >= end || (*p != ';' && *p != ':')) return false;
    out->params = p < end && *p == ';' ? p + 1 : p;
    bool quoted = false;
    while (p < end && (quoted || *p != ':')) {
        if (*p == '"') quoted = !quoted;
        ++p;
    }
    if (p >= end) return false;
    out->params_len = (size_t)(p - out->params);
    out->value = p + 1;
    out->value_len = (size_t)(end - out->value);
    return true;
}

bool ical_word_is(const char* s, size_t n, const char* word) {
    size_t i = 0;
    for (; i < n && word[i]; ++i)
        if (ascii_upper(s[i]) != ascii_upper(word[i])) return false;
    return i == n && word[i] == '\0';
}

bool ical_param(const IcalProperty& prop, const char* name, char* out, size_t out_size) {
    const char* p = prop.params;
    const char* end = prop.params + prop.params_len;
    while (p < end) {
        const char* n0 = p;
        while (p < end && *p != '=' && *p != ';') ++p;
        const bool match = ical_word_is(n0, (size_t)(p - n0), name);
        if (p < end && *p == '=') ++p;
        // The value (or the first of a list), quoted or not.
        const char* v0 = p;
        const char* v1;
        bool quoted = false;
        if (p < end && *p == '"') {
            v0 = ++p;
            while (p < end && *p != '"') ++p;
            v1 = p;
            quoted = true;
        } else {
            // A comma after a backslash is part of the name (Outlook's "Kuala Lumpur\,
            // Singapore"), not the start of the next value.
            while (p < end && *p != ';' && (*p != ',' || (p > v0 && p[-1] == '\\'))) ++p;
            v1 = p;
        }
        if (match) {
            if (out_size == 0) return true;
            size_t len = (size_t)(v1 - v0);
            if (len > out_size - 1) len = out_size - 1;
            memcpy(out, v0, len);
            out[len] = '\0';
            return true;
        }
        // Past the rest of this parameter (further list values) to the next one.
        if (quoted && p < end) ++p;
        bool in_quote = false;
        while (p < end && (in_quote || *p != ';')) {
            if (*p == '"') in_quote = !in_quote;
            ++p;
        }
        if (p < end) ++p;
    }
    return false;
}
