// The image plug-in's core: recognising a format by its first bytes, walking a file's
// structure to refuse truncated and broken files, the size limits, strips and blending, the
// info texts (read back by the host's own reader) and reading the input from its offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/plugin_table.h"
#include "image/zimage/picture_input.h"
#include "image/zimage/picture_rows.h"
#include "image/zimage/picture_scan.h"
#include "image/zimage/plugin_info.h"
#include "image/zimage/spi_codes.h"
#include "picture_files.h"
#include "resources/version.h"

namespace {

using picture_test::Bytes;

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Small files of every kind the plug-in reads, as the tests' writers make them.
Bytes small_png(bool interlaced = false) {
    picture_test::PngSpec s;
    s.width = 5;
    s.height = 3;
    s.interlaced = interlaced;
    s.samples = [](uint32_t x, uint32_t y) { return std::vector<uint32_t>{x * 40, y * 80, 7}; };
    return picture_test::png_file(s);
}
Bytes small_gif() {
    picture_test::GifSpec s;
    s.width = 6;
    s.height = 2;
    s.palette = {255, 0, 0, 0, 0, 255};
    s.transparent = 1;
    s.index = [](uint32_t x, uint32_t) { return static_cast<uint8_t>(x & 1); };
    return picture_test::gif_file(s);
}
Bytes small_tiff(bool big_endian = false) {
    picture_test::TiffSpec s;
    s.width = 4;
    s.height = 3;
    s.big_endian = big_endian;
    s.rgb = [](uint32_t x, uint32_t y) { return x * 0x100000u + y; };
    return picture_test::tiff_file(s);
}
Bytes small_jpeg(bool progressive) {
    picture_test::JpegSpec s;
    s.width = 20;
    s.height = 9;
    s.progressive = progressive;
    s.rgb = [](uint32_t x, uint32_t) { return x < 8 ? 0xFF0000u : 0x0000FFu; };
    return picture_test::jpeg_file(s);
}

struct Scanned {
    bool ok;
    uint32_t width, height;
};
Scanned scan(PictureFormat f, const Bytes& b) {
    // An exact copy on the heap, so a read past its end is caught.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[b.size() ? b.size() : 1]);
    if (!b.empty()) std::memcpy(copy.get(), b.data(), b.size());
    PictureScan s{0, 0};
    const bool ok = scan_picture(f, copy.get(), b.size(), &s);
    return {ok, s.width, s.height};
}

PictureFormat sniff(const Bytes& b) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[b.size() ? b.size() : 1]);
    if (!b.empty()) std::memcpy(copy.get(), b.data(), b.size());
    return sniff_picture_format(copy.get(), b.size());
}

}  // namespace

TEST(SniffPictureFormat, FirstBytesDecide) {
    struct Case {
        const char* what;
        Bytes head;
        PictureFormat format;
    };
    const Case cases[] = {
        {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}, PictureFormat::kPng},
        {"PNG, signature only", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, PictureFormat::kPng},
        {"PNG with its line ends changed", {0x89, 'P', 'N', 'G', '\n', '\n', 0x1A, '\n'}, PictureFormat::kNone},
        {"PNG cut", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A}, PictureFormat::kNone},
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0}, PictureFormat::kJpeg},
        {"JPEG, three bytes", {0xFF, 0xD8, 0xFF}, PictureFormat::kJpeg},
        {"JPEG start without a marker", {0xFF, 0xD8, 0x00}, PictureFormat::kNone},
        {"GIF87a", bytes("GIF87a\1\0"), PictureFormat::kGif},
        {"GIF89a", bytes("GIF89a"), PictureFormat::kGif},
        {"GIF of an unknown version", bytes("GIF90a"), PictureFormat::kNone},
        {"TIFF, little-endian", {'I', 'I', 42, 0}, PictureFormat::kTiff},
        {"TIFF, big-endian", {'M', 'M', 0, 42}, PictureFormat::kTiff},
        {"TIFF with the other order's number", {'I', 'I', 0, 42}, PictureFormat::kNone},
        {"BigTIFF", {'I', 'I', 43, 0}, PictureFormat::kNone},
        {"bitmap", bytes("BM6\0\0\0"), PictureFormat::kNone},
        {"nothing", {}, PictureFormat::kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(sniff(c.head), c.format) << c.what;
    EXPECT_EQ(sniff_picture_format(nullptr, 8), PictureFormat::kNone);
}

