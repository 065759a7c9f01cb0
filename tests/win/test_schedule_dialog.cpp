// The schedule dialog driven in this process: its controls, typing and what it enables,
// Add, Change and Delete on the schedule list, the messages and the close question (through
// the notice seam), the try-sound button (through the fake sound player) and the browse
// button (through the real open-file dialog).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "dialogs/schedule_dialog_win.h"
#include "dialogs/schedule_fields.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/fake_mci.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

using namespace win_test;

struct Notice {
    std::string text, caption;
    UINT flags;
    HWND owner;
};
std::vector<Notice> notices;
int question_answer = IDYES;

int record_notice(HWND owner, const char* text, const char* caption, UINT flags) {
    notices.push_back({text, caption, flags, owner});
    return (flags & 0x0F) == MB_YESNO ? question_answer : IDOK;
}
// What the dialog is handed to tell things with (nullptr: the real message box), and the
// player its ♪ button plays on.
ScheduleNoticeFn g_notice = record_notice;
SoundPlayer* g_sound = nullptr;

const char kQuestion[] = "スケジュールを編集中です\nスケジュール設定を終了しますか？";

HWND list_of(HWND dlg) { return GetDlgItem(dlg, IDC_SCHED_LIST); }

void close_dialog(HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDOK, 0); }

// Opens the dialog on a date and runs the steps in it, one a tick. Returns its result.
int run_dialog(const ScheduleOpening& opening, std::vector<ModalDriver::Step> steps) {
    ModalDriver driver(std::move(steps));
    return driver.run([&] { return schedule_dialog(nullptr, opening, &schedule, g_sound, g_notice); });
}
int run_dialog(std::function<void(HWND)> body, const ScheduleOpening& opening = {}) {
    return run_dialog(opening, {[body](HWND dlg) { body(dlg); }});
}

int add_memo(int y, int m, int d, const char* memo, int hour = -1, int minute = -1) {
    return append_entry(&schedule, make_entry(y, m, d, 0, memo, hour, minute));
}

std::string memos() {
    std::string s;
    for (int i = 0; i < schedule.count; ++i) s += std::string(schedule.entries[i].memo) + ",";
    return s;
}

std::string list_memos(HWND dlg) {
    std::string s;
    for (int r = 0; r < row_count(list_of(dlg)); ++r) s += row_text(list_of(dlg), r, kScheduleMemoColumn) + ",";
    return s;
}

void type_entry(HWND dlg, const char* year, const char* month, const char* day, const char* memo,
                const char* hour = "", const char* minute = "") {
    type(dlg, IDC_SCHED_YEAR, year);
    type(dlg, IDC_SCHED_MONTH, month);
    type(dlg, IDC_SCHED_DAY, day);
    type(dlg, IDC_SCHED_HOUR, hour);
    type(dlg, IDC_SCHED_MINUTE, minute);
    paste(dlg, IDC_SCHED_MEMO, memo);
}

struct Buttons {
    bool add, change, del;
    bool operator==(const Buttons& o) const {
        return add == o.add && change == o.change && del == o.del;
    }
};
std::ostream& operator<<(std::ostream& os, const Buttons& b) {
    return os << "add " << b.add << " change " << b.change << " delete " << b.del;
}
Buttons buttons(HWND dlg) {
    return {enabled(dlg, IDC_SCHED_ADD), enabled(dlg, IDC_SCHED_CHANGE),
            enabled(dlg, IDC_SCHED_DELETE)};
}

class ScheduleDialog : public testing::Test {
protected:
    void SetUp() override {
        reset_program_globals();
        notices.clear();
        question_answer = IDYES;
        g_notice = record_notice;
        g_sound = &sound_.player();
    }
    void TearDown() override {
        g_notice = nullptr;
        g_sound = nullptr;
        reset_program_globals();
    }
    FakeSound sound_;
};

