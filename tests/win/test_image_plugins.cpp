// The plug-in host with the tests' own plug-in and its misbehaving builds: which DLLs the
// scan keeps, what the filter lists, the picture route at offset 0 and behind a 128-byte
// prefix, and the built-in route next to it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "image/bitmap_decode.h"
#include "image/plugin_table.h"
#include "image/plugins_win.h"
#include "tests/host/bmp_builder.h"
#include "tests/win/win_scratch.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string plugin_build_dir() { return win_test::exe_dir() + "test_plugins\\"; }

// A picture in the test plug-in's format: "ZTI1", width, height, red-green-blue rows from
// the top.
std::string zti(int w, int h, const std::vector<uint32_t>& rgb_top_down) {
    std::string s = "ZTI1";
    s += char(w & 0xFF);
    s += char(w >> 8);
    s += char(h & 0xFF);
    s += char(h >> 8);
    for (uint32_t c : rgb_top_down) {
        s += char(c >> 16);
        s += char(c >> 8);
        s += char(c);
    }
    return s;
}

std::string module_name(void* module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(static_cast<HMODULE>(module), path, sizeof path);
    std::string p = path;
    return p.substr(p.find_last_of('\\') + 1);
}

const PluginEntry* entry_named(const std::string& name) {
    for (int i = 0; i < plugin_table.count; ++i)
        if (lstrcmpiA(module_name(plugin_table.entries[i].module).c_str(), name.c_str()) == 0)
            return &plugin_table.entries[i];
    return nullptr;
}

std::vector<std::string> patterns_of(const PluginEntry& e) {
    std::vector<std::string> out;
    for (int k = 0; k < e.pattern_count; ++k) out.push_back(e.patterns[k]);
    return out;
}

class ImagePlugins : public testing::Test {
protected:
    void SetUp() override {
        unload_image_plugins();
        dir_ = win_test::scratch_dir("plugins");
    }
    void TearDown() override {
        unload_image_plugins();
        win_test::remove_tree(dir_);
    }
    // Copies the built plug-ins (file names without .SPI) into the scratch folder.
    void install(const std::vector<std::string>& names, const std::string& as_prefix = "") {
        for (const std::string& n : names)
            ASSERT_TRUE(CopyFileA((plugin_build_dir() + n + ".SPI").c_str(), (dir_ + as_prefix + n + ".SPI").c_str(), FALSE))
                << n;
    }
    struct Loaded {
        bool ok;
        Bytes pixels;
        ImageInfo info;
    };
    Loaded load(const std::string& name, const std::string& bytes) {
        win_test::put_file(dir_ + name, bytes);
        PixelBlock block;
        Loaded l;
        l.ok = load_image_file((dir_ + name).c_str(), ScreenSize{0, 0}, &block, &l.info);
        if (l.ok) l.pixels.assign(block.data(), block.data() + block.size());
        return l;
    }
    std::string dir_;
};

TEST_F(ImagePlugins, ScanKeepsImageReadersWithFormats) {
    install({"ZTGOOD", "ZTKIND", "ZTNOFMT", "ZTFAIL", "ZTSHORT", "ZTLONG"});
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    EXPECT_EQ(load_image_plugins(dir_.c_str()), 4);
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after) << "the current directory is restored";

    struct { const char* name; std::vector<std::string> patterns; } kept[] = {
        {"ZTGOOD.SPI", {"*.ZTI;", "*.ZT2;*.ZTX;"}},
        {"ZTFAIL.SPI", {"*.ZTI;"}},
        {"ZTSHORT.SPI", {"*.ZTI;"}},
        {"ZTLONG.SPI", {"*.ZTI;*.ABCDEFGHIJKL;"}},  // cut at its 20 bytes
    };
    for (const auto& k : kept) {
        const PluginEntry* e = entry_named(k.name);
        ASSERT_NE(e, nullptr) << k.name;
        EXPECT_EQ(patterns_of(*e), k.patterns) << k.name;
    }
    // The refused ones are no longer loaded.
    EXPECT_EQ(GetModuleHandleA((dir_ + "ZTKIND.SPI").c_str()), nullptr);
    EXPECT_EQ(GetModuleHandleA((dir_ + "ZTNOFMT.SPI").c_str()), nullptr);
    EXPECT_NE(GetModuleHandleA((dir_ + "ZTGOOD.SPI").c_str()), nullptr);

    char filter[kImageFilterSize];
    build_image_filter(plugin_table, filter, sizeof filter);
    const std::string f = filter;
    EXPECT_EQ(f.find("画像ファイル|*.bmp;*.rle;"), 0u) << f;
    EXPECT_NE(f.find(";*.ZTI;*.ZT2;*.ZTX"), std::string::npos) << f;
    const size_t cut = f.find(";*.ZTI;*.ABCDEFGHIJKL");
    ASSERT_NE(cut, std::string::npos) << f;
    const char next = f[cut + 21];  // its own last ";" dropped, then the next part
    EXPECT_TRUE(next == ';' || next == '|') << f;
    EXPECT_EQ(f.find(";;"), std::string::npos) << f;
    EXPECT_EQ(f.substr(f.size() - 21), "|全てのファイル|*.*||");
}

TEST_F(ImagePlugins, DirectoryWithoutSeparatorAndNoDirectory) {
    install({"ZTGOOD"});
    EXPECT_EQ(load_image_plugins(dir_.substr(0, dir_.size() - 1).c_str()), 1);
    EXPECT_EQ(load_image_plugins(""), 0);
    EXPECT_EQ(plugin_table.count, 0);
    EXPECT_EQ(load_image_plugins((dir_ + "missing\\").c_str()), 0);
}

