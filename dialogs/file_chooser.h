// What the file choosers do with their texts before the open-file dialog sees them.
#pragma once

#include <cstddef>

// Turns a filter text ("name|pattern|name|pattern||", the separator being its last
// character) into the name and pattern list the open-file dialog expects: every
// separator character becomes a terminator, in place. The text is walked by characters,
// so a double-byte character whose second byte equals the separator stays whole.
// Returns false (text unchanged) for an empty text or one whose last character is a
// double-byte one, which cannot serve as a separator.
bool filter_to_terminators(char* filter);

// The directory the chooser opens in for the current path: the directory part of the
// path without its trailing separator ("C:\Sounds\a.wav" gives "C:\Sounds"); empty when
// the path names no directory.
void chooser_initial_dir(const char* path, char* dir, size_t size);
