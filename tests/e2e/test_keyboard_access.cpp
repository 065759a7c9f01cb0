// The month without a mouse and without sight, in the real program: the keys move the day
// cursor across month ends and open the cursor's day, a new entry on it and the menu at it;
// the wheel steps months; a screen reader's client reads the days from the window's
// accessible object across processes and hears the focus move.
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "app/main_layout.h"
#include "calendar/date.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

// A fixed window without a clock, holidays as asked, and the given schedule lines.
std::string settings_with(int national, const std::string& schedule) {
    return "[Config]\r\nclock=0\r\nmonthlang=1\r\nNationalHolidays=" + std::to_string(national) +
           "\r\n[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n" + schedule;
}


// A key as the keyboard gives it: down, handled before the next message is looked at.
void key(const App& app, WPARAM vk) {
    PostMessageA(app.hwnd, WM_KEYDOWN, vk, 1);
    PostMessageA(app.hwnd, WM_KEYUP, vk, 0xC0000001);
    send_sync(app.hwnd, WM_NULL, 0, 0);
}

std::string title_of(int year, int month) {
    char t[64];
    format_window_title(t, sizeof t, 1, year, month, 0);
    return t;
}

// The title, once the paint that follows a move wrote the one wanted (up to 3 s).
bool title_is(const App& app, const std::string& want) {
    for (int i = 0; i < 150; ++i) {
        if (window_text(app.hwnd) == want) return true;
        Sleep(20);
    }
    return false;
}

std::string header_of(int year, int month, int day) {
    char h[64];
    format_list_header(h, sizeof h, year, month, day, 0);
    return h;
}

// The schedule dialog the key opened: its date fields as "year/month/day"; it is cancelled.
std::string schedule_date_after(const App& app, WPARAM vk) {
    PostMessageA(app.hwnd, WM_KEYDOWN, vk, 1);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    if (!dlg) return "<no dialog>";
    const std::string date = window_text(GetDlgItem(dlg, IDC_SCHED_YEAR)) + "/" +
                             window_text(GetDlgItem(dlg, IDC_SCHED_MONTH)) + "/" +
                             window_text(GetDlgItem(dlg, IDC_SCHED_DAY));
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    wait_until(is_gone, dlg);
    return date;
}

// The day-contents dialog the key opened: its header; it is closed.
std::string day_contents_after(const App& app, WPARAM vk) {
    PostMessageA(app.hwnd, WM_KEYDOWN, vk, 1);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    if (!dlg) return "<no dialog>";
    const std::string header = window_text(GetDlgItem(dlg, IDC_DAY_HEADER));
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    wait_until(is_gone, dlg);
    return header;
}

}  // namespace

