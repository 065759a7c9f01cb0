// The main window in this process: creation (placement, frame, menus, z-order, first tick),
// commands, mouse handling on the laid-out month, the tick with alarms, saving and the
// notices that saving gives.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

using namespace win_test;

TEST_F(MainWindow, CreationFrameMenusAndFirstTick) {
    open("");
    EXPECT_EQ(frame_style(hwnd_), WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW),
              WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW);
    // One menu bar entry whose drop-down is menu 210, also the popup menu.
    HMENU bar = GetMenu(hwnd_);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, main_state.menu_bar.get());
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(menu_text(bar, 0, MF_BYPOSITION), "設定(&S)");
    ASSERT_NE(menu(), nullptr);
    EXPECT_EQ(GetSubMenu(bar, 0), menu());
    EXPECT_FALSE(checked(menu(), CMD_ALWAYS_ON_TOP));
    EXPECT_FALSE(checked(menu(), CMD_NO_TITLE_BAR));
    // Default place: 340 x 340 centred on the screen.
    RECT r;
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.right - r.left, 340);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 340) / 2);
    // The first tick ran during creation.
    EXPECT_TRUE(main_state.timer_running);
    EXPECT_EQ(main_state.tick.last_day, 5);
    EXPECT_STREQ(tray_tip(), "2004年5月5日(水) こどもの日");
    EXPECT_EQ(main_state.view.shown_year, 2004);
    EXPECT_EQ(main_state.view.shown_month, 5);
    // The paint laid out the month: buttons, header band and the 31 days of May.
    EXPECT_GT(main_state.header_height, 2);
    EXPECT_EQ(main_state.left_arrow_rect.left, 4);
    EXPECT_NE(main_state.day_cells[30].left, -1);
    EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2004年5月");
    // The surface has the client size.
    RECT c;
    GetClientRect(hwnd_, &c);
    EXPECT_EQ(surface_width(), c.right);
    EXPECT_EQ(surface_height(), c.bottom);
}

TEST_F(MainWindow, SavedPlaceIsMovedOntoTheScreenAndFlagsApply) {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    char file[512];
    std::snprintf(file, sizeof file,
                  "[Config]\r\nfront=8\r\ntitlebar=8\r\n[DispSet1]\r\nreso=%s\r\nx1=%d\r\ny1=-40\r\n"
                  "x2=%d\r\ny2=260\r\n",
                  resolution().c_str(), sw - 100, sw + 200);
    open(file);
    RECT r;
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.right, sw);  // ends at the right edge
    EXPECT_EQ(r.left, sw - 300);
    EXPECT_EQ(r.top, 0);     // never negative
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(settings.x1, sw - 300);
    EXPECT_EQ(settings.x2, sw + 200);  // the far corner stays as saved
    EXPECT_EQ(frame_style(hwnd_), 0x808E0000u);
    EXPECT_EQ(GetMenu(hwnd_), nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(checked(menu(), CMD_ALWAYS_ON_TOP));
    EXPECT_TRUE(checked(menu(), CMD_NO_TITLE_BAR));
}

TEST_F(MainWindow, HideAndShowGreyTheMenu) {
    open("");
    const UINT greyable[] = {CMD_RESET_MONTH, CMD_RESTORE_POSITION, CMD_SAVE_POSITION};
    command(CMD_HIDE_SHOW);
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_EQ(menu_text(menu(), CMD_HIDE_SHOW), "表示(&D)");
    EXPECT_TRUE(greyed(menu(), 1, MF_BYPOSITION));  // the 設定(&S) submenu
    for (UINT id : greyable) EXPECT_TRUE(greyed(menu(), id)) << id;
    EXPECT_FALSE(greyed(menu(), CMD_ABOUT));

    // A second start shows the window, but the menu still offers "show".
    command(CMD_BRING_TO_FRONT);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(menu_text(menu(), CMD_HIDE_SHOW), "表示(&D)");

    command(CMD_HIDE_SHOW);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(menu_text(menu(), CMD_HIDE_SHOW), "非表示(&D)");
    EXPECT_FALSE(greyed(menu(), 1, MF_BYPOSITION));
    for (UINT id : greyable) EXPECT_FALSE(greyed(menu(), id)) << id;
}

