// The settings file through a real start and exit: entries survive byte for byte,
// scrambled ones stay scrambled, settings read at start show in the window, and exit by
// the menu command writes the file; a file with more entries than the list holds keeps them all.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "config/scramble.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

std::string scrambled_memo(const char* plain) {
    char buf[256];
    lstrcpynA(buf, plain, sizeof buf);
    memo_scramble(buf, sizeof buf);
    return buf;
}


int exit_by_menu(App& app) {
    PostMessageA(app.hwnd, WM_COMMAND, CMD_EXIT, 0);
    return app_wait_exit(app, 15000);
}

const char* const kMonths[] = {"", "January", "February", "March", "April", "May", "June",
                               "July", "August", "September", "October", "November", "December"};

}  // namespace

E2E_TEST(entries_survive_a_start_and_exit_byte_for_byte) {
    const std::string dir = fresh_dir("entries_survive");
    // 2004-05-06, scrambled, with a time.
    const std::string s2 = scrambled_memo("2004050621打合せ");
    const std::string a2 = scrambled_memo("1400101");
    const std::string file =
        "[Config]\r\nmonthlang=0\r\n"
        "[Schedule]\r\nschedulecount=2\r\n"
        "schedule001=2004050511会議\r\n"  // holiday, with a time
        "schedule002=" + s2 + "\r\n"
        "[Alarm]\r\nalarm001=0930152\r\nalarm002=" + a2 + "\r\n";
    const std::string path = settings_file_of(dir);
    REQUIRE(write_file(path, file));

    App app;
    REQUIRE(app_start(app, dir));
    // monthlang=0 was read: the title names this month in English.
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string title = std::string("Tavelspore ") + kMonths[now.wMonth] + " " +
                              std::to_string(now.wYear);
    CHECK(window_text(app.hwnd) == title);
    CHECK_EQ(exit_by_menu(app), 0);

    std::string saved;
    REQUIRE(read_file(path, &saved));
    CHECK(has_line(saved, "schedulecount=2"));
    CHECK(has_line(saved, "schedule001=2004050511会議"));
    CHECK(has_line(saved, "alarm001=0930152"));
    CHECK(s2[0] == '$' && a2[0] == '$');
    CHECK(has_line(saved, "schedule002=" + s2));
    CHECK(has_line(saved, "alarm002=" + a2));
    CHECK(has_line(saved, "monthlang=0"));
}

E2E_TEST(exit_by_menu_writes_a_new_settings_file) {
    const std::string dir = fresh_dir("exit_by_menu");
    App app;
    REQUIRE(app_start(app, dir));
    CHECK_EQ(exit_by_menu(app), 0);
    std::string saved;
    REQUIRE(read_file(settings_file_of(dir), &saved));
    CHECK(saved.find("[Config]\r\n") != std::string::npos);
    CHECK(has_line(saved, "schedulecount=0"));
    CHECK(has_line(saved, "front=0"));
}

E2E_TEST(ten_thousand_entries_survive_a_start_and_exit_and_the_rest_is_told_of) {
    const std::string dir = fresh_dir("ten_thousand_entries");
    std::string file = "[Schedule]\r\nschedulecount=10000\r\n";
    std::vector<std::string> lines;
    char line[96];
    for (int k = 1; k <= 10000; ++k) {
        std::snprintf(line, sizeof line, "schedule%03d=2004%02d%02d00予定%d", k, 1 + k % 12,
                      1 + k % 28, k);
        lines.push_back(line);
        file += lines.back() + "\r\n";
    }
    const std::string path = settings_file_of(dir);
    REQUIRE(write_file(path, file));

    // Before the main window: the notice of the 9,500 entries that stay in the file.
    App app;
    REQUIRE(app_launch(app, dir));
    HWND notice = find_window_of(app.pi.dwProcessId, "#32770", 15000);
    REQUIRE(notice != nullptr);
    CHECK(window_text(notice) == "Tavelspore");
    keep_screenshot(notice, "entries_not_loaded.png");
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    REQUIRE(app_wait_window(app));
    CHECK_EQ(exit_by_menu(app), 0);

    std::string saved;
    REQUIRE(read_file(path, &saved));
    int missing = 0;
    for (const std::string& l : lines) missing += !has_line(saved, l);
    CHECK_EQ(missing, 0);
    CHECK(has_line(saved, "schedulecount=500"));
}
