// The font dialog's rules and the keys of the kept view fonts: the opening height, which
// notifications mean a changed selection, the style list's item data, the choice stored in
// and read from the settings, and which setting changes make a view font anew.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/view_font.h"
#include "config/settings.h"
#include "dialogs/font_dialog.h"
#include "tests/host/test_records.h"

namespace {

TEST(FontDialogRules, OpeningHeightIsTenPointsTruncated) {
    struct Case {
        int dpi, height;
    } cases[] = {{96, -13}, {120, -16}, {144, -20}, {192, -26}, {72, -10}, {71, -9}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(font_dialog_height(c.dpi), c.height) << c.dpi;
}

TEST(FontDialogRules, SelectionChangesOfFaceStyleAndScriptOnly) {
    struct Case {
        int id, code;
        bool change;
    } cases[] = {
        {1136, 1, true},  {1137, 1, true},  {1140, 1, true},   // face, style, script
        {1138, 1, false},                                      // size: never taken
        {1139, 1, false},                                      // colour
        {1136, 2, false}, {1136, 3, false}, {1137, 9, false},  // double click, focus, drop-down
        {1026, 0, false}, {1, 0, false},   {2, 0, false},      // apply, OK, cancel
        {1092, 1, false},                                      // the sample label
    };
    for (const Case& c : cases)
        EXPECT_EQ(font_selection_changed(c.id, c.code), c.change) << c.id << " " << c.code;
}

TEST(FontDialogRules, StyleItemData) {
    struct Case {
        long data;
        bool ok;
        int weight, italic;
    } cases[] = {
        {400, true, 400, 0},
        {(1L << 16) | 400, true, 400, 1},
        {700, true, 700, 0},
        {(1L << 16) | 700, true, 700, 1},
        {(5L << 16) | 300, true, 300, 1},  // any non-zero high word is italic
        {-1, false, 11, 22},               // no item: nothing changes
    };
    for (const Case& c : cases) {
        int w = 11, i = 22;
        EXPECT_EQ(font_style_of_item(c.data, &w, &i), c.ok) << c.data;
        EXPECT_EQ(w, c.weight) << c.data;
        EXPECT_EQ(i, c.italic) << c.data;
    }
}

TEST(FontChoice, StoredAndReadThroughTheSettings) {
    settings_defaults(&settings, 1024, 768);
    const FontChoice d = font_choice_of(settings);
    EXPECT_EQ(d.charset, 128);
    EXPECT_EQ(d.weight, 400);
    EXPECT_EQ(d.italic, 0);
    EXPECT_STREQ(d.face, "ＭＳ Ｐゴシック");

    font_choice_store(&settings, font_choice(0, 700, 1, "Arial"));
    EXPECT_EQ(settings.charset, 0);
    EXPECT_EQ(settings.weight, 700);
    EXPECT_EQ(settings.italic, 1);
    EXPECT_STREQ(settings.fontname, "Arial");

    // A face longer than the 99 bytes fontname holds is cut on a character boundary.
    std::string long_face;
    for (int i = 0; i < 60; ++i) long_face += "字";
    const FontChoice c = font_choice(128, 400, 0, long_face.c_str());
    EXPECT_EQ(std::strlen(c.face), 98u);
    font_choice_store(&settings, c);
    EXPECT_EQ(std::string(settings.fontname), long_face.substr(0, 98));
    EXPECT_STREQ(font_choice(1, 2, 3, nullptr).face, "");
}

TEST(ViewFontKey, ChangesWithFaceStyleScriptAndHeightOnly) {
    settings_defaults(&settings, 1024, 768);
    const ViewFontKey base = view_font_key(settings, -28);
    EXPECT_EQ(base.height, -28);
    EXPECT_EQ(base.weight, 400);
    EXPECT_EQ(base.charset, 128);
    EXPECT_STREQ(base.face, "ＭＳ Ｐゴシック");
    struct Case {
        const char* what;
        void (*change)(Settings*);
        int height;
        bool same;
    } cases[] = {
        {"nothing", [](Settings*) {}, -28, true},
        {"height", [](Settings*) {}, -29, false},
        {"weight", [](Settings* s) { s->weight = 700; }, -28, false},
        {"italic", [](Settings* s) { s->italic = 1; }, -28, false},
        {"italic 256 is the byte 0", [](Settings* s) { s->italic = 256; }, -28, true},
        {"charset", [](Settings* s) { s->charset = 1; }, -28, false},
        {"charset 384 is the byte 128", [](Settings* s) { s->charset = 384; }, -28, true},
        {"face", [](Settings* s) { std::strcpy(s->fontname, "ＭＳ ゴシック"); }, -28, false},
        {"display settings", [](Settings* s) { s->cmode = 0; s->weeklang = 1; s->clock = 1; }, -28, true},
    };
    for (const Case& c : cases) {
        Settings s = settings;
        c.change(&s);
        EXPECT_EQ(same_view_font(base, view_font_key(s, c.height)), c.same) << c.what;
    }
}

TEST(ViewFontKey, FaceIsCutToWhatALogfontHolds) {
    settings_defaults(&settings, 1024, 768);
    // 40 double-byte characters: 31 bytes would split the 16th, so 30 are kept.
    std::string face;
    for (int i = 0; i < 40; ++i) face += "ゴ";
    std::strcpy(settings.fontname, face.c_str());
    const ViewFontKey k = view_font_key(settings, -10);
    EXPECT_EQ(std::string(k.face), face.substr(0, 30));
    // Changes past the cut do not make a new font; within it they do.
    Settings later = settings;
    later.fontname[50] = 'x';
    EXPECT_TRUE(same_view_font(k, view_font_key(later, -10)));
    later = settings;
    later.fontname[2] = 'A';
    later.fontname[3] = 'B';
    EXPECT_FALSE(same_view_font(k, view_font_key(later, -10)));
}

}  // namespace
