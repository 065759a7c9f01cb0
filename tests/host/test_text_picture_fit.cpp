// When copying a text's picture gives the same pixels as writing it: the inked rectangle of a
// picture, and the rule that no ink meets another or a shape drawn before the texts.
#include <gtest/gtest.h>

#include <vector>

#include "app/text_picture_fit.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// A w x h 24-bit picture of stride bytes per row (padding filled with junk), all white.
struct Picture {
    int w, h, stride;
    std::vector<unsigned char> rows;
    Picture(int width, int height)
        : w(width), h(height), stride((3 * width + 3) & ~3), rows(stride * height, 0xAB) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) set(x, y, 0xFF, 0xFF, 0xFF);
    }
    void set(int x, int y, unsigned char b, unsigned char g, unsigned char r) {
        unsigned char* p = &rows[y * stride + 3 * x];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    CellRect ink(uint32_t back = kWhite) const { return ink_bounds(rows.data(), stride, w, h, back); }
};

bool same(const CellRect& a, const CellRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(TextPictureFit, InkBoundsHoldEveryPixelOtherThanTheBack) {
    Picture blank(5, 3);  // 15 bytes a row, padded to 16 with junk that is never ink
    EXPECT_TRUE(rect_empty(blank.ink()));

    Picture one(7, 5);
    one.set(3, 2, 0xFF, 0xFF, 0xFE);  // one channel off by one is ink
    EXPECT_TRUE(same(one.ink(), CellRect{3, 2, 4, 3}));

    Picture spread(9, 6);
    spread.set(1, 4, 0, 0, 0);
    spread.set(8, 0, 0x80, 0x80, 0x80);
    EXPECT_TRUE(same(spread.ink(), CellRect{1, 0, 9, 5}));

    // Channels in blue, green, red order against a COLORREF back (0x00BBGGRR).
    Picture red(2, 1);
    red.set(0, 0, 0x00, 0x00, 0xFF);
    red.set(1, 0, 0x00, 0x00, 0xFF);
    EXPECT_TRUE(rect_empty(red.ink(0x000000FF)));
    EXPECT_TRUE(same(red.ink(0x00FF0000), CellRect{0, 0, 2, 1}));

    EXPECT_TRUE(rect_empty(ink_bounds(nullptr, 4, 1, 1, kWhite)));
    EXPECT_TRUE(rect_empty(ink_bounds(one.rows.data(), 2, 7, 5, kWhite))) << "stride too short";
    EXPECT_TRUE(rect_empty(ink_bounds(one.rows.data(), one.stride, 0, 5, kWhite)));
}

TEST(TextPictureFit, InksMustMeetNothingDrawnBeforeOrBesideThem) {
    const CellRect button = {0, 0, 20, 20};
    const CellRect box = {40, 40, 80, 70};
    const CellRect shapes[] = {button, box};
    const struct {
        const char* what;
        std::vector<PlacedInk> texts;
        bool fit;
    } cases[] = {
        {"apart on the window colour", {{{30, 0, 50, 10}, -1}, {{60, 0, 70, 10}, -1}}, true},
        {"two inks side by side, touching edges", {{{30, 0, 50, 10}, -1}, {{50, 0, 60, 10}, -1}}, true},
        {"two inks sharing a pixel", {{{30, 0, 51, 10}, -1}, {{50, 9, 60, 20}, -1}}, false},
        {"an ink reaching into a button", {{{19, 19, 30, 30}, -1}}, false},
        {"an ink on the window colour reaching a box", {{{30, 45, 41, 50}, -1}}, false},
        {"an ink inside its box's border", {{{41, 41, 79, 69}, 1}}, true},
        {"an ink on the box's border", {{{40, 45, 60, 50}, 1}}, false},
        {"an ink beyond its box", {{{60, 60, 90, 69}, 1}}, false},
        {"an ink on a box but inside the other shape", {{{5, 5, 10, 10}, 1}}, false},
        {"a box index out of range", {{{41, 41, 50, 50}, 2}}, false},
        {"an empty ink is passed over", {{{10, 10, 10, 30}, -1}, {{5, 5, 10, 10}, 0}}, true},
        {"empty inks only", {{{10, 10, 10, 30}, -1}, {{0, 0, 0, 0}, 1}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(inks_fit(c.texts.data(), static_cast<int>(c.texts.size()), shapes, 2), c.fit);
    }
    // An empty shape (a button not laid out) meets nothing.
    const CellRect none[] = {{25, 25, 25, 25}};
    const PlacedInk around = {{0, 0, 50, 50}, -1};
    EXPECT_TRUE(inks_fit(&around, 1, none, 1));
}

}  // namespace