TEST_F(MainWindow, TrayLeftClickShowsAHiddenWindow) {
    open("");
    command(CMD_HIDE_SHOW);
    ASSERT_FALSE(IsWindowVisible(hwnd_));
    SendMessageA(hwnd_, kTrayCallback, 12345, WM_LBUTTONDOWN);  // another icon: ignored
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    SendMessageA(hwnd_, kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_TRUE(main_state.window_visible);
    EXPECT_EQ(menu_text(menu(), CMD_HIDE_SHOW), "非表示(&D)");
}

TEST_F(MainWindow, AlwaysOnTopAndTitleBarToggleAndAreSaved) {
    open("");
    command(CMD_ALWAYS_ON_TOP);
    EXPECT_EQ(settings.front, 8);
    EXPECT_TRUE(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(checked(menu(), CMD_ALWAYS_ON_TOP));
    EXPECT_NE(win_test::get_file(path_).find("front=8\r\n"), std::string::npos);
    command(CMD_ALWAYS_ON_TOP);
    EXPECT_EQ(settings.front, 0);
    EXPECT_FALSE(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(checked(menu(), CMD_ALWAYS_ON_TOP));
    EXPECT_NE(win_test::get_file(path_).find("front=0\r\n"), std::string::npos);

    RECT before, client_before;
    GetWindowRect(hwnd_, &before);
    GetClientRect(hwnd_, &client_before);
    command(CMD_NO_TITLE_BAR);
    EXPECT_EQ(settings.titlebar, 8);
    EXPECT_EQ(frame_style(hwnd_), 0x808E0000u);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_EQ(GetMenu(hwnd_), nullptr);
    EXPECT_TRUE(checked(menu(), CMD_NO_TITLE_BAR));
    RECT after, client_after;
    GetWindowRect(hwnd_, &after);
    GetClientRect(hwnd_, &client_after);
    EXPECT_TRUE(EqualRect(&before, &after));  // the outer rectangle stays
    EXPECT_GT(client_after.bottom, client_before.bottom);
    EXPECT_EQ(surface_height(), client_after.bottom);
    EXPECT_NE(win_test::get_file(path_).find("titlebar=8\r\n"), std::string::npos);
    command(CMD_NO_TITLE_BAR);
    EXPECT_EQ(GetMenu(hwnd_), main_state.menu_bar.get());
    EXPECT_EQ(frame_style(hwnd_), WS_OVERLAPPEDWINDOW);
}

TEST_F(MainWindow, ArrowsStepTheMonthOnRelease) {
    open("");
    const CellRect left = main_state.left_arrow_rect, right = main_state.right_arrow_rect;
    struct Case {
        UINT down, up;
        const CellRect* on;
        int want_year, want_month;
    } cases[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, &left, 2004, 4},
        {WM_LBUTTONDOWN, WM_LBUTTONUP, &right, 2004, 5},
        {WM_LBUTTONDOWN, WM_LBUTTONUP, &right, 2004, 6},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, &right, 2004, 5},  // right button: reversed
        {WM_RBUTTONDOWN, WM_RBUTTONUP, &left, 2004, 6},
    };
    for (const Case& c : cases) {
        click(c.down, c.up, cx(*c.on), cy(*c.on));
        EXPECT_EQ(main_state.view.shown_year, c.want_year);
        EXPECT_EQ(main_state.view.shown_month, c.want_month);
        EXPECT_EQ(main_state.pressed_arrow, 0);
    }
    EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2004年6月");
    command(CMD_RESET_MONTH);
    EXPECT_EQ(main_state.view.shown_month, 5);

    // Pressed, moved off and released: nothing changes; moving back does not press again.
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(cx(left), cy(left)));
    EXPECT_EQ(main_state.pressed_arrow, 1);
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(cx(left), 200));
    EXPECT_EQ(main_state.pressed_arrow, 0);
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(cx(left), cy(left)));
    EXPECT_EQ(main_state.pressed_arrow, 0);
    SendMessageA(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(cx(left), cy(left)));
    EXPECT_EQ(main_state.view.shown_month, 5);
}

