// A subscribed calendar in the real program, against a web server the calendar sync tests
// start on this machine (tests/dav/test_dav.py): the address comes in ZELMAR_FEED_URL, the
// three steps share one program directory and run one after the other, the server stopped
// before the second and started again before the third. The feed holds "feed one" on
// 10 January 2025 and "feed two" weekly on 14 and 21 January.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

std::string feed_dir() { return g_work_dir + "served_feed\\"; }

std::string cache_file() {
    std::string path = settings_file_of(feed_dir());
    return path.substr(0, path.rfind('.')) + ".feeds";
}


std::string marked_days(const MonthCapture& s) {
    std::string out;
    for (int d = 1; d <= 31; ++d)
        if (marked_box_pixels(s, d) > 0) out += (out.empty() ? "" : ",") + std::to_string(d);
    return out;
}

// January 2025's marked days once they are these (the feed's events arrive from the worker
// a moment after the window shows), polling up to wait_ms; what they are then otherwise.
// The month is put on show once, then captured again until then.
std::string january_marks(const App& app, const std::string& want, DWORD wait_ms) {
    const DWORD end = GetTickCount() + wait_ms;
    MonthCapture s;
    if (!capture_month(app, 2025, 1, &s)) return "<no capture>";
    for (;;) {
        const std::string got = marked_days(s);
        if (got == want || GetTickCount() > end) return got;
        Sleep(200);
        if (!capture_client(app.hwnd, &s.img, &s.ox, &s.oy)) return "<no capture>";
    }
}

// The day contents of 10 January 2025 list the subscribed event, marked with the feed's name;
// its row opens no entry: the schedule dialog its button leads to holds none of the list's.
void check_day_contents(Ctx& ctx, const App& app) {
    MonthGrid grid;
    REQUIRE(lay_out_month(app, 2025, 1, 0, &grid));
    const CellRect& cell = grid.cells.day_cells[9];
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(app.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(app.hwnd, WM_LBUTTONUP, 0, at);
    HWND contents = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(contents != nullptr);
    HWND list = GetDlgItem(contents, IDC_DAY_LIST);
    DWORD_PTR rows = 0;
    SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &rows);
    CHECK_EQ(static_cast<int>(rows), 1);
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 2) == "［祝日］feed one");
    keep_screenshot(contents, "subscribed_day.png");
    send_sync(contents, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    send_sync(list, WM_KEYDOWN, VK_HOME, 0);
    send_sync(list, WM_KEYUP, VK_HOME, 0xC0000001);
    PostMessageA(contents, WM_COMMAND, IDC_DAY_SCHEDULE, 0);
    REQUIRE(wait_until(is_gone, contents));
    HWND schedule = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(schedule != nullptr);
    const std::string memo = window_text(GetDlgItem(schedule, IDC_SCHED_MEMO));
    CHECK(memo != "own entry" && memo != "feed one");
    PostMessageA(schedule, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, schedule));
}

// January 2025's marks are the own entry's day and the feed's days.
#define CHECK_MARKS(app)                                                                   \
    do {                                                                                   \
        const std::string got_ = january_marks(app, "3,10,14,21", 10000);                  \
        if (got_ != "3,10,14,21") {                                                        \
            ctx.fail(__FILE__, __LINE__, "January 2025 marked on " + got_);                \
            keep_screenshot(app.hwnd, "subscribed_marks_failed.png");                      \
        }                                                                                  \
    } while (0)

// The cache file once it differs from before (the next try's time written), polling up to wait_ms.
bool cache_changed(const std::string& before, DWORD wait_ms) {
    const DWORD end = GetTickCount() + wait_ms;
    for (;;) {
        std::string now;
        if (read_file(cache_file(), &now) && now != before) return true;
        if (GetTickCount() > end) return false;
        Sleep(100);
    }
}

const char* feed_url() { return std::getenv("ZELMAR_FEED_URL"); }

}  // namespace

// Every step runs the program with the tests' seams (its message boxes noted), the same
// program each time: the alarm mark one program leaves is read by the next.

// Fetched after start: the settings file's subscription shows in the month and the lists, and
// its copy is in the cache file.
E2E_TEST(served_feed_shown) {
    REQUIRE(feed_url() != nullptr);
    const std::string dir = fresh_dir("served_feed");
    REQUIRE(write_file(settings_file_of(dir),
                       std::string("[Config]\r\nclock=0\r\nNationalHolidays=0\r\n"
                                   "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"
                                   "[Schedule]\r\nschedulecount=1\r\nschedule001=2025010300own entry\r\n"
                                   "[Subscription]\r\nfeed01=1|") +
                           feed_url() + "|祝日\r\n"));
    App app;
    REQUIRE(app_start_seam(app, dir));
    CHECK(file_holds(cache_file(), "SUMMARY:feed one", 20000));
    CHECK_MARKS(app);
    keep_screenshot(app.hwnd, "subscribed_month.png");
    check_day_contents(ctx, app);
    CHECK_EQ(app_close(app), 0);
    std::string settings;
    CHECK(read_file(settings_file_of(dir), &settings) && settings.find("feed one") == std::string::npos &&
          settings.find("schedulecount=1\r\n") != std::string::npos);
}

// The server is gone: the events show from the cache, and the failure is told once.
E2E_TEST(served_feed_cached) {
    App app;
    REQUIRE(app_start_seam(app, feed_dir()));
    // The notice comes first (the server refuses at once); the month is looked at after it.
    HWND notice = find_owned_dialog(app.hwnd, 20000);
    REQUIRE(notice != nullptr);
    const std::vector<std::string> said = messages_said(feed_dir());
    REQUIRE(said.size() == 1u);
    CHECK(said[0].find("「祝日」を更新できませんでした") != std::string::npos);
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(is_gone, notice));
    CHECK_MARKS(app);
    check_day_contents(ctx, app);
    CHECK_EQ(app_close(app), 0);
    // Still failing at the next start (the try is written to the cache): not told again.
    std::string before;
    REQUIRE(read_file(cache_file(), &before));
    App again;
    REQUIRE(app_start_seam(again, feed_dir()));
    CHECK(cache_changed(before, 20000));
    CHECK_MARKS(again);
    CHECK(find_owned_dialog(again.hwnd, 0) == nullptr);
    CHECK_EQ(messages_said(feed_dir()).size(), 1u);
    CHECK_EQ(app_close(again), 0);
}

// The server is back with the same feed: the refresh is one conditional request answered 304
// (the test server counts the requests).
E2E_TEST(served_feed_unchanged) {
    App app;
    REQUIRE(app_start_seam(app, feed_dir()));
    CHECK(file_holds(cache_file(), "\t0\t304\t", 20000));
    CHECK_MARKS(app);
    CHECK_EQ(messages_said(feed_dir()).size(), 1u);  // the end of the failure is not told
    CHECK_EQ(app_close(app), 0);
}
