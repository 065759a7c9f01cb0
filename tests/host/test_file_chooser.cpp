// The file choosers' text handling: filter separators turned into terminators, the
// directory the dialog opens in, and the save chooser's extension and proposed name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/file_chooser.h"
#include "resources/texts.h"

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

// The extension a name typed without one gets: the first pattern of the chosen entry.
TEST(FileChooserSave, DefaultExtensionOfTheChosenEntry) {
    struct Case {
        const char* filter;
        int index;
        const char* ext;  // "" none
    } cases[] = {
        {kIcalFilter, 1, "ics"},
        {"iCalendar (*.ics)|*.ics;*.ical|All|*.*||", 1, "ics"},  // the first of several
        {"iCalendar (*.ics)|*.ics|All|*.*||", 2, ""},            // "*.*" names no extension
        {"Text|*.txt|Sound|*.wav;*.mid||", 2, "wav"},
        {"Text|*.txt||", 2, ""},                                 // no such entry
        {"Text|*.txt||", 0, ""},
        {"Any|*.ic?|", 1, ""},                                   // wildcards are no extension
        {"Data|data.*|", 1, ""},
        {"Odd|*.|", 1, ""},
        {"Spaced|*.a b|", 1, ""},
        {"Empty||", 1, ""},
        {"Tab#*.tsv#", 1, "tsv"},                                // any last character separates
        // "ポ" (0x83 0x7C) holds "|" as its second byte: the name is not cut there.
        {"ポスター|*.pos|", 1, "pos"},
        {"", 1, ""},
        {"表", 1, ""},                                            // no separator at all
    };
    for (const Case& c : cases) {
        char ext[16] = "junk";
        EXPECT_EQ(chooser_default_ext(c.filter, c.index, ext, sizeof ext), c.ext[0] != '\0')
            << c.filter << " " << c.index;
        EXPECT_STREQ(ext, c.ext) << c.filter << " " << c.index;
    }
    char small[4] = "jnk";
    EXPECT_FALSE(chooser_default_ext("Long|*.long|", 1, small, sizeof small));  // never cut
    EXPECT_STREQ(small, "");
}

// The save chooser proposes the file chosen last, in its folder, or the default name.
TEST(FileChooserSave, StartsAtTheFileChosenLast) {
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
    } cases[] = {
        {"", "", "Tavelspore.ics"},
        {"C:\\Users\\me\\cal.ics", "C:\\Users\\me", "cal.ics"},
        {"C:\\cal.ics", "C:\\", "cal.ics"},
        {"C:\\Users\\me\\", "C:\\Users\\me", "Tavelspore.ics"},  // a folder alone
        {"cal.ics", "", "cal.ics"},
        {"C:\\表\\予定.ics", "C:\\表", "予定.ics"},             // 表 ends in 0x5C
        {"D:/x/y.ics", "D:/x/", "y.ics"},
    };
    for (const Case& c : cases) {
        char dir[64] = "junk", name[64] = "junk";
        save_chooser_start(c.path, kIcalDefaultName, dir, sizeof dir, name, sizeof name);
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(name, c.name) << c.path;
    }
    // A name longer than its buffer is cut on a character boundary.
    char name[6] = "";
    char dir[8] = "";
    save_chooser_start("C:\\ああい.ics", kIcalDefaultName, dir, sizeof dir, name, sizeof name);
    EXPECT_STREQ(name, "ああ");
}

// The iCalendar filter as the save dialog reads it: one entry, with the extension.
TEST(FileChooserSave, CalendarFilterGivesOneEntry) {
    char buf[sizeof kIcalFilter + 1] = {};
    std::strcpy(buf, kIcalFilter);
    ASSERT_TRUE(filter_to_terminators(buf));
    EXPECT_EQ(as_list(buf), "iCalendar (*.ics)|*.ics|");
}

// Where an iCalendar chooser opens: the file chosen last in the run leads, then the folder
// remembered from an earlier run, then Documents; only absolute folders that fit are taken.
TEST(FileChooserStart, LastFileThenRememberedThenDocuments) {
    const char* docs = "C:\\users\\me\\Documents";
    struct Case {
        const char* path;
        const char* remembered;
        const char* documents;
        const char* dir;
    } cases[] = {
        {"D:\\cal\\a.ics", "E:\\old", docs, "D:\\cal"},
        {"", "E:\\old", docs, "E:\\old"},
        {"", "E:\\old\\", docs, "E:\\old"},
        {"", "E:\\", docs, "E:\\"},
        {"", "\\\\server\\share\\cal", docs, "\\\\server\\share\\cal"},
        {"", "", docs, docs},
        {"a.ics", "", docs, docs},                      // a name alone names no folder
        {"", "old", docs, docs},                        // a relative folder is no place to open
        {"", "\\\\", docs, docs},
        {"", "C:\\表", docs, "C:\\表"},                  // 表 ends in 0x5C
        {"", "C:\\a-folder-name-too-long-for-the-buffer", docs, docs},
        {"", "", "", ""},                               // the system's choice
        {"", nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        char dir[32] = "junk";
        chooser_start_dir(c.path, c.remembered, c.documents, dir, sizeof dir);
        EXPECT_STREQ(dir, c.dir) << c.path << " | " << (c.remembered ? c.remembered : "null");
    }
}

}  // namespace
