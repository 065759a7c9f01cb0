// The main window's composed picture: marks are scribbled into the off-screen surface, one
// in the month and one under the clock, and each change shows by which of them survive what
// layers it composed again. A window that was only uncovered, moved or shown again draws
// nothing and copies the picture; a new time composes the clock alone; everything that
// changes the month composes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_state_win.h"
#include "app/month_colours_win.h"
#include "app/main_window_internal_win.h"
#include "config/settings.h"
#include "dialogs/font_dialog_win.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/test_records.h"
#include "tests/win/main_window_fixture.h"

namespace {

using namespace win_test;

constexpr COLORREF kMark = RGB(1, 2, 3);

class MainPaint : public MainWindow {
protected:
    void open_with_clock() {
        open("[Config]\r\nclock=1\r\nsecond=1\r\nanalog=0\r\nmonthlang=1\r\n");
        KillTimer(hwnd_, kMainTimer);  // ticks come from the test only
        ASSERT_TRUE(main_state.timer_running);
        pump();
    }
    void scribble_month() {
        month_at_ = {1, 1};
        SetPixel(surface_dc(), month_at_.x, month_at_.y, kMark);
        GdiFlush();
    }
    // Scribbles a mark at the top left of the month and one in the middle of the clock.
    void scribble() {
        month_at_ = {1, 1};
        const RECT& c = main_state.clock_rect;
        clock_at_ = {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
        ASSERT_LT(c.left, c.right);
        SetPixel(surface_dc(), month_at_.x, month_at_.y, kMark);
        SetPixel(surface_dc(), clock_at_.x, clock_at_.y, kMark);
        GdiFlush();
    }
    bool month_mark_left() const { return GetPixel(surface_dc(), month_at_.x, month_at_.y) == kMark; }
    bool clock_mark_left() const { return GetPixel(surface_dc(), clock_at_.x, clock_at_.y) == kMark; }
    void tick_at(int day, int second) {
        g_now.day = day;
        g_now.second = second;
        main_tick(main_state, hwnd_);
        pump();
    }
    POINT month_at_ = {}, clock_at_ = {};
};

TEST_F(MainPaint, WhatEachChangeComposesAgain) {
    open_with_clock();
    struct Case {
        const char* what;
        std::function<void(HWND)> change;
        bool month, clock;  // composed again
    } cases[] = {
        {"uncovered", [](HWND h) { InvalidateRect(h, nullptr, TRUE); UpdateWindow(h); }, false, false},
        {"a corner uncovered",
         [](HWND h) {
             RECT r = {0, 0, 30, 30};
             InvalidateRect(h, &r, TRUE);
             UpdateWindow(h);
         },
         false, false},
        {"moved",
         [](HWND h) {
             SetWindowPos(h, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
             pump();
         },
         false, false},
        {"hidden and shown",
         [](HWND h) {
             SendMessageA(h, WM_COMMAND, CMD_HIDE_SHOW, 0);
             SendMessageA(h, WM_COMMAND, CMD_HIDE_SHOW, 0);
             pump();
         },
         false, false},
        {"minimised and restored",
         [](HWND h) {
             ShowWindow(h, SW_MINIMIZE);
             pump();
             ShowWindow(h, SW_RESTORE);
             pump();
         },
         false, false},
        {"always on top and back",
         [](HWND h) {
             SendMessageA(h, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
             SendMessageA(h, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
             pump();
         },
         false, false},
        {"a tick in the same second", [this](HWND) { tick_at(5, g_now.second); }, false, false},
        {"a new second", [this](HWND) { tick_at(5, (g_now.second + 1) % 60); }, false, true},
        {"the clock's format",
         [](HWND h) {
             settings.method = settings.method ? 0 : 1;
             InvalidateRect(h, nullptr, TRUE);
             UpdateWindow(h);
         },
         false, true},
        {"a new day", [this](HWND) { tick_at(6, (g_now.second + 1) % 60); }, true, true},
        {"the next month",
         [](HWND h) {
             const CellRect& r = main_state.right_arrow_rect;
             const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
             SendMessageA(h, WM_LBUTTONDOWN, 0, at);
             SendMessageA(h, WM_LBUTTONUP, 0, at);
         },
         true, true},
        {"a setting a dialog wrote",
         [](HWND h) {
             settings.cmode = settings.cmode ? 0 : 1;
             InvalidateRect(h, nullptr, TRUE);
             UpdateWindow(h);
         },
         true, true},
        {"the font's preview",
         [](HWND h) { font_apply(&settings, h, font_choice(128, 700, 0, settings.fontname)); },
         true, true},
        {"entries changed", [](HWND h) { repaint(main_state, h, ViewEvent::kEntriesChanged); }, true,
         true},
        {"system colours", [](HWND h) { SendMessageA(h, WM_SYSCOLORCHANGE, 0, 0); }, true, true},
        {"font smoothing",
         [](HWND h) {
             const long before = main_state.text_pictures.bytes();
             SendMessageA(h, WM_SETTINGCHANGE, SPI_SETFONTSMOOTHING, 0);
             // The window copied its texts from pictures; they went with the change, and the
             // month was written anew (pictures come again with a later composition).
             EXPECT_GT(before, 0);
             EXPECT_EQ(main_state.text_pictures.bytes(), 0);
         },
         true, true},
        {"high contrast switched on",
         [](HWND h) {
             set_high_contrast_source([] { return true; });
             SendMessageA(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
             EXPECT_TRUE(main_state.high_contrast);
         },
         true, true},
        {"high contrast switched off",
         [](HWND h) {
             set_high_contrast_source([] { return false; });
             SendMessageA(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
             EXPECT_FALSE(main_state.high_contrast);
         },
         true, true},
        // The focus rectangle that comes where none was draws the month again: its picture is
        // kept from then on, and a move only puts it back under the old rectangle.
        {"the focus rectangle's first showing",
         [](HWND h) {
             SendMessageA(h, WM_SETFOCUS, 0, 0);  // as the window gets the keyboard
             SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 1);
             UpdateWindow(h);
             EXPECT_GT(focus_day(main_state), 0);
         },
         true, true},
        {"the day cursor a day on",
         [](HWND h) {
             const int before = focus_day(main_state);
             SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 1);
             UpdateWindow(h);
             EXPECT_EQ(focus_day(main_state), before + 1);
         },
         false, true},  // the clock lies over the focus layer and is drawn again
        {"the keyboard gone",
         [](HWND h) {
             SendMessageA(h, WM_KILLFOCUS, 0, 0);
             UpdateWindow(h);
             EXPECT_EQ(focus_day(main_state), 0);
         },
         false, true},
        {"the day shapes switched on", [](HWND h) { SendMessageA(h, WM_COMMAND, CMD_DAY_SHAPES, 0); UpdateWindow(h); },
         true, true},
        {"another system setting",
         [](HWND h) { SendMessageA(h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0); }, false, false},
        {"resized",
         [](HWND h) {
             RECT r;
             GetWindowRect(h, &r);
             MoveWindow(h, r.left, r.top, r.right - r.left + 20, r.bottom - r.top + 10, TRUE);
             pump();
         },
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scribble();
        c.change(hwnd_);
        EXPECT_EQ(month_mark_left(), !c.month);
        EXPECT_EQ(clock_mark_left(), !c.clock);
        EXPECT_EQ(main_state.recompose.pending(), kLayerNone);
    }
}

// A copy only, and it reaches the window: the scribbled mark shows there after an uncover.
TEST_F(MainPaint, UncoveredWindowShowsThePictureAsKept) {
    open_with_clock();
    scribble();
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
    WindowDC dc(hwnd_);
    ASSERT_NE(dc.get(), nullptr);
    EXPECT_EQ(GetPixel(dc.get(), month_at_.x, month_at_.y), kMark);
}

// Ticks while the window cannot paint are not lost: the first paint after composes the clock
// (and the month, when a day went by).
TEST_F(MainPaint, TicksWhileHiddenAreComposedWhenShown) {
    open_with_clock();
    struct Case {
        const char* what;
        int day;  // of the tick while hidden
        bool month;
    } cases[] = {{"same day", 5, false}, {"next day", 6, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scribble();
        command(CMD_HIDE_SHOW);
        tick_at(c.day, (g_now.second + 1) % 60);
        EXPECT_TRUE(month_mark_left() && clock_mark_left()) << "nothing composed while hidden";
        command(CMD_HIDE_SHOW);
        pump();
        EXPECT_EQ(month_mark_left(), !c.month);
        EXPECT_FALSE(clock_mark_left());
    }
}

// A drag of the frame scales the image roughly while it lasts and properly once at its end;
// without an image the end of a drag composes nothing.
TEST_F(MainPaint, ImageScaledRoughlyWhileSizing) {
    bmp_test::BmpFields f{64, 48, 24};
    f.pixels.assign(size_t(64 * 3) * 48, 0x80);
    const std::vector<uint8_t> bytes = bmp_test::bmp_file(f);
    put_file(dir_ + "photo.bmp", std::string(bytes.begin(), bytes.end()));
    struct Case {
        const char* what;
        bool image;
    } cases[] = {{"image", true}, {"no image", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(std::string("[Config]\r\nBackImage=") + (c.image ? "1" : "0") + "\r\nBackImageFile=" +
             dir_ + "photo.bmp\r\n");
        SendMessageA(hwnd_, WM_ENTERSIZEMOVE, 0, 0);
        for (int grow = 10; grow <= 30; grow += 10) {
            RECT r;
            GetWindowRect(hwnd_, &r);
            MoveWindow(hwnd_, r.left, r.top, r.right - r.left + grow, r.bottom - r.top, TRUE);
            pump();
            if (c.image) EXPECT_EQ(GetStretchBltMode(surface_dc()), COLORONCOLOR);
        }
        scribble_month();
        SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
        EXPECT_EQ(month_mark_left(), !c.image) << "composed again only over a rough image";
        if (c.image) {
            EXPECT_EQ(GetStretchBltMode(surface_dc()), HALFTONE);
            EXPECT_TRUE(background_cached());
        }
        close();
    }
}

}  // namespace