TEST(ScanPicture, WholeFilesGiveTheirSize) {
    struct Case {
        const char* what;
        PictureFormat format;
        Bytes file;
        uint32_t width, height;
    };
    const Case cases[] = {
        {"PNG", PictureFormat::kPng, small_png(), 5, 3},
        {"interlaced PNG", PictureFormat::kPng, small_png(true), 5, 3},
        {"GIF", PictureFormat::kGif, small_gif(), 6, 2},
        {"TIFF", PictureFormat::kTiff, small_tiff(), 4, 3},
        {"big-endian TIFF", PictureFormat::kTiff, small_tiff(true), 4, 3},
        {"baseline JPEG", PictureFormat::kJpeg, small_jpeg(false), 20, 9},
        {"progressive JPEG", PictureFormat::kJpeg, small_jpeg(true), 20, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sniff(c.file), c.format) << c.what;
        const Scanned s = scan(c.format, c.file);
        EXPECT_TRUE(s.ok) << c.what;
        EXPECT_EQ(s.width, c.width) << c.what;
        EXPECT_EQ(s.height, c.height) << c.what;
        EXPECT_FALSE(scan(c.format == PictureFormat::kPng ? PictureFormat::kGif : PictureFormat::kPng, c.file).ok)
            << c.what << " read as another format";
        // Bytes after the picture are no harm.
        Bytes longer = c.file;
        longer.insert(longer.end(), 100, 0xFF);
        EXPECT_TRUE(scan(c.format, longer).ok) << c.what << " with trailing bytes";
    }
}

TEST(ScanPicture, EveryTruncationIsRefused) {
    struct Case {
        const char* what;
        PictureFormat format;
        Bytes file;
        size_t whole;  // bytes from which on the picture is complete
    };
    const Bytes gif = small_gif();
    const Case cases[] = {
        {"PNG", PictureFormat::kPng, small_png(), 0},
        {"GIF (the trailer is not needed)", PictureFormat::kGif, gif, gif.size() - 1},
        {"TIFF", PictureFormat::kTiff, small_tiff(), 0},
        {"big-endian TIFF", PictureFormat::kTiff, small_tiff(true), 0},
        {"baseline JPEG", PictureFormat::kJpeg, small_jpeg(false), 0},
        {"progressive JPEG", PictureFormat::kJpeg, small_jpeg(true), 0},
    };
    for (const Case& c : cases) {
        const size_t whole = c.whole ? c.whole : c.file.size();
        for (size_t n = 0; n < c.file.size(); ++n)
            EXPECT_EQ(scan(c.format, Bytes(c.file.begin(), c.file.begin() + static_cast<long>(n))).ok, n >= whole)
                << c.what << " cut to " << n << " of " << c.file.size();
    }
}

namespace {

// The file with bytes at pos replaced.
Bytes patched(Bytes b, size_t pos, const Bytes& with) {
    std::copy(with.begin(), with.end(), b.begin() + static_cast<long>(pos));
    return b;
}
// The file with bytes inserted at pos.
Bytes inserted(Bytes b, size_t pos, const Bytes& what) {
    b.insert(b.begin() + static_cast<long>(pos), what.begin(), what.end());
    return b;
}
size_t find(const Bytes& b, const Bytes& what) {
    return static_cast<size_t>(std::search(b.begin(), b.end(), what.begin(), what.end()) - b.begin());
}

}  // namespace

