#include "dialogs/feed_dialog.h"

#include <cstdio>
#include <cstring>

#include "resources/texts.h"
#include "schedule/dav_url.h"
#include "schedule/feed_entries.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether text starts with scheme followed by "://", in any case.
bool has_scheme(const std::string& text, const char* scheme) {
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
    while (a < b && blank(text[a])) ++a;
    while (b > a && blank(text[b - 1])) --b;
    if (a == b) return FeedUrlCheck::kEmpty;
    std::string u = text.substr(a, b - a);
    if (has_scheme(u, "webcal")) {
        u = "https" + u.substr(6);
    } else if (has_scheme(u, "webcals")) {
        u = "https" + u.substr(7);
    } else if (!has_scheme(u, "http") && !has_scheme(u, "https")) {
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

FeedRowTexts feed_row_texts(const FeedSubscription& feed) {
    FeedRowTexts r;
    r.texts[0] = feed.on ? kFeedOn : kFeedOff;
    r.texts[1] = feed_shown_name(feed);
    r.texts[2] = feed.url;
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

std::string feed_failure_text(const std::string& name, NetError error, bool has_copy) {
    char text[512];
    std::snprintf(text, sizeof text, has_copy ? kFeedFailedFormat : kFeedFailedNoCopyFormat, name.c_str(),
                  reason_of(error));
    return text;
}