// Every control of the template in order: id, class, text, place in dialog units, and
// whether it starts enabled.
TEST_F(ScheduleDialog, TemplateControls) {
    struct Control {
        int id;
        const char* cls;
        const char* text;
        int x, y, w, h;
        bool enabled;
    } want[] = {
        {124, "Edit", "", 4, 4, 32, 14, true},
        {-1, "Static", "年", 38, 6, 11, 8, true},
        {119, "Edit", "", 50, 4, 20, 14, true},
        {-1, "Static", "月", 72, 6, 12, 8, true},
        {120, "Edit", "", 86, 4, 19, 14, true},
        {-1, "Static", "日", 108, 6, 9, 8, true},
        {1011, "Edit", "", 134, 4, 20, 14, true},
        {-1, "Static", "時", 156, 6, 8, 8, true},
        {1013, "Edit", "", 168, 4, 20, 14, true},
        {-1, "Static", "分 (24時制で)", 190, 6, 45, 8, true},
        {-1, "Static", "終了(&N)", 4, 24, 30, 8, true},
        {IDC_SCHED_END_MONTH, "Edit", "", 50, 22, 20, 14, true},
        {-1, "Static", "月", 72, 24, 12, 8, true},
        {IDC_SCHED_END_DAY, "Edit", "", 86, 22, 19, 14, true},
        {-1, "Static", "日", 108, 24, 9, 8, true},
        {IDC_SCHED_END_HOUR, "Edit", "", 134, 22, 20, 14, true},
        {-1, "Static", "時", 156, 24, 8, 8, true},
        {IDC_SCHED_END_MINUTE, "Edit", "", 168, 22, 20, 14, true},
        {-1, "Static", "分 (数日続く予定、終了時刻)", 190, 24, 106, 8, true},
        {-1, "Static", "メモ", 4, 42, 16, 8, true},
        {112, "Edit", "", 22, 40, 274, 14, true},
        {IDC_SCHED_REPEAT, "Button", "繰り返し(&R)...", 4, 58, 60, 14, true},
        {IDC_SCHED_REPEAT_TEXT, "Static", "", 68, 61, 228, 8, true},
        {-1, "Button", "アラーム (時刻のない予定は指定の日の時刻に)", 4, 76, 292, 50, true},
        {1010, "Button", "使用する", 10, 86, 44, 10, true},
        {1015, "Edit", "0", 10, 98, 20, 12, false},
        {IDC_SCHED_LEAD_UNIT, "ComboBox", "分前", 32, 97, 40, 0, false},
        {1016, "Static", "に告知", 74, 100, 24, 8, false},
        {IDC_SCHED_DAY_ALARM, "ComboBox", "当日", 10, 111, 36, 0, false},
        {IDC_SCHED_DAY_HOUR, "Edit", "9", 48, 112, 16, 12, false},
        {IDC_SCHED_DAY_UNIT, "Static", "時", 66, 114, 8, 8, false},
        {IDC_SCHED_DAY_MINUTE, "Edit", "00", 76, 112, 16, 12, false},
        {IDC_SCHED_DAY_LABEL, "Static", "分に告知", 94, 114, 32, 8, false},
        {1017, "Button", "サウンドを鳴らす", 136, 86, 67, 10, false},
        {1019, "Static", "サウンドファイル(指定無しでシステムの標準音)", 136, 98, 148, 8, false},
        {1020, "Edit", "", 136, 108, 120, 14, false},
        {1022, "Button", "♪", 258, 108, 10, 14, false},
        {1021, "Button", "参照", 270, 108, 22, 14, false},
        {123, "Button", "祭日として設定する", 4, 130, 76, 10, true},
        {126, "Button", "保存時に暗号化する", 88, 130, 78, 10, true},
        {110, "SysListView32", "", 4, 142, 292, 120, true},
        {114, "Button", "追加(&A)", 4, 266, 40, 14, false},
        {125, "Button", "変更(&C)", 46, 266, 39, 14, false},
        {113, "Button", "削除(&E)", 88, 266, 40, 14, false},
        {1, "Button", "OK", 256, 266, 40, 14, true},
        {-1, "Static", "(S:暗号化  A:アラーム)", 229, 132, 67, 8, true},
    };
    run_dialog([&](HWND dlg) {
        EXPECT_EQ(text_of(dlg), "Tavelspore - スケジュールの設定");
        const LONG style = GetWindowLongA(dlg, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_FALSE(style & WS_SYSMENU);
        size_t i = 0;
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++i) {
            ASSERT_LT(i, std::size(want));
            const Control& w = want[i];
            char cls[32] = "";
            GetClassNameA(c, cls, sizeof cls);
            EXPECT_EQ(GetDlgCtrlID(c), w.id == -1 ? 0xFFFF : w.id) << i;
            EXPECT_STRCASEEQ(cls, w.cls) << i;
            EXPECT_EQ(text_of(c), w.text) << i;
            // Place and size are each converted from dialog units, as the template is.
            RECT at = {w.x, w.y, w.x, w.y}, size = {0, 0, w.w, w.h};
            MapDialogRect(dlg, &at);
            MapDialogRect(dlg, &size);
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, at.left) << i;
            EXPECT_EQ(r.top, at.top) << i;
            EXPECT_EQ(r.right - r.left, size.right) << i;
            if (w.h) EXPECT_EQ(r.bottom - r.top, size.bottom) << i;  // a list's height is its own
            EXPECT_EQ(IsWindowEnabled(c) != 0, w.enabled) << i;
        }
        EXPECT_EQ(i, std::size(want));
        // The list: report view, several rows selectable, always showing its selection, full
        // rows, six columns and the holiday images.
        HWND list = list_of(dlg);
        const LONG ls = GetWindowLongA(list, GWL_STYLE);
        EXPECT_EQ(ls & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_FALSE(ls & LVS_SINGLESEL);
        EXPECT_TRUE(ls & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(ls & LVS_NOSORTHEADER);
        EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), kScheduleColumns);
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        EXPECT_EQ(ImageList_GetImageCount(images), 2);
        // OK is the default button; the limits of the edits.
        EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDOK);
        struct {
            int id;
            int limit;
        } limits[] = {{124, 4}, {119, 2}, {120, 2}, {1011, 2}, {1013, 2}, {1015, 3}, {112, 80},
                      {IDC_SCHED_END_MONTH, 2}, {IDC_SCHED_END_DAY, 2}, {IDC_SCHED_END_HOUR, 2},
                      {IDC_SCHED_END_MINUTE, 2}, {IDC_SCHED_DAY_HOUR, 2}, {IDC_SCHED_DAY_MINUTE, 2}};
        for (const auto& l : limits)
            EXPECT_EQ(SendMessageA(GetDlgItem(dlg, l.id), EM_GETLIMITTEXT, 0, 0), l.limit) << l.id;
        close_dialog(dlg);
    });
}

TEST_F(ScheduleDialog, OpenedFromTheMenuStartsBlankAndChangesNothing) {
    settings.ToDoTimemes = 5;
    add_memo(2004, 5, 5, "a");
    const int r = run_dialog([](HWND dlg) {
        for (int id : {IDC_SCHED_YEAR, IDC_SCHED_MONTH, IDC_SCHED_DAY, IDC_SCHED_HOUR,
                       IDC_SCHED_MINUTE, IDC_SCHED_MEMO, IDC_SCHED_SOUND_FILE})
            EXPECT_EQ(item_text(dlg, id), "") << id;
        EXPECT_EQ(item_text(dlg, IDC_SCHED_BEFORE), "0");
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, false}));
        EXPECT_TRUE(enabled(dlg, IDC_SCHED_ALARM));  // any entry can have an alarm
        EXPECT_FALSE(enabled(dlg, IDC_SCHED_BEFORE));
        EXPECT_FALSE(enabled(dlg, IDC_SCHED_DAY_ALARM));
        EXPECT_EQ(row_count(list_of(dlg)), 1);
        EXPECT_TRUE(selected_rows(list_of(dlg)).empty());
        close_dialog(dlg);
    });
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(notices.empty());  // nothing typed: no question
    EXPECT_EQ(settings.ToDoTimemes, 5);
}