TEST(ScanPicture, BrokenStructuresAreRefused) {
    const Bytes png = small_png(), gif = small_gif(), tiff = small_tiff(), jpeg = small_jpeg(false);
    const size_t idat = find(png, bytes("IDAT")) - 4, sof = find(jpeg, {0xFF, 0xC0}), sos = find(jpeg, {0xFF, 0xDA});
    const size_t image = find(gif, {0x2C, 0, 0, 0, 0});
    picture_test::PngSpec empty_png;
    empty_png.samples = [](uint32_t, uint32_t) { return std::vector<uint32_t>{0, 0, 0}; };
    Bytes no_idat = picture_test::png_file(empty_png);
    const size_t at = find(no_idat, bytes("IDAT")) - 4;
    no_idat.erase(no_idat.begin() + static_cast<long>(at), no_idat.begin() + static_cast<long>(at + 12 + no_idat[at + 3]));

    struct Case {
        const char* what;
        PictureFormat format;
        Bytes file;
        bool ok;
    };
    const Case cases[] = {
        {"PNG: width 0", PictureFormat::kPng, patched(png, 16, {0, 0, 0, 0}), false},
        {"PNG: height 0", PictureFormat::kPng, patched(png, 20, {0, 0, 0, 0}), false},
        {"PNG: IHDR not first", PictureFormat::kPng, patched(png, 12, bytes("IHDX")), false},
        {"PNG: IHDR of 14 bytes", PictureFormat::kPng, patched(png, 8, {0, 0, 0, 14}), false},
        {"PNG: a chunk type that is no name", PictureFormat::kPng, patched(png, idat + 4, {'I', 'D', '1', 'T'}), false},
        {"PNG: a chunk length of 2^31", PictureFormat::kPng, patched(png, idat, {0x80, 0, 0, 0}), false},
        {"PNG: a chunk length past the end", PictureFormat::kPng, patched(png, idat, {0x7F, 0xFF, 0xFF, 0xF0}), false},
        {"PNG: no image data", PictureFormat::kPng, no_idat, false},
        {"PNG: an unknown chunk is passed over", PictureFormat::kPng,
         inserted(png, idat, {0, 0, 0, 2, 'z', 'Z', 't', 'T', 1, 2, 0, 0, 0, 0}), true},
        {"JPEG: height 0 (set by a later marker)", PictureFormat::kJpeg, patched(jpeg, sof + 5, {0, 0}), false},
        {"JPEG: width 0", PictureFormat::kJpeg, patched(jpeg, sof + 7, {0, 0}), false},
        {"JPEG: a scan before the frame", PictureFormat::kJpeg, patched(jpeg, sof + 1, {0xC4}), false},
        {"JPEG: a second frame header", PictureFormat::kJpeg, patched(jpeg, sos + 1, {0xC0}), false},
        {"JPEG: a segment length of 1", PictureFormat::kJpeg, patched(jpeg, sof + 2, {0, 1}), false},
        {"JPEG: a segment past the end", PictureFormat::kJpeg, patched(jpeg, sof + 2, {0xFF, 0xF0}), false},
        {"JPEG: a second start", PictureFormat::kJpeg, inserted(jpeg, 2, {0xFF, 0xD8}), false},
        {"JPEG: fill bytes and a restart marker between segments", PictureFormat::kJpeg,
         inserted(jpeg, sof, {0xFF, 0xFF, 0xD0}), true},
        {"JPEG: a comment", PictureFormat::kJpeg, inserted(jpeg, 2, {0xFF, 0xFE, 0, 5, 'a', 'b', 'c'}), true},
        {"GIF: trailer before any image", PictureFormat::kGif, patched(gif, image, {0x3B}), false},
        {"GIF: an unknown block", PictureFormat::kGif, patched(gif, image, {0x2B}), false},
        {"GIF: image width 0", PictureFormat::kGif, patched(gif, image + 5, {0, 0}), false},
        {"GIF: LZW code size 0", PictureFormat::kGif, patched(gif, image + 10, {0}), false},
        {"GIF: LZW code size 12", PictureFormat::kGif, patched(gif, image + 10, {12}), false},
        {"GIF: colour table past the end", PictureFormat::kGif, Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0, 0x2C}, false},
        {"GIF: an extension is passed over", PictureFormat::kGif, inserted(gif, image, {0x21, 0xFE, 2, 'h', 'i', 0}), true},
        {"TIFF: directory past the end", PictureFormat::kTiff, patched(tiff, 4, {0xF0, 0, 0, 0}), false},
        {"TIFF: directory entries past the end", PictureFormat::kTiff, patched(tiff, 8, {0xFF, 0}), false},
        {"TIFF: no width (tag renamed)", PictureFormat::kTiff, patched(tiff, 10, {0x01, 0x02}), false},
        {"TIFF: strip past the end", PictureFormat::kTiff, patched(tiff, 10 + 5 * 12 + 8, {0xF0, 0, 0, 0}), false},
        {"TIFF: strip of 0 bytes", PictureFormat::kTiff, patched(tiff, 10 + 8 * 12 + 8, {0, 0, 0, 0}), false},
        {"TIFF: offsets of a type that is no number", PictureFormat::kTiff, patched(tiff, 10 + 5 * 12 + 2, {2, 0}), false},
        {"TIFF: the strip as a tile", PictureFormat::kTiff,
         patched(patched(tiff, 10 + 5 * 12, {0x44, 0x01}), 10 + 8 * 12, {0x45, 0x01}), true},
        {"TIFF: tiles without their byte counts", PictureFormat::kTiff, patched(tiff, 10 + 5 * 12, {0x44, 0x01}), false},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.format, c.file).ok, c.ok) << c.what;
}

