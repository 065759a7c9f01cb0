// The DIB section every off-screen picture starts from: each shape's rows as GDI draws into
// them, a DC without pixels for an empty shape, sizes beyond what its rows can address, and
// moves that leave one owner.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "image/dib_section_win.h"

namespace {

DibShape shape(int w, int h, WORD bits, bool top_down) {
    DibShape s;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.top_down = top_down;
    s.colours[1] = RGBQUAD{255, 255, 255, 0};
    return s;
}

// A pixel drawn at the top left lands in the first row of a top-down section and in the last
// of a bottom-up one; a one-bit section sets its bit where white is drawn.
TEST(DibSection, RowsAsEachShapeOrdersThem) {
    struct Case {
        int w, h;
        WORD bits;
        bool top_down;
        int stride;
        int row_of_top;
    };
    const Case cases[] = {
        {5, 3, 24, false, 16, 2},
        {5, 3, 24, true, 16, 0},
        {33, 4, 1, true, 8, 0},
        {1, 1, 1, false, 4, 0},
    };
    for (const Case& c : cases) {
        DibSection d;
        ASSERT_TRUE(d.make(shape(c.w, c.h, c.bits, c.top_down))) << c.w << "x" << c.h;
        ASSERT_TRUE(d);
        EXPECT_EQ(d.stride(), c.stride);
        EXPECT_EQ(d.header().biHeight, c.top_down ? -c.h : c.h);
        EXPECT_EQ(d.header().biSizeImage, static_cast<DWORD>(c.stride * c.h));
        SetPixel(d.dc(), 0, 0, RGB(255, 255, 255));
        GdiFlush();
        const unsigned char* top = d.rows() + c.row_of_top * c.stride;
        if (c.bits == 1)
            EXPECT_EQ(top[0] & 0x80, 0x80) << c.w;
        else
            EXPECT_EQ(top[0] + top[1] + top[2], 3 * 255) << c.w;
    }
}

TEST(DibSection, EmptyShapeHasADcOnlyAndHugeOnesAreRefused) {
    DibSection d;
    EXPECT_TRUE(d.make(shape(0, 10, 24, false)));
    EXPECT_NE(d.dc(), nullptr);
    EXPECT_FALSE(d);
    EXPECT_EQ(d.rows(), nullptr);
    EXPECT_FALSE(d.make(shape(40000, 40000, 24, false))) << "4.8 GB of rows";
    EXPECT_FALSE(d);
    EXPECT_EQ(d.width(), 0);
}

TEST(DibSection, MovesLeaveOneOwner) {
    DibSection a, b;
    ASSERT_TRUE(a.make(shape(4, 4, 24, true)));
    ASSERT_TRUE(b.make(shape(8, 2, 24, true)));
    const HBITMAP old_b = b.bitmap();
    const HDC old_b_dc = b.dc();
    b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(a.dc(), nullptr);
    EXPECT_EQ(b.width(), 4);
    EXPECT_EQ(GetObjectType(old_b), 0u) << "the replaced bitmap is deleted";
    EXPECT_EQ(GetObjectType(old_b_dc), 0u) << "and its DC";
    DibSection c(std::move(b));
    EXPECT_FALSE(b);
    SetPixel(c.dc(), 3, 3, RGB(0, 0, 255));
    GdiFlush();
    EXPECT_EQ(c.rows()[3 * c.stride() + 3 * 3], 255) << "blue, last row of a top-down section";
}

}  // namespace