TEST_F(ScheduleDialog, OpenedOnADayAddsForThatYear) {
    const int r = run_dialog(
        [](HWND dlg) {
            EXPECT_EQ(item_text(dlg, IDC_SCHED_YEAR), "2004");
            EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "6");
            EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), "1");
            paste(dlg, IDC_SCHED_MEMO, "打合せ");
            press(dlg, IDC_SCHED_ADD);
            close_dialog(dlg);
        },
        ScheduleOpening{2004, 6, 1});
    EXPECT_EQ(r, 1);
    ASSERT_EQ(schedule.count, 1);
    EXPECT_EQ(schedule.entries[0].year, 2004);
    EXPECT_STREQ(schedule.entries[0].memo, "打合せ");
}

TEST_F(ScheduleDialog, TypingEnablesAddOnlyWithMonthDayAndMemo) {
    struct {
        int id;
        const char* typed;  // nullptr: clear the field
        bool add;
    } steps[] = {
        {IDC_SCHED_MEMO, "m", false},   {IDC_SCHED_MONTH, "6", false},
        {IDC_SCHED_YEAR, "2004", false}, {IDC_SCHED_DAY, "0", true},  // rejected only at Add
        {IDC_SCHED_MEMO, nullptr, true},  // once on, an edit never turns Add off
    };
    run_dialog([&](HWND dlg) {
        for (const auto& s : steps) {
            if (s.typed && s.id == IDC_SCHED_MEMO) paste(dlg, s.id, s.typed);
            else if (s.typed) type(dlg, s.id, s.typed);
            else clear(dlg, s.id);
            EXPECT_EQ(buttons(dlg), (Buttons{s.add, false, false})) << s.id;
        }
        // A day of 40 is accepted by the fields but refused by Add.
        paste(dlg, IDC_SCHED_MEMO, "m");
        paste(dlg, IDC_SCHED_DAY, "40");
        press(dlg, IDC_SCHED_ADD);
        question_answer = IDYES;
        close_dialog(dlg);
    });
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, "日の設定が不正です");
    EXPECT_EQ(notices[1].text, kQuestion);
    EXPECT_EQ(schedule.count, 0);
}

TEST_F(ScheduleDialog, ValidationMessagesInTheirOrder) {
    struct {
        const char *year, *month, *day, *memo;
        const char* message;  // nullptr: added
    } cases[] = {
        {"1979", "", "", "", "年の設定は1980年から2079年までです"},
        {"2080", "2", "30", "m", "年の設定は1980年から2079年までです"},
        {"", "", "1", "m", "月が入力されていません"},
        {"2004", "13", "1", "m", "月の設定が不正です"},
        {"2004", "0", "1", "m", "月の設定が不正です"},
        {"2004", "1", "", "m", "日が入力されていません"},
        {"2004", "4", "31", "m", "日の設定が不正です"},
        {"", "2", "29", "m", "日の設定が不正です"},
        {"2003", "2", "29", "m", "日の設定が不正です"},
        {"2004", "1", "?", "m", "日の設定が不正です"},
        {"2004", "1", "1", "　 ", "メモが入力されていません"},
        {"2004", "1", "1", "", "メモが入力されていません"},
        {"2004", "2", "29", "leap", nullptr},
        {"", "5", "?", "movable", nullptr},
    };
    run_dialog([&](HWND dlg) {
        type_entry(dlg, "", "1", "1", "start");  // latches Add
        int added = 0;
        for (const auto& c : cases) {
            notices.clear();
            paste(dlg, IDC_SCHED_YEAR, c.year);
            paste(dlg, IDC_SCHED_MONTH, c.month);
            paste(dlg, IDC_SCHED_DAY, c.day);
            paste(dlg, IDC_SCHED_MEMO, c.memo);
            press(dlg, IDC_SCHED_ADD);
            if (c.message) {
                ASSERT_EQ(notices.size(), 1u) << c.message;
                EXPECT_EQ(notices[0].text, c.message);
                EXPECT_EQ(notices[0].caption, "Tavelspore");
                EXPECT_EQ(notices[0].flags, 0x30u);
                EXPECT_EQ(notices[0].owner, dlg);
                EXPECT_TRUE(enabled(dlg, IDC_SCHED_ADD));  // buttons stay for a retry
                // The fields keep what was typed, but for a blank memo, which is cleared.
                EXPECT_EQ(item_text(dlg, IDC_SCHED_YEAR), c.year);
                if (std::strcmp(c.memo, "　 ") == 0) EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), "");
            } else {
                EXPECT_TRUE(notices.empty()) << c.memo;
                ++added;
            }
            EXPECT_EQ(schedule.count, added) << c.memo;
        }
        close_dialog(dlg);
    });
    EXPECT_EQ(memos(), "leap,movable,");
}

