// The day contents (206) and recent schedule (208) dialogs run in this process over the
// schedule list: captions, headers, columns, rows with their holiday images, results, the
// days-ahead combo box and its rebuild, and the start-up option taken at OK.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "dialogs/day_contents_win.h"
#include "dialogs/recent_schedule_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"

namespace {

using win_test::ModalDriver;

using win_test::row_count;
using win_test::row_image;
using win_test::row_text;
using win_test::text_of;

LocalTime g_now = {2004, 12, 20, 9, 0, 0};
LocalTime fixed_clock() { return g_now; }

void add_entry(int year, int month, int day, const char* memo, int holiday = 0, int hour = -1,
               int minute = -1, int alarm_kind = 0) {
    append_entry(&schedule, make_entry(year, month, day, holiday, memo, hour, minute, alarm_kind));
}

// Every row as its texts joined with "|", the image first.
std::vector<std::string> rows_of(HWND list, int columns) {
    std::vector<std::string> rows;
    for (int r = 0; r < row_count(list); ++r) {
        std::string row = std::to_string(row_image(list, r));
        for (int c = 0; c < columns; ++c) row += "|" + row_text(list, r, c);
        rows.push_back(row);
    }
    return rows;
}

struct Column {
    const char* title;
    int fmt;
    const char* sample;  // width: this text's pixel width plus extra; nullptr: extra only
    int extra;
};

void expect_columns(HWND list, const std::vector<Column>& want, int autosized) {
    for (size_t i = 0; i < want.size(); ++i) {
        char title[64] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        col.pszText = title;
        col.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&col))) << i;
        EXPECT_EQ(std::string(title), want[i].title) << i;
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, want[i].fmt) << i;
        if ((int)i == autosized) continue;
        int width = want[i].extra;
        if (want[i].sample)
            width += (int)SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(want[i].sample));
        EXPECT_EQ(col.cx, width) << i;
    }
    LVCOLUMNA extra = {};
    extra.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, want.size(), reinterpret_cast<LPARAM>(&extra)));
}

// The holiday images are the list's small images: two of 16 x 16, shared with the list (it
// never destroys them itself).
void expect_holiday_images(HWND list) {
    EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

class ScheduleListDialogs : public testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        g_now = {2004, 12, 20, 9, 0, 0};
        set_clock_source(fixed_clock);
    }
    void TearDown() override { win_test::reset_program_globals(); }

    static DayContentsResult open_day(int y, int m, int d, const DayContentsShows& shows = {}) {
        ViewState view;
        view.shown_year = y;
        view.shown_month = m;
        view.clicked_day = d;
        return day_contents_dialog(nullptr, view, schedule, shows);
    }
};

TEST_F(ScheduleListDialogs, DayContentsListTheDaysEntriesInListOrder) {
    add_entry(-1, 1, 99, "成人の日", 1);              // 10 January 2000
    add_entry(2000, 1, 10, "会議", 0, 9, 5, 1);
    add_entry(2000, 1, 15, "not this day");
    add_entry(-1, 1, 10, "毎年", 2, 23, 59, 0);       // any holiday byte shows the flag
    add_entry(2001, 1, 10, "another year");
    ModalDriver driver({[](HWND dlg) {
        EXPECT_EQ(text_of(dlg), "Tavelspore - スケジュール内容");
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_DAY_HEADER)), "2000年 1月10日(月)");
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_DAY_SCHEDULE)), "スケジュール設定(&S)");
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDOK)), "OK");
        HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
        expect_columns(list, {{"", LVCFMT_LEFT, nullptr, 20}, {"時刻", LVCFMT_CENTER, "99:9900", 0},
                              {"メモ", LVCFMT_LEFT, nullptr, 0}},
                       2);
        expect_holiday_images(list);
        EXPECT_EQ(rows_of(list, 3),
                  (std::vector<std::string>{"1|||成人の日", "0|| 9:05|会議",
                                            "1||23:59|毎年"}));
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDOK));
        EXPECT_FALSE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SINGLESEL);
        PostMessageA(dlg, WM_COMMAND, IDC_DAY_SCHEDULE, 0);
    }});
    EXPECT_EQ(driver.run([] { return open_day(2000, 1, 10); }), DayContentsResult::kToSchedule);
}

