// Month view geometry: frames, fonts, weekday columns, six-row months, narrow windows and
// shown months out of range.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/month_layout.h"
#include "calendar/date.h"

namespace {

TEST(MonthFrame, FontsRowsAndAnchor) {
    struct Case {
        int w, h, clock_mode, weeklang;
        int col_unit, row_height, font_unit, wd_font, wd_y, anchor_x, anchor_y;
    } cases[] = {
        // 340 x 340: col 14, rows 42, font min(28, 42) = 28.
        {340, 340, 0, 1, 14, 42, 28, -22, 46, 312, 338},
        {340, 340, 0, 0, 14, 42, 28, -16, 49, 312, 338},   // offset 12*28/100 = 3
        {340, 340, 1, 0, 14, 37, 28, -16, 44, 312, 298},   // digital: rows / 9
        {340, 340, 2, 1, 14, 33, 28, -22, 37, 312, 266},   // analog: rows / 10
        {1920, 1200, 0, 0, 80, 149, 149, -89, 170, 1760, 1194},
        {20, 300, 0, 1, 0, 37, 0, 0, 41, 20, 298},         // narrow: col_unit 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " clock " << c.clock_mode);
        MonthFrame f = month_frame({0, 0, c.w, c.h}, c.clock_mode, c.weeklang);
        EXPECT_EQ(f.m.col_unit, c.col_unit);
        EXPECT_EQ(f.m.row_height, c.row_height);
        EXPECT_EQ(f.m.font_unit, c.font_unit);
        EXPECT_EQ(f.day_font_height, -c.font_unit);
        EXPECT_EQ(f.weekday_font_height, c.wd_font);
        EXPECT_EQ(f.weekday_y, c.wd_y);
        EXPECT_EQ(f.clock_anchor_x, c.anchor_x);
        EXPECT_EQ(f.clock_anchor_y, c.anchor_y);
        EXPECT_EQ(f.header_x, c.w / 2);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(f.weekday_x[i], c.w / 2 + (i - 3) * 3 * c.col_unit) << i;
    }
}

TEST(MonthFrame, NarrowWindowCollapsesColumnsOntoCentre) {
    MonthFrame f = month_frame({0, 0, 23, 200}, 0, 0);
    EXPECT_EQ(f.m.col_unit, 0);
    MonthGrid g;
    month_grid(f, 23, 0, 0, 2009, 5, &g);
    for (int d = 0; d < g.days; ++d) EXPECT_EQ(g.text_x[d], 11);
}

TEST(MonthGrid, SixRowMonthFitsInsideTheClient) {
    // May 2004 starts on a Saturday and has 31 days: six week rows.
    const int sizes[][2] = {{340, 340}, {100, 100}, {1920, 1200}, {500, 180}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        MonthFrame f = month_frame({0, 0, s[0], s[1]}, 0, 1);
        const int digit_h = f.m.font_unit;  // a font is about as tall as its height
        const int digit_w = f.m.font_unit;
        MonthGrid g;
        month_grid(f, s[0], digit_w, digit_h, 2004, 5, &g);
        ASSERT_EQ(g.days, 31);
        ASSERT_EQ(g.first_weekday, 6);
        const int rh = f.m.row_height;
        EXPECT_EQ(g.text_y[0], 2 * rh + 2);
        EXPECT_EQ(g.text_y[30], 2 * rh + 2 + 5 * rh);  // the sixth row
        EXPECT_LE(g.text_y[30] + rh, 8 * rh + 2);
        EXPECT_LE(8 * rh + 2, s[1]);
        for (int d = 0; d < 31; ++d) {
            const CellRect& c = g.drawn[d];
            EXPECT_GE(c.left, 0) << d + 1;
            EXPECT_LE(c.right, s[0]) << d + 1;
            EXPECT_GE(c.top, 0) << d + 1;
            EXPECT_LE(c.bottom, s[1]) << d + 1;
            EXPECT_EQ(g.cells.day_cells[d].bottom + 1, c.bottom);
        }
    }
}

TEST(MonthGrid, ColumnsFollowWeekdays) {
    MonthFrame f = month_frame({0, 0, 340, 340}, 0, 0);
    MonthGrid g;
    month_grid(f, 340, 20, 28, 2009, 5, &g);  // 1 May 2009 is a Friday
    ASSERT_EQ(g.first_weekday, 5);
    EXPECT_EQ(g.text_x[0], f.weekday_x[5]);
    EXPECT_EQ(g.text_x[2], f.weekday_x[0]);  // Sunday the 3rd
    EXPECT_EQ(g.text_y[2], g.text_y[0] + f.m.row_height);
    EXPECT_EQ(g.cells.day_cells[2].left, f.weekday_x[0] - 10 - 2);
    EXPECT_EQ(g.cells.day_cells[2].right, f.weekday_x[0] + 10 + 2);
    EXPECT_EQ(g.cells.day_cells[2].top, g.text_y[2] + 1);
    EXPECT_EQ(g.cells.day_cells[2].bottom, g.text_y[2] + 28 - 2);
    EXPECT_NE(g.cells.day_cells[30].left, -1);  // May has 31 days: the last cell is used
    month_grid(f, 340, 20, 28, 2009, 2, &g);
    EXPECT_EQ(g.days, 28);
    for (int d = 28; d < 31; ++d) {
        EXPECT_EQ(g.cells.day_cells[d].left, -1);
        EXPECT_EQ(g.cells.day_cells[d].bottom, -1);
        EXPECT_EQ(g.drawn[d].bottom, -1);
    }
}

// The wide, short window with a clock: rows of a tenth of the height, and a day font no
// taller than a row (it used to come from an eighth and run into the row below).
TEST(MonthFrame, WideShortWindowWithClock) {
    const struct {
        int clock_mode, row_height, font_unit;
    } cases[] = {{0, 27, 27}, {1, 24, 24}, {2, 21, 21}};
    for (const auto& c : cases) {
        const MonthFrame f = month_frame({0, 0, 1100, 220}, c.clock_mode, 1);
        EXPECT_EQ(f.m.row_height, c.row_height) << c.clock_mode;
        EXPECT_EQ(f.day_font_height, -c.font_unit) << c.clock_mode;
    }
}

// At every size, with and without a clock and with either weekday names: the day font fits
// a row, the header ends above the weekday row and the weekday names above the first week
// row; the boxes of the days (as drawn, measured with a font as tall and as wide as asked
// for, or wider) stay within their row and keep a pixel off the neighbouring columns.
TEST(MonthFrame, FontsAndBoxesFitTheirRowsAtEverySize) {
    const int sizes[][2] = {{100, 100}, {150, 100}, {340, 340}, {340, 200}, {1100, 220},
                            {1920, 1200}, {800, 161}, {2000, 150}, {150, 1000}, {500, 180},
                            {3000, 300}, {120, 600}, {260, 140}};
    for (const auto& s : sizes)
        for (int clock_mode = 0; clock_mode <= 2; ++clock_mode)
            for (int weeklang = 0; weeklang <= 1; ++weeklang) {
                SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " clock " << clock_mode
                                                << " weeklang " << weeklang);
                const MonthFrame f = month_frame({0, 0, s[0], s[1]}, clock_mode, weeklang);
                const int rh = f.m.row_height;
                ASSERT_GT(f.m.col_unit, 0);
                EXPECT_LE(-f.day_font_height, rh);
                EXPECT_LE(f.header_y - f.day_font_height, f.weekday_y);
                EXPECT_LE(f.weekday_y - f.weekday_font_height, f.m.first_row_top);
                EXPECT_LT(f.weekday_font_height, 0);
                for (int wide = 1; wide <= 2; ++wide) {
                    const int digit_h = -f.day_font_height + 2;  // a cell taller than its em
                    const int digit_w = wide * -f.day_font_height;
                    MonthGrid g;
                    month_grid(f, s[0], digit_w, digit_h, 2004, 5, &g);  // six rows
                    for (int d = 0; d < g.days; ++d) {
                        const CellRect& c = g.drawn[d];
                        const int row_top = g.text_y[d];
                        const int col_left = g.text_x[d] - (3 * f.m.col_unit) / 2;
                        EXPECT_GE(c.top, row_top) << d + 1;
                        EXPECT_LE(c.bottom, row_top + rh) << d + 1;
                        EXPECT_GE(c.left, col_left + 1) << d + 1;
                        EXPECT_LE(c.right, col_left + 3 * f.m.col_unit - 1) << d + 1;
                        EXPECT_LE(c.left, c.right) << d + 1;
                    }
                }
            }
}