TEST_F(ScheduleDialog, AddSortsSelectsAndShowsTheNewEntry) {
    add_memo(2004, 1, 1, "a");
    add_memo(2004, 12, 1, "c");
    add_memo(-1, 1, 1, "d");
    schedule.entries[add_memo(2004, 1, 1, "e")].holiday = 1;
    run_dialog([](HWND dlg) {
        type_entry(dlg, "2004", "05", "5", "b", "9", "5");
        press(dlg, IDC_SCHED_ALARM);
        paste(dlg, IDC_SCHED_BEFORE, "15");
        press(dlg, IDC_SCHED_ADD);
        EXPECT_EQ(list_memos(dlg), "a,b,c,d,e,");
        EXPECT_EQ(selected_rows(list_of(dlg)), std::vector<int>{1});
        EXPECT_EQ(row_text(list_of(dlg), 1, 0), "2004年");
        EXPECT_EQ(row_text(list_of(dlg), 1, 1), " 5月 5日");
        EXPECT_EQ(row_text(list_of(dlg), 1, 2), " 9:05");
        EXPECT_EQ(row_text(list_of(dlg), 1, 5), "A");
        EXPECT_EQ(row_text(list_of(dlg), 3, 0), "通年");
        EXPECT_EQ(row_image(list_of(dlg), 1), 0);
        EXPECT_EQ(row_image(list_of(dlg), 4), 1);  // the holiday sorts last, with its flag
        // The fields show the stored values, normalised; the new entry is shown and held, so
        // an edit offers Change of it as well as a further entry.
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "5");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MINUTE), "05");
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
        paste(dlg, IDC_SCHED_MEMO, "b2");
        EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
        press(dlg, IDC_SCHED_ADD);
        EXPECT_EQ(list_memos(dlg), "a,b,b2,c,d,e,");
        paste(dlg, IDC_SCHED_MEMO, "b3");
        press(dlg, IDC_SCHED_CHANGE);  // the entry just added
        EXPECT_EQ(list_memos(dlg), "a,b,b3,c,d,e,");
        close_dialog(dlg);
    });
    // The alarm rings from its new time at once, also while the dialog stays open.
    ASSERT_EQ(schedule.count, 6);
    EXPECT_EQ(schedule.entries[1].alarm_at, alarm_instant(2004, 5, 5, 8, 50));
    EXPECT_EQ(schedule.entries[1].last_edited, 0);
    EXPECT_EQ(schedule.entries[2].last_edited, 1);
    // Each added entry is one of its own, with an identity of its own.
    EXPECT_STRNE(schedule.entries[1].uid, "");
    EXPECT_STRNE(schedule.entries[1].uid, schedule.entries[2].uid);
}

TEST_F(ScheduleDialog, ChangeMovesTheRowAndKeepsItHeld) {
    add_memo(2004, 1, 1, "a", 9, 0);
    add_memo(2004, 2, 1, "b");
    add_memo(2004, 3, 1, "c");
    schedule.entries[0].alarm_kind = 1;
    compute_alarm_at(&schedule.entries[0]);
    run_dialog([](HWND dlg) {
        HWND list = list_of(dlg);
        select_rows(list, {0});
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), "a");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "9");
        EXPECT_TRUE(checked(dlg, IDC_SCHED_ALARM));
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
        paste(dlg, IDC_SCHED_MONTH, "4");
        EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
        press(dlg, IDC_SCHED_CHANGE);
        EXPECT_EQ(list_memos(dlg), "b,c,a,");
        EXPECT_EQ(selected_rows(list), std::vector<int>{2});
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
        // Still held at its new row: a further edit offers Change again, and Change writes
        // the entry at its new place.
        paste(dlg, IDC_SCHED_MEMO, "a2");
        EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
        press(dlg, IDC_SCHED_CHANGE);
        EXPECT_EQ(list_memos(dlg), "b,c,a2,");
        close_dialog(dlg);
    });
    ASSERT_EQ(schedule.count, 3);
    EXPECT_EQ(schedule.entries[2].month, 4);
    EXPECT_EQ(schedule.entries[2].alarm_at, alarm_instant(2004, 4, 1, 9, 0));
}

// Row shown whole in the list's page.
bool row_in_view(HWND list, int row) {
    const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    const int per_page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + per_page;
}

TEST_F(ScheduleDialog, RefillKeepsTheScrollPositionAndShowsTheEditedRow) {
    for (int i = 0; i < 100; ++i) add_memo(2004, 1 + i / 28, 1 + i % 28, "x");
    run_dialog([](HWND dlg) {
        HWND list = list_of(dlg);
        SendMessageA(list, LVM_ENSUREVISIBLE, 60, FALSE);
        const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        ASSERT_GT(top, 0);
        // A change that stays in place: the page does not move.
        select_rows(list, {top + 1});
        paste(dlg, IDC_SCHED_MEMO, "y");
        press(dlg, IDC_SCHED_CHANGE);
        EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), top);
        EXPECT_EQ(selected_rows(list), std::vector<int>{top + 1});
        // A change that moves the entry far down: its row is brought into view.
        paste(dlg, IDC_SCHED_MONTH, "12");
        press(dlg, IDC_SCHED_CHANGE);
        EXPECT_EQ(selected_rows(list), std::vector<int>{99});
        EXPECT_TRUE(row_in_view(list, 99));
        // An entry added at the top is brought into view as well.
        paste(dlg, IDC_SCHED_MONTH, "1");
        paste(dlg, IDC_SCHED_DAY, "1");
        paste(dlg, IDC_SCHED_YEAR, "1999");
        press(dlg, IDC_SCHED_ADD);
        EXPECT_EQ(selected_rows(list), std::vector<int>{0});
        EXPECT_TRUE(row_in_view(list, 0));
        close_dialog(dlg);
    });
    EXPECT_EQ(schedule.count, 101);
}

