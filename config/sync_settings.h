// The calendar sync's account in the settings file, in a section of its own ("Sync"): the
// calendar's address, the user name, whether the program syncs by itself and how often,
// and whether the user allowed plain http with the password to that server. The password
// is never here: it is in the Windows Credential Manager. A file without the section reads
// as no account, sync off, every 15 minutes.
#pragma once

constexpr int kSyncIntervalDefault = 15;  // minutes
constexpr int kSyncIntervalMin = 1;
constexpr int kSyncIntervalMax = 1440;    // a day

struct SyncSettings {
    char address[1024];  // the calendar's URL; "" no account
    char user[256];      // UTF-8 as typed
    int enabled;         // 1: at start and every `interval` minutes
    int interval;        // kSyncIntervalMin..kSyncIntervalMax
    int plain_confirmed;  // 1: plain http with the password to address's server was allowed
};

void sync_settings_defaults(SyncSettings* s);
// From the settings document (as last read); values out of range read as their defaults.
void sync_settings_load(SyncSettings* s);
// Into the document, written by the next save of the file.
void sync_settings_put(const SyncSettings& s);

// An account is set: there is an address to sync with.
bool sync_account_set(const SyncSettings& s);
// The program syncs by itself.
bool sync_automatic(const SyncSettings& s);
