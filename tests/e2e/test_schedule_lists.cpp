// The schedule lists and the display-month dialog in the real program: a click on a marked
// day lists its memo, the recent list opens after start-up when asked to and stores its
// option, and 表示月 puts a typed month on show.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "calendar/date.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {


struct Today {
    int year, month, day;
};
Today today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

// A fixed window over the given extra settings and schedule lines.
std::string settings_with(const std::string& config, const std::string& schedule) {
    return "[Config]\r\nclock=0\r\n" + config +
           "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n" + schedule;
}

// The entries' tests run on today's date, whatever holidays lie around it.
constexpr char kNoNationalHolidays[] = "NationalHolidays=0\r\n";

bool dialog_gone(HWND dlg) { return IsWindow(dlg) == 0; }

LRESULT sent(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, 5000, &result);
    return (LRESULT)result;
}

// Clicks day of the month on show (year/month) and returns the day contents dialog it opens;
// labels: the line under the numbers is on.
HWND click_day(const App& app, int year, int month, int day, bool labels = false) {
    MonthGrid grid;
    if (!lay_out_month(app, year, month, 0, &grid, labels)) return nullptr;
    const CellRect& cell = grid.cells.day_cells[day - 1];
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(app.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(app.hwnd, WM_LBUTTONUP, 0, at);
    return find_owned_dialog(app.hwnd, 5000);
}

// The day contents' schedule button: the list ends and the dialog that follows is returned.
HWND press_schedule_button(const App& app, HWND day_contents) {
    PostMessageA(day_contents, WM_COMMAND, IDC_DAY_SCHEDULE, 0);
    if (!wait_until(dialog_gone, day_contents)) return nullptr;
    return find_owned_dialog(app.hwnd, 5000);
}

// The date fields of the schedule dialog as "year/month/day".
std::string date_fields(HWND schedule) {
    return window_text(GetDlgItem(schedule, IDC_SCHED_YEAR)) + "/" +
           window_text(GetDlgItem(schedule, IDC_SCHED_MONTH)) + "/" +
           window_text(GetDlgItem(schedule, IDC_SCHED_DAY));
}

}  // namespace

E2E_TEST(click_on_a_marked_day_lists_its_memo) {
    const Today t = today();
    const int day = t.day <= 14 ? t.day + 7 : t.day - 7;  // a day of this month other than today
    const std::string dir = fresh_dir("day_contents");
    REQUIRE(write_file(settings_file_of(dir),
                       settings_with(kNoNationalHolidays, "[Schedule]\r\nschedulecount=2\r\nschedule001=" +
                                             std::to_string(t.year) + two(t.month) + two(day) +
                                             "00会議メモ\r\nschedule002=0000" + two(t.month) + two(day) +
                                             "10毎年の祝日\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    HWND dlg = click_day(app, t.year, t.month, day);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - スケジュール内容");
    char header[64];
    format_list_header(header, sizeof header, t.year, t.month, day, 0);
    CHECK(window_text(GetDlgItem(dlg, IDC_DAY_HEADER)) == header);
    HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
    CHECK_EQ(sent(list, LVM_GETITEMCOUNT, 0, 0), 2);
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 2) == "会議メモ");
    CHECK(remote_item_text(app.pi.hProcess, list, 1, 2) == "毎年の祝日");
    keep_screenshot(dlg, "day_contents.png");

    // The schedule button ends the list and goes on to the schedule dialog, opened on the
    // clicked day of the shown month.
    HWND next = press_schedule_button(app, dlg);
    REQUIRE(next != nullptr);
    CHECK(window_text(next) == "Tavelspore - スケジュールの設定");
    CHECK(date_fields(next) == std::to_string(t.year) + "/" + std::to_string(t.month) + "/" +
                                   std::to_string(day));
    PostMessageA(next, WM_COMMAND, IDCANCEL, 0);
    CHECK_EQ(app_close(app), 0);
}

// A click on 3 May 2019 lists 憲法記念日 first, then the day's entry; the schedule button
// opens the schedule dialog on that date.
E2E_TEST(click_on_a_national_holiday_lists_its_name_first) {
    const std::string dir = fresh_dir("holiday_contents");
    REQUIRE(write_file(settings_file_of(dir),
                       settings_with("", "[Schedule]\r\nschedulecount=1\r\nschedule001=2019050300会議\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    HWND dlg = click_day(app, 2019, 5, 3);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(GetDlgItem(dlg, IDC_DAY_HEADER)) == "2019年 5月 3日(金)");
    HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
    CHECK_EQ(sent(list, LVM_GETITEMCOUNT, 0, 0), 2);
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 2) == "憲法記念日");
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 1) == "");
    CHECK(remote_item_text(app.pi.hProcess, list, 1, 2) == "会議");
    keep_screenshot(dlg, "holiday_contents.png");
    HWND next = press_schedule_button(app, dlg);
    REQUIRE(next != nullptr);
    CHECK(date_fields(next) == "2019/5/3");
    PostMessageA(next, WM_COMMAND, IDCANCEL, 0);
    CHECK_EQ(app_close(app), 0);
}

