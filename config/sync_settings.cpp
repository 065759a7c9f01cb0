#include "config/sync_settings.h"

#include <cstring>

#include "config/profile.h"

namespace {

const char kSection[] = "Sync";
const char kAddress[] = "Address";
const char kUser[] = "User";
const char kEnabled[] = "Enabled";
const char kInterval[] = "Interval";
const char kPlainConfirmed[] = "PlainConfirmed";

}  // namespace

void sync_settings_defaults(SyncSettings* s) {
    std::memset(s, 0, sizeof *s);
    s->interval = kSyncIntervalDefault;
}

void sync_settings_load(SyncSettings* s) {
    sync_settings_defaults(s);
    profile_read_string(kSection, kAddress, "", s->address, sizeof s->address);
    profile_read_string(kSection, kUser, "", s->user, sizeof s->user);
    s->enabled = profile_read_int(kSection, kEnabled, 0) != 0 ? 1 : 0;
    const int interval = profile_read_int(kSection, kInterval, kSyncIntervalDefault);
    s->interval = interval < kSyncIntervalMin || interval > kSyncIntervalMax ? kSyncIntervalDefault
                                                                               : interval;
    s->plain_confirmed = profile_read_int(kSection, kPlainConfirmed, 0) != 0 ? 1 : 0;
}

void sync_settings_put(const SyncSettings& s) {
    profile_write_string(kSection, kAddress, s.address, 0);
    profile_write_string(kSection, kUser, s.user, 0);
    profile_write_int(kSection, kEnabled, s.enabled ? 1 : 0);
    profile_write_int(kSection, kInterval, s.interval);
    profile_write_int(kSection, kPlainConfirmed, s.plain_confirmed ? 1 : 0);
}

bool sync_account_set(const SyncSettings& s) { return s.address[0] != '\0'; }

bool sync_automatic(const SyncSettings& s) { return sync_account_set(s) && s.enabled != 0; }