TEST(ScanPicture, TiffStripsAreEachChecked) {
    // Three strips of one row, offsets and counts as LONG arrays outside the entries.
    Bytes t = small_tiff();
    const uint32_t pixels = 152, row = 12;
    const uint32_t arrays = static_cast<uint32_t>(t.size());
    for (uint32_t i = 0; i < 3; ++i) picture_test::put_le32(t, pixels + i * row);
    for (uint32_t i = 0; i < 3; ++i) picture_test::put_le32(t, row);
    auto entry_value = [](uint32_t count, uint32_t offset) {
        Bytes v;
        picture_test::put_le32(v, count);
        picture_test::put_le32(v, offset);
        return v;
    };
    Bytes strips = patched(patched(t, 10 + 5 * 12 + 4, entry_value(3, arrays)), 10 + 8 * 12 + 4, entry_value(3, arrays + 12));
    EXPECT_TRUE(scan(PictureFormat::kTiff, strips).ok);
    Bytes last_past_end = strips;
    last_past_end[arrays + 12 + 8] = 0xFF;
    EXPECT_FALSE(scan(PictureFormat::kTiff, last_past_end).ok);
    Bytes counts_differ = patched(strips, 10 + 8 * 12 + 4, entry_value(2, arrays + 12));
    EXPECT_FALSE(scan(PictureFormat::kTiff, counts_differ).ok);
    Bytes array_past_end = patched(strips, 10 + 5 * 12 + 4, entry_value(3, arrays + 30));
    EXPECT_FALSE(scan(PictureFormat::kTiff, array_past_end).ok);
}

TEST(PlanPictureRows, SidesAndBytesAreLimited) {
    struct Case {
        uint32_t w, h;
        bool ok;
        uint64_t stride, bytes;
    };
    const Case cases[] = {
        {1, 1, true, 4, 4},
        {5, 3, true, 16, 48},
        {4, 2, true, 12, 24},
        {0, 10, false, 0, 0},
        {10, 0, false, 0, 0},
        {16384, 1, true, 49152, 49152},
        {16385, 1, false, 0, 0},
        {1, 16385, false, 0, 0},
        {1, 16384, true, 4, 65536},
        {16384, 5461, true, 49152, 49152ull * 5461},  // just within 256 MiB
        {16384, 5462, false, 0, 0},                   // just above
        {16384, 16384, false, 0, 0},
        {0xFFFFFFFFu, 0xFFFFFFFFu, false, 0, 0},
    };
    for (const Case& c : cases) {
        PictureRows r{0, 0, 0, 0};
        EXPECT_EQ(plan_picture_rows(c.w, c.h, &r), c.ok) << c.w << " x " << c.h;
        if (!c.ok) continue;
        EXPECT_EQ(r.stride, c.stride) << c.w << " x " << c.h;
        EXPECT_EQ(r.bytes, c.bytes) << c.w << " x " << c.h;
        EXPECT_EQ(bottom_up_offset(r, 0), c.bytes - c.stride) << "the top row is the last";
        EXPECT_EQ(bottom_up_offset(r, c.h - 1), 0u) << "the bottom row is the first";
    }
}

