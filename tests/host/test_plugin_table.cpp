// What the plug-in host decides from a plug-in's answers, which paths the table claims,
// and the image chooser's filter text.
#include "image/plugin_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "image/bitmap_file.h"
#include "storage_fixture.h"

namespace {

// A plug-in's info texts by number. Each answer is copied without terminator when it is as
// long as the buffer, as a careless plug-in would.
PluginInfoCall plugin(std::map<int, std::string> texts) {
    return [texts](int number, char* buffer, int length) {
        auto it = texts.find(number);
        if (it == texts.end()) return 0;
        const size_t n = it->second.size() < static_cast<size_t>(length) ? it->second.size() + 1
                                                                        : static_cast<size_t>(length);
        std::memcpy(buffer, it->second.c_str(), n);
        return static_cast<int>(it->second.size());
    };
}

std::vector<std::string> patterns(const PluginEntry& e) {
    std::vector<std::string> out;
    for (int k = 0; k < e.pattern_count; ++k) out.push_back(e.patterns[k]);
    return out;
}

}  // namespace

TEST(ReadPluginFormats, KeepsOnlyInputPluginsWithFormats) {
    struct Case {
        const char* what;
        std::map<int, std::string> texts;
        bool kept;
        std::vector<std::string> patterns;
    };
    const Case cases[] = {
        {"two formats", {{0, "00IN"}, {1, "test"}, {2, "*.jpg;*.jpeg"}, {3, "JPEG"}, {4, "*.Gif"}, {5, "GIF"}},
         true, {"*.JPG;*.JPEG;", "*.GIF;"}},
        {"a pattern without description does not count", {{0, "00IN"}, {1, "d"}, {2, "*.a"}, {3, "A"}, {4, "*.b"}},
         true, {"*.A;"}},
        {"no formats", {{0, "00IN"}, {1, "d"}}, false, {}},
        {"first pattern without description", {{0, "00IN"}, {1, "d"}, {2, "*.a"}}, false, {}},
        {"an export plug-in", {{0, "00AM"}, {1, "d"}, {2, "*.a"}, {3, "A"}}, false, {}},
        {"longer than 00IN", {{0, "00INX"}, {1, "d"}, {2, "*.a"}, {3, "A"}}, false, {}},
        {"no description of itself", {{0, "00IN"}, {2, "*.a"}, {3, "A"}}, false, {}},
        {"20-byte pattern without terminator, cut descriptions",
         {{0, "00IN"}, {1, std::string(150, 'd')}, {2, "*.abcdefghijklmnopqrstuvwxyz"}, {3, std::string(80, 'e')}},
         true, {"*.ABCDEFGHIJKLMNOPQR;"}},
        {"a trail byte that looks like a small letter stays", {{0, "00IN"}, {1, "d"}, {2, "*.ッa"}, {3, "x"}},
         true, {"*.ッA;"}},
    };
    for (const auto& c : cases) {
        PluginEntry e = {};
        EXPECT_EQ(read_plugin_formats(plugin(c.texts), &e), c.kept) << c.what;
        if (c.kept) {
            EXPECT_EQ(patterns(e), c.patterns) << c.what;
        }
    }
}

TEST(ReadPluginFormats, AtMostTenFormats) {
    std::map<int, std::string> texts = {{0, "00IN"}, {1, "many"}};
    for (int k = 0; k < 12; ++k) {
        texts[2 * k + 2] = "*.f" + std::to_string(k);
        texts[2 * k + 3] = "format";
    }
    PluginEntry e = {};
    ASSERT_TRUE(read_plugin_formats(plugin(texts), &e));
    EXPECT_EQ(e.pattern_count, 10);
    EXPECT_STREQ(e.patterns[9], "*.F9;");
}

namespace {

PluginTable table_of(const std::vector<std::vector<const char*>>& plugins) {
    PluginTable t = {};
    for (const auto& p : plugins) {
        PluginEntry& e = t.entries[t.count++];
        for (const char* pattern : p) store_plugin_pattern(e.patterns[e.pattern_count++], pattern);
    }
    return t;
}

}  // namespace

