// The alarm window in this process: its text forms, placement, the sound button's states
// with the fake sound player, the same-entry rule, several entries at once, and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include <cstring>
#include <string>
#include <vector>

#include "config/settings.h"
#include "dialogs/alarm_window_win.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/fake_mci.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

using namespace win_test;

int add_alarm(int y, int m, int d, int hour, int minute, int before, int kind, const char* memo,
              const char* sound = "") {
    return append_entry(&schedule, make_alarm_entry(y, m, d, hour, minute, before, kind, memo, sound));
}

class AlarmWindow : public testing::Test {
protected:
    void SetUp() override {
        reset_program_globals();
        alarm_.sound = &sound_.player();
    }
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
        EXPECT_EQ(sound_.player().playing(), c.playing) << c.kind << c.sound;
        // The button only ever stops: pressed, it greys itself and stays visible.
        if (c.button_visible) {
            press_in(w, IDC_ALARM_STOP_SOUND);
            EXPECT_FALSE(sound_.player().playing());
            EXPECT_FALSE(enabled(w, IDC_ALARM_STOP_SOUND));
            EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
        }
        DestroyWindow(w);
    }
}

TEST_F(AlarmWindow, SoundEndingByItselfGreysTheButton) {
    const int i = add_alarm(2004, 6, 1, 9, 0, 0, 3, "m", "C:\\s\\tune.mid");
    HWND w = show({i});
    ASSERT_TRUE(sound_.player().playing());
    EXPECT_EQ(sound_.mci().calls[0], "open 0 type+element SequencerC:\\s\\tune.mid");
    sound_.mci().status_mode = MCI_MODE_STOP;
    pump_for(700);
    EXPECT_FALSE(sound_.player().playing());
    EXPECT_FALSE(enabled(w, IDC_ALARM_STOP_SOUND));
    EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
    EXPECT_EQ(sound_.mci().count("close"), 1);
}

// A settings file written elsewhere may name a share (or a device) as an alarm's sound: the
// entry keeps it as written, but the alarm plays the system sound and nothing is opened.
TEST_F(AlarmWindow, ASoundFileOffTheLocalDisksFromASettingsFileIsNeverOpened) {
    const std::string dir = scratch_dir("unc_sound");
    const std::string path = dir + "user.cfg";
    const char* const sounds[] = {"\\\\10.9.9.9\\share\\ring.wav",
                                  "\\\\?\\UNC\\10.9.9.9\\share\\ring.wav",
                                  "//10.9.9.9/share/ring.wav", "\\\\.\\pipe\\ring.wav"};
    std::string file = "[Schedule]\r\nschedulecount=4\r\n";
    std::string alarms = "[Alarm]\r\n";
    for (int k = 1; k <= 4; ++k) {
        char line[200];
        std::snprintf(line, sizeof line, "schedule%03d=2004060101m%d\r\n", k, k);
        file += line;
        std::snprintf(line, sizeof line, "alarm%03d=09%02d003%s\r\n", k, k, sounds[k - 1]);
        alarms += line;
    }
    put_file(path, file + alarms);
    storage_init_win(path.c_str(), dir.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    ASSERT_EQ(schedule.count, 4);
    for (int i = 0; i < 4; ++i) {
        const ScheduleEntry& e = schedule.entries[i];
        ASSERT_EQ(e.alarm_kind, 3) << i;
        EXPECT_STREQ(e.sound_file, sounds[e.minute - 1]) << i;
        HWND w = show({i});
        ASSERT_NE(w, nullptr);
        // The system sound instead: the stop button shown and enabled, nothing playing.
        EXPECT_FALSE(sound_.player().playing()) << e.sound_file;
        EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND)) << e.sound_file;
        EXPECT_TRUE(enabled(w, IDC_ALARM_STOP_SOUND)) << e.sound_file;
        DestroyWindow(w);
    }
    EXPECT_EQ(sound_.mci().count("open"), 0) << sound_.mci().log();
    storage_set_sources(nullptr, nullptr, nullptr);
    remove_tree(dir);
}

TEST_F(AlarmWindow, SameEntryAgainChangesNothing) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "first", "C:\\s\\a.wav");
    HWND w = show({a});
    ASSERT_EQ(sound_.mci().count("open"), 1);
    SetDlgItemTextA(w, IDC_ALARM_TEXT, "untouched");
    show({a});
    EXPECT_EQ(text(w), "untouched");
    EXPECT_EQ(sound_.mci().count("open"), 1);
    EXPECT_TRUE(sound_.player().playing());
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

