// The built-in bitmap decoder on files built in memory: every depth and compression, the
// colour table rules, run-length data, and every header it must refuse.
#include "image/bitmap_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bmp_builder.h"

namespace {

using namespace bmp_test;
using Bytes = std::vector<uint8_t>;

struct Decoded {
    bool ok;
    Bytes pixels;
    ImageInfo info;
};

Decoded decode(const Bytes& file) {
    // The file in a block of its exact size, so any read past its end is caught.
    std::vector<uint8_t> exact(file);
    MemorySource src(exact.data(), exact.size());
    PixelBlock block;
    Decoded d;
    d.ok = decode_bitmap(src, &block, &d.info);
    if (d.ok) d.pixels.assign(block.data(), block.data() + block.size());
    return d;
}

Bytes colour(const ImageInfo& info, int i) {
    return Bytes(info.colors[i], info.colors[i] + 4);
}

}  // namespace

TEST(DibStride, RowsArePaddedToFourBytes) {
    struct { int64_t w; int bits; uint64_t stride; } cases[] = {
        {1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {1, 4, 4}, {9, 4, 8}, {3, 8, 4}, {5, 8, 8},
        {1, 24, 4}, {2, 24, 8}, {3, 24, 12}, {3, 16, 8}, {1, 32, 4}, {0, 24, 0}, {-4, 8, 0},
        {0x7FFFFFFF, 32, 0x1FFFFFFFCull},
    };
    for (const auto& c : cases) EXPECT_EQ(dib_stride(c.w, c.bits), c.stride) << c.w << "x" << c.bits;
}

TEST(DecodeBitmap, PlainDepthsKeepTheirRowsAndColours) {
    struct Case {
        const char* what;
        BmpFields bmp;
        Bytes pixels;
        int colours;
    };
    Case cases[] = {
        {"24-bit 2x2", {2, 2, 24, 0, 0, 0, 40, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}},
         {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}, 0},
        {"1-bit 3x2, count 0 means 2", {3, 2, 1, 0, 0, 0, 40, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
         {0xA0, 0, 0, 0, 0x40, 0, 0, 0}, 2},
        {"4-bit with 3 colours", {3, 1, 4, 0, 0, 3, 40, {0x112233, 0x445566, 0x778899}, {0x01, 0x20, 0, 0}},
         {0x01, 0x20, 0, 0}, 3},
    };
    for (const auto& c : cases) {
        const Decoded d = decode(bmp_file(c.bmp));
        ASSERT_TRUE(d.ok) << c.what;
        EXPECT_EQ(d.pixels, c.pixels) << c.what;
        EXPECT_EQ(d.info.header.size, 40u) << c.what;
        EXPECT_EQ(d.info.header.bit_count, c.bmp.bits) << c.what;
        EXPECT_EQ(d.info.header.height, c.bmp.height) << c.what;
        EXPECT_EQ(d.info.header.clr_used, static_cast<uint32_t>(c.colours)) << c.what;
        for (int i = 0; i < c.colours; ++i) {
            const uint32_t v = c.bmp.colours[i];
            EXPECT_EQ(colour(d.info, i), (Bytes{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0})) << c.what;
        }
        EXPECT_EQ(colour(d.info, c.colours), (Bytes{0, 0, 0, 0})) << c.what << ": no extra entry";
    }
}

TEST(DecodeBitmap, EightBitColourCountZeroGives256) {
    BmpFields s{2, 1, 8};
    for (uint32_t i = 0; i < 256; ++i) s.colours.push_back(i * 0x010101);
    s.pixels = {0, 255, 0, 0};
    const Decoded d = decode(bmp_file(s));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.info.header.clr_used, 256u);
    EXPECT_EQ(colour(d.info, 255), (Bytes{255, 255, 255, 0}));
    EXPECT_EQ(d.pixels, (Bytes{0, 255, 0, 0}));
}

TEST(DecodeBitmap, ColourCountAbove256IsCutTo256) {
    BmpFields s{1, 1, 8};
    s.clr_used = 300;
    for (uint32_t i = 0; i < 300; ++i) s.colours.push_back(i);  // entry 256 onward never read
    s.pixels = {7, 0, 0, 0};
    const Decoded d = decode(bmp_file(s));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.info.header.clr_used, 256u);
    EXPECT_EQ(colour(d.info, 255), (Bytes{255, 0, 0, 0}));
    EXPECT_EQ(d.pixels, (Bytes{7, 0, 0, 0}));  // the pixel offset still points past all 300
}

