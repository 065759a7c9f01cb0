// The notification-area icon through a recording shell seam (each call's message, flags, id,
// callback, icon and tip bytes), its callback, the taskbar's restart, a missing notification
// area; and the switch between the framed window and the bare one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/main_window_internal_win.h"
#include "app/title_bar_win.h"
#include "app/tray_win.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "tests/host/test_records.h"
#include "tests/win/main_window_fixture.h"

namespace {

using namespace win_test;

struct NotifyCall {
    DWORD message;
    DWORD size;
    HWND hwnd;
    UINT id, flags, callback;
    bool icon;
    std::string tip;
};
std::vector<NotifyCall> g_calls;
BOOL g_shell_answer = TRUE;

BOOL WINAPI record_notify(DWORD message, PNOTIFYICONDATAA d) {
    NotifyCall c = {message, d->cbSize, d->hWnd, d->uID, d->uFlags, d->uCallbackMessage,
                    d->hIcon != nullptr, ""};
    // The tip as bytes up to its terminator, which must lie within the 64-byte field.
    const void* end = std::memchr(d->szTip, 0, sizeof d->szTip);
    c.tip = end ? std::string(d->szTip) : std::string("<no terminator>");
    g_calls.push_back(c);
    return g_shell_answer;
}

class Tray : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        g_calls.clear();
        g_shell_answer = TRUE;
        set_notify_icon_function(record_notify);
    }
    void TearDown() override {
        MainWindow::TearDown();
        set_notify_icon_function(nullptr);
    }
    // The calls since the last look, and forgets them.
    std::vector<NotifyCall> take() {
        std::vector<NotifyCall> c;
        c.swap(g_calls);
        return c;
    }
};

struct WantCall {
    DWORD message;
    UINT flags;
    const char* tip;  // nullptr: not looked at (NIM_DELETE)
};

void expect_calls(const std::vector<NotifyCall>& got, const std::vector<WantCall>& want, HWND hwnd,
                  const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(std::string(what) + " call " + std::to_string(i));
        const NotifyCall& g = got[i];
        EXPECT_EQ(g.message, want[i].message);
        EXPECT_EQ(g.flags, want[i].flags);
        EXPECT_EQ(g.size, DWORD(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_EQ(g.hwnd, hwnd);
        EXPECT_EQ(g.id, 31049u);
        if (want[i].message == NIM_ADD) {
            EXPECT_EQ(g.callback, UINT(WM_USER + 1));
            EXPECT_TRUE(g.icon);
        }
        if (want[i].tip) EXPECT_EQ(g.tip, want[i].tip);
    }
}

TEST_F(Tray, IconOverTheWindowsLifetime) {
    open("");
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    HWND hwnd = hwnd_;
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2004年5月5日(水) こどもの日"}},
                 hwnd, "creation and first tick");

    struct Step {
        const char* what;
        LocalTime now;
        std::vector<WantCall> want;
    } steps[] = {
        {"same day", {2004, 5, 5, 9, 31, 0}, {}},
        {"midnight", {2004, 5, 6, 0, 0, 0}, {{NIM_MODIFY, NIF_TIP, "2004年5月6日(木)"}}},
        {"into a new year", {2005, 1, 1, 0, 0, 1}, {{NIM_MODIFY, NIF_TIP, "2005年1月1日(土) 元日"}}},
        {"later that day", {2005, 1, 1, 12, 0, 0}, {}},
    };
    for (const Step& st : steps) {
        g_now = st.now;
        main_tick(main_state, hwnd);
        expect_calls(take(), st.want, hwnd, st.what);
    }
    // The taskbar restarted: the icon again, with today's date.
    SendMessageA(hwnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2005年1月1日(土) 元日"}},
                 hwnd, "TaskbarCreated");
    close();
    expect_calls(take(), {{NIM_DELETE, 0, nullptr}}, hwnd, "destruction");
}