TEST(MonthGrid, ArrowsAndHeaderBand) {
    MonthFrame f = month_frame({0, 0, 340, 340}, 0, 0);
    struct Case {
        int digit_h, b;
    } cases[] = {{5, 8}, {12, 10}, {28, 16}, {60, 16}};
    for (const Case& c : cases) {
        MonthGrid g;
        month_grid(f, 170, 20, c.digit_h, 2009, 5, &g);  // image band: area ends at 170
        EXPECT_EQ(g.cells.left_arrow.left, 4);
        EXPECT_EQ(g.cells.left_arrow.right, c.b + 4);
        EXPECT_EQ(g.cells.left_arrow.bottom, c.b + 2);
        EXPECT_EQ(g.cells.right_arrow.right, 166);
        EXPECT_EQ(g.cells.right_arrow.left, 166 - c.b);
        EXPECT_EQ(g.cells.header_height, c.digit_h + 2);
    }
}

TEST(MonthGrid, ShownMonthOutOfRangeIsClamped) {
    MonthFrame f = month_frame({0, 0, 340, 340}, 0, 0);
    const int months[][2] = {{0, 1}, {-5, 1}, {13, 12}, {1000000, 12}, {7, 7}};
    for (const auto& m : months) {
        MonthGrid g;
        month_grid(f, 340, 20, 28, 2009, m[0], &g);
        EXPECT_EQ(g.month, m[1]);
        EXPECT_EQ(g.days, days_in_month(m[1], 2009));
        char text[32];
        format_month_header(text, sizeof text, 0, 2009, m[0], 0);
        EXPECT_EQ(std::string(text), std::string(month_names_en[m[1]]) + " 2009");
    }
}

