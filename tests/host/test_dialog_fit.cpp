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
