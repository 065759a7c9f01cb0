// The month's texts copied from their pictures give the very pixels writing them gives: the
// month painted into the off-screen surface with and without the pictures, at several sizes,
// with and without a clock, in both languages and Saturday modes, in upright, bold and italic
// faces, compared byte for byte, once when the pictures are made and once from them kept.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/clock_layout.h"
#include "app/month_layout.h"
#include "app/month_paint_win.h"
#include "app/text_pictures_win.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/program_reset.h"

namespace {

// The surface after a fill with the window colour and one paint.
std::vector<unsigned char> painted(int w, int h, const MonthView& v, MonthPaintResult* r) {
    surface_fill(GetSysColor(COLOR_WINDOW));
    paint_month(surface_dc(), w, h, v, r);
    GdiFlush();
    const unsigned char* p = surface_pixels();
    return std::vector<unsigned char>(p, p + static_cast<size_t>(surface_stride()) * h);
}

class TextPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        settings.NationalHolidays = 1;
        append_entry(&schedule, make_entry(-1, 5, 3, 1));   // a holiday of its own, every year
        append_entry(&schedule, make_entry(2019, 5, 13, 0));
        append_entry(&schedule, make_entry(2019, 5, 10, 0));
        append_entry(&schedule, make_entry(2019, 5, 31, 0));
        append_entry(&schedule, make_entry(2019, 5, 25, 0));
        clock_tables_fill();
    }
    void TearDown() override { win_test::reset_program_globals(); }
    // May 2019 on show, the 20th today, 10:10; no clock, no plain back, no pictures.
    static MonthView may_2019() {
        MonthView v = {};
        v.settings = &settings;
        v.schedule = &schedule;
        v.shown_year = v.today_year = 2019;
        v.shown_month = v.today_month = 5;
        v.today_day = 20;
        v.now_hour = 10;
        v.now_minute = 10;
        return v;
    }
};

TEST_F(TextPictureTest, CopiedTextsEqualWrittenOnes) {
    const struct Case {
        const char* what;
        int w, h;
        int clock;  // 0 none, 1 digital, 2 analog
        int weeklang, monthlang, cmode, checkmark;
        int weight, italic;
        const char* face;
        bool copied;  // the pictures are used (not written for want of room)
        int labels;   // under the numbers: 0 nothing, 1 六曜, 2 六曜 and solar terms
    } cases[] = {
        {"340 square, analog clock", 340, 340, 2, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", true},
        {"340 square, no clock", 340, 340, 0, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", true},
        {"Japanese names, English month", 340, 340, 1, 1, 0, 0, 0, 400, 0, "ＭＳ ゴシック", true},
        {"bold, ticks for past days", 300, 260, 1, 0, 1, 1, 1, 700, 0, "ＭＳ Ｐゴシック", true},
        // A slanted 12 leans over its marked box's border: the texts are written.
        {"italic", 360, 300, 0, 1, 1, 1, 0, 400, 1, "ＭＳ 明朝", false},
        {"italic, nothing marked", 360, 300, 0, 1, 1, 1, 0, 400, 1, "ＭＳ 明朝", true},
        {"wide and short with a clock", 1100, 220, 2, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", true},
        {"small", 160, 140, 1, 1, 1, 0, 0, 400, 0, "ＭＳ Ｐゴシック", true},
        {"large: written", 1600, 1000, 1, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", false},
        {"340 square, 六曜 and terms", 340, 340, 0, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", true, 2},
        {"Japanese names, 六曜, bold", 400, 400, 0, 1, 1, 0, 1, 700, 0, "ＭＳ ゴシック", true, 1},
        {"wide, 六曜 and terms", 900, 420, 0, 0, 1, 1, 0, 400, 0, "ＭＳ Ｐゴシック", true, 2},
        {"italic, 六曜: smaller numbers, no lean over a box", 360, 340, 0, 1, 1, 1, 0, 400, 1, "ＭＳ 明朝", true, 1},
        {"small: no room for the line", 160, 140, 0, 1, 1, 0, 0, 400, 0, "ＭＳ Ｐゴシック", true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.clock = c.clock != 0;
        settings.analog = c.clock == 2;
        settings.weeklang = c.weeklang;
        settings.monthlang = c.monthlang;
        settings.cmode = c.cmode;
        settings.checkmark = c.checkmark;
        settings.weight = c.weight;
        settings.italic = c.italic;
        lstrcpyA(settings.fontname, c.face);
        settings.Rokuyo = c.labels >= 1;
        settings.Kyureki = c.labels >= 2;
        // The italic face again on a month without marked boxes.
        if (std::strcmp(c.what, "italic, nothing marked") == 0) schedule.count = 0;
        ASSERT_TRUE(surface_create(c.w, c.h));
        TextPictures pictures;
        MonthView v = may_2019();
        v.clock_shown = c.clock != 0;
        v.plain_back = true;
        MonthPaintResult written = {}, made = {}, kept = {};
        const auto a = painted(c.w, c.h, v, &written);
        v.pictures = &pictures;
        MonthPaintResult first = {};
        const auto f = painted(c.w, c.h, v, &first);
        const auto b = painted(c.w, c.h, v, &made);
        const auto k = painted(c.w, c.h, v, &kept);
        EXPECT_FALSE(written.texts_copied);
        EXPECT_FALSE(first.texts_copied) << "a new look is written the first time";
        EXPECT_TRUE(a == f);
        EXPECT_EQ(made.texts_copied, c.copied);
        EXPECT_EQ(kept.texts_copied, c.copied);
        EXPECT_TRUE(a == b) << "pictures just made";
        EXPECT_TRUE(a == k) << "pictures kept";
        // Something was written at all: the comparison is of a month, not of two blanks.
        size_t inked = 0;
        for (size_t i = 0; i < a.size(); i += 3) inked += a[i] != a[0];
        EXPECT_GT(inked, 200u);
        // The line under the numbers was there to copy, but for want of room.
        if (c.labels != 0) {
            settings.Rokuyo = settings.Kyureki = 0;
            MonthPaintResult bare = {};
            v.pictures = nullptr;
            const bool room = month_frame({0, 0, c.w, c.h}, 0, 0, true).label_font_height != 0;
            EXPECT_EQ(painted(c.w, c.h, v, &bare) != a, room);
        }
        surface_destroy();
    }
}

// Over a background image (or without a plain back) the texts are written with their halo.
TEST_F(TextPictureTest, NoPicturesWithoutAPlainBack) {
    ASSERT_TRUE(surface_create(340, 340));
    TextPictures pictures;
    MonthView v = may_2019();
    v.pictures = &pictures;
    MonthPaintResult r = {};
    painted(340, 340, v, &r);
    EXPECT_FALSE(r.texts_copied);
    v.plain_back = true;
    v.halo = true;
    painted(340, 340, v, &r);
    EXPECT_FALSE(r.texts_copied);
    EXPECT_EQ(pictures.bytes(), 0);
    v.halo = false;
    painted(340, 340, v, &r);
    EXPECT_FALSE(r.texts_copied) << "first in this look";
    EXPECT_EQ(pictures.bytes(), 0);
    painted(340, 340, v, &r);
    EXPECT_TRUE(r.texts_copied);
    EXPECT_GT(pictures.bytes(), 0);
    pictures.drop();
    EXPECT_EQ(pictures.bytes(), 0);
    surface_destroy();
}

}  // namespace
