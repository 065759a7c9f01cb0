#include "schedule/sync_notice.h"

#include <cstdio>

#include "resources/texts.h"

std::string sync_error_text(NetError error, int status) {
    switch (error) {
    case NetError::kAddress: return kSyncErrorAddress;
    case NetError::kInsecure: return kSyncErrorInsecure;
    case NetError::kConnect: return kSyncErrorConnect;
    case NetError::kTimeout: return kSyncErrorTimeout;
    case NetError::kCertUntrusted: return kSyncErrorCertUntrusted;
    case NetError::kCertName: return kSyncErrorCertName;
    case NetError::kCertExpired: return kSyncErrorCertExpired;
    case NetError::kCertOther: return kSyncErrorCertOther;
    case NetError::kAuth: return kSyncErrorAuth;
    case NetError::kNotFound: return kSyncErrorNotFound;
    case NetError::kNotCalendar: return kSyncErrorNotCalendar;
    case NetError::kTooLarge: return kSyncErrorTooLarge;
    case NetError::kServer:
        if (status > 0) {
            char text[128];
            std::snprintf(text, sizeof text, kSyncErrorServerFormat, status);
            return text;
        }
        return kSyncErrorServer;
    case NetError::kNone:
    case NetError::kCancelled: break;
    }
    return std::string();
}

namespace {

std::string formatted(const char* format, int a, int b = 0) {
    char text[512];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

void add_paragraph(std::string* to, const std::string& text) {
    if (text.empty()) return;
    if (!to->empty()) *to += "\n\n";
    *to += text;
}

}  // namespace

std::string sync_notice(NetError error, int status, const SyncCounts& counts, int limit, SyncTold* told) {
    if (error == NetError::kCancelled) return std::string();
    std::string out;
    if (error != NetError::kNone) {
        // The status tells one server error from another; the other reasons carry none.
        const int key = error == NetError::kServer ? status : 0;
        if (told->error != error || told->status != key) {
            char text[1024];
            std::snprintf(text, sizeof text, kSyncFailedFormat, sync_error_text(error, status).c_str());
            out = text;
        }
        told->error = error;
        told->status = key;
    } else {
        told->error = NetError::kNone;
        told->status = 0;
    }
    if (counts.kept_both > 0) add_paragraph(&out, formatted(kSyncKeptBothFormat, counts.kept_both));
    // Events left on the server stay there: told again only when their number changes.
    if (counts.not_taken != told->not_taken && counts.not_taken > 0)
        add_paragraph(&out, formatted(kSyncNotTakenFormat, limit, counts.not_taken));
    if (error == NetError::kNone || counts.not_taken > 0) told->not_taken = counts.not_taken;
    return out;
}

void sync_tip_line(char* out, size_t size, int month, int day, int hour, int minute) {
    std::snprintf(out, size, kSyncTipFormat, month, day, hour, minute);
}