// An alarm that comes due while the window shows earlier ones joins them: the user back at
// the desk sees every one. Its sound replaces the first one's.
TEST_F(AlarmWindow, SecondAlarmStopsTheFirstSoundAndJoinsIt) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "first", "C:\\s\\a.wav");
    const int b = add_alarm(2004, 6, 1, 9, 30, 0, 3, "second", "C:\\s\\b.wav");
    HWND w = show({a});
    sound_.mci().calls.clear();
    EXPECT_EQ(show({b}), w);  // the same window
    EXPECT_EQ(sound_.mci().log(),
              "stop 1 0\nclose 1 0\nopen 0 type+element WaveAudioC:\\s\\b.wav\nset 2 ms\nplay 2 0\n");
    EXPECT_EQ(text(w), "2004年6月1日  9:00\r\nfirst\r\n予定時刻です\r\n\r\n"
                       "2004年6月1日  9:30\r\nsecond\r\n予定時刻です");
    EXPECT_TRUE(enabled(w, IDC_ALARM_STOP_SOUND));
}

// Alarms joining a window that scrolls already: the count line counts them all.
TEST_F(AlarmWindow, JoiningAlarmsGrowTheCountLine) {
    std::vector<int> idx;
    for (int k = 0; k < 31; ++k) idx.push_back(add_alarm(2004, 6, 1, 9, k, 0, 1, "会議"));
    show_alarms(nullptr, &alarm_, schedule, AlarmTimeForm{false, false}, idx.data(), 30);
    pump();
    HWND w = alarm_.hwnd;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text(w).rfind("アラーム 30件\r\n", 0), 0u);
    show({idx[30]});
    EXPECT_EQ(alarm_.hwnd, w);
    EXPECT_EQ(text(w).rfind("アラーム 31件\r\n", 0), 0u);
    EXPECT_NE(text(w).find("9:30\r\n会議"), std::string::npos);
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
    EXPECT_TRUE(sound_.player().playing());
    EXPECT_EQ(sound_.mci().calls[0], "open 0 type+element WaveAudioC:\\s\\b.wav");
    EXPECT_TRUE(visible(w, IDC_ALARM_STOP_SOUND));
    // The same batch again, or one of them again, changes nothing and sounds nothing new.
    SetDlgItemTextA(w, IDC_ALARM_TEXT, "untouched");
    sound_.mci().calls.clear();
    show({a, b, c});
    EXPECT_EQ(text(w), "untouched");
    show({c});
    EXPECT_EQ(text(w), "untouched");
    EXPECT_EQ(sound_.mci().count("open"), 0);
    EXPECT_TRUE(sound_.player().playing());
}

TEST_F(AlarmWindow, CloseStopsTheSoundAndTheNextAlarmMakesANewWindow) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 3, "m", "C:\\s\\a.wav");
    HWND w = show({a});
    ASSERT_TRUE(sound_.player().playing());
    press_in(w, IDCANCEL);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(alarm_.hwnd, nullptr);
    EXPECT_FALSE(sound_.player().playing());
    // A new window accepts any entry, the one shown before too.
    HWND again = show({a});
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(sound_.player().playing());
    // The system close box goes the same way.
    SendMessageA(again, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    EXPECT_EQ(alarm_.hwnd, nullptr);
    EXPECT_FALSE(sound_.player().playing());
}

TEST_F(AlarmWindow, IndexOutsideTheListShowsNothing) {
    add_alarm(2004, 6, 1, 9, 0, 0, 1, "m");
    HWND w = show({5});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text(w), "");
}

