// Loading the settings and the schedule list at start-up (with the one-time
// import of older data) and writing the schedule back.
//
// Current form, in the settings file: section "Schedule" with
// "schedulecount" and one "schedule%03d" key per entry, section "Alarm" with
// one "alarm%03d" key per entry that has a time. Older forms, read only
// while the current one is absent: "ZELMAR.INI" in the Windows directory,
// "ANNIVERS.DAT" in the program directory, and a legacy registry key.
#pragma once

#include <cstddef>

#include "config/settings.h"

class LegacyRegistry;
class ProfileFile;
struct ScheduleEntry;
struct ScheduleList;
struct Settings;

// Where the older data are looked for. windows_dir nullptr or "" = no
// legacy profile file; registry nullptr = no legacy key. The strings are
// copied.
void storage_set_sources(const char* program_dir, const char* windows_dir,
                         LegacyRegistry* registry);

// Fills the settings record and the schedule list from the best available
// source (profile_open must have been called). Returns false only when a
// registry import could not be written to the settings file (the key is
// then kept for the next start). A first start's window is the default one
// of the screen's DPI.
bool startup_load(Settings* settings, ScheduleList* list, int screen_w, int screen_h,
                  int dpi = kDefaultWindowDpi);

// Writes the settings, the upcoming-list keys, the alarm mark and the whole schedule, and
// recomputes the alarm instants; the file is replaced once, atomically.
// Entries the list has no room for, and keys it cannot read, stay in the
// file; entries another program added to the file meanwhile are taken into
// the list first, and those it removed are removed from the list unless
// changed here (schedule/schedule_sections.h). True only when the file was
// really written.
bool schedule_save(const Settings& settings, ScheduleList* list);

// Entries of the settings file that did not fit in the list at the last
// load (or save); they stay in the file.
int schedule_not_loaded();

// --- parts, exposed for the tests ---

// "%04d%02d%02d%c%c%s" and "%02d%02d%02d%c[sound file]" of an entry.
// True when every number of the entry takes exactly its field's width there
// (the alarm's only when the entry has a time), so the value reads back.
bool entry_fits_stored_form(const ScheduleEntry* e);
void schedule_value(const ScheduleEntry* e, char* buf, size_t size);
void alarm_value(const ScheduleEntry* e, char* buf, size_t size);
// A number from at most n characters of s: leading blanks and one sign
// allowed, stops at the first non-digit, 0 without digits.
int storage_number(const char* s, size_t n);

// Imports the legacy profile keys of ini into the start of the list;
// returns the number of entries (the caller sets the count).
int import_legacy_profile(const ProfileFile& ini, ScheduleList* list);
// Imports an anniversary file's bytes likewise.
int import_anniversaries(const char* data, size_t n, ScheduleList* list);

constexpr size_t kLineSize = 1024;  // 1023 bytes plus NUL
struct LineReader {
    const char* p;
    const char* end;
};
// Next line of the anniversary file into buf (kLineSize bytes): CR dropped,
// LF or 0x1A ends the line, bytes past 1023 dropped. False only when not a
// single byte was left.
bool read_line(LineReader* r, char* buf);

// Reads the legacy registry key into the settings and the list, writes both
// to the settings file and deletes the key once the file reads back. Records
// whose numbers do not fit the stored form are left out. Returns whether the
// file was written.
bool registry_import(Settings* settings, ScheduleList* list, int screen_w, int screen_h);
