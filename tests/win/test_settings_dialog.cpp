// The detailed settings dialog driven in this process: what it shows at opening, the
// enabling of the clock and background groups, the limits of the number edits, 更新 with a
// later ｷｬﾝｾﾙ, and the image chooser.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "dialogs/settings_dialog_win.h"
#include "image/background_loader_win.h"
#include "resources/resource.h"
#include "tests/host/test_records.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

using win_test::ModalDriver;
using Step = ModalDriver::Step;

// The apply callback handed to the dialog counts its calls; the owner counts apply commands
// posted to it, which the dialog never sends itself.
int g_applies = 0;
void* g_apply_context = nullptr;
HWND g_apply_dialog = nullptr;
int g_apply_context_value = 0;  // what the callback is handed as its context
void count_apply(void* context, HWND dialog) {
    ++g_applies;
    g_apply_context = context;
    g_apply_dialog = dialog;
}
// The formats handed to the dialog: the program's own filter, counting the calls.
int g_formats_asked = 0;
void count_formats(void* context, char* out, size_t size) {
    ++g_formats_asked;
    image_formats_filter(context, out, size);
}
int g_posted = 0;
LRESULT CALLBACK owner_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == CMD_APPLY_SETTINGS) {
        ++g_posted;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND make_owner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = owner_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZelmarSettingsOwner";
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowA("ZelmarSettingsOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
bool is_checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
void click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
std::string text(HWND w) {
    char buf[512] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}
Step press_step(int id) {
    return [id](HWND dlg) { PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

class SettingsDialog : public testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        g_applies = 0;
        g_apply_context = nullptr;
        g_apply_dialog = nullptr;
        g_posted = 0;
        g_formats_asked = 0;
        owner_ = make_owner();
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        win_test::reset_program_globals();
    }
    INT_PTR run(std::vector<Step> steps) {
        ModalDriver driver(std::move(steps));
        const INT_PTR r = driver.run([&] {
            return settings_dialog(owner_, &settings, SettingsApply{count_apply, &g_apply_context_value},
                                   ImageFormats{count_formats, nullptr});
        });
        caption_ = driver.last_caption();
        dialog_owner_ = driver.last_owner();
        return r;
    }
    HWND owner_ = nullptr;
    std::string caption_;
    HWND dialog_owner_ = nullptr;
};

TEST_F(SettingsDialog, OpensWithTheSettingsAndCancelChangesNothing) {
    settings.cmode = 1;
    settings.checkmark = 1;
    settings.monthlang = 0;
    settings.weeklang = 1;
    settings.clock = 1;
    settings.method = 0;
    settings.ampm = 1;
    settings.second = 1;
    settings.BackImage = 1;
    settings.BackMode = 1;
    settings.Transparent = 30;
    settings.BackArea = 40;
    lstrcpyA(settings.BackImageFile, "C:\\画像\\a.bmp");
    const Settings before = settings;
    const INT_PTR r = run({[&](HWND dlg) {
                               EXPECT_FALSE(enabled(dlg, IDC_SET_APPLY)) << "更新 disabled at opening";
                               for (int id : {IDC_SET_SAT_COLOUR, IDC_SET_TODAY_TICK, IDC_SET_MONTH_ENGLISH,
                                              IDC_SET_WEEK_JAPANESE, IDC_SET_CLOCK, IDC_SET_CLOCK_AMPM_AFTER,
                                              IDC_SET_CLOCK_SECONDS, IDC_SET_BACK_IMAGE, IDC_SET_BACK_RIGHT})
                                   EXPECT_TRUE(is_checked(dlg, id)) << id;
                               for (int id : {IDC_SET_SAT_PLAIN, IDC_SET_TODAY_BOX, IDC_SET_MONTH_JAPANESE,
                                              IDC_SET_WEEK_ENGLISH, IDC_SET_CLOCK_12H, IDC_SET_CLOCK_ANALOG,
                                              IDC_SET_BACK_WHOLE, IDC_SET_BACK_BOTTOM})
                                   EXPECT_FALSE(is_checked(dlg, id)) << id;
                               EXPECT_EQ(text(GetDlgItem(dlg, IDC_SET_BACK_FILE)), "C:\\画像\\a.bmp");
                               EXPECT_EQ(text(GetDlgItem(dlg, IDC_SET_BACK_TRANSPARENT)), "30");
                               EXPECT_EQ(text(GetDlgItem(dlg, IDC_SET_BACK_AREA)), "40");
                               EXPECT_TRUE(enabled(dlg, IDC_SET_CLOCK_12H));
                               EXPECT_FALSE(enabled(dlg, IDC_SET_CLOCK_AMPM_AFTER)) << "not 12-hour";
                               EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDC_SET_CLOCK_SECONDS)));
                               EXPECT_FALSE(enabled(dlg, IDC_SET_BACK_TRANSPARENT)) << "band mode";
                               EXPECT_TRUE(enabled(dlg, IDC_SET_BACK_AREA));
                           },
                           press_step(IDCANCEL)});
    EXPECT_EQ(r, 0);
    EXPECT_EQ(caption_, "Tavelspore - 設定");
    EXPECT_EQ(dialog_owner_, owner_);
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0) << "cancel changes no setting";
    EXPECT_EQ(g_applies, 0);
    EXPECT_EQ(g_posted, 0);
}

