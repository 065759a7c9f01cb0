// Background compositing arithmetic: where the image goes in each mode (the worked examples
// and the empty cases), and the whitening of 24-bit and palette images.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/background_layout.h"
#include "image/whiten.h"

namespace {

struct Geometry {
    bool shown, draw;
    int dst[4], src[4], cal[4];
};

Geometry geometry(const BackgroundPlan& p) {
    return {p.shown, p.draw, {p.dst_x, p.dst_y, p.dst_w, p.dst_h}, {p.src_x, p.src_y, p.src_w, p.src_h},
            {p.cal_left, p.cal_top, p.cal_right, p.cal_bottom}};
}

bool same(const int a[4], const int b[4]) { return std::memcmp(a, b, 4 * sizeof(int)) == 0; }

}  // namespace

TEST(PlanBackground, WorkedExamplesAndEmptyCases) {
    struct Case {
        const char* what;
        bool on, loaded;
        int mode, area, w, h, iw, ih;
        Geometry want;  // dst and src only compared when drawn
    };
    const Case cases[] = {
        {"400x300 covering 200x200: s 1.5, source 300x300 from x 50", true, true, 0, 50, 200, 200, 400, 300,
         {true, true, {0, 0, 200, 200}, {50, 0, 300, 300}, {0, 0, 200, 200}}},
        {"right band at 50 %: s 4, drawn 100x75, margins 0 and 62", true, true, 1, 50, 200, 200, 400, 300,
         {true, true, {100, 62, 100, 76}, {0, 0, 400, 300}, {0, 0, 100, 200}}},
        {"bottom band at 50 %: s 3, drawn 133x100", true, true, 2, 50, 200, 200, 400, 300,
         {true, true, {33, 100, 134, 100}, {0, 0, 400, 300}, {0, 0, 200, 100}}},
        {"bottom band at 0 %: nothing drawn, the flag still set", true, true, 2, 0, 200, 200, 400, 300,
         {true, false, {}, {}, {0, 0, 200, 200}}},
        {"any other mode is the bottom band", true, true, 7, 25, 200, 200, 400, 300,
         {true, true, {67, 150, 66, 50}, {0, 0, 400, 300}, {0, 0, 200, 150}}},
        {"tall image covering a wide window", true, true, 0, 50, 200, 100, 100, 1000,
         {true, true, {0, 0, 200, 100}, {0, 475, 100, 50}, {0, 0, 200, 100}}},
        {"small image covering a large window", true, true, 0, 50, 400, 400, 100, 50,
         {true, true, {0, 0, 400, 400}, {25, 0, 50, 50}, {0, 0, 400, 400}}},
        {"setting off", false, true, 0, 50, 200, 200, 400, 300, {false, false, {}, {}, {0, 0, 200, 200}}},
        {"no image loaded", true, false, 1, 50, 200, 200, 400, 300, {false, false, {}, {}, {0, 0, 200, 200}}},
        {"empty client area, cover", true, true, 0, 50, 0, 0, 400, 300, {true, false, {}, {}, {0, 0, 0, 0}}},
        {"zero-width client area, right band", true, true, 1, 50, 0, 200, 400, 300,
         {true, false, {}, {}, {0, 0, 0, 200}}},
        {"display ratio 150 is used as 100", true, true, 1, 150, 200, 200, 400, 300,
         {true, true, {0, 25, 200, 150}, {0, 0, 400, 300}, {0, 0, 0, 200}}},
        {"display ratio -20 is used as 0", true, true, 1, -20, 200, 200, 400, 300,
         {true, false, {}, {}, {0, 0, 200, 200}}},
        {"a line of an image drawn 0 pixels high", true, true, 1, 50, 200, 200, 1000, 1,
         {true, false, {}, {}, {0, 0, 100, 200}}},
    };
    for (const auto& c : cases) {
        const Geometry g = geometry(plan_background(c.on, c.loaded, c.mode, c.area, c.w, c.h, c.iw, c.ih));
        EXPECT_EQ(g.shown, c.want.shown) << c.what;
        EXPECT_EQ(g.draw, c.want.draw) << c.what;
        EXPECT_TRUE(same(g.cal, c.want.cal)) << c.what << ": calendar " << g.cal[0] << "," << g.cal[1]
                                             << "," << g.cal[2] << "," << g.cal[3];
        if (!c.want.draw) continue;
        EXPECT_TRUE(same(g.dst, c.want.dst)) << c.what << ": destination " << g.dst[0] << ","
                                             << g.dst[1] << "," << g.dst[2] << "," << g.dst[3];
        EXPECT_TRUE(same(g.src, c.want.src)) << c.what << ": source " << g.src[0] << "," << g.src[1]
                                             << "," << g.src[2] << "," << g.src[3];
    }
}

