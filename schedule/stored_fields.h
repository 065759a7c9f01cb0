// The line format of the files the sync keeps beside the settings file (the journal, the
// feed cache): one record a line, fields separated by tabs, each field with "%", tabs, line
// breaks and other control bytes written as "%XX"; raw blocks of a declared length between
// lines. Reading checks every field and every length against what is left.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

class FileIO;

// extra, when not NUL, is escaped too (a separator of the caller's own).
std::string stored_escape(const std::string& text, char extra = '\0');
// Undoes stored_escape on s[0..n); false for a malformed escape or more than max bytes.
bool stored_unescape(const char* s, size_t n, size_t max, std::string* out);

struct StoredReader {
    const char* p;
    const char* end;
};

// The next line (without its "\n"); false at the end or when the last line has no "\n".
bool stored_line(StoredReader* r, const char** s, size_t* n);
// A line split at its tabs into exactly count fields, each unescaped and at most max bytes.
bool stored_fields(StoredReader* r, size_t count, size_t max, std::vector<std::string>* fields);
// n raw bytes followed by "\n".
bool stored_block(StoredReader* r, size_t n, std::string* out);

// Unsigned numbers as written: decimal, or 16 hexadecimal digits.
// The whole of path when it exists and holds at most max bytes.
bool stored_file_read(FileIO* io, const char* path, size_t max, std::string* out);

std::string stored_hex(uint64_t v);
bool stored_parse_hex(const std::string& s, uint64_t* v);
bool stored_parse_decimal(const std::string& s, uint64_t max, uint64_t* v);
