// Clock text formats, the direction tables and the analog face geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/clock_layout.h"

namespace {

TEST(ClockText, EveryFormat) {
    struct Case {
        int h, m, s, method, ampm, secs;
        const char* want;
    } cases[] = {
        {9, 5, 7, 0, 0, 1, "    9:05:07"},
        {9, 5, 7, 0, 1, 0, "    9:05"},
        {23, 59, 0, 0, 0, 0, "   23:59"},
        {0, 30, 0, 1, 1, 0, "    0:30 AM"},
        {12, 30, 0, 1, 1, 0, "    0:30 PM"},
        {23, 59, 0, 1, 1, 0, "   11:59 PM"},
        {23, 59, 0, 1, 0, 0, "   PM 11:59"},
        {11, 2, 0, 1, 0, 0, "   AM 11:02"},
        {13, 4, 9, 1, 1, 1, "    1:04:09 PM"},
        {13, 4, 9, 1, 0, 1, "   PM  1:04:09"},
        {0, 0, 0, 1, 0, 1, "   AM  0:00:00"},
    };
    for (const Case& c : cases) {
        char text[32];
        format_clock_text(text, sizeof text, c.h, c.m, c.s, c.method, c.ampm, c.secs);
        EXPECT_STREQ(text, c.want) << c.h << ":" << c.m << " method " << c.method;
    }
    char small[6];
    format_clock_text(small, sizeof small, 23, 59, 59, 1, 1, 1);
    EXPECT_STREQ(small, "   11");
}

TEST(ClockTables, DirectionsPointClockwiseFromTwelve) {
    clock_tables_fill();
    struct Case {
        int i;
        double c, s;
    } cases[] = {{0, 0, -1}, {15, 1, 0}, {30, 0, 1}, {45, -1, 0}};
    for (const Case& c : cases) {
        EXPECT_NEAR(clock_cos[c.i], c.c, 1e-4) << c.i;
        EXPECT_NEAR(clock_sin[c.i], c.s, 1e-4) << c.i;
    }
    for (int i = 0; i < 60; ++i)
        EXPECT_NEAR(clock_cos[i] * clock_cos[i] + clock_sin[i] * clock_sin[i], 1.0, 1e-12);
}

TEST(ClockLayout, DigitalRectRightAlignedAtAnchor) {
    CellRect r = digital_clock_rect(312, 298, 90, 28);
    EXPECT_EQ(r.left, 222);
    EXPECT_EQ(r.top, 298);
    EXPECT_EQ(r.right, 312);
    EXPECT_EQ(r.bottom, 326);
}

// 340 x 340 with the analog clock: col_unit 14, row_height 33, anchor (312, 266).
TEST(ClockLayout, AnalogFaceGeometry) {
    AnalogClock a;
    analog_clock(340, 14, 33, 312, 266, 100, 3, 0, &a);
    ASSERT_TRUE(a.face);
    EXPECT_EQ(a.r, 49);
    EXPECT_EQ(a.cx, 263);
    EXPECT_EQ(a.cy, 282);
    EXPECT_EQ(a.face_rect.top, 7 * 33 + 2);  // level with the sixth week row
    EXPECT_EQ(a.face_rect.left, 214);
    EXPECT_EQ(a.face_rect.right, 312);
    EXPECT_EQ(a.face_rect.bottom, 331);
    // 3:00: hour hand exactly right, minute hand straight up, its tail straight down.
    EXPECT_EQ(a.hour_hand[0].y, a.cy);
    EXPECT_EQ(a.hour_hand[0].x, a.cx + (int)(0.6 * 49 * clock_cos[15]));
    EXPECT_GT(a.hour_hand[0].x, a.cx + 28);
    EXPECT_EQ(a.minute_hand[0].x, a.cx);
    EXPECT_EQ(a.minute_hand[0].y, a.cy + (int)(0.85 * 49 * clock_sin[0]));
    EXPECT_EQ(a.minute_hand[2].x, a.cx);
    EXPECT_GT(a.minute_hand[2].y, a.cy);
    // Ticks: long at 12/3/6/9, short elsewhere; all outer ends on the circle.
    EXPECT_EQ(a.tick_to[0].y, a.cy - 48);  // trunc(49 * -0.99999...) toward zero
    EXPECT_EQ(a.tick_from[0].y, a.cy + (int)(0.75 * 49 * clock_sin[0]));
    EXPECT_EQ(a.tick_from[1].x, a.cx + (int)(0.9 * 49 * clock_cos[5]));
    for (int k = 0; k < 12; ++k) {
        double dx = a.tick_to[k].x - a.cx, dy = a.tick_to[k].y - a.cy;
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 49, 1.5) << k;
    }
    // Text to the left of the face.
    EXPECT_EQ(a.text_x, 214 - 4);
    EXPECT_EQ(a.text_y, 266 + 33);
    EXPECT_EQ(a.text_rect.left, 210 - 100);
    EXPECT_EQ(a.text_rect.right, 214);
    EXPECT_EQ(a.text_rect.bottom, 299 + 33);
}

