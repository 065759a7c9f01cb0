// Rules of the subscriptions dialog: what the address field reads as, what a row of the list
// shows, what an addition or a change does to the list and when its buttons are enabled. The
// dialog procedure only puts these into its controls.
#pragma once

#include <string>
#include <vector>

#include "schedule/dav_http.h"
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

constexpr int kFeedColumnCount = 3;
struct FeedRowTexts {
    std::string texts[kFeedColumnCount];  // on or off, the name shown, the address
};
FeedRowTexts feed_row_texts(const FeedSubscription& feed);

struct FeedButtons {
    bool add, change, remove;
};
// count rows, selected the selected one (-1 none).
FeedButtons feed_buttons(int count, int selected);

// The words of a feed's failed refresh: its name, the reason, and whether the last good
// copy still shows.
std::string feed_failure_text(const std::string& name, NetError error, bool has_copy);
