// The font dialog over the real system dialog, driven from inside its modal loop: every
// change of face, style or script (and every read of the sample text) is applied to the main
// window at once, other notifications are not; cancel restores the font set before, OK keeps
// and saves the choice. Also the template, font_apply and the kept view fonts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/month_layout.h"
#include "app/month_paint_win.h"
#include "app/view_text_win.h"
#include "dialogs/font_dialog_win.h"
#include "resources/resource.h"
#include "tests/host/test_records.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/dialog_input.h"

namespace {

using win_test::text_of;

using namespace win_test;

const char kDefaultFace[] = "ＭＳ Ｐゴシック";
const char kOtherFace[] = "IPAゴシック";

// Selects the item of a list of the dialog that reads text, and tells the dialog as a click
// would; false when there is no such item.
bool select_item(HWND dlg, int id, const char* text) {
    const LRESULT i = SendDlgItemMessageA(dlg, id, CB_FINDSTRINGEXACT, WPARAM(-1),
                                          reinterpret_cast<LPARAM>(text));
    if (i == CB_ERR) return false;
    SendDlgItemMessageA(dlg, id, CB_SETCURSEL, i, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
    return true;
}

void notify(HWND dlg, int id, int code) {
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// A full paint reads today's date into the window's state; clearing it shows whether the
// window was painted since.
void forget_paint() { main_state.today_year = 0; }
bool painted() { return main_state.today_year == 2004; }

class FontDialog : public MainWindow {
protected:
    // Runs the font command with these steps, one a tick of the dialog's own loop; a step's
    // effects (the posted preview) have been handled by the time the next step runs.
    void run(std::vector<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        driver.run([&] { return command(CMD_FONT); });
        EXPECT_EQ(driver.dialogs_seen(), 1);
        EXPECT_EQ(driver.last_caption(), "Tavelspore - フォント設定");
        EXPECT_EQ(driver.last_owner(), hwnd_);
    }
};

TEST_F(FontDialog, PreviewFollowsFaceStyleScriptAndSampleReads) {
    open("");
    ASSERT_STREQ(settings.fontname, kDefaultFace);
    struct Change {
        const char* what;
        std::function<bool(HWND)> act;  // false: the dialog lacks what the case needs
        bool applied;
        const char* face;
        int weight;
    };
    const Change changes[] = {
        {"another face", [](HWND d) { return select_item(d, IDC_FONT_FACE, kOtherFace); }, true,
         kOtherFace, 400},
        {"bold style", [](HWND d) { return select_item(d, IDC_FONT_STYLE, "太字"); }, true, kOtherFace,
         700},
        {"regular style", [](HWND d) { return select_item(d, IDC_FONT_STYLE, "標準"); }, true,
         kOtherFace, 400},
        {"another script",
         [](HWND d) {
             if (SendDlgItemMessageA(d, IDC_FONT_SCRIPT, CB_GETCOUNT, 0, 0) < 2) return false;
             SendDlgItemMessageA(d, IDC_FONT_SCRIPT, CB_SETCURSEL, 1, 0);
             notify(d, IDC_FONT_SCRIPT, CBN_SELCHANGE);
             return true;
         },
         true, kOtherFace, 400},
        {"sample text read",
         [](HWND d) {
             std::strcpy(settings.fontname, "stale");
             char buf[64];
             SendDlgItemMessageA(d, IDC_FONT_SAMPLE, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
             return true;
         },
         true, kOtherFace, 400},
        {"size list", [](HWND d) { notify(d, IDC_FONT_SIZE, CBN_SELCHANGE); return true; }, false,
         kOtherFace, 400},
        {"face list double click", [](HWND d) { notify(d, IDC_FONT_FACE, CBN_DBLCLK); return true; },
         false, kOtherFace, 400},
        {"face list focus", [](HWND d) { notify(d, IDC_FONT_FACE, CBN_SETFOCUS); return true; }, false,
         kOtherFace, 400},
    };
    std::vector<ModalDriver::Step> steps;
    for (const Change& c : changes) {
        steps.push_back([&c](HWND dlg) {
            forget_paint();
            EXPECT_TRUE(c.act(dlg)) << c.what;
        });
        steps.push_back([&c](HWND) {
            EXPECT_EQ(painted(), c.applied) << c.what;
            EXPECT_STREQ(settings.fontname, c.face) << c.what;
            EXPECT_EQ(settings.weight, c.weight) << c.what;
        });
    }
    steps.push_back([](HWND dlg) {
        // The script chosen is the one applied.
        EXPECT_EQ(settings.charset, int(SendDlgItemMessageA(dlg, IDC_FONT_SCRIPT, CB_GETITEMDATA, 1, 0)));
        forget_paint();
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    run(std::move(steps));
    // Cancel: the font set before, painted, nothing saved.
    EXPECT_STREQ(settings.fontname, kDefaultFace);
    EXPECT_EQ(settings.weight, 400);
    EXPECT_EQ(settings.charset, 128);
    EXPECT_TRUE(painted());
    EXPECT_EQ(win_test::get_file(path_).find("fontname="), std::string::npos);
}

TEST_F(FontDialog, OkKeepsAndSavesTheChoiceButNoSize) {
    open("[Config]\r\nitalic=0\r\n");
    run({
        [](HWND d) { EXPECT_TRUE(select_item(d, IDC_FONT_FACE, kOtherFace)); },
        [](HWND d) { EXPECT_TRUE(select_item(d, IDC_FONT_STYLE, "太字 斜体")); },
        [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); },
    });
    EXPECT_STREQ(settings.fontname, kOtherFace);
    EXPECT_EQ(settings.weight, 700);
    EXPECT_NE(settings.italic, 0);
    const std::string file = win_test::get_file(path_);
    EXPECT_NE(file.find(std::string("\r\nfontname=") + kOtherFace + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\r\nweight=700\r\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("size"), std::string::npos);
    EXPECT_FALSE(save_failure_told());
}

// OK right after a face change keeps that face, also where the dialog takes a face into its
// own record only with the next style change.
TEST_F(FontDialog, OkAfterOnlyAFaceChangeKeepsThatFace) {
    open("");
    run({
        [](HWND d) { EXPECT_TRUE(select_item(d, IDC_FONT_FACE, kOtherFace)); },
        [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); },
    });
    EXPECT_STREQ(settings.fontname, kOtherFace);
    EXPECT_EQ(settings.weight, 400);
    EXPECT_NE(win_test::get_file(path_).find(std::string("\r\nfontname=") + kOtherFace + "\r\n"),
              std::string::npos);
}

TEST_F(FontDialog, OkWithAFailedSaveIsTold) {
    const std::string missing = dir_ + "no such folder\\tester.cfg";
    open("", missing.c_str());
    ModalDriver driver({[](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }}, ModalDriver::Then::kPressOk);
    command(CMD_FONT);
    EXPECT_EQ(driver.dialogs_seen(), 2);  // the font dialog, then the notice
    EXPECT_EQ(driver.last_caption(), "Tavelspore");
    EXPECT_TRUE(save_failure_told());
}

TEST_F(MainWindow, FontApplyStoresAllFourAndRepaints) {
    open("");
    forget_paint();
    FontChoice c = font_choice(1, 700, 1, kOtherFace);
    font_apply(&settings, hwnd_, c);
    EXPECT_TRUE(painted()) << "painted before it returns";
    EXPECT_EQ(settings.charset, 1);
    EXPECT_EQ(settings.weight, 700);
    EXPECT_EQ(settings.italic, 1);
    EXPECT_STREQ(settings.fontname, kOtherFace);
    // The kept day font is now of that face.
    RECT client;
    GetClientRect(hwnd_, &client);
    LOGFONTA lf = {};
    const MonthFrame f = month_frame({0, 0, client.right, client.bottom}, 0, settings.weeklang);
    GetObjectA(view_font(settings, ViewFontRole::kDay, f.day_font_height), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, kOtherFace);
    EXPECT_EQ(lf.lfWeight, 700);
}

TEST(ViewFonts, KeptUntilFaceStyleScriptOrHeightChange) {
    reset_program_globals();
    std::strcpy(settings.fontname, "ＭＳ Ｐゴシック ＭＳ Ｐゴシック ＭＳ Ｐゴシック");  // past 31 bytes
    struct Case {
        const char* what;
        std::function<void(int*)> change;  // may change the height
        bool anew;
    } cases[] = {
        {"nothing", [](int*) {}, false},
        {"weight", [](int*) { settings.weight = 700; }, true},
        {"italic", [](int*) { settings.italic = 1; }, true},
        {"italic stored as 257 is the same byte", [](int*) { settings.italic = 257; }, false},
        {"charset", [](int*) { settings.charset = 0; }, true},
        {"face beyond the 31 bytes a face holds", [](int*) { settings.fontname[40] = 'x'; }, false},
        {"face", [](int*) { std::strcpy(settings.fontname, "IPAゴシック"); }, true},
        {"height", [](int* h) { *h = -30; }, true},
        {"unrelated setting", [](int*) { settings.cmode = 2; }, false},
    };
    int height = -20;
    HFONT day = view_font(settings, ViewFontRole::kDay, height);
    ASSERT_NE(day, nullptr);
    for (const Case& c : cases) {
        c.change(&height);
        HFONT now = view_font(settings, ViewFontRole::kDay, height);
        LOGFONTA lf = {};
        ASSERT_GT(GetObjectA(now, sizeof lf, &lf), 0) << c.what;
        EXPECT_EQ(now != day, c.anew) << c.what;
        EXPECT_EQ(lf.lfHeight, height) << c.what;
        EXPECT_EQ(lf.lfWeight, settings.weight) << c.what;
        day = now;
    }
    // The weekday font is kept apart: asking for it leaves the day font alone.
    HFONT weekday = view_font(settings, ViewFontRole::kWeekday, -12);
    EXPECT_NE(weekday, day);
    EXPECT_EQ(view_font(settings, ViewFontRole::kDay, height), day);
    view_fonts_release();
}

using win_test::inert_proc;

TEST(FontTemplate, ControlsTheSystemDialogLooksFor) {
    HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FONT), nullptr,
                                  inert_proc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(text_of(dlg), "Tavelspore - フォント設定");
    const LONG style = GetWindowLongA(dlg, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    RECT client, want = {0, 0, 177, 159};
    GetClientRect(dlg, &client);
    MapDialogRect(dlg, &want);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
    struct Want {
        int id;
        const char* cls;
        const char* text;  // nullptr: not looked at (lists)
        int x, y, w, h;
        bool visible;
    } controls[] = {
        {IDC_FONT_FACE_LABEL, "Static", "ﾌｫﾝﾄ(&F):", 4, 4, 40, 9, true},
        {IDC_FONT_FACE, "ComboBox", nullptr, 4, 14, 98, 76, true},
        {IDC_FONT_STYLE_LABEL, "Static", "ｽﾀｲﾙ(&Y):", 110, 4, 44, 9, true},
        {IDC_FONT_STYLE, "ComboBox", nullptr, 110, 14, 62, 76, true},
        {IDC_FONT_SIZE_LABEL, "Static", "ｻｲｽﾞ(&S):", 53, 4, 30, 9, false},
        {IDC_FONT_SIZE, "ComboBox", nullptr, 48, 14, 27, 76, false},
        {IDOK, "Button", "OK", 46, 142, 40, 14, true},
        {IDCANCEL, "Button", "ｷｬﾝｾﾙ", 90, 142, 40, 14, true},
        {IDC_FONT_APPLY, "Button", "適用(&A)", 114, 119, 40, 14, true},
        {IDC_FONT_HELP, "Button", "ﾍﾙﾌﾟ(&H)", 114, 98, 45, 14, true},
        {IDC_FONT_SAMPLE_GROUP, "Button", "ｻﾝﾌﾟﾙ", 4, 92, 98, 44, true},
        {IDC_FONT_SAMPLE, "Static", "AaBbYyZz", 12, 106, 83, 23, false},
        {IDC_FONT_SCRIPT_LABEL, "Static", "書体の種類(&R):", 112, 92, 53, 9, true},
        {IDC_FONT_SCRIPT, "ComboBox", nullptr, 110, 102, 62, 0, true},
        {IDC_FONT_EFFECTS, "Button", "効果", 131, 64, 35, 72, true},
        {IDC_FONT_STRIKEOUT, "Button", "Stri&keout", 138, 77, 20, 10, true},
        {IDC_FONT_UNDERLINE, "Button", "&Underline", 138, 90, 17, 10, true},
        {IDC_FONT_COLOR_LABEL, "Static", "&Color:", 138, 103, 30, 9, true},
        {IDC_FONT_COLOR, "ComboBox", nullptr, 139, 114, 22, 0, true},
        {IDC_FONT_CORNER, "Static", "", 162, 0, 15, 8, false},
    };
    for (const Want& w : controls) {
        SCOPED_TRACE(w.id);
        HWND c = GetDlgItem(dlg, w.id);
        ASSERT_NE(c, nullptr);
        char cls[64] = "";
        GetClassNameA(c, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, w.cls);
        if (w.text) EXPECT_EQ(text_of(c), w.text);
        EXPECT_EQ((GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) != 0, w.visible);
        RECT r = {w.x, w.y, w.w, w.h};
        MapDialogRect(dlg, &r);
        RECT got;
        GetWindowRect(c, &got);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, r.left);
        EXPECT_EQ(got.top, r.top);
        EXPECT_EQ(got.right - got.left, r.right);
        if (w.h) EXPECT_EQ(got.bottom - got.top, r.bottom);  // drop-down lists size themselves
    }
    // The face list: a simple, sorted, owner-drawn list of strings.
    const LONG faces = GetWindowLongA(GetDlgItem(dlg, IDC_FONT_FACE), GWL_STYLE);
    EXPECT_EQ(faces & 3, CBS_SIMPLE);
    EXPECT_TRUE(faces & CBS_SORT);
    EXPECT_TRUE(faces & CBS_OWNERDRAWFIXED);
    EXPECT_TRUE(faces & CBS_HASSTRINGS);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDC_FONT_SCRIPT), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDC_FONT_SAMPLE), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    DestroyWindow(dlg);
}

}  // namespace
