// What the DPI changes of the window's own sizes: a first start's window, the month buttons
// and their margin; and where the day cursor's focus rectangle goes.
#include <gtest/gtest.h>

#include <cstring>

#include "app/main_layout.h"
#include "config/settings.h"

namespace {

TEST(DpiLayout, FirstWindowGrowsWithTheDpi) {
    const struct {
        int dpi, screen_w, screen_h;
        int x1, y1, x2, y2;
    } cases[] = {
        {96, 1024, 768, 342, 214, 682, 554},
        {144, 1920, 1080, 705, 285, 1215, 795},   // 510 x 510
        {192, 3840, 2160, 1580, 740, 2260, 1420},  // 680 x 680
        {120, 1280, 1024, 427, 299, 852, 724},     // 425 x 425
        {288, 1280, 720, 280, 0, 1000, 720},       // never larger than the screen
        {72, 1024, 768, 342, 214, 682, 554},       // nor smaller than at 96 DPI
        {0, 1024, 768, 342, 214, 682, 554},        // no DPI known: 96
    };
    for (const auto& c : cases) {
        Settings s;
        std::memset(&s, 0x55, sizeof s);
        settings_default_window_set(&s, c.screen_w, c.screen_h, c.dpi);
        EXPECT_EQ(s.x1, c.x1) << c.dpi;
        EXPECT_EQ(s.y1, c.y1) << c.dpi;
        EXPECT_EQ(s.x2, c.x2) << c.dpi;
        EXPECT_EQ(s.y2, c.y2) << c.dpi;
        EXPECT_EQ(s.ix, 0);
    }
}

TEST(DpiLayout, MonthButtonsGrowWithTheDpi) {
    const MonthMetrics m = {14, 42, 28, 170, 86};
    const struct {
        int dpi, digit_h;
        CellRect left, right;
    } cases[] = {
        {96, 30, {4, 2, 20, 18}, {320, 2, 336, 18}},   // at most 16 pixels at 96 DPI
        {96, 8, {4, 2, 12, 10}, {328, 2, 336, 10}},    // at least 8
        {144, 40, {6, 2, 30, 26}, {310, 2, 334, 26}},  // 24 and a margin of 6 at 150 %
        {192, 60, {8, 2, 40, 34}, {300, 2, 332, 34}},  // 32 and 8 at 200 %
        {192, 12, {8, 2, 24, 18}, {316, 2, 332, 18}},  // at least 16 at 200 %
        {144, 20, {6, 2, 24, 20}, {316, 2, 334, 20}},  // between the bounds: the digits'
    };
    for (const auto& c : cases) {
        MonthCells cells;
        month_cells(m, 340, 30, c.digit_h, 0, 31, &cells, c.dpi);
        const CellRect& l = cells.left_arrow;
        const CellRect& r = cells.right_arrow;
        EXPECT_TRUE(l.left == c.left.left && l.top == c.left.top && l.right == c.left.right &&
                    l.bottom == c.left.bottom)
            << c.dpi << "/" << c.digit_h << ": " << l.left << "," << l.top << "," << l.right << "," << l.bottom;
        EXPECT_TRUE(r.left == c.right.left && r.right == c.right.right && r.bottom == c.right.bottom)
            << c.dpi << "/" << c.digit_h << ": " << r.left << "," << r.right;
    }
    EXPECT_EQ(scaled_to_dpi(16, 0), 16);
    EXPECT_EQ(scaled_to_dpi(5, 120), 6);  // rounded
}

TEST(DpiLayout, FocusRectangleAroundADay) {
    const CellRect area = {0, 0, 340, 340};
    const struct {
        const char* what;
        CellRect cell, area, want;
    } cases[] = {
        {"three pixels beyond the drawn cell", {100, 100, 130, 120}, area, {97, 97, 133, 124}},
        {"within the calendar area", {1, 1, 30, 338}, area, {0, 0, 33, 340}},
        {"a band image's area", {300, 100, 330, 120}, {0, 0, 320, 340}, {297, 97, 320, 124}},
        {"a day the month lacks", {-1, -1, -1, -1}, area, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const CellRect r = focus_rect_around(c.cell, c.area);
        EXPECT_TRUE(r.left == c.want.left && r.top == c.want.top && r.right == c.want.right &&
                    r.bottom == c.want.bottom)
            << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
