// Code page 932 (Shift_JIS) character walking for NUL-terminated byte strings.
// A double-byte character is a lead byte followed by any non-NUL byte; its
// second byte may look like "\" or any other ASCII character, so text is
// always walked character by character, never byte by byte.
#pragma once
#include <cstddef>

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool cp932_is_lead(unsigned char c);

// Start of the next character. Returns p itself at the terminating NUL and
// never steps over a NUL: a lead byte followed by NUL steps one byte.
const char* cp932_next(const char* p);
inline char* cp932_next(char* p) {
    return const_cast<char*>(cp932_next(static_cast<const char*>(p)));
}

// Start of the last character of s, or nullptr when s is empty.
const char* cp932_last_char(const char* s);

// First occurrence of pat in text that starts and ends on character
// boundaries of text (a trail byte never starts a match, and a match never
// takes only the lead byte of a character). An empty pat matches at text.
// nullptr when there is none.
const char* cp932_strstr(const char* text, const char* pat);
inline char* cp932_strstr(char* text, const char* pat) {
    return const_cast<char*>(cp932_strstr(static_cast<const char*>(text), pat));
}

// Copies at most n bytes of src (stopping at its NUL) into dst of size bytes,
// cut to size - 1 bytes without splitting a double-byte character, and
// NUL-terminates dst (unless size is 0). A character that would reach past n
// is not copied. Returns the number of bytes copied.
size_t cp932_copy_n(char* dst, size_t size, const char* src, size_t n);

// cp932_copy_n without a source limit.
size_t cp932_copy(char* dst, size_t size, const char* src);

// The ASCII digit of a full-width digit (０ to ９, the bytes 0x82 0x4F to 0x82 0x58), as a
// Japanese input method types digits; 0 for any other character.
char cp932_fullwidth_digit(unsigned char lead, unsigned char trail);

// Copies src into dst of size bytes like cp932_copy, every full-width digit turned into its
// ASCII digit. Returns the number of bytes written.
size_t cp932_fold_digits(char* dst, size_t size, const char* src);
