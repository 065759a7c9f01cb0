// The program with the end-to-end tests' seams; built beside Zelmar.exe, never shipped.
// - The clock: the local time moved by the minutes written in "clock_offset.txt" in the
//   program directory, read at every reading, so a test can set the clock back or forward
//   for this program alone while it runs.
// - The snooze interval: the milliseconds in "snooze_ms.txt", read at start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_win.h"
#include "calendar/date.h"
#include "schedule/alarm_snooze.h"

namespace {

std::string g_dir;  // ends in a backslash

long number_in(const char* name) {
    char text[32] = "";
    FILE* f = std::fopen((g_dir + name).c_str(), "rb");
    if (!f) return 0;
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    return std::strtol(text, nullptr, 10);
}

LocalTime shifted_clock() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(number_in("clock_offset.txt")) *
                                         600000000LL);
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&ft, &st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    g_dir = module;
    g_dir.erase(g_dir.find_last_of('\\') + 1);
    set_snooze_interval(static_cast<uint32_t>(number_in("snooze_ms.txt")));
    set_clock_source(shifted_clock);
    return app_run(inst, show);
}