// The holiday's name follows the switch: at once with the menu command, and at each new day
// and taskbar restart as the switch stands then.
TEST_F(Tray, TipNamesTheHolidayWhileTheSwitchIsOn) {
    open("[Config]\r\nNationalHolidays=0\r\n");
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    HWND hwnd = hwnd_;
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2004年5月5日(水)"}},
                 hwnd, "off at creation");
    struct Step {
        const char* what;
        LocalTime now;  // a tick at this time; year 0: the menu command instead
        const char* tip;
    } steps[] = {
        {"switched on", {}, "2004年5月5日(水) こどもの日"},
        {"switched off", {}, "2004年5月5日(水)"},
        {"new day while off", {2005, 1, 1, 0, 0, 1}, "2005年1月1日(土)"},
        {"switched on again", {}, "2005年1月1日(土) 元日"},
        {"new day while on", {2005, 1, 10, 0, 0, 1}, "2005年1月10日(月) 成人の日"},
        {"an ordinary day", {2005, 1, 11, 0, 0, 1}, "2005年1月11日(火)"},
        {"substitute day", {2005, 3, 21, 0, 0, 1}, "2005年3月21日(月) 振替休日"},
    };
    for (const Step& st : steps) {
        if (st.now.year == 0) {
            command(CMD_NATIONAL_HOLIDAYS);
        } else {
            g_now = st.now;
            main_tick(main_state, hwnd);
        }
        expect_calls(take(), {{NIM_MODIFY, NIF_TIP, st.tip}}, hwnd, st.what);
    }
    SendMessageA(hwnd, main_state.taskbar_created_msg, 0, 0);
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2005年3月21日(月) 振替休日"}},
                 hwnd, "TaskbarCreated");
}

TEST_F(Tray, MissingNotificationAreaIsNoFailure) {
    g_shell_answer = FALSE;
    open("");
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(take().size(), 2u);  // tried, refused, nothing else
    EXPECT_STREQ(tray_tip(), "2004年5月5日(水) こどもの日");
    g_shell_answer = TRUE;  // a taskbar appears
    SendMessageA(hwnd_, main_state.taskbar_created_msg, 0, 0);
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2004年5月5日(水) こどもの日"}},
                 hwnd_, "taskbar appears");
}

// The shell is not asked before the window's first paint; a window that is never painted
// (started hidden) gets its icon a second later all the same.
TEST_F(Tray, IconAfterTheFirstPaintOrASecondWithout) {
    storage_init_win(path_.c_str(), dir_.c_str());
    startup_load(&settings, &schedule, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    hwnd_ = main_window_create(GetModuleHandleA(nullptr), SW_HIDE, MainRecords{&settings, &schedule});
    ASSERT_NE(hwnd_, nullptr);
    pump();
    EXPECT_TRUE(take().empty()) << "not before a paint";
    EXPECT_TRUE(main_state.tray_pending);
    for (int i = 0; i < 300 && main_state.tray_pending; ++i) pump_for(10);
    expect_calls(take(), {{NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, ""},
                          {NIM_MODIFY, NIF_TIP, "2004年5月5日(水) こどもの日"}},
                 hwnd_, "a second later");
    // Shown and painted later: no second icon.
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    pump_for(50);
    EXPECT_TRUE(take().empty());
}

TEST_F(Tray, TipIsCutOnACharacterBoundary) {
    open("");
    take();
    std::string long_tip;
    for (int i = 0; i < 40; ++i) long_tip += "日";  // 80 bytes of double-byte characters
    tray_set_tip(hwnd_, long_tip.c_str());
    const std::vector<NotifyCall> calls = take();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].tip, long_tip.substr(0, 62));  // 63 bytes would split a character
    tray_set_tip(hwnd_, "2004年5月5日(水)");
    EXPECT_EQ(take()[0].tip, "2004年5月5日(水)");
}

