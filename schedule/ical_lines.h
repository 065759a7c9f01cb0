// Reading iCalendar text as content lines: a UTF-8 byte-order mark skipped, lines ending in
// CR LF, LF or CR, folded lines joined, and each line split into its name, parameters and
// value. Every line is kept to a fixed size, so the cost stays linear in the input whatever
// it holds.
#pragma once

#include <stddef.h>

// Bytes kept of one unfolded line; the rest is skipped and the line marked truncated.
constexpr size_t kIcalLineKeep = 4096;

struct IcalLineReader {
    const char* p;
    const char* end;
};
void ical_lines_begin(IcalLineReader* r, const char* text, size_t n);

struct IcalLine {
    char text[kIcalLineKeep + 1];  // NUL-terminated; may hold NUL bytes of the input before it
    size_t len;
    bool truncated;
};
// The next unfolded line; false at the end of the text. Empty lines are skipped.
bool ical_next_line(IcalLineReader* r, IcalLine* line);

// One content line taken apart. Name upper-cased (letters, digits and "-"), cut to fit.
struct IcalProperty {
    char name[48];
    const char* params;  // after the name's ";", up to the value's ":" (may be empty)
    size_t params_len;
    const char* value;
    size_t value_len;
};
// False when the line has no name or no ":" outside quoted parameter values.
bool ical_split_property(const IcalLine* line, IcalProperty* out);

// The first value of a parameter (name in any case) into out, quotes removed, cut to fit;
// false when the parameter is absent.
bool ical_param(const IcalProperty& p, const char* name, char* out, size_t out_size);

// ASCII case-insensitive equality of s[0..n) and a NUL-terminated word.
bool ical_word_is(const char* s, size_t n, const char* word);
