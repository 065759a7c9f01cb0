#include "schedule/feed_fetch.h"

#include <string.h>

namespace {

FeedRefresh failed(FeedCacheEntry* e, NetError error, int status) {
    const bool changed = e->error != error;
    e->error = error;
    e->status = status;
    return {FeedOutcome::kFailed, changed};
}

}  // namespace

bool feed_looks_like_calendar(const char* text, size_t n) {
    size_t i = 0;
    if (n >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) i = 3;
    while (i < n && (text[i] == '\r' || text[i] == '\n' || text[i] == ' ' || text[i] == '\t')) ++i;
    static const char kBegin[] = "BEGIN:VCALENDAR";
    const size_t k = sizeof kBegin - 1;
    if (n - i < k) return false;
    for (size_t j = 0; j < k; ++j) {
        char c = text[i + j];
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        if (c != kBegin[j]) return false;
    }
    return true;
}

FeedRefresh feed_refresh(HttpClient* http, FeedCacheEntry* e, int64_t now) {
    e->checked = now;
    HttpRequest req;
    if (!dav_url_parse(e->url.c_str(), &req.url)) return failed(e, NetError::kAddress, 0);
    req.method = "GET";
    req.max_body = kFeedMaxBytes;
    req.follow_redirects = true;
    req.headers.push_back({"Accept", "text/calendar, */*;q=0.5"});
    if (!e->body.empty()) {
        if (!e->etag.empty()) req.headers.push_back({"If-None-Match", e->etag});
        if (!e->last_modified.empty()) req.headers.push_back({"If-Modified-Since", e->last_modified});
    }
    HttpResponse res;
    const NetError err = http->send(req, &res);
    if (err != NetError::kNone) return failed(e, err, 0);
    if (res.status == 304 && !e->body.empty()) {
        const bool changed = e->error != NetError::kNone;
        e->error = NetError::kNone;
        e->status = 304;
        return {FeedOutcome::kUnchanged, changed};
    }
    if (res.status < 200 || res.status > 299) return failed(e, net_error_of_status(res.status), res.status);
    if (!feed_looks_like_calendar(res.body.data(), res.body.size()))
        return failed(e, NetError::kNotCalendar, res.status);
    const bool changed = e->error != NetError::kNone;
    e->error = NetError::kNone;
    e->status = res.status;
    e->etag = res.etag;
    e->last_modified = res.last_modified;
    e->body = std::move(res.body);
    e->fetched = now;
    return {FeedOutcome::kNew, changed};
}