// With the holidays shown, a national holiday's name heads the day's rows with the flag and
// no time; an ordinary day and the switch off list the entries only.
TEST_F(ScheduleListDialogs, DayContentsNameTheNationalHolidayFirst) {
    add_entry(-1, 5, 3, "毎年", 0, 9, 0);
    add_entry(2019, 5, 6, "振替の日", 1);
    static const struct {
        int d, national;
        std::vector<std::string> rows;
    } cases[] = {
        {3, 1, {"1|||憲法記念日", "0|| 9:00|毎年"}},
        {3, 0, {"0|| 9:00|毎年"}},
        {6, 1, {"1|||振替休日", "1|||振替の日"}},
        {2, 1, {"1|||国民の休日"}},
        {7, 1, {}},
    };
    for (const auto& c : cases) {
        ModalDriver driver({[&c](HWND dlg) {
            EXPECT_EQ(rows_of(GetDlgItem(dlg, IDC_DAY_LIST), 3), c.rows) << c.d << " " << c.national;
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(driver.run([&c] { return open_day(2019, 5, c.d, {c.national, 0, 0, 0}); }), DayContentsResult::kClosed);
    }
}

// The old calendar's row heads the day's rows, before a national holiday's and the entries':
// the whole line with 旧暦・節気 on, the 六曜 alone with 六曜 on; 和暦 writes the header's year
// as the era year of the day.
TEST_F(ScheduleListDialogs, DayContentsHeadWithTheOldCalendar) {
    add_entry(2014, 12, 23, "忘年会", 0, 19, 0);
    static const struct {
        int d;
        DayContentsShows shows;
        const char* header;
        std::vector<std::string> rows;
    } cases[] = {
        {22, {1, 0, 1, 1}, "平成26年12月22日(月)", {"0|||旧暦 11月1日 大安 / 冬至"}},
        {22, {1, 1, 0, 0}, "2014年12月22日(月)", {"0|||大安"}},
        {22, {1, 0, 0, 1}, "平成26年12月22日(月)", {}},
        {23, {1, 1, 1, 0}, "2014年12月23日(火)",
         {"0|||旧暦 11月2日 赤口", "1|||天皇誕生日", "0||19:00|忘年会"}},
        {23, {0, 1, 0, 0}, "2014年12月23日(火)", {"0|||赤口", "0||19:00|忘年会"}},
    };
    for (const auto& c : cases) {
        ModalDriver driver({[&c](HWND dlg) {
            EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_DAY_HEADER)), c.header);
            EXPECT_EQ(rows_of(GetDlgItem(dlg, IDC_DAY_LIST), 3), c.rows);
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(driver.run([&c] { return open_day(2014, 12, c.d, c.shows); }), DayContentsResult::kClosed)
            << c.d << " " << c.shows.rokuyo << c.shows.kyureki;
    }
}

// OK, Enter and Alt+F4 end with 0, the schedule button with 1; Esc is ignored.
TEST_F(ScheduleListDialogs, DayContentsResults) {
    struct Case {
        const char* what;
        UINT msg;
        WPARAM wp;
        DayContentsResult result;
    } cases[] = {
        {"OK", WM_COMMAND, IDOK, DayContentsResult::kClosed},
        {"schedule", WM_COMMAND, IDC_DAY_SCHEDULE, DayContentsResult::kToSchedule},
        {"Alt+F4", WM_SYSCOMMAND, SC_CLOSE, DayContentsResult::kClosed},
        {"Esc, as its close button", WM_COMMAND, IDCANCEL, DayContentsResult::kClosed},
    };
    for (const Case& c : cases) {
        ModalDriver driver({[](HWND dlg) {
                                // Nothing is listed on an empty day.
                                EXPECT_EQ(row_count(GetDlgItem(dlg, IDC_DAY_LIST)), 0);
                                EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_DAY_HEADER)), "2004年12月20日(月)");
                            },
                            [&c](HWND dlg) { PostMessageA(dlg, c.msg, c.wp, 0); }});
        EXPECT_EQ(driver.run([] { return open_day(2004, 12, 20); }), c.result) << c.what;
    }
}

