// The main window's alarms over runs of the program and changes of the clock: what came due
// while it was not running, the mark it keeps in the settings file, a clock set back, the
// alarms put off with 5分後, an entry stored for the current minute, and the end of the
// Windows session.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "resources/resource.h"
#include "schedule/alarm_snooze.h"
#include "tests/win/dialog_input.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_driver.h"

namespace {

using namespace win_test;

// "%04d%02d%02d%c%c%s" and "%02d%02d%02d%c" of an entry on 2004-05-05 with an alarm kind 1
// at hh:mm.
std::string entry_lines(int n, const char* hhmm, const char* memo) {
    char s[128], a[64];
    std::snprintf(s, sizeof s, "schedule%03d=2004050501%s\r\n", n, memo);
    std::snprintf(a, sizeof a, "alarm%03d=%s001\r\n", n, hhmm);
    return std::string(s) + "|" + a;
}

std::string file_with(const char* mark, std::initializer_list<std::string> entries) {
    std::string sched = "[Schedule]\r\nschedulecount=" + std::to_string(entries.size()) + "\r\n";
    std::string alarm = "[Alarm]\r\n";
    for (const std::string& e : entries) {
        const size_t bar = e.find('|');
        sched += e.substr(0, bar);
        alarm += e.substr(bar + 1);
    }
    std::string config = "[Config]\r\nmethod=0\r\n";
    if (mark) config += std::string("AlarmChecked=") + mark + "\r\n";
    return config + sched + alarm;
}

std::string alarm_text() {
    return main_state.alarm.hwnd ? item_text(main_state.alarm.hwnd, IDC_ALARM_TEXT) : "(none)";
}

void close_alarm() {
    if (main_state.alarm.hwnd) SendMessageA(main_state.alarm.hwnd, WM_COMMAND, IDCANCEL, 0);
    pump();
}

class MainAlarms : public MainWindow {
protected:
    void TearDown() override {
        set_snooze_interval(0);
        MainWindow::TearDown();
    }
    // One tick at this time; returns the alarm text then (or "(none)"), and closes it.
    std::string tick_at(int h, int m, int s = 0) {
        g_now = {2004, 5, 5, h, m, s};
        main_tick(main_state, hwnd_);
        pump();
        const std::string t = alarm_text();
        close_alarm();
        return t;
    }
    std::string file() { return get_file(path_); }
};

TEST_F(MainAlarms, WhatCameDueSinceTheLastRunShowsAtStartInOneWindow) {
    // Started at 09:29:59; the previous run checked up to 09:00.
    open(file_with("200405050900", {entry_lines(1, "0900", "前回"), entry_lines(2, "0910", "朝会"),
                                    entry_lines(3, "0929", "打合せ"), entry_lines(4, "0930", "次")}));
    EXPECT_EQ(alarm_text(),
              "2004年5月5日  9:10\r\n朝会\r\n(起動前の予定)\r\n\r\n"
              "2004年5月5日  9:29\r\n打合せ\r\n予定時刻です");
    // The ring stored the minute checked at once.
    EXPECT_NE(file().find("AlarmChecked=200405050929\r\n"), std::string::npos) << file();
    close_alarm();
    EXPECT_EQ(tick_at(9, 30), "2004年5月5日  9:30\r\n次\r\n予定時刻です");
}

TEST_F(MainAlarms, NothingShowsAtAFirstStartOrAfterTheClockWasSetBack) {
    struct Case {
        const char* what;
        const char* mark;
    } cases[] = {{"first start", nullptr}, {"clock set back", "200405051000"}, {"broken mark", "2004050509"}};
    for (const Case& c : cases) {
        open(file_with(c.mark, {entry_lines(1, "0910", "朝会")}));
        EXPECT_EQ(alarm_text(), "(none)") << c.what;
        close();
    }
}

TEST_F(MainAlarms, TheClockSetBackRingsNothingTwice) {
    open(file_with(nullptr, {entry_lines(1, "0931", "a"), entry_lines(2, "0925", "b"),
                             entry_lines(3, "0933", "c")}));
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    struct Step {
        int h, m;
        const char* memo;  // the memo rung, "" for none
    } steps[] = {
        {9, 31, "a"}, {9, 21, ""}, {9, 25, ""}, {9, 31, ""}, {9, 32, ""}, {9, 33, "c"},
    };
    for (const Step& s : steps) {
        const std::string t = tick_at(s.h, s.m);
        if (*s.memo) {
            EXPECT_NE(t.find(std::string("\r\n") + s.memo + "\r\n"), std::string::npos) << s.h << ":" << s.m;
        } else {
            EXPECT_EQ(t, "(none)") << s.h << ":" << s.m;
        }
    }
    // At the end the mark is the last minute checked, not the clock's.
    g_now = {2004, 5, 5, 9, 20, 0};
    main_tick(main_state, hwnd_);
    close();
    EXPECT_NE(file().find("AlarmChecked=200405050933\r\n"), std::string::npos) << file();
}

TEST_F(MainAlarms, SnoozeBringsTheSameAlarmsBackEvenWhileHidden) {
    set_snooze_interval(2000);
    open(file_with(nullptr, {entry_lines(1, "0929", "会議")}));
    KillTimer(hwnd_, kMainTimer);
    HWND w = main_state.alarm.hwnd;
    ASSERT_NE(w, nullptr);
    std::strcpy(schedule.entries[0].memo, "changed meanwhile");
    SendMessageA(w, WM_COMMAND, IDC_ALARM_SNOOZE, 0);
    EXPECT_FALSE(IsWindow(w));
    command(CMD_HIDE_SHOW);  // hidden to the tray
    ASSERT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_EQ(tick_at(9, 29, 30), "(none)");  // not yet
    Sleep(2100);
    EXPECT_EQ(tick_at(9, 29, 31), "2004年5月5日  9:29\r\n会議\r\n予定時刻です");
    // Closed with 閉じる: it ends there.
    Sleep(2100);
    EXPECT_EQ(tick_at(9, 29, 32), "(none)");
    EXPECT_EQ(snooze_waiting(main_state.snooze), 0);
}

TEST_F(MainAlarms, AnEntryStoredForTheCurrentMinuteRingsAtOnce) {
    open("[Config]\r\nmethod=0\r\n");  // 09:29 is checked at creation
    ModalDriver driver({[](HWND dlg) {
        struct Case {
            const char* minute;
            const char* memo;
            bool rings;
        } cases[] = {{"29", "今", true}, {"30", "次の分", false}, {"28", "過去", false}};
        for (const Case& c : cases) {
            paste(dlg, IDC_SCHED_YEAR, "2004");
            paste(dlg, IDC_SCHED_MONTH, "5");
            paste(dlg, IDC_SCHED_DAY, "5");
            paste(dlg, IDC_SCHED_HOUR, "9");
            paste(dlg, IDC_SCHED_MINUTE, c.minute);
            paste(dlg, IDC_SCHED_MEMO, c.memo);
            if (!checked(dlg, IDC_SCHED_ALARM)) press(dlg, IDC_SCHED_ALARM);
            press(dlg, IDC_SCHED_ADD);
            pump();
            EXPECT_EQ(alarm_text(), c.rings ? std::string("2004年5月5日  9:29\r\n今\r\n予定時刻です")
                                            : std::string("(none)"))
                << c.memo;
            close_alarm();
        }
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_SCHEDULE); });
    EXPECT_EQ(schedule.count, 3);
}

TEST_F(MainAlarms, TheEndOfTheSessionSavesEverythingOnceWithoutANotice) {
    open("[Config]\r\nmethod=0\r\n");
    ModalDriver driver({[this](HWND dlg) {
        paste(dlg, IDC_SCHED_YEAR, "2004");
        paste(dlg, IDC_SCHED_MONTH, "6");
        paste(dlg, IDC_SCHED_DAY, "1");
        paste(dlg, IDC_SCHED_MEMO, "未保存");
        press(dlg, IDC_SCHED_ADD);
        // Windows ends the session while the dialog is open.
        EXPECT_EQ(SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        SendMessageA(hwnd_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        const std::string saved = file();
        EXPECT_NE(saved.find("schedulecount=1\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("未保存\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("AlarmChecked=200405050929\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("monthlang="), std::string::npos) << saved;
        // Once: a second end of the session writes nothing.
        DeleteFileA(path_.c_str());
        SendMessageA(hwnd_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    driver.run([this] { return command(CMD_SCHEDULE); });
    DeleteFileA(path_.c_str());
    close();
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);  // nor the destruction
}

TEST_F(MainAlarms, AFailedSaveAtTheEndOfTheSessionIsNotTold) {
    open("", (dir_ + "missing\\tester.cfg").c_str());
    struct Case {
        WPARAM ending;
    } cases[] = {{FALSE}, {TRUE}};  // a cancelled end saves nothing; the real one fails silently
    for (const Case& c : cases) {
        SendMessageA(hwnd_, WM_ENDSESSION, c.ending, 0);
        EXPECT_FALSE(save_failure_told()) << c.ending;
    }
    close();
    EXPECT_FALSE(save_failure_told());
}

}  // namespace
