// ZIMAGE.SPI, the plug-in that comes with the program, loaded by the program's own host from
// a program directory: PNG (opaque, with alpha, palette, 16-bit interlaced), JPEG (baseline
// and progressive), GIF and TIFF made by the tests' writers decode to the expected pixels;
// files under a wrong extension are recognised by their first bytes; truncated, corrupt and
// oversized files are refused without handing out handles; COM is left as it was found.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "image/bitmap_decode.h"
#include "image/plugin_api_win.h"
#include "image/plugin_table.h"
#include "image/plugins_win.h"
#include "image/screen_size_win.h"
#include "tests/host/box_reference.h"
#include "tests/host/picture_files.h"
#include "tests/win/win_scratch.h"

namespace {

using picture_test::Bytes;
using picture_test::as_string;

constexpr uint32_t kRedRgb = 0xFF0000, kBlueRgb = 0x0000FF;

uint32_t rgb_of(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }
uint32_t window_rgb() { return rgb_of(GetSysColor(COLOR_WINDOW)); }

// c with alpha a (0..255) over the window colour, as premultiplied blending gives it.
uint32_t over_window(uint32_t c, int a) {
    const uint32_t w = window_rgb();
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int premultiplied = ((c >> shift & 0xFF) * a + 127) / 255;
        out |= uint32_t(premultiplied + ((w >> shift & 0xFF) * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool rgb_close(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

std::string rgb_hex(uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "%06X", v);
    return s;
}

// ---- the pictures

Bytes png_rgb() {  // 16 x 8: red on the left, a dark blue-green on the right
    picture_test::PngSpec s;
    s.width = 16;
    s.height = 8;
    s.samples = [](uint32_t x, uint32_t) {
        return x < 8 ? std::vector<uint32_t>{255, 0, 0} : std::vector<uint32_t>{0x20, 0x40, 0x60};
    };
    return picture_test::png_file(s);
}

Bytes png_alpha() {  // 3 x 2 RGBA: opaque red, transparent, half-transparent green; row 2 blue
    picture_test::PngSpec s;
    s.width = 3;
    s.height = 2;
    s.colour = 6;
    s.samples = [](uint32_t x, uint32_t y) {
        if (y == 1) return std::vector<uint32_t>{0, 0, 255, 255};
        if (x == 0) return std::vector<uint32_t>{255, 0, 0, 255};
        if (x == 1) return std::vector<uint32_t>{255, 255, 255, 0};
        return std::vector<uint32_t>{0, 255, 0, 128};
    };
    return picture_test::png_file(s);
}

// 1 bit a pixel, entry 0 opaque blue, entry 1 transparent; large enough to take several
// strips (and no larger than the tests' 1024 x 768 screen, which would reduce it), with a
// pattern that tells rows and columns apart.
uint32_t palette_index(uint32_t x, uint32_t y) { return ((x / 3) + (y / 100)) & 1; }
Bytes png_palette() {
    picture_test::PngSpec s;
    s.width = 1024;
    s.height = 768;
    s.colour = 3;
    s.depth = 1;
    s.palette = {0, 0, 255, 255, 255, 0};
    s.transparency = {255, 0};
    s.samples = [](uint32_t x, uint32_t y) { return std::vector<uint32_t>{palette_index(x, y)}; };
    return picture_test::png_file(s);
}

uint32_t ramp(uint32_t x, uint32_t y) { return ((x * 19) & 0xFF) << 16 | ((y * 23) & 0xFF) << 8 | ((x + y) * 7 & 0xFF); }
Bytes png_16bit_interlaced() {  // 13 x 11 (every pass partly filled), 16 bits a sample
    picture_test::PngSpec s;
    s.width = 13;
    s.height = 11;
    s.depth = 16;
    s.interlaced = true;
    s.samples = [](uint32_t x, uint32_t y) {
        const uint32_t c = ramp(x, y);
        return std::vector<uint32_t>{(c >> 16) * 257, (c >> 8 & 0xFF) * 257, (c & 0xFF) * 257};
    };
    return picture_test::png_file(s);
}

uint32_t halves(uint32_t x, uint32_t) { return x < 16 ? kRedRgb : kBlueRgb; }
Bytes jpeg(bool progressive) {  // 32 x 20: red on the left, blue on the right
    picture_test::JpegSpec s;
    s.width = 32;
    s.height = 20;
    s.progressive = progressive;
    s.rgb = halves;
    return picture_test::jpeg_file(s);
}

Bytes gif() {  // 10 x 6, four colours by column, the last one transparent
    picture_test::GifSpec s;
    s.width = 10;
    s.height = 6;
    s.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    s.transparent = 3;
    s.index = [](uint32_t x, uint32_t y) { return static_cast<uint8_t>(y == 5 ? 3 : (x / 3) % 3); };
    return picture_test::gif_file(s);
}

Bytes tiff(bool big_endian) {  // 7 x 5 of the ramp
    picture_test::TiffSpec s;
    s.width = 7;
    s.height = 5;
    s.big_endian = big_endian;
    s.rgb = ramp;
    return picture_test::tiff_file(s);
}

// ---- the fixture

struct Point {
    int x, y;
    uint32_t rgb;
};

struct Decoded {
    bool ok = false;
    ImageInfo info{};
    Bytes pixels;
    // 0xRRGGBB of (x, y) counted from the top left.
    uint32_t at(int x, int y) const {
        const DibHeader& h = info.header;
        const size_t stride = ((size_t(h.width) * 24 + 31) >> 3) & ~size_t{3};
        const uint8_t* p = &pixels[size_t(h.height - 1 - y) * stride + 3 * size_t(x)];
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
};

}  // namespace

// Outside the anonymous namespace: the test classes, declared outside it, derive from it.
class ZimagePlugin : public testing::Test {
protected:
    void SetUp() override {
        unload_image_plugins();
        dir_ = win_test::scratch_dir("zimage");
        ASSERT_TRUE(CopyFileA((win_test::exe_dir() + "ZIMAGE.SPI").c_str(), (dir_ + "ZIMAGE.SPI").c_str(), FALSE));
        ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
        module_ = static_cast<HMODULE>(plugin_table.entries[0].module);
        is_supported_ = reinterpret_cast<IsSupportedFn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "IsSupported")));
        get_picture_ = reinterpret_cast<GetPictureFn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "GetPicture")));
        ASSERT_NE(is_supported_, nullptr);
        ASSERT_NE(get_picture_, nullptr);
    }
    void TearDown() override {
        unload_image_plugins();
        win_test::remove_tree(dir_);
    }
    std::string put(const std::string& name, const Bytes& bytes) {
        win_test::put_file(dir_ + name, as_string(bytes));
        return dir_ + name;
    }
    // Through the program's loader, as a background image is read.
    Decoded load(const std::string& name, const Bytes& bytes) {
        const std::string path = put(name, bytes);
        PixelBlock block;
        Decoded d;
        d.ok = load_image_file(path.c_str(), ScreenSize{0, 0}, &block, &d.info);
        if (d.ok) d.pixels.assign(block.data(), block.data() + block.size());
        return d;
    }
    // GetPicture called directly; the handles must stay empty unless it succeeds.
    int picture(const std::string& path, LONG_PTR offset = 0, unsigned flag = 0, PluginProgressFn progress = nullptr,
                LONG_PTR data = 0) {
        HLOCAL info = nullptr, pixels = nullptr;
        const int r = get_picture_(path.c_str(), offset, flag, &info, &pixels, progress, data);
        if (r == 0) {
            EXPECT_NE(info, nullptr);
            EXPECT_NE(pixels, nullptr);
            EXPECT_EQ(LocalFlags(info) & LMEM_LOCKCOUNT, 0u) << "handed over unlocked";
            EXPECT_EQ(LocalFlags(pixels) & LMEM_LOCKCOUNT, 0u) << "handed over unlocked";
        } else {
            EXPECT_EQ(info, nullptr) << path;
            EXPECT_EQ(pixels, nullptr) << path;
        }
        if (info) LocalFree(info);
        if (pixels) LocalFree(pixels);
        return r;
    }
    int supported(const std::string& name, const Bytes& bytes) {
        std::vector<char> head(2048, 0);
        std::copy(bytes.begin(), bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), head.size())), head.begin());
        return is_supported_((dir_ + name).c_str(), head.data());
    }

    std::string dir_;
    HMODULE module_ = nullptr;
    IsSupportedFn is_supported_ = nullptr;
    GetPictureFn get_picture_ = nullptr;
};

