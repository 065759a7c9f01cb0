// Two-way sync of a local list of calendar items with one CalDAV calendar (RFC 4791).
//
// A sync runs in two halves. sync_exchange runs on a worker thread: it lists the server's
// items (sync-collection with the last sync token where the server offers it, else the
// ETags of every event), fetches what is new or changed, plans each item (sync_plan.h)
// against a snapshot of the list and the journal, and does the server's half: uploads with
// If-Match / If-None-Match, deletions with If-Match. What the list is to do comes back as
// changes. sync_finish runs on the thread that owns the list: it hands the changes to the
// store, which applies each only if its item is still as it was in the snapshot, has the
// store save the list, and then saves the journal. A sync stopped anywhere loses nothing:
// what the server got is in the journal or is recognised next time as the same version.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "schedule/dav_http.h"
#include "schedule/dav_multistatus.h"
#include "schedule/sync_item.h"
#include "schedule/sync_journal.h"

class FileIO;

struct SyncAccount {
    std::string url;               // the calendar collection
    bool plain_confirmed = false;  // the user allowed plain http to another machine
};

// How the list reads an item, callable from the worker thread: the text of the item as the
// list would hold it and give it back ("" when the list cannot hold it). Two texts are the
// same version when their canonical texts are equal.
struct SyncCanon {
    void* context;
    std::string (*canon)(void* context, const std::string& ical);
};

// The list as it was when the sync started (taken from the saved list).
struct SyncSnapshot {
    std::vector<SyncItem> items;  // every item the list can sync, with the text it uploads
    int room = 0;                 // how many more items the list can take
};

enum class SyncChangeKind { kPut, kRemove };

// One change of the list.
struct SyncChange {
    SyncChangeKind kind = SyncChangeKind::kPut;
    std::string uid;
    std::string ical;             // kPut: the item's text
    bool expect_absent = false;   // an addition: the list must not hold uid
    uint64_t expect_hash = 0;     // else the list's item must still read as this version
    bool after_previous = false;  // only if the change before it was applied
    // The journal's record of the item afterwards, when applied and when not; drop_* removes it.
    SyncJournalItem applied, refused;
    bool drop_applied = false;
};

enum class SyncApply {
    kApplied,
    kChanged,     // the item changed in the list meanwhile: left for the next sync
    kFull,        // no room: the item stays on the server
    kUnreadable,  // the list cannot hold the item
};

class SyncStore {
public:
    virtual ~SyncStore() = default;
    virtual SyncApply apply(const SyncChange& change) = 0;
    // Saves the list; false when it could not (the journal is then not saved either).
    virtual bool commit() = 0;
};

struct SyncCounts {
    int server_items;  // items the calendar holds
    int uploaded;      // new or changed items sent
    int downloaded;    // new or changed items taken into the list
    int deleted_here;  // deleted from the list (deleted on the server)
    int deleted_there;  // deleted on the server (deleted from the list)
    int kept_both;     // changed on both sides: both versions kept
    int not_taken;     // left on the server: the list had no room
    int unreadable;    // left on the server: the list cannot hold them
    int retry_later;   // changed again meanwhile: the next sync takes them
};

struct SyncOutcome {
    NetError error = NetError::kNone;
    int status = 0;  // the HTTP status behind a kAuth, kNotFound or kServer
    SyncCounts counts = {};
    std::vector<SyncChange> changes;
    SyncJournal journal;  // as the exchange left it, changes not yet applied
    std::string token;    // the new sync token, saved once the changes are in
    int requests = 0;     // requests sent
};

// Everything the worker needs; nothing in it is shared with the list's thread.
struct SyncJob {
    HttpClient* http;
    XmlParser xml;
    SyncAccount account;
    SyncSnapshot snapshot;
    SyncCanon canon;
    SyncJournal journal;  // as loaded at the start
    const CancelFlag* cancel = nullptr;
    DavLimits limits;
};

// The worker's half. Never touches the list or a file.
void sync_exchange(const SyncJob& job, SyncOutcome* out);

// The list's half: the changes applied, the list saved, then the journal saved to path
// (also after a failed exchange, for what the server got). False when a save failed.
bool sync_finish(SyncStore* store, SyncOutcome* outcome, FileIO* io, const char* journal_path);

// The version of an item's text as the sync compares them: the hash of its canonical text
// (of the text itself when the list cannot hold it). A store checks a change's expect_hash
// against this of its item.
uint64_t sync_version(const SyncCanon& canon, const std::string& ical);

// Path of the resource a new item gets in the collection: "<collection path><uid>.ics".
std::string sync_new_href(const DavUrl& collection, const std::string& uid);

// UID of the copy that keeps the local version of an item changed on both sides: the same
// inputs give the same UID, so a sync stopped after sending the copy sends no second one.
std::string sync_copy_uid(const std::string& uid, uint64_t local_hash, const std::string& etag);