TEST_F(SettingsDialog, ClockSwitchEnablesItsOptions) {
    settings.clock = 1;
    settings.method = 1;
    run({[](HWND dlg) {
             EXPECT_TRUE(enabled(dlg, IDC_SET_CLOCK_AMPM_AFTER));
             click(dlg, IDC_SET_CLOCK);  // off
             for (int id : {IDC_SET_CLOCK_12H, IDC_SET_CLOCK_AMPM_AFTER, IDC_SET_CLOCK_ANALOG, IDC_SET_CLOCK_SECONDS})
                 EXPECT_FALSE(enabled(dlg, id)) << id;
             EXPECT_TRUE(enabled(dlg, IDC_SET_APPLY));
             click(dlg, IDC_SET_CLOCK);  // on again: AM/PM follows the 12-hour box
             for (int id : {IDC_SET_CLOCK_12H, IDC_SET_CLOCK_AMPM_AFTER, IDC_SET_CLOCK_ANALOG, IDC_SET_CLOCK_SECONDS})
                 EXPECT_TRUE(enabled(dlg, id)) << id;
             click(dlg, IDC_SET_CLOCK_12H);
             EXPECT_FALSE(enabled(dlg, IDC_SET_CLOCK_AMPM_AFTER));
             click(dlg, IDC_SET_CLOCK);
             click(dlg, IDC_SET_CLOCK);
             EXPECT_FALSE(enabled(dlg, IDC_SET_CLOCK_AMPM_AFTER)) << "12-hour now off";
         },
         press_step(IDOK)});
    EXPECT_EQ(settings.clock, 1);
    EXPECT_EQ(settings.method, 0);
}

TEST_F(SettingsDialog, BackgroundGroupFollowsTheImageSwitchAndMode) {
    settings.BackImage = 0;
    settings.BackMode = 0;
    const int rows[] = {IDC_SET_BACK_WHOLE, IDC_SET_BACK_RIGHT, IDC_SET_BACK_BOTTOM, IDC_SET_BACK_FILE_LABEL,
                        IDC_SET_BACK_FILE, IDC_SET_BACK_BROWSE};
    const int transparency[] = {IDC_SET_TRANSPARENT_LABEL, IDC_SET_BACK_TRANSPARENT, IDC_SET_TRANSPARENT_UNIT};
    const int ratio[] = {IDC_SET_AREA_LABEL, IDC_SET_BACK_AREA, IDC_SET_AREA_UNIT};
    auto expect = [&](HWND dlg, bool r, bool t, bool a, const char* when) {
        for (int id : rows) EXPECT_EQ(enabled(dlg, id), r) << id << " " << when;
        for (int id : transparency) EXPECT_EQ(enabled(dlg, id), t) << id << " " << when;
        for (int id : ratio) EXPECT_EQ(enabled(dlg, id), a) << id << " " << when;
    };
    run({[&](HWND dlg) {
             expect(dlg, false, false, false, "image off");
             click(dlg, IDC_SET_BACK_IMAGE);
             expect(dlg, true, true, false, "whole window");
             click(dlg, IDC_SET_BACK_BOTTOM);
             expect(dlg, true, false, true, "bottom");
             click(dlg, IDC_SET_BACK_RIGHT);
             expect(dlg, true, false, true, "right");
         },
         press_step(IDOK)});
    EXPECT_EQ(settings.BackImage, 1);
    EXPECT_EQ(settings.BackMode, 1);
}