namespace {

struct Sample {
    const char* name;
    std::function<Bytes()> make;
    int width, height;
    int tolerance;  // JPEG colours come back through YCbCr
    std::vector<Point> points;
};

std::vector<Sample> samples() {
    const uint32_t half_green = over_window(0x00FF00, 128);
    return {
        {"opaque.png", png_rgb, 16, 8, 0, {{0, 0, kRedRgb}, {7, 7, kRedRgb}, {8, 0, 0x204060}, {15, 7, 0x204060}}},
        {"alpha.png", png_alpha, 3, 2, 2, {{0, 0, kRedRgb}, {1, 0, window_rgb()}, {2, 0, half_green}, {1, 1, kBlueRgb}}},
        {"palette.png", png_palette, 1024, 768, 0,
         {{0, 0, kBlueRgb}, {3, 0, window_rgb()}, {0, 100, window_rgb()}, {1023, 767, palette_index(1023, 767) ? window_rgb() : kBlueRgb},
          {1000, 512, palette_index(1000, 512) ? window_rgb() : kBlueRgb}, {301, 299, palette_index(301, 299) ? window_rgb() : kBlueRgb}}},
        {"deep.png", png_16bit_interlaced, 13, 11, 0,
         {{0, 0, ramp(0, 0)}, {12, 10, ramp(12, 10)}, {5, 3, ramp(5, 3)}, {1, 1, ramp(1, 1)}, {8, 7, ramp(8, 7)}}},
        {"baseline.jpg", [] { return jpeg(false); }, 32, 20, 6, {{2, 2, kRedRgb}, {12, 17, kRedRgb}, {20, 3, kBlueRgb}, {31, 19, kBlueRgb}}},
        {"progressive.jpeg", [] { return jpeg(true); }, 32, 20, 6, {{2, 2, kRedRgb}, {12, 17, kRedRgb}, {20, 3, kBlueRgb}, {31, 19, kBlueRgb}}},
        {"picture.gif", gif, 10, 6, 0, {{0, 0, kRedRgb}, {3, 2, 0x00FF00}, {8, 4, kBlueRgb}, {9, 0, kRedRgb}, {4, 5, window_rgb()}}},
        {"picture.tif", [] { return tiff(false); }, 7, 5, 0, {{0, 0, ramp(0, 0)}, {6, 4, ramp(6, 4)}, {3, 1, ramp(3, 1)}}},
        {"motorola.tiff", [] { return tiff(true); }, 7, 5, 0, {{0, 0, ramp(0, 0)}, {6, 4, ramp(6, 4)}, {3, 1, ramp(3, 1)}}},
    };
}

void expect_picture(const Decoded& d, const Sample& s, const std::string& what) {
    ASSERT_TRUE(d.ok) << what;
    EXPECT_EQ(d.info.header.width, s.width) << what;
    EXPECT_EQ(d.info.header.height, s.height) << what;
    EXPECT_EQ(d.info.header.bit_count, 24) << what;
    for (const Point& p : s.points)
        EXPECT_TRUE(rgb_close(d.at(p.x, p.y), p.rgb, s.tolerance))
            << what << " at " << p.x << "," << p.y << ": " << rgb_hex(d.at(p.x, p.y)) << " not " << rgb_hex(p.rgb);
}

}  // namespace