TEST_F(ImagePlugins, AtMost64AreRegistered) {
    for (int i = 0; i < 65; ++i) install({"ZTGOOD"}, "P" + std::to_string(i));
    EXPECT_EQ(load_image_plugins(dir_.c_str()), 64);
}

TEST_F(ImagePlugins, PictureAtOffsetZeroAndBehindAPrefix) {
    install({"ZTGOOD"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    const std::string pic = zti(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x102030});
    // 24-bit bottom-up rows of blue, green, red: the bottom row first.
    const Bytes rows = {0xFF, 0, 0, 0x30, 0x20, 0x10, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    for (const std::string& bytes : {pic, std::string(128, 'M') + pic}) {
        const Loaded l = load("pic.ZTI", bytes);
        ASSERT_TRUE(l.ok) << bytes.size();
        EXPECT_EQ(l.info.header.width, 2);
        EXPECT_EQ(l.info.header.height, 2);
        EXPECT_EQ(l.info.header.bit_count, 24);
        EXPECT_EQ(l.pixels, rows);
    }
    EXPECT_TRUE(load("other.zt2", pic).ok) << "the second format's pattern";
    EXPECT_FALSE(load("plain.zti", "not a picture").ok);
    EXPECT_FALSE(load("pic.png", pic).ok) << "no plug-in lists .png";
    EXPECT_FALSE(load("photo.image", pic).ok) << "a five-letter extension is none";
}

TEST_F(ImagePlugins, EveryPluginIsAskedUntilOneDelivers) {
    install({"ZTFAIL"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    const std::string pic = zti(1, 1, {0x123456});
    EXPECT_FALSE(load("a.zti", pic).ok) << "GetPicture fails";

    install({"ZTGOOD"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 2);
    const Loaded l = load("a.zti", pic);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.pixels, (Bytes{0x56, 0x34, 0x12, 0}));
}

TEST_F(ImagePlugins, FailingPictureGivesBackWhatItHandedOut) {
    install({"ZTHANDED"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    SetEnvironmentVariableA("ZT_HANDED", nullptr);
    EXPECT_FALSE(load("a.zti", zti(1, 1, {0})).ok);
    char text[64] = "";
    ASSERT_GT(GetEnvironmentVariableA("ZT_HANDED", text, sizeof text), 0u) << "the plug-in was asked";
    void* handed[2] = {nullptr, nullptr};
    ASSERT_EQ(std::sscanf(text, "%p %p", &handed[0], &handed[1]), 2);
    for (void* h : handed) {
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(LocalSize(static_cast<HLOCAL>(h)), 0u) << "freed by the host";
    }
}

TEST_F(ImagePlugins, PictureLargerThanTheScreenIsReduced) {
    install({"ZTGOOD"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    // 4 x 2, top row first: the 2 x 2 boxes average to red-green-blue 20 34 30 and 80 88 90.
    const std::string pic = zti(4, 2, {0x000000, 0x408000, 0xA0A0A0, 0x606060,
                                       0x404080, 0x001040, 0x808080, 0x80A0C0});
    win_test::put_file(dir_ + "a.zti", pic);
    struct { ScreenSize screen; int w, h; Bytes rows; } cases[] = {
        {{0, 0}, 4, 2, {}},
        {{4, 2}, 4, 2, {}},
        {{2, 1}, 2, 1, {0x30, 0x34, 0x20, 0x90, 0x88, 0x80, 0, 0}},
        {{1, 1}, 2, 1, {0x30, 0x34, 0x20, 0x90, 0x88, 0x80, 0, 0}},  // covers 1 x 1 with its height
    };
    for (const auto& c : cases) {
        PixelBlock block;
        ImageInfo info;
        ASSERT_TRUE(load_image_file((dir_ + "a.zti").c_str(), c.screen, &block, &info)) << c.screen.width;
        EXPECT_EQ(info.header.width, c.w) << c.screen.width;
        EXPECT_EQ(info.header.height, c.h) << c.screen.width;
        EXPECT_EQ(info.header.bit_count, 24);
        if (!c.rows.empty()) EXPECT_EQ(Bytes(block.data(), block.data() + block.size()), c.rows) << c.screen.width;
    }
}

TEST_F(ImagePlugins, HandlesSmallerThanTheHeaderClaims) {
    install({"ZTSHORT"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    const Loaded l = load("a.zti", zti(1, 1, {0}));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.info.header.width, 64);
    EXPECT_EQ(l.info.header.clr_used, 256u);
    ASSERT_EQ(l.pixels.size(), 64u * 64u);
    EXPECT_EQ(Bytes(l.pixels.begin(), l.pixels.begin() + 17), (Bytes{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(l.info.colors[0][2], 255);
    EXPECT_EQ(l.info.colors[1][1], 255);
    EXPECT_EQ(l.info.colors[2][0] | l.info.colors[2][1] | l.info.colors[2][2], 0) << "beyond the handle: zero";
}

TEST_F(ImagePlugins, BitmapsTakeTheBuiltInRoute) {
    install({"ZTGOOD"});
    ASSERT_EQ(load_image_plugins(dir_.c_str()), 1);
    bmp_test::BmpFields s{1, 1, 24};
    s.pixels = {1, 2, 3, 0};
    const Bytes file = bmp_test::bmp_file(s);
    const std::string bytes(file.begin(), file.end());
    for (const char* name : {"PHOTO.BMP", "a.rle", "b.Bmp"}) {
        const Loaded l = load(name, bytes);
        ASSERT_TRUE(l.ok) << name;
        EXPECT_EQ(l.pixels, (Bytes{1, 2, 3, 0})) << name;
    }
    EXPECT_FALSE(load("fake.bmp", "ZTI1").ok) << "no BM and no plug-in for .bmp";
}

}  // namespace
