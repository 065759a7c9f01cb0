// Entries the user deleted from the list that had an identity, remembered with the version
// they had, so that bringing in a calendar file again does not offer them back unless the
// file's copy changed since. An occurrence changed on its own is remembered apart from its
// series (its identity together with the day it stands for).
//
// Stored in the section "ScheduleDeleted" of the settings file, oldest first, one line per
// entry: "<16 hex digits>=<sequence>,<modified>,<16 hex digits>", the digest of its identity
// and day, its sequence and stamp (schedule/entry.h) and the digest of its content as an
// import compares it (ical_same_content). At most kMaxDeleted lines: the oldest go first.
// The section is written only when something was remembered or forgotten here, on top of
// what the file holds then, so another program's lines stay and a file with nothing deleted
// keeps its bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class ProfileFile;
struct ScheduleEntry;

extern const char kScheduleDeletedSection[];  // "ScheduleDeleted"

constexpr size_t kMaxDeleted = 500;

struct DeletedVersion {
    uint32_t sequence;
    uint64_t modified;
    uint64_t content;  // digest of what an import compares (ical_content_digest)
};

class DeletedEntries {
public:
    // Remembers e as deleted now (again when it was: then as the newest). An entry without
    // identity is not remembered.
    void remember(const ScheduleEntry& e);
    // The version an entry with e's identity and day had when deleted; nullptr: not deleted.
    const DeletedVersion* find(const ScheduleEntry& e) const;
    // e's identity and day are no longer remembered (it came back).
    void forget(const ScheduleEntry& e);
    size_t size() const { return records_.size(); }

    // Replaces everything by the section of doc (the load); nothing is pending afterwards.
    void load(const ProfileFile& doc);
    // Writes the section of doc as doc holds it with what was remembered and forgotten here
    // since the last load or commit made on top; doc is left as it is when nothing was.
    // What was written becomes the list at commit().
    void write(ProfileFile* doc);
    // The document written by write() reached the file.
    void commit();

private:
    struct Record {
        uint64_t key;
        DeletedVersion version;
    };
    struct Change {
        bool remember;
        Record record;
    };
    static void apply(std::vector<Record>* records, const Change& c);

    std::vector<Record> records_;   // oldest first, what lookups see
    std::vector<Change> pending_;   // made here, not yet in the file
    std::vector<Record> written_;   // what write() put in the document
};

// Whether an event (its entry e, has_version: it gave a sequence or stamp) is a copy of what
// was deleted as v, or an older one: the same content, a lower sequence, or the same sequence
// with an earlier stamp.
bool deleted_version_covers(const DeletedVersion& v, const ScheduleEntry& e, bool has_version);
