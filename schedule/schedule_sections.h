// The sections "Schedule", "Alarm" and "ScheduleExtra" of a settings document against the
// schedule list: reading them into the list while keeping everything the list does not
// hold, writing them back, and taking in what another program changed in the file since it
// was last read or written.
//
// Every "schedule%03d" key with a value is a slot, numbered by its key
// (duplicates of a name count in file order). A slot whose value reads as an
// entry is readable, and takes the n-th "alarm%03d" of its number when it is
// the n-th slot of it and has a time; any other slot (10 bytes or less) is
// kept as it is stored. The first readable slots, in key order, fill the
// list; the rest are carried. Lines that are no slot (other names, names
// without "=", alarms no slot takes) are kept as they are.
//
// What an entry holds beyond those two values (its rule, skipped days, end, a long lead,
// identity...: schedule/entry_forms.h) is kept in "ScheduleExtra" as "<key>.<name>=<value>"
// lines, scrambled like the entry. The key ties the lines to the slot by its stored
// contents, not by its number: the digest of its "schedule%03d" and "alarm%03d" values as
// 16 hex digits, with "-n" for the n-th of several slots with the same values. An older
// release, which renumbers the slots at every save and keeps this section as it is, thus
// never ties them to another entry; an entry it changed loses them (they stay, tied to
// nothing, and are written back as they were). An entry whose identity is the one its key
// gives (derived_entry_uid) writes no uid line, so a file of entries without extra data
// reads and writes back to the same bytes.
//
// Written back: "schedulecount", the list as schedule001 on, the carried
// slots numbered on after it, then the other lines. A file written so reads
// and writes back to the same bytes.
//
// Slots are told apart by their stored form as the program writes it, so a
// merge works on contents, not on key numbers (which every save changes).
#pragma once

#include <string>
#include <vector>

#include "config/profile_file.h"
#include "schedule/entry_forms.h"

struct ScheduleEntry;

extern const char kScheduleSection[];       // "Schedule"
extern const char kScheduleExtraSection[];  // "ScheduleExtra"

struct StoredSlot {
    bool readable;
    std::string value;  // the "schedule%03d" value as stored
    std::string alarm;  // readable: its "alarm%03d" value as stored, or empty
    // Its lines of the extra section as stored (names without the key): a readable slot's
    // are its entry's properties, the uid always among them; an unreadable one's as found.
    std::vector<EntryProp> extra;
};

// What tells slots apart: readability and every stored value.
std::string slot_identity(const StoredSlot& s);

// What the sections hold besides the list, and what the list stands for.
struct ScheduleKeep {
    std::vector<StoredSlot> carried;  // in stored order
    std::vector<ProfileFile::Line> schedule_lines, alarm_lines;  // other lines, as they were
    std::vector<ProfileFile::Line> extra_lines;  // extra lines tied to no slot, as they were
    // Slots of the file as last read or written that the list stands for
    // (their stored forms); with the carried ones, the base of the next merge.
    std::vector<std::string> list_base;
    // Readable slots the last merge found no room for in the list.
    int not_loaded = 0;
};

// Takes the sections of doc as they are now into the list and keep, against
// what keep says they held before (an empty keep: nothing before, so this is
// the load):
// - a slot that is new in doc (added or changed by another program) is taken
//   into the list while it has room, else carried;
// - a slot gone from doc is removed from the list when the list still holds
//   it unchanged (an entry changed in both places keeps both versions);
// - an entry the list no longer holds stays out, carried slots stay carried
//   (or move into the list when it has room), the other lines become doc's.
// Entries taken into the list have their alarm instants computed.
void schedule_merge(const ProfileFile& doc, ScheduleEntry* list, int* count, int max,
                    ScheduleKeep* keep);

// Replaces the three sections of doc by the list and keep (see above).
void schedule_write(ProfileFile* doc, const ScheduleEntry* list, int count,
                    const ScheduleKeep& keep);

// The sections written by schedule_write reached the file: the list now
// stands for its own entries.
void schedule_keep_written(ScheduleKeep* keep, const ScheduleEntry* list, int count);

// The slot an entry becomes once written and read back: readable, or kept as
// stored (an entry without memo); with the stored values of the entry read back.
StoredSlot stored_slot_of(const ScheduleEntry& e);

// Reads an entry from stored values (alarm nullptr: none): true when the
// value is readable. *takes_alarm tells whether it asks for its alarm key
// (has a time flag). Its extra properties (stored forms) are taken in when given; an
// entry given none has no identity yet.
bool entry_from_stored(const std::string& value, const std::string* alarm, ScheduleEntry* e,
                       bool* takes_alarm, const std::vector<EntryProp>* extra = nullptr);

// The key of a slot's extra lines: the digest of its stored values and its place among
// slots with the same ones (1 for the first).
uint64_t slot_digest(const std::string& value, const std::string& alarm);
std::string extra_key(uint64_t digest, int nth);

// The number k of a folded key name prefix + "%03d" of k (1..999999999); 0 if
// the name is not of that form.
int stored_key_number(const std::string& folded, const char* prefix);
