// The repeat dialog and the repeating entries of the schedule dialog, driven in this process:
// the kinds chosen by their radio buttons with what they fill in and enable, the messages,
// cancel; the repeat button of the schedule dialog and its rule in words; "この日だけ" and
// "すべて" for a change or delete from a day, and the question's own dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/occurrence_question_win.h"
#include "dialogs/repeat_dialog_win.h"
#include "dialogs/schedule_dialog_win.h"
#include "dialogs/schedule_fields.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/dialog_input.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"

namespace {

using namespace win_test;

std::vector<std::string> told;
int record_told(HWND, const char* text, const char*, UINT flags) {
    told.push_back(text);
    return (flags & 0x0F) == MB_YESNO ? IDYES : IDOK;
}

OccurrenceScope g_answer = OccurrenceScope::kCancel;
int g_asked = 0;
bool g_asked_delete = false;
OccurrenceScope answer(HWND, bool deleting) {
    ++g_asked;
    g_asked_delete = deleting;
    return g_answer;
}

const CalendarDate kMonday = {2030, 6, 3};  // the 1st Monday of June 2030

class RepeatDialog : public testing::Test {
protected:
    void SetUp() override {
        reset_program_globals();
        told.clear();
        g_asked = 0;
        g_answer = OccurrenceScope::kCancel;
    }
    void TearDown() override { reset_program_globals(); }

    // Runs the repeat dialog on rule with the steps; returns its answer.
    bool run(RepeatRule* rule, std::vector<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        return driver.run([&] { return repeat_dialog(nullptr, kMonday, rule, record_told); });
    }
};

RepeatRule none() {
    RepeatRule r;
    std::memset(&r, 0, sizeof r);
    return r;
}

bool weekday_checked(HWND dlg, int w) { return checked(dlg, IDC_REP_WEEKDAY0 + w); }

TEST_F(RepeatDialog, WeeklyFromTheDateThenAnotherDay) {
    RepeatRule r = none();
    const bool ok = run(&r, {[](HWND dlg) {
        EXPECT_EQ(text_of(dlg), "Tavelspore - 繰り返し");
        EXPECT_TRUE(checked(dlg, IDC_REP_NONE));
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_REP_NONE));  // the kind chosen
        EXPECT_FALSE(enabled(dlg, IDC_REP_INTERVAL));
        EXPECT_FALSE(enabled(dlg, IDC_REP_WEEKDAY0 + 1));
        EXPECT_FALSE(enabled(dlg, IDC_REP_END_NEVER));
        EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDOK);
        press(dlg, IDC_REP_WEEKLY);
        EXPECT_EQ(item_text(dlg, IDC_REP_UNIT), "週間ごと");
        EXPECT_EQ(item_text(dlg, IDC_REP_INTERVAL), "1");
        for (int w = 0; w < 7; ++w) EXPECT_EQ(weekday_checked(dlg, w), w == 1) << w;  // the date's Monday
        EXPECT_TRUE(enabled(dlg, IDC_REP_WEEKDAY0 + 4));
        EXPECT_FALSE(enabled(dlg, IDC_REP_BY_DATE));
        EXPECT_TRUE(checked(dlg, IDC_REP_END_NEVER));
        EXPECT_FALSE(enabled(dlg, IDC_REP_UNTIL));
        press(dlg, IDC_REP_WEEKDAY0 + 4);
        press(dlg, IDOK);
    }});
    EXPECT_TRUE(ok);
    EXPECT_EQ(r.kind, RepeatKind::kWeekly);
    EXPECT_EQ(r.interval, 1);
    EXPECT_EQ(r.weekdays, (1 << 1) | (1 << 4));
    EXPECT_EQ(r.end, RepeatEnd::kNever);
    EXPECT_TRUE(told.empty());
}

