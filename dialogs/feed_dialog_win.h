// The subscriptions dialog (IDD_FEEDS): the subscribed calendars, added, changed and removed
// from its fields. Edits a copy; OK hands it back.
#pragma once

#include <windows.h>

#include <vector>

#include "schedule/feed_list.h"

// Modal over owner. True, with *feeds replaced by the edited list, when closed with OK.
bool feed_dialog(HWND owner, std::vector<FeedSubscription>* feeds);