// What the keyboard does in the window, fed through the dialog manager as the program's
// message loop does.
void key(HWND w, UINT vk) {
    HWND focus = GetFocus();
    for (UINT msg : {WM_KEYDOWN, WM_CHAR, WM_KEYUP}) {
        if (msg == WM_CHAR && vk != VK_SPACE) continue;
        MSG m = {focus, msg, msg == WM_CHAR ? static_cast<WPARAM>(' ') : vk, msg == WM_KEYUP ? 0xC0000001 : 1};
        if (!IsDialogMessageA(w, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    pump();
}

TEST_F(AlarmWindow, TheFocusStartsOnCloseAndEnterSpaceOrEscCloseIt) {
    const int i = add_alarm(2004, 6, 1, 9, 0, 0, 1, "m");
    struct Case {
        UINT vk;
        const char* name;
    } cases[] = {{VK_RETURN, "Enter"}, {VK_SPACE, "Space"}, {VK_ESCAPE, "Esc"}};
    for (const Case& c : cases) {
        HWND w = show({i});
        ASSERT_NE(w, nullptr) << c.name;
        HWND text_control = GetDlgItem(w, IDC_ALARM_TEXT);
        EXPECT_FALSE(GetWindowLongA(text_control, GWL_STYLE) & (WS_BORDER | WS_TABSTOP)) << c.name;
        EXPECT_FALSE(GetWindowLongA(text_control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << c.name;
        EXPECT_EQ(GetFocus(), GetDlgItem(w, IDCANCEL)) << c.name;
        key(w, c.vk);
        EXPECT_FALSE(IsWindow(w)) << c.name;
        EXPECT_EQ(alarm_.hwnd, nullptr) << c.name;
    }
}

// A dialog over the About template that only ends on OK: the modal loop the keys go through.
struct HostDialog : DialogRecord<int> {
    static constexpr int kTemplate = IDD_ABOUT;
    INT_PTR init(HWND) { return TRUE; }
    INT_PTR command(HWND d, int id, int) {
        if (id == IDOK) end_dialog(d, *this, 1);
        return TRUE;
    }
};

// Inside another dialog's modal loop (the alarm came while a dialog was open) the keys reach
// the alarm window all the same, and the dialog below stays open.
TEST_F(AlarmWindow, KeysCloseItWhileAnotherDialogRunsItsLoop) {
    const int i = add_alarm(2004, 6, 1, 9, 0, 0, 1, "m");
    for (UINT vk : {VK_RETURN, VK_SPACE, VK_ESCAPE}) {
        HWND w = nullptr, host = nullptr;
        bool closed = false, host_open = false;
        HostDialog d;
        win_test::ModalDriver driver({
            [&](HWND dlg) {
                host = dlg;
                w = show({i});
                ASSERT_NE(w, nullptr);
                HWND close = GetDlgItem(w, IDCANCEL);
                SetFocus(close);
                PostMessageA(close, WM_KEYDOWN, vk, 1);
                if (vk == VK_SPACE) PostMessageA(close, WM_CHAR, ' ', 1);
                PostMessageA(close, WM_KEYUP, vk, 0xC0000001);
            },
            [&](HWND) {
                closed = !IsWindow(w);
                host_open = IsWindow(host) != FALSE;
                PostMessageA(host, WM_COMMAND, IDOK, 0);
            },
        });
        EXPECT_EQ(driver.run([&] { return run_dialog(nullptr, d); }), 1) << vk;
        EXPECT_TRUE(closed) << vk;
        EXPECT_TRUE(host_open) << vk;
        EXPECT_EQ(alarm_.hwnd, nullptr) << vk;
    }
}

// Lines of the text control: how many can be seen, and how many it holds.
std::pair<int, int> text_lines(HWND w) {
    HWND edit = GetDlgItem(w, IDC_ALARM_TEXT);
    HDC dc = GetDC(edit);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(edit, dc);
    RECT r;
    GetClientRect(edit, &r);
    return {r.bottom / tm.tmHeight, static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0))};
}

// The window shows every block whole, growing, or scrolls under a count line; it shrinks back
// for fewer alarms in the same window.
TEST_F(AlarmWindow, GrowsToShowEveryAlarmThenScrollsWithACountLine) {
    for (int k = 0; k < 60; ++k) add_alarm(2004, 6, 1, 9, k, 0, 1, "会議");
    RECT work, one = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (int count : {1, 2, 5, 60, 2, 1}) {
        std::vector<int> idx;
        for (int k = 0; k < count; ++k) idx.push_back(k);
        // Put in the place of those on show, as the layout needs it; alarms that come due
        // join instead (SecondAlarmStopsTheFirstSoundAndJoinsIt).
        static AlarmBatch b;
        alarm_batch_make(&b, schedule, idx.data(), count);
        show_alarm_batch(nullptr, &alarm_, AlarmTimeForm{false, false}, b, false);
        pump();
        HWND w = alarm_.hwnd;
        ASSERT_NE(w, nullptr);
        const auto lines = text_lines(w);
        const bool scrolls = count == 60;
        EXPECT_EQ((GetWindowLongA(GetDlgItem(w, IDC_ALARM_TEXT), GWL_STYLE) & WS_VSCROLL) != 0, scrolls);
        RECT r, text_r, close_r;
        GetWindowRect(w, &r);
        GetWindowRect(GetDlgItem(w, IDC_ALARM_TEXT), &text_r);
        GetWindowRect(GetDlgItem(w, IDCANCEL), &close_r);
        EXPECT_TRUE(r.top >= work.top && r.bottom <= work.bottom) << count;
        EXPECT_TRUE(close_r.top >= text_r.bottom && close_r.bottom <= r.bottom) << count;
        EXPECT_EQ(text(w).rfind("アラーム 60件\r\n\r\n2004年6月1日  9:00\r\n会議", 0) == 0, scrolls);
        EXPECT_EQ(lines.second, scrolls ? 2 + 4 * 60 - 1 : 4 * count - 1) << count;
        EXPECT_EQ(lines.first >= lines.second, !scrolls) << count;  // every block whole
        if (scrolls) EXPECT_EQ(r.bottom - r.top, work.bottom - work.top);
        if (count == 1 && one.bottom == 0) one = r;  // the template, centred
        EXPECT_EQ(EqualRect(&r, &one) != 0, count == 1) << count;
    }
    EXPECT_EQ(one.left, (GetSystemMetrics(SM_CXSCREEN) - (one.right - one.left)) / 2);
    EXPECT_EQ(one.top, (GetSystemMetrics(SM_CYSCREEN) - (one.bottom - one.top)) / 2);
}

TEST_F(AlarmWindow, SnoozeHandsTheAlarmsOnShowToTheOwnerAndCloses) {
    std::string kept;
    alarm_.snooze = AlarmSnooze{[](void* context, const AlarmBatch& b) {
                                    for (int i = 0; i < b.count; ++i)
                                        *static_cast<std::string*>(context) += b.item[i].entry.memo;
                                },
                                &kept};
    HWND w = show({add_alarm(2004, 6, 1, 9, 0, 0, 3, "a", "C:\\s\\a.wav"), add_alarm(2004, 6, 1, 9, 0, 0, 1, "b")});
    ASSERT_TRUE(sound_.player().playing());
    EXPECT_EQ(item_text(w, IDC_ALARM_SNOOZE), "5分後(&S)");
    press_in(w, IDC_ALARM_SNOOZE);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(alarm_.hwnd, nullptr);
    EXPECT_FALSE(sound_.player().playing());
    EXPECT_EQ(kept, "ab");
    alarm_.snooze = AlarmSnooze{};  // no owner to keep them: the button is greyed
    EXPECT_FALSE(enabled(show({0}), IDC_ALARM_SNOOZE));
}

TEST_F(AlarmWindow, AlarmsComingBackJoinWhatIsOnShow) {
    const int a = add_alarm(2004, 6, 1, 9, 0, 0, 1, "a");
    const int b = add_alarm(2004, 6, 1, 9, 5, 0, 3, "b", "C:\\s\\b.wav");
    const int c = add_alarm(2004, 6, 1, 9, 6, 0, 1, "c");
    HWND w = show({a});
    // Two batches are large for a thread's stack.
    std::unique_ptr<AlarmBatch> batch_b(new AlarmBatch), batch_c(new AlarmBatch);
    AlarmBatch& back_b = *batch_b;
    AlarmBatch& back_c = *batch_c;
    alarm_batch_make(&back_b, schedule, &b, 1);
    alarm_batch_make(&back_c, schedule, &c, 1);
    std::strcpy(schedule.entries[b].memo, "edited later");
    // Handed over twice before the window looks: both join, in one go.
    show_alarm_batch(nullptr, &alarm_, AlarmTimeForm{false, false}, back_b, true);
    show_alarm_batch(nullptr, &alarm_, AlarmTimeForm{false, false}, back_c, true);
    pump();
    EXPECT_EQ(alarm_.hwnd, w);
    const std::string all = "2004年6月1日  9:00\r\na\r\n予定時刻です\r\n\r\n"
                            "2004年6月1日  9:05\r\nb\r\n予定時刻です\r\n\r\n"
                            "2004年6月1日  9:06\r\nc\r\n予定時刻です";
    EXPECT_EQ(text(w), all);
    EXPECT_TRUE(sound_.player().playing());  // the sound of what came back
    // What is on show already does not come again.
    sound_.mci().calls.clear();
    show_alarm_batch(nullptr, &alarm_, AlarmTimeForm{false, false}, back_b, true);
    pump();
    EXPECT_EQ(text(w), all);
    EXPECT_EQ(sound_.mci().count("open"), 0);
    // Closed meanwhile: they come back in a new window.
    press_in(w, IDCANCEL);
    show_alarm_batch(nullptr, &alarm_, AlarmTimeForm{false, false}, back_c, true);
    pump();
    ASSERT_NE(alarm_.hwnd, nullptr);
    EXPECT_EQ(text(alarm_.hwnd), "2004年6月1日  9:06\r\nc\r\n予定時刻です");
}

}  // namespace
