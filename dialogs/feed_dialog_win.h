// The subscriptions dialog (IDD_FEEDS): the subscribed calendars with their last fetch,
// added, changed and removed from its fields. Edits a copy; OK hands it back.
#pragma once

#include <windows.h>

#include <vector>

#include "schedule/feed_cache.h"
#include "schedule/feed_list.h"

// Modal over owner. True, with *feeds replaced by the edited list, when closed with OK.
// cache: the cache file's entries, whose last fetch each row shows (nullptr none read).
bool feed_dialog(HWND owner, std::vector<FeedSubscription>* feeds, const FeedCache* cache = nullptr);
