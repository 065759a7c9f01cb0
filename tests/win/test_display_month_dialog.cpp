// The display-month dialog (204) in this process over a stand-in main window that counts
// its paints: texts, live application while typing, the steps from typed fields at every
// limit, reset, the OK check with the restore of the month at opening, Alt+F4 and Esc.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "calendar/date.h"
#include "dialogs/display_month_win.h"
#include "resources/resource.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/dialog_input.h"

namespace {

using win_test::item_text;
using win_test::text_of;

using win_test::ModalDriver;

LocalTime may_fifth_clock() { return {2004, 5, 5, 9, 0, 0}; }

// The stand-in main window: each paint records the month on show.
ViewState g_view;
int g_paints = 0;
int g_painted_year = 0, g_painted_month = 0;

LRESULT CALLBACK counting_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        ++g_paints;
        g_painted_year = g_view.shown_year;
        g_painted_month = g_view.shown_month;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void send_clicked(HWND dlg, int id) {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Types one character into a field, as the keyboard would.
void type_char(HWND dlg, int id, char c) { SendMessageA(GetDlgItem(dlg, id), WM_CHAR, (unsigned char)c, 1); }

class DisplayMonthDialog : public testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        set_clock_source(may_fifth_clock);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = counting_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZelmarTestShownMonth";
        RegisterClassA(&wc);
        main_ = CreateWindowA("ZelmarTestShownMonth", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(main_, nullptr);
        UpdateWindow(main_);
        g_view = ViewState{};
        g_view.shown_year = 2004;
        g_view.shown_month = 5;
        g_paints = 0;
    }
    void TearDown() override {
        DestroyWindow(main_);
        win_test::reset_program_globals();
    }
    void run(ModalDriver& driver) {
        driver.run([this] {
            display_month_dialog(main_, g_view);
            return 0;
        });
    }
    HWND main_ = nullptr;
};

TEST_F(DisplayMonthDialog, TextsAndOpening) {
    ModalDriver driver({[](HWND dlg) {
        EXPECT_EQ(text_of(dlg), "Tavelspore - 表示月");
        EXPECT_EQ(item_text(dlg, IDC_DM_YEAR), "2004");
        EXPECT_EQ(item_text(dlg, IDC_DM_MONTH), "5");
        EXPECT_EQ(item_text(dlg, IDC_DM_YEAR_DOWN), "－");
        EXPECT_EQ(item_text(dlg, IDC_DM_YEAR_UP), "＋");
        EXPECT_EQ(item_text(dlg, IDC_DM_MONTH_DOWN), "－");
        EXPECT_EQ(item_text(dlg, IDC_DM_MONTH_UP), "＋");
        EXPECT_EQ(item_text(dlg, IDC_DM_RESET), "ﾘｾｯﾄ(&R)");
        EXPECT_EQ(item_text(dlg, IDOK), "OK");
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_DM_YEAR, EM_GETLIMITTEXT, 0, 0), 4);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_DM_MONTH, EM_GETLIMITTEXT, 0, 0), 2);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_DM_YEAR_DOWN));  // the first tab stop
        EXPECT_FALSE(GetWindowLongPtrA(dlg, GWL_STYLE) & WS_SYSMENU);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    run(driver);
    EXPECT_EQ(g_view.shown_year, 2004);
    EXPECT_EQ(g_view.shown_month, 5);
}

// Typing a year digit by digit puts it on show only at the fourth digit.
TEST_F(DisplayMonthDialog, TypingRepaintsOnlyForAValidMonth) {
    ModalDriver driver({[](HWND dlg) {
        SetDlgItemTextA(dlg, IDC_DM_YEAR, "");
        const int before = g_paints;
        const char digits[] = "2011";
        for (int i = 0; i < 3; ++i) {
            type_char(dlg, IDC_DM_YEAR, digits[i]);
            EXPECT_EQ(g_paints, before) << i;
            EXPECT_EQ(g_view.shown_year, 2004) << i;
        }
        type_char(dlg, IDC_DM_YEAR, digits[3]);
        EXPECT_EQ(g_paints, before + 1);
        EXPECT_EQ(g_painted_year, 2011);  // painted while the dialog is open
        type_char(dlg, IDC_DM_YEAR, '9');      // a fifth character is refused by the field
        EXPECT_EQ(item_text(dlg, IDC_DM_YEAR), "2011");

        SetDlgItemTextA(dlg, IDC_DM_MONTH, "");
        type_char(dlg, IDC_DM_MONTH, '1');
        EXPECT_EQ(g_painted_month, 1);
        type_char(dlg, IDC_DM_MONTH, '3');  // 13: ignored, 1 stays on show
        EXPECT_EQ(g_view.shown_month, 1);
        EXPECT_EQ(g_painted_month, 1);
        SetDlgItemTextA(dlg, IDC_DM_MONTH, "12");
        EXPECT_EQ(g_painted_month, 12);
        SetDlgItemTextA(dlg, IDC_DM_YEAR, "2080");
        EXPECT_EQ(g_view.shown_year, 2011);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);  // year field invalid: refused
    },
                        [](HWND box) {
                            EXPECT_EQ(text_of(box), "Tavelspore");
                            PostMessageA(box, WM_COMMAND, IDOK, 0);
                        },
                        [](HWND dlg) {
                            // The month at opening is back in the fields and on show.
                            EXPECT_EQ(item_text(dlg, IDC_DM_YEAR), "2004");
                            EXPECT_EQ(item_text(dlg, IDC_DM_MONTH), "5");
                            EXPECT_EQ(g_painted_year, 2004);
                            EXPECT_EQ(g_painted_month, 5);
                            SetDlgItemTextA(dlg, IDC_DM_MONTH, "7");
                            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                        }});
    run(driver);
    EXPECT_EQ(driver.dialogs_seen(), 3);  // the dialog, the message box, the dialog again
    EXPECT_EQ(g_view.shown_year, 2004);
    EXPECT_EQ(g_view.shown_month, 7);
}

