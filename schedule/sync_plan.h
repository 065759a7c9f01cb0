// What one sync does with one item, from its state on both sides against the last sync.
// The rules: a side's change goes to the other side; a deletion goes across only when the
// other side did not change the item meanwhile (else the change comes back); an item
// changed on both sides is kept in both versions; nothing the other side did not delete is
// ever deleted.
#pragma once

// An item's state on one side against the copy both sides held at the last sync.
enum class SyncSide {
    kAbsent,   // not there
    kSame,     // there, as at the last sync
    kChanged,  // there, changed since the last sync or new there
};

struct SyncRow {
    bool known;   // the journal has the item from the last sync
    bool held;    // and the local list held it then (else it stayed on the server only)
    SyncSide local, server;
    bool same_content;  // both sides have it and their versions read the same
};

enum class SyncAction {
    kNone,          // nothing to do
    kUpload,        // the local version replaces the server's (If-Match its ETag)
    kUploadNew,     // the local version goes to the server as a new resource (If-None-Match)
    kDownload,      // the server's version replaces the local one or joins the list
    kDeleteLocal,   // deleted on the server: deleted from the list
    kDeleteServer,  // deleted from the list: deleted on the server (If-Match its ETag)
    kKeepBoth,      // changed on both sides: the local version goes up as a copy under a new
                    // UID, the server's version replaces it in the list
    kAdopt,         // both sides have the same version: remembered, nothing sent
    kForget,        // gone from both sides: dropped from the journal
};

SyncAction sync_plan(const SyncRow& row);

const char* sync_action_name(SyncAction a);
