// The program's schedule list as one side of a calendar sync. The window's thread copies
// the entries the sync can carry (sync_list_copy); the worker makes their texts from that
// copy (sync_list_snapshot) and never sees the list. Back on the window's thread a
// ScheduleListStore applies each change only while the entry is still the version the
// snapshot had, and its commit saves the list as the program saves it.
//
// What is synced: every live entry with an identity that is not an occurrence changed on its
// own (those carry the series' identity and stay local), the first of several entries of one
// identity. A series removed on the server takes its changed occurrences with it.
#pragma once

#include <string>
#include <vector>

#include "schedule/entry.h"
#include "schedule/ical_platform.h"
#include "schedule/ical_time.h"
#include "schedule/sync_engine.h"

struct SyncListCopy {
    std::vector<ScheduleEntry> entries;  // the entries a sync carries
    int room = 0;                        // how many more entries the list takes
};

SyncListCopy sync_list_copy(const ScheduleList& list);

// The texts of the copy's entries under their identities (an entry falling on no day the
// list can show is left out).
SyncSnapshot sync_list_snapshot(const SyncListCopy& copy, const IcalPlatform* platform,
                                const IcalTime& now_utc);

// The index of the synced entry of uid in list, -1 when it holds none.
int sync_list_find(const ScheduleList& list, const std::string& uid);

class ScheduleListStore : public SyncStore {
public:
    // save writes the list as the program does (context: save's own), true when written.
    ScheduleListStore(ScheduleList* list, const IcalPlatform* platform, bool (*save)(void* context),
                      void* context)
        : list_(list), platform_(platform), save_(save), context_(context) {}

    SyncApply apply(const SyncChange& change) override;
    bool commit() override;

    // How many changes were applied: the views show the list anew when any was.
    int applied() const { return applied_; }

private:
    bool same_version(int index, uint64_t expect) const;
    void remove_uid(const std::string& uid);

    ScheduleList* list_;
    const IcalPlatform* platform_;
    bool (*save_)(void* context);
    void* context_;
    int applied_ = 0;
};
