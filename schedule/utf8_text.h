// UTF-8 as text from outside arrives: possibly ill-formed, possibly with control characters.
// These make it well-formed and safe for a one-line value before anything else reads it.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr uint32_t kUtf8Replacement = 0xFFFD;

// Decodes one character of s[0..n) (n >= 1): its code point into *cp and its length. An
// ill-formed sequence (stray continuation byte, overlong form, surrogate, above U+10FFFF,
// cut short) gives U+FFFD for its first byte alone.
size_t utf8_decode(const char* s, size_t n, uint32_t* cp);
// Encodes a code point (at most U+10FFFF, no surrogate) into out (4 bytes); returns its length.
size_t utf8_encode(uint32_t cp, char* out);

// Well-formed UTF-8 of at most max_chars characters from in[0..n) into out (out_size bytes,
// NUL-terminated, never cut inside a character): ill-formed bytes as U+FFFD, control
// characters (C0, DEL, C1, line and paragraph separators) as spaces. When jis_forms is set,
// the Unicode forms of a few JIS X 0208 characters that code page 932 keeps elsewhere take
// that place (wave dash U+301C as U+FF5E, minus sign U+2212 as U+FF0D and so on), so that
// text written on other systems keeps them. Returns the length.
size_t utf8_clean(const char* in, size_t n, size_t max_chars, bool jis_forms, char* out,
                  size_t out_size);

// The longest prefix of s[0..n) of at most max bytes that ends on a character boundary
// (for ill-formed text, where the limit falls); nonzero whenever n and max are.
size_t utf8_cut(const char* s, size_t n, size_t max);
