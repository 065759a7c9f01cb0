#include "schedule/feed_list.h"

#include <stdio.h>

#include "config/profile_file.h"
#include "schedule/dav_url.h"
#include "schedule/stored_fields.h"

const char kFeedSection[] = "Subscription";

std::string feed_value(const FeedSubscription& feed) {
    return std::string(feed.on ? "1" : "0") + "|" + stored_escape(feed.url, '|') + "|" +
           stored_escape(feed.name, '|');
}

bool feed_parse_value(const std::string& value, FeedSubscription* out) {
    const size_t a = value.find('|');
    const size_t b = a == std::string::npos ? a : value.find('|', a + 1);
    if (b == std::string::npos || value.find('|', b + 1) != std::string::npos) return false;
    const std::string on = value.substr(0, a);
    if (on != "0" && on != "1") return false;
    FeedSubscription f;
    f.on = on == "1";
    if (!stored_unescape(value.data() + a + 1, b - a - 1, kDavMaxUrl, &f.url) ||
        !stored_unescape(value.data() + b + 1, value.size() - b - 1, kFeedMaxName, &f.name))
        return false;
    DavUrl url;
    if (!dav_url_parse(f.url.c_str(), &url)) return false;
    *out = f;
    return true;
}

std::vector<FeedSubscription> feed_list_read(const ProfileFile& profile) {
    std::vector<FeedSubscription> feeds;
    const std::vector<ProfileFile::Line>* lines = profile.lines(kFeedSection);
    if (!lines) return feeds;
    for (const ProfileFile::Line& line : *lines) {
        FeedSubscription f;
        if ((int)feeds.size() >= kFeedMaxCount) break;
        if (line.has_value && feed_parse_value(line.value, &f)) feeds.push_back(f);
    }
    return feeds;
}

void feed_list_write(ProfileFile* profile, const std::vector<FeedSubscription>& feeds) {
    std::vector<ProfileFile::Line> lines;
    for (size_t i = 0; i < feeds.size() && (int)i < kFeedMaxCount; ++i) {
        char key[16];
        snprintf(key, sizeof key, "feed%02d", (int)i + 1);
        lines.push_back({key, ProfileFile::stored_value(feed_value(feeds[i]).c_str()), true});
    }
    profile->set_lines(kFeedSection, lines);
}
