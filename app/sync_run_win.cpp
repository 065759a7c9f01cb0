#include "app/sync_run_win.h"

#include <memory>
#include <new>
#include <string>

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/fileio.h"
#include "config/profile.h"
#include "config/sync_settings.h"
#include "dialogs/message_box_win.h"
#include "dialogs/sync_dialog_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/credentials_win.h"
#include "schedule/dav_xml_win.h"
#include "schedule/http_client_win.h"
#include "schedule/ical_platform_win.h"
#include "schedule/storage.h"
#include "schedule/sync_entry.h"
#include "schedule/sync_list.h"
#include "schedule/sync_notice.h"
#include "schedule/worker_task_win.h"

// What one sync hands its worker and gets back; shared with the thread, which may outlive
// the window when it does not stop in time at exit.
struct SyncWork {
    HttpClientSettings http;
    SyncListCopy copy;
    SyncJob job;
    SyncOutcome out;
};

struct SyncRun {
    SyncSettings settings;
    WorkerTask* task = nullptr;         // the sync under way
    std::shared_ptr<SyncWork> work;     // its work, and after it the outcome not yet applied
    bool outcome_waiting = false;       // the outcome waits for the list to be free
    bool start_waiting = false;         // a sync asked for while the list was not free
    SyncTold told;
};

