// The start's background decoded on a worker thread: a load ends with the latest picture,
// delivered by its message, or with none, and holds nothing more; in the main window the
// picture follows the first paint, and a settings apply during the load wins over it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <tuple>
#include <vector>

#include "image/background_loader_win.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "tests/host/bmp_builder.h"
#include "tests/win/main_window_fixture.h"

namespace {

using namespace win_test;

std::atomic<long long> g_live{0};  // bytes of pixel blocks alive, on both threads
bool count_blocks(size_t bytes, bool release) {
    g_live += release ? -static_cast<long long>(bytes) : static_cast<long long>(bytes);
    return true;
}

class StartBackground : public MainWindow {
protected:
    void put_pictures() {
        for (const auto& [name, blue, red] : {std::make_tuple("red.bmp", 0, 255), std::make_tuple("blue.bmp", 255, 0)}) {
            bmp_test::BmpFields f{8, 4, 24};
            for (int i = 0; i < 32; ++i) f.pixels.insert(f.pixels.end(), {uint8_t(blue), 0, uint8_t(red)});
            const std::vector<uint8_t> b = bmp_test::bmp_file(f);
            put_file(dir_ + name, std::string(b.begin(), b.end()));
        }
    }
    COLORREF corner() { return GetPixel(surface_dc(), 2, surface_height() - 2); }
};

TEST_F(StartBackground, TheLatestLoadIsTakenAndNothingElseIsHeld) {
    put_pictures();
    HWND target = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    struct Case {
        const char* what;
        std::vector<const char*> loads;  // nullptr: the settings applied meanwhile
        HWND to;
        size_t messages;
        COLORREF want;  // CLR_INVALID: nothing taken
    } cases[] = {
        {"one load", {"red.bmp"}, target, 1, RGB(255, 0, 0)},
        {"a newer load", {"red.bmp", "blue.bmp"}, target, 2, RGB(0, 0, 255)},
        {"applied meanwhile", {"red.bmp", nullptr}, target, 1, CLR_INVALID},
        {"missing file", {"none.bmp"}, target, 1, CLR_INVALID},
        {"the window is gone", {"red.bmp"}, gone, 0, CLR_INVALID},
    };
    set_block_hook(count_blocks);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string file;
        for (const char* load : c.loads) {
            file = dir_ + (load ? load : "");
            if (!load) background_loader_cancel();
            else ASSERT_TRUE(background_loader_start(c.to, WM_APP, BackgroundChoice{true, file.c_str(), 0, 50, 0}, {}));
        }
        background_loader_wait();
        PixelBlock pixels;
        ImageInfo info;
        std::vector<bool> taken;
        for (MSG m; PeekMessageA(&m, target, WM_APP, WM_APP, PM_REMOVE);) {
            EXPECT_FALSE(background_loader_take(m.wParam + 1000, &pixels, &info)) << "not a load's";
            taken.push_back(background_loader_take(m.wParam, &pixels, &info));
            EXPECT_FALSE(background_loader_take(m.wParam, &pixels, &info)) << "taken once";
        }
        ASSERT_EQ(taken.size(), c.messages);
        std::vector<bool> want(c.messages, false);
        if (c.want != CLR_INVALID) want.back() = true;
        EXPECT_EQ(taken, want);
        EXPECT_EQ(pixels.empty() ? CLR_INVALID : RGB(pixels[2], pixels[1], pixels[0]), c.want);
        EXPECT_EQ(g_live.load(), static_cast<long long>(pixels.size())) << "stale or undelivered pictures freed";
    }
    set_block_hook(nullptr);
    DestroyWindow(target);
}

TEST_F(StartBackground, ThePictureFollowsTheFirstPaintUnlessSettingsWereApplied) {
    put_pictures();
    struct Case {
        const char* what;
        int apply;  // -1: nothing applied, else the applied BackImage (with blue.bmp)
        COLORREF want;
    } cases[] = {
        {"nothing applied", -1, RGB(255, 0, 0)},
        {"another image applied while loading", 1, RGB(0, 0, 255)},
        {"the image switched off while loading", 0, GetSysColor(COLOR_WINDOW)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        create("[Config]\r\nBackImage=1\r\nBackMode=0\r\nBackImageFile=" + dir_ + "red.bmp\r\n");
        ASSERT_NE(hwnd_, nullptr);
        EXPECT_EQ(corner(), GetSysColor(COLOR_WINDOW)) << "first painted as with no image";
        if (c.apply >= 0) {  // sent: it runs before the load's message is handled
            settings.BackImage = c.apply;
            lstrcpyA(settings.BackImageFile, (dir_ + "blue.bmp").c_str());
            command(CMD_APPLY_SETTINGS);
        }
        pump();
        background_loader_wait();
        pump();
        EXPECT_EQ(corner(), c.want);
        close();
    }
}

}  // namespace