TEST(MonthTexts, HeaderAndWeekdays) {
    char text[32];
    format_month_header(text, sizeof text, 1, 2004, 5, 0);
    EXPECT_STREQ(text, "2004年 5月");
    format_month_header(text, sizeof text, 0, 2004, 12, 0);
    EXPECT_STREQ(text, "December 2004");
    format_month_header(text, 6, 0, 2004, 12, 0);  // cut to the buffer
    EXPECT_STREQ(text, "Decem");
    EXPECT_STREQ(weekday_label(0, 6), "Sat");
    EXPECT_STREQ(weekday_label(1, 0), weekday_names_ja[0]);
    EXPECT_STREQ(weekday_label(1, 7), "");
}

TEST(MonthTexts, DateBefore) {
    EXPECT_TRUE(date_before(2009, 5, 3, 2009, 5, 4));
    EXPECT_FALSE(date_before(2009, 5, 4, 2009, 5, 4));
    EXPECT_TRUE(date_before(2008, 12, 31, 2009, 1, 1));
    EXPECT_FALSE(date_before(2009, 6, 1, 2009, 5, 31));
}

// The runs put every digit where the centred "%2d" would: replaying the steps from each run's
// origin gives each day's digits at its centre less half the text's extent, one- and
// two-digit days, every colour's days in one run, in several month shapes and fonts.
TEST(DayTextRuns, EveryDigitWhereTheCentredNumberWouldBe) {
    const int proportional[11] = {5, 9, 7, 9, 9, 10, 9, 9, 8, 9, 9};  // ' ', then '0'..'9'
    const int fixed[11] = {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};
    const struct {
        int w, h, year, month;
        const int* widths;
    } cases[] = {
        {340, 340, 2009, 5, proportional},  // Friday the 1st, five rows
        {340, 340, 2009, 8, fixed},         // Saturday the 1st, six rows
        {1100, 220, 2010, 2, proportional}, // Monday the 1st, four rows
        {23, 200, 2009, 5, proportional},   // columns collapsed onto the centre
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " " << c.year << "-" << c.month);
        const MonthFrame f = month_frame({0, 0, c.w, c.h}, 0, 0);
        MonthGrid g;
        month_grid(f, c.w, 18, 20, c.year, c.month, &g);
        uint32_t colours[31];
        for (int d = 0; d < 31; ++d) colours[d] = weekday_of(c.year, c.month, d + 1) == 0 ? 1u : d % 4 == 3 ? 2u : 0u;
        TextRun runs[31];
        const int n = day_text_runs(g, colours, c.widths, runs, 31);
        ASSERT_EQ(n, 3);
        int found[31] = {};  // digits found per day
        for (int i = 0; i < n; ++i) {
            const TextRun& r = runs[i];
            int x = r.x, y = r.y;
            for (int k = 0; k < r.count; ++k) {
                // The day whose digit this is: the one whose place holds it, of the run's colour.
                int day = -1;
                for (int d = 0; d < g.days; ++d) {
                    const int tens = d + 1 >= 10 ? c.widths[1 + (d + 1) / 10] : c.widths[0];
                    const int ones = c.widths[1 + (d + 1) % 10];
                    const int left = g.text_x[d] - (tens + ones) / 2;
                    const uint16_t want_tens = static_cast<uint16_t>('0' + (d + 1) / 10);
                    const uint16_t want_ones = static_cast<uint16_t>('0' + (d + 1) % 10);
                    if (colours[d] != r.colour || y != g.text_y[d]) continue;
                    if ((d + 1 >= 10 && x == left && r.text[k] == want_tens && found[d] == 0) ||
                        (x == left + tens && r.text[k] == want_ones && found[d] == (d + 1 >= 10))) {
                        day = d;
                        break;
                    }
                }
                ASSERT_GE(day, 0) << "run " << i << " digit " << k << " at " << x << "," << y;
                ++found[day];
                x += r.dxy[2 * k];
                y -= r.dxy[2 * k + 1];  // steps count upward
            }
        }
        for (int d = 0; d < g.days; ++d) EXPECT_EQ(found[d], d + 1 >= 10 ? 2 : 1) << "day " << d + 1;
    }
}