TEST(ClockLayout, HourHandAdvancesEveryTwelveMinutes) {
    struct Case {
        int h, m, mark;
    } cases[] = {{3, 0, 15}, {3, 59, 19}, {15, 11, 15}, {15, 12, 16}, {0, 0, 0}, {12, 48, 4},
                 {23, 30, 57}};
    for (const Case& c : cases) {
        AnalogClock a;
        analog_clock(340, 14, 33, 312, 266, 100, c.h, c.m, &a);
        ClockPoint want = clock_point(a.cx, a.cy, a.r, c.mark, 0.6);
        EXPECT_EQ(a.hour_hand[0].x, want.x) << c.h << ":" << c.m;
        EXPECT_EQ(a.hour_hand[0].y, want.y) << c.h << ":" << c.m;
        ClockPoint tail = clock_point(a.cx, a.cy, a.r, c.mark + 30, 0.2);
        EXPECT_EQ(a.hour_hand[2].x, tail.x);
        EXPECT_EQ(a.hour_hand[2].y, tail.y);
        ClockPoint min = clock_point(a.cx, a.cy, a.r, c.m, 0.85);
        EXPECT_EQ(a.minute_hand[0].x, min.x);
        EXPECT_EQ(a.minute_hand[0].y, min.y);
    }
}

TEST(ClockLayout, RadiusLimitInNarrowWindows) {
    struct Case {
        int right, col_unit, row_height, text_w;
        bool face;
        int r;
    } cases[] = {
        {340, 14, 33, 100, true, 49},   // fits: 100 + 98 <= 284
        {200, 8, 30, 120, true, 24},    // limited: (168 - 120) / 2
        {200, 8, 30, 167, false, 0},    // (168 - 167) / 2 = 0: no face
        {100, 4, 9, 200, false, 0},     // negative: no face
        {23, 0, 29, 80, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << " text " << c.text_w);
        const int ax = c.right - 2 * c.col_unit, ay = 8 * c.row_height + 2;
        AnalogClock a;
        analog_clock(c.right, c.col_unit, c.row_height, ax, ay, c.text_w, 10, 10, &a);
        EXPECT_EQ(a.face, c.face);
        EXPECT_EQ(a.r, c.r);
        if (a.face) {
            EXPECT_EQ(a.cy - a.r, 7 * c.row_height + 2);  // the face's top stays put
            EXPECT_LE(c.text_w + 2 * a.r, c.right - 4 * c.col_unit);
        } else {
            // The tick still repaints the text.
            EXPECT_EQ(a.face_rect.left, a.text_rect.left);
            EXPECT_EQ(a.face_rect.right, a.text_rect.right);
            EXPECT_EQ(a.text_x, ax - 4);
        }
    }
}

}  // namespace
