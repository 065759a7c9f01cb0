// Saves and loads 500 schedule entries (all with alarms, a third scrambled)
// through the program's storage layer and, as a naive implementation would,
// through the platform profile functions one key at a time; prints both
// times and their ratio.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "config/profile.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "config/scramble.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_timer.h"
#include "tests/host/test_records.h"

namespace {

// The stored form of a value, scrambled like profile_write_string does it.
std::string stored(const char* plain, bool scramble) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, "%s", plain);
    if (scramble) memo_scramble(buf, sizeof buf);
    return buf;
}

void naive_save(const char* path) {
    char key[32], value[400], num[16];
    const char* config[] = {"monthlang", "weeklang", "checkmark", "front", "clock", "method",
                            "ampm", "analog", "second", "iconpos", "titlebar", "cmode",
                            "BackImage", "Transparent", "BackMode", "BackArea", "charset",
                            "weight", "italic", "ToDoBoot", "ToDoWidth", "ToDoTimemes"};
    for (const char* k : config) {
        std::snprintf(num, sizeof num, "%d", 1);
        WritePrivateProfileStringA("Config", k, num, path);
    }
    for (const char* k : {"jfont", "BackImageFile", "icontitle", "fontname"})
        WritePrivateProfileStringA("Config", k, settings.fontname, path);
    std::snprintf(value, sizeof value, "schedulecount=%d", schedule.count);
    value[std::strlen(value) + 1] = '\0';
    WritePrivateProfileSectionA("Schedule", value, path);
    WritePrivateProfileSectionA("Alarm", "\0", path);
    for (int i = 0; i < schedule.count; ++i) {
        std::snprintf(key, sizeof key, "schedule%03d", i + 1);
        schedule_value(&schedule.entries[i], value, sizeof value);
        WritePrivateProfileStringA("Schedule", key, stored(value, schedule.entries[i].scramble).c_str(), path);
    }
    for (int i = 0; i < schedule.count; ++i) {
        std::snprintf(key, sizeof key, "alarm%03d", i + 1);
        alarm_value(&schedule.entries[i], value, sizeof value);
        WritePrivateProfileStringA("Alarm", key, stored(value, schedule.entries[i].scramble).c_str(), path);
    }
}

int naive_load(const char* path) {
    char key[32], value[400];
    int found = 0;
    for (int k = 1; k <= 999; ++k) {
        std::snprintf(key, sizeof key, "schedule%03d", k);
        GetPrivateProfileStringA("Schedule", key, "no data", value, 200, path);
        if (std::strcmp(value, "no data") == 0) continue;
        ++found;
        std::snprintf(key, sizeof key, "alarm%03d", k);
        GetPrivateProfileStringA("Alarm", key, "no data", value, sizeof value, path);
    }
    for (const char* k : {"monthlang", "weeklang", "front", "clock", "cmode", "BackArea",
                          "charset", "weight", "ToDoWidth", "ToDoTimemes"})
        GetPrivateProfileIntA("Config", k, 0, path);
    return found;
}

}  // namespace

int main() {
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    const std::string ours = std::string(tmp) + "zelmar_bench_ours.cfg";
    const std::string theirs = std::string(tmp) + "zelmar_bench_platform.cfg";
    DeleteFileA(ours.c_str());
    DeleteFileA(theirs.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());

    storage_init_win(ours.c_str(), tmp);
    settings_defaults(&settings, 1024, 768);
    const int rounds = 3;
    double our_save = 1e30, our_load = 1e30, their_save = 1e30, their_load = 1e30;
    for (int r = 0; r < rounds; ++r) {
        fill_bench_entries(&schedule, kMaxEntries);
        double t = now_ms();
        if (!schedule_save(settings, &schedule)) {
            std::printf("bench: our save failed\n");
            return 1;
        }
        our_save = std::min(our_save, now_ms() - t);

        t = now_ms();
        storage_init_win(ours.c_str(), tmp);
        startup_load(&settings, &schedule, 1024, 768);
        our_load = std::min(our_load, now_ms() - t);
        if (schedule.count != kMaxEntries) {
            std::printf("bench: our load found %d entries\n", schedule.count);
            return 1;
        }

        fill_bench_entries(&schedule, kMaxEntries);
        t = now_ms();
        naive_save(theirs.c_str());
        their_save = std::min(their_save, now_ms() - t);

        WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // load from the file
        t = now_ms();
        const int found = naive_load(theirs.c_str());
        their_load = std::min(their_load, now_ms() - t);
        if (found != kMaxEntries) {
            std::printf("bench: platform load found %d entries\n", found);
            return 1;
        }
    }
    std::printf("500 entries, all with alarms, a third scrambled (best of %d)\n", rounds);
    std::printf("save: ours %.2f ms, profile functions %.2f ms, ratio %.0f (target >= 100)\n",
                our_save, their_save, their_save / our_save);
    std::printf("load: ours %.2f ms, profile functions %.2f ms, ratio %.0f (target >= 50)\n",
                our_load, their_load, their_load / our_load);
    DeleteFileA(ours.c_str());
    DeleteFileA(theirs.c_str());
    return 0;
}
