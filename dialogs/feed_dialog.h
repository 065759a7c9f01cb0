// Rules of the subscriptions dialog: what the address field reads as, what a row of the list
// shows, what an addition or a change does to the list and when its buttons are enabled. The
// dialog procedure only puts these into its controls.
#pragma once

#include <string>
#include <vector>

#include "schedule/dav_http.h"
#include "schedule/feed_cache.h"
#include "schedule/feed_list.h"

enum class FeedUrlCheck { kOk, kEmpty, kBad };

// The address as typed: blanks around it dropped, http, https, webcal or webcals (any case);
// a webcal address is read as https. *url gets the address to keep.
FeedUrlCheck feed_url_check(const std::string& text, std::string* url);

enum class FeedEditError { kNone, kUrlEmpty, kUrlBad, kDuplicate, kFull, kNameLong };

// Adds (index -1) or changes (index of the list) a subscription from the fields; the list is
// left as it was on an error. An address another row has already is a duplicate.
FeedEditError feed_edit(std::vector<FeedSubscription>* feeds, int index, const std::string& url_text,
                        const std::string& name, bool on);
// The message of an error (nullptr for kNone).
const char* feed_edit_message(FeedEditError e);

// A local time to the minute.
struct FeedLocalTime {
    int year, month, day, hour, minute;
};
// Seconds since 1970 (UTC) as local time; false when there is none to give.
typedef bool (*FeedToLocal)(int64_t utc, FeedLocalTime* out);

// A feed's last fetch in words, from its entry of the cache file (nullptr none): the time
// the copy was last fetched or found unchanged after a good try; after a failed one the
// failure's reason, with the time of the copy still shown when there is one; "未取得"
// before any try.
std::string feed_state_text(const FeedCacheEntry* entry, FeedToLocal to_local);

constexpr int kFeedColumnCount = 4;
struct FeedRowTexts {
    std::string texts[kFeedColumnCount];  // on or off, the name shown, the last fetch, the address
};
// cache: the cache file's entries, found by address (nullptr: none read).
FeedRowTexts feed_row_texts(const FeedSubscription& feed, const FeedCache* cache = nullptr,
                            FeedToLocal to_local = nullptr);

struct FeedButtons {
    bool add, change, remove;
};
// count rows, selected the selected one (-1 none).
FeedButtons feed_buttons(int count, int selected);

// The words of a feed's failed refresh: its name, the reason, and whether the last good
// copy still shows.
std::string feed_failure_text(const std::string& name, NetError error, bool has_copy);