TEST(WhitenTable, MovesEachValueTowardWhite) {
    struct { int t; int in; int out; } cases[] = {
        {50, 0, 127}, {50, 100, 177}, {50, 255, 255}, {0, 0, 0}, {0, 200, 200}, {100, 0, 255},
        {100, 254, 255}, {1, 0, 2}, {150, 0, 255}, {150, 37, 255}, {-5, 10, 10}, {30000, 9, 255},
    };
    for (const auto& c : cases) {
        uint8_t table[256];
        whiten_table(c.t, table);
        EXPECT_EQ(table[c.in], c.out) << "T " << c.t << ", value " << c.in;
    }
}

TEST(WhitenImage, TwentyFourBitBytesWithPaddingNeverPastTheBlock) {
    ImageInfo info = {};
    info.header.width = 1;
    info.header.height = 2;
    info.header.bit_count = 24;
    PixelBlock block;
    ASSERT_TRUE(block.allocate(8));
    whiten_image(&block, &info, 100);
    EXPECT_EQ(std::vector<uint8_t>(block.data(), block.data() + 8), std::vector<uint8_t>(8, 255));

    PixelBlock shorter;  // a block shorter than its header says: only its own bytes
    ASSERT_TRUE(shorter.allocate(5));
    whiten_image(&shorter, &info, 50);
    EXPECT_EQ(std::vector<uint8_t>(shorter.data(), shorter.data() + 5), std::vector<uint8_t>(5, 127));
}

TEST(WhitenImage, PaletteImagesWashTheirColoursNotTheirIndices) {
    ImageInfo info = {};
    info.header.width = 4;
    info.header.height = 1;
    info.header.bit_count = 8;
    info.header.clr_used = 2;
    const uint8_t colours[3][4] = {{0, 100, 255, 9}, {10, 20, 30, 9}, {5, 5, 5, 5}};
    std::memcpy(info.colors, colours, sizeof colours);
    PixelBlock block;
    ASSERT_TRUE(block.allocate(4));
    const uint8_t indices[4] = {0, 1, 1, 0};
    std::memcpy(block.data(), indices, 4);
    whiten_image(&block, &info, 50);
    EXPECT_EQ(std::memcmp(block.data(), indices, 4), 0);
    const uint8_t washed[3][4] = {{127, 177, 255, 9}, {132, 137, 142, 9}, {5, 5, 5, 5}};
    EXPECT_EQ(std::memcmp(info.colors, washed, sizeof washed), 0);

    info.header.bit_count = 1;  // a count of 0 means every entry of the depth
    info.header.clr_used = 0;
    whiten_image(&block, &info, 100);
    EXPECT_EQ(info.colors[1][0], 255);
    EXPECT_EQ(info.colors[2][0], 5);
}

TEST(Whitening, OnlyTheWholeWindowModeWithATransparency) {
    struct { int mode, t; bool applies; } cases[] = {
        {0, 0, false}, {0, 50, true}, {0, 150, true}, {0, -5, false}, {1, 50, false}, {2, 100, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(whitening_applies(c.mode, c.t), c.applies) << c.mode << " " << c.t;
}

TEST(ClampPercent, LimitsToZeroToHundred) {
    struct { int64_t in; int out; } cases[] = {{-1, 0}, {0, 0}, {55, 55}, {100, 100}, {101, 100}, {4294967295ll, 100}};
    for (const auto& c : cases) EXPECT_EQ(clamp_percent(c.in), c.out) << c.in;
}