TEST_F(MainWindow, DayCellsAndTheSwallowedClick) {
    open("");
    auto closer = ModalDriver::pressing_ok();  // each hit opens the day's contents
    // Set cells, as a paint would have laid them out.
    for (CellRect& c : main_state.day_cells) c = {-1, -1, -1, -1};
    main_state.day_cells[9] = {100, 150, 120, 162};
    main_state.view.clicked_day = 0;
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(120, 162));  // edges belong to the cell
    EXPECT_EQ(main_state.view.clicked_day, 10);

    main_state.view.clicked_day = 0;
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(121, 162));
    EXPECT_EQ(main_state.view.clicked_day, 0);

    // A popup menu dismissed without a command swallows the next left press once.
    {
        MenuDismisser dismiss;
        SendMessageA(hwnd_, WM_RBUTTONDOWN, 0, MAKELPARAM(110, 200));
    }
    EXPECT_TRUE(main_state.popup_pending);
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(110, 155));
    EXPECT_EQ(main_state.view.clicked_day, 0);
    EXPECT_FALSE(main_state.popup_pending);
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(110, 155));
    EXPECT_EQ(main_state.view.clicked_day, 10);

    // After a command nothing is swallowed.
    main_state.view.clicked_day = 0;
    main_state.popup_pending = true;
    command(CMD_CLOSE_MENU);
    EXPECT_FALSE(main_state.popup_pending);
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(110, 155));
    EXPECT_EQ(main_state.view.clicked_day, 10);

    // The swallowed press does not press an arrow either.
    main_state.popup_pending = true;
    const CellRect left = main_state.left_arrow_rect;
    SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(cx(left), cy(left)));
    EXPECT_EQ(main_state.pressed_arrow, 0);
}

TEST_F(MainWindow, CursorInTheHeaderBand) {
    open("");
    main_state.header_height = 20;
    main_state.left_arrow_rect = {4, 2, 16, 14};
    main_state.right_arrow_rect = {300, 2, 312, 14};
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(150, 10));
    EXPECT_TRUE(main_state.move_cursor);
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8));
    EXPECT_FALSE(main_state.move_cursor);
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(150, 1));
    EXPECT_FALSE(main_state.move_cursor);
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(150, 20));
    EXPECT_FALSE(main_state.move_cursor);
}

// A clock tick's paint never leaves a change of the month out, even one that came without its
// event: the paint compares what the month was composed from (its title and layout follow).
TEST_F(MainWindow, ClockTickDoesNotLeaveTheMonthOut) {
    open("[Config]\r\nclock=1\r\nsecond=1\r\nmonthlang=1\r\n");
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    ASSERT_TRUE(main_state.timer_running);
    ASSERT_EQ(window_text_of(hwnd_), "Tavelspore 2004年5月");
    struct Case {
        const char* what;
        bool whole_window;  // else only the clock's rectangle
        int month;          // shown month set before the paint, without an event
        const char* title;  // after it
    } cases[] = {
        {"clock rectangle, same month", false, 5, "Tavelspore 2004年5月"},
        {"clock rectangle after a month change", false, 6, "Tavelspore 2004年6月"},
        {"whole window, as after a restore", true, 7, "Tavelspore 2004年7月"},
    };
    for (const Case& c : cases) {
        main_state.view.shown_month = c.month;
        main_state.recompose.mark(ViewEvent::kClockTextChanged);
        InvalidateRect(hwnd_, c.whole_window ? nullptr : &main_state.clock_rect, TRUE);
        UpdateWindow(hwnd_);
        EXPECT_EQ(window_text_of(hwnd_), c.title) << c.what;
        EXPECT_EQ(main_state.recompose.pending(), kLayerNone) << c.what;
    }
}

