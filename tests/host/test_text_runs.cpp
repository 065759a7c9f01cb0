// Centred texts put together into one run per colour: each character where the text alone,
// centred on its x, would put it; spaces skipped; runs full or too many colours cut short.
#include <gtest/gtest.h>

#include <vector>

#include "app/text_runs.h"

namespace {

struct Placed {
    uint16_t c;
    int x, y;
    uint32_t colour;
};

// Every character of the runs at the place their steps give it.
std::vector<Placed> replay(const TextRun* runs, int n) {
    std::vector<Placed> out;
    for (int i = 0; i < n; ++i) {
        int x = runs[i].x, y = runs[i].y;
        for (int k = 0; k < runs[i].count; ++k) {
            out.push_back({runs[i].text[k], x, y, runs[i].colour});
            x += runs[i].dxy[2 * k];
            y -= runs[i].dxy[2 * k + 1];  // steps count upward
        }
    }
    return out;
}

TEST(TextRuns, EachCharacterWhereItsCentredTextPutsIt) {
    const uint16_t sun[] = {'S', 'u', 'n'}, mon[] = {'M', 'o', 'n'}, a_b[] = {'a', ' ', 'b'};
    const uint16_t kanji[] = {0x65e5};
    const int sun_w[] = {7, 6, 6}, mon_w[] = {9, 6, 6}, a_b_w[] = {5, 3, 5}, kanji_w[] = {16};
    const CentredText texts[] = {
        {100, 10, 1, 3, sun, sun_w},    // extent 19: starts at 100 - 9
        {140, 10, 2, 3, mon, mon_w},    // another colour
        {180, 40, 1, 3, a_b, a_b_w},    // a lower row, the space skipped
        {60, 40, 2, 1, kanji, kanji_w}, // leftwards and down
    };
    TextRun runs[4];
    ASSERT_EQ(centred_text_runs(texts, 4, runs, 4), 2);
    const std::vector<Placed> got = replay(runs, 2);
    const Placed want[] = {
        {'S', 91, 10, 1}, {'u', 98, 10, 1}, {'n', 104, 10, 1}, {'a', 174, 40, 1}, {'b', 182, 40, 1},
        {'M', 130, 10, 2}, {'o', 139, 10, 2}, {'n', 145, 10, 2}, {0x65e5, 52, 40, 2},
    };
    ASSERT_EQ(got.size(), sizeof want / sizeof want[0]);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].c, want[i].c) << i;
        EXPECT_EQ(got[i].x, want[i].x) << i;
        EXPECT_EQ(got[i].y, want[i].y) << i;
        EXPECT_EQ(got[i].colour, want[i].colour) << i;
    }
    // The last character of a run steps by its own advance.
    EXPECT_EQ(runs[1].dxy[2 * 3], 16);
    EXPECT_EQ(runs[1].dxy[2 * 3 + 1], 0);
}

TEST(TextRuns, RoomAndColoursRunOut) {
    std::vector<uint16_t> chars(100, 'x');
    std::vector<int> widths(100, 4);
    const CentredText long_text = {500, 0, 7, 100, chars.data(), widths.data()};
    TextRun runs[2];
    ASSERT_EQ(centred_text_runs(&long_text, 1, runs, 2), 1);
    EXPECT_EQ(runs[0].count, kMaxRunChars);  // the rest left out
    EXPECT_EQ(runs[0].x, 300);

    const uint16_t one[] = {'1'};
    const int w[] = {8};
    const CentredText three[] = {{10, 0, 1, 1, one, w}, {20, 0, 2, 1, one, w}, {30, 0, 3, 1, one, w}};
    EXPECT_EQ(centred_text_runs(three, 3, runs, 2), 2);  // no run for the third colour
    EXPECT_EQ(centred_text_runs(three, 0, runs, 2), 0);
}

}  // namespace