TEST(DecodeBitmap, LargerInfoHeadersKeepTheirColourTableAfterThem) {
    for (uint32_t size : {52u, 56u, 108u, 124u}) {
        BmpFields s{1, 1, 8};
        s.header_size = size;
        s.clr_used = 2;
        s.colours = {0xFF0000, 0x0000FF};
        s.pixels = {1, 0, 0, 0};
        const Decoded d = decode(bmp_file(s));
        ASSERT_TRUE(d.ok) << size;
        EXPECT_EQ(d.info.header.size, 40u) << size;
        EXPECT_EQ(colour(d.info, 0), (Bytes{0, 0, 255, 0})) << size;
        EXPECT_EQ(colour(d.info, 1), (Bytes{255, 0, 0, 0})) << size;
    }
}

TEST(DecodeBitmap, TopDownRowsAreTurnedBottomUp) {
    BmpFields s{1, -3, 8};
    s.clr_used = 1;
    s.colours = {0};
    s.pixels = {10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0};  // top row first
    const Decoded d = decode(bmp_file(s));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.info.header.height, 3);
    EXPECT_EQ(d.pixels, (Bytes{30, 0, 0, 0, 20, 0, 0, 0, 10, 0, 0, 0}));

    BmpFields t{1, -2, 16};  // a top-down 16-bit image is turned, then converted
    t.pixels = {0x00, 0x7C, 0, 0, 0x1F, 0x00, 0, 0};
    const Decoded e = decode(bmp_file(t));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.pixels, (Bytes{0xF8, 0, 0, 0, 0, 0, 0xF8, 0}));
}

TEST(DecodeBitmap, SixteenAndThirtyTwoBitsBecome24) {
    struct Case {
        const char* what;
        BmpFields bmp;
        Bytes out;  // 24-bit rows
    };
    Case cases[] = {
        {"16-bit 5-5-5 without masks",
         {2, 1, 16, 0, 0, 0, 40, {}, {0x00, 0x7C, 0x1F, 0x00}}, {0, 0, 0xF8, 0xF8, 0, 0, 0, 0}},
        {"16-bit 5-6-5: green shifts right 5, left 2",
         {3, 1, 16, 3, 0, 0, 40, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x20, 0x00, 0x00, 0xF8, 0, 0}},
         {0, 0xFC, 0, 0, 0x04, 0, 0, 0, 0xF8, 0, 0, 0}},
        {"32-bit without masks: blue, green, red, the fourth byte ignored",
         {1, 1, 32, 0, 0, 0, 40, {}, {0x11, 0x22, 0x33, 0x44}}, {0x11, 0x22, 0x33, 0}},
        {"32-bit masks with red in the low byte",
         {1, 1, 32, 3, 0, 0, 40, {0x0000FF, 0x00FF00, 0xFF0000}, {0x01, 0x02, 0x03, 0x00}},
         {0x03, 0x02, 0x01, 0}},
        {"32-bit 10-bit masks keep their top eight bits",
         {1, 1, 32, 3, 0, 0, 40, {0x3FF00000, 0x000FFC00, 0x000003FF},
          {0xFF, 0x57, 0x05, 0x20}},  // red 0x200, green 0x155, blue 0x3FF
         {0xFF, 0x55, 0x80, 0}},
        {"16-bit with an empty green mask",
         {1, 1, 16, 3, 0, 0, 40, {0xF800, 0, 0x001F}, {0xFF, 0xFF, 0, 0}}, {0xF8, 0, 0xF8, 0}},
    };
    for (const auto& c : cases) {
        const Decoded d = decode(bmp_file(c.bmp));
        ASSERT_TRUE(d.ok) << c.what;
        EXPECT_EQ(d.info.header.bit_count, 24) << c.what;
        EXPECT_EQ(d.info.header.compression, kBiRgb) << c.what;
        EXPECT_EQ(d.info.header.size_image, c.out.size()) << c.what;
        EXPECT_EQ(colour(d.info, 0), (Bytes{0, 0, 0, 0})) << c.what << ": masks cleared";
        EXPECT_EQ(d.pixels, c.out) << c.what;
    }
}