namespace {

constexpr DWORD kHeldRetryMs = 1000;
constexpr DWORD kExitWaitMs = 3000;  // a sync under way at exit: stopped and waited for this long

// The journal beside the settings file: its name with ".sync" for its extension.
std::string journal_path() {
    std::string path = profile_path() ? profile_path() : "";
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.resize(dot);
    return path + ".sync";
}

// The schedule dialog and an import edit the list in place, and a modal dialog over the
// window may be showing it: the outcome of a sync waits until none is open.
bool list_busy(const MainState& s, HWND hwnd) {
    return s.schedule_dialog_open || s.ical_chooser_open || !IsWindowEnabled(hwnd);
}

bool save_list(void* context) {
    MainState& s = *static_cast<MainState*>(context);
    return schedule_save(*s.settings, s.schedule);
}

void set_timer(MainState& s, HWND hwnd) {
    const SyncSettings& a = s.sync->settings;
    if (sync_automatic(a))
        SetTimer(hwnd, kSyncTimer, static_cast<UINT>(a.interval) * 60u * 1000u, nullptr);
    else
        KillTimer(hwnd, kSyncTimer);
}

bool start(MainState& s, HWND hwnd) {
    SyncRun& r = *s.sync;
    if (r.task || r.outcome_waiting || !sync_account_set(r.settings)) return false;
    // The copy is taken from the list as no dialog is editing it: until then the sync waits.
    if (list_busy(s, hwnd)) {
        r.start_waiting = true;
        SetTimer(hwnd, kSyncHeldTimer, kHeldRetryMs, nullptr);
        return false;
    }
    r.start_waiting = false;
    std::shared_ptr<SyncWork> w(new (std::nothrow) SyncWork());
    if (!w) return false;
    const std::string address = r.settings.address;
    credential_load(credential_target(address), &w->http.user, &w->http.password);
    w->http.plain_confirmed = r.settings.plain_confirmed != 0;
    w->copy = sync_list_copy(*s.schedule);
    sync_journal_load(fileio_win(), journal_path().c_str(), &w->job.journal);
    w->job.xml = xml_parser_win();
    w->job.account.url = address;
    w->job.account.plain_confirmed = w->http.plain_confirmed;
    w->job.canon = sync_entry_canon_of(ical_platform_win());
    // The entries' texts are made on the worker, from the copy.
    r.task = worker_task_start(hwnd, kSyncDone, [w](const CancelFlag& cancel) {
        w->http.cancel = &cancel;
        WinHttpClient http(w->http);
        SecureZeroMemory(&w->http.password[0], w->http.password.size() * sizeof(wchar_t));
        w->job.http = &http;
        w->job.cancel = &cancel;
        w->job.snapshot = sync_list_snapshot(w->copy, ical_platform_win(), ical_now_utc_win());
        sync_exchange(w->job, &w->out);
        w->job.http = nullptr;
    });
    if (!r.task) return false;
    r.work = w;
    sync_show_menu_state(s);
    return true;
}

void show_success_in_tip(MainState& s, HWND hwnd) {
    int y, mo, d, h, mi, sec;
    get_today(&y, &mo, &d);
    get_now_time(&h, &mi, &sec);
    char line[64];
    sync_tip_line(line, sizeof line, mo, d, h, mi);
    tray_set_second_line(line);
    tray_show_today(hwnd, *s.settings);
}

// The outcome into the list, the list and the journal saved; quiet at exit.
void apply_outcome(MainState& s, HWND hwnd, bool quiet) {
    SyncRun& r = *s.sync;
    KillTimer(hwnd, kSyncHeldTimer);
    r.outcome_waiting = false;
    std::shared_ptr<SyncWork> w = std::move(r.work);
    if (!w) return;
    ScheduleListStore store(s.schedule, ical_platform_win(), save_list, &s);
    const bool saved = sync_finish(&store, &w->out, fileio_win(), journal_path().c_str());
    if (quiet) return;
    if (store.applied() > 0) repaint(s, hwnd, ViewEvent::kEntriesChanged);
    if (w->out.error == NetError::kNone) show_success_in_tip(s, hwnd);
    sync_show_menu_state(s);
    if (!saved) report_save_result(hwnd, false);
    const std::string text =
        sync_notice(w->out.error, w->out.status, w->out.counts, kMaxEntries, &r.told);
    if (!text.empty())
        message_box(hwnd, text.c_str(), kProgramName,
                    MB_OK | (w->out.error == NetError::kNone ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

void apply_when_free(MainState& s, HWND hwnd) {
    if (list_busy(s, hwnd)) {
        SetTimer(hwnd, kSyncHeldTimer, kHeldRetryMs, nullptr);
        return;
    }
    apply_outcome(s, hwnd, false);
}

}  // namespace

bool sync_create(MainState& s) {
    s.sync = new (std::nothrow) SyncRun();
    if (!s.sync) return false;
    sync_settings_load(&s.sync->settings);
    return true;
}

void sync_window_shown(MainState& s, HWND hwnd) {
    if (!s.sync) return;
    set_timer(s, hwnd);
    if (sync_automatic(s.sync->settings)) start(s, hwnd);
}

void sync_now(MainState& s, HWND hwnd) {
    if (s.sync) start(s, hwnd);
}

void sync_settings_command(MainState& s, HWND hwnd) {
    if (!s.sync) return;
    SyncSettings edited = s.sync->settings;
    if (!sync_settings_dialog(hwnd, &edited)) return;
    // Another calendar or another server: what was told of the old one no longer holds.
    s.sync->told = SyncTold();
    s.sync->settings = edited;
    sync_settings_put(edited);
    report_save_result(hwnd, profile_flush());
    set_timer(s, hwnd);
    sync_show_menu_state(s);
    // A new account syncing by itself begins at once, not an interval later.
    if (sync_automatic(edited)) start(s, hwnd);
}

LRESULT on_sync_done(MainState& s, HWND hwnd, LPARAM task) {
    SyncRun* r = s.sync;
    if (!r || !r->task || reinterpret_cast<WorkerTask*>(task) != r->task) return 0;
    worker_task_finish(r->task);
    r->task = nullptr;
    r->outcome_waiting = true;
    apply_when_free(s, hwnd);
    return 0;
}

bool on_sync_timer(MainState& s, HWND hwnd, WPARAM id) {
    if (id == kSyncTimer) {
        if (s.sync && sync_automatic(s.sync->settings)) start(s, hwnd);
        return true;
    }
    if (id == kSyncHeldTimer) {
        KillTimer(hwnd, kSyncHeldTimer);  // set again by what still waits
        if (s.sync && s.sync->outcome_waiting) apply_when_free(s, hwnd);
        else if (s.sync && s.sync->start_waiting) start(s, hwnd);
        return true;
    }
    return false;
}

void sync_destroy(MainState& s, HWND hwnd) {
    SyncRun* r = s.sync;
    if (!r) return;
    KillTimer(hwnd, kSyncTimer);
    KillTimer(hwnd, kSyncHeldTimer);
    if (r->task) {
        worker_task_cancel(r->task);
        // Stopped in time, what the server got goes into the journal; otherwise the thread
        // keeps its work to itself and the next sync finds the server's side as it is.
        if (worker_task_finish(r->task, kExitWaitMs)) r->outcome_waiting = true;
        else r->work.reset();
        r->task = nullptr;
    }
    if (r->outcome_waiting) apply_outcome(s, hwnd, true);
    delete r;
    s.sync = nullptr;
}

void sync_add_menu_items(HMENU menu) {
    if (!menu) return;
    // 同期の設定 under the iCalendar commands in the settings submenu.
    for (int p = 0, n = GetMenuItemCount(menu); p < n; ++p) {
        HMENU sub = GetSubMenu(menu, p);
        const int count = sub ? GetMenuItemCount(sub) : -1;
        for (int i = 0; i < count; ++i)
            if (GetMenuItemID(sub, i) == CMD_ICS_IMPORT) {
                InsertMenuA(sub, i + 1, MF_BYPOSITION | MF_STRING, CMD_SYNC_SETTINGS, kMenuSyncSettings);
                p = n;
                break;
            }
    }
    // 今すぐ同期 beside 表示月リセット, where the menu's everyday commands are.
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        if (GetMenuItemID(menu, i) == CMD_RESET_MONTH) {
            InsertMenuA(menu, i + 1, MF_BYPOSITION | MF_STRING, CMD_SYNC_NOW, kMenuSyncNow);
            return;
        }
}

void sync_show_menu_state(const MainState& s) {
    HMENU menu = s.main_menu.get();
    if (!menu) return;
    const bool can = s.sync && !s.sync->task && !s.sync->outcome_waiting && sync_account_set(s.sync->settings);
    EnableMenuItem(menu, CMD_SYNC_NOW, MF_BYCOMMAND | (can ? MF_ENABLED : MF_GRAYED));
}