TEST_F(ScheduleDialog, ChangeWithNothingHeldWritesNothing) {
    add_memo(2004, 1, 1, "a");
    add_memo(2004, 2, 1, "b");
    const int r = run_dialog([](HWND dlg) {
        select_rows(list_of(dlg), {1});
        paste(dlg, IDC_SCHED_MEMO, "x");
        EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
        select_rows(list_of(dlg), {});  // a click below the last row
        EXPECT_TRUE(enabled(dlg, IDC_SCHED_CHANGE));
        press(dlg, IDC_SCHED_CHANGE);
        EXPECT_EQ(list_memos(dlg), "a,b,");
        SendMessageA(GetDlgItem(dlg, IDC_SCHED_MEMO), EM_SETMODIFY, FALSE, 0);
        close_dialog(dlg);
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(memos(), "a,b,");
    EXPECT_TRUE(notices.empty());
}

TEST_F(ScheduleDialog, DeleteRemovesEverySelectedRow) {
    for (int i = 0; i < 10; ++i) {
        char memo[8];
        std::snprintf(memo, sizeof memo, "%d", i);
        std::snprintf(schedule.entries[add_memo(2004, 1 + i, 1, memo)].uid, kUidSize, "u%d", i);
    }
    const ScheduleEntry kept = schedule.entries[0], gone = schedule.entries[4];
    const int r = run_dialog([](HWND dlg) {
        select_rows(list_of(dlg), {1, 4, 8});
        // Several rows: blank fields, and only Delete.
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "0");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MINUTE), "00");
        EXPECT_TRUE(enabled(dlg, IDC_SCHED_ALARM));
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
        press(dlg, IDC_SCHED_DELETE);
        EXPECT_EQ(list_memos(dlg), "0,2,3,5,6,7,9,");
        EXPECT_TRUE(selected_rows(list_of(dlg)).empty());
        EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), "");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "0");
        EXPECT_EQ(buttons(dlg), (Buttons{false, false, false}));
        close_dialog(dlg);
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(memos(), "0,2,3,5,6,7,9,");
    for (int i = 0; i < schedule.count; ++i) EXPECT_EQ(schedule.entries[i].holiday, 0);
    // Each deleted one is remembered for the next import.
    EXPECT_EQ(schedule.deleted.size(), 3u);
    EXPECT_NE(schedule.deleted.find(gone), nullptr);
    EXPECT_EQ(schedule.deleted.find(kept), nullptr);
}

TEST_F(ScheduleDialog, FullListRefusesAddEvenWithInvalidFields) {
    for (int i = 0; i < kMaxEntries; ++i) add_memo(1980 + i % 100, 1 + i % 12, 1 + i % 28, "x");
    run_dialog([](HWND dlg) {
        EXPECT_EQ(row_count(list_of(dlg)), kMaxEntries);
        type_entry(dlg, "1979", "1", "1", "m");
        press(dlg, IDC_SCHED_ADD);
        close_dialog(dlg);
    });
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, "これ以上登録できません");
    EXPECT_EQ(notices[0].flags, 0x30u);
    EXPECT_EQ(schedule.count, kMaxEntries);
}

TEST_F(ScheduleDialog, SecondOpeningHoldsTheEntryLastAdded) {
    add_memo(2004, 1, 1, "a");
    run_dialog([](HWND dlg) {
        type_entry(dlg, "2004", "2", "1", "b");
        press(dlg, IDC_SCHED_ADD);
        close_dialog(dlg);
    });
    run_dialog([](HWND dlg) {
        // From the menu: the row is selected and held while the fields are empty.
        EXPECT_EQ(selected_rows(list_of(dlg)), std::vector<int>{1});
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), "");
        type_entry(dlg, "2005", "7", "7", "b2");
        EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
        press(dlg, IDC_SCHED_CHANGE);
        close_dialog(dlg);
    });
    EXPECT_EQ(memos(), "a,b2,");
    EXPECT_EQ(schedule.entries[1].year, 2005);
}

// Opened on a day (the day contents' schedule button), the fields start on that day and no
// other entry is held, so that the fields add an entry for the day; the list shows the day.
TEST_F(ScheduleDialog, OpenedOnADayHoldsNothingAndShowsThatDay) {
    for (int i = 0; i < 60; ++i) add_memo(2004, 1 + i / 28, 1 + i % 28, "x");
    schedule.entries[add_memo(2005, 7, 7, "that day")].last_edited = 1;
    run_dialog(
        [](HWND dlg) {
            HWND list = list_of(dlg);
            EXPECT_TRUE(selected_rows(list).empty());
            EXPECT_EQ(item_text(dlg, IDC_SCHED_MONTH), "7");
            const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
            const int per_page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
            EXPECT_TRUE(60 >= top && 60 < top + per_page);
            paste(dlg, IDC_SCHED_MEMO, "new");
            EXPECT_EQ(buttons(dlg), (Buttons{true, false, false}));
            press(dlg, IDC_SCHED_ADD);
            close_dialog(dlg);
        },
        ScheduleOpening{2005, 7, 7});
    ASSERT_EQ(schedule.count, 62);
    EXPECT_STREQ(schedule.entries[60].memo, "new");
    EXPECT_STREQ(schedule.entries[61].memo, "that day");
}

// A double click in the day contents opens the dialog with that entry selected and shown.
TEST_F(ScheduleDialog, OpenedWithAnEntrySelectsAndShowsIt) {
    add_memo(2004, 3, 1, "c");
    add_memo(2004, 1, 1, "a");  // the list is not sorted yet: the entry is found after the sort
    add_memo(2004, 2, 1, "b", 9, 30);
    run_dialog(
        [](HWND dlg) {
            EXPECT_EQ(selected_rows(list_of(dlg)), std::vector<int>{1});
            EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), "b");
            EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "9");
            EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
            paste(dlg, IDC_SCHED_MEMO, "b2");
            EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
            press(dlg, IDC_SCHED_CHANGE);
            close_dialog(dlg);
        },
        ScheduleOpening{2004, 2, 1, 2});
    EXPECT_EQ(memos(), "a,b2,c,");
}

