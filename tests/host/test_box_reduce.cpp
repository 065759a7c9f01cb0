// Reduction at load: the size a picture is kept at for a screen, and the pixels of a reduced
// bitmap of every kind against the box filter of the colours put in.
#include "image/box_reduce.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/bitmap_decode.h"
#include "tests/host/box_reference.h"
#include "tests/host/seeded_bitmap.h"

TEST(ReducedSize, CoversTheScreenAndKeepsProportions) {
    struct { uint32_t w, h; ScreenSize screen; uint32_t rw, rh; } cases[] = {
        {4000, 3000, {1920, 1080}, 1920, 1440},  // width reaches the edge first
        {3000, 4000, {1920, 1080}, 1763, 2351},  // 1920 x 2560 would be 2.4 screens
        {4000, 1000, {1920, 1080}, 4000, 1000},  // 4 Mpx: within two screens, kept
        {8000, 1000, {1920, 1080}, 5760, 720},   // a panorama: at most two screens of pixels
        {1920, 1080, {1920, 1080}, 1920, 1080},  // exactly the screen
        {1921, 1081, {1920, 1080}, 1920, 1081},  // one over: the height rounds up, never below
        {800, 600, {1920, 1080}, 800, 600},      // smaller: its own size
        {4000, 3000, {0, 0}, 4000, 3000},        // no screen: every size kept
        {4000, 3000, {1920, 0}, 4000, 3000},
        {65535, 1, {1, 1}, 362, 1},
        {7, 5, {1, 1}, 2, 1},
    };
    for (const auto& c : cases) {
        const ReducedSize r = reduced_size(c.w, c.h, c.screen);
        EXPECT_EQ(r.width, c.rw) << c.w << "x" << c.h;
        EXPECT_EQ(r.height, c.rh) << c.w << "x" << c.h;
        EXPECT_EQ(r.reduces(c.w, c.h), c.rw != c.w || c.rh != c.h);
    }
}

TEST(BoxReducer, KnownMeansWhicheverRowComesFirst) {
    // 3 x 2 to 2 x 1: columns {0, 1} and {2}, both rows in each box.
    const uint8_t top[9] = {0, 0, 0, 10, 20, 30, 100, 100, 100};
    const uint8_t bottom[9] = {1, 1, 1, 20, 40, 61, 201, 0, 255};
    const std::vector<uint8_t> want = {8, 15, 23, 151, 50, 178, 0, 0};  // rounded means, row padded to 8
    for (bool top_first : {true, false}) {
        PixelBlock out;
        BoxReducer r;
        ASSERT_TRUE(r.start(3, 2, ReducedSize{2, 1}, top_first, &out));
        r.add_row(top_first ? top : bottom);
        EXPECT_FALSE(r.complete());
        r.add_row(top_first ? bottom : top);
        EXPECT_TRUE(r.complete());
        EXPECT_EQ(std::vector<uint8_t>(out.data(), out.data() + out.size()), want) << top_first;
    }
    PixelBlock out;
    BoxReducer r;
    EXPECT_FALSE(r.start(2, 2, ReducedSize{3, 1}, true, &out)) << "never enlarges";
    EXPECT_FALSE(r.start(2, 0, ReducedSize{1, 1}, true, &out));
}

TEST(DecodeBitmap, ReducedWhileReadIsTheBoxFilterOfEveryKind) {
    // Seeds: width - 1, height - 1, kind (1, 4, 8 bits, RLE4, RLE8, 16, 16 5-6-5, 24, 32,
    // 32 with masks), top-down flag, then the colours.
    const ScreenSize screens[] = {{5, 4}, {1, 1}, {16, 3}, {47, 47}};
    for (int kind = 0; kind < seeded_bmp::kKinds; ++kind)
        for (uint8_t top_down : {0, 1})
            for (const ScreenSize& screen : screens) {
                std::vector<uint8_t> seed = {46, 36, static_cast<uint8_t>(kind), top_down};
                for (int i = 0; i < 61; ++i) seed.push_back(static_cast<uint8_t>(i * 37 + kind));
                const seeded_bmp::Seeded s = seeded_bmp::make(seed.data(), seed.size());
                ASSERT_EQ(s.width, 47u);
                const ReducedSize r = reduced_size(s.width, s.height, screen);
                MemorySource src(s.file.data(), s.file.size());
                PixelBlock pixels;
                ImageInfo info;
                ASSERT_TRUE(decode_bitmap(src, &pixels, &info, screen)) << kind;
                ASSERT_EQ(info.header.width, static_cast<int32_t>(r.width)) << kind;
                ASSERT_EQ(info.header.height, static_cast<int32_t>(r.height)) << kind;
                const std::vector<uint8_t> want = box_test::box_reference(
                    s.width, s.height, r.width, r.height, [&](uint32_t x, uint32_t y) { return s.at(x, y); });
                int wrong = 0;
                for (uint32_t y = 0; y < r.height; ++y)
                    for (uint32_t x = 0; x < r.width; ++x)
                        wrong += std::memcmp(seeded_bmp::decoded_at(pixels, info, x, y), &want[3 * (y * r.width + x)], 3) != 0;
                EXPECT_EQ(wrong, 0) << "kind " << kind << " top-down " << int(top_down) << " screen "
                                    << screen.width << "x" << screen.height;
            }
}

