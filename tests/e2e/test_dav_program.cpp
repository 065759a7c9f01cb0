// The program's calendar sync against a real calendar server, which tests/dav/test_dav.py
// starts and checks with an independent client; run only from there, which names these
// tests and gives the calendar's address in ZELMAR_DAV_CALENDAR and the user in
// ZELMAR_DAV_USER (the password is already in the Credential Manager). The account is set
// in the settings file, the sync started by 今すぐ同期 as the menu sends it, and its end seen
// in the sync's journal beside the settings file.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "resources/resource.h"
#include "schedule/schedule_sections.h"
#include "tests/e2e/fake_taskbar.h"
#include "tests/e2e/harness.h"

namespace {

struct Seed {
    const char* value;  // "schedule%03d"
    const char* alarm;  // "alarm%03d", nullptr none
    const char* uid;
    const char* rrule;  // nullptr none
};

// A timed entry with an alarm, a weekly series with a time, an all-day entry, one every year.
const Seed kSeeds[] = {
    {"2026121501同期会議", "0930151", "prog-meeting-1", nullptr},
    {"2026121601週次定例", "1000000", "prog-weekly-1", "FREQ=WEEKLY;BYDAY=WE"},
    {"2026121700終日予定", nullptr, "prog-allday-1", nullptr},
    {"0000121900記念日", nullptr, "prog-yearly-1", nullptr},
};

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The account, syncing by itself (at start) or only when asked.
std::string settings_with_account(const std::string& calendar, bool automatic) {
    std::string s = "[Config]\r\nclock=0\r\n[Sync]\r\nAddress=" + calendar + "\r\nUser=" +
                    env("ZELMAR_DAV_USER") + "\r\nEnabled=" + (automatic ? "1" : "0") +
                    "\r\nInterval=15\r\n";
    std::string sched = "[Schedule]\r\nschedulecount=4\r\n", alarms = "[Alarm]\r\n",
                extra = "[ScheduleExtra]\r\n";
    char key[32];
    int n = 0, with_alarm = 0;
    for (const Seed& e : kSeeds) {
        wsprintfA(key, "schedule%03d=", ++n);
        sched += key + std::string(e.value) + "\r\n";
        if (e.alarm) {
            wsprintfA(key, "alarm%03d=", ++with_alarm);
            alarms += key + std::string(e.alarm) + "\r\n";
        }
        const std::string k = extra_key(slot_digest(e.value, e.alarm ? e.alarm : ""), 1);
        extra += k + ".uid=" + e.uid + "\r\n";
        if (e.rrule) extra += k + ".rrule=" + e.rrule + "\r\n";
    }
    return s + sched + alarms + extra;
}

std::string journal_of(const std::string& dir) {
    std::string cfg = settings_file_of(dir);
    return cfg.substr(0, cfg.size() - 4) + ".sync";
}

FILETIME written(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return FILETIME{0, 0};
    return a.ftLastWriteTime;
}

// 今すぐ同期, then the sync's end: its journal written anew (a failed sync writes it too).
bool sync_now(const App& app, DWORD wait_ms = 60000) {
    const std::string journal = journal_of(app.dir);
    const FILETIME before = written(journal);
    if (!send_sync(app.hwnd, WM_COMMAND, CMD_SYNC_NOW, 0)) return false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < wait_ms) {
        const FILETIME now = written(journal);
        if (CompareFileTime(&now, &before) != 0) return true;
        Sleep(50);
    }
    return false;
}

// The program's entries go to the server (checked there by the independent client), the
// server's event comes into the settings file, the tray tip says when; a second sync
// changes nothing.
E2E_TEST(dav_program_syncs_both_ways) {
    const std::string calendar = env("ZELMAR_DAV_CALENDAR");
    REQUIRE(!calendar.empty());
    FakeTaskbar taskbar;
    REQUIRE(taskbar.up());
    App app;
    const std::string dir = fresh_dir("dav_program");
    REQUIRE(write_file(settings_file_of(dir), settings_with_account(calendar, false)));
    REQUIRE(set_seam_clock(dir, "202612101405"));
    REQUIRE(app_start_seam(app, dir));
    char date[64];
    format_tray_tip(date, sizeof date, 2026, 12, 10, 1, 0);
    CHECK(taskbar.wait_for_tip(date));
    REQUIRE(sync_now(app));
    CHECK(taskbar.wait_for_tip((std::string(date) + "\n同期: 12/10 14:05").c_str()));
    // The server's event, with its time and alarm, in the settings file as the program saves.
    const std::string server_memo = "サーバーの予定";
    CHECK(file_holds(settings_file_of(dir), server_memo));
    CHECK(file_holds(settings_file_of(dir), "2026121801" + server_memo));
    CHECK(file_holds(settings_file_of(dir), "1400101"));  // 14:00, 10 minutes before, window
    CHECK(sync_now(app));
    Sleep(300);
    CHECK_EQ(messages_said(dir).size(), size_t(0));
    CHECK_EQ(app_close(app), 0);
}

// A refused password is told once, however often the sync runs, and changes nothing. The
// account syncs by itself: the first sync comes at start.
E2E_TEST(dav_program_wrong_password_told_once) {
    const std::string calendar = env("ZELMAR_DAV_CALENDAR");
    REQUIRE(!calendar.empty());
    App app;
    const std::string dir = fresh_dir("dav_refused");
    REQUIRE(write_file(settings_file_of(dir), settings_with_account(calendar, true)));
    REQUIRE(app_start_seam(app, dir));
    HWND box = find_owned_dialog(app.hwnd, 30000);
    REQUIRE(box != nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Sleep(300);
    CHECK(sync_now(app));
    Sleep(300);
    CHECK(sync_now(app));
    Sleep(500);
    CHECK(find_owned_dialog(app.hwnd, 300) == nullptr);
    const std::vector<std::string> said = messages_said(dir);
    CHECK_EQ(said.size(), size_t(1));
    if (!said.empty())
        CHECK(said[0] == "カレンダーの同期に失敗しました。\nユーザー名またはパスワードが正しくありません。");
    CHECK_EQ(app_close(app), 0);
    std::string file;
    CHECK(read_file(settings_file_of(dir), &file));
    CHECK(file.find("schedulecount=4\r\n") != std::string::npos);
}

}  // namespace
