// What the image plug-in refuses before decoding: the counted inflate of compressed chunks,
// JPEG scans, PNG text and profile chunks, and declared sizes beyond the budget, each at its
// boundary.
#include <gtest/gtest.h>

#include <vector>

#include "image/dib.h"
#include "image/zimage/inflate_count.h"
#include "image/zimage/picture_cost.h"
#include "image/zimage/picture_input.h"
#include "image/zimage/spi_codes.h"
#include "tests/host/picture_files.h"

namespace {

using picture_test::Bytes;

// 40 lines of text, zlib level 9 (dynamic codes): 903 bytes inflated.
const Bytes kDynamic = {
    0x78,0xda,0x55,0xd2,0xc1,0x69,0x43,0x41,0x0c,0x84,0xe1,0xbb,0xab,0x70,0x09,0x6f,0xa4,0xd5,0x4a,0xea,
    0xc3,0x0d,0xe4,0xe0,0x83,0xc1,0x24,0xc6,0x81,0xd4,0x9f,0xc0,0xce,0x23,0x3b,0x27,0xc1,0x7f,0x10,0x7c,
    0x48,0xb7,0x8f,0x9f,0xfb,0xf3,0xfb,0xf5,0xf5,0xbe,0x5f,0x8f,0xeb,0xf3,0xf1,0xf9,0x37,0x2e,0xb7,0xff,
    0xd6,0xe8,0x55,0xb1,0xd7,0xf2,0x5a,0xd5,0xf6,0x9a,0x91,0xab,0xfa,0x5e,0x67,0xce,0x55,0xc7,0x5e,0xa3,
    0x63,0xd5,0x90,0x8a,0xb1,0xea,0xdc,0xeb,0x70,0x5f,0x35,0xf7,0xea,0x61,0xab,0xd6,0x5e,0x2d,0xb1,0x6a,
    0xef,0x15,0x4d,0x1b,0x04,0x87,0xe3,0xc4,0x89,0xce,0x88,0x83,0xe8,0x7a,0x50,0x07,0xe1,0xd5,0x24,0x0f,
    0xe2,0xcb,0xa2,0x0f,0x02,0xcc,0x83,0x40,0x88,0x70,0x1a,0x85,0x10,0x62,0x0c,0x12,0x21,0xc6,0x31,0x69,
    0x84,0x20,0xbd,0x88,0x34,0x41,0x5a,0x13,0x69,0x8a,0xc4,0x79,0x42,0x51,0xc2,0xa9,0x34,0x51,0x06,0x91,
    0x26,0xc8,0x4e,0x22,0x4d,0x90,0xd5,0x44,0x9a,0x20,0x0b,0x44,0x9a,0x20,0xd3,0x89,0x34,0x41,0xce,0x20,
    0xd2,0x04,0x19,0x49,0xa4,0x0b,0x72,0x14,0x91,0x2e,0xc8,0x71,0x10,0xe9,0x82,0x74,0x3b,0x1f,0x55,0x90,
    0x36,0xa8,0x74,0x51,0x62,0x52,0xe9,0xaa,0x24,0xd2,0x05,0x49,0xa2,0x0b,0xb1,0x8d,0x44,0x2f,0xdd,0x40,
    0xa2,0xf7,0xe5,0x17,0x08,0x48,0x1d,0xfd};

Bytes text_chunk(const char* keyword, const Bytes& stream) {
    Bytes b(keyword, keyword + std::char_traits<char>::length(keyword));
    b.push_back(0);
    b.push_back(0);  // deflate
    b.insert(b.end(), stream.begin(), stream.end());
    return b;
}

Bytes itxt_chunk(bool compressed, const Bytes& text) {
    Bytes b = {'X', 'M', 'L', 0, static_cast<uint8_t>(compressed), 0, 'j', 'a', 0, 0};
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

Bytes png_with(std::vector<std::pair<std::string, Bytes>> chunks) {
    picture_test::PngSpec s;
    s.width = s.height = 2;
    s.samples = [](uint32_t x, uint32_t y) { return std::vector<uint32_t>{x * 100, y * 100, 50}; };
    s.chunks = std::move(chunks);
    return picture_test::png_file(s);
}

int check(const Bytes& file, PictureScan* scan = nullptr) {
    PictureFormat f;
    PictureRows rows;
    PictureScan local;
    return check_picture_input(file.data(), file.size(), &f, &rows, scan ? scan : &local);
}

}  // namespace

TEST(InflatedSize, CountsEveryBlockKindAndStopsPastTheLimit) {
    Bytes cut = picture_test::zlib_runs('a', 1000);
    cut.resize(cut.size() / 2);
    Bytes far = {0x78, 0x01, 0x03, 0x00};  // fixed codes: at once a match at distance 1, with nothing before it
    far = {0x78, 0x01, 0x1b, 0x05, 0x00};
    struct { const char* what; Bytes z; uint64_t limit; uint64_t want; } cases[] = {
        {"stored", picture_test::zlib_stored(Bytes(70000, 7)), 1u << 20, 70000},
        {"fixed codes", picture_test::zlib_runs('a', 1000), 1u << 20, 258001},
        {"fixed codes, a literal of 9 bits", picture_test::zlib_runs(200, 3), 1u << 20, 775},
        {"dynamic codes", kDynamic, 1u << 20, 903},
        {"stopped past the limit", picture_test::zlib_runs(0, 100000), 1000, 1033},
        {"no header", Bytes{0x78}, 1u << 20, 0},
        {"not deflate", Bytes{0x79, 0x9C, 0, 0}, 1u << 20, 0},
        {"preset dictionary", Bytes{0x78, 0xBB, 0, 0, 0, 0}, 1u << 20, 0},
        {"match before any byte", far, 1u << 20, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(zlib_inflated_size(c.z.data(), c.z.size(), c.limit), c.want) << c.what;
    const uint64_t part = zlib_inflated_size(cut.data(), cut.size(), 1u << 20);
    EXPECT_GT(part, 1000u) << "a cut stream counts up to the cut";
    EXPECT_LT(part, 258001u);
}

TEST(PictureAffordable, EachLimitAtItsBoundary) {
    auto scan = [] {
        PictureScan s{};
        s.width = 4096;
        s.height = 4096;
        s.decode_pixels = 4096u * 4096u;
        s.scans = 1;
        return s;
    };
    struct { const char* what; void (*change)(PictureScan&); uint64_t input; bool ok; } cases[] = {
        {"plain", [](PictureScan&) {}, 1000, true},
        {"8192 x 8192 pixels", [](PictureScan& s) { s.width = s.height = 8192; }, 0, true},
        {"one row more", [](PictureScan& s) { s.width = 8192; s.height = 8193; }, 0, false},
        {"frames decoded at the limit", [](PictureScan& s) { s.decode_pixels = kMaxDecodePixels; }, 0, true},
        {"one pixel over", [](PictureScan& s) { s.decode_pixels = kMaxDecodePixels + 1; }, 0, false},
        {"256 scans", [](PictureScan& s) { s.scans = 256; }, 0, true},
        {"257 scans", [](PictureScan& s) { s.scans = 257; }, 0, false},
        {"scans x pixels over", [](PictureScan& s) { s.width = s.height = 8192; s.scans = 65; }, 0, false},
        {"32 chunks", [](PictureScan& s) { s.compressed_chunks = 32; }, 0, true},
        {"33 chunks", [](PictureScan& s) { s.compressed_chunks = 33; }, 0, false},
        {"chunk of 1 MiB", [](PictureScan& s) { s.largest_compressed = 1u << 20; }, 0, true},
        {"chunk over 1 MiB", [](PictureScan& s) { s.largest_compressed = (1u << 20) + 1; }, 0, false},
        {"inflating to 8 MiB", [](PictureScan& s) { s.largest_inflated = s.inflated_total = 8u << 20; }, 0, true},
        {"inflating past 8 MiB", [](PictureScan& s) { s.largest_inflated = s.inflated_total = (8u << 20) + 1; }, 0, false},
        {"all inflating past 16 MiB", [](PictureScan& s) { s.inflated_total = (16u << 20) + 1; }, 0, false},
        {"budget met", [](PictureScan& s) { s.decoder_bytes = kDecodeBudgetBytes - 1000; }, 1000, true},
        {"budget passed", [](PictureScan& s) { s.decoder_bytes = kDecodeBudgetBytes - 999; }, 1000, false},
        {"inflated text counts", [](PictureScan& s) { s.decoder_bytes = kDecodeBudgetBytes - 1000; s.inflated_total = 1; }, 1000, false},
        {"decoder bytes saturated", [](PictureScan& s) { s.decoder_bytes = UINT64_MAX; }, 0, false},
        {"TIFF piece of 32 MiB", [](PictureScan& s) { s.piece_bytes = 32u << 20; }, 0, true},
        {"TIFF piece over 32 MiB", [](PictureScan& s) { s.piece_bytes = (32u << 20) + 1; }, 0, false},
    };
    for (const auto& c : cases) {
        PictureScan s = scan();
        c.change(s);
        EXPECT_EQ(picture_affordable(s, c.input), c.ok) << c.what;
    }
}

TEST(CheckPictureInput, RefusesJpegScansBeyondTheLimit) {
    // A progressive file has a DC scan and three AC scans; each repeat adds three.
    struct { uint32_t repeat; uint32_t scans; int result; } cases[] = {
        {0, 4, kSpiOk}, {85, 259, kSpiNoMemory}, {84, 256, kSpiOk}, {999, 3001, kSpiNoMemory},
    };
    for (const auto& c : cases) {
        picture_test::JpegSpec j;
        j.width = j.height = 16;
        j.progressive = true;
        j.repeat_ac = c.repeat;
        j.rgb = [](uint32_t x, uint32_t) { return x * 0x0F0F0Fu; };
        PictureScan scan{};
        EXPECT_EQ(check(picture_test::jpeg_file(j), &scan), c.result) << c.scans;
        EXPECT_EQ(scan.scans, c.scans);
    }
}

TEST(CheckPictureInput, RefusesPngTextAndProfileBombs) {
    const Bytes small = picture_test::zlib_runs('x', 10);
    const Bytes eight_mib = picture_test::zlib_runs('x', (8u << 20) / 258);       // 1 + 32513 x 258, just under
    const Bytes past = picture_test::zlib_runs('x', (8u << 20) / 258 + 1);        // just over
    const Bytes six_mib = picture_test::zlib_runs('x', (6u << 20) / 258);
    std::vector<std::pair<std::string, Bytes>> many;
    for (int i = 0; i < 33; ++i) many.push_back({"zTXt", text_chunk("Comment", small)});
    std::vector<std::pair<std::string, Bytes>> most(many.begin(), many.begin() + 32);
    struct { const char* what; std::vector<std::pair<std::string, Bytes>> chunks; int result; uint32_t counted; } cases[] = {
        {"a small comment", {{"zTXt", text_chunk("Comment", small)}}, kSpiOk, 1},
        {"text inflating to 8 MiB", {{"zTXt", text_chunk("Comment", eight_mib)}}, kSpiOk, 1},
        {"text inflating past 8 MiB", {{"zTXt", text_chunk("Comment", past)}}, kSpiNoMemory, 1},
        {"profile inflating past 8 MiB", {{"iCCP", text_chunk("sRGB", past)}}, kSpiNoMemory, 1},
        {"compressed international text", {{"iTXt", itxt_chunk(true, past)}}, kSpiNoMemory, 1},
        {"plain international text", {{"iTXt", itxt_chunk(false, past)}}, kSpiOk, 0},
        {"three of 6 MiB", {{"zTXt", text_chunk("a", six_mib)}, {"zTXt", text_chunk("b", six_mib)},
                            {"iCCP", text_chunk("c", six_mib)}}, kSpiNoMemory, 3},
        {"32 comments", most, kSpiOk, 32},
        {"33 comments", many, kSpiNoMemory, 33},
        {"a compressed chunk over 1 MiB", {{"zTXt", text_chunk("Comment", picture_test::zlib_stored(Bytes((1u << 20) + 10, 1)))}},
         kSpiNoMemory, 1},
    };
    for (const auto& c : cases) {
        PictureScan scan{};
        EXPECT_EQ(check(png_with(c.chunks), &scan), c.result) << c.what;
        EXPECT_EQ(scan.compressed_chunks, c.counted) << c.what;
    }
}

TEST(CheckPictureInput, RefusesDeclaredSizesBeyondTheBudget) {
    // Small pictures whose headers declare the size: the walk reads no further than them.
    auto jpeg = [](uint16_t w, uint16_t h, bool progressive) {
        picture_test::JpegSpec j;
        j.width = j.height = 16;
        j.progressive = progressive;
        j.rgb = [](uint32_t, uint32_t) { return 0x808080u; };
        Bytes b = picture_test::jpeg_file(j);
        for (size_t i = 2; i + 9 < b.size(); ++i)
            if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
                b[i + 5] = static_cast<uint8_t>(h >> 8);
                b[i + 6] = static_cast<uint8_t>(h);
                b[i + 7] = static_cast<uint8_t>(w >> 8);
                b[i + 8] = static_cast<uint8_t>(w);
                break;
            }
        return b;
    };
    auto gif = [](uint16_t w, uint16_t h, int frames) {
        picture_test::GifSpec g;
        g.palette = {0, 0, 0, 255, 255, 255};
        g.index = [](uint32_t, uint32_t) { return uint8_t{0}; };
        Bytes one = picture_test::gif_file(g);
        one.pop_back();  // the trailer
        const size_t image = 13 + 6;  // after the header and two colours
        for (size_t at : {size_t{6}, image + 5}) {
            one[at] = static_cast<uint8_t>(w);
            one[at + 1] = static_cast<uint8_t>(w >> 8);
            one[at + 2] = static_cast<uint8_t>(h);
            one[at + 3] = static_cast<uint8_t>(h >> 8);
        }
        const Bytes frame(one.begin() + image, one.end());
        for (int i = 1; i < frames; ++i) one.insert(one.end(), frame.begin(), frame.end());
        one.push_back(0x3B);
        return one;
    };
    auto tiff = [](uint32_t w, uint32_t h, uint32_t strip_rows) {
        picture_test::TiffSpec t;
        t.rgb = [](uint32_t, uint32_t) { return 0u; };
        Bytes b = picture_test::tiff_file(t);  // 1 x 1; entries of 12 bytes from offset 10
        for (auto [entry, value] : {std::pair<size_t, uint32_t>{0, w}, {1, h}, {7, strip_rows}})
            for (int k = 0; k < 4; ++k) b[10 + 12 * entry + 8 + k] = static_cast<uint8_t>(value >> (8 * k));
        return b;
    };
    struct { const char* what; Bytes file; int result; } cases[] = {
        {"TIFF of 4000 x 3000 in strips of 2000 rows", tiff(4000, 3000, 2000), kSpiOk},
        {"TIFF of 4000 x 3000 in one strip", tiff(4000, 3000, 3000), kSpiNoMemory},
        {"PNG of 8192 x 8192, one bit a pixel", picture_test::black_png(8192, 8192), kSpiOk},
        {"PNG of 8192 x 8193", picture_test::black_png(8192, 8193), kSpiNoMemory},
        {"baseline JPEG of 8192 x 8192", jpeg(8192, 8192, false), kSpiOk},
        {"progressive JPEG of 8192 x 8192: coefficients too", jpeg(8192, 8192, true), kSpiNoMemory},
        {"progressive JPEG of 6000 x 6000", jpeg(6000, 6000, true), kSpiOk},
        {"GIF of 4000 x 4000, 4 frames", gif(4000, 4000, 4), kSpiOk},
        {"GIF of 4000 x 4000, 5 frames", gif(4000, 4000, 5), kSpiNoMemory},
        {"GIF of 65535 x 65535", gif(65535, 65535, 1), kSpiNoMemory},
    };
    for (const auto& c : cases) EXPECT_EQ(check(c.file), c.result) << c.what;
}
