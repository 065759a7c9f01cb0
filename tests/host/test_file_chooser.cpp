// The file choosers' text handling: filter separators turned into terminators, and the
// directory the dialog opens in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/file_chooser.h"

namespace {

// The filter as the dialog reads it: strings up to the double terminator.
std::string as_list(const char* f) {
    std::string out;
    while (*f) {
        out += f;
        out += '|';
        f += std::strlen(f) + 1;
    }
    return out;
}

TEST(FileChooserFilter, SeparatorsBecomeTerminators) {
    struct Case {
        const char* filter;
        const char* list;  // pairs joined by "|" again, as the dialog would read them
    } cases[] = {
        {"ｻｳﾝﾄﾞﾌｧｲﾙ|*.wav;*.mid;*.rmi|全てのﾌｧｲﾙ|*.*||", "ｻｳﾝﾄﾞﾌｧｲﾙ|*.wav;*.mid;*.rmi|全てのﾌｧｲﾙ|*.*|"},
        {"Bitmap#*.bmp##", "Bitmap|*.bmp|"},          // the separator is whatever ends the text
        {"A|*.a|", "A|*.a|"},                          // a single trailing separator is enough
        // "ポ" is 0x83 0x7C: its second byte is "|" and must stay part of the character.
        {"ポスター|*.p||", "ポスター|*.p|"},
    };
    for (const Case& c : cases) {
        char buf[256] = {};
        std::strcpy(buf, c.filter);
        ASSERT_TRUE(filter_to_terminators(buf)) << c.filter;
        EXPECT_EQ(as_list(buf), c.list) << c.filter;
    }
}

TEST(FileChooserFilter, NeedsASingleByteLastCharacter) {
    struct Case {
        const char* text;
        bool ok;
        const char* after;  // the text's first string afterwards
    } cases[] = {
        {"", false, ""},
        {"表", false, "表"},      // a double-byte character cannot be the separator
        {"ｻ", true, ""},          // single-byte kana can
    };
    for (const Case& c : cases) {
        char buf[16] = {};
        std::strcpy(buf, c.text);
        EXPECT_EQ(filter_to_terminators(buf), c.ok) << c.text;
        EXPECT_STREQ(buf, c.after) << c.text;
    }
}

TEST(FileChooserDirectory, OpensInTheCurrentFilesDirectory) {
    struct Case {
        const char* path;
        const char* dir;
    } cases[] = {
        {"", ""},
        {"a.wav", ""},
        {"C:\\Sounds\\a.wav", "C:\\Sounds"},
        {"C:\\a.wav", "C:\\"},                   // a drive root keeps its separator
        {"\\a.wav", "\\"},                       // the root of the current drive
        {"D:/x/y/b.mid", "D:/x/y/"},             // only "\" is stripped
        {"C:\\表\\a.wav", "C:\\表"},             // 表 ends in 0x5C: no separator there
    };
    for (const Case& c : cases) {
        char dir[64] = "junk";
        chooser_initial_dir(c.path, dir, sizeof dir);
        EXPECT_STREQ(dir, c.dir) << c.path;
    }
}

}  // namespace
