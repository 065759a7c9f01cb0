// The halo mask's rows: one-bit rows widened by a pixel each way (across byte edges, at the
// row's ends, with and without rows above and below), and picture rows whitened under the
// set bits only, for three- and four-byte pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/halo_rows.h"

namespace {

// A one-bit row from a picture like "..#.....|#......." ('|' only for reading).
std::vector<uint8_t> bits(const std::string& pic) {
    std::vector<uint8_t> out;
    int n = 0;
    for (char c : pic) {
        if (c == '|') continue;
        if (n % 8 == 0) out.push_back(0);
        if (c == '#') out.back() |= static_cast<uint8_t>(0x80u >> (n % 8));
        ++n;
    }
    return out;
}

std::string picture(const std::vector<uint8_t>& row) {
    std::string s;
    for (size_t i = 0; i < row.size(); ++i) {
        if (i) s += '|';
        for (int b = 0; b < 8; ++b) s += (row[i] & (0x80u >> b)) ? '#' : '.';
    }
    return s;
}

TEST(HaloRows, WidenedByAPixelEachWay) {
    const struct {
        const char* what;
        const char *above, *row, *below;  // nullptr: no such row
        const char* want;
    } cases[] = {
        {"one pixel", "........|........", "....#...|........", "........|........", "...###..|........"},
        {"across a byte edge", "........|........", ".......#|........", nullptr, "......##|#......."},
        {"from the next byte", nullptr, "........|#.......", nullptr, ".......#|##......"},
        {"row ends", nullptr, "#.......|.......#", nullptr, "##......|......##"},
        {"from above", "..#.....|........", "........|........", nullptr, ".###....|........"},
        {"from below", nullptr, "........|........", "........|....#...", "........|...###.."},
        {"a row of nothing", "........|........", "........|........", "........|........", "........|........"},
        {"no row at all", "#.......|........", nullptr, nullptr, "##......|........"},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> a = c.above ? bits(c.above) : std::vector<uint8_t>();
        const std::vector<uint8_t> r = c.row ? bits(c.row) : std::vector<uint8_t>();
        const std::vector<uint8_t> b = c.below ? bits(c.below) : std::vector<uint8_t>();
        std::vector<uint8_t> out(2, 0xAA);
        widen_bit_row(c.above ? a.data() : nullptr, c.row ? r.data() : nullptr,
                      c.below ? b.data() : nullptr, 2, out.data());
        EXPECT_EQ(picture(out), c.want) << c.what;
    }
}

TEST(HaloRows, WhiteOnlyUnderSetBitsWithinTheSpan) {
    const std::vector<uint8_t> mask = bits("#..##...|.......#|#.......");
    for (int bpp : {3, 4}) {
        SCOPED_TRACE(bpp);
        std::vector<uint8_t> row(24 * bpp, 0x40);
        whiten_where_set(row.data(), bpp, mask.data(), 1, 16);
        std::string got;
        for (int x = 0; x < 24; ++x) {
            const uint8_t* p = &row[x * bpp];
            got += (p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF) ? 'W' : p[0] == 0x40 ? '.' : '?';
            if (bpp == 4) {
                EXPECT_EQ(p[3], 0x40) << "the fourth byte is left alone";
            }
        }
        // x = 0 and x = 16 are set but outside the span 1..15.
        EXPECT_EQ(got, "...WW..........W........");
    }
    std::vector<uint8_t> row(3 * 8, 0x40);
    whiten_where_set(row.data(), 3, mask.data(), -5, 1);  // a span starting left of the row
    EXPECT_EQ(row[0], 0xFF);
    EXPECT_EQ(row[3], 0x40);
}

// A halo in the window colour of a dark scheme: the pixels take its bytes in their order (blue,
// green, red), only under set bits.
TEST(HaloRows, ColourUnderSetBits) {
    const std::vector<uint8_t> mask = bits("#.#.....");
    std::vector<uint8_t> row(8 * 3, 0x40);
    paint_where_set(row.data(), 3, mask.data(), 0, 8, 0x00302010u);  // red 0x10, green 0x20, blue 0x30
    EXPECT_EQ((std::vector<uint8_t>(row.begin(), row.begin() + 9)),
              (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x40, 0x40, 0x40, 0x30, 0x20, 0x10}));
}

}  // namespace
