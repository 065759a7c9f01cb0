// A console program that drives the calendar sync engine with a small local list of its own,
// for the tests against a real calendar server and a real web server (tests/dav/test_dav.py
// starts them, runs this program step by step and checks both sides with an independent
// client). Each command prints one line of results.
//
//   dav_tool add|edit <dir> <uid> <YYYY-MM-DD|*-MM-DD> <hh:mm|-> <alarm minutes|-> <memo>
//   dav_tool remove <dir> <uid>
//   dav_tool fill <dir> <count> <uid prefix>        count entries on successive days of 2025
//   dav_tool list <dir>                             one line per item: uid|date|time|alarm|memo
//   dav_tool sync <dir> <calendar url> [room] [--plain-ok]
//   dav_tool discover <address> [--plain-ok]
//   dav_tool password <address> <user> <password> / forget <address>
//   dav_tool feed <dir> <url>                      refresh; feed-show: the cached copy only
//   dav_tool trust|untrust <certificate.der>
//
// The list lives in <dir>\store.txt, the journal in <dir>\sync.journal, the feed cache in
// <dir>\feeds.cache; the password only in the Credential Manager.
#include <windows.h>
#include <psapi.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "config/fileio.h"
#include "schedule/credentials_win.h"
#include "schedule/dav_discovery.h"
#include "schedule/dav_xml_win.h"
#include "schedule/entry.h"
#include "schedule/entry_forms.h"
#include "schedule/feed_cache.h"
#include "schedule/feed_fetch.h"
#include "schedule/http_client_win.h"
#include "schedule/ical_import.h"
#include "schedule/ical_platform_win.h"
#include "schedule/stored_fields.h"
#include "schedule/sync_entry.h"
#include "schedule/worker_task_win.h"

namespace {

constexpr int kDefaultRoom = 500;
constexpr UINT kDoneMessage = WM_APP + 1;

std::wstring wide_of(const char* s) {
    std::wstring w;
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    if (n > 1) {
        w.resize((size_t)n - 1);
        MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
    }
    return w;
}

// The list: entries by UID, with the room of the program's list.
class ToolStore : public SyncStore {
public:
    ToolStore(const std::string& dir, int capacity) : path_(dir + "store.txt"), capacity_(capacity) {}

    std::map<std::string, ScheduleEntry> items;

    bool load() {
        std::string data;
        if (fileio_win()->stamp(path_.c_str()).exists && !fileio_win()->read_all(path_.c_str(), &data))
            return false;
        StoredReader r = {data.data(), data.data() + data.size()};
        std::vector<std::string> f;
        while (r.p < r.end) {
            if (!stored_fields(&r, 11, 4096, &f)) return false;
            ScheduleEntry e;
            entry_blank(&e);
            e.year = std::atoi(f[1].c_str());
            e.month = std::atoi(f[2].c_str());
            e.day = std::atoi(f[3].c_str());
            e.hour = std::atoi(f[4].c_str());
            e.minute = std::atoi(f[5].c_str());
            e.has_time = e.hour >= 0;
            e.minutes_before = std::atoi(f[6].c_str());
            e.alarm_kind = (uint8_t)std::atoi(f[7].c_str());
            e.holiday = (uint8_t)std::atoi(f[8].c_str());
            std::snprintf(e.memo, sizeof e.memo, "%s", f[9].c_str());
            // What it holds beyond those: its stored properties, "name=value" a line each.
            size_t at = 0;
            while (at < f[10].size()) {
                size_t nl = f[10].find('\n', at);
                if (nl == std::string::npos) nl = f[10].size();
                const std::string prop = f[10].substr(at, nl - at);
                const size_t eq = prop.find('=');
                if (eq != std::string::npos) entry_take_prop(prop.substr(0, eq), prop.substr(eq + 1), &e);
                at = nl + 1;
            }
            items[f[0]] = e;
        }
        return true;
    }

    bool commit() override {
        std::string s;
        for (const auto& kv : items) {
            const ScheduleEntry& e = kv.second;
            char buf[160];
            std::snprintf(buf, sizeof buf, "\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t", e.year, e.month, e.day,
                          e.has_time ? e.hour : -1, e.has_time ? e.minute : -1, e.minutes_before,
                          e.alarm_kind, e.holiday);
            std::string props;
            for (const EntryProp& p : entry_props(e, false)) props += p.first + "=" + p.second + "\n";
            s += stored_escape(kv.first) + buf + stored_escape(e.memo) + "\t" + stored_escape(props) + "\n";
        }
        return fileio_win()->write_atomic(path_.c_str(), s.data(), s.size());
    }

    std::string text_of(const std::string& uid, const ScheduleEntry& e) const {
        return sync_entry_text(e, uid, ical_platform_win(), ical_now_utc_win());
    }

