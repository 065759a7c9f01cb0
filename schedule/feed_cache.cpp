#include "schedule/feed_cache.h"

#include <algorithm>

#include "config/fileio.h"
#include "schedule/dav_url.h"
#include "schedule/feed_list.h"
#include "schedule/stored_fields.h"

namespace {

const char kCacheMagic[] = "ZelmarFeedCache\t1";
constexpr size_t kCacheMaxField = kDavMaxUrl * 2;
constexpr uint64_t kMaxTime = 1ull << 40;

bool read_entry(StoredReader* r, const std::vector<std::string>& f, FeedCacheEntry* e) {
    uint64_t fetched, checked, error, status, length;
    if (f[0] != "feed" || f[1].empty()) return false;
    if (!stored_parse_decimal(f[4], kMaxTime, &fetched) ||
        !stored_parse_decimal(f[5], kMaxTime, &checked) ||
        !stored_parse_decimal(f[6], (uint64_t)NetError::kCancelled, &error) ||
        !stored_parse_decimal(f[7], 999, &status) ||
        !stored_parse_decimal(f[8], kFeedMaxBytes, &length))
        return false;
    e->url = f[1];
    e->etag = f[2];
    e->last_modified = f[3];
    e->fetched = (int64_t)fetched;
    e->checked = (int64_t)checked;
    e->error = (NetError)error;
    e->status = (int)status;
    return stored_block(r, (size_t)length, &e->body);
}

bool read_cache(StoredReader* r, FeedCache* c) {
    const char* s;
    size_t n;
    if (!stored_line(r, &s, &n) || std::string(s, n) != kCacheMagic) return false;
    std::vector<std::string> f;
    for (;;) {
        StoredReader at = *r;
        if (stored_fields(r, 2, kCacheMaxField, &f) && f[0] == "end") {
            uint64_t count;
            return stored_parse_decimal(f[1], (uint64_t)kFeedMaxCount, &count) &&
                   count == c->entries.size() && r->p == r->end;
        }
        *r = at;
        if (c->entries.size() >= (size_t)kFeedMaxCount) return false;
        FeedCacheEntry e;
        if (!stored_fields(r, 9, kCacheMaxField, &f) || !read_entry(r, f, &e)) return false;
        c->entries.push_back(std::move(e));
    }
}

}  // namespace

FeedCacheEntry* feed_cache_entry(FeedCache* cache, const std::string& url) {
    for (FeedCacheEntry& e : cache->entries)
        if (e.url == url) return &e;
    cache->entries.emplace_back();
    cache->entries.back().url = url;
    return &cache->entries.back();
}

void feed_cache_keep(FeedCache* cache, const std::vector<std::string>& urls) {
    auto& v = cache->entries;
    v.erase(std::remove_if(v.begin(), v.end(),
                           [&](const FeedCacheEntry& e) {
                               return std::find(urls.begin(), urls.end(), e.url) == urls.end();
                           }),
            v.end());
}

std::string feed_cache_text(const FeedCache& cache) {
    std::string s = std::string(kCacheMagic) + "\n";
    const size_t count = std::min(cache.entries.size(), (size_t)kFeedMaxCount);
    for (size_t i = 0; i < count; ++i) {
        const FeedCacheEntry& e = cache.entries[i];
        s += "feed\t" + stored_escape(e.url) + "\t" + stored_escape(e.etag) + "\t" +
             stored_escape(e.last_modified) + "\t" + std::to_string(e.fetched) + "\t" +
             std::to_string(e.checked) + "\t" + std::to_string((int)e.error) + "\t" +
             std::to_string(e.status) + "\t" + std::to_string(e.body.size()) + "\n";
        s += e.body + "\n";
    }
    s += "end\t" + std::to_string(count) + "\n";
    return s;
}

bool feed_cache_parse(const char* data, size_t n, FeedCache* out) {
    *out = FeedCache();
    StoredReader r = {data, data + n};
    if (n > kFeedCacheMaxBytes || !read_cache(&r, out)) {
        *out = FeedCache();
        return false;
    }
    return true;
}

bool feed_cache_load(FileIO* io, const char* path, FeedCache* out) {
    *out = FeedCache();
    std::string data;
    return stored_file_read(io, path, kFeedCacheMaxBytes, &data) &&
           feed_cache_parse(data.data(), data.size(), out);
}

bool feed_cache_save(FileIO* io, const char* path, const FeedCache& cache) {
    const std::string text = feed_cache_text(cache);
    return io->write_atomic(path, text.data(), text.size());
}