TEST_F(RepeatDialog, SecondAndFourthWednesdayUntilADate) {
    RepeatRule r = none();
    ASSERT_TRUE(run(&r, {[](HWND dlg) {
        press(dlg, IDC_REP_MONTHLY);
        EXPECT_TRUE(checked(dlg, IDC_REP_BY_DATE));
        EXPECT_EQ(item_text(dlg, IDC_REP_MONTH_DAYS), "3");
        EXPECT_TRUE(enabled(dlg, IDC_REP_LAST_DAY));
        EXPECT_FALSE(enabled(dlg, IDC_REP_NTH0));
        EXPECT_FALSE(enabled(dlg, IDC_REP_WEEKDAY0));
        press(dlg, IDC_REP_BY_WEEKDAY);
        EXPECT_FALSE(enabled(dlg, IDC_REP_MONTH_DAYS));
        EXPECT_TRUE(checked(dlg, IDC_REP_NTH0));     // the date is the 1st Monday
        EXPECT_TRUE(weekday_checked(dlg, 1));
        press(dlg, IDC_REP_NTH0);
        press(dlg, IDC_REP_NTH0 + 1);
        press(dlg, IDC_REP_NTH0 + 3);
        press(dlg, IDC_REP_WEEKDAY0 + 1);
        press(dlg, IDC_REP_WEEKDAY0 + 3);
        press(dlg, IDC_REP_END_DATE);
        EXPECT_TRUE(enabled(dlg, IDC_REP_UNTIL));
        EXPECT_FALSE(enabled(dlg, IDC_REP_COUNT));
        paste(dlg, IDC_REP_UNTIL, "2031/3/31");
        press(dlg, IDOK);
    }}));
    EXPECT_EQ(r.kind, RepeatKind::kMonthlyByWeekday);
    const uint8_t wed = 1 << 3;
    const uint8_t want[kNthSlots] = {0, wed, 0, wed, 0};
    EXPECT_EQ(std::memcmp(r.nth_weekdays, want, sizeof want), 0);
    EXPECT_EQ(r.end, RepeatEnd::kUntil);
    EXPECT_EQ(r.until, 20310331);
}

TEST_F(RepeatDialog, AMessageKeepsItOpenAndCancelKeepsTheRule) {
    RepeatRule r = none();
    r.kind = RepeatKind::kDaily;
    r.interval = 1;
    const RepeatRule before = r;
    const bool ok = run(&r, {
        [](HWND dlg) {
            press(dlg, IDC_REP_WEEKLY);
            press(dlg, IDC_REP_WEEKDAY0 + 1);  // the only day unticked
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        },
        [](HWND dlg) {
            ASSERT_EQ(told.size(), 1u);
            EXPECT_EQ(told[0], "曜日を選んでください");
            EXPECT_TRUE(IsWindowVisible(dlg));  // still open
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        },
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
}

// A rule the fields cannot show exactly (other weekdays on each k-th) comes back as it was
// when nothing was changed.
TEST_F(RepeatDialog, OkWithoutAChangeKeepsTheRuleAsItWas) {
    RepeatRule r = none();
    r.kind = RepeatKind::kMonthlyByWeekday;
    r.interval = 1;
    r.nth_weekdays[0] = 1 << 1;
    r.nth_weekdays[2] = 1 << 2;
    const RepeatRule before = r;
    ASSERT_TRUE(run(&r, {[](HWND dlg) {
        EXPECT_TRUE(checked(dlg, IDC_REP_MONTHLY));
        EXPECT_TRUE(checked(dlg, IDC_REP_BY_WEEKDAY));
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_REP_MONTHLY));
        press(dlg, IDOK);
    }}));
    EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
}