TEST(DayTextRuns, ColoursInTheOrderTheyFirstShowAndNoMoreThanAsked) {
    const int widths[11] = {5, 9, 7, 9, 9, 10, 9, 9, 8, 9, 9};
    const MonthFrame f = month_frame({0, 0, 340, 340}, 0, 0);
    MonthGrid g;
    month_grid(f, 340, 18, 20, 2009, 5, &g);
    uint32_t colours[31];
    for (int d = 0; d < 31; ++d) colours[d] = static_cast<uint32_t>(d % 7 == 1 ? 7 : d % 7 == 2 ? 9 : 4);
    TextRun runs[31];
    ASSERT_EQ(day_text_runs(g, colours, widths, runs, 31), 3);
    EXPECT_EQ(runs[0].colour, 4u);
    EXPECT_EQ(runs[1].colour, 7u);
    EXPECT_EQ(runs[2].colour, 9u);
    EXPECT_EQ(runs[0].count + runs[1].count + runs[2].count, 9 + 2 * 22);  // 1..9 one digit each
    EXPECT_EQ(day_text_runs(g, colours, widths, runs, 2), 2);  // the third colour does not fit
    g.days = 0;
    EXPECT_EQ(day_text_runs(g, colours, widths, runs, 31), 0);
}

// The line of a face as this machine's default face measures it: a font of height h takes
// about 8 % more rows (Wine's and Windows' Japanese gothic faces alike), for the fit checks.
int measured_line(int h) { return (h * 108 + 99) / 100; }