// A day click lists that day's entries over the window; the schedule button goes on to the
// schedule dialog opened on that date, OK does not.
TEST_F(MainWindow, DayClickListsTheDayAndGoesOnToTheSchedule) {
    open("[Schedule]\r\nschedulecount=2\r\nschedule001=2004051000会議\r\n"
         "schedule002=2004051100other day\r\n");
    ASSERT_EQ(schedule.count, 2);
    const CellRect tenth = main_state.day_cells[9];
    struct Case {
        int button;
        bool to_schedule;
    } cases[] = {{IDOK, false}, {IDC_DAY_SCHEDULE, true}};
    for (const Case& c : cases) {
        main_state.view.schedule_opening = {1999, 1, 1};
        HWND owner = nullptr;
        std::vector<ModalDriver::Step> steps = {[&c, &owner](HWND dlg) {
            owner = GetWindow(dlg, GW_OWNER);
            char text[64] = "";
            GetDlgItemTextA(dlg, IDC_DAY_HEADER, text, sizeof text);
            EXPECT_STREQ(text, "2004年 5月10日(月)");
            HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
            ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
            char memo[64] = "";
            LVITEMA it = {};
            it.iSubItem = 2;
            it.pszText = memo;
            it.cchTextMax = sizeof memo;
            SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&it));
            EXPECT_STREQ(memo, "会議");
            PostMessageA(dlg, WM_COMMAND, c.button, 0);
        }};
        // The schedule dialog opens on the clicked day.
        if (c.to_schedule) {
            steps.push_back([](HWND dlg) {
                EXPECT_EQ(text_of(dlg), "Tavelspore - スケジュールの設定");
                EXPECT_EQ(item_text(dlg, IDC_SCHED_YEAR), "2004");
                EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "5");
                EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), "10");
                PostMessageA(dlg, WM_COMMAND, IDOK, 0);
            });
        }
        ModalDriver driver(std::move(steps));
        driver.run([&] { return SendMessageA(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(cx(tenth), cy(tenth))); });
        EXPECT_EQ(owner, hwnd_);
        EXPECT_EQ(main_state.view.clicked_day, 10);
        const ScheduleOpening& o = main_state.view.schedule_opening;
        if (c.to_schedule) {
            EXPECT_EQ(o.year, 2004);
            EXPECT_EQ(o.month, 5);
            EXPECT_EQ(o.day, 10);
        } else {
            EXPECT_EQ(o.year, 1999);  // the schedule dialog was not opened
        }
    }
}

// The Japanese calendar's switches sit right after タイトルバーなし(&N) in this order, each
// checked while on (a stray stored value counts as on); each choice flips its setting between
// 1 and 0, stores it at once and repaints. 和暦 writes the era year into the title and the
// tray tip at once.
TEST_F(MainWindow, CalendarSwitchesAreStoredMenuSettings) {
    open("[Config]\r\nNationalHolidays=5\r\nKyureki=-2\r\n");
    const struct {
        UINT command;
        const char* text;
        const char* key;
        int Settings::*field;
        bool on;  // as the file left it
    } switches[] = {
        {CMD_NATIONAL_HOLIDAYS, "祝日を表示(&H)", "NationalHolidays", &Settings::NationalHolidays, true},
        {CMD_ROKUYO, "六曜を表示(&R)", "Rokuyo", &Settings::Rokuyo, false},
        {CMD_KYUREKI, "旧暦・節気を表示(&K)", "Kyureki", &Settings::Kyureki, true},
        {CMD_WAREKI, "和暦で表示(&W)", "Wareki", &Settings::Wareki, false},
    };
    HMENU sub = GetSubMenu(menu(), 1);
    const int at = menu_position(sub, CMD_NO_TITLE_BAR);
    ASSERT_GE(at, 0);
    for (size_t i = 0; i < sizeof switches / sizeof *switches; ++i) {
        const auto& sw = switches[i];
        SCOPED_TRACE(sw.key);
        EXPECT_EQ(GetMenuItemID(sub, at + 1 + static_cast<int>(i)), sw.command);
        EXPECT_EQ(menu_text(menu(), sw.command), sw.text);
        EXPECT_EQ(checked(menu(), sw.command), sw.on);
        for (int on : {sw.on ? 0 : 1, sw.on ? 1 : 0, sw.on ? 0 : 1}) {
            main_state.day_cells.fill(kNoCell);  // laid out again only by a paint
            command(sw.command);
            EXPECT_EQ(settings.*sw.field, on);
            EXPECT_EQ(checked(menu(), sw.command), on == 1);
            const std::string want = std::string("\r\n") + sw.key + "=" + std::to_string(on) + "\r\n";
            EXPECT_NE(win_test::get_file(path_).find(want), std::string::npos) << on;
            EXPECT_NE(main_state.day_cells[0].left, -1) << "repainted";
        }
    }
    // 和暦 was left on; the holidays off.
    EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 平成16年5月");
    EXPECT_STREQ(tray_tip(), "平成16年5月5日(水)");
    command(CMD_NATIONAL_HOLIDAYS);
    EXPECT_STREQ(tray_tip(), "平成16年5月5日(水) こどもの日");
    command(CMD_WAREKI);
    EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2004年5月");
    EXPECT_STREQ(tray_tip(), "2004年5月5日(水) こどもの日");
}

