// The program with the end-to-end tests' seams; built beside Zelmar.exe, never shipped.
// - The clock: the minute written in "clock.txt" in the program directory as YYYYMMDDhhmm
//   (the seconds run with the system clock), read at every reading, so a test can set the
//   clock back or forward for this program alone while it runs. Without the file, the
//   system clock.
// - The snooze interval: the milliseconds in "snooze_ms.txt", read at start.
// - What the message boxes say: each box's text, ended by a zero byte, is added to
//   "messages.txt" as the box opens (the box draws its text, which no other process reads).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app_win.h"
#include "calendar/date.h"
#include "dialogs/message_box_win.h"
#include "schedule/alarm_snooze.h"

namespace {

std::string g_dir;  // ends in a backslash

std::string text_in(const char* name) {
    char text[32] = "";
    FILE* f = std::fopen((g_dir + name).c_str(), "rb");
    if (!f) return "";
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    return text;
}

// The minute last read from the file: a reading while the test rewrites it keeps that.
bool g_fixed = false;
LocalTime g_minute = {};

LocalTime test_clock() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    int y, mo, d, h, mi;
    if (std::sscanf(text_in("clock.txt").c_str(), "%4d%2d%2d%2d%2d", &y, &mo, &d, &h, &mi) == 5) {
        g_minute = LocalTime{y, mo, d, h, mi, 0};
        g_fixed = true;
    }
    if (!g_fixed) return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    LocalTime t = g_minute;
    t.second = st.wSecond;
    return t;
}

void note_message(const char* text, const char*, UINT) {
    FILE* f = std::fopen((g_dir + "messages.txt").c_str(), "ab");
    if (!f) return;
    std::fwrite(text, 1, std::strlen(text) + 1, f);
    std::fclose(f);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    g_dir = module;
    g_dir.erase(g_dir.find_last_of('\\') + 1);
    set_snooze_interval(static_cast<uint32_t>(std::strtoul(text_in("snooze_ms.txt").c_str(), nullptr, 10)));
    set_clock_source(test_clock);
    set_message_box_witness(note_message);
    return app_run(inst, show);
}
