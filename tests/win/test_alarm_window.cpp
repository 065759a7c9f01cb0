// The alarm window in this process: its text forms, placement, the sound button's states
// with the fake sound player, the same-entry rule, several entries at once, and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "dialogs/alarm_window_win.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/fake_mci.h"
#include "tests/win/program_reset.h"

namespace {

using namespace win_test;

int add_alarm(int y, int m, int d, int hour, int minute, int before, int kind, const char* memo,
              const char* sound = "") {
    return append_entry(&schedule, make_alarm_entry(y, m, d, hour, minute, before, kind, memo, sound));
}

class AlarmWindow : public testing::Test {
protected:
    void SetUp() override { reset_program_globals(); }
    void TearDown() override {
        close_alarm_window(&alarm_);
        pump();
        reset_program_globals();
    }
    // Shows entries and lets the window take the posted command.
    HWND show(std::initializer_list<int> indices) {
        const AlarmTimeForm form = {settings.method != 0, settings.ampm != 0};
        show_alarms(nullptr, &alarm_, schedule, form, indices.begin(), static_cast<int>(indices.size()));
        pump();
        return alarm_.hwnd;
    }
    static std::string text(HWND w) { return item_text(w, IDC_ALARM_TEXT); }
    static void press_in(HWND w, int id) {
        SendMessageA(w, WM_COMMAND, id, reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
    }
    FakeSound sound_;
    ::AlarmWindow alarm_;  // the record its owner keeps
};

TEST_F(AlarmWindow, TextFormsForTheTimeSettings) {
    struct {
        int method, ampm, hour, minute, before;
        const char* text;
    } cases[] = {
        {0, 0, 9, 5, 10, "2004年6月1日  9:05\r\n会議\r\n10 分前です"},
        {0, 0, 23, 0, 0, "2004年6月1日 23:00\r\n会議\r\n予定時刻です"},
        {1, 0, 12, 5, 0, "2004年6月1日 PM 0:05\r\n会議\r\n予定時刻です"},
        {1, 0, 0, 5, 0, "2004年6月1日 AM 0:05\r\n会議\r\n予定時刻です"},
        {1, 1, 13, 7, 99, "2004年6月1日 1:07 PM\r\n会議\r\n99 分前です"},
    };
    for (const auto& c : cases) {
        reset_program_globals();
        settings.method = c.method;
        settings.ampm = c.ampm;
        const int i = add_alarm(2004, 6, 1, c.hour, c.minute, c.before, 1, "会議");
        HWND w = show({i});
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(text(w), c.text);
        DestroyWindow(w);
        EXPECT_EQ(alarm_.hwnd, nullptr);
    }
}

TEST_F(AlarmWindow, CentredTopmostWithItsControls) {
    const int i = add_alarm(2004, 6, 1, 9, 0, 0, 1, "m");
    HWND w = show({i});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text_of(w), "Tavelspore - アラーム");
    EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrA(w, GWL_STYLE) & WS_SYSMENU);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
    EXPECT_EQ(item_text(w, IDCANCEL), "閉じる");
    EXPECT_EQ(item_text(w, IDC_ALARM_STOP_SOUND), "♪");
    const LONG es = GetWindowLongA(GetDlgItem(w, IDC_ALARM_TEXT), GWL_STYLE);
    EXPECT_TRUE(es & ES_MULTILINE);
    EXPECT_TRUE(es & ES_READONLY);
    EXPECT_TRUE(es & ES_CENTER);
}

TEST_F(AlarmWindow, SoundButtonByAlarmKind) {
    struct {
        int kind;
        const char* sound;
        bool button_visible, button_enabled, playing;
    } cases[] = {
        {1, "", false, true, false},
        {2, "", false, true, false},
        {3, "C:\\s\\bell.wav", true, true, true},
        {3, "C:\\s\\bell.abcde", true, true, false},  // no extension: the system sound instead
        {3, "C:\\s\\bell.nos", true, true, false},    // the table says it cannot be played
    };
    for (const auto& c : cases) {
        reset_program_globals();
        const int i = add_alarm(2004, 6, 1, 9, 0, 0, c.kind, "m", c.sound);
        HWND w = show({i});
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(visible(w, IDC_ALARM_STOP_SOUND), c.button_visible) << c.kind << c.sound;
        EXPECT_EQ(enabled(w, IDC_ALARM_STOP_SOUND), c.button_enabled) << c.kind << c.sound;
        EXPECT_EQ(sound_playing, c.playing) << c.kind << c.sound;
        // The button only ever stops: pressed, it greys itself and stays visible.
        if (c.button_visible) {
            press_in(w, IDC_ALARM_STOP_SOUND);
            EXPECT_FALSE(sound_playing);
            EXPECT_FALSE(enabled(w, IDC_ALARM_STOP_SOUND));
            EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
        }
        DestroyWindow(w);
    }
}