TEST(DecodeBitmap, RefusesHeadersNoOneCanDraw) {
    struct Case {
        const char* what;
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
    };
    const Case cases[] = {
        {"width 0", 0, 1, 24, 0},
        {"negative width", -1, 1, 24, 0},
        {"height 0", 1, 0, 24, 0},
        {"height INT32_MIN", 1, INT32_MIN, 8, 0},
        {"0 bits", 1, 1, 0, 0},
        {"2 bits", 1, 1, 2, 0},
        {"15 bits", 1, 1, 15, 0},
        {"64 bits", 1, 1, 64, 0},
        {"RLE8 at 4 bits", 4, 1, 4, 1},
        {"RLE4 at 8 bits", 4, 1, 8, 2},
        {"RLE8 at 24 bits", 4, 1, 24, 1},
        {"bit fields at 24 bits", 1, 1, 24, 3},
        {"bit fields at 8 bits", 1, 1, 8, 3},
        {"embedded JPEG", 1, 1, 24, 4},
        {"embedded PNG", 1, 1, 32, 5},
        {"top-down RLE8", 4, -1, 8, 1},
        {"stride x height beyond 256 MiB", 20000, 20000, 24, 0},
        {"stride x height overflowing 32 bits", 0x7FFFFFFF, 0x7FFFFFFF, 32, 0},
        {"16 bits whose 24-bit form is too big", 10000, 10000, 16, 0},
    };
    for (const auto& c : cases) {
        BmpFields s{c.width, c.height, c.bits, c.compression};
        s.colours.assign(c.bits <= 8 && c.bits > 0 ? (1u << c.bits) : 3, 0);
        s.pixels.assign(64, 0x11);
        EXPECT_FALSE(decode(bmp_file(s)).ok) << c.what;
    }
    EXPECT_FALSE(decode(Bytes{'B', 'M'}).ok) << "header cut short";
    EXPECT_FALSE(decode(Bytes{}).ok) << "empty file";
    Bytes not_bm = bmp_file(BmpFields{});
    not_bm[0] = 'X';
    EXPECT_FALSE(decode(not_bm).ok) << "no BM";
}

TEST(DecodeBitmap, ShortFilesLoadWhatIsThere) {
    BmpFields far{2, 2, 24};
    far.offset = 100000;  // beyond the end of the file
    far.pixels = {1, 2, 3};
    Decoded d = decode(bmp_file(far));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, Bytes(16, 0));

    BmpFields cut{2, 2, 24};
    cut.pixels = {1, 2, 3};  // 3 of 16 bytes
    d = decode(bmp_file(cut));
    ASSERT_TRUE(d.ok);
    Bytes want(16, 0);
    want[0] = 1, want[1] = 2, want[2] = 3;
    EXPECT_EQ(d.pixels, want);

    BmpFields no_table{2, 1, 8};  // 256 colours declared, none present
    d = decode(bmp_file(no_table));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.info.header.clr_used, 256u);
}

namespace {

Decoded decode_rle_file(int width, int height, uint16_t bits, const Bytes& data, uint32_t size_image) {
    BmpFields s{width, height, bits, bits == 8 ? kBiRle8 : kBiRle4};
    s.size_image = size_image;
    s.clr_used = 2;
    s.colours = {0, 0xFFFFFF};
    s.pixels = data;
    return decode(bmp_file(s));
}

}  // namespace

TEST(DecodeRle, Codes) {
    struct Case {
        const char* what;
        int width, height;
        uint16_t bits;
        Bytes data;
        Bytes out;
    };
    const Case cases[] = {
        {"RLE8 run, end of line, absolute run with pad, end of bitmap", 4, 2, 8,
         {3, 5, 0, 0, 0, 3, 7, 8, 9, 0, 0, 1}, {5, 5, 5, 0, 7, 8, 9, 0}},
        {"RLE8 delta right 1 and up 1", 4, 3, 8, {0, 2, 1, 1, 1, 9, 0, 1},
         {0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0}},
        {"RLE4 run of 3 then 2: the third pixel in the high nibble of byte 2", 5, 1, 4,
         {3, 0x12, 2, 0x34, 0, 1}, {0x12, 0x13, 0x40, 0}},
        {"RLE4 absolute run of 5 nibbles with its pad byte", 8, 1, 4,
         {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x60, 0, 1}, {0x12, 0x34, 0x56, 0}},
        {"RLE4 absolute run of 3 nibbles, no pad", 4, 1, 4, {0, 3, 0x12, 0x30, 1, 0x70},
         {0x12, 0x37, 0, 0}},
        {"a run past the row's end is dropped, not wrapped", 2, 2, 8, {5, 7, 1, 3},
         {7, 7, 0, 0, 0, 0, 0, 0}},
        {"end of line beyond the last row drops the rest", 2, 1, 8, {0, 0, 2, 8, 0, 0, 2, 8},
         {0, 0, 0, 0}},
        {"delta beyond the image", 2, 2, 8, {0, 2, 255, 255, 2, 4}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"absolute run cut by the end of the data", 4, 1, 8, {0, 5, 1, 2}, {1, 2, 0, 0}},
        {"delta cut by the end of the data", 4, 1, 8, {1, 3, 0, 2, 1}, {3, 0, 0, 0}},
        {"a lone last byte", 4, 1, 8, {2, 6, 9}, {6, 6, 0, 0}},
        {"RLE4 run into the last nibble of the row", 3, 1, 4, {4, 0x9A}, {0x9A, 0x90, 0, 0}},
    };
    for (const auto& c : cases) {
        const Decoded d = decode_rle_file(c.width, c.height, c.bits, c.data, static_cast<uint32_t>(c.data.size()));
        ASSERT_TRUE(d.ok) << c.what;
        EXPECT_EQ(d.pixels, c.out) << c.what;
        EXPECT_EQ(d.info.header.compression, kBiRgb) << c.what;
        EXPECT_EQ(d.info.header.bit_count, c.bits) << c.what;
        EXPECT_EQ(d.info.header.size_image, c.out.size()) << c.what;
    }
}

