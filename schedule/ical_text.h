// iCalendar TEXT values and content lines: escaping and unescaping, and folding long lines
// at 75 octets.
#pragma once

#include <stddef.h>

#include <string>

// Appends a TEXT value: backslash, semicolon and comma escaped with a backslash, a line feed
// as "\n"; carriage returns are dropped and other control characters become spaces, so the
// value always stays on its content line.
void ical_escape_text(const char* text, std::string* out);

// Undoes the TEXT escapes of in[0..n) into out (out_size bytes, NUL-terminated): "\n" and
// "\N" give a line feed, "\\", "\;", "\," and "\:" the character; a backslash before any
// other character is dropped and a lone one at the end kept. Stops when out is full.
// Returns the length.
size_t ical_unescape_text(const char* in, size_t n, char* out, size_t out_size);

// Longest a physical line may be, in octets, without its line end.
constexpr size_t kIcalFoldOctets = 75;

// Appends one content line folded: physical lines of at most 75 octets, continuations
// starting with one space, never splitting a UTF-8 character, each ending CR LF.
void ical_fold_line(const char* line, size_t n, std::string* out);
inline void ical_fold_line(const std::string& line, std::string* out) {
    ical_fold_line(line.data(), line.size(), out);
}
