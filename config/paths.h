// Path and text helpers over code page 932 byte strings in fixed-size buffers.
// Every routine walks characters, so the second byte of a double-byte
// character (which may be 0x5C "\" or 0x2E ".") is never taken for a
// separator, and never writes past the size it is given.
#pragma once
#include <cstddef>

// Makes path end in "\" (an empty path becomes "\"). Returns false, leaving
// path unchanged, when there is no room for the extra byte or path is not
// NUL-terminated within size.
bool path_add_separator(char* path, size_t size);

// Removes one trailing "\". A path shorter than 4 bytes is taken to be a
// drive and becomes its first byte followed by ":\" (needs size >= 4; an
// empty path stays empty). Returns the new length, or -1 when path is not
// NUL-terminated within size (path unchanged).
int path_strip_separator(char* path, size_t size);

// Splits a path into directory (with its trailing "\" or "/", as written),
// name and extension (".ext", at most 4 bytes after the dot; a longer
// "extension" stays part of the name). Any output may be nullptr. Outputs are
// cut to their sizes on character boundaries; the path itself is cut to 1023
// bytes first.
void path_split(const char* path, char* dir, size_t dir_size, char* name, size_t name_size,
                char* ext, size_t ext_size);

// Replaces every occurrence of pattern in text, searching again from the
// start after each replacement. Returns 1 if the pattern occurred, else 0
// (text unchanged; also for an empty pattern or a text not NUL-terminated
// within size).
// - A result longer than size - 1 bytes is cut to the buffer on a character
//   boundary and replacing stops there.
// - A replacement that itself contains the pattern would be found again
//   forever; such occurrences are replaced once each, left to right.
// pattern and replacement must not point into text.
int replace_all(char* text, size_t size, const char* pattern, const char* replacement);
