// What the schedule costs a paint, a start and the recent list with 500 entries that all
// repeat (daily, weekly with skipped days, monthly by weekday, spanning several days) against
// 500 one-off entries: a month's marks and classification, the rows of the recent list of 60
// days, and the load of the settings file's schedule sections (parsed and read into the
// list). Portable: it runs under Wine beside the other benchmarks and on the host, where
// callgrind counts the instructions of the functions named bench_* (--toggle-collect).
//
// Usage: bench_schedule_days [one-off|repeating classify|anew|recent|load [rounds]]
//        (no arguments: every figure, both lists, in milliseconds)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "calendar/dayclass.h"
#include "config/profile_file.h"
#include "dialogs/schedule_lists.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/schedule_sections.h"
#include "tests/bench/bench_entries.h"

namespace {

constexpr int kYear = 2009, kMonth = 5, kToday = 10, kWidth = 60;

std::vector<RecentRow> g_rows(kMaxRecentRows);
int g_sink = 0;

// The paint's classification of the month, with the marks it keeps with the list.
__attribute__((noinline)) void bench_classify(const ScheduleList& list) {
    DayClass cls[31];
    g_sink += classify_month(kYear, kMonth, schedule_month_marks(list, kYear, kMonth), nullptr, 1, cls);
}

// The same with the marks worked out anew, as after every change of the list.
__attribute__((noinline)) void bench_classify_anew(const ScheduleList& list) {
    DayClass cls[31];
    g_sink += classify_month(kYear, kMonth, month_marks(list.entries, list.count, kYear, kMonth), nullptr, 1, cls);
}

// The recent list of 60 days from the 10th as its dialog opens: every occurrence found, the
// texts of the rows on show (a dozen) made.
std::vector<RecentOccurrence> g_occurrences(kMaxRecentRows);
__attribute__((noinline)) void bench_recent(const ScheduleList& list) {
    const int n = recent_occurrences(list.entries, list.count, kYear, kMonth, kToday, kWidth, g_occurrences.data(),
                                     kMaxRecentRows);
    for (int i = 0; i < n && i < 12; ++i) recent_occurrence_row(list.entries, g_occurrences[static_cast<size_t>(i)], &g_rows[static_cast<size_t>(i)]);
    g_sink += n;
}

// The start's read of the schedule sections from the file's bytes.
__attribute__((noinline)) void bench_load(const std::string& file, ScheduleList* list) {
    ProfileFile doc;
    doc.parse(file.data(), file.size());
    ScheduleKeep keep;
    int count = 0;
    schedule_merge(doc, list->entries, &count, kMaxEntries, &keep);
    g_sink += count;
}

template <class F>
double ms_per_call(int rounds, F f) {
    f();
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) f();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / rounds;
        if (ms < best) best = ms;
    }
    return best;
}

// The lists: 500 repeating entries, or the one-off ones of the other benchmarks (those of
// the paint benchmark for the month, those with times and alarms for the rest).
void fill(ScheduleList* list, bool repeating, bool for_the_month) {
    if (repeating)
        fill_bench_repeating_entries(list, kMaxEntries);
    else if (for_the_month)
        fill_bench_marked_entries(list, kMaxEntries);
    else
        fill_bench_entries(list, kMaxEntries);
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<ScheduleList> list(new ScheduleList), loaded(new ScheduleList);
    if (argc >= 3) {
        const bool repeating = std::strcmp(argv[1], "repeating") == 0;
        const int rounds = argc > 3 ? std::atoi(argv[3]) : 100;
        const bool month = std::strcmp(argv[2], "classify") == 0 || std::strcmp(argv[2], "anew") == 0;
        fill(list.get(), repeating, month);
        const std::string file = bench_schedule_text(*list, repeating);
        for (int i = 0; i < rounds; ++i) {
            if (std::strcmp(argv[2], "classify") == 0) bench_classify(*list);
            else if (std::strcmp(argv[2], "anew") == 0) bench_classify_anew(*list);
            else if (std::strcmp(argv[2], "recent") == 0) bench_recent(*list);
            else bench_load(file, loaded.get());
        }
        std::printf("%s %s x %d (%d)\n", argv[1], argv[2], rounds, g_sink);
        return 0;
    }
    std::printf("schedule days, %d entries, May %d (ms per call, the fastest of five batches)\n", kMaxEntries, kYear);
    for (bool repeating : {false, true}) {
        fill(list.get(), repeating, true);
        const double classify = ms_per_call(2000, [&] { bench_classify(*list); });
        const double anew = ms_per_call(500, [&] { bench_classify_anew(*list); });
        fill(list.get(), repeating, false);
        const std::string file = bench_schedule_text(*list, repeating);
        const double recent = ms_per_call(20, [&] { bench_recent(*list); });
        const double load = ms_per_call(5, [&] { bench_load(file, loaded.get()); });
        const int rows = recent_rows(list->entries, list->count, kYear, kMonth, kToday, kWidth, g_rows.data(), kMaxRecentRows);
        std::printf("  %-10s classify the month %8.4f ms (marks anew %8.4f ms)  recent list of %d days"
                    " (%5d rows) %8.3f ms  load (%zu KB) %8.3f ms\n",
                    repeating ? "repeating" : "one-off", classify, anew, kWidth, rows, recent,
                    file.size() / 1024, load);
    }
    return 0;
}