    SyncSnapshot snapshot() const {
        SyncSnapshot snap;
        for (const auto& kv : items) {
            const std::string text = text_of(kv.first, kv.second);
            if (!text.empty()) snap.items.push_back({kv.first, text});
        }
        snap.room = capacity_ - (int)items.size();
        return snap;
    }

    SyncApply apply(const SyncChange& c) override {
        auto it = items.find(c.uid);
        if (c.expect_absent ? it != items.end()
                            : it == items.end() ||
                                  sync_version(sync_entry_canon_of(ical_platform_win()),
                                               text_of(it->first, it->second)) != c.expect_hash)
            return SyncApply::kChanged;
        if (c.kind == SyncChangeKind::kRemove) {
            items.erase(it);
            return SyncApply::kApplied;
        }
        ScheduleEntry e;
        if (!sync_entry_read(c.ical, ical_platform_win(), &e)) return SyncApply::kUnreadable;
        if (c.expect_absent && (int)items.size() >= capacity_) return SyncApply::kFull;
        items[c.uid] = e;
        return SyncApply::kApplied;
    }

private:
    std::string path_;
    int capacity_;
};

bool parse_entry(char** a, ScheduleEntry* e) {
    entry_blank(e);
    int y = -1, m = 0, d = 0;
    if (std::sscanf(a[0], "*-%d-%d", &m, &d) != 2 && std::sscanf(a[0], "%d-%d-%d", &y, &m, &d) != 3)
        return false;
    e->year = y;
    e->month = m;
    e->day = d;
    int hh, mm;
    if (std::sscanf(a[1], "%d:%d", &hh, &mm) == 2) {
        e->has_time = 1;
        e->hour = hh;
        e->minute = mm;
    }
    if (std::strcmp(a[2], "-") != 0) {
        e->alarm_kind = (uint8_t)AlarmKind::kWindow;
        e->minutes_before = std::atoi(a[2]);
    }
    std::snprintf(e->memo, sizeof e->memo, "%s", a[3]);
    return true;
}

void print_entry(const std::string& uid, const ScheduleEntry& e) {
    std::printf("%s|", uid.c_str());
    if (e.year == -1) std::printf("*-%02d-%02d|", e.month, e.day);
    else std::printf("%04d-%02d-%02d|", e.year, e.month, e.day);
    if (e.has_time) std::printf("%02d:%02d|", e.hour, e.minute);
    else std::printf("-|");
    if (e.alarm_kind) std::printf("%d|", e.minutes_before);
    else std::printf("-|");
    std::printf("%s|", e.memo);
    // What else it holds, as stored: "rrule=FREQ=WEEKLY;BYDAY=MO end=20250901T1130".
    std::string props;
    for (const EntryProp& p : entry_props(e, false)) props += (props.empty() ? "" : " ") + p.first + "=" + p.second;
    std::printf("%s\n", props.c_str());
}

HttpClientSettings client_settings(const std::string& address, bool plain_ok, const CancelFlag* cancel) {
    HttpClientSettings s;
    credential_load(credential_target(address), &s.user, &s.password);
    s.plain_confirmed = plain_ok;
    s.cancel = cancel;
    return s;
}

// The window the sync reports to, and how long its thread was ever kept from its timer.
struct Waiter {
    WorkerTask* task = nullptr;
    bool done = false;
    ULONGLONG last_tick = 0, max_gap = 0;
};

LRESULT CALLBACK waiter_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Waiter* w = reinterpret_cast<Waiter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_TIMER: {
        const ULONGLONG now = GetTickCount64();
        if (w && w->last_tick && now - w->last_tick > w->max_gap) w->max_gap = now - w->last_tick;
        if (w) w->last_tick = now;
        return 0;
    }
    case kDoneMessage:
        if (w && reinterpret_cast<WorkerTask*>(lp) == w->task) w->done = true;
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// Runs work on the worker while this thread runs its message loop.
ULONGLONG run_on_worker(std::function<void(const CancelFlag&)> work) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = waiter_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZelmarDavToolWaiter";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 0;
    Waiter w;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&w));
    SetTimer(hwnd, 1, 50, nullptr);
    w.task = worker_task_start(hwnd, kDoneMessage, std::move(work));
    if (!w.task) return 0;
    MSG m;
    while (!w.done && GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    worker_task_finish(w.task);
    DestroyWindow(hwnd);
    return w.max_gap;
}