TEST_F(ZimagePlugin, EachFormatDecodesToItsPixels) {
    for (const Sample& s : samples()) expect_picture(load(s.name, s.make()), s, s.name);
}

TEST_F(ZimagePlugin, PictureLargerThanTheScreenComesBackReduced) {
    // Opaque (read as it is) and with an alpha channel (converted and blended), twice the screen.
    const ScreenSize screen = largest_screen_size();
    ASSERT_GT(screen.width, 0u);
    const uint32_t w = 2 * screen.width + 1, h = 2 * screen.height + 3;
    const ReducedSize r = reduced_size(w, h, screen);
    const std::vector<uint8_t> want = box_test::box_reference(w, h, r.width, r.height, [](uint32_t x, uint32_t y) {
        static thread_local uint8_t bgr[3];
        const uint32_t c = ramp(x, y);
        bgr[0] = c & 0xFF;
        bgr[1] = c >> 8 & 0xFF;
        bgr[2] = c >> 16;
        return static_cast<const uint8_t*>(bgr);
    });
    for (int colour : {2, 6}) {
        picture_test::PngSpec s;
        s.width = w;
        s.height = h;
        s.colour = colour;
        s.samples = [colour](uint32_t x, uint32_t y) {
            const uint32_t c = ramp(x, y);
            std::vector<uint32_t> v = {c >> 16, c >> 8 & 0xFF, c & 0xFF};
            if (colour == 6) v.push_back(255);
            return v;
        };
        const Decoded d = load("big.png", picture_test::png_file(s));
        ASSERT_TRUE(d.ok) << colour;
        ASSERT_EQ(d.info.header.width, static_cast<int32_t>(r.width));
        ASSERT_EQ(d.info.header.height, static_cast<int32_t>(r.height));
        int wrong = 0;
        for (uint32_t y = 0; y < r.height; ++y)
            for (uint32_t x = 0; x < r.width; ++x) {
                const uint8_t* p = &want[3 * (size_t{y} * r.width + x)];
                wrong += d.at(int(x), int(y)) != (uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
            }
        EXPECT_EQ(wrong, 0) << "colour type " << colour;
    }
}

TEST_F(ZimagePlugin, TransparencyShowsTheWindowColour) {
    const COLORREF saved = GetSysColor(COLOR_WINDOW);
    const int element = COLOR_WINDOW;
    const COLORREF navy = RGB(0, 0, 128);
    ASSERT_TRUE(SetSysColors(1, &element, &navy));
    const Decoded d = load("alpha.png", png_alpha());
    const Decoded g = load("picture.gif", gif());
    SetSysColors(1, &element, &saved);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.at(1, 0), 0x000080u) << rgb_hex(d.at(1, 0));
    EXPECT_TRUE(rgb_close(d.at(2, 0), 0x008040, 2)) << rgb_hex(d.at(2, 0));
    EXPECT_EQ(d.at(0, 0), kRedRgb);
    ASSERT_TRUE(g.ok);
    EXPECT_EQ(g.at(4, 5), 0x000080u) << rgb_hex(g.at(4, 5));
}