TEST_F(ScheduleDialog, CloseAsksWhileEditedAndNoKeepsItOpen) {
    const int r = run_dialog({}, {
        [](HWND dlg) {
            type(dlg, IDC_SCHED_YEAR, "20");
            question_answer = IDNO;
            close_dialog(dlg);
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_EQ(notices[0].text, kQuestion);
            EXPECT_EQ(notices[0].flags, 0x44u);
            EXPECT_EQ(notices[0].caption, "Tavelspore");
        },
        [](HWND dlg) {
            // Still open, with the fields as they were.
            EXPECT_TRUE(IsWindowVisible(dlg));
            EXPECT_EQ(item_text(dlg, IDC_SCHED_YEAR), "20");
            question_answer = IDYES;
            close_dialog(dlg);
        },
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(notices.size(), 2u);
}

// The message box a step meets: the window the driver found, or, while the box is not yet
// shown, the box the found dialog owns.
HWND box_of(HWND found) {
    if (text_of(found) == "Tavelspore") return found;
    WindowQuery q;
    q.thread = GetCurrentThreadId();
    q.owner = found;
    q.visible = false;
    return find_window(q);
}

TEST_F(ScheduleDialog, CloseQuestionThroughTheRealMessageBox) {
    g_notice = nullptr;
    std::string caption;
    const int r = run_dialog({}, {
        [](HWND dlg) {
            type(dlg, IDC_SCHED_MONTH, "1");
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        },
        [&caption](HWND found) {
            HWND box = box_of(found);
            ASSERT_NE(box, nullptr);
            caption = text_of(box);
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        },
        [](HWND dlg) {
            EXPECT_EQ(text_of(dlg), "Tavelspore - スケジュールの設定");
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        },
        [](HWND found) {
            HWND box = box_of(found);
            ASSERT_NE(box, nullptr);
            PostMessageA(box, WM_COMMAND, IDYES, 0);
        },
    });
    EXPECT_EQ(caption, "Tavelspore");
    EXPECT_EQ(r, 0);
}

// The columns of a span's dates, a time with its end and the rule in words are as wide as
// their widest text; in a list of one-off entries they stay narrow and the memo keeps its
// room.
TEST_F(ScheduleDialog, ColumnsFitTheirTexts) {
    const char kMemo[] = "燃えるゴミの日";
    struct {
        const char* name;
        bool repeats;
        bool memo_fits;  // the memo column shows the whole memo
    } cases[] = {{"one-off entries", false, true}, {"a span, an end time and rules", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reset_program_globals();
        add_memo(2030, 6, 3, kMemo, 8, 0);
        add_memo(2030, 12, 24, kMemo);
        if (c.repeats) {
            ScheduleEntry& span = schedule.entries[add_memo(2030, 8, 10, kMemo)];
            span.span_days = 4;
            ScheduleEntry& meeting = schedule.entries[add_memo(2030, 6, 20, kMemo, 14, 0)];
            meeting.has_end_time = 1;
            meeting.end_hour = 15;
            meeting.end_minute = 30;
            ScheduleEntry& waste = schedule.entries[add_memo(2030, 6, 12, kMemo)];
            waste.repeat.kind = RepeatKind::kMonthlyByWeekday;
            waste.repeat.interval = 1;
            waste.repeat.nth_weekdays[1] = waste.repeat.nth_weekdays[3] = 1 << 3;
        }
        run_dialog([&](HWND dlg) {
            HWND list = list_of(dlg);
            auto width_of = [&](const std::string& text) {
                return static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
            };
            auto column = [&](int i) { return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0)); };
            int widest_range = 0;
            for (int r = 0; r < row_count(list); ++r) {
                for (int i = 1; i <= 3; ++i) {
                    const std::string text = row_text(list, r, i);
                    EXPECT_GE(column(i), width_of(text)) << "row " << r << " column " << i << ": " << text;
                    if (text.find("〜") != std::string::npos || text.find("第") != std::string::npos)
                        widest_range = std::max(widest_range, width_of(text));
                }
            }
            EXPECT_EQ(widest_range > 0, c.repeats);
            if (!c.repeats) {
                // Narrower than the texts of ranges and rules would make them.
                EXPECT_LT(column(2), width_of("14:00〜15:30"));
                EXPECT_LT(column(3), width_of("毎月 第2・第4水曜"));
            }
            if (c.memo_fits) EXPECT_GE(column(kScheduleMemoColumn), width_of(kMemo));
            close_dialog(dlg);
        });
    }
}

TEST_F(ScheduleDialog, OutOfRangeHourGivesAnEntryWithoutTime) {
    run_dialog([](HWND dlg) {
        type_entry(dlg, "2004", "1", "1", "m", "24", "00");
        press(dlg, IDC_SCHED_ALARM);
        EXPECT_FALSE(enabled(dlg, IDC_SCHED_BEFORE));  // no time: a day alarm instead
        EXPECT_TRUE(enabled(dlg, IDC_SCHED_DAY_ALARM));
        press(dlg, IDC_SCHED_ADD);
        EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MINUTE), "00");
        EXPECT_FALSE(enabled(dlg, IDC_SCHED_BEFORE));
        EXPECT_TRUE(enabled(dlg, IDC_SCHED_DAY_HOUR));
        EXPECT_EQ(row_text(list_of(dlg), 0, 2), "");
        close_dialog(dlg);
    });
    ASSERT_EQ(schedule.count, 1);
    EXPECT_EQ(schedule.entries[0].has_time, 0);
    EXPECT_EQ(schedule.entries[0].day_alarm, 1);
    EXPECT_EQ(schedule.entries[0].day_alarm_minute, 9 * 60);  // on the day at 9:00
}

TEST_F(ScheduleDialog, DayCodesReadAndShowBack) {
    struct {
        const char* typed;
        const char* shown;
        const char* row;
    } cases[] = {{"m2", "M2", " 1月第2月曜"}, {"M3", "M3", " 1月第3月曜"}, {"?", "??", " 1月??日"}};
    for (const auto& c : cases) {
        reset_program_globals();
        run_dialog([&c](HWND dlg) {
            type_entry(dlg, "", "1", c.typed, "code");
            press(dlg, IDC_SCHED_ADD);
            EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), c.shown);
            EXPECT_EQ(row_text(list_of(dlg), 0, 1), c.row);
            EXPECT_EQ(row_text(list_of(dlg), 0, 0), "通年");
            close_dialog(dlg);
        });
        EXPECT_EQ(schedule.count, 1) << c.typed;
    }
}

