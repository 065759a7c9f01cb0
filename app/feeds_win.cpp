#include "app/feeds_win.h"

#include <memory>
#include <string>
#include <vector>

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "config/fileio.h"
#include "config/profile.h"
#include "dialogs/feed_dialog.h"
#include "dialogs/feed_dialog_win.h"
#include "dialogs/message_box_win.h"
#include "resources/texts.h"
#include "schedule/feed_fetch.h"
#include "schedule/http_client_win.h"
#include "schedule/ical_platform_win.h"
#include "schedule/worker_task_win.h"

// One run of the worker: what it is handed, and what it gives back. Only the worker touches
// it until its message arrives.
struct FeedRun {
    bool fetch = false;                       // refresh from the network, else the cache only
    std::vector<FeedSubscription> feeds;
    std::string cache_path;
    FeedEntries entries;
    std::vector<std::string> notices;         // failures to tell, each once
};

namespace {

int64_t now_seconds() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const uint64_t t = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<int64_t>(t / 10000000ull) - 11644473600ll;
}

// On the worker thread: the cache read, each feed that is on refreshed (when asked) and the
// cache written back, then the events read from the copies.
void run_feeds(FeedRun* run, const CancelFlag& cancel) {
    FeedCache cache;
    feed_cache_load(fileio_win(), run->cache_path.c_str(), &cache);
    if (run->fetch) {
        std::vector<std::string> urls;
        for (const FeedSubscription& f : run->feeds) urls.push_back(f.url);
        feed_cache_keep(&cache, urls);
        HttpClientSettings settings;
        settings.cancel = &cancel;
        WinHttpClient http(settings);
        for (const FeedSubscription& f : run->feeds) {
            if (!f.on) continue;
            if (cancel.load()) return;  // the window is closing: nothing is kept or shown
            FeedCacheEntry* e = feed_cache_entry(&cache, f.url);
            const FeedRefresh r = feed_refresh(&http, e, now_seconds());
            if (r.outcome == FeedOutcome::kFailed && e->error == NetError::kCancelled) return;
            if (r.outcome == FeedOutcome::kFailed && r.error_changed)
                run->notices.push_back(feed_failure_text(feed_shown_name(f), e->error, !e->body.empty()));
        }
        feed_cache_save(fileio_win(), run->cache_path.c_str(), cache);
    }
    feed_entries_build(run->feeds, cache, ical_platform_win(), &run->entries);
}

// Without subscriptions and with nothing shown there is nothing to do: no thread, no file.
void start_run(MainState& s, HWND hwnd, bool fetch) {
    std::vector<FeedSubscription> feeds = feed_list_read(profile_document());
    if (feeds.empty() && s.feed_entries.entries.empty()) return;
    auto run = std::make_shared<FeedRun>();
    run->fetch = fetch;
    run->feeds = std::move(feeds);
    run->cache_path = feed_cache_path(profile_path());
    WorkerTask* task = worker_task_start(hwnd, kFeedsDone, [run](const CancelFlag& c) { run_feeds(run.get(), c); });
    if (!task) return;
    s.feed_task = task;
    s.feed_run = run;
}

}  // namespace

void feeds_open(MainState& s, HWND hwnd) { start_run(s, hwnd, false); }

void feeds_start(MainState& s, HWND hwnd) {
    if (s.feed_timer) return;
    s.feed_timer = SetTimer(hwnd, kFeedTimer, kFeedRefreshMs, nullptr) != 0;
    feeds_refresh(s, hwnd);
}

void feeds_refresh(MainState& s, HWND hwnd) {
    if (s.feed_task) {
        s.feed_again = true;
        return;
    }
    start_run(s, hwnd, true);
}

LRESULT on_feeds_done(MainState& s, HWND hwnd, LPARAM lp) {
    WorkerTask* task = reinterpret_cast<WorkerTask*>(lp);
    if (!task || task != s.feed_task) return 0;  // a run given up earlier
    worker_task_finish(task);
    s.feed_task = nullptr;
    std::shared_ptr<FeedRun> run = std::move(s.feed_run);
    const uint32_t generation = s.feed_entries.generation;
    s.feed_entries.entries.swap(run->entries.entries);
    s.feed_entries.feed_of.swap(run->entries.feed_of);
    s.feed_entries.names.swap(run->entries.names);
    s.feed_entries.generation = generation + 1;
    repaint(s, hwnd, ViewEvent::kEntriesChanged);
    // The next run first, so that a notice waiting for its OK holds nothing back.
    if (s.feed_again) {
        s.feed_again = false;
        start_run(s, hwnd, true);
    }
    for (const std::string& text : run->notices) message_box(hwnd, text.c_str(), kProgramName, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void subscriptions_command(MainState& s, HWND hwnd) {
    std::vector<FeedSubscription> feeds = feed_list_read(profile_document());
    if (!feed_dialog(hwnd, &feeds)) return;
    const bool saved = profile_flush_edited([&feeds](ProfileFile* p) { feed_list_write(p, feeds); });
    report_save_result(hwnd, saved);
    feeds_refresh(s, hwnd);
}

void feeds_close(MainState& s, HWND hwnd) {
    if (s.feed_timer) KillTimer(hwnd, kFeedTimer);
    s.feed_timer = false;
    if (!s.feed_task) return;
    worker_task_cancel(s.feed_task);
    worker_task_finish(s.feed_task, 2000);  // left to its thread when it takes longer
    s.feed_task = nullptr;
    s.feed_run.reset();
}