int cmd_sync(const std::string& dir, const std::string& url, int room, bool plain_ok) {
    ToolStore store(dir, room);
    if (!store.load()) return std::printf("sync store unreadable\n"), 1;
    const std::string journal_path = dir + "sync.journal";
    SyncJournal journal;
    sync_journal_load(fileio_win(), journal_path.c_str(), &journal);
    CancelFlag never{false};
    WinHttpClient http(client_settings(url, plain_ok, &never));
    SyncJob job;
    job.http = &http;
    job.xml = xml_parser_win();
    job.account.url = url;
    job.account.plain_confirmed = plain_ok;
    job.canon = sync_entry_canon_of(ical_platform_win());
    job.journal = journal;
    SyncOutcome out;
    const ULONGLONG start = GetTickCount64();
    // The window's thread hands over a copy of the entries; their texts are made on the worker.
    const ToolStore copy = store;
    const ULONGLONG gap = run_on_worker([&job, &out, copy](const CancelFlag& cancel) {
        job.snapshot = copy.snapshot();
        job.cancel = &cancel;
        sync_exchange(job, &out);
    });
    const bool saved = sync_finish(&store, &out, fileio_win(), journal_path.c_str());
    const ULONGLONG ms = GetTickCount64() - start;
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms_of = [](const FILETIME& f) { return ((ULONGLONG)f.dwHighDateTime << 32 | f.dwLowDateTime) / 10000; };
    const SyncCounts& c = out.counts;
    std::printf("sync error=%s status=%d saved=%d server=%d uploaded=%d downloaded=%d deleted_here=%d "
                "deleted_there=%d kept_both=%d not_taken=%d unreadable=%d retry=%d requests=%d "
                "ms=%llu cpu_ms=%llu peak_kb=%llu max_gap_ms=%llu local=%d\n",
                net_error_name(out.error), out.status, saved ? 1 : 0, c.server_items, c.uploaded,
                c.downloaded, c.deleted_here, c.deleted_there, c.kept_both, c.not_taken, c.unreadable,
                c.retry_later, out.requests, ms, ms_of(kernel) + ms_of(user),
                (unsigned long long)(pmc.PeakWorkingSetSize / 1024),
                gap, (int)store.items.size());
    return out.error == NetError::kNone && saved ? 0 : 2;
}

int cmd_discover(const std::string& address, bool plain_ok) {
    CancelFlag never{false};
    WinHttpClient http(client_settings(address, plain_ok, &never));
    DavSession session{&http, xml_parser_win(), DavLimits(), &never, plain_ok};
    DavDiscovery d;
    dav_discover(&session, address, &d);
    std::printf("discover error=%s status=%d calendars=%d requests=%d\n", net_error_name(d.error),
                d.status, (int)d.calendars.size(), session.requests);
    for (const DavCalendar& c : d.calendars) std::printf("calendar %s %s\n", c.url.c_str(), c.name.c_str());
    return d.error == NetError::kNone ? 0 : 2;
}

// Events of a feed's cached copy, as the list would show them.
int feed_events(const FeedCacheEntry& e) {
    std::vector<ScheduleEntry> list(kDefaultRoom);
    int count = 0;
    IcalImportCounts counts = {};
    ical_import(e.body.data(), e.body.size(), ical_platform_win(), list.data(), &count, kDefaultRoom, &counts);
    return count;
}

int cmd_feed_show(const std::string& dir, const std::string& url) {
    FeedCache cache;
    const bool read = feed_cache_load(fileio_win(), (dir + "feeds.cache").c_str(), &cache);
    std::printf("feed-show read=%d events=%d\n", read ? 1 : 0, feed_events(*feed_cache_entry(&cache, url)));
    return read ? 0 : 2;
}