// The step buttons start from the typed fields, brought into 1980..2079 and 1..12, and the
// fields and the main window follow even when a step is refused at a limit.
TEST_F(DisplayMonthDialog, StepsFromTheFieldsAtEveryLimit) {
    struct Step {
        const char* year;   // typed before the press; nullptr: left as it is
        const char* month;
        int button;
        int want_year, want_month;
    } steps[] = {
        {"1000", nullptr, IDC_DM_YEAR_UP, 1981, 5},
        {nullptr, "14", IDC_DM_MONTH_DOWN, 1981, 11},
        {"2079", "12", IDC_DM_MONTH_UP, 2079, 12},
        {nullptr, nullptr, IDC_DM_YEAR_UP, 2079, 12},
        {"9999", nullptr, IDC_DM_YEAR_DOWN, 2078, 12},
        {nullptr, "12", IDC_DM_MONTH_UP, 2079, 1},
        {"1980", "1", IDC_DM_MONTH_DOWN, 1980, 1},
        {nullptr, nullptr, IDC_DM_YEAR_DOWN, 1980, 1},
        {nullptr, "0", IDC_DM_MONTH_UP, 1980, 2},
        {"abc", "", IDC_DM_YEAR_UP, 1981, 2},
        {nullptr, "x", IDC_DM_MONTH_DOWN, 1981, 1},
        {nullptr, nullptr, IDC_DM_MONTH_DOWN, 1980, 12},
        {nullptr, nullptr, IDC_DM_RESET, 2004, 5},
    };
    ModalDriver driver({[&steps](HWND dlg) {
        for (const Step& s : steps) {
            if (s.year) SetDlgItemTextA(dlg, IDC_DM_YEAR, s.year);
            if (s.month) SetDlgItemTextA(dlg, IDC_DM_MONTH, s.month);
            const int before = g_paints;
            send_clicked(dlg, s.button);
            SCOPED_TRACE(testing::Message() << (s.year ? s.year : "-") << "/" << (s.month ? s.month : "-")
                                            << " button " << s.button);
            EXPECT_EQ(g_view.shown_year, s.want_year);
            EXPECT_EQ(g_view.shown_month, s.want_month);
            EXPECT_GT(g_paints, before);
            EXPECT_EQ(g_painted_year, s.want_year);
            EXPECT_EQ(g_painted_month, s.want_month);
            EXPECT_EQ(item_text(dlg, IDC_DM_YEAR), std::to_string(s.want_year));
            if (s.button != IDC_DM_YEAR_UP && s.button != IDC_DM_YEAR_DOWN) {
                EXPECT_EQ(item_text(dlg, IDC_DM_MONTH), std::to_string(s.want_month));
            }
        }
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }});
    run(driver);
    EXPECT_EQ(g_view.shown_year, 2004);
    EXPECT_EQ(g_view.shown_month, 5);
}

// Esc does nothing; Alt+F4 runs the OK check: refused with invalid fields, closing with
// valid ones.
TEST_F(DisplayMonthDialog, EscIgnoredAndAltF4RunsTheCheck) {
    ModalDriver driver({[](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); },
                        [](HWND dlg) {
                            SetDlgItemTextA(dlg, IDC_DM_MONTH, "13");
                            PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
                        },
                        [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); },
                        [](HWND dlg) {
                            EXPECT_EQ(item_text(dlg, IDC_DM_MONTH), "5");
                            SetDlgItemTextA(dlg, IDC_DM_YEAR, "2010");
                            SetDlgItemTextA(dlg, IDC_DM_MONTH, "3");
                            PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
                        }});
    run(driver);
    EXPECT_EQ(driver.dialogs_seen(), 3);
    EXPECT_EQ(g_view.shown_year, 2010);
    EXPECT_EQ(g_view.shown_month, 3);
}

}  // namespace
