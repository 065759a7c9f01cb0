#include "config/cp932.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(Cp932, LeadByteRanges) {
    struct { unsigned char c; bool lead; } cases[] = {
        {0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false}, {0x81, true},
        {0x9F, true},  {0xA0, false}, {0xB1, false}, {0xDF, false}, {0xE0, true},
        {0xFC, true},  {0xFD, false}, {0xFF, false},
    };
    for (const auto& c : cases) EXPECT_EQ(cp932_is_lead(c.c), c.lead) << std::hex << int(c.c);
}

TEST(Cp932, NextStepsOneCharacterAndNeverPastNul) {
    struct { const char* s; int step; } cases[] = {
        {"", 0},            // at the NUL: stays
        {"a", 1},
        {"\x95\x5C", 2},    // 表: trail byte is 0x5C
        {"\x83\x41x", 2},   // ア
        {"\xB1x", 1},       // half-width katakana is single-byte
        {"\x95", 1},        // lone lead byte: onto the NUL, not past it
        {"\xE0\xFC", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(cp932_next(c.s) - c.s, c.step) << c.s;
    const char embedded[] = {'\x95', '\0', 'x', '\0'};
    EXPECT_EQ(cp932_next(embedded), embedded + 1);
}

TEST(Cp932, LastChar) {
    struct { const char* s; int at; } cases[] = {
        {"ab", 1}, {"a\x95\x5C", 1}, {"\x95\x5C\x95", 2}, {"\x95\x5C\\", 2}, {"\x81\x81\x81", 2},
    };
    EXPECT_EQ(cp932_last_char(""), nullptr);
    for (const auto& c : cases) EXPECT_EQ(cp932_last_char(c.s) - c.s, c.at) << c.s;
}

TEST(Cp932, StrstrMatchesOnlyOnCharacterBoundaries) {
    struct { const char* text; const char* pat; int at; } cases[] = {
        {"a\\b", "\\", 1},
        {"\x95\x5C", "\\", -1},           // trail byte of 表 is no backslash
        {"\x95\x5C\\", "\\", 2},
        {"\x83\x41", "A", -1},            // trail byte of ア is no "A"
        {"\x83\x41", "\x83", -1},         // a match may not end inside a character
        {"\x81\x81\x41", "\x81\x41", -1}, // bytewise search would hit at 1
        {"\x81\x81\x81\x41", "\x81\x41", 2},
        {"abc", "", 0},
        {"abc", "abcd", -1},
        {"xabab", "ab", 1},
    };
    for (const auto& c : cases) {
        const char* r = cp932_strstr(c.text, c.pat);
        EXPECT_EQ(r ? r - c.text : -1, c.at) << c.text << " / " << c.pat;
    }
}

TEST(Cp932, CopyCutsWithoutSplittingCharacters) {
    const std::string a31(31, 'a');
    std::string dbcs15;
    for (int i = 0; i < 15; ++i) dbcs15 += "\x95\x5C";
    // A font name of up to 99 bytes cut to a LOGFONT face name (32 bytes).
    std::string font = "a";
    for (int i = 0; i < 40; ++i) font += "ア";
    struct { std::string src; size_t size; std::string want; } cases[] = {
        {"hello", 32, "hello"},
        {a31 + "b", 32, a31},
        {"a" + dbcs15, 32, "a" + dbcs15},                      // exactly 31 bytes
        {"aa" + dbcs15, 32, "aa" + dbcs15.substr(0, 28)},      // last character would split
        {"\x95\x5C", 2, ""},
        {"ab\x95", 8, "ab\x95"},                               // lone lead byte is a character
        {"abc", 1, ""},
        {font, 32, font.substr(0, 31)},
        {"\x83" + font, 32, ("\x83" + font).substr(0, 30)},  // the cut falls mid-character
        {"ＭＳ Ｐゴシック", 32, "ＭＳ Ｐゴシック"},
    };
    for (const auto& c : cases) {
        std::vector<char> dst(c.size, '#');
        EXPECT_EQ(cp932_copy(dst.data(), dst.size(), c.src.c_str()), c.want.size());
        EXPECT_EQ(std::string(dst.data()), c.want);
    }
    char untouched = '#';
    EXPECT_EQ(cp932_copy(&untouched, 0, "abc"), 0u);
    EXPECT_EQ(untouched, '#');
}

TEST(Cp932, CopyNStopsAtTheLimit) {
    char dst[16];
    EXPECT_EQ(cp932_copy_n(dst, sizeof dst, "abcdef", 3), 3u);
    EXPECT_STREQ(dst, "abc");
    EXPECT_EQ(cp932_copy_n(dst, sizeof dst, "a\x95\x5Cz", 2), 1u);  // 表 would reach past 2
    EXPECT_STREQ(dst, "a");
}
