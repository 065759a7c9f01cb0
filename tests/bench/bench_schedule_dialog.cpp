// The schedule dialog's Add with a nearly full list against a short one: every Add sorts the
// list and rebuilds the whole list view. Prints the best of several runs for each size and
// their ratio, and the opening time (first fill) as well. Then the recent schedule dialog's
// opening (60 days from today, its list filled, up to its first idle moment, and closed):
// without entries, with 500 one-off entries of past years (no row of theirs in the days), with
// 500 one-off entries spread over the 60 days (a list longer than the view, as the repeating
// ones make it), with one daily entry and with 500 that all repeat; the median and the best
// of the runs, the kinds taken in turn so that the machine's load falls on all alike.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "calendar/date.h"

#include "dialogs/recent_schedule_win.h"
#include "dialogs/schedule_dialog_win.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_timer.h"
#include "tests/host/test_records.h"

namespace {

double add_ms = 0;
bool done = false;

BOOL CALLBACK find_dialog(HWND hwnd, LPARAM out) {
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (done) return;
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dlg));
    if (!dlg) return;
    done = true;
    SetDlgItemTextA(dlg, IDC_SCHED_MEMO, "新しい予定");
    const double t0 = now_ms();
    SendMessageA(dlg, WM_COMMAND, IDC_SCHED_ADD, 0);
    add_ms = now_ms() - t0;
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

// One opening and one Add with n entries before it; the opening time ends when the dialog
// first runs its message loop.
void run(int n, double* open, double* add) {
    fill_bench_entries(&schedule, n);
    done = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, on_timer);
    const double t0 = now_ms();
    // The first timer message comes once the dialog is up and idle.
    schedule_dialog(nullptr, ScheduleOpening{2030, 6, 1}, &schedule, nullptr);
    KillTimer(nullptr, timer);
    *open = now_ms() - t0 - add_ms;
    *add = add_ms;
    if (schedule.count != n + 1) std::printf("  (the Add did not happen: %d entries)\n", schedule.count);
}

void CALLBACK close_when_up(HWND, UINT, UINT_PTR, DWORD) {
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dlg));
    if (dlg) PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

// The lists the recent schedule dialog is timed over.
enum class RecentKind { kNone, kOneOffPast, kOneOffInDays, kOneDaily, kRepeating, kCount };
const char* const kRecentKindNames[] = {"no entries", "500 one-off, past years", "500 one-off in the days",
                                        "1 daily entry", "500 repeating"};

void fill_recent_kind(RecentKind kind) {
    switch (kind) {
    case RecentKind::kNone:
        schedule.count = 0;
        break;
    case RecentKind::kOneOffPast:
        fill_bench_entries(&schedule, kMaxEntries);
        break;
    case RecentKind::kOneOffInDays: {
        fill_bench_entries(&schedule, kMaxEntries);
        int ty, tm, td;
        get_today(&ty, &tm, &td);
        const long long t0 = civil_day_number(ty, tm, td);
        for (int i = 0; i < kMaxEntries; ++i) {
            const CalendarDate d = civil_date_of(t0 + i % 61);
            schedule.entries[i].year = d.year;
            schedule.entries[i].month = d.month;
            schedule.entries[i].day = d.day;
        }
        break;
    }
    case RecentKind::kOneDaily:
        fill_bench_repeating_entries(&schedule, 1);  // the first is daily
        break;
    default:
        fill_bench_repeating_entries(&schedule, kMaxEntries);
        break;
    }
}

// The recent schedule dialog opened over the list and closed at its first idle moment.
double recent_open_ms(RecentKind kind) {
    fill_recent_kind(kind);
    int boot = 0, width = 60;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, close_when_up);
    const double t0 = now_ms();
    recent_schedule_dialog(nullptr, schedule, &boot, &width, 1);
    const double ms = now_ms() - t0;
    KillTimer(nullptr, timer);
    return ms;
}

}  // namespace

int main() {
    const int sizes[2] = {10, kMaxEntries - 1};
    double best_add[2] = {1e9, 1e9}, best_open[2] = {1e9, 1e9};
    for (int k = 0; k < 2; ++k) {
        for (int r = 0; r < 7; ++r) {
            double open = 0, add = 0;
            run(sizes[k], &open, &add);
            if (add < best_add[k]) best_add[k] = add;
            if (open < best_open[k]) best_open[k] = open;
        }
        std::printf("schedule dialog, %3d entries: Add %.2f ms (sort and full refill), "
                    "open and close %.2f ms\n",
                    sizes[k], best_add[k], best_open[k]);
    }
    std::printf("Add ratio %d/%d entries: %.1f\n", sizes[1], sizes[0], best_add[1] / best_add[0]);
    constexpr int kKinds = static_cast<int>(RecentKind::kCount), kRuns = 9;
    std::vector<double> times[kKinds];
    for (int r = 0; r < kRuns; ++r)
        for (int k = 0; k < kKinds; ++k) times[k].push_back(recent_open_ms(static_cast<RecentKind>(k)));
    std::printf("recent schedule, 60 days, open and close (%d runs):\n", kRuns);
    for (int k = 0; k < kKinds; ++k) {
        std::sort(times[k].begin(), times[k].end());
        std::printf("  %-26s median %6.2f ms  best %6.2f ms\n", kRecentKindNames[k], times[k][kRuns / 2],
                    times[k][0]);
    }
    return 0;
}