TEST_F(Tray, CallbackByMouseMessage) {
    open("");
    struct Case {
        const char* what;
        bool hidden_before;
        WPARAM id;
        LPARAM mouse;
        bool visible_after;
        bool popup_pending_after;
    } cases[] = {
        {"another icon", true, 12345, WM_LBUTTONDOWN, false, false},
        {"mouse move", true, kTrayIconId, WM_MOUSEMOVE, false, false},
        {"left button up", true, kTrayIconId, WM_LBUTTONUP, false, false},
        {"left click on the hidden window", true, kTrayIconId, WM_LBUTTONDOWN, true, false},
        {"left click on the shown window", false, kTrayIconId, WM_LBUTTONDOWN, true, false},
        {"right click, menu dismissed", false, kTrayIconId, WM_RBUTTONDOWN, true, true},
        {"right click of another icon", false, 1, WM_RBUTTONDOWN, true, false},
        {"right click on the hidden window", true, kTrayIconId, WM_RBUTTONDOWN, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.hidden_before != !main_state.window_visible) command(CMD_HIDE_SHOW);
        main_state.popup_pending = false;
        {
            MenuDismisser dismiss;
            EXPECT_EQ(SendMessageA(hwnd_, kTrayCallback, c.id, c.mouse), 0);
        }
        EXPECT_EQ(IsWindowVisible(hwnd_) != 0, c.visible_after);
        EXPECT_EQ(main_state.window_visible, c.visible_after);
        EXPECT_EQ(main_state.popup_pending, c.popup_pending_after);
        EXPECT_EQ(menu_text(menu(), CMD_HIDE_SHOW), c.visible_after ? "非表示(&D)" : "表示(&D)");
    }
}

// The frame switch keeps the outer rectangle; the client area takes the caption and menu
// bar's place and the month is laid out again for it.
TEST_F(MainWindow, TitleBarSwitchKeepsTheOuterRectangle) {
    open("");
    {
        // From the start the client area leaves room for the menu bar: computing the frame
        // anew changes nothing.
        RECT at_start, recomputed;
        GetClientRect(hwnd_, &at_start);
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(hwnd_, &recomputed);
        EXPECT_TRUE(EqualRect(&at_start, &recomputed));
    }
    MoveWindow(hwnd_, 40, 50, 320, 300, TRUE);
    pump();
    struct Case {
        int titlebar_after;
        DWORD style;
        bool menu;
    } cases[] = {
        {8, 0x808E0000u, false},
        {0, WS_OVERLAPPEDWINDOW, true},
        {8, 0x808E0000u, false},
    };
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.titlebar_after);
        RECT client_before;
        GetClientRect(hwnd_, &client_before);
        const CellRect last_before = main_state.day_cells[30];
        command(CMD_NO_TITLE_BAR);
        pump();  // the paint the moves asked for
        EXPECT_EQ(settings.titlebar, c.titlebar_after);
        EXPECT_EQ(frame_style(hwnd_), c.style);
        EXPECT_TRUE(IsWindowVisible(hwnd_));
        EXPECT_EQ(GetMenu(hwnd_) != nullptr, c.menu);
        EXPECT_EQ(checked(menu(), CMD_NO_TITLE_BAR), c.titlebar_after != 0);
        RECT now, client;
        GetWindowRect(hwnd_, &now);
        GetClientRect(hwnd_, &client);
        EXPECT_TRUE(EqualRect(&now, &outer));
        if (c.menu)
            EXPECT_LT(client.bottom, client_before.bottom);
        else
            EXPECT_GT(client.bottom, client_before.bottom);
        EXPECT_EQ(surface_height(), client.bottom);
        EXPECT_NE(main_state.day_cells[30].bottom, last_before.bottom);  // laid out again
        EXPECT_EQ(main_state.recompose.pending(), kLayerNone);  // and all of it composed
    }
}

TEST_F(MainWindow, TitleBarSwitchOfAHiddenOrMinimisedWindowKeepsItsState) {
    open("");
    MoveWindow(hwnd_, 40, 50, 320, 300, TRUE);
    command(CMD_HIDE_SHOW);
    command(CMD_NO_TITLE_BAR);
    EXPECT_FALSE(IsWindowVisible(hwnd_)) << "hidden to the tray, it stays hidden";
    EXPECT_EQ(frame_style(hwnd_), 0x808E0000u);
    command(CMD_HIDE_SHOW);
    EXPECT_TRUE(IsWindowVisible(hwnd_));

    ShowWindow(hwnd_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd_));
    command(CMD_NO_TITLE_BAR);
    EXPECT_TRUE(IsIconic(hwnd_)) << "minimised, it stays minimised";
    EXPECT_EQ(frame_style(hwnd_) & ~WS_MINIMIZE, DWORD(WS_OVERLAPPEDWINDOW));
    ShowWindow(hwnd_, SW_RESTORE);
    RECT r;
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_NE(GetMenu(hwnd_), nullptr);
}

}  // namespace