TEST_F(SettingsDialog, NumbersAreLimitedAndLettersReadAsZero) {
    settings.BackImage = 1;
    settings.BackArea = 50;
    settings.second = 1;  // the hidden seconds box keeps its value
    run({[](HWND dlg) {
             SetDlgItemTextA(dlg, IDC_SET_BACK_TRANSPARENT, "150");
             EXPECT_TRUE(enabled(dlg, IDC_SET_APPLY)) << "typing enables 更新";
             SetDlgItemTextA(dlg, IDC_SET_BACK_AREA, "abc");
         },
         press_step(IDOK)});
    EXPECT_EQ(settings.Transparent, 100);
    EXPECT_EQ(settings.BackArea, 0);
    EXPECT_EQ(settings.second, 1);
}

TEST_F(SettingsDialog, ApplyRunsTheOwnersCallbackAndCancelKeepsIt) {
    settings.cmode = 1;
    HWND shown = nullptr;
    const INT_PTR r = run({[&](HWND dlg) {
                               shown = dlg;
                               click(dlg, IDC_SET_SAT_PLAIN);
                               EXPECT_TRUE(enabled(dlg, IDC_SET_APPLY));
                               SetFocus(GetDlgItem(dlg, IDC_SET_APPLY));
                               click(dlg, IDC_SET_APPLY);
                               EXPECT_EQ(settings.cmode, 0) << "written at once";
                               EXPECT_FALSE(enabled(dlg, IDC_SET_APPLY)) << "until the next change";
                               EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDOK)) << "focus moved off the disabled button";
                           },
                           [](HWND) { EXPECT_EQ(g_applies, 1) << "applied by the owner's callback"; },
                           press_step(IDCANCEL)});
    EXPECT_EQ(r, 0);
    EXPECT_EQ(settings.cmode, 0);
    EXPECT_EQ(g_applies, 1);
    EXPECT_EQ(g_apply_context, &g_apply_context_value) << "the context it was handed";
    EXPECT_EQ(g_apply_dialog, shown) << "the open dialog owns what the owner says";
    EXPECT_EQ(g_posted, 0) << "nothing posted to the owner";
}

// Answers the open-file dialog with a name, or cancels it (empty name).
Step answer_chooser(std::string name, std::string* caption, int* filters, std::string* first) {
    return [=](HWND dlg) {
        *caption = text(dlg);
        HWND types = GetDlgItem(dlg, cmb1);
        *filters = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        char buf[256] = "";
        SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
        *first = buf;
        if (name.empty()) {
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND field = GetDlgItem(dlg, cmb13) ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
        SetWindowTextA(field, name.c_str());
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    };
}

TEST_F(SettingsDialog, ChosenImageIsShownAndStoredOnlyWithOk) {
    const std::string dir = win_test::scratch_dir("settings_dialog");
    win_test::put_file(dir + "old.bmp", "BM");
    win_test::put_file(dir + "new.bmp", "BM");
    lstrcpyA(settings.BackImageFile, (dir + "old.bmp").c_str());
    settings.BackImage = 1;
    std::string caption, first;
    int filters = 0;
    const auto chooser = [](Step s) { return ModalDriver::on_dialog("背景画像の選択", s); };
    const auto settings_box = [](Step s) { return ModalDriver::on_dialog("Tavelspore - 設定", s); };
    run({press_step(IDC_SET_BACK_BROWSE), chooser(answer_chooser("", &caption, &filters, &first)),
         settings_box([&](HWND dlg) {
             EXPECT_EQ(text(GetDlgItem(dlg, IDC_SET_BACK_FILE)), dir + "old.bmp") << "cancelled: unchanged";
             EXPECT_FALSE(enabled(dlg, IDC_SET_APPLY));
         }),
         press_step(IDC_SET_BACK_BROWSE), chooser(answer_chooser(dir + "new.bmp", &caption, &filters, &first)),
         settings_box([&](HWND dlg) {
             EXPECT_EQ(lstrcmpiA(text(GetDlgItem(dlg, IDC_SET_BACK_FILE)).c_str(), (dir + "new.bmp").c_str()), 0);
             EXPECT_TRUE(enabled(dlg, IDC_SET_APPLY));
             EXPECT_EQ(std::string(settings.BackImageFile), dir + "old.bmp") << "not yet stored";
         }),
         press_step(IDOK)});
    EXPECT_EQ(caption, "背景画像の選択");
    EXPECT_EQ(filters, 2);
    EXPECT_EQ(first, "画像ファイル");
    EXPECT_EQ(g_formats_asked, 2) << "the formats come from the owner at each 参照";
    EXPECT_EQ(lstrcmpiA(settings.BackImageFile, (dir + "new.bmp").c_str()), 0) << settings.BackImageFile;
    win_test::remove_tree(dir);
}

}  // namespace