TEST_F(ZimagePlugin, FirstBytesDecideNotTheName) {
    struct Case {
        const char* name;  // an extension the plug-in lists, of another format
        std::function<Bytes()> make;
        const char* like;  // the sample it decodes as
    };
    const Case cases[] = {
        {"photo.png", [] { return jpeg(true); }, "progressive.jpeg"},
        {"photo.gif", png_rgb, "opaque.png"},
        {"photo.jpe", gif, "picture.gif"},
        {"photo.TIF", png_alpha, "alpha.png"},
        {"photo.jpg", [] { return tiff(true); }, "motorola.tiff"},
    };
    const std::vector<Sample> all = samples();
    for (const Case& c : cases) {
        const Bytes bytes = c.make();
        EXPECT_NE(supported(c.name, bytes), 0) << c.name;
        for (const Sample& s : all)
            if (std::string(s.name) == c.like) expect_picture(load(c.name, bytes), s, c.name);
    }
    for (const std::string& other : {std::string("BM6\0\0\0", 6), std::string("hello"), std::string(16, '\0')})
        EXPECT_EQ(supported("other.png", Bytes(other.begin(), other.end())), 0) << other;
    EXPECT_FALSE(load("text.png", {'h', 'e', 'l', 'l', 'o'}).ok);
}

TEST_F(ZimagePlugin, IsSupportedReadsOnlyTheFirstBytes) {
    // The eight signature bytes at the very end of a readable page, an unreadable one after.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    auto* pages = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * si.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
    const Bytes png = png_rgb();
    uint8_t* head = pages + si.dwPageSize - 8;
    std::copy(png.begin(), png.begin() + 8, head);
    EXPECT_NE(is_supported_("a.png", head), 0);
    EXPECT_EQ(is_supported_("a.png", nullptr), 0);
    EXPECT_EQ(is_supported_("a.png", reinterpret_cast<void*>(static_cast<uintptr_t>(0x44))), 0) << "a handle, not a buffer";
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(ZimagePlugin, PictureBehindAPrefix) {
    Bytes file(128, 'M');
    const Bytes png = png_rgb();
    file.insert(file.end(), png.begin(), png.end());
    expect_picture(load("prefixed.png", file), samples()[0], "behind 128 bytes");
    EXPECT_EQ(picture(put("prefixed.png", file), 128), 0);
    EXPECT_NE(picture(put("prefixed.png", file), 0), 0);
    EXPECT_NE(picture(put("prefixed.png", file), 100000), 0) << "an offset past the end";
    EXPECT_NE(picture(put("prefixed.png", file), -1), 0);
}

TEST_F(ZimagePlugin, TruncatedAndCorruptFilesAreRefused) {
    for (const Sample& s : samples()) {
        const Bytes whole = s.make();
        for (size_t keep : {size_t{0}, size_t{12}, whole.size() / 2, whole.size() - 2}) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(keep));
            const std::string what = std::string(s.name) + " cut to " + std::to_string(keep);
            EXPECT_FALSE(load(s.name, cut).ok) << what;
            EXPECT_NE(picture(put(s.name, cut)), 0) << what;
        }
    }
    // The structure is whole, the compressed data is not: the decoder's own refusal.
    Bytes png = png_rgb();
    const size_t idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1) - png.begin();
    png[idat + 4 + 3] ^= 0xFF;  // the stored block's length no longer matches its complement
    EXPECT_NE(picture(put("corrupt.png", png)), 0);
    EXPECT_FALSE(load("corrupt.png", png).ok);
    EXPECT_EQ(picture(dir_ + "missing.png"), 6) << "the file cannot be read";
}