// The entry handed on to the schedule dialog: the one double-clicked, or selected when the
// schedule button is pressed; none for the holiday's row, a click beside the rows, or no
// selection. A double click on a row of no entry keeps the dialog open.
TEST_F(ScheduleListDialogs, DayContentsHandAnEntryToTheScheduleDialog) {
    add_entry(2019, 5, 3, "not this day", 0);
    add_entry(2019, 5, 3, "unused");
    add_entry(2019, 5, 4, "other day");
    add_entry(2019, 5, 3, "会議", 0, 10, 0);
    schedule.entries[0].day = 2;  // list: day 2, day 3 "unused", day 4, day 3 "会議"
    struct Case {
        const char* what;
        int row;          // the row acted on: 0 is 憲法記念日, 1 "unused", 2 "会議"
        bool double_click;
        DayContentsResult result;
        int entry;
    } cases[] = {
        {"double click", 2, true, DayContentsResult::kToSchedule, 3},
        {"selected, button", 1, false, DayContentsResult::kToSchedule, 1},
        {"holiday selected, button", 0, false, DayContentsResult::kToSchedule, -1},
        {"nothing selected, button", -1, false, DayContentsResult::kToSchedule, -1},
        {"double click on the holiday", 0, true, DayContentsResult::kClosed, -1},
    };
    for (const Case& c : cases) {
        int entry = 99;
        ModalDriver driver({[&c](HWND dlg) {
            HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
            ASSERT_EQ(row_count(list), 3);
            if (c.row >= 0) win_test::select_rows(list, {c.row});
            if (!c.double_click) {
                PostMessageA(dlg, WM_COMMAND, IDC_DAY_SCHEDULE, 0);
                return;
            }
            RECT r = {};
            r.left = LVIR_BOUNDS;
            SendMessageA(list, LVM_GETITEMRECT, c.row, reinterpret_cast<LPARAM>(&r));
            const LPARAM at = MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
            SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(list, WM_LBUTTONUP, 0, at);
            SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            SendMessageA(list, WM_LBUTTONUP, 0, at);
            if (IsWindow(dlg)) PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }});
        const DayContentsResult r = driver.run([&] {
            ViewState view;
            view.shown_year = 2019;
            view.shown_month = 5;
            view.clicked_day = 3;
            return day_contents_dialog(nullptr, view, schedule, DayContentsShows{1, 0, 0, 0}, &entry);
        });
        EXPECT_EQ(r, c.result) << c.what;
        EXPECT_EQ(entry, c.entry) << c.what;
    }
}

// A spanning entry is listed on each of its days, a repeating one on each occurrence; a time
// with its end widens the time column to show it whole.
TEST_F(ScheduleListDialogs, DayContentsOfSpansAndRepeats) {
    ScheduleEntry weekly = make_entry(2004, 12, 6, 0, "週次", 14, 0, 1);
    weekly.repeat.kind = RepeatKind::kWeekly;
    weekly.repeat.interval = 1;
    weekly.repeat.weekdays = 1 << 1;
    weekly.has_end_time = 1, weekly.end_hour = 15, weekly.end_minute = 30;
    append_entry(&schedule, weekly);
    ScheduleEntry vacation = make_entry(2004, 12, 18, 1, "休暇");
    vacation.span_days = 4;
    append_entry(&schedule, vacation);
    static const struct {
        int d;
        std::vector<std::string> rows;
        bool wide;
    } cases[] = {
        {20, {"0||14:00〜15:30|週次", "1|||休暇"}, true},
        {22, {"1|||休暇"}, false},
        {23, {}, false},
        {27, {"0||14:00〜15:30|週次"}, true},
    };
    for (const auto& c : cases) {
        ModalDriver driver({[&c](HWND dlg) {
            HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
            EXPECT_EQ(rows_of(list, 3), c.rows) << c.d;
            const int width = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0);
            const int narrow = (int)SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>("99:9900"));
            const int wide = (int)SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(kTimeRangeSample));
            EXPECT_EQ(width, c.wide ? wide : narrow) << c.d;
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(driver.run([&c] { return open_day(2004, 12, c.d); }), DayContentsResult::kClosed);
    }
}

