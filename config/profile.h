// The profile layer: every key of the settings file is read and written
// through these functions. The file is read when its path is set at start-up;
// reads and writes then work on the document in memory, and profile_flush()
// writes it back in one atomic replace. When another program changed the file
// meanwhile (what it holds differs from when it was last read or written, whatever
// its size and time say), profile_refresh() reads it again and makes this program's unsaved changes
// again on top of it, so edits from both survive. A write that leaves a key's
// value as it was is no change: a save of every key overrides only the keys
// whose values this program changed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

class FileIO;
class ProfileFile;

// Sets the settings file and reads it (a missing or unreadable file gives an
// empty document). io nullptr = the standard C library (fileio_stdio());
// the Windows program passes fileio_win(). Returns whether a file was read.
bool profile_open(const char* path, FileIO* io);
const char* profile_path();
FileIO* profile_fileio();

// Reads the file again when what it holds changed since it was last read or written,
// and makes the changes not yet written again on top of what it holds. A file
// that is gone or cannot be read leaves the document as it is (the next flush
// writes it whole). Returns whether the file was read again.
bool profile_refresh();

// Writes the document to the settings file (after profile_refresh()). True
// only when the file was written and replaced; on false the file on disk is
// unchanged and every change stays in memory.
bool profile_flush();

// Like profile_flush(), with edit made on the document first (after the
// re-read), unremembered: sections a writer merges with the file itself at
// every save, rather than having its changes made again on a newer file.
// On false the document in memory stays as it was before the edit.
bool profile_flush_edited(const std::function<void(ProfileFile*)>& edit);

// The document in memory: the file as last read or written, with the
// changes not yet written.
const ProfileFile& profile_document();

// The key's value as an integer, or def when missing. Both are taken as
// signed 16-bit values, except for the key "ToDoWidth" (32 bits).
int profile_read_int(const char* section, const char* key, int def);
// "%d" of the low 16 bits, sign-extended ("ToDoWidth": all 32 bits).
void profile_write_int(const char* section, const char* key, int value);

// The key's value cut to size - 1 bytes, or def when missing. A def of " "
// comes back as " " exactly when the key is missing (the lookup is made
// with "no data"). A value starting with "$" is the scrambled form and is
// returned decoded.
void profile_read_string(const char* section, const char* key, const char* def, char* buf,
                         size_t size);
// Writes text unchanged when scramble is 0, else as "$" + scrambled text.
void profile_write_string(const char* section, const char* key, const char* text, int scramble);

// What profile_write_string stores for text, as the document keeps it.
std::string profile_stored_form(const char* text, int scramble);
// What profile_read_string gives for a key whose stored value is stored.
void profile_stored_text(const std::string& stored, char* buf, size_t size);

// Replaces the whole section by "name=value" lines (NUL-separated, ended by
// an empty string; "" alone empties the section).
void profile_replace_section(const char* section, const char* lines);
