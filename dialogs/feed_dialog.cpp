#include "dialogs/feed_dialog.h"

#include <cstdio>
#include <cstring>

#include "config/ascii.h"
#include "resources/texts.h"
#include "schedule/dav_url.h"
#include "schedule/feed_entries.h"

namespace {

// Whether text starts with scheme followed by "://", in any case.
bool starts_with_scheme(const std::string& text, const char* scheme) {
    const size_t n = std::strlen(scheme);
    if (text.size() < n + 3 || text.compare(n, 3, "://") != 0) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != scheme[i]) return false;
    }
    return true;
}

}  // namespace

FeedUrlCheck feed_url_check(const std::string& text, std::string* url) {
    size_t a = 0, b = text.size();
    while (a < b && ascii_space(text[a])) ++a;
    while (b > a && ascii_space(text[b - 1])) --b;
    if (a == b) return FeedUrlCheck::kEmpty;
    std::string u = text.substr(a, b - a);
    if (starts_with_scheme(u, "webcal")) {
        u = "https" + u.substr(6);
    } else if (starts_with_scheme(u, "webcals")) {
        u = "https" + u.substr(7);
    } else if (!starts_with_scheme(u, "http") && !starts_with_scheme(u, "https")) {
        return FeedUrlCheck::kBad;
    }
    DavUrl parsed;
    if (!dav_url_parse(u.c_str(), &parsed)) return FeedUrlCheck::kBad;
    *url = u;
    return FeedUrlCheck::kOk;
}

FeedEditError feed_edit(std::vector<FeedSubscription>* feeds, int index, const std::string& url_text,
                        const std::string& name, bool on) {
    const int count = static_cast<int>(feeds->size());
    if (index >= count) return FeedEditError::kNone;
    if (index < 0 && count >= kFeedMaxCount) return FeedEditError::kFull;
    FeedSubscription f;
    switch (feed_url_check(url_text, &f.url)) {
    case FeedUrlCheck::kEmpty: return FeedEditError::kUrlEmpty;
    case FeedUrlCheck::kBad: return FeedEditError::kUrlBad;
    case FeedUrlCheck::kOk: break;
    }
    if (name.size() > kFeedMaxName) return FeedEditError::kNameLong;
    for (int i = 0; i < count; ++i)
        if (i != index && (*feeds)[static_cast<size_t>(i)].url == f.url) return FeedEditError::kDuplicate;
    f.name = name;
    f.on = on;
    if (index < 0)
        feeds->push_back(f);
    else
        (*feeds)[static_cast<size_t>(index)] = f;
    return FeedEditError::kNone;
}

const char* feed_edit_message(FeedEditError e) {
    switch (e) {
    case FeedEditError::kNone: return nullptr;
    case FeedEditError::kUrlEmpty: return kFeedUrlEmpty;
    case FeedEditError::kUrlBad: return kFeedUrlBad;
    case FeedEditError::kDuplicate: return kFeedDuplicate;
    case FeedEditError::kFull: return kFeedFull;
    case FeedEditError::kNameLong: return kFeedNameLong;
    }
    return nullptr;
}

FeedRowTexts feed_row_texts(const FeedSubscription& feed, const FeedCache* cache, FeedToLocal to_local) {
    FeedRowTexts r;
    r.texts[0] = feed.on ? kFeedOn : kFeedOff;
    r.texts[1] = feed_shown_name(feed);
    const FeedCacheEntry* entry = nullptr;
    if (cache)
        for (const FeedCacheEntry& e : cache->entries)
            if (e.url == feed.url) entry = &e;
    r.texts[2] = feed_state_text(entry, to_local);
    r.texts[3] = feed.url;
    return r;
}

FeedButtons feed_buttons(int count, int selected) {
    const bool row = selected >= 0 && selected < count;
    return {count < kFeedMaxCount, row, row};
}

namespace {

const char* reason_of(NetError e) {
    switch (e) {
    case NetError::kAddress: return kFeedReasonAddress;
    case NetError::kConnect: return kFeedReasonConnect;
    case NetError::kTimeout: return kFeedReasonTimeout;
    case NetError::kCertUntrusted:
    case NetError::kCertName:
    case NetError::kCertExpired:
    case NetError::kCertOther: return kFeedReasonCertificate;
    case NetError::kAuth:
    case NetError::kInsecure: return kFeedReasonAuth;
    case NetError::kNotFound: return kFeedReasonNotFound;
    case NetError::kNotCalendar: return kFeedReasonNotCalendar;
    case NetError::kTooLarge: return kFeedReasonTooLarge;
    default: return kFeedReasonServer;
    }
}

}  // namespace

namespace {

// "2026/12/10 14:05" into out; false when the time has no local form.
bool local_text(int64_t utc, FeedToLocal to_local, char* out, size_t size) {
    FeedLocalTime t;
    if (utc <= 0 || !to_local || !to_local(utc, &t)) return false;
    std::snprintf(out, size, kFeedStateTimeFormat, t.year, t.month, t.day, t.hour, t.minute);
    return true;
}

}  // namespace

std::string feed_state_text(const FeedCacheEntry* entry, FeedToLocal to_local) {
    if (!entry || entry->checked <= 0) return kFeedStateNone;
    char when[64], text[256];
    if (entry->error == NetError::kNone)
        return local_text(entry->checked, to_local, when, sizeof when) ? when : kFeedStateNone;
    if (local_text(entry->fetched, to_local, when, sizeof when))
        std::snprintf(text, sizeof text, kFeedStateFailedCopyFormat, when, reason_of(entry->error));
    else
        std::snprintf(text, sizeof text, kFeedStateFailedFormat, reason_of(entry->error));
    return text;
}

std::string feed_failure_text(const std::string& name, NetError error, bool has_copy) {
    char text[512];
    std::snprintf(text, sizeof text, has_copy ? kFeedFailedFormat : kFeedFailedNoCopyFormat, name.c_str(),
                  reason_of(error));
    return text;
}
