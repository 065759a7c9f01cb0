// The user's calendar subscriptions (read-only feeds): address, name and whether it is on,
// kept in the settings file's section [Subscription] as "feed01=1|<url>|<name>" and so on.
#pragma once

#include <string>
#include <vector>

class ProfileFile;

constexpr int kFeedMaxCount = 32;
constexpr size_t kFeedMaxName = 80;  // bytes of a name, code page 932

struct FeedSubscription {
    std::string url;   // as the user gave it (http, https, webcal, webcals)
    std::string name;  // code page 932
    bool on = true;
};

extern const char kFeedSection[];

// The list from the settings file, in file order; values that do not read are left out.
std::vector<FeedSubscription> feed_list_read(const ProfileFile& profile);
// Replaces the section by the list (at most kFeedMaxCount, in order).
void feed_list_write(ProfileFile* profile, const std::vector<FeedSubscription>& feeds);

// One stored value and back.
std::string feed_value(const FeedSubscription& feed);
bool feed_parse_value(const std::string& value, FeedSubscription* out);
