#include "schedule/sync_plan.h"

namespace {

// Both sides have a version neither got from the other.
SyncAction both_changed(const SyncRow& r) {
    return r.same_content ? SyncAction::kAdopt : SyncAction::kKeepBoth;
}

}  // namespace

SyncAction sync_plan(const SyncRow& row) {
    SyncRow r = row;
    // Without a copy both sides held, whatever a side has is new to the other.
    if (!r.known || !r.held) {
        if (r.local == SyncSide::kSame) r.local = SyncSide::kChanged;
        if (r.server == SyncSide::kSame) r.server = SyncSide::kChanged;
    }

    const bool local = r.local != SyncSide::kAbsent;
    const bool server = r.server != SyncSide::kAbsent;
    if (!local && !server) return r.known ? SyncAction::kForget : SyncAction::kNone;
    if (!local) {
        // Absent here: never held (take it), or deleted here (delete there unless changed there).
        if (!r.known || !r.held) return SyncAction::kDownload;
        return r.server == SyncSide::kSame ? SyncAction::kDeleteServer : SyncAction::kDownload;
    }
    if (!server) {
        // Absent there: never sent (send it), or deleted there (delete here unless changed here).
        if (r.known && r.held && r.local == SyncSide::kSame) return SyncAction::kDeleteLocal;
        return SyncAction::kUploadNew;
    }
    if (r.local == SyncSide::kSame && r.server == SyncSide::kSame) return SyncAction::kNone;
    if (r.local == SyncSide::kSame) return SyncAction::kDownload;
    if (r.server == SyncSide::kSame) return SyncAction::kUpload;
    return both_changed(r);
}

const char* sync_action_name(SyncAction a) {
    switch (a) {
    case SyncAction::kNone: return "none";
    case SyncAction::kUpload: return "upload";
    case SyncAction::kUploadNew: return "upload-new";
    case SyncAction::kDownload: return "download";
    case SyncAction::kDeleteLocal: return "delete-local";
    case SyncAction::kDeleteServer: return "delete-server";
    case SyncAction::kKeepBoth: return "keep-both";
    case SyncAction::kAdopt: return "adopt";
    case SyncAction::kForget: return "forget";
    }
    return "?";
}
