// A background image applied from the settings dialog that cannot be loaded is told once,
// with its name: over the dialog after 更新, over the main window after OK. At start-up the
// same image stays silent.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/background_win.h"
#include "resources/resource.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/test_records.h"
#include "tests/win/main_window_fixture.h"

namespace {

using namespace win_test;

const char kSettingsCaption[] = "Tavelspore - 設定";

// The message boxes seen: how many, and the last one's caption, owner (and its caption then)
// and width.
struct Told {
    int boxes = 0;
    std::string caption;
    HWND owner = nullptr;
    std::string owner_caption;
    int width = 0;
};

// A step that, when a message box of the program is in front, notes it and answers OK.
ModalDriver::Step note_box(Told* told) {
    return [told](HWND dlg) {
        if (text_of(dlg) != "Tavelspore") return;
        ++told->boxes;
        told->caption = text_of(dlg);
        told->owner = GetWindow(dlg, GW_OWNER);
        told->owner_caption = text_of(told->owner);
        RECT r;
        GetWindowRect(dlg, &r);
        told->width = r.right - r.left;
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    };
}

class BackgroundNotice : public MainWindow {
protected:
    void put_images() {
        bmp_test::BmpFields red{4, 4, 24};
        for (int i = 0; i < 16; ++i) red.pixels.insert(red.pixels.end(), {0, 0, 255});
        const std::vector<uint8_t> bmp = bmp_test::bmp_file(red);
        put_file(dir_ + "red.bmp", std::string(bmp.begin(), bmp.end()));
        put_file(dir_ + "text.bmp", "not a picture at all");
    }
    // Opens the settings dialog, sets the image switch and file, presses button (更新 or OK)
    // and answers every message box that follows; after 更新 the dialog is cancelled.
    Told apply(const std::string& image, bool image_on, int button) {
        Told told;
        std::vector<ModalDriver::Step> steps = {
            ModalDriver::on_dialog(kSettingsCaption, [&](HWND dlg) {
                const bool on = IsDlgButtonChecked(dlg, IDC_SET_BACK_IMAGE) == BST_CHECKED;
                if (on != image_on) SendMessageA(GetDlgItem(dlg, IDC_SET_BACK_IMAGE), BM_CLICK, 0, 0);
                SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, image.c_str());
                PostMessageA(dlg, WM_COMMAND, button, 0);
            })};
        if (button == IDC_SET_APPLY) {
            steps.push_back(note_box(&told));
            steps.push_back(ModalDriver::on_dialog(
                kSettingsCaption, [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); }));
        }
        {
            ModalDriver driver(std::move(steps));
            driver.run([&] { return command(CMD_DETAILED_SETTINGS); });
        }
        // OK posts the apply command to the window: its message comes with the next pump.
        ModalDriver after({note_box(&told), note_box(&told)});
        pump_for(300);
        return told;
    }
};

TEST_F(BackgroundNotice, ToldOnceWithTheNameOverWhatApplied) {
    open("");
    put_images();
    struct Case {
        const char* what;
        const char* file;
        bool image_on;
        int button;
        int boxes;
        bool over_dialog;
    };
    const Case cases[] = {
        {"更新 with a missing file", "missing.bmp", true, IDC_SET_APPLY, 1, true},
        {"OK with a missing file", "missing.bmp", true, IDOK, 1, false},
        {"更新 with a file that is no picture", "text.bmp", true, IDC_SET_APPLY, 1, true},
        {"OK with a picture that loads", "red.bmp", true, IDOK, 0, false},
        {"更新 with a picture that loads", "red.bmp", true, IDC_SET_APPLY, 0, true},
        {"OK with the image switched off", "missing.bmp", false, IDOK, 0, false},
    };
    for (const Case& c : cases) {
        const Told told = apply(dir_ + c.file, c.image_on, c.button);
        EXPECT_EQ(told.boxes, c.boxes) << c.what;
        EXPECT_EQ(background_pixels.empty(), c.boxes > 0 || !c.image_on) << c.what;
        if (told.boxes == 0) continue;
        EXPECT_EQ(told.caption, "Tavelspore") << c.what;
        if (c.over_dialog) {
            EXPECT_NE(told.owner, hwnd_) << c.what;
            EXPECT_EQ(told.owner_caption, kSettingsCaption) << c.what;
        } else {
            EXPECT_EQ(told.owner, hwnd_) << c.what;
        }
    }
    // Applied all the same: the file and the switch are kept as chosen.
    EXPECT_EQ(settings.BackImage, 0);
    EXPECT_EQ(std::string(settings.BackImageFile), dir_ + "missing.bmp");
}

TEST_F(BackgroundNotice, TheBoxCarriesTheFileName) {
    open("");
    const Told short_name = apply(dir_ + "a.bmp", true, IDC_SET_APPLY);
    const Told long_name = apply(dir_ + std::string(80, 'n') + ".bmp", true, IDC_SET_APPLY);
    ASSERT_EQ(short_name.boxes, 1);
    ASSERT_EQ(long_name.boxes, 1);
    // The name has a line of its own: a longer name makes a wider box.
    EXPECT_GT(long_name.width, short_name.width + 200);
}

TEST_F(BackgroundNotice, StartUpWithAMissingImageIsSilent) {
    ModalDriver watch = ModalDriver::pressing_ok();
    open("[Config]\r\nBackImage=1\r\nBackImageFile=" + dir_ + "missing.bmp\r\n");
    pump_for(300);
    EXPECT_EQ(watch.dialogs_seen(), 0);
    EXPECT_EQ(settings.BackImage, 1);
    EXPECT_TRUE(background_pixels.empty());
}

}  // namespace
