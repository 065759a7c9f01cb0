#include "dialogs/sync_dialog.h"

#include "config/ascii.h"
#include "config/sync_settings.h"
#include "dialogs/number_field.h"
#include "schedule/dav_http.h"

namespace {

std::string trimmed_field(const char* text) {
    std::string s = text ? text : "";
    size_t a = 0, b = s.size();
    while (a < b && ascii_space(s[a])) ++a;
    while (b > a && ascii_space(s[b - 1])) --b;
    return s.substr(a, b - a);
}

}  // namespace

SyncAddress sync_address_read(const char* text, DavUrl* url) {
    const std::string s = trimmed_field(text);
    if (s.empty()) return SyncAddress::kEmpty;
    DavUrl parsed;
    if (!dav_url_parse(s.c_str(), &parsed)) return SyncAddress::kInvalid;
    if (url) *url = parsed;
    return SyncAddress::kValid;
}

bool sync_interval_read(const char* text, int* minutes) {
    unsigned v = 0;
    if (!number_field_unsigned(text ? text : "", &v)) return false;
    if (v < (unsigned)kSyncIntervalMin || v > (unsigned)kSyncIntervalMax) return false;
    *minutes = (int)v;
    return true;
}

bool sync_ok_enabled(const SyncFields& f) {
    int minutes;
    if (!sync_interval_read(f.interval, &minutes)) return false;
    if (sync_address_read(f.address, nullptr) == SyncAddress::kInvalid) return false;
    return trimmed_field(f.user).size() > 0 || !f.password || f.password[0] == '\0';
}

bool sync_find_enabled(const SyncFields& f, bool searching) {
    return !searching && sync_address_read(f.address, nullptr) == SyncAddress::kValid &&
           !trimmed_field(f.user).empty();
}

bool sync_plain_question_needed(const DavUrl& url, bool confirmed) {
    return !dav_password_allowed(url, confirmed);
}

bool sync_plain_still_confirmed(const char* old_address, bool old_confirmed, const char* new_address) {
    DavUrl a, b;
    return old_confirmed && sync_address_read(old_address, &a) == SyncAddress::kValid &&
           sync_address_read(new_address, &b) == SyncAddress::kValid && dav_url_same_origin(a, b);
}

std::string sync_calendar_row(const DavCalendar& c) {
    return c.name.empty() ? c.url : c.name + " - " + c.url;
}
