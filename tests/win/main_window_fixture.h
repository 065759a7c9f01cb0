// The main window opened in this process for a test: a fixture that starts it over a settings
// file of the test's choosing with a fixed clock, and closes it again (answering any notice
// with OK), with small helpers to read its frame, texts and menus.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/app_win.h"
#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "image/background_loader_win.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace win_test {

// The clock the window reads; tests set it before a tick.
inline LocalTime g_now = {2004, 5, 5, 9, 29, 59};
inline LocalTime fixed_clock() { return g_now; }

inline std::string resolution() {
    char r[32];
    std::snprintf(r, sizeof r, "%dx%d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return r;
}

// The style bits the program chooses (the system adds WS_CLIPSIBLINGS, showing adds
// WS_VISIBLE).
inline DWORD frame_style(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS);
}

inline std::string window_text_of(HWND hwnd) {
    char buf[256] = "";
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

inline std::string menu_text(HMENU menu, UINT id, UINT by = MF_BYCOMMAND) {
    char buf[64] = "";
    GetMenuStringA(menu, id, buf, sizeof buf, by);
    return buf;
}

inline bool greyed(HMENU menu, UINT id, UINT by = MF_BYCOMMAND) {
    return (GetMenuState(menu, id, by) & MF_GRAYED) != 0;
}

// The position of command id in menu, or -1.
inline int menu_position(HMENU menu, UINT id) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuItemID(menu, i) == id) return i;
    return -1;
}

inline bool checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// Ends the popup menu of this thread as soon as it runs, as if dismissed.
struct MenuDismisser {
    UINT_PTR timer;
    MenuDismisser() { timer = SetTimer(nullptr, 0, 100, on_timer); }
    ~MenuDismisser() { KillTimer(nullptr, timer); }
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
};

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) registered = main_window_register(GetModuleHandleA(nullptr));
        ASSERT_TRUE(registered);
        win_test::reset_program_globals();
        g_now = {2004, 5, 5, 9, 29, 59};
        set_clock_source(fixed_clock);
        dir_ = win_test::scratch_dir("main");
        path_ = dir_ + "tester.cfg";
    }
    void TearDown() override {
        close();
        win_test::reset_program_globals();
    }
    // Creates the window over a settings file with these bytes (none: no file) and handles
    // nothing of what it posted: a background image is then still on its way.
    void create(const std::string& file_bytes, const char* path = nullptr) {
        if (!file_bytes.empty()) win_test::put_file(path_, file_bytes);
        storage_init_win(path ? path : path_.c_str(), dir_.c_str());
        startup_load(&settings, &schedule, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        hwnd_ = main_window_create(GetModuleHandleA(nullptr), SW_SHOWNORMAL,
                                   MainRecords{&settings, &schedule});
    }
    // Starts the window as above, with its background image arrived and shown.
    void open(const std::string& file_bytes, const char* path = nullptr) {
        create(file_bytes, path);
        ASSERT_NE(hwnd_, nullptr);
        pump();
        background_loader_wait();  // its message is queued before the worker ends
        pump();
        // The tray icon comes on a timer right after the first paint.
        for (int i = 0; i < 200 && main_state.tray_pending; ++i) pump_for(10);
    }
    void close() {
        if (hwnd_ && IsWindow(hwnd_)) {
            auto closer = ModalDriver::pressing_ok();
            DestroyWindow(hwnd_);
        }
        hwnd_ = nullptr;
        pump();  // takes the WM_QUIT of WM_DESTROY away
    }
    LRESULT command(int id) { return SendMessageA(hwnd_, WM_COMMAND, id, 0); }
    void click(UINT down, UINT up, int x, int y) {
        SendMessageA(hwnd_, down, 0, MAKELPARAM(x, y));
        SendMessageA(hwnd_, up, 0, MAKELPARAM(x, y));
    }
    static int cx(const CellRect& r) { return (r.left + r.right) / 2; }
    static int cy(const CellRect& r) { return (r.top + r.bottom) / 2; }
    HMENU menu() const { return main_state.main_menu.get(); }

    std::string dir_, path_;
    HWND hwnd_ = nullptr;
};

}  // namespace win_test
