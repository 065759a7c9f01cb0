#include "config/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Heap buffer of exactly size bytes holding s, so ASan sees any overrun.
std::vector<char> buffer(const std::string& s, size_t size) {
    std::vector<char> b(size, '\0');
    std::memcpy(b.data(), s.c_str(), s.size() + 1 <= size ? s.size() + 1 : size);
    return b;
}

}  // namespace

TEST(PathAddSeparator, AppendsUnlessLastCharacterIsBackslash) {
    struct { const char* in; const char* out; } cases[] = {
        {"D:\\tools", "D:\\tools\\"},
        {"D:\\tools\\", "D:\\tools\\"},
        {"D:\\\x95\x5C", "D:\\\x95\x5C\\"},  // ends in 表, whose trail byte is 0x5C
        {"", "\\"},
        {"a/", "a/\\"},
        {"D:\\x\x95", "D:\\x\x95\\"},        // lone lead byte at the end
    };
    for (const auto& c : cases) {
        auto b = buffer(c.in, 64);
        EXPECT_TRUE(path_add_separator(b.data(), b.size()));
        EXPECT_STREQ(b.data(), c.out) << c.in;
    }
}

TEST(PathAddSeparator, RespectsBufferSize) {
    auto exact = buffer("D:\\tools", 10);  // room for exactly one more byte
    EXPECT_TRUE(path_add_separator(exact.data(), exact.size()));
    EXPECT_STREQ(exact.data(), "D:\\tools\\");

    auto full = buffer("D:\\tools", 9);
    EXPECT_FALSE(path_add_separator(full.data(), full.size()));
    EXPECT_STREQ(full.data(), "D:\\tools");

    auto done = buffer("D:\\tools\\", 10);  // already ends in "\": nothing to add
    EXPECT_TRUE(path_add_separator(done.data(), done.size()));

    std::vector<char> unterminated(4, 'x');
    EXPECT_FALSE(path_add_separator(unterminated.data(), unterminated.size()));
}

TEST(PathStripSeparator, Cases) {
    struct { const char* in; const char* out; int len; } cases[] = {
        {"D:\\tools\\", "D:\\tools", 8},
        {"D:\\tools", "D:\\tools", 8},
        {"D", "D:\\", 3},
        {"D:", "D:\\", 3},
        {"D:\\", "D:\\", 3},
        {"C:\\x\x95\x5C", "C:\\x\x95\x5C", 6},  // trail 0x5C is not removed
        {"C:\\ab\\\\", "C:\\ab\\", 6},          // only one separator goes
        {"", "", 0},
    };
    for (const auto& c : cases) {
        auto b = buffer(c.in, 32);
        EXPECT_EQ(path_strip_separator(b.data(), b.size()), c.len) << c.in;
        EXPECT_STREQ(b.data(), c.out) << c.in;
    }
    auto tiny = buffer("D", 2);  // no room for a drive root
    EXPECT_EQ(path_strip_separator(tiny.data(), tiny.size()), 1);
    EXPECT_STREQ(tiny.data(), "D");
}