// Whatever the list's template says, the list shares the images: they outlive its window and
// go with their holder, once.
TEST(ListImagesTest, OutliveTheListAndGoWithTheirHolder) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    for (const DWORD style : {DWORD{LVS_REPORT}, DWORD{LVS_REPORT | LVS_SHAREIMAGELISTS}}) {
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, 100, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        HIMAGELIST images = nullptr;
        {
            ListImages holder;
            holder.attach(list);
            images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
            ASSERT_NE(images, nullptr) << style;
            EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS) << style;
            DestroyWindow(list);
            EXPECT_EQ(ImageList_GetImageCount(images), 2) << style;
        }
    }
}

TEST_F(ScheduleListDialogs, RecentListFromToday) {
    // Today is 20 December 2004 (Monday).
    add_entry(-1, 1, 5, "新年会", 0, 18, 30, 1);      // next year: 16 days
    add_entry(2004, 12, 20, "today", 1);
    add_entry(-1, 12, 19, "passed");
    add_entry(2004, 12, 21, "tomorrow", 0, 10, 0, 0);
    add_entry(2004, 12, 22, "day after", 0, -1, -1, 2);  // an alarm without time shows no "A"
    add_entry(2004, 12, 30, "ten");
    add_entry(2004, 12, 31, "eleven");
    settings.ToDoBoot = 1;
    settings.ToDoWidth = 10;
    ModalDriver driver({[](HWND dlg) {
        EXPECT_EQ(text_of(dlg), "Tavelspore - 最近の予定");
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_RECENT_HEADER)), "2004年12月20日(月)");
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_RECENT_BOOT)), "起動時に表示");
        EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RECENT_BOOT), (UINT)BST_CHECKED);
        HWND list = GetDlgItem(dlg, IDC_RECENT_LIST);
        expect_columns(list, {{"", LVCFMT_LEFT, "99日後9", 20}, {"月日", LVCFMT_CENTER, "99月99日(99)00", 0},
                              {"時刻", LVCFMT_CENTER, "99:9900", 0}, {"A", LVCFMT_CENTER, "999_", 0},
                              {"メモ", LVCFMT_LEFT, nullptr, 0}},
                       4);
        expect_holiday_images(list);
        EXPECT_EQ(rows_of(list, 5), (std::vector<std::string>{
                                        "1|今日|12月20日(月)|||today",
                                        "0|明日|12月21日(火)|10:00||tomorrow",
                                        "0|明後日|12月22日(水)|||day after",
                                        "0|10日後|12月30日(木)|||ten",
                                    }));
        HWND combo = GetDlgItem(dlg, IDC_RECENT_WIDTH);
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 99);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 9);
        char item[8] = "";
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, " 1");
        SendMessageA(combo, CB_GETLBTEXT, 98, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, "99");
        SendMessageA(combo, CB_GETLBTEXT, 15, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, "16");
        // 16 days: the every-year entry of January comes in, with its alarm mark.
        SendMessageA(combo, CB_SETCURSEL, 15, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_RECENT_WIDTH, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(combo));
        EXPECT_EQ(settings.ToDoWidth, 16);
        // The rows in date order: it comes last.
        const std::vector<std::string> rows = rows_of(list, 5);
        ASSERT_EQ(rows.size(), 6u);
        EXPECT_EQ(rows[0], "1|今日|12月20日(月)|||today");
        EXPECT_EQ(rows[4], "0|11日後|12月31日(金)|||eleven");
        EXPECT_EQ(rows[5], "0|16日後| 1月 5日(水)|18:30|A|新年会");
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 15);
        CheckDlgButton(dlg, IDC_RECENT_BOOT, BST_UNCHECKED);
    },
                        [](HWND dlg) {
                            EXPECT_EQ(settings.ToDoBoot, 1);  // taken only at OK
                            // Esc closes the list as its OK does, taking the box.
                            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                        }});
    driver.run([] {
        recent_schedule_dialog(nullptr, schedule, &settings.ToDoBoot, &settings.ToDoWidth, 0);
        return 0;
    });
    EXPECT_EQ(settings.ToDoBoot, 0);
    EXPECT_EQ(settings.ToDoWidth, 16);
}