// The line under the numbers at many sizes, with and without a clock: either the frame leaves
// it out and keeps the numbers whole, or the numbers make room for a line half their height,
// readable, and the line as measured stays in its day's cell: under the number, a pixel above
// the next row, a pixel inside its column, never touching a neighbour's line.
TEST(DayLabels, InsideTheirCellsOrLeftOutAtEverySize) {
    const int sizes[][2] = {{100, 100}, {150, 120}, {200, 150}, {200, 190}, {240, 240},
                            {300, 260}, {328, 290}, {340, 340}, {400, 300}, {1100, 220},
                            {1920, 1200}, {800, 161}, {2000, 150}, {150, 1000}, {500, 180},
                            {3000, 300}, {120, 600}, {260, 140}, {640, 480}, {1024, 700}};
    int shown = 0, left_out = 0;
    for (const auto& s : sizes)
        for (int clock_mode = 0; clock_mode <= 2; ++clock_mode) {
            SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " clock " << clock_mode);
            const CellRect area = {0, 0, s[0], s[1]};
            const MonthFrame plain = month_frame(area, clock_mode, 1, false);
            const MonthFrame f = month_frame(area, clock_mode, 1, true);
            EXPECT_EQ(plain.label_font_height, 0);
            EXPECT_EQ(plain.day_font_height, -plain.m.font_unit);
            // Nothing but the numbers' font changes with the line.
            EXPECT_EQ(f.weekday_font_height, plain.weekday_font_height);
            EXPECT_EQ(f.m.row_height, plain.m.row_height);
            if (f.label_font_height == 0) {
                ++left_out;
                EXPECT_EQ(f.day_font_height, plain.day_font_height) << "numbers keep their size";
                continue;
            }
            ++shown;
            const int number_em = -f.day_font_height, label_em = -f.label_font_height;
            EXPECT_GE(label_em, kMinDayLabelEm);
            EXPECT_LE(number_em, plain.m.font_unit);
            EXPECT_EQ(label_em, number_em / 2);
            const int digit_h = measured_line(number_em), label_h = measured_line(label_em);
            const int label_w = 2 * label_em;  // two kanji
            ASSERT_TRUE(day_labels_fit(f, digit_h, label_h, label_w));
            MonthGrid g;
            month_grid(f, s[0], (digit_h * 6) / 5, digit_h, 2004, 5, &g);  // six rows
            const int rh = f.m.row_height;
            for (int d = 0; d < g.days; ++d) {
                const int top = day_label_top(g, d, digit_h);
                const CellRect label = {g.text_x[d] - label_w / 2, top,
                                        g.text_x[d] - label_w / 2 + label_w, top + label_h};
                const int col_left = g.text_x[d] - (3 * f.m.col_unit) / 2;
                EXPECT_GE(label.top, g.drawn[d].bottom) << d + 1 << ": under the number's box";
                EXPECT_LE(label.bottom, g.text_y[d] + rh - 1) << d + 1;
                EXPECT_GE(label.left, col_left + 1) << d + 1;
                EXPECT_LE(label.right, col_left + 3 * f.m.col_unit - 1) << d + 1;
                EXPECT_LE(label.bottom, s[1]) << d + 1;
                if (d + 1 < g.days && g.text_y[d + 1] == g.text_y[d]) {
                    const int next_left = g.text_x[d + 1] - label_w / 2;
                    EXPECT_LT(label.right, next_left) << d + 1 << ": a gap to the next day's";
                }
            }
        }
    EXPECT_GT(shown, 10);  // both ways are taken
    EXPECT_GT(left_out, 10);
}

// Where the line goes and where it does not, as a user sees the window: at the default size
// without a clock and in a large window, not in a small one nor with a clock at the default
// size; the numbers give up only what the line needs.
TEST(DayLabels, RoomAtTheSizesUsersKeep) {
    const struct {
        int w, h, clock_mode;
        int number_em, label_em;  // 0: no line
    } cases[] = {
        {340, 340, 0, 24, 12},    // rows of 42: numbers 24 (of 28), labels 12
        {328, 290, 0, 21, 10},    // the default window's client: rows of 36
        {1920, 1200, 0, 89, 44},  // rows of 149
        {150, 1000, 0, 12, 0},    // tall and narrow: numbers limited by the columns (12)
        {200, 190, 0, 16, 0},     // rows of 23: a line would be 7 rows
        {328, 290, 1, 26, 0},     // the default window with a digital clock: rows of 32
        {1100, 220, 2, 21, 0},    // wide and short with an analog clock: rows of 21
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " clock " << c.clock_mode);
        const MonthFrame f = month_frame({0, 0, c.w, c.h}, c.clock_mode, 0, true);
        EXPECT_EQ(f.day_font_height, -c.number_em);
        EXPECT_EQ(f.label_font_height, -c.label_em);
    }
}

// The measured fonts decide: a line a pixel too tall or a label a pixel too wide for its
// column is left out, as is any line when the frame has none.
TEST(DayLabels, MeasuredFontsDecide) {
    const MonthFrame f = month_frame({0, 0, 340, 340}, 0, 0, true);  // rows 42, columns of 42
    ASSERT_EQ(f.m.row_height, 42);
    ASSERT_EQ(f.m.col_unit, 14);
    EXPECT_TRUE(day_labels_fit(f, 26, 15, 40));
    EXPECT_FALSE(day_labels_fit(f, 26, 16, 40)) << "ends on the next row's first pixel row";
    EXPECT_FALSE(day_labels_fit(f, 27, 15, 40));
    EXPECT_FALSE(day_labels_fit(f, 26, 15, 41)) << "touches the next column";
    EXPECT_FALSE(day_labels_fit(f, 26, 0, 40));
    EXPECT_FALSE(day_labels_fit(f, 26, 15, 0));
    const MonthFrame none = month_frame({0, 0, 340, 340}, 0, 0, false);
    EXPECT_FALSE(day_labels_fit(none, 26, 12, 24));
}

}  // namespace
