// The last good copy of every subscribed feed, in a file of its own beside the settings file,
// so that subscribed events show at start without the network: per feed its address, the
// validators of the copy (ETag, Last-Modified), when it was fetched and last tried, the
// failure of the last try, and the calendar text. Written whole through a temporary file
// and a replace.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "schedule/dav_http.h"

class FileIO;

constexpr size_t kFeedMaxBytes = 8u << 20;  // one feed's calendar text
constexpr size_t kFeedCacheMaxBytes = 64u << 20;

struct FeedCacheEntry {
    std::string url;  // the subscription's address as given: the key
    std::string etag, last_modified;
    int64_t fetched = 0;  // seconds since 1970 (UTC) of the copy; 0 none
    int64_t checked = 0;  // of the last try
    NetError error = NetError::kNone;  // of the last try
    int status = 0;                    // its HTTP status, when there was one
    std::string body;                  // the calendar text ("" none)
};

struct FeedCache {
    std::vector<FeedCacheEntry> entries;
};

// The entry of url, made when missing.
FeedCacheEntry* feed_cache_entry(FeedCache* cache, const std::string& url);
// Drops the entries of addresses no longer subscribed.
void feed_cache_keep(FeedCache* cache, const std::vector<std::string>& urls);

std::string feed_cache_text(const FeedCache& cache);
// False, with an empty cache, for any text this program did not write whole.
bool feed_cache_parse(const char* data, size_t n, FeedCache* out);
bool feed_cache_load(FileIO* io, const char* path, FeedCache* out);
bool feed_cache_save(FileIO* io, const char* path, const FeedCache& cache);