// 最近の予定 opens the list over the window and stores its two options when it closes.
TEST_F(MainWindow, RecentCommandStoresItsOptions) {
    open("[Config]\r\nToDoWidth=10\r\n");
    ModalDriver driver({[this](HWND dlg) {
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), hwnd_);
        CheckDlgButton(dlg, IDC_RECENT_BOOT, BST_CHECKED);
        HWND combo = GetDlgItem(dlg, IDC_RECENT_WIDTH);
        SendMessageA(combo, CB_SETCURSEL, 19, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_RECENT_WIDTH, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_RECENT); });
    EXPECT_EQ(settings.ToDoBoot, 1);
    EXPECT_EQ(settings.ToDoWidth, 20);
    const std::string file = win_test::get_file(path_);
    EXPECT_NE(file.find("ToDoBoot=1\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("ToDoWidth=20\r\n"), std::string::npos) << file;
}

// With ToDoBoot on, the recent list opens once, after the first paint, and not again.
TEST_F(MainWindow, RecentListOpensOnceAtStartUp) {
    ModalDriver driver({[](HWND dlg) {
        char caption[64] = "";
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Tavelspore - 最近の予定");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] {
        open("[Config]\r\nToDoBoot=1\r\n");
        return 0;
    });
    EXPECT_EQ(driver.dialogs_seen(), 1);
    ASSERT_NE(hwnd_, nullptr);
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
    pump();
    EXPECT_EQ(driver.dialogs_seen(), 1);
}

// 表示月: the title follows the typing while the dialog is open, once the year is whole.
TEST_F(MainWindow, DisplayMonthCommandFollowsTheTyping) {
    open("");
    ModalDriver driver({[this](HWND dlg) {
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), hwnd_);
        HWND year = GetDlgItem(dlg, IDC_DM_YEAR);
        SetWindowTextA(year, "");
        for (char ch : std::string("201")) {
            SendMessageA(year, WM_CHAR, (unsigned char)ch, 1);
            EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2004年5月") << ch;
        }
        SendMessageA(year, WM_CHAR, '1', 1);
        EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2011年5月");
        SendMessageA(dlg, WM_COMMAND, IDC_DM_MONTH_UP, 0);
        EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2011年6月");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_DISPLAY_MONTH); });
    EXPECT_EQ(main_state.view.shown_year, 2011);
    EXPECT_EQ(main_state.view.shown_month, 6);
    EXPECT_EQ(window_text_of(hwnd_), "Tavelspore 2011年6月");
}

TEST_F(MainWindow, ScheduleCommandOpensTheDialogWithNoDateGiven) {
    open("");
    main_state.view.schedule_opening = {2004, 5, 10};  // left from an earlier opening
    ModalDriver driver({[](HWND dlg) {
        EXPECT_EQ(win_test::item_text(dlg, IDC_SCHED_YEAR), "");
        EXPECT_EQ(win_test::item_text(dlg, IDC_SCHED_MONTH), "");
        EXPECT_EQ(win_test::item_text(dlg, IDC_SCHED_DAY), "");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_SCHEDULE); });
    EXPECT_EQ(driver.last_caption(), "Tavelspore - スケジュールの設定");
    EXPECT_EQ(driver.last_owner(), hwnd_);
    EXPECT_EQ(main_state.view.schedule_opening.year, -1);
    EXPECT_EQ(main_state.view.schedule_opening.month, -1);
    EXPECT_EQ(main_state.view.schedule_opening.day, -1);
}

TEST_F(MainWindow, EntryAddedInTheScheduleDialogIsSavedAtOnce) {
    open("[Config]\r\nmonthlang=1\r\n");
    ModalDriver driver({[](HWND dlg) {
        win_test::type(dlg, IDC_SCHED_YEAR, "2004");
        win_test::type(dlg, IDC_SCHED_MONTH, "5");
        win_test::type(dlg, IDC_SCHED_DAY, "20");
        win_test::type(dlg, IDC_SCHED_HOUR, "9");
        win_test::type(dlg, IDC_SCHED_MINUTE, "30");
        win_test::paste(dlg, IDC_SCHED_MEMO, "会議");
        win_test::press(dlg, IDC_SCHED_ALARM);
        win_test::paste(dlg, IDC_SCHED_BEFORE, "15");
        win_test::press(dlg, IDC_SCHED_ADD);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_SCHEDULE); });
    const std::string file = win_test::get_file(path_);
    EXPECT_NE(file.find("schedulecount=1\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("schedule001=2004052001会議\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("alarm001=0930151\r\n"), std::string::npos) << file;
}

TEST_F(MainWindow, TickCatchesUpOnAlarmsAndFollowsTheDate) {
    open("");
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    schedule.count = 0;
    ScheduleEntry& e = schedule.entries[schedule.count++];
    entry_blank(&e);
    e.year = 2004;
    e.month = 5;
    e.day = 5;
    e.has_time = 1;
    e.hour = 9;
    e.minute = 30;
    e.alarm_kind = 1;
    compute_alarm_at(&e);

    g_now = {2004, 5, 5, 9, 29, 59};
    EXPECT_EQ(main_tick(main_state, hwnd_), -1);
    g_now = {2004, 5, 5, 9, 31, 4};  // the tick of 09:30 came late
    EXPECT_EQ(main_tick(main_state, hwnd_), 0);
    ASSERT_NE(main_state.alarm.hwnd, nullptr);
    EXPECT_EQ(GetWindow(main_state.alarm.hwnd, GW_OWNER), hwnd_);
    g_now = {2004, 5, 5, 9, 31, 5};
    EXPECT_EQ(main_tick(main_state, hwnd_), -1);  // once only
    EXPECT_EQ(main_state.now_minute, 31);
    EXPECT_EQ(main_state.now_second, 5);

    // Midnight into June: the tip follows, the shown month stays.
    g_now = {2004, 6, 1, 0, 0, 0};
    main_tick(main_state, hwnd_);
    EXPECT_STREQ(tray_tip(), "2004年6月1日(火)");
    EXPECT_EQ(main_state.view.shown_month, 5);
    EXPECT_EQ(main_state.today_month, 6);  // the repaint read today afresh
}

TEST_F(MainWindow, EntriesDueInOneCheckRingTogetherAndGoWithTheWindow) {
    open("");
    KillTimer(hwnd_, kMainTimer);
    const char* memos[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {  // the third one a minute later
        append_entry(&schedule, make_alarm_entry(2004, 5, 5, 10, i < 2 ? 0 : 1, 15, 1, memos[i]));
    }
    g_now = {2004, 5, 5, 9, 45, 0};
    EXPECT_EQ(main_tick(main_state, hwnd_), 0);
    pump();
    ASSERT_NE(main_state.alarm.hwnd, nullptr);
    EXPECT_EQ(win_test::item_text(main_state.alarm.hwnd, IDC_ALARM_TEXT),
              "2004年5月5日 10:00\r\nA\r\n15 分前です\r\n\r\n"
              "2004年5月5日 10:00\r\nB\r\n15 分前です");
    // The next minute's alarm joins the two on show in the same window.
    HWND alarm = main_state.alarm.hwnd;
    g_now = {2004, 5, 5, 9, 46, 0};
    EXPECT_EQ(main_tick(main_state, hwnd_), 2);
    pump();
    EXPECT_EQ(main_state.alarm.hwnd, alarm);
    EXPECT_EQ(win_test::item_text(main_state.alarm.hwnd, IDC_ALARM_TEXT),
              "2004年5月5日 10:00\r\nA\r\n15 分前です\r\n\r\n"
              "2004年5月5日 10:00\r\nB\r\n15 分前です\r\n\r\n"
              "2004年5月5日 10:01\r\nC\r\n15 分前です");
    close();
    EXPECT_FALSE(IsWindow(alarm));
    EXPECT_EQ(main_state.alarm.hwnd, nullptr);
}

TEST_F(MainWindow, SavePositionStoresTheNormalRectangle) {
    open("");
    MoveWindow(hwnd_, 30, 40, 300, 250, TRUE);
    {
        auto closer = ModalDriver::pressing_ok();
        command(CMD_SAVE_POSITION);
        EXPECT_EQ(closer.dialogs_seen(), 1);
        EXPECT_EQ(closer.last_caption(), "Tavelspore");
        EXPECT_EQ(closer.last_owner(), hwnd_);
    }
    std::string file = win_test::get_file(path_);
    std::string want = "[DispSet1]\r\nreso=" + resolution() + "\r\nx1=30\r\ny1=40\r\nx2=330\r\ny2=290\r\n";
    EXPECT_NE(file.find(want), std::string::npos) << file;

    // Minimised, the normal rectangle is stored, not the minimised one.
    MoveWindow(hwnd_, 50, 60, 310, 260, TRUE);
    ShowWindow(hwnd_, SW_MINIMIZE);
    {
        auto closer = ModalDriver::pressing_ok();
        command(CMD_SAVE_POSITION);
    }
    file = win_test::get_file(path_);
    want = "x1=50\r\ny1=60\r\nx2=360\r\ny2=320\r\n";
    EXPECT_NE(file.find(want), std::string::npos) << file;
}

TEST_F(MainWindow, SavePositionWithNoFreeWindowSetSaysNothing) {
    std::string file = "[Config]\r\nmonthlang=1\r\n";
    for (int n = 1; n <= 20; ++n) {
        char set[96];
        std::snprintf(set, sizeof set, "[DispSet%d]\r\nreso=%dx77\r\nx1=1\r\ny1=2\r\nx2=300\r\ny2=300\r\n", n, n);
        file += set;
    }
    open(file);
    const std::string before = win_test::get_file(path_);
    auto closer = ModalDriver::pressing_ok();
    command(CMD_SAVE_POSITION);
    pump();
    EXPECT_EQ(closer.dialogs_seen(), 0);
    EXPECT_EQ(win_test::get_file(path_), before);
}

TEST_F(MainWindow, RestorePositionAndDisplayChangeUseTheWindowSet) {
    char file[256];
    std::snprintf(file, sizeof file, "[DispSet1]\r\nreso=%s\r\nx1=20\r\ny1=30\r\nx2=320\r\ny2=280\r\n",
                  resolution().c_str());
    open(file);
    RECT r;
    const UINT msgs[] = {WM_COMMAND, WM_DISPLAYCHANGE};
    for (UINT msg : msgs) {
        MoveWindow(hwnd_, 100, 100, 200, 200, TRUE);
        SendMessageA(hwnd_, msg, msg == WM_COMMAND ? CMD_RESTORE_POSITION : 24, 0);
        GetWindowRect(hwnd_, &r);
        EXPECT_EQ(r.left, 20) << msg;
        EXPECT_EQ(r.top, 30) << msg;
        EXPECT_EQ(r.right, 320) << msg;
        EXPECT_EQ(r.bottom, 280) << msg;
    }
}

TEST_F(MainWindow, MinimumTrackingSize) {
    open("");
    MINMAXINFO mmi = {};
    SendMessageA(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 100);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 100);
    EXPECT_EQ(SendMessageA(hwnd_, WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(MainWindow, DestroySavesTheScheduleAndPostsQuit) {
    open("[Schedule]\r\nschedulecount=1\r\nschedule001=2004050511会議\r\n"
         "[Alarm]\r\nalarm001=0930152\r\n");
    ASSERT_EQ(schedule.count, 1);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = msg.wParam == 0;
    EXPECT_TRUE(quit);
    EXPECT_EQ(surface_dc(), nullptr);
    const std::string file = win_test::get_file(path_);
    EXPECT_NE(file.find("schedule001=2004050511会議\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("alarm001=0930152\r\n"), std::string::npos);
    EXPECT_NE(file.find("[Config]"), std::string::npos);
    EXPECT_FALSE(save_failure_told());
}

TEST_F(MainWindow, FailedSaveIsToldOncePerSession) {
    const std::string missing = dir_ + "no such folder\\tester.cfg";
    open("", missing.c_str());
    {
        auto closer = ModalDriver::pressing_ok();
        command(CMD_ALWAYS_ON_TOP);
        EXPECT_EQ(closer.dialogs_seen(), 1);
        EXPECT_EQ(closer.last_caption(), "Tavelspore");
        EXPECT_EQ(closer.last_owner(), hwnd_);
    }
    EXPECT_TRUE(save_failure_told());
    EXPECT_TRUE(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);  // applied anyway
    {
        auto closer = ModalDriver::pressing_ok();
        command(CMD_ALWAYS_ON_TOP);
        command(CMD_APPLY_SETTINGS);
        EXPECT_EQ(closer.dialogs_seen(), 0);
    }
    // The save at exit tells its failure even so: the changes are lost with it.
    {
        auto closer = ModalDriver::pressing_ok();
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        EXPECT_EQ(closer.dialogs_seen(), 1);
        EXPECT_EQ(closer.last_owner(), nullptr);
    }
    pump();
}

TEST_F(MainWindow, FailedSaveAtDestroyHasNoOwner) {
    const std::string missing = dir_ + "no such folder\\tester.cfg";
    open("", missing.c_str());
    auto closer = ModalDriver::pressing_ok();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    EXPECT_EQ(closer.dialogs_seen(), 1);
    EXPECT_EQ(closer.last_owner(), nullptr);
    pump();
}

TEST_F(MainWindow, AboutBoxOpensOverTheWindow) {
    open("");
    auto closer = ModalDriver::pressing_ok();
    command(CMD_ABOUT);
    EXPECT_EQ(closer.dialogs_seen(), 1);
    EXPECT_EQ(closer.last_owner(), hwnd_);
}

TEST_F(MainWindow, DetailedSettingsApplyAtOnceAndOnOk) {
    open("");
    bmp_test::BmpFields red{4, 4, 24};
    for (int i = 0; i < 16; ++i) red.pixels.insert(red.pixels.end(), {0, 0, 255});
    const std::vector<uint8_t> bmp = bmp_test::bmp_file(red);
    const std::string image = dir_ + "red.bmp";
    win_test::put_file(image, std::string(bmp.begin(), bmp.end()));
    auto click = [](HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); };

    ModalDriver apply({[&](HWND dlg) {
                           click(dlg, IDC_SET_BACK_IMAGE);
                           SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, image.c_str());
                           click(dlg, IDC_SET_APPLY);
                       },
                       [&](HWND) {
                           // Command 3 has reached the window: image loaded, saved, painted.
                           EXPECT_FALSE(background_pixels.empty());
                           EXPECT_NE(win_test::get_file(path_).find("BackImage=1"), std::string::npos);
                           EXPECT_EQ(GetPixel(surface_dc(), 2, surface_height() - 2), RGB(255, 0, 0));
                       },
                       [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); }});
    apply.run([&] { return command(CMD_DETAILED_SETTINGS); });
    EXPECT_EQ(apply.last_owner(), hwnd_);
    EXPECT_EQ(settings.BackImage, 1) << "cancel keeps what was applied";

    ModalDriver ok({[&](HWND dlg) {
                        click(dlg, IDC_SET_SAT_PLAIN);
                        click(dlg, IDC_SET_BACK_IMAGE);
                        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                    }});
    ok.run([&] { return command(CMD_DETAILED_SETTINGS); });
    pump();  // the command 3 posted after OK
    const std::string file = win_test::get_file(path_);
    EXPECT_NE(file.find("cmode=0"), std::string::npos) << file;
    EXPECT_NE(file.find("BackImage=0"), std::string::npos) << file;
    EXPECT_TRUE(background_pixels.empty());
}

}  // namespace
