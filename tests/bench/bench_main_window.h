// The program's main window opened in the benchmark's own process, as the program starts it:
// image plug-ins from the build tree, a settings file of the benchmark's choosing, then the
// window shown and painted. Paints and resizes can then be timed on the real window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/app_win.h"
#include "image/plugins_win.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/host/test_records.h"
#include "tests/win/win_scratch.h"

namespace bench {

// A settings file: these "Config" lines, and a w x h window at (20, 20) in the window set of
// this screen.
inline std::string settings_file_text(const std::string& config_lines, int w, int h) {
    char set[256];
    std::snprintf(set, sizeof set, "[DispSet1]\r\nreso=%dx%d\r\nx1=20\r\ny1=20\r\nx2=%d\r\ny2=%d\r\n",
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 20 + w, 20 + h);
    return "[Config]\r\n" + config_lines + set;
}

inline void pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

// Settings and schedule from the file in dir into the benchmark's records, then the window on
// them; nullptr when it cannot be made. fill_list, when given, replaces the schedule list
// before the window opens.
inline HWND open_main_window(const std::string& dir, const std::string& file_text,
                             void (*fill_list)(ScheduleList*) = nullptr) {
    static const bool ready = [] {
        load_image_plugins(win_test::exe_dir().c_str());
        return main_window_register(GetModuleHandleA(nullptr));
    }();
    if (!ready) return nullptr;
    const std::string path = dir + "bench.cfg";
    win_test::put_file(path, file_text);
    storage_init_win(path.c_str(), dir.c_str());
    startup_load(&settings, &schedule, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (fill_list) fill_list(&schedule);
    HWND hwnd = main_window_create(GetModuleHandleA(nullptr), SW_SHOWNORMAL, MainRecords{&settings, &schedule});
    pump();
    return hwnd;
}

inline void close_main_window(HWND hwnd) {
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    pump();
}

// Repaints now what r (or the whole client, r nullptr) covers, as after an uncovering.
inline void uncover(HWND hwnd, const RECT* r) {
    InvalidateRect(hwnd, r, FALSE);
    UpdateWindow(hwnd);
}

}  // namespace bench