TEST(PluginHandlesExtension, MatchesTheExtensionInAnyStoredPattern) {
    const PluginTable t = table_of({{"*.jpg;*.jpeg"}, {"*.png", "*.image"}});
    struct { const char* path; bool handled; } cases[] = {
        {"C:\\pics\\a.jpg", true},  {"a.JPEG", true},  {"b.Png", true},  {"a.jp", false},
        {"a.pg", false},            {"photo.image", false},  // a five-letter extension is none
        {"noext", false},           {"dir.jpg\\file", false}, {"a.bmp", false},
    };
    for (const auto& c : cases) EXPECT_EQ(plugin_handles_extension(t, c.path), c.handled) << c.path;
    EXPECT_FALSE(plugin_handles_extension(PluginTable{}, "a.jpg"));
}

TEST(BuildImageFilter, ListsEveryPatternBetweenTheFixedParts) {
    char buf[kImageFilterSize];
    build_image_filter(PluginTable{}, buf, sizeof buf);
    EXPECT_STREQ(buf, "画像ファイル|*.bmp;*.rle|全てのファイル|*.*||");

    build_image_filter(table_of({{"*.jpg;*.jpeg", "*.jfif"}, {"*.png"}}), buf, sizeof buf);
    EXPECT_STREQ(buf, "画像ファイル|*.bmp;*.rle;*.JPG;*.JPEG;*.JFIF;*.PNG|全てのファイル|*.*||");
}

TEST(BuildImageFilter, CutAtAWholePatternBeforeTheBufferEnds) {
    std::vector<std::vector<const char*>> many(64, {"*.abcdefghijklmnop", "*.qrstuvwxyzabcdef"});
    const PluginTable t = table_of(many);
    std::vector<char> buf(kImageFilterSize, '#');
    build_image_filter(t, buf.data(), buf.size());
    const std::string text = buf.data();
    const std::string tail = "|全てのファイル|*.*||";
    ASSERT_LT(text.size(), kImageFilterSize);
    EXPECT_GT(text.size() + 19, kImageFilterSize - 1) << "the next pattern would not have fit";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    const std::string list = text.substr(0, text.size() - tail.size());
    const char* last = list.size() >= 19 ? list.c_str() + list.size() - 19 : "";
    EXPECT_TRUE(std::string(last) == ";*.ABCDEFGHIJKLMNOP" || std::string(last) == ";*.QRSTUVWXYZABCDEF")
        << "ends with a whole pattern: " << last;

    char tiny[8];  // smaller than the fixed parts: cut, still terminated
    build_image_filter(t, tiny, sizeof tiny);
    EXPECT_LT(std::strlen(tiny), sizeof tiny);
}

TEST(BuiltinBitmap, ExtensionLowerCasedAndBmSignature) {
    using namespace storage_test;
    const auto dir = make_scratch_dir();
    struct { const char* name; const char* bytes; bool builtin; } cases[] = {
        {"PHOTO.BMP", "BM\x36\0\0\0", true},  {"a.rle", "BMxx", true},  {"a.Bmp", "BM", true},
        {"a.bmp", "XX", false},                {"a.bmp", "B", false},   {"a.bmpx", "BM", false},
        {"a.jpg", "BM", false},                {"photo.image", "BM", false},
    };
    for (const auto& c : cases) {
        const auto path = dir / c.name;
        spit(path, c.bytes);
        EXPECT_EQ(is_builtin_bitmap(path.string().c_str()), c.builtin) << c.name << " " << c.bytes;
    }
    EXPECT_FALSE(is_builtin_bitmap((dir / "missing.bmp").string().c_str()));
    EXPECT_TRUE(has_bitmap_extension("missing.BMP"));
    std::filesystem::remove_all(dir);
}

TEST(BuiltinBitmap, LoadsFromAFile) {
    using namespace storage_test;
    const auto dir = make_scratch_dir();
    // A 1x1 24-bit bitmap, blue 1, green 2, red 3.
    const std::string file = std::string("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0", 14) +
                             std::string("\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 16) +
                             std::string(24, '\0') + std::string("\x01\x02\x03\0", 4);
    spit(dir / "one.bmp", file);
    PixelBlock pixels;
    ImageInfo info;
    ASSERT_TRUE(load_bitmap_file((dir / "one.bmp").string().c_str(), ScreenSize{0, 0}, &pixels, &info));
    ASSERT_EQ(pixels.size(), 4u);
    EXPECT_EQ(pixels.data()[2], 3);
    EXPECT_FALSE(load_bitmap_file((dir / "none.bmp").string().c_str(), ScreenSize{0, 0}, &pixels, &info));
    std::filesystem::remove_all(dir);
}
