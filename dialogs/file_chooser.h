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

// The extension the save chooser adds to a name typed without one: that of the first
// pattern of filter entry index (1 the first; filter still in its "name|pattern|…|" form),
// without its dot ("*.ics;*.ical" gives "ics"). Empty, and false, when that pattern is no
// plain "*.ext" ("*.*", "*.ic?", "data.*") or the entry is missing.
bool chooser_default_ext(const char* filter, int index, char* ext, size_t size);

// Where the save chooser starts for the file chosen last (path, "" for none): that file's
// directory (as chooser_initial_dir, empty for the system's default folder) and its name,
// or default_name when path names no file.
void save_chooser_start(const char* path, const char* default_name, char* dir, size_t dir_size,
                        char* name, size_t name_size);

// The folder a chooser of iCalendar files opens in: that of the file chosen last in this run
// (path, "" for none; as chooser_initial_dir); when it names none, the folder remembered
// from an earlier run (the settings file's), else the user's Documents folder, each taken
// only when it is an absolute folder ("C:\..." or "\\server\share..."); empty when none
// is: the system's choice, which may be the program's own folder.
void chooser_start_dir(const char* path, const char* remembered, const char* documents,
                       char* dir, size_t size);