TEST(StripRows, StripsStayWithinTheBudget) {
    struct Case {
        uint32_t w, h;
        size_t budget;
        uint32_t rows;
    };
    const Case cases[] = {
        {100, 1000, 4000, 10},
        {100, 1000, 4399, 10},
        {100, 5, 1u << 20, 5},        // the whole picture in one
        {16384, 1000, 1u << 20, 16},
        {16384, 1000, 100, 1},        // a row more than the budget: one row anyway
        {1, 1, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(strip_rows(c.w, c.h, c.budget), c.rows) << c.w << " " << c.budget;
}

TEST(BlendRow, TransparencyShowsTheBackground) {
    struct Case {
        const char* what;
        Bytes pbgra;
        Bgr background;
        Bytes bgr;
    };
    const Case cases[] = {
        {"opaque", {10, 20, 30, 255}, {200, 100, 50}, {10, 20, 30}},
        {"transparent", {0, 0, 0, 0}, {200, 100, 50}, {200, 100, 50}},
        {"half", {0, 0, 128, 128}, {255, 255, 255}, {127, 127, 255}},
        {"a quarter of blue over black", {64, 0, 0, 64}, {0, 0, 0}, {64, 0, 0}},
        {"light over white stays at most 255", {250, 250, 250, 10}, {255, 255, 255}, {255, 255, 255}},
        {"two pixels", {255, 0, 0, 255, 0, 0, 0, 0}, {1, 2, 3}, {255, 0, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        Bytes out(c.bgr.size() + 1, 0xEE);
        blend_row(c.pbgra.data(), static_cast<uint32_t>(c.pbgra.size() / 4), c.background, out.data());
        EXPECT_EQ(Bytes(out.begin(), out.end() - 1), c.bgr) << c.what;
        EXPECT_EQ(out.back(), 0xEE) << c.what << ": nothing written after the row";
    }
}

TEST(ZimagePluginInfo, TextsAndCuts) {
    struct Case {
        int number, length;
        std::string text;
    };
    const Case cases[] = {
        {0, 100, "00IN"},
        {2, 20, "*.PNG"},
        {3, 60, "PNG 画像"},
        {4, 20, "*.JPG;*.JPEG;*.JPE"},
        {5, 60, "JPEG 画像"},
        {6, 20, "*.GIF"},
        {7, 60, "GIF 画像"},
        {8, 20, "*.TIF;*.TIFF"},
        {9, 60, "TIFF 画像"},
        {10, 100, ""},
        {-1, 100, ""},
        {0, 4, "00I"},
        {4, 7, "*.JPG;"},
        {3, 6, "PNG "},  // 画 would need two more bytes than are left: not split
        {3, 7, "PNG 画"},
        {0, 1, ""},
        {0, 0, ""},
    };
    for (const Case& c : cases) {
        char buf[128];
        std::memset(buf, 'x', sizeof buf);
        const int n = zimage_plugin_info(c.number, buf, c.length);
        EXPECT_EQ(n, static_cast<int>(c.text.size())) << c.number << "/" << c.length;
        if (n > 0) {
            EXPECT_EQ(std::string(buf), c.text) << c.number << "/" << c.length;
        }
        EXPECT_EQ(buf[c.length > 0 ? c.length : 0], 'x') << "within length";
    }
    char description[100];
    ASSERT_GT(zimage_plugin_info(1, description, sizeof description), 0);
    EXPECT_EQ(std::string(description).find("ZIMAGE.SPI " ZELMAR_VERSION_TEXT " "), 0u) << description;
    EXPECT_EQ(zimage_plugin_info(1, nullptr, 100), 0);
}

TEST(ZimagePluginInfo, TheHostKeepsEveryFormat) {
    PluginEntry e{};
    ASSERT_TRUE(read_plugin_formats(zimage_plugin_info, &e));
    const std::vector<std::string> want = {"*.PNG;", "*.JPG;*.JPEG;*.JPE;", "*.GIF;", "*.TIF;*.TIFF;"};
    ASSERT_EQ(e.pattern_count, 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(e.patterns[k], want[k]);
    PluginTable table{};
    table.entries[0] = e;
    table.count = 1;
    for (const char* path : {"a.png", "b.JPG", "c.jpeg", "d.jpe", "e.gif", "f.tif", "g.TIFF"})
        EXPECT_TRUE(plugin_handles_extension(table, path)) << path;
    for (const char* path : {"h.jp", "i.bmp", "j.tiffs", "k.pn"})
        EXPECT_FALSE(plugin_handles_extension(table, path)) << path;
    char filter[kImageFilterSize];
    build_image_filter(table, filter, sizeof filter);
    EXPECT_STREQ(filter, "画像ファイル|*.bmp;*.rle;*.PNG;*.JPG;*.JPEG;*.JPE;*.GIF;*.TIF;*.TIFF|全てのファイル|*.*||");
}

namespace {

// A source that claims a size and gives fewer bytes than asked, or none at all.
class ShortSource : public ByteSource {
public:
    ShortSource(uint64_t size, size_t gives) : size_(size), gives_(gives) {}
    uint64_t size() const override { return size_; }
    size_t read_at(uint64_t offset, void* dst, size_t n) override {
        const size_t k = n < gives_ ? n : gives_;
        std::memset(dst, 'z', k);
        return offset < size_ ? k : 0;
    }

private:
    uint64_t size_;
    size_t gives_;
};

}  // namespace

TEST(ReadPictureInput, FromTheOffsetToTheEnd) {
    const std::string file = "0123456789";
    struct Case {
        int64_t offset;
        int result;
        std::string bytes;
    };
    const Case cases[] = {
        {0, kSpiOk, "0123456789"},
        {3, kSpiOk, "3456789"},
        {9, kSpiOk, "9"},
        {10, kSpiReadError, ""},
        {11, kSpiReadError, ""},
        {-1, kSpiReadError, ""},
    };
    for (const Case& c : cases) {
        MemorySource src(file.data(), file.size());
        PixelBlock b;
        EXPECT_EQ(read_picture_input(src, c.offset, &b), c.result) << c.offset;
        if (c.result == kSpiOk) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), b.size()), c.bytes);
        }
    }
    PixelBlock b;
    ShortSource huge(kMaxPictureInput + 129, 0);
    EXPECT_EQ(read_picture_input(huge, 128, &b), kSpiNoMemory) << "above the limit";
    ShortSource short_read(100, 40);
    EXPECT_EQ(read_picture_input(short_read, 0, &b), kSpiReadError) << "the file ends before its size";
    EXPECT_TRUE(b.empty());
}

TEST(CheckPictureInput, FormatStructureAndSize) {
    const Bytes png = small_png();
    struct Case {
        const char* what;
        Bytes file;
        int result;
        PictureFormat format;
    };
    const Case cases[] = {
        {"PNG", png, kSpiOk, PictureFormat::kPng},
        {"TIFF", small_tiff(), kSpiOk, PictureFormat::kTiff},
        {"cut PNG", Bytes(png.begin(), png.end() - 5), kSpiBrokenData, PictureFormat::kPng},
        {"not a picture", bytes("hello, world"), kSpiUnknownFormat, PictureFormat::kNone},
        {"20000 pixels wide", picture_test::black_png(20000, 1), kSpiNoMemory, PictureFormat::kPng},
    };
    for (const Case& c : cases) {
        PictureFormat f = PictureFormat::kNone;
        PictureRows rows{0, 0, 0, 0};
        EXPECT_EQ(check_picture_input(c.file.data(), c.file.size(), &f, &rows), c.result) << c.what;
        EXPECT_EQ(f, c.format) << c.what;
        if (c.result == kSpiOk) {
            EXPECT_GT(rows.bytes, 0u) << c.what;
        }
    }
}
