// The subscribed calendars in the running program: their events read from the cache file at
// start, refreshed after the window shows and every hour on a worker thread (the window, its
// dialogs and its alarms never wait for the network), the subscriptions dialog, and the
// notice of a feed that could not be refreshed, given once until its failure changes.
#pragma once

#include <windows.h>

struct MainState;

constexpr UINT kFeedRefreshMs = 60 * 60 * 1000;

// At creation: the cached copies read on the worker, without the network.
void feeds_open(MainState& s, HWND hwnd);
// Once the window shows: the first refresh, and the hourly timer.
void feeds_start(MainState& s, HWND hwnd);
// A refresh now, or as soon as the one under way ends.
void feeds_refresh(MainState& s, HWND hwnd);
// kFeedsDone: the new events shown, failures told.
LRESULT on_feeds_done(MainState& s, HWND hwnd, LPARAM task);
// The subscriptions dialog; an OK stores the list and refreshes.
void subscriptions_command(MainState& s, HWND hwnd);
// At destruction: the work under way asked to stop; it is not waited for long.
void feeds_close(MainState& s, HWND hwnd);