// Keys go to the control with the focus, through the dialog's own loop.
void post_key(HWND dlg, UINT down, WPARAM key, LPARAM flags) {
    HWND focus = GetFocus();
    PostMessageA(focus && IsChild(dlg, focus) ? focus : dlg, down, key, flags);
}
void post_alt(HWND dlg, char letter) { post_key(dlg, WM_SYSCHAR, letter, 0x20000001); }
void post_press(HWND dlg, WPARAM vk) {
    post_key(dlg, WM_KEYDOWN, vk, 1);
    post_key(dlg, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

int focus_id(HWND dlg) {
    HWND f = GetFocus();
    return f && IsChild(dlg, f) ? GetDlgCtrlID(f) : 0;
}

// The controls Tab visits from the one with the focus, before it comes back to it.
std::vector<int> tab_order(HWND dlg) {
    std::vector<int> ids;
    HWND start = GetFocus();
    for (HWND h = GetNextDlgTabItem(dlg, start, FALSE); h && h != start && ids.size() < 64;
         h = GetNextDlgTabItem(dlg, h, FALSE))
        ids.push_back(GetDlgCtrlID(h));
    return ids;
}

std::vector<int> ids_from(int first, int count) {
    std::vector<int> v;
    for (int k = 0; k < count; ++k) v.push_back(first + k);
    return v;
}

// The dialog by the keyboard alone: each access key chooses or moves to its control, Tab
// goes through the enabled controls in their laid-out order, Enter takes the rule and Esc
// leaves the rule as it was.
TEST_F(RepeatDialog, KeyboardAlone) {
    struct Key {
        char letter;
        int focus;    // the control that has the focus after it
        int checked;  // a radio button it chooses, or 0
    };
    static const Key kKeys[] = {
        {'m', IDC_REP_MONTHLY, IDC_REP_MONTHLY},      // 毎月(&M)
        {'b', IDC_REP_BY_WEEKDAY, IDC_REP_BY_WEEKDAY},  // 曜日で(&B)
        {'c', IDC_REP_END_COUNT, IDC_REP_END_COUNT},    // 回数(&C)
        {'x', IDC_REP_END_NEVER, IDC_REP_END_NEVER},    // なし(&X)
        {'i', IDC_REP_INTERVAL, 0},                     // 間隔(&I): the field after it
        {'w', IDC_REP_WEEKLY, IDC_REP_WEEKLY},          // 毎週(&W)
        {'d', IDC_REP_DAILY, IDC_REP_DAILY},            // 毎日(&D)
        {'m', IDC_REP_MONTHLY, IDC_REP_MONTHLY},
    };
    // Monthly on the k-th weekdays, no end: the enabled controls after the kind.
    std::vector<int> monthly = {IDC_REP_INTERVAL};
    for (int id : ids_from(IDC_REP_WEEKDAY0, 7)) monthly.push_back(id);
    monthly.push_back(IDC_REP_BY_WEEKDAY);
    for (int id : ids_from(IDC_REP_NTH0, kNthSlots)) monthly.push_back(id);
    for (int id : {IDC_REP_END_NEVER, IDOK, IDCANCEL}) monthly.push_back(id);

    struct {
        WPARAM last_key;
        bool answer;
    } cases[] = {{VK_RETURN, true}, {VK_ESCAPE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer ? "Enter" : "Esc");
        RepeatRule r = none();
        std::vector<ModalDriver::Step> steps;
        for (size_t k = 0; k < sizeof kKeys / sizeof kKeys[0]; ++k) {
            steps.push_back([k](HWND dlg) {
                if (k > 0) {
                    const Key& before = kKeys[k - 1];
                    EXPECT_EQ(focus_id(dlg), before.focus) << before.letter;
                    if (before.checked) EXPECT_TRUE(checked(dlg, before.checked)) << before.letter;
                }
                post_alt(dlg, kKeys[k].letter);
            });
        }
        steps.push_back([&](HWND dlg) {
            EXPECT_EQ(focus_id(dlg), IDC_REP_MONTHLY);
            EXPECT_TRUE(checked(dlg, IDC_REP_BY_WEEKDAY));  // kept while another kind was chosen
            EXPECT_EQ(tab_order(dlg), monthly);
            post_press(dlg, c.last_key);
        });
        EXPECT_EQ(run(&r, steps), c.answer);
        if (c.answer) {
            EXPECT_EQ(r.kind, RepeatKind::kMonthlyByWeekday);
            EXPECT_EQ(r.interval, 1);
            EXPECT_EQ(r.nth_weekdays[0], 1 << 1);  // the date's: the 1st Monday
            EXPECT_EQ(r.end, RepeatEnd::kNever);
        } else {
            EXPECT_EQ(r.kind, RepeatKind::kNone);
        }
        EXPECT_TRUE(told.empty());
    }
}

class RepeatingEntries : public RepeatDialog {
protected:
    int run_schedule(const ScheduleOpening& opening, std::vector<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        return driver.run([&] {
            return schedule_dialog(nullptr, opening, &schedule, nullptr, record_told, {}, answer);
        });
    }
};

// Every Monday and Thursday: the rule is chosen through the button, shown in words, and
// stored with the entry.
TEST_F(RepeatingEntries, TheRepeatButtonSetsTheRuleOfTheEntry) {
    run_schedule({}, {
        [](HWND dlg) {
            press(dlg, IDC_SCHED_REPEAT);  // no date yet
            ASSERT_EQ(told.size(), 1u);
            EXPECT_EQ(told[0], "繰り返しを設定するには年月日を入力してください");
            type(dlg, IDC_SCHED_YEAR, "2030");
            type(dlg, IDC_SCHED_MONTH, "6");
            type(dlg, IDC_SCHED_DAY, "3");
            paste(dlg, IDC_SCHED_MEMO, "燃えるゴミ");
            PostMessageA(dlg, WM_COMMAND, IDC_SCHED_REPEAT, 0);
        },
        ModalDriver::on_dialog("Tavelspore - 繰り返し", [](HWND rep) {
            press(rep, IDC_REP_WEEKLY);
            press(rep, IDC_REP_WEEKDAY0 + 4);
            PostMessageA(rep, WM_COMMAND, IDOK, 0);
        }),
        ModalDriver::on_dialog("Tavelspore - スケジュールの設定", [](HWND dlg) {
            EXPECT_EQ(item_text(dlg, IDC_SCHED_REPEAT_TEXT), "毎週 月・木");
            EXPECT_TRUE(enabled(dlg, IDC_SCHED_ADD));
            press(dlg, IDC_SCHED_ADD);
            HWND list = GetDlgItem(dlg, IDC_SCHED_LIST);
            EXPECT_EQ(row_text(list, 0, 3), "毎週 月・木");
            EXPECT_EQ(row_text(list, 0, kScheduleMemoColumn), "燃えるゴミ");
            SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        }),
    });
    ASSERT_EQ(schedule.count, 1);
    const ScheduleEntry& e = schedule.entries[0];
    EXPECT_EQ(e.repeat.kind, RepeatKind::kWeekly);
    EXPECT_EQ(e.repeat.weekdays, (1 << 1) | (1 << 4));
    EXPECT_TRUE(entry_on_date(&e, 2030, 7, 4));
    EXPECT_FALSE(entry_on_date(&e, 2030, 7, 5));
}

// From the schedule dialog by the keyboard: its access keys reach the end fields and open
// the repeat dialog, whose Enter sets the rule and whose Esc keeps the one there was.
TEST_F(RepeatingEntries, TheRepeatDialogByTheKeyboard) {
    const std::string schedule_caption = "Tavelspore - スケジュールの設定";
    const std::string repeat_caption = "Tavelspore - 繰り返し";
    struct Step {
        const std::string& caption;
        char alt;        // the access key pressed, or 0
        WPARAM key;      // else this key
        int then_focus;  // the control with the focus in the next step, or 0
    };
    const Step steps[] = {
        {schedule_caption, 'n', 0, IDC_SCHED_END_MONTH},  // 終了(&N)
        {schedule_caption, 'r', 0, IDC_REP_NONE},         // 繰り返し(&R)...
        {repeat_caption, 'w', 0, IDC_REP_WEEKLY},
        {repeat_caption, 0, VK_RETURN, 0},
        {schedule_caption, 'r', 0, IDC_REP_WEEKLY},  // opened again on the rule chosen
        {repeat_caption, 'd', 0, IDC_REP_DAILY},
        {repeat_caption, 0, VK_ESCAPE, 0},
    };
    std::vector<ModalDriver::Step> driven;
    std::vector<std::string> rule_texts;
    for (size_t k = 0; k < sizeof steps / sizeof steps[0]; ++k) {
        const Step& s = steps[k];
        const int focus_before = k > 0 ? steps[k - 1].then_focus : 0;
        driven.push_back(ModalDriver::on_dialog(s.caption, [&, s, focus_before](HWND dlg) {
            if (focus_before) EXPECT_EQ(focus_id(dlg), focus_before) << s.caption;
            if (s.caption == schedule_caption) rule_texts.push_back(item_text(dlg, IDC_SCHED_REPEAT_TEXT));
            if (s.alt)
                post_alt(dlg, s.alt);
            else
                post_press(dlg, s.key);
        }));
    }
    driven.push_back(ModalDriver::on_dialog(schedule_caption, [&](HWND dlg) {
        rule_texts.push_back(item_text(dlg, IDC_SCHED_REPEAT_TEXT));
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    }));
    run_schedule(ScheduleOpening{2030, 6, 3}, driven);
    EXPECT_EQ(rule_texts, (std::vector<std::string>{"", "", "毎週 月", "毎週 月"}));
}

int add_weekly_series() {
    ScheduleEntry e = make_entry(2030, 6, 3, 0, "燃えるゴミ", 8, 0);
    e.repeat.kind = RepeatKind::kWeekly;
    e.repeat.interval = 1;
    e.repeat.weekdays = (1 << 1) | (1 << 4);
    std::strcpy(e.uid, "series");
    return append_entry(&schedule, e);
}

// Opened on a Thursday of the series with the series selected (a double click in the day
// contents): delete and change ask, and each answer does what it says. Only a deleted series
// is remembered as deleted (an import does not bring it back unchanged).
TEST_F(RepeatingEntries, DeleteFromADayAsksThisDayOrAll) {
    struct {
        OccurrenceScope answer;
        int count;
        bool on_that_day, on_next_day;
    } cases[] = {
        {OccurrenceScope::kCancel, 1, true, true},
        {OccurrenceScope::kThisDay, 1, false, true},
        {OccurrenceScope::kAll, 0, false, false},
    };
    for (const auto& c : cases) {
        reset_program_globals();
        const int series = add_weekly_series();
        g_answer = c.answer;
        g_asked = 0;
        run_schedule(ScheduleOpening{2030, 6, 13, series}, {[](HWND dlg) {
                         EXPECT_EQ(item_text(dlg, IDC_SCHED_REPEAT_TEXT), "毎週 月・木");
                         press(dlg, IDC_SCHED_DELETE);
                         SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                     }});
        EXPECT_EQ(g_asked, 1);
        EXPECT_TRUE(g_asked_delete);
        EXPECT_EQ(schedule.deleted.size(), c.count == 0 ? 1u : 0u) << static_cast<int>(c.answer);
        ASSERT_EQ(schedule.count, c.count) << static_cast<int>(c.answer);
        if (c.count == 0) continue;
        EXPECT_EQ(entry_on_date(&schedule.entries[0], 2030, 6, 13), c.on_that_day);
        EXPECT_EQ(entry_on_date(&schedule.entries[0], 2030, 6, 17), c.on_next_day);
    }
}

TEST_F(RepeatingEntries, ChangeOfThisDayMakesAnEntryOfItsOwn) {
    const int series = add_weekly_series();
    g_answer = OccurrenceScope::kThisDay;
    run_schedule(ScheduleOpening{2030, 6, 13, series}, {[](HWND dlg) {
                     paste(dlg, IDC_SCHED_HOUR, "10");
                     press(dlg, IDC_SCHED_CHANGE);
                     // The occurrence is the entry now selected and shown.
                     EXPECT_EQ(item_text(dlg, IDC_SCHED_DAY), "13");
                     EXPECT_EQ(item_text(dlg, IDC_SCHED_REPEAT_TEXT), "");
                     EXPECT_EQ(row_count(GetDlgItem(dlg, IDC_SCHED_LIST)), 2);
                     SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                 }});
    EXPECT_FALSE(g_asked_delete);
    ASSERT_EQ(schedule.count, 2);
    const ScheduleEntry& a = schedule.entries[0];  // the series sorts first (its date)
    const ScheduleEntry& b = schedule.entries[1];
    EXPECT_EQ(a.repeat.kind, RepeatKind::kWeekly);
    EXPECT_EQ(a.hour, 8);
    EXPECT_FALSE(entry_on_date(&a, 2030, 6, 13));
    EXPECT_EQ(b.repeat.kind, RepeatKind::kNone);
    EXPECT_EQ(b.day, 13);
    EXPECT_EQ(b.hour, 10);
    EXPECT_STREQ(b.uid, "series");
    EXPECT_EQ(b.recur_date, 20300613);
}

// From the menu, or on a day the series does not fall on, nothing is asked: the whole
// entry changes.
TEST_F(RepeatingEntries, NoQuestionAwayFromTheSeriesDays) {
    for (const ScheduleOpening& o : {ScheduleOpening{}, ScheduleOpening{2030, 6, 11, -1}}) {
        reset_program_globals();
        add_weekly_series();
        g_asked = 0;
        run_schedule(o, {[](HWND dlg) {
                         select_rows(GetDlgItem(dlg, IDC_SCHED_LIST), {0});
                         paste(dlg, IDC_SCHED_HOUR, "7");
                         press(dlg, IDC_SCHED_CHANGE);
                         SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                     }});
        EXPECT_EQ(g_asked, 0);
        ASSERT_EQ(schedule.count, 1);
        EXPECT_EQ(schedule.entries[0].hour, 7);
        EXPECT_EQ(schedule.entries[0].repeat.kind, RepeatKind::kWeekly);
    }
}

TEST_F(RepeatDialog, TheQuestionsOwnDialog) {
    struct {
        bool deleting;
        int press_id;
        OccurrenceScope answer;
        const char* text;
    } cases[] = {
        {true, IDC_OCC_THIS_DAY, OccurrenceScope::kThisDay,
         "繰り返しの予定です。\nこの日だけ削除しますか、すべて削除しますか？"},
        {false, IDC_OCC_ALL, OccurrenceScope::kAll,
         "繰り返しの予定です。\nこの日だけ変更しますか、すべて変更しますか？"},
        {false, IDCANCEL, OccurrenceScope::kCancel, nullptr},
        {false, IDOK, OccurrenceScope::kThisDay, nullptr},  // Enter: the default, この日だけ
    };
    for (const auto& c : cases) {
        std::string text;
        ModalDriver driver({[&](HWND dlg) {
            text = item_text(dlg, IDC_OCC_TEXT);
            EXPECT_EQ(item_text(dlg, IDC_OCC_THIS_DAY), "この日だけ(&T)");
            EXPECT_EQ(item_text(dlg, IDC_OCC_ALL), "すべて(&A)");
            if (c.press_id == IDOK) {
                HWND focus = GetDlgItem(dlg, IDC_OCC_THIS_DAY);
                EXPECT_EQ(GetFocus(), focus);
                PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
                PostMessageA(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
            } else {
                PostMessageA(dlg, WM_COMMAND, c.press_id, 0);
            }
        }});
        EXPECT_EQ(driver.run([&] { return ask_occurrence_scope(nullptr, c.deleting); }), c.answer);
        if (c.text) EXPECT_EQ(text, c.text);
    }
}

}  // namespace
