// Dialogs on a short work area: what the stretchable part gives up, and where the dialog is
// moved so that it lies within the work area.
#include <gtest/gtest.h>

#include "dialogs/dialog_fit.h"

namespace {

TEST(DialogFit, ThePartGivesUpWhatTheWorkAreaLacks) {
    const struct {
        const char* what;
        int dialog_h, work_h, part_h, min_part_h, want;
    } cases[] = {
        {"fits", 600, 768, 240, 96, 0},
        {"exactly as tall", 768, 768, 240, 96, 0},
        {"the schedule dialog at 192 DPI", 852, 768, 360, 144, 84},
        {"the part at its least", 852, 768, 180, 144, 36},
        {"the part already below its least", 852, 768, 100, 144, 0},
        {"a one-pixel excess", 769, 768, 360, 144, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialog_shrink(c.dialog_h, c.work_h, c.part_h, c.min_part_h), c.want) << c.what;
}

// A dialog larger than the work area: the client's room, and its controls drawn together
// into it; nothing grows, edges keep their order, a control keeps its size where it can.
TEST(DialogFit, SqueezedByWhatItLacks) {
    const struct {
        const char* what;
        int client, dialog, work, room;
    } rooms[] = {
        {"fits", 700, 760, 768, 700},
        {"the settings dialog at 192 DPI", 741, 787, 768, 722},
        {"wider than the screen", 1050, 1056, 1024, 1018},
        {"nothing left", 10, 900, 100, 0},
    };
    for (const auto& c : rooms) EXPECT_EQ(client_room(c.client, c.dialog, c.work), c.room) << c.what;

    const struct {
        int v, from, to, want;
    } edges[] = {
        {0, 741, 722, 0},     {741, 741, 722, 722}, {370, 741, 722, 360}, {100, 741, 741, 100},
        {100, 741, 800, 100}, {100, 0, 0, 100},     {100, 741, -1, 100},
    };
    for (const auto& e : edges) EXPECT_EQ(squeezed_edge(e.v, e.from, e.to), e.want) << e.v << " " << e.from << ">" << e.to;
    // The schedule dialog's client 1050 wide squeezed into 1018.
    const struct {
        const char* what;
        Span s;
        bool frame;
        Span want;
    } spans[] = {
        {"a label keeps its width", {800, 1036}, false, {775, 1011}},
        {"a group box is squeezed whole", {14, 1036}, true, {13, 1004}},
        {"a wide edit gives up what crosses the end", {77, 1036}, false, {74, 1018}},
        {"at the start", {0, 40}, false, {0, 40}},
    };
    for (const auto& c : spans) {
        const Span got = squeezed_span(c.s, 1050, 1018, c.frame);
        EXPECT_EQ(got.lo, c.want.lo) << c.what;
        EXPECT_EQ(got.hi, c.want.hi) << c.what;
        const Span same = squeezed_span(c.s, 1050, 1050, c.frame);
        EXPECT_EQ(same.lo, c.s.lo) << c.what << ", room enough";
        EXPECT_EQ(same.hi, c.s.hi) << c.what << ", room enough";
    }
    for (int v = 0; v < 741; ++v) {
        ASSERT_LE(squeezed_edge(v, 741, 722), squeezed_edge(v + 1, 741, 722)) << v;
        ASSERT_LE(squeezed_edge(v, 741, 722), v);
    }
}

TEST(DialogFit, MovedIntoTheWorkArea) {
    const ScreenRect work = {0, 0, 1024, 740};
    const struct {
        const char* what;
        ScreenRect dialog, want;
    } cases[] = {
        {"inside stays", {100, 100, 500, 600}, {100, 100, 500, 600}},
        {"past the bottom", {100, 300, 500, 900}, {100, 140, 500, 740}},
        {"past the right and the top", {900, -20, 1100, 200}, {824, 0, 1024, 220}},
        {"taller than the work area: its top inside", {0, 100, 300, 900}, {0, 0, 300, 800}},
        {"on a monitor to the left", {-1500, 10, -1000, 300}, {0, 10, 500, 300}},
    };
    for (const auto& c : cases) {
        const ScreenRect r = dialog_within(c.dialog, work);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<int>{c.want.left, c.want.top, c.want.right, c.want.bottom}))
            << c.what;
    }
}

}  // namespace
