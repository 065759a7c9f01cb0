// The real program driven by window messages: single instance, hide and show, always on
// top, save position, the swallowed click after a dismissed popup menu and the About box.
#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {



bool is_topmost(HWND h) { return (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
bool not_topmost(HWND h) { return !is_topmost(h); }
// The first paint has put the month into the title.
bool title_has_month(HWND h) { return window_text(h).size() > std::string("Tavelspore").size(); }

// Sent, so the command has been handled when this returns (commands that open a modal box
// are posted instead).

void click(HWND hwnd, int x, int y) {
    send_sync(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    send_sync(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

E2E_TEST(second_start_brings_the_first_back) {
    App app;
    REQUIRE(app_start(app, fresh_dir("second_start_brings")));
    PostMessageA(app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    REQUIRE(wait_until(is_iconic, app.hwnd));
    CHECK_EQ(app_start_second(app), 1);
    CHECK(!IsIconic(app.hwnd));
    CHECK(IsWindowVisible(app.hwnd));
    CHECK(GetForegroundWindow() == app.hwnd);

    command(app.hwnd, CMD_HIDE_SHOW);  // hidden by its menu command
    REQUIRE(wait_until(is_hidden, app.hwnd));
    CHECK_EQ(app_start_second(app), 1);
    CHECK(IsWindowVisible(app.hwnd));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(hide_and_show_by_the_menu_command) {
    App app;
    REQUIRE(app_start(app, fresh_dir("hide_and_show")));
    command(app.hwnd, CMD_HIDE_SHOW);
    CHECK(wait_until(is_hidden, app.hwnd));
    command(app.hwnd, CMD_HIDE_SHOW);
    CHECK(wait_until(is_visible, app.hwnd));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(always_on_top_is_stored_as_8) {
    App app;
    REQUIRE(app_start(app, fresh_dir("always_on_top")));
    command(app.hwnd, CMD_ALWAYS_ON_TOP);
    CHECK(wait_until(is_topmost, app.hwnd));
    CHECK(has_line(settings_of(app), "front=8"));
    command(app.hwnd, CMD_ALWAYS_ON_TOP);
    CHECK(wait_until(not_topmost, app.hwnd));
    CHECK(has_line(settings_of(app), "front=0"));
    CHECK_EQ(app_close(app), 0);

    // The next start reads it back.
    const std::string dir = app.dir;
    std::string bytes;
    REQUIRE(read_file(settings_file_of(dir), &bytes));
    const size_t at = bytes.find("front=0");
    REQUIRE(at != std::string::npos);
    bytes.replace(at, 7, "front=8");
    REQUIRE(write_file(settings_file_of(dir), bytes));
    App again;
    REQUIRE(app_start(again, dir));
    CHECK(wait_until(is_topmost, again.hwnd));
    CHECK_EQ(app_close(again), 0);
}

E2E_TEST(save_position_writes_the_set_of_this_resolution) {
    App app;
    REQUIRE(app_start(app, fresh_dir("save_position")));
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    CHECK_EQ(sw, 1024);
    CHECK_EQ(sh, 768);
    SetWindowPos(app.hwnd, nullptr, 37, 45, 310, 280, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(app.hwnd, WM_COMMAND, CMD_SAVE_POSITION, 0);
    HWND box = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(box != nullptr);
    CHECK(window_text(box) == "Tavelspore");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(is_gone, box));

    char want[160];
    std::snprintf(want, sizeof want, "[DispSet1]\r\nreso=%dx%d\r\nx1=37\r\ny1=45\r\nx2=347\r\ny2=325\r\n",
                  sw, sh);
    const std::string file = settings_of(app);
    CHECK(file.find(want) != std::string::npos);
    CHECK_EQ(app_close(app), 0);

    // Started again, the window comes back to that place.
    App again;
    REQUIRE(app_start(again, app.dir));
    RECT r;
    GetWindowRect(again.hwnd, &r);
    CHECK_EQ(int(r.left), 37);
    CHECK_EQ(int(r.top), 45);
    CHECK_EQ(int(r.right), 347);
    CHECK_EQ(int(r.bottom), 325);
    CHECK_EQ(app_close(again), 0);
}

E2E_TEST(dismissed_popup_menu_swallows_one_click) {
    App app;
    REQUIRE(app_start(app, fresh_dir("dismissed_popup")));
    REQUIRE(wait_until(title_has_month, app.hwnd));
    RECT c;
    GetClientRect(app.hwnd, &c);
    const std::string title = window_text(app.hwnd);

    // The popup menu of the right button, dismissed with Escape.
    PostMessageA(app.hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.right / 2, c.bottom - 10));
    HWND menu = find_popup_menu(app.pi.dwProcessId, 5000);
    REQUIRE(menu != nullptr);
    PostMessageA(app.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(wait_until(is_hidden, menu));

    // (8, 6) lies in the left month button at every font size.
    click(app.hwnd, 8, 6);
    CHECK(window_text(app.hwnd) == title);  // swallowed
    click(app.hwnd, 8, 6);
    CHECK(window_text(app.hwnd) != title);  // one month back

    // After a command nothing is swallowed.
    command(app.hwnd, CMD_RESET_MONTH);
    CHECK(window_text(app.hwnd) == title);
    PostMessageA(app.hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.right / 2, c.bottom - 10));
    menu = find_popup_menu(app.pi.dwProcessId, 5000);
    REQUIRE(menu != nullptr);
    PostMessageA(app.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(wait_until(is_hidden, menu));
    command(app.hwnd, CMD_CLOSE_MENU);
    click(app.hwnd, 8, 6);
    CHECK(window_text(app.hwnd) != title);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(about_box_opens_and_closes) {
    App app;
    REQUIRE(app_start(app, fresh_dir("about_box")));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ABOUT, 0);
    HWND box = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(box != nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(is_gone, box));
    CHECK(IsWindow(app.hwnd));
    CHECK(send_sync(app.hwnd, WM_NULL, 0, 0));  // the window answers again
    CHECK_EQ(app_close(app), 0);
}