TEST_F(AlarmWindow, SoundEndingByItselfGreysTheButton) {
    const int i = add_alarm(2004, 6, 1, 9, 0, 0, 3, "m", "C:\\s\\tune.mid");
    HWND w = show({i});
    ASSERT_TRUE(sound_playing);
    EXPECT_EQ(sound_.mci().calls[0], "open 0 type+element SequencerC:\\s\\tune.mid");
    sound_.mci().status_mode = MCI_MODE_STOP;
    pump_for(700);
    EXPECT_FALSE(sound_playing);
    EXPECT_FALSE(enabled(w, IDC_ALARM_STOP_SOUND));
    EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
    EXPECT_EQ(sound_.mci().count("close"), 1);
}

TEST_F(AlarmWindow, SameEntryAgainChangesNothing) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "first", "C:\\s\\a.wav");
    HWND w = show({a});
    ASSERT_EQ(sound_.mci().count("open"), 1);
    SetDlgItemTextA(w, IDC_ALARM_TEXT, "untouched");
    show({a});
    EXPECT_EQ(text(w), "untouched");
    EXPECT_EQ(sound_.mci().count("open"), 1);
    EXPECT_TRUE(sound_playing);
}

TEST_F(AlarmWindow, SameIndexAfterAResortIsAnotherEntry) {
    add_alarm(2004, 6, 1, 9, 0, 0, 1, "first");
    add_alarm(2004, 6, 1, 10, 0, 0, 1, "second");
    HWND w = show({0});
    EXPECT_NE(text(w).find("first"), std::string::npos);
    std::swap(schedule.entries[0], schedule.entries[1]);  // an edit re-sorted the list
    show({0});
    EXPECT_NE(text(w).find("second"), std::string::npos);
}

TEST_F(AlarmWindow, SecondAlarmStopsTheFirstSoundAndReplacesTheText) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "first", "C:\\s\\a.wav");
    const int b = add_alarm(2004, 6, 1, 9, 30, 0, 3, "second", "C:\\s\\b.wav");
    HWND w = show({a});
    sound_.mci().calls.clear();
    EXPECT_EQ(show({b}), w);  // the same window
    EXPECT_EQ(sound_.mci().log(),
              "stop 1 0\nclose 1 0\nopen 0 type+element WaveAudioC:\\s\\b.wav\nset 2 ms\nplay 2 0\n");
    EXPECT_EQ(text(w), "2004年6月1日  9:30\r\nsecond\r\n予定時刻です");
    EXPECT_TRUE(enabled(w, IDC_ALARM_STOP_SOUND));
}

TEST_F(AlarmWindow, EntriesDueTogetherAreShownTogether) {
    const int a = add_alarm(2004, 6, 1, 10, 0, 15, 1, "A会議");
    const int b = add_alarm(2004, 6, 1, 9, 45, 0, 3, "B会議", "C:\\s\\b.wav");
    const int c = add_alarm(2004, 6, 1, 9, 45, 0, 2, "C");
    HWND w = show({a, b, c});
    EXPECT_EQ(text(w),
              "2004年6月1日 10:00\r\nA会議\r\n15 分前です\r\n\r\n"
              "2004年6月1日  9:45\r\nB会議\r\n予定時刻です\r\n\r\n"
              "2004年6月1日  9:45\r\nC\r\n予定時刻です");
    // The sound is the first entry's that has one.
    EXPECT_TRUE(sound_playing);
    EXPECT_EQ(sound_.mci().calls[0], "open 0 type+element WaveAudioC:\\s\\b.wav");
    EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
    // The same batch again changes nothing; one of them alone is a new alarm.
    SetDlgItemTextA(w, IDC_ALARM_TEXT, "untouched");
    show({a, b, c});
    EXPECT_EQ(text(w), "untouched");
    show({c});
    EXPECT_EQ(text(w), "2004年6月1日  9:45\r\nC\r\n予定時刻です");
    EXPECT_FALSE(sound_playing);
}

TEST_F(AlarmWindow, CloseStopsTheSoundAndTheNextAlarmMakesANewWindow) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "m", "C:\\s\\a.wav");
    HWND w = show({a});
    ASSERT_TRUE(sound_playing);
    press_in(w, IDCANCEL);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(alarm_.hwnd, nullptr);
    EXPECT_FALSE(sound_playing);
    // A new window accepts any entry, the one shown before too.
    HWND again = show({a});
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(sound_playing);
    // The system close box goes the same way.
    SendMessageA(again, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    EXPECT_EQ(alarm_.hwnd, nullptr);
    EXPECT_FALSE(sound_playing);
}

TEST_F(AlarmWindow, IndexOutsideTheListShowsNothing) {
    add_alarm(2004, 6, 1, 9, 0, 0, 1, "m");
    HWND w = show({5});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text(w), "");
}

}  // namespace