// With 旧暦・節気 on, the old calendar's row heads a day's contents, before a national
// holiday's name, and 和暦 writes the header's year as the era year; with 六曜 alone the row
// is the day's 六曜. (冬至 on 22 December 2014 was 旧暦 11月1日, 大安.)
E2E_TEST(click_on_a_day_heads_its_contents_with_the_old_calendar) {
    const std::string dir = fresh_dir("almanac_contents");
    REQUIRE(write_file(settings_file_of(dir), settings_with("Rokuyo=1\r\nKyureki=1\r\nWareki=1\r\n", "")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2014, 12));
    const struct {
        int day;
        const char* header;
        std::vector<std::string> rows;
    } days[] = {
        {22, "平成26年12月22日(月)", {"旧暦 11月1日 大安 / 冬至"}},
        {23, "平成26年12月23日(火)", {"旧暦 11月2日 赤口", "天皇誕生日"}},
    };
    for (const auto& d : days) {
        HWND dlg = click_day(app, 2014, 12, d.day, true);
        REQUIRE(dlg != nullptr);
        CHECK(window_text(GetDlgItem(dlg, IDC_DAY_HEADER)) == d.header);
        HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
        CHECK_EQ(sent(list, LVM_GETITEMCOUNT, 0, 0), (LRESULT)d.rows.size());
        for (size_t r = 0; r < d.rows.size(); ++r) {
            CHECK(remote_item_text(app.pi.hProcess, list, (int)r, 2) == d.rows[r]);
            CHECK(remote_item_text(app.pi.hProcess, list, (int)r, 1) == "");
        }
        if (d.day == 22) keep_screenshot(dlg, "almanac_contents.png");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        REQUIRE(wait_until(dialog_gone, dlg));
    }
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_KYUREKI, 0));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
    HWND dlg = click_day(app, 2014, 12, 22, true);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(GetDlgItem(dlg, IDC_DAY_HEADER)) == "2014年12月22日(月)");
    HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
    CHECK_EQ(sent(list, LVM_GETITEMCOUNT, 0, 0), 1);
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 2) == "大安");
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(dialog_gone, dlg));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(recent_list_opens_after_start_when_asked) {
    const Today t = today();
    const std::string dir = fresh_dir("recent_at_start");
    REQUIRE(write_file(settings_file_of(dir),
                       settings_with(std::string(kNoNationalHolidays) + "ToDoBoot=1\r\nToDoWidth=10\r\n",
                                     "[Schedule]\r\nschedulecount=1\r\nschedule001=" + std::to_string(t.year) +
                                         two(t.month) + two(t.day) + "00今日の予定\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - 最近の予定");
    char header[64];
    format_list_header(header, sizeof header, t.year, t.month, t.day, 0);
    CHECK(window_text(GetDlgItem(dlg, IDC_RECENT_HEADER)) == header);
    HWND list = GetDlgItem(dlg, IDC_RECENT_LIST);
    CHECK_EQ(sent(list, LVM_GETITEMCOUNT, 0, 0), 1);
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 0) == "今日");
    CHECK(remote_item_text(app.pi.hProcess, list, 0, 4) == "今日の予定");
    CHECK_EQ(sent(GetDlgItem(dlg, IDC_RECENT_WIDTH), CB_GETCURSEL, 0, 0), 9);
    keep_screenshot(dlg, "recent_schedule.png");

    // Unticked and closed: stored at once, so the next start shows nothing.
    sent(GetDlgItem(dlg, IDC_RECENT_BOOT), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(dialog_gone, dlg));
    const std::string file = settings_once_holding(dir, {"ToDoBoot=0", "ToDoWidth=10"});
    CHECK(file.find("ToDoBoot=0\r\n") != std::string::npos);
    CHECK(file.find("ToDoWidth=10\r\n") != std::string::npos);
    CHECK_EQ(app_close(app), 0);

    App again;
    REQUIRE(app_start(again, dir));
    CHECK(find_owned_dialog(again.hwnd, 1500) == nullptr);
    CHECK_EQ(app_close(again), 0);
}

E2E_TEST(display_month_puts_the_typed_month_on_show) {
    const std::string dir = fresh_dir("display_month");
    REQUIRE(write_file(settings_file_of(dir), settings_with("monthlang=1\r\n", "")));
    App app;
    REQUIRE(app_start(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_DISPLAY_MONTH, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - 表示月");
    HWND year = GetDlgItem(dlg, IDC_DM_YEAR), month = GetDlgItem(dlg, IDC_DM_MONTH);
    sent(year, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (char c : std::string("2012")) sent(year, WM_CHAR, (unsigned char)c, 1);
    sent(month, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    sent(month, WM_CHAR, '3', 1);
    // Followed while the dialog is still open.
    CHECK(window_text(app.hwnd) == "Tavelspore 2012年3月");
    keep_screenshot(dlg, "display_month.png");
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(dialog_gone, dlg));
    CHECK(window_text(app.hwnd) == "Tavelspore 2012年3月");
    CHECK_EQ(app_close(app), 0);
}
