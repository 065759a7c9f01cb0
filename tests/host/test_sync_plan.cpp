// The sync plan from the states of an item on both sides against the last sync, every
// combination, with the two rules that matter most checked over all of them: nothing is
// deleted on a side unless the other side deleted it while this one kept it unchanged, and
// a version only one side has is never dropped.
#include <gtest/gtest.h>

#include "schedule/sync_plan.h"

namespace {

constexpr SyncSide A = SyncSide::kAbsent;
constexpr SyncSide S = SyncSide::kSame;
constexpr SyncSide C = SyncSide::kChanged;

TEST(SyncPlan, Table) {
    struct {
        bool known, held;
        SyncSide local, server;
        bool same;
        SyncAction action;
    } cases[] = {
        // Synced before, held by the list.
        {true, true, S, S, false, SyncAction::kNone},
        {true, true, S, C, false, SyncAction::kDownload},
        {true, true, S, A, false, SyncAction::kDeleteLocal},
        {true, true, C, S, false, SyncAction::kUpload},
        {true, true, C, C, false, SyncAction::kKeepBoth},
        {true, true, C, C, true, SyncAction::kAdopt},  // the same edit on both sides
        {true, true, C, A, false, SyncAction::kUploadNew},  // deleted there, changed here
        {true, true, A, S, false, SyncAction::kDeleteServer},
        {true, true, A, C, false, SyncAction::kDownload},  // deleted here, changed there
        {true, true, A, A, false, SyncAction::kForget},
        // Known, but left on the server (no room or unreadable then).
        {true, false, A, S, false, SyncAction::kDownload},
        {true, false, A, C, false, SyncAction::kDownload},
        {true, false, A, A, false, SyncAction::kForget},
        {true, false, S, S, false, SyncAction::kKeepBoth},  // the list never had that version
        {true, false, C, S, true, SyncAction::kAdopt},
        {true, false, C, A, false, SyncAction::kUploadNew},
        // Never synced: a first sync, or a journal lost.
        {false, false, C, A, false, SyncAction::kUploadNew},
        {false, false, A, C, false, SyncAction::kDownload},
        {false, false, C, C, true, SyncAction::kAdopt},
        {false, false, C, C, false, SyncAction::kKeepBoth},
        {false, false, S, S, false, SyncAction::kKeepBoth},
        {false, false, A, A, false, SyncAction::kNone},
    };
    for (const auto& c : cases) {
        const SyncRow row = {c.known, c.held, c.local, c.server, c.same};
        EXPECT_EQ(sync_plan(row), c.action)
            << c.known << c.held << (int)c.local << (int)c.server << c.same << " gives "
            << sync_action_name(sync_plan(row));
    }
}

TEST(SyncPlan, NothingLostOverEveryState) {
    const SyncSide sides[] = {A, S, C};
    for (bool known : {false, true})
        for (bool held : {false, true})
            for (SyncSide local : sides)
                for (SyncSide server : sides)
                    for (bool same : {false, true}) {
                        if (held && !known) continue;
                        if (same && (local == A || server == A)) continue;
                        const SyncAction a = sync_plan({known, held, local, server, same});
                        const std::string at = std::to_string(known) + std::to_string(held) +
                                               std::to_string((int)local) +
                                               std::to_string((int)server) + std::to_string(same);
                        // A deletion only of what the other side deleted and this side kept.
                        if (a == SyncAction::kDeleteLocal)
                            EXPECT_TRUE(known && held && local == S && server == A) << at;
                        if (a == SyncAction::kDeleteServer)
                            EXPECT_TRUE(known && held && local == A && server == S) << at;
                        // Two different versions: both survive.
                        if (local != A && server != A && !same && (local == C || server == C) &&
                            !(known && held && (local == S || server == S)))
                            EXPECT_EQ(a, SyncAction::kKeepBoth) << at;
                        // A version one side has goes to the other unless deleted there.
                        if (local != A && server == A && !(known && held && local == S))
                            EXPECT_EQ(a, SyncAction::kUploadNew) << at;
                        if (server != A && local == A && !(known && held && server == S))
                            EXPECT_EQ(a, SyncAction::kDownload) << at;
                    }
}

}  // namespace