TEST_F(ScheduleDialog, NumberFieldsLetOnlyTheirCharactersThrough) {
    run_dialog([](HWND dlg) {
        struct {
            int id;
            const char* typed;
            const char* kept;
        } cases[] = {
            {IDC_SCHED_YEAR, "2a0-0 4", "2004"}, {IDC_SCHED_MONTH, "?1", "1"},
            {IDC_SCHED_DAY, "x?", "?"},          {IDC_SCHED_HOUR, "M1", "1"},
            {IDC_SCHED_MINUTE, "m5", "5"},       {IDC_SCHED_BEFORE, "\x82" "1", "1"},
            // Full-width digits as the input method types them: in as ASCII digits.
            {IDC_SCHED_YEAR, "２００４", "2004"},  {IDC_SCHED_MONTH, "１２月", "12"},
            {IDC_SCHED_DAY, "？３", "3"},
        };
        for (const auto& c : cases) {
            clear(dlg, c.id);
            type(dlg, c.id, c.typed);
            EXPECT_EQ(item_text(dlg, c.id), c.kept) << c.id;
        }
        clear(dlg, IDC_SCHED_DAY);
        type(dlg, IDC_SCHED_DAY, "m");
        type(dlg, IDC_SCHED_DAY, "\b");
        type(dlg, IDC_SCHED_DAY, "M3");
        EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), "M3");
        // A whole character from the input method in one message.
        clear(dlg, IDC_SCHED_HOUR);
        SendMessageA(GetDlgItem(dlg, IDC_SCHED_HOUR), WM_IME_CHAR, 0x8251, 1);  // ２
        SendMessageA(GetDlgItem(dlg, IDC_SCHED_HOUR), WM_IME_CHAR, 0x93FA, 1);  // 日
        EXPECT_EQ(item_text(dlg, IDC_SCHED_HOUR), "2");
        type(dlg, IDC_SCHED_MEMO, "abc");  // the memo is not filtered
        EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), "abc");
        question_answer = IDYES;
        close_dialog(dlg);
    });
}

TEST_F(ScheduleDialog, AlarmGroupFollowsTheTimeAndItsCheckBoxes) {
    run_dialog([](HWND dlg) {
        struct {
            std::function<void()> act;
            bool group, lead, day, sound;
        } steps[] = {
            {[dlg] { type(dlg, IDC_SCHED_HOUR, "9"); }, false, false, false, false},
            {[dlg] { press(dlg, IDC_SCHED_ALARM); }, true, false, true, false},  // no time yet
            {[dlg] { type(dlg, IDC_SCHED_MINUTE, "30"); }, true, true, false, false},
            {[dlg] { press(dlg, IDC_SCHED_SOUND_ON); }, true, true, false, true},
            {[dlg] { press(dlg, IDC_SCHED_ALARM); }, false, false, false, false},
            // Off and on again: the sound box was cleared with the alarm.
            {[dlg] { press(dlg, IDC_SCHED_ALARM); }, true, true, false, false},
            {[dlg] { clear(dlg, IDC_SCHED_MINUTE); }, true, false, true, false},
        };
        int n = 0;
        for (const auto& s : steps) {
            s.act();
            EXPECT_TRUE(enabled(dlg, IDC_SCHED_ALARM)) << n;
            EXPECT_EQ(enabled(dlg, IDC_SCHED_SOUND_ON), s.group) << n;
            for (int id : {IDC_SCHED_BEFORE, IDC_SCHED_LEAD_UNIT, IDC_SCHED_BEFORE_LABEL})
                EXPECT_EQ(enabled(dlg, id), s.lead) << n << " " << id;
            for (int id : {IDC_SCHED_DAY_ALARM, IDC_SCHED_DAY_HOUR, IDC_SCHED_DAY_MINUTE,
                           IDC_SCHED_DAY_LABEL})
                EXPECT_EQ(enabled(dlg, id), s.day) << n << " " << id;
            for (int id : {IDC_SCHED_SOUND_LABEL, IDC_SCHED_SOUND_FILE, IDC_SCHED_TRY_SOUND,
                           IDC_SCHED_BROWSE})
                EXPECT_EQ(enabled(dlg, id), s.sound) << n << " " << id;
            ++n;
        }
        question_answer = IDYES;
        close_dialog(dlg);
    });
}

TEST_F(ScheduleDialog, TrySoundPlaysStopsAndFallsBack) {
    FakeMci& mci = sound_.mci();
    const SoundPlayer& player = sound_.player();
    run_dialog([&mci, &player](HWND dlg) {
        type_entry(dlg, "", "1", "1", "m", "9", "0");
        press(dlg, IDC_SCHED_ALARM);
        press(dlg, IDC_SCHED_SOUND_ON);
        // Empty path: the system sound, the button keeps its text.
        press(dlg, IDC_SCHED_TRY_SOUND);
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "♪");
        EXPECT_EQ(mci.count("open"), 0);

        paste(dlg, IDC_SCHED_SOUND_FILE, "C:\\s\\a.wav");
        press(dlg, IDC_SCHED_TRY_SOUND);
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "！");
        EXPECT_TRUE(player.playing());
        ASSERT_EQ(mci.count("open"), 1);
        EXPECT_EQ(mci.calls[0], "open 0 type+element WaveAudioC:\\s\\a.wav");
        press(dlg, IDC_SCHED_TRY_SOUND);  // pressed again: stops
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "♪");
        EXPECT_FALSE(player.playing());
        EXPECT_EQ(mci.count("close"), 1);

        // The sound ends by itself: the poll finds it and the text comes back.
        press(dlg, IDC_SCHED_TRY_SOUND);
        EXPECT_TRUE(player.playing());
        mci.status_mode = MCI_MODE_STOP;
        pump_for(700);
        EXPECT_FALSE(player.playing());
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "♪");

        // A file that does not open, and a field edit that stops a playing sound.
        mci.status_mode = MCI_MODE_PLAY;
        mci.open_error = MCIERR_FILE_NOT_FOUND;
        press(dlg, IDC_SCHED_TRY_SOUND);
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "♪");
        mci.open_error = 0;
        press(dlg, IDC_SCHED_TRY_SOUND);
        EXPECT_TRUE(player.playing());
        type(dlg, IDC_SCHED_MEMO, "x");
        EXPECT_FALSE(player.playing());
        EXPECT_EQ(item_text(dlg, IDC_SCHED_TRY_SOUND), "♪");
        question_answer = IDYES;
        close_dialog(dlg);
    });
}

