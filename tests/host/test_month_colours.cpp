// The month's colours from the scheme's: the classic scheme keeps the colours the calendar
// always had, a dark one keeps every text legible, a high-contrast one gives only its own
// colours; and the shapes that tell holidays, Sundays and Saturdays apart without colour.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/month_colours.h"

namespace {

std::string hex(ColorRef c) {
    char b[16];
    std::snprintf(b, sizeof b, "%06X", static_cast<unsigned>(c));
    return b;
}

int light(ColorRef c) {
    return (299 * (c & 0xff) + 587 * ((c >> 8) & 0xff) + 114 * ((c >> 16) & 0xff) + 500) / 1000;
}

const SchemeColours kClassic = {make_rgb(255, 255, 255), make_rgb(0, 0, 0), make_rgb(192, 192, 192),
                                make_rgb(0, 0, 128), make_rgb(0, 0, 128), make_rgb(255, 255, 255)};
const SchemeColours kDark = {make_rgb(0, 0, 0), make_rgb(255, 255, 255), make_rgb(32, 32, 32),
                             make_rgb(0, 120, 215), make_rgb(0, 120, 215), make_rgb(255, 255, 255)};
const SchemeColours kHighContrastBlack = {make_rgb(0, 0, 0),     make_rgb(255, 255, 255),
                                          make_rgb(0, 0, 0),     make_rgb(255, 255, 0),
                                          make_rgb(0, 255, 255), make_rgb(0, 0, 0)};

TEST(MonthColours, ClassicSchemeKeepsTheCalendarsColours) {
    const MonthColours m = month_colours(kClassic, false);
    const struct {
        const char* what;
        ColorRef got, want;
    } rows[] = {
        {"text", m.text, kColorBlack},
        {"red", m.red, kColorRed},
        {"blue", m.blue, kColorBlue},
        {"magenta", m.magenta, kColorMagenta},
        {"halo", m.halo, make_rgb(255, 255, 255)},
        {"tick", m.tick, kColorBlack},
        {"clock ticks", m.clock_ticks, make_rgb(128, 128, 128)},
        {"hour hand", m.hour_hand, make_rgb(160, 160, 160)},
        {"minute hand", m.minute_hand, make_rgb(64, 64, 64)},
        {"box", m.box, make_rgb(192, 192, 192)},
    };
    for (const auto& r : rows) EXPECT_EQ(hex(r.got), hex(r.want)) << r.what;
    EXPECT_TRUE(m.box_text_own);
}

TEST(MonthColours, EveryTextLegibleOnAnyWindowColour) {
    const ColorRef windows[] = {make_rgb(0, 0, 0), make_rgb(30, 30, 30), make_rgb(128, 128, 128),
                                make_rgb(0, 0, 96), make_rgb(255, 255, 255), make_rgb(255, 255, 200)};
    for (ColorRef w : windows) {
        SchemeColours s = kClassic;
        s.window = w;
        s.window_text = light(w) < 128 ? make_rgb(255, 255, 255) : make_rgb(0, 0, 0);
        const MonthColours m = month_colours(s, false);
        for (ColorRef c : {m.text, m.red, m.blue, m.magenta, m.tick}) {
            const int g = light(c) - light(w);
            EXPECT_GE(g < 0 ? -g : g, 100) << hex(c) << " on " << hex(w);
        }
        EXPECT_EQ(m.halo, w) << "the halo is the window colour";
    }
    // On black the red stays red and the blue blue, only lighter.
    const MonthColours dark = month_colours(kDark, false);
    EXPECT_EQ(dark.red & 0xff, 0xffu);
    EXPECT_LT((dark.red >> 8) & 0xff, 0x80u);
    EXPECT_EQ((dark.blue >> 16) & 0xff, 0xffu);
    EXPECT_LT(dark.blue & 0xff, 0x80u);
    EXPECT_EQ(hex(dark.text), hex(make_rgb(255, 255, 255)));
    EXPECT_EQ(hex(dark.minute_hand), hex(make_rgb(191, 191, 191))) << "the hands turn with the scheme";
}

TEST(MonthColours, HighContrastTakesOnlyTheSchemesColours) {
    const MonthColours m = month_colours(kHighContrastBlack, true);
    const SchemeColours& s = kHighContrastBlack;
    EXPECT_EQ(hex(m.text), hex(s.window_text));
    EXPECT_EQ(hex(m.red), hex(s.hot_light));
    EXPECT_EQ(hex(m.blue), hex(s.window_text));
    EXPECT_EQ(hex(m.box), hex(s.highlight));
    EXPECT_FALSE(m.box_text_own);
    EXPECT_EQ(hex(m.box_text), hex(s.highlight_text));
    for (ColorRef c : {m.halo, m.clock_ticks, m.hour_hand, m.minute_hand, m.tick})
        EXPECT_TRUE(c == s.window || c == s.window_text) << hex(c);
    // A link colour too close to the window is not used for the red days.
    SchemeColours dim = s;
    dim.hot_light = make_rgb(20, 20, 40);
    EXPECT_EQ(hex(month_colours(dim, true).red), hex(dim.window_text));
}

TEST(MonthColours, DayColoursByClass) {
    const MonthColours m = month_colours(kClassic, false);
    const MonthColours hc = month_colours(kHighContrastBlack, true);
    DayClass plain = {}, sunday = {}, saturday = {}, marked = {}, red_marked = {};
    sunday.sunday = sunday.red = true;
    saturday.saturday = true;
    marked.marked = true;
    red_marked.red = red_marked.marked = true;
    const struct {
        const char* what;
        DayClass c;
        int cmode;
        const MonthColours* m;
        bool boxed;
        ColorRef want;
    } cases[] = {
        {"plain", plain, 1, &m, false, m.text},
        {"sunday", sunday, 1, &m, false, m.red},
        {"saturday coloured", saturday, 1, &m, false, m.blue},
        {"saturday plain", saturday, 0, &m, false, m.text},
        {"marked, no boxes", marked, 0, &m, false, m.blue},
        {"red and marked, no boxes", red_marked, 0, &m, false, m.magenta},
        {"marked on its box keeps its colour", marked, 1, &m, true, m.text},
        {"high contrast: on a box the box's text", sunday, 1, &hc, true, hc.box_text},
        {"high contrast: red days", sunday, 1, &hc, false, hc.red},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(day_text_colour(c.c, c.cmode, *c.m, c.boxed)), hex(c.want)) << c.what;
    EXPECT_EQ(weekday_colour(0, 1, m), m.red);
    EXPECT_EQ(weekday_colour(6, 1, m), m.blue);
    EXPECT_EQ(weekday_colour(6, 2, m), m.text) << "the heading wants exactly 1";
    EXPECT_EQ(weekday_colour(3, 1, m), m.text);
}

TEST(MonthColours, ShapesTellTheDaysApart) {
    DayClass national = {}, sunday = {}, saturday = {}, entry_holiday_sunday = {}, substitute = {},
             marked = {};
    national.national = national.red = true;
    sunday.sunday = sunday.red = true;
    saturday.saturday = true;
    entry_holiday_sunday.holiday = entry_holiday_sunday.sunday = entry_holiday_sunday.red = true;
    substitute.substitute = substitute.red = true;
    marked.marked = true;
    const struct {
        const char* what;
        DayClass c;
        int cmode;
        unsigned want;
    } cases[] = {
        {"national holiday", national, 1, kShapeUnderline},
        {"sunday", sunday, 1, kShapeBold},
        {"saturday coloured", saturday, 1, kShapeItalic},
        {"saturday not coloured", saturday, 0, kShapeNone},
        {"a holiday entry on a sunday", entry_holiday_sunday, 1, kShapeBold | kShapeUnderline},
        {"the monday after it", substitute, 1, kShapeUnderline},
        {"marked", marked, 1, kShapeNone},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(day_shape(c.c, c.cmode, true), c.want) << c.what;
        EXPECT_EQ(day_shape(c.c, c.cmode, false), kShapeNone) << c.what;
    }
    EXPECT_TRUE(shapes_shown(1, false));
    EXPECT_TRUE(shapes_shown(0, true));
    EXPECT_FALSE(shapes_shown(0, false));
    EXPECT_EQ(weekday_shape(0, 1, true), kShapeBold);
    EXPECT_EQ(weekday_shape(6, 1, true), kShapeItalic);
    EXPECT_EQ(weekday_shape(6, 0, true), kShapeNone);
    EXPECT_EQ(weekday_shape(0, 1, false), kShapeNone);
    // Marked days keep a box where Saturdays are not coloured once shapes are shown.
    EXPECT_FALSE(day_boxed(marked, false));
    EXPECT_TRUE(day_boxed(marked, true));
}

TEST(MonthColours, ShapedFontsDifferFromTheirBase) {
    const struct {
        int weight, italic;
        unsigned shape;
        int want_weight, want_italic;
    } cases[] = {
        {400, 0, kShapeBold, 700, 0},
        {700, 0, kShapeBold, 400, 0},   // a bold face shows Sundays regular
        {400, 0, kShapeItalic, 400, 1},
        {400, 1, kShapeItalic, 400, 0},  // an italic face shows Saturdays upright
        {300, 0, kShapeUnderline, 300, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shaped_weight(c.weight, c.shape), c.want_weight);
        EXPECT_EQ(shaped_italic(c.italic, c.shape), c.want_italic);
    }
}

}  // namespace