TEST(PathSplit, Cases) {
    struct { const char* path; const char* dir; const char* name; const char* ext; } cases[] = {
        {"D:\\tools\\cal.exe", "D:\\tools\\", "cal", ".exe"},
        {"a/b.d/readme", "a/b.d/", "readme", ""},
        {"D:\\x\\archive.backup", "D:\\x\\", "archive.backup", ""},
        {"readme", "", "readme", ""},
        {"x.tar.gz", "", "x.tar", ".gz"},
        {"file.abcd", "", "file", ".abcd"},
        {".cfg", "", "", ".cfg"},
        {"a\\b/c.txt", "a\\b/", "c", ".txt"},           // directory keeps the last separator as written
        {"C:\\\x95\x5C.txt", "C:\\", "\x95\x5C", ".txt"}, // 表.txt: 0x5C trail is no separator
        {"C:\\\x95\x5C", "C:\\", "\x95\x5C", ""},
        {"C:\\a\x81.", "C:\\", "a\x81.", ""},            // "\x81." is one character, not a dot
        {"dir\\ab\x95", "dir\\", "ab\x95", ""},          // lone lead byte at the end
        {"dir\\ab.c\x95", "dir\\", "ab", ".c\x95"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        std::vector<char> dir(64, '#'), name(64, '#'), ext(64, '#');
        path_split(c.path, dir.data(), dir.size(), name.data(), name.size(), ext.data(), ext.size());
        EXPECT_STREQ(dir.data(), c.dir) << c.path;
        EXPECT_STREQ(name.data(), c.name) << c.path;
        EXPECT_STREQ(ext.data(), c.ext) << c.path;
    }
}

TEST(PathSplit, OptionalAndSmallOutputs) {
    std::vector<char> name(6, '#');
    path_split("D:\\tools\\calendar.exe", nullptr, 0, name.data(), name.size(), nullptr, 0);
    EXPECT_STREQ(name.data(), "calen");

    std::vector<char> dir(4, '#');
    path_split("D:\\tools\\cal.exe", dir.data(), dir.size(), nullptr, 0, nullptr, 0);
    EXPECT_STREQ(dir.data(), "D:\\");

    std::vector<char> dname(4, '#');  // 表表 does not fit in 3 bytes: one character only
    path_split("\x95\x5C\x95\x5C", nullptr, 0, dname.data(), dname.size(), nullptr, 0);
    EXPECT_STREQ(dname.data(), "\x95\x5C");
}

TEST(PathSplit, OverlongPathIsCutNotOverrun) {
    std::string path = "C:\\" + std::string(2000, 'd') + "\\f.txt";
    std::vector<char> dir(2048, '#'), name(2048, '#');
    path_split(path.c_str(), dir.data(), dir.size(), name.data(), name.size(), nullptr, 0);
    EXPECT_STREQ(dir.data(), "C:\\");
    EXPECT_EQ(std::strlen(name.data()), 1020u);  // 1023-byte work copy minus "C:\"
}

TEST(ReplaceAll, Cases) {
    struct { const char* text; const char* pat; const char* rep; const char* out; int ret; } cases[] = {
        {"x\ny\nz", "\n", "@$", "x@$y@$z", 1},
        {"x\ny\nz", "@$", "\r\n", "x\ny\nz", 0},
        {"abc", "", "x", "abc", 0},
        {"aaaa", "aa", "a", "a", 1},   // every pass searches again from the start
        {"aabb", "ab", "", "", 1},
        {"\x95\x5C\\", "\\", "/", "\x95\x5C/", 1},  // trail byte 0x5C stays
        {"\x83\x41" "A", "A", "B", "\x83\x41" "B", 1},
        {"a\nb", "\n", "\n\n", "a\n\nb", 1},        // replacement holding the pattern: once each
        {"xax", "x", "xx", "xxaxx", 1},
    };
    for (const auto& c : cases) {
        auto b = buffer(c.text, 64);
        EXPECT_EQ(replace_all(b.data(), b.size(), c.pat, c.rep), c.ret) << c.text;
        EXPECT_STREQ(b.data(), c.out) << c.text;
    }
}

TEST(ReplaceAll, AboutBoxTwoStepNewlines) {
    auto b = buffer("line1\nline2\n", 32);
    EXPECT_EQ(replace_all(b.data(), b.size(), "\n", "@$"), 1);
    EXPECT_EQ(replace_all(b.data(), b.size(), "@$", "\r\n"), 1);
    EXPECT_STREQ(b.data(), "line1\r\nline2\r\n");
}

TEST(ReplaceAll, GrowthIsCutToTheBuffer) {
    struct { const char* text; size_t size; const char* rep; const char* out; } cases[] = {
        {"a\nb\nc", 8, "\r\n", "a\r\nb\r\nc"},    // fits exactly
        {"a\nb\nc", 7, "\r\n", "a\r\nb\r\n"},
        {"a\nb", 4, "\r\n", "a\r\n"},
        {"\n", 4, "\x95\x5C\x95\x5C", "\x95\x5C"},  // never keeps half of 表
        {"\nb", 3, "x\x95", "x"},                   // 0x95 0x62 is one character
    };
    for (const auto& c : cases) {
        auto b = buffer(c.text, c.size);
        EXPECT_EQ(replace_all(b.data(), b.size(), "\n", c.rep), 1) << c.text;
        EXPECT_STREQ(b.data(), c.out) << c.text;
    }
    std::vector<char> unterminated(3, '\n');
    EXPECT_EQ(replace_all(unterminated.data(), unterminated.size(), "\n", "x"), 0);
    EXPECT_EQ(unterminated[0], '\n');
}