// The file name field of the open-file dialog.
HWND name_field(HWND dlg) {
    HWND combo = GetDlgItem(dlg, cmb13);
    return combo ? combo : GetDlgItem(dlg, edt1);
}

TEST_F(ScheduleDialog, BrowseThroughTheOpenFileDialog) {
    const std::string dir = scratch_dir("browse");
    put_file(dir + "bell.wav", "RIFF");
    const std::string chosen = dir + "bell.wav";
    std::string chooser_caption, chooser_name;
    add_memo(2004, 1, 1, "a", 9, 0);
    schedule.entries[0].alarm_kind = 3;
    std::snprintf(schedule.entries[0].sound_file, sizeof schedule.entries[0].sound_file, "C:\\old.wav");
    run_dialog({}, {
        [](HWND dlg) {
            select_rows(list_of(dlg), {0});
            EXPECT_TRUE(enabled(dlg, IDC_SCHED_BROWSE));
            EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
            PostMessageA(dlg, WM_COMMAND, IDC_SCHED_BROWSE, 0);
        },
        [&](HWND chooser) {  // cancelled: nothing changes
            chooser_caption = text_of(chooser);
            chooser_name = text_of(name_field(chooser));
            PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
        },
        [](HWND dlg) {
            EXPECT_EQ(item_text(dlg, IDC_SCHED_SOUND_FILE), "C:\\old.wav");
            EXPECT_EQ(buttons(dlg), (Buttons{false, false, true}));
            PostMessageA(dlg, WM_COMMAND, IDC_SCHED_BROWSE, 0);
        },
        [&](HWND chooser) {
            SetWindowTextA(name_field(chooser), chosen.c_str());
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        },
        [&](HWND dlg) {
            EXPECT_EQ(item_text(dlg, IDC_SCHED_SOUND_FILE), chosen);
            // Another file: Add, and Change for the held entry.
            EXPECT_EQ(buttons(dlg), (Buttons{true, true, false}));
            press(dlg, IDC_SCHED_CHANGE);
            close_dialog(dlg);
        },
    });
    EXPECT_EQ(chooser_caption, "Tavelspore - ｻｳﾝﾄﾞﾌｧｲﾙの指定");
    EXPECT_EQ(chooser_name, "old.wav");  // the folder holds the rest
    ASSERT_EQ(schedule.count, 1);
    EXPECT_EQ(schedule.entries[0].alarm_kind, 3);
    EXPECT_EQ(std::string(schedule.entries[0].sound_file), chosen);
    remove_tree(dir);
}

// The memo holds at most 80 bytes however the text comes in, also where the edit control
// counts its limit in characters: what does not fit is refused or cut at a character.
TEST_F(ScheduleDialog, MemoKeepsItsBytesAsTheUserTypesOrPastes) {
    auto kana = [](int n) {
        std::string k;
        for (int i = 0; i < n; ++i) k += "あ";
        return k;
    };
    // One typed double-byte character: its two bytes in two character messages.
    auto type_kana = [](HWND dlg) {
        HWND memo = GetDlgItem(dlg, IDC_SCHED_MEMO);
        SendMessageA(memo, WM_CHAR, 0x82, 1);
        SendMessageA(memo, WM_CHAR, 0xA0, 1);
    };
    struct Case {
        const char* what;
        std::string start;   // the field's text before (set as the program does)
        int caret;           // where the caret is in it (bytes), -1 at the end
        int typed_kana;      // kana typed, or
        std::string pasted;  // text pasted over everything
        std::string now;     // the field afterwards
    } cases[] = {
        {"41 kana typed", "", -1, 41, "", kana(40)},
        {"a kana at 79 bytes", std::string(79, 'a'), -1, 1, "", std::string(79, 'a')},
        {"a kana in the middle", "a" + kana(39), 0, 1, "", "a" + kana(39)},
        {"a kana that fits", kana(39), 0, 1, "", kana(40)},
        {"a long paste", "", -1, 0, "x" + kana(45), "x" + kana(39)},
    };
    for (const Case& c : cases) {
        run_dialog([&](HWND dlg) {
            HWND memo = GetDlgItem(dlg, IDC_SCHED_MEMO);
            SetWindowTextA(memo, c.start.c_str());
            const int at = c.caret < 0 ? static_cast<int>(SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0)) : c.caret;
            SendMessageA(memo, EM_SETSEL, at, at);
            for (int k = 0; k < c.typed_kana; ++k) type_kana(dlg);
            if (!c.pasted.empty()) paste(dlg, IDC_SCHED_MEMO, c.pasted.c_str());
            EXPECT_EQ(item_text(dlg, IDC_SCHED_MEMO), c.now) << c.what;
            SendMessageA(memo, EM_SETMODIFY, FALSE, 0);  // closes without the question
            close_dialog(dlg);
        });
    }
}

}  // namespace