int cmd_feed(const std::string& dir, const std::string& url) {
    const std::string path = dir + "feeds.cache";
    FeedCache cache;
    feed_cache_load(fileio_win(), path.c_str(), &cache);
    CancelFlag never{false};
    HttpClientSettings s;
    s.cancel = &never;
    WinHttpClient http(s);
    FeedCacheEntry* e = feed_cache_entry(&cache, url);
    FeedRefresh r = {};
    run_on_worker([&](const CancelFlag&) {
        FILETIME ft;
        GetSystemTimeAsFileTime(&ft);
        const int64_t now = (int64_t)((((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime) / 10000000ull) -
                            11644473600ll;
        r = feed_refresh(&http, e, now);
    });
    const bool saved = feed_cache_save(fileio_win(), path.c_str(), cache);
    static const char* kOutcome[] = {"new", "unchanged", "failed"};
    std::printf("feed outcome=%s error=%s status=%d bytes=%d told=%d saved=%d events=%d\n",
                kOutcome[(int)r.outcome], net_error_name(e->error), e->status, (int)e->body.size(),
                r.error_changed ? 1 : 0, saved ? 1 : 0, feed_events(*e));
    return 0;
}

bool read_file(const char* path, std::string* out) { return fileio_win()->read_all(path, out); }

int cmd_trust(const char* der_path, bool add) {
    std::string der;
    if (!read_file(der_path, &der)) return std::printf("trust unreadable\n"), 1;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    if (!store) return std::printf("trust no store %lu\n", GetLastError()), 1;
    bool ok;
    if (add) {
        ok = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                              (DWORD)der.size(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
    } else {
        PCCERT_CONTEXT want = CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                           (DWORD)der.size());
        PCCERT_CONTEXT found = want ? CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, want, nullptr)
                                    : nullptr;
        ok = found && CertDeleteCertificateFromStore(found);  // frees found
        if (want) CertFreeCertificateContext(want);
    }
    CertCloseStore(store, 0);
    std::printf("%s %s\n", add ? "trust" : "untrust", ok ? "ok" : "failed");
    return ok ? 0 : 2;
}

int cmd_edit(const std::string& dir, const std::string& cmd, char** a) {
    ToolStore store(dir, kDefaultRoom);
    if (!store.load()) return std::printf("store unreadable\n"), 1;
    const std::string uid = a[0];
    if (cmd == "remove") {
        if (!store.items.erase(uid)) return std::printf("remove missing\n"), 2;
    } else {
        ScheduleEntry e;
        if (!parse_entry(a + 1, &e)) return std::printf("%s bad entry\n", cmd.c_str()), 1;
        if ((cmd == "edit") != (store.items.count(uid) != 0)) return std::printf("%s wrong uid\n", cmd.c_str()), 2;
        store.items[uid] = e;
    }
    const bool ok = store.commit();
    std::printf("%s %s\n", cmd.c_str(), ok ? "ok" : "failed");
    return ok ? 0 : 2;
}

int cmd_fill(const std::string& dir, int count, const std::string& prefix) {
    ToolStore store(dir, 100000);
    if (!store.load()) return 1;
    for (int i = 0; i < count; ++i) {
        ScheduleEntry e;
        entry_blank(&e);
        e.year = 2025 + i / 336;
        e.month = 1 + (i / 28) % 12;
        e.day = 1 + i % 28;
        e.has_time = 1;
        e.hour = 8 + i % 10;
        e.minute = (i * 7) % 60;
        std::snprintf(e.memo, sizeof e.memo, "%s %d", prefix.c_str(), i);
        store.items[prefix + "-" + std::to_string(i)] = e;
    }
    const bool ok = store.commit();
    std::printf("fill %s %d\n", ok ? "ok" : "failed", (int)store.items.size());
    return ok ? 0 : 2;
}

int cmd_list(const std::string& dir) {
    ToolStore store(dir, kDefaultRoom);
    if (!store.load()) return std::printf("list unreadable\n"), 1;
    for (const auto& kv : store.items) print_entry(kv.first, kv.second);
    std::printf("list %d\n", (int)store.items.size());
    return 0;
}

bool has_flag(int argc, char** argv, const char* flag) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], flag) == 0) return true;
    return false;
}

std::string folder(const char* s) {
    std::string d = s;
    if (!d.empty() && d.back() != '\\') d += '\\';
    CreateDirectoryA(d.c_str(), nullptr);
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3) {
        std::printf("usage: dav_tool <command> ...\n");
        return 1;
    }
    const std::string cmd = argv[1];
    const bool plain_ok = has_flag(argc, argv, "--plain-ok");
    if ((cmd == "add" || cmd == "edit") && argc >= 8) return cmd_edit(folder(argv[2]), cmd, argv + 3);
    if (cmd == "remove" && argc >= 4) return cmd_edit(folder(argv[2]), cmd, argv + 3);
    if (cmd == "fill" && argc >= 5) return cmd_fill(folder(argv[2]), std::atoi(argv[3]), argv[4]);
    if (cmd == "list") return cmd_list(folder(argv[2]));
    if (cmd == "sync" && argc >= 4) {
        const int room = argc >= 5 && argv[4][0] != '-' ? std::atoi(argv[4]) : kDefaultRoom;
        return cmd_sync(folder(argv[2]), argv[3], room, plain_ok);
    }
    if (cmd == "discover") return cmd_discover(argv[2], plain_ok);
    if (cmd == "password" && argc >= 5) {
        const bool ok = credential_save(credential_target(argv[2]), wide_of(argv[3]), wide_of(argv[4]));
        std::printf("password %s\n", ok ? "ok" : "failed");
        return ok ? 0 : 2;
    }
    if (cmd == "forget") {
        const bool ok = credential_delete(credential_target(argv[2]));
        std::printf("forget %s\n", ok ? "ok" : "failed");
        return 0;
    }
    if (cmd == "feed" && argc >= 4) return cmd_feed(folder(argv[2]), argv[3]);
    if (cmd == "feed-show" && argc >= 4) return cmd_feed_show(folder(argv[2]), argv[3]);
    if (cmd == "trust" || cmd == "untrust") return cmd_trust(argv[2], cmd == "trust");
    std::printf("unknown command %s\n", cmd.c_str());
    return 1;
}
