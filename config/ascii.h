// ASCII character tests and case changes, for the parts of text whose format is ASCII
// (URLs, iCalendar names, typed numbers, settings values): a byte outside ASCII is none of
// these and keeps its case.
#pragma once

inline bool ascii_digit(char c) { return c >= '0' && c <= '9'; }
// Space or tab, as a typed field or a settings value may carry around a number.
inline bool ascii_blank(char c) { return c == ' ' || c == '\t'; }
// Space, tab or a line end, as pasted text may carry around a value.
inline bool ascii_space(char c) { return ascii_blank(c) || c == '\r' || c == '\n'; }
inline char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