E2E_TEST(keys_move_the_day_cursor_and_open_its_day) {
    const std::string dir = fresh_dir("keys_cursor");
    REQUIRE(write_file(settings_file_of(dir), settings_with(0, "")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    CHECK(title_is(app, title_of(2019, 5)));

    // Home: 1 May; two days on and a week down: 10 May, opened by Enter and by Space.
    key(app, VK_HOME);
    key(app, VK_RIGHT);
    key(app, VK_RIGHT);
    key(app, VK_DOWN);
    CHECK(day_contents_after(app, VK_RETURN) == header_of(2019, 5, 10));
    CHECK(day_contents_after(app, VK_SPACE) == header_of(2019, 5, 10));

    // Back across the month's start: 30 April, and the month on show follows.
    key(app, VK_HOME);
    key(app, VK_LEFT);
    CHECK(title_is(app, title_of(2019, 4)));
    CHECK(schedule_date_after(app, VK_INSERT) == "2019/4/30");

    // A week up from 3 April: 27 March. End: 31 March. PageDown: 30 April, the day kept
    // where the shorter month has it.
    key(app, VK_HOME);
    key(app, VK_RIGHT);
    key(app, VK_RIGHT);
    key(app, VK_UP);
    CHECK(schedule_date_after(app, VK_INSERT) == "2019/3/27");
    key(app, VK_END);
    key(app, VK_NEXT);
    CHECK(title_is(app, title_of(2019, 4)));
    CHECK(schedule_date_after(app, VK_INSERT) == "2019/4/30");
    key(app, VK_PRIOR);
    CHECK(schedule_date_after(app, VK_INSERT) == "2019/3/30");

    // The wheel turned toward the user: the next month, the cursor in it.
    PostMessageA(app.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(200, 200));
    send_sync(app.hwnd, WM_NULL, 0, 0);
    CHECK(title_is(app, title_of(2019, 4)));
    CHECK(schedule_date_after(app, VK_INSERT) == "2019/4/30");

    // T: today, in today's month.
    SYSTEMTIME now;
    GetLocalTime(&now);
    key(app, 'T');
    CHECK(title_is(app, title_of(now.wYear, now.wMonth)));
    CHECK(schedule_date_after(app, VK_INSERT) == std::to_string(now.wYear) + "/" +
                                                     std::to_string(now.wMonth) + "/" +
                                                     std::to_string(now.wDay));
    CHECK_EQ(app_close(app), 0);
}

// The application key opens the window's menu at the cursor's day: just below its cell.
E2E_TEST(menu_key_opens_the_menu_at_the_cursor) {
    const std::string dir = fresh_dir("keys_menu");
    REQUIRE(write_file(settings_file_of(dir), settings_with(0, "")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    key(app, VK_HOME);
    key(app, VK_DOWN);  // 8 May
    MonthGrid grid;
    REQUIRE(lay_out_month(app, 2019, 5, 0, &grid));
    POINT below = {grid.cells.day_cells[7].left, grid.cells.day_cells[7].bottom};
    ClientToScreen(app.hwnd, &below);

    PostMessageA(app.hwnd, WM_KEYDOWN, VK_APPS, 1);
    HWND menu = find_popup_menu(app.pi.dwProcessId, 5000);
    REQUIRE(menu != nullptr);
    RECT r;
    GetWindowRect(menu, &r);
    CHECK(r.left >= below.x - 2 && r.left <= below.x + 2);
    CHECK(r.top >= below.y - 2 && r.top <= below.y + 4);
    PostMessageA(app.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(wait_until(is_hidden, menu));
    CHECK_EQ(app_close(app), 0);
}

namespace {

// The reader's side, as a client of the accessibility library loaded at run time. The
// interface's identifier is spelled out: a statically linked one resolves to an import thunk.

using ObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

struct Reader {
    HMODULE oleacc = LoadLibraryA("oleacc.dll");
    HMODULE oleaut = LoadLibraryA("oleaut32.dll");
    bool com = SUCCEEDED(CoInitialize(nullptr));
    IAccessible* client = nullptr;

    explicit Reader(HWND hwnd) {
        auto from_window = oleacc ? reinterpret_cast<ObjectFromWindowFn>(
                                        reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")))
                                  : nullptr;
        if (from_window)
            from_window(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible, reinterpret_cast<void**>(&client));
    }
    ~Reader() {
        if (client) client->Release();
        if (com) CoUninitialize();
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // A BSTR as code page 932, freed.
    std::string text(BSTR b) const {
        if (!b) return "";
        char out[1024] = "";
        WideCharToMultiByte(932, 0, b, -1, out, sizeof out, nullptr, nullptr);
        using FreeFn = void(WINAPI*)(BSTR);
        if (auto free_string = reinterpret_cast<FreeFn>(reinterpret_cast<void*>(GetProcAddress(oleaut, "SysFreeString"))))
            free_string(b);
        return out;
    }
    static VARIANT child(LONG id) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    LONG count() const {
        LONG n = -1;
        return client && client->get_accChildCount(&n) == S_OK ? n : -1;
    }
    std::string name(LONG id) const {
        BSTR b = nullptr;
        return client && client->get_accName(child(id), &b) == S_OK ? text(b) : "<none>";
    }
    std::string description(LONG id) const {
        BSTR b = nullptr;
        return client && SUCCEEDED(client->get_accDescription(child(id), &b)) ? text(b) : "<none>";
    }
    LONG role(LONG id) const {
        VARIANT v = {};
        return client && client->get_accRole(child(id), &v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
    LONG state(LONG id) const {
        VARIANT v = {};
        return client && client->get_accState(child(id), &v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
    RECT place(LONG id) const {
        long l = 0, t = 0, w = 0, h = 0;
        if (!client || client->accLocation(&l, &t, &w, &h, child(id)) != S_OK) return RECT{0, 0, 0, 0};
        return RECT{l, t, l + w, t + h};
    }
};

// Focus events of the program's window, as a reader hears them.
LONG g_focus_child = 0;
int g_focus_events = 0;
void CALLBACK on_focus_event(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object != OBJID_CLIENT) return;
    g_focus_child = child;
    ++g_focus_events;
}

// Messages pumped until a focus event came or wait_ms passed.
bool focus_heard(DWORD wait_ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < wait_ms) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        if (g_focus_events > 0) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

E2E_TEST(screen_reader_reads_the_days_of_the_month) {
    const std::string dir = fresh_dir("reader_days");
    // An entry on 10 May 2019, and one on every 3 May.
    REQUIRE(write_file(settings_file_of(dir),
                       settings_with(1, "[Schedule]\r\nschedulecount=2\r\n"
                                        "schedule001=2019051000歯医者\r\n"
                                        "schedule002=0000050300家族で旅行\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    Reader reader(app.hwnd);
    REQUIRE(reader.client != nullptr);

    // The days of May, then the two month buttons.
    CHECK_EQ(reader.count(), 31 + 2);
    const struct {
        LONG child;
        const char* name;
    } names[] = {
        {1, "5月1日 水曜日 天皇の即位の日"},
        {3, "5月3日 金曜日 予定1件、憲法記念日"},
        {10, "5月10日 金曜日 予定1件"},
        {11, "5月11日 土曜日"},
        {31, "5月31日 金曜日"},
        {32, "前の月"},
        {33, "次の月"},
    };
    for (const auto& n : names) {
        const std::string got = reader.name(n.child);
        if (got != n.name) ctx.fail(__FILE__, __LINE__, "child " + std::to_string(n.child) + ": " + got);
    }
    CHECK(reader.description(10) == "歯医者");
    CHECK(reader.description(3) == "家族で旅行");
    CHECK(reader.role(10) == ROLE_SYSTEM_LISTITEM);
    CHECK(reader.role(32) == ROLE_SYSTEM_PUSHBUTTON);

    // A day's place is its cell on the screen.
    MonthGrid grid;
    REQUIRE(lay_out_month(app, 2019, 5, 0, &grid));
    POINT cell = {grid.cells.day_cells[9].left, grid.cells.day_cells[9].top};
    ClientToScreen(app.hwnd, &cell);
    const RECT p = reader.place(10);
    CHECK_EQ(p.left, cell.x);
    CHECK_EQ(p.top, cell.y);
    CHECK(p.right > p.left && p.bottom > p.top);

    // An arrow key moves the cursor: the reader hears the focus go to the new day, which is
    // then the selected one.
    // The hook comes after Home: that key's own focus event, heard first, is not the one asked for.
    key(app, VK_HOME);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, on_focus_event,
                                         app.pi.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    CHECK(hook != nullptr);
    key(app, VK_RIGHT);
    CHECK(focus_heard(3000));
    CHECK_EQ(g_focus_child, 2);
    CHECK((reader.state(2) & STATE_SYSTEM_SELECTED) != 0);
    CHECK((reader.state(3) & STATE_SYSTEM_SELECTED) == 0);
    if (hook) UnhookWinEvent(hook);

    // A month with fewer days: the tree follows it.
    key(app, VK_PRIOR);
    CHECK_EQ(reader.count(), 30 + 2);
    CHECK(reader.name(30) == "4月30日 火曜日 国民の休日");
    CHECK_EQ(app_close(app), 0);
}
