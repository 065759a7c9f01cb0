// The background drawn into a real surface: each mode compared at a few points with where
// the layout puts the image, the whitening of 24-bit and palette images, and the cache that
// later paints copy back until a resize or a reload.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/background_choice.h"
#include "config/settings.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/test_records.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWindow = RGB(10, 200, 30);  // stands for the window colour

// 400 x 300, the left half red and the right half blue, as 24 bits or through a palette.
std::string halves_bmp(bool palette) {
    bmp_test::BmpFields s{400, 300, uint16_t(palette ? 8 : 24)};
    const int stride = palette ? 400 : 1200;
    s.pixels.assign(size_t(stride) * 300, 0);
    if (palette) {
        s.clr_used = 2;
        s.colours = {0xFF0000, 0x0000FF};
    }
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool left = x < 200;
            if (palette) {
                s.pixels[size_t(y) * stride + x] = left ? 0 : 1;
            } else {
                uint8_t* p = &s.pixels[size_t(y) * stride + 3 * x];
                p[0] = left ? 0 : 255;
                p[2] = left ? 255 : 0;
            }
        }
    const std::vector<uint8_t> file = bmp_test::bmp_file(s);
    return std::string(file.begin(), file.end());
}

bool close_to(COLORREF a, COLORREF b) {
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(GetRValue(a), GetRValue(b)) <= 2 && d(GetGValue(a), GetGValue(b)) <= 2 && d(GetBValue(a), GetBValue(b)) <= 2;
}

std::string hex(COLORREF c) {
    char b[16];
    wsprintfA(b, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return b;
}

class BackgroundDraw : public testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        dir_ = win_test::scratch_dir("background");
        win_test::put_file(dir_ + "halves.bmp", halves_bmp(false));
        win_test::put_file(dir_ + "palette.bmp", halves_bmp(true));
        ASSERT_NE(surface_create(200, 200), nullptr);
    }
    void TearDown() override {
        win_test::reset_program_globals();
        win_test::remove_tree(dir_);
    }
    // False when the image could not be loaded.
    bool use(const char* file, int mode, int area, int transparent) {
        settings.BackImage = 1;
        lstrcpyA(settings.BackImageFile, (dir_ + file).c_str());
        settings.BackMode = mode;
        settings.BackArea = area;
        settings.Transparent = transparent;
        return reload_background(background_choice_of(settings));
    }
    RECT paint(bool* shown) {
        surface_fill(kWindow);
        const RECT client = {0, 0, surface_width(), surface_height()};
        return draw_background(background_choice_of(settings), client, shown);
    }
    COLORREF at(int x, int y) { return GetPixel(surface_dc(), x, y); }
    std::string dir_;
};

TEST_F(BackgroundDraw, EachModeAtTheLaidOutPoints) {
    struct Point { int x, y; COLORREF want; };
    struct Case {
        const char* what;
        const char* file;
        int mode, area, transparent;
        RECT calendar;
        std::vector<Point> points;
    };
    const Case cases[] = {
        {"cover: source x 50..350, the halves meet at x 100", "halves.bmp", 0, 50, 0, {0, 0, 200, 200},
         {{40, 100, kRed}, {160, 100, kBlue}, {5, 5, kRed}, {195, 195, kBlue}}},
        {"right band: 100 x 76 at (100, 62)", "halves.bmp", 1, 50, 0, {0, 0, 100, 200},
         {{115, 100, kRed}, {185, 100, kBlue}, {150, 30, kWindow}, {150, 170, kWindow}, {50, 100, kWindow}}},
        {"bottom band: 134 x 100 at (33, 100)", "halves.bmp", 2, 50, 0, {0, 0, 200, 100},
         {{50, 150, kRed}, {150, 150, kBlue}, {10, 150, kWindow}, {100, 50, kWindow}}},
        {"bottom band at 0 %: nothing drawn", "halves.bmp", 2, 0, 0, {0, 0, 200, 200},
         {{100, 190, kWindow}, {100, 100, kWindow}}},
        {"cover at 100 % transparency: white", "halves.bmp", 0, 50, 100, {0, 0, 200, 200},
         {{40, 100, RGB(255, 255, 255)}, {160, 100, RGB(255, 255, 255)}}},
        {"cover at 50 %", "halves.bmp", 0, 50, 50, {0, 0, 200, 200},
         {{40, 100, RGB(255, 127, 127)}, {160, 100, RGB(127, 127, 255)}}},
        {"palette image at 50 %: its colours washed", "palette.bmp", 0, 50, 50, {0, 0, 200, 200},
         {{40, 100, RGB(255, 127, 127)}, {160, 100, RGB(127, 127, 255)}}},
        {"transparency has no effect in a band", "halves.bmp", 1, 50, 100, {0, 0, 100, 200},
         {{115, 100, kRed}}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(use(c.file, c.mode, c.area, c.transparent)) << c.what;
        bool shown = false;
        const RECT r = paint(&shown);
        EXPECT_TRUE(shown) << c.what;
        EXPECT_TRUE(EqualRect(&r, &c.calendar)) << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        for (const Point& p : c.points)
            EXPECT_TRUE(close_to(at(p.x, p.y), p.want)) << c.what << " at " << p.x << "," << p.y << ": " << hex(at(p.x, p.y));
    }
}

TEST_F(BackgroundDraw, NoImageLeavesTheWholeAreaAndNoHalo) {
    EXPECT_FALSE(use("missing.bmp", 0, 50, 0)) << "a chosen image that is not there";
    EXPECT_TRUE(background_pixels.empty());
    bool shown = true;
    RECT r = paint(&shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(r.right, 200);
    EXPECT_TRUE(close_to(at(40, 100), kWindow));

    use("halves.bmp", 1, 50, 0);
    settings.BackImage = 0;  // switched off without a reload: still nothing shown
    r = paint(&shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(r.right, 200);
    lstrcpyA(settings.BackImageFile, (dir_ + "missing.bmp").c_str());
    EXPECT_TRUE(reload_background(background_choice_of(settings))) << "no image asked for";
    EXPECT_TRUE(background_pixels.empty());
}

TEST_F(BackgroundDraw, LaterPaintsCopyTheCacheUntilResizeOrReload) {
    use("halves.bmp", 0, 50, 0);
    bool shown = false;
    paint(&shown);
    EXPECT_TRUE(close_to(at(40, 100), kRed));
    EXPECT_TRUE(background_cached());

    // Without a change the image is not scaled again: spoiled pixels do not show.
    std::memset(background_pixels.data(), 0, background_pixels.size());
    paint(&shown);
    EXPECT_TRUE(close_to(at(40, 100), kRed));

    // A new surface size scales anew (now the spoiled pixels show).
    ASSERT_NE(surface_create(120, 120), nullptr);
    paint(&shown);
    EXPECT_TRUE(close_to(at(20, 60), RGB(0, 0, 0))) << hex(at(20, 60));

    background_drop_cache();  // what the main window does on WM_SIZE
    EXPECT_FALSE(background_cached());
    EXPECT_TRUE(reload_background(background_choice_of(settings)));
    EXPECT_FALSE(background_cached());
    paint(&shown);
    EXPECT_TRUE(close_to(at(20, 60), kRed)) << hex(at(20, 60));
}

}  // namespace