TEST_F(ZimagePlugin, OversizedPicturesAreRefused) {
    EXPECT_EQ(picture(put("wide.png", picture_test::black_png(16385, 2))), 4);
    EXPECT_EQ(picture(put("widest.png", picture_test::black_png(16384, 2))), 0) << "the longest side taken";
    EXPECT_EQ(picture(put("high.png", picture_test::black_png(2, 16385))), 4);
}

namespace {

struct Progress {
    int calls = 0;
    int last_done = 0, last_total = 0;
    int stop_at = 0;  // call number that asks to stop; 0: never
};

int WINAPI on_progress(int done, int total, LONG_PTR data) {
    auto* p = reinterpret_cast<Progress*>(data);
    ++p->calls;
    p->last_done = done;
    p->last_total = total;
    return p->calls == p->stop_at;
}

}  // namespace

TEST_F(ZimagePlugin, ProgressIsReportedAndCanStop) {
    const std::string path = put("palette.png", png_palette());
    Progress all;
    EXPECT_EQ(picture(path, 0, 0, on_progress, reinterpret_cast<LONG_PTR>(&all)), 0);
    EXPECT_GT(all.calls, 1) << "one call a strip";
    EXPECT_EQ(all.last_done, 768);
    EXPECT_EQ(all.last_total, 768);
    Progress stop;
    stop.stop_at = 2;
    EXPECT_EQ(picture(path, 0, 0, on_progress, reinterpret_cast<LONG_PTR>(&stop)), 1);
    EXPECT_EQ(stop.calls, 2);
    EXPECT_EQ(picture(path, 0, 1), -1) << "input from memory is not offered";
}

namespace {

struct ComCheck {
    GetPictureFn get_picture;
    std::string path;
    DWORD model;  // COINIT_ flags set before the call, or ~0u for none
    int result = -100;
    HRESULT after = E_FAIL;
};

DWORD WINAPI com_thread(void* arg) {
    auto* c = static_cast<ComCheck*>(arg);
    const bool own = c->model != ~0u;
    if (own) CoInitializeEx(nullptr, c->model);
    HLOCAL info = nullptr, pixels = nullptr;
    c->result = c->get_picture(c->path.c_str(), 0, 0, &info, &pixels, nullptr, 0);
    if (info) LocalFree(info);
    if (pixels) LocalFree(pixels);
    // S_OK: COM was not set up on this thread; S_FALSE: it is (in this model);
    // RPC_E_CHANGED_MODE: it is, in the other model.
    c->after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(c->after)) CoUninitialize();
    if (own) CoUninitialize();
    return 0;
}

ComCheck run_com_check(GetPictureFn fn, const std::string& path, DWORD model) {
    ComCheck c{fn, path, model};
    HANDLE t = CreateThread(nullptr, 0, com_thread, &c, 0, nullptr);
    if (t) {
        WaitForSingleObject(t, 60000);
        CloseHandle(t);
    }
    return c;
}

}  // namespace

TEST_F(ZimagePlugin, ComIsLeftAsItWasFound) {
    const std::string path = put("baseline.jpg", jpeg(false));
    struct Case {
        const char* what;
        DWORD model;
        HRESULT after;
    };
    const Case cases[] = {
        {"no COM before", ~0u, S_OK},
        {"single-threaded before", COINIT_APARTMENTTHREADED, S_FALSE},
        {"multi-threaded before", COINIT_MULTITHREADED, RPC_E_CHANGED_MODE},
    };
    for (const Case& c : cases) {
        const ComCheck r = run_com_check(get_picture_, path, c.model);
        EXPECT_EQ(r.result, 0) << c.what;
        EXPECT_EQ(r.after, c.after) << c.what;
    }
}

TEST_F(ZimagePlugin, TheChooserFilterListsItsPatterns) {
    char filter[kImageFilterSize];
    build_image_filter(plugin_table, filter, sizeof filter);
    EXPECT_STREQ(filter, "画像ファイル|*.bmp;*.rle;*.PNG;*.JPG;*.JPEG;*.JPE;*.GIF;*.TIF;*.TIFF|全てのファイル|*.*||");
    const auto info = reinterpret_cast<GetPluginInfoFn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "GetPluginInfo")));
    ASSERT_NE(info, nullptr);
    char text[100] = "";
    EXPECT_EQ(info(0, text, sizeof text), 4);
    EXPECT_STREQ(text, "00IN");
}