TEST(DecodeRle, ImageSizeZeroUsesTheRestOfTheFile) {
    const Bytes data = {3, 5, 0, 0, 2, 6, 0, 1};
    const Decoded whole = decode_rle_file(4, 2, 8, data, 0);
    ASSERT_TRUE(whole.ok);
    EXPECT_EQ(whole.pixels, (Bytes{5, 5, 5, 0, 6, 6, 0, 0}));
    const Decoded declared = decode_rle_file(4, 2, 8, data, 2);  // only the first run
    ASSERT_TRUE(declared.ok);
    EXPECT_EQ(declared.pixels, (Bytes{5, 5, 5, 0, 0, 0, 0, 0}));
    const Decoded beyond = decode_rle_file(4, 2, 8, data, 0x7FFFFFFF);  // more than the file has
    ASSERT_TRUE(beyond.ok);
    EXPECT_EQ(beyond.pixels, whole.pixels);
}

namespace {

struct Picture {
    bool ok;
    Bytes pixels;
    ImageInfo info;
};

Picture accept(const Bytes& info_block, const Bytes& pixel_block) {
    PixelBlock block;
    Picture p;
    p.ok = accept_plugin_picture(info_block.data(), info_block.size(), pixel_block.data(),
                                 pixel_block.size(), &block, &p.info);
    if (p.ok) p.pixels.assign(block.data(), block.data() + block.size());
    return p;
}

Bytes info_block(const BmpFields& s) {
    Bytes b = info_header(s);
    for (uint32_t c : s.colours) put32(b, c);
    return b;
}

}  // namespace

TEST(PluginPicture, CopiesNoMoreThanEachHandleHolds) {
    BmpFields s{1, 1, 8};
    s.colours = {0x010203, 0x040506};  // 256 declared, two present
    Picture p = accept(info_block(s), Bytes{1, 0, 0, 0});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.info.header.clr_used, 256u);
    EXPECT_EQ(colour(p.info, 1), (Bytes{6, 5, 4, 0}));
    EXPECT_EQ(colour(p.info, 2), (Bytes{0, 0, 0, 0}));

    BmpFields big{4, 4, 24};  // 48 pixel bytes claimed, 5 handed over
    p = accept(info_block(big), Bytes{9, 9, 9, 9, 9});
    ASSERT_TRUE(p.ok);
    Bytes want(48, 0);
    std::fill(want.begin(), want.begin() + 5, 9);
    EXPECT_EQ(p.pixels, want);

    const Bytes big_info = info_block(big);
    EXPECT_FALSE(accept(Bytes(big_info.begin(), big_info.begin() + 14), Bytes(48, 0)).ok)
        << "info handle shorter than a header";
    EXPECT_FALSE(accept(info_block(BmpFields{0, 4, 24}), Bytes(48, 0)).ok) << "width 0";
}

TEST(PluginPicture, TurnsTopDownAndConvertsButKeepsRunLengthData) {
    Picture p = accept(info_block(BmpFields{1, -2, 24}), Bytes{1, 1, 1, 0, 2, 2, 2, 0});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.info.header.height, 2);
    EXPECT_EQ(p.pixels, (Bytes{2, 2, 2, 0, 1, 1, 1, 0}));

    p = accept(info_block(BmpFields{1, 1, 16, 3, 0, 0, 40, {0xF800, 0x07E0, 0x001F}}), Bytes{0xE0, 0x07, 0, 0});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.info.header.bit_count, 24);
    EXPECT_EQ(p.pixels, (Bytes{0, 0xFC, 0, 0}));

    const Bytes rle = {2, 1, 0, 1, 0xEE, 0xEE};
    p = accept(info_block(BmpFields{2, 1, 8, kBiRle8, 4, 2, 40, {0, 0xFFFFFF}}), rle);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.info.header.compression, kBiRle8);
    EXPECT_EQ(p.pixels, (Bytes{2, 1, 0, 1}));  // the declared 4 bytes
    p = accept(info_block(BmpFields{2, 1, 8, kBiRle8, 0, 2, 40, {0, 0xFFFFFF}}), rle);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.pixels, rle);  // no size declared: the whole handle
    EXPECT_EQ(p.info.header.size_image, rle.size());
}