// With the holidays shown, the national holidays of the range follow the entries' rows in date
// order, with their labels and the flag; a wider range brings in more of them at once.
TEST_F(ScheduleListDialogs, RecentListsTheNationalHolidaysAfterTheEntries) {
    // Today is 20 December 2004; 20 March 2005 is a Sunday.
    add_entry(2005, 1, 1, "初詣", 0, 10, 0, 1);
    settings.ToDoWidth = 12;
    ModalDriver driver({[](HWND dlg) {
        HWND list = GetDlgItem(dlg, IDC_RECENT_LIST);
        EXPECT_EQ(rows_of(list, 5), (std::vector<std::string>{
                                        "0|12日後| 1月 1日(土)|10:00|A|初詣",
                                        "1| 3日後|12月23日(木)|||天皇誕生日",
                                        "1|12日後| 1月 1日(土)|||元日",
                                    }));
        HWND combo = GetDlgItem(dlg, IDC_RECENT_WIDTH);
        SendMessageA(combo, CB_SETCURSEL, 98, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_RECENT_WIDTH, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        EXPECT_EQ(rows_of(list, 5), (std::vector<std::string>{
                                        "0|12日後| 1月 1日(土)|10:00|A|初詣",
                                        "1| 3日後|12月23日(木)|||天皇誕生日",
                                        "1|12日後| 1月 1日(土)|||元日",
                                        "1|21日後| 1月10日(月)|||成人の日",
                                        "1|53日後| 2月11日(金)|||建国記念の日",
                                        "1|90日後| 3月20日(日)|||春分の日",
                                        "1|91日後| 3月21日(月)|||振替休日",
                                    }));
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([] {
        recent_schedule_dialog(nullptr, schedule, &settings.ToDoBoot, &settings.ToDoWidth, 1);
        return 0;
    });
}

// Picking the same number changes nothing; another number rebuilds at once, with today
// read anew; other notifications from the box do nothing.
TEST_F(ScheduleListDialogs, RecentRebuildsOnlyOnAnotherNumber) {
    add_entry(2004, 12, 21, "first");
    settings.ToDoWidth = 10;
    auto pick = [](HWND dlg, int index, int code) {
        HWND combo = GetDlgItem(dlg, IDC_RECENT_WIDTH);
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_RECENT_WIDTH, code), reinterpret_cast<LPARAM>(combo));
    };
    ModalDriver driver({[&pick](HWND dlg) {
        HWND list = GetDlgItem(dlg, IDC_RECENT_LIST);
        ASSERT_EQ(row_count(list), 1);
        add_entry(2004, 12, 22, "added while open");
        g_now = {2004, 12, 21, 9, 0, 0};
        pick(dlg, 9, CBN_SELENDOK);  // the same 10 days
        EXPECT_EQ(row_count(list), 1);
        pick(dlg, 4, CBN_SELCHANGE);
        EXPECT_EQ(row_count(list), 1);
        EXPECT_EQ(settings.ToDoWidth, 10);
        pick(dlg, 4, CBN_SELENDOK);
        EXPECT_EQ(settings.ToDoWidth, 5);
        EXPECT_EQ(rows_of(list, 1), (std::vector<std::string>{"0|今日", "0|明日"}));
        EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_RECENT_HEADER)), "2004年12月21日(火)");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([] {
        recent_schedule_dialog(nullptr, schedule, &settings.ToDoBoot, &settings.ToDoWidth, 0);
        return 0;
    });
    EXPECT_EQ(settings.ToDoBoot, 0);
}

// A stored width outside 1..99 is shown and used clamped, and stays as stored until the user
// picks a number.
TEST_F(ScheduleListDialogs, StoredWidthOutsideTheRange) {
    struct Case {
        int stored, index;
    } cases[] = {{150, 98}, {0, 0}, {-3, 0}};
    for (const Case& c : cases) {
        schedule.count = 0;
        add_entry(2004, 12, 21, "tomorrow");
        add_entry(2005, 3, 29, "99 days");
        add_entry(2005, 3, 30, "100 days");
        settings.ToDoWidth = c.stored;
        ModalDriver driver({[&c](HWND dlg) {
            EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_RECENT_WIDTH, CB_GETCURSEL, 0, 0), c.index) << c.stored;
            EXPECT_EQ(row_count(GetDlgItem(dlg, IDC_RECENT_LIST)), c.stored > 99 ? 2 : 1) << c.stored;
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }});
        driver.run([] {
            recent_schedule_dialog(nullptr, schedule, &settings.ToDoBoot, &settings.ToDoWidth, 0);
            return 0;
        });
        EXPECT_EQ(settings.ToDoWidth, c.stored);
    }
}

}  // namespace