TEST(DecodeBitmap, ReducedRunLengthBitmapKeepsOnlyTheScreen) {
    // 4000 x 3000 RLE8 of a few hundred bytes: every row one run of its own value.
    bmp_test::BmpFields f;
    f.width = 4000;
    f.height = 3000;
    f.bits = 8;
    f.compression = kBiRle8;
    for (uint32_t i = 0; i < 256; ++i) f.colours.push_back(i * 0x010101u);
    for (int y = 0; y < 3000; ++y) {
        for (int left = 4000; left > 0; left -= 250) f.pixels.insert(f.pixels.end(), {250, static_cast<uint8_t>(y / 12)});
        f.pixels.insert(f.pixels.end(), {0, 0});
    }
    f.size_image = static_cast<uint32_t>(f.pixels.size());
    const std::vector<uint8_t> file = bmp_test::bmp_file(f);
    MemorySource src(file.data(), file.size());
    PixelBlock pixels;
    ImageInfo info;
    ASSERT_TRUE(decode_bitmap(src, &pixels, &info, ScreenSize{400, 300}));
    EXPECT_EQ(info.header.width, 400);
    EXPECT_EQ(info.header.height, 300);
    EXPECT_EQ(info.header.bit_count, 24);
    EXPECT_EQ(pixels.size(), 1200u * 300u);
    // Result row k (from the bottom) averages source rows 10k .. 10k + 9, values (10k .. 10k+9) / 12.
    for (int k : {0, 1, 150, 299}) {
        int sum = 0;
        for (int y = 10 * k; y < 10 * k + 10; ++y) sum += y / 12;
        EXPECT_EQ(pixels.data()[1200u * k + 600], (sum + 5) / 10) << k;
    }
}

TEST(ReduceToScreen, PaletteAndPlainPicturesBecomeReducedRows) {
    ImageInfo info{};
    info.header = DibHeader{40, 4, 2, 1, 8, kBiRgb, 8, 0, 0, 2, 0};
    info.colors[1][0] = 200;  // blue of colour 1
    PixelBlock pixels;
    ASSERT_TRUE(pixels.allocate(8));
    const uint8_t idx[8] = {0, 1, 1, 1, 1, 1, 1, 1};  // bottom row first
    std::memcpy(pixels.data(), idx, 8);
    ASSERT_TRUE(reduce_to_screen(&pixels, &info, ScreenSize{1, 1}));
    EXPECT_EQ(info.header.width, 2);
    EXPECT_EQ(info.header.height, 1);
    EXPECT_EQ(info.header.bit_count, 24);
    EXPECT_EQ(info.header.clr_used, 0u);
    EXPECT_EQ(pixels.data()[0], 150) << "(0 + 200 + 200 + 200) / 4";
    EXPECT_EQ(pixels.data()[3], 200);
    // Small enough already: unchanged, palette kept.
    ImageInfo small{};
    small.header = DibHeader{40, 2, 1, 1, 8, kBiRgb, 4, 0, 0, 2, 0};
    PixelBlock kept;
    ASSERT_TRUE(kept.allocate(4));
    EXPECT_TRUE(reduce_to_screen(&kept, &small, ScreenSize{1920, 1080}));
    EXPECT_EQ(small.header.bit_count, 8);
    EXPECT_EQ(kept.size(), 4u);
}

TEST(DecodeBitmap, ReducedFileCutShortHasBlackWhereRowsAreMissing) {
    bmp_test::BmpFields f{8, 8, 24};
    f.pixels.assign(24 * 8, 0xFF);
    std::vector<uint8_t> file = bmp_test::bmp_file(f);
    file.resize(file.size() - 24 * 4 - 5);  // the four top rows missing, and the last 5 bytes of the one below
    MemorySource src(file.data(), file.size());
    PixelBlock pixels;
    ImageInfo info;
    ASSERT_TRUE(decode_bitmap(src, &pixels, &info, ScreenSize{2, 2}));
    ASSERT_EQ(info.header.width, 2);
    ASSERT_EQ(info.header.height, 2);
    const std::vector<uint8_t> got(pixels.data(), pixels.data() + pixels.size());
    // Bottom row: the right box lacks the last pixel (all three bytes) and the green and red
    // of the one before it, of 16: 15 x 255 / 16 and 14 x 255 / 16. Top row: nothing there.
    EXPECT_EQ(got, (std::vector<uint8_t>{255, 255, 255, 239, 223, 223, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}
