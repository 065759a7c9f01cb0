// What the sync remembers between runs, in a file of its own beside the settings file: the
// calendar it syncs with, the server's sync token, and per item the href, UID, the server's
// last ETag and what was last synced. Changes made while offline need no queue of their
// own: they are the difference between the list and this record, which survives restarts.
// Written whole through a temporary file and a replace, like the settings file.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

class FileIO;

struct SyncJournalItem {
    std::string href;  // path on the server: the key
    std::string uid;   // "" when the server's text gave none
    std::string etag;  // the server's ETag last seen ("" unknown)
    uint64_t server_hash = 0;  // the version the server had at that ETag (0 unknown)
    uint64_t base_hash = 0;    // the version both sides held at the last sync (0 none)
    bool held = false;        // the list holds it; else it stays on the server only
    bool unreadable = false;  // not held: the list cannot hold this version
};

struct SyncJournal {
    std::string collection;  // URL of the calendar
    std::string token;       // sync token of the last complete sync ("" none)
    std::vector<SyncJournalItem> items;
};

constexpr size_t kSyncJournalMaxItems = 100000;
constexpr size_t kSyncJournalMaxBytes = 64u << 20;

std::string sync_journal_text(const SyncJournal& journal);
// False, with an empty journal, for any text this program did not write whole.
bool sync_journal_parse(const char* data, size_t n, SyncJournal* out);

// Reads path; a missing, unreadable, oversize or corrupt file gives an empty journal (the
// next sync is then a first sync, which doubles nothing). False when it was not read.
bool sync_journal_load(FileIO* io, const char* path, SyncJournal* out);
bool sync_journal_save(FileIO* io, const char* path, const SyncJournal& journal);
