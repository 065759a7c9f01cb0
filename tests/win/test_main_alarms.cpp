// The main window's alarms: what came due while it was not running, the mark it keeps in
// the settings file, a clock set back, 5分後, an entry stored for the current minute, and
// the end of the Windows session.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "dialogs/message_box_win.h"
#include "resources/resource.h"
#include "schedule/alarm_snooze.h"
#include "tests/win/dialog_input.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_driver.h"

namespace {

using namespace win_test;

// A settings file with the alarm mark (none: no key) and entries on 2004-05-05 with an
// alarm at their time: {"hhmm", memo}.
std::string file_with(const char* mark, std::initializer_list<std::pair<const char*, const char*>> entries) {
    std::string sched = "[Schedule]\r\nschedulecount=" + std::to_string(entries.size()) + "\r\n";
    std::string alarm = "[Alarm]\r\n";
    int n = 0;
    for (const auto& e : entries) {
        char key[16];
        std::snprintf(key, sizeof key, "%03d=", ++n);
        sched += std::string("schedule") + key + "2004050501" + e.second + "\r\n";
        alarm += std::string("alarm") + key + e.first + "001\r\n";
    }
    return std::string("[Config]\r\n") + (mark ? std::string("AlarmChecked=") + mark + "\r\n" : "") +
           sched + alarm;
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

TEST_F(MainAlarms, TheClockSetBackRingsNothingTwiceAndEachRingKeepsTheMark) {
    // The previous run checked up to 09:00; started at 09:29:59.
    open(file_with("200405050900", {{"0910", "朝会"}, {"0929", "今"}, {"0931", "a"}, {"0933", "c"}}));
    EXPECT_EQ(alarm_text(), "2004年5月5日  9:10\r\n朝会\r\n(起動前の予定)\r\n\r\n"
                            "2004年5月5日  9:29\r\n今\r\n予定時刻です");
    close_alarm();
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    struct Step {
        int h, m;
        const char* memo;  // the memo rung, "" for none
        const char* mark;  // the mark in the file afterwards
    } steps[] = {
        {9, 31, "a", "0931"}, {9, 21, "", "0931"}, {9, 29, "", "0931"}, {9, 31, "", "0931"},
        {9, 32, "", "0931"},  {9, 33, "c", "0933"}, {9, 20, "", "0933"},
    };
    for (const Step& s : steps) {
        const std::string t = tick_at(s.h, s.m);
        if (*s.memo) {
            EXPECT_NE(t.find(std::string("\r\n") + s.memo + "\r\n"), std::string::npos) << s.h << ":" << s.m;
        } else {
            EXPECT_EQ(t, "(none)") << s.h << ":" << s.m;
        }
        EXPECT_NE(file().find(std::string("AlarmChecked=20040505") + s.mark + "\r\n"), std::string::npos)
            << s.h << ":" << s.m;
    }
    // At the end too it is the last minute checked, not the clock's.
    close();
    EXPECT_NE(file().find("AlarmChecked=200405050933\r\n"), std::string::npos) << file();
}

std::vector<std::string> g_said;
void note_said(const char* text, const char*, UINT) { g_said.push_back(text); }

// The previous run checked up to 10:00 and the clock now says 09:29 (set back, or the file
// came from a machine whose clock ran ahead): the alarms up to 10:00 do not ring, and the
// user is told so once, with the time and every alarm held back, after the window shows.
TEST_F(MainAlarms, AStoredMarkAheadOfTheClockIsToldOnceWithWhatItHoldsBack) {
    g_said.clear();
    set_message_box_witness(note_said);
    {
        auto ok = ModalDriver::pressing_ok();
        open(file_with("200405051000", {{"0930", "朝会"}, {"1000", "定例"}, {"1001", "後"}}));
        for (int i = 0; i < 100 && g_said.empty(); ++i) pump_for(10);
    }
    KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
    ASSERT_EQ(g_said.size(), 1u);
    EXPECT_EQ(g_said[0],
              "時計が、前回アラームを確かめた 2004年5月5日 10:00 より前になっています。\n"
              "同じアラームを二度鳴らさないため、この時刻までのアラームは鳴りません。\n\n"
              "鳴らないアラーム:\n2004年5月5日  9:30  朝会\n2004年5月5日 10:00  定例");
    EXPECT_EQ(alarm_text(), "(none)");
    // Never twice: the minutes up to the mark stay silent, the next one rings, and nothing
    // more is said.
    EXPECT_EQ(tick_at(9, 30), "(none)");
    EXPECT_EQ(tick_at(10, 0), "(none)");
    EXPECT_NE(tick_at(10, 1).find("\r\n後\r\n"), std::string::npos);
    EXPECT_EQ(g_said.size(), 1u);
}

TEST_F(MainAlarms, SnoozeBringsTheSameAlarmsBackEvenWhileHidden) {
    set_snooze_interval(2000);
    open(file_with(nullptr, {{"0929", "会議"}}));
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

// (An entry added in a schedule dialog still open is saved too: the end-to-end test.)
TEST_F(MainAlarms, TheEndOfTheSessionSavesEverythingOnceWithoutANotice) {
    open("[Config]\r\nmonthlang=0\r\n");
    EXPECT_EQ(SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(hwnd_, WM_ENDSESSION, FALSE, 0);  // cancelled: nothing yet
    EXPECT_EQ(file(), "[Config]\r\nmonthlang=0\r\n");
    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_NE(file().find("AlarmChecked=200405050929\r\n"), std::string::npos) << file();
    EXPECT_NE(file().find("schedulecount=0\r\n"), std::string::npos) << file();
    // Once: neither a second end of the session nor the destruction writes again.
    DeleteFileA(path_.c_str());
    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    close();
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainAlarms, AFailedSaveAtTheEndOfTheSessionIsNotTold) {
    open("", (dir_ + "missing\\tester.cfg").c_str());
    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
    close();
    EXPECT_FALSE(save_failure_told());
}

}  // namespace
