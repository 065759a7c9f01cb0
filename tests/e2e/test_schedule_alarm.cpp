// The schedule dialog and the alarm window in the real program: an entry typed into the
// dialog reaches the settings file, and entries due at the current minute ring at start.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace {


std::string control_text(HWND dlg, int id) {
    char buf[4096] = "";
    DWORD_PTR got = 0;
    SendMessageTimeoutA(GetDlgItem(dlg, id), WM_GETTEXT, sizeof buf,
                        reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000, &got);
    return buf;
}

// Types single-byte text into a control, one character message at a time.
void type(HWND dlg, int id, const char* text) {
    HWND edit = GetDlgItem(dlg, id);
    for (const char* p = text; *p; ++p) send_sync(edit, WM_CHAR, static_cast<unsigned char>(*p), 1);
}


bool enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != 0; }

// "%04d%02d%02d%c%c%s" and "%02d%02d%02d%c" lines of an entry due at now, alarm kind 1.
std::string due_entry(int n, const SYSTEMTIME& now, const char* memo) {
    char s[160], a[64];
    std::snprintf(s, sizeof s, "schedule%03d=%04d%02d%02d01%s\r\n", n, now.wYear, now.wMonth,
                  now.wDay, memo);
    std::snprintf(a, sizeof a, "alarm%03d=%02d%02d001\r\n", n, now.wHour, now.wMinute);
    return std::string(s) + "|" + a;
}

std::string due_block(const SYSTEMTIME& now, const char* memo) {
    char b[200];
    std::snprintf(b, sizeof b, "%d年%d月%d日 %2d:%02d\r\n%s\r\n予定時刻です", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, memo);
    return b;
}

std::string settings_with(const std::vector<std::string>& entries) {
    std::string sched = "[Schedule]\r\nschedulecount=" + std::to_string(entries.size()) + "\r\n";
    std::string alarm = "[Alarm]\r\n";
    for (const auto& e : entries) {
        const size_t bar = e.find('|');
        sched += e.substr(0, bar);
        alarm += e.substr(bar + 1);
    }
    return "[Config]\r\nmethod=0\r\n" + sched + alarm;
}

HWND alarm_window_of(const App& app) {
    HWND w = find_owned_dialog(app.hwnd, 8000);
    return w && window_text(w) == "Tavelspore - アラーム" ? w : nullptr;
}

}  // namespace

E2E_TEST(an_entry_typed_into_the_schedule_dialog_is_saved) {
    App app;
    REQUIRE(app_start(app, fresh_dir("schedule_add")));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_SCHEDULE, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - スケジュールの設定");
    CHECK(!enabled(dlg, IDC_SCHED_ADD));
    CHECK(enabled(dlg, IDC_SCHED_ALARM));  // any entry may ring: one without a time on its day
    CHECK(!enabled(dlg, IDC_SCHED_BEFORE));

    send_sync(GetDlgItem(dlg, IDC_SCHED_MEMO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("会議"));
    type(dlg, IDC_SCHED_YEAR, "2030");
    type(dlg, IDC_SCHED_MONTH, "6");
    CHECK(!enabled(dlg, IDC_SCHED_ADD));  // no day yet
    type(dlg, IDC_SCHED_DAY, "1");
    CHECK(enabled(dlg, IDC_SCHED_ADD));
    type(dlg, IDC_SCHED_HOUR, "9");
    type(dlg, IDC_SCHED_MINUTE, "5");
    CHECK(enabled(dlg, IDC_SCHED_ALARM));
    press(dlg, IDC_SCHED_ALARM);
    CHECK(enabled(dlg, IDC_SCHED_BEFORE));
    SendMessageA(GetDlgItem(dlg, IDC_SCHED_BEFORE), EM_SETSEL, 0, -1);
    type(dlg, IDC_SCHED_BEFORE, "15");
    press(dlg, IDC_SCHED_SOUND_ON);
    CHECK(enabled(dlg, IDC_SCHED_SOUND_FILE));
    type(dlg, IDC_SCHED_SOUND_FILE, "C:\\s\\a.wav");
    press(dlg, IDC_SCHED_ADD);
    // The minute came back normalised, and the row is in the list.
    CHECK(control_text(dlg, IDC_SCHED_MINUTE) == "05");
    DWORD_PTR rows = 0;
    SendMessageTimeoutA(GetDlgItem(dlg, IDC_SCHED_LIST), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL,
                        5000, &rows);
    CHECK_EQ((int)rows, 1);
    keep_screenshot(dlg, "schedule_dialog.png");
    press(dlg, IDOK);
    REQUIRE(wait_until(is_gone, dlg));
    CHECK(send_sync(app.hwnd, WM_NULL, 0, 0));  // the command has returned: saved by now

    // Saved at once, before the program ends.
    const std::string saved = settings_once_holding(
        app.dir, {"schedulecount=1", "schedule001=2030060101会議", "alarm001=0905153C:\\s\\a.wav"});
    CHECK(has_line(saved, "schedulecount=1"));
    CHECK(has_line(saved, "schedule001=2030060101会議"));
    CHECK(has_line(saved, "alarm001=0905153C:\\s\\a.wav"));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(an_alarm_due_now_shows_its_window_at_start) {
    const std::string dir = fresh_dir("alarm_due");
    const SYSTEMTIME now = settled_now();
    REQUIRE(write_file(settings_file_of(dir), settings_with({due_entry(1, now, "打合せ")})));
    App app;
    REQUIRE(app_start(app, dir));
    HWND w = alarm_window_of(app);
    REQUIRE(w != nullptr);
    CHECK(control_text(w, IDC_ALARM_TEXT) == due_block(now, "打合せ"));
    CHECK((GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    CHECK(!IsWindowVisible(GetDlgItem(w, IDC_ALARM_STOP_SOUND)));  // no sound: no sound button
    keep_screenshot(w, "alarm_window.png");
    press(w, IDCANCEL);
    CHECK(wait_until(is_gone, w));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(two_alarms_due_at_once_both_show) {
    const std::string dir = fresh_dir("alarm_two");
    const SYSTEMTIME now = settled_now();
    REQUIRE(write_file(settings_file_of(dir),
                       settings_with({due_entry(1, now, "A会議"), due_entry(2, now, "B会議")})));
    App app;
    REQUIRE(app_start(app, dir));
    HWND w = alarm_window_of(app);
    REQUIRE(w != nullptr);
    CHECK(control_text(w, IDC_ALARM_TEXT) == due_block(now, "A会議") + "\r\n\r\n" + due_block(now, "B会議"));
    CHECK_EQ(app_close(app), 0);
}
