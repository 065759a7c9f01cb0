// The month view and the clock painted into a 340 x 340 memory bitmap, checked by the colours
// found at the places the layout gives: Sunday and holiday red (and the Monday after a Sunday
// holiday), Saturday blue or black by cmode, marked days boxed or blue/magenta, today boxed,
// past days ticked, the analog face and the digital text drawn.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/clock_layout.h"
#include "app/month_layout.h"
#include "app/halo_mask_win.h"
#include "app/month_colours.h"
#include "app/month_paint_win.h"
#include "app/view_text_win.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "image/surface_win.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "tests/host/entry_maker.h"
#include "tests/host/test_records.h"
#include "tests/win/program_reset.h"

namespace {

constexpr int kSize = 340;

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* px = nullptr;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;  // top-down: row y at px + y * w
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        px = static_cast<uint32_t*>(bits);
        old = SelectObject(dc, bmp);
        HBRUSH b = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
        RECT r = {0, 0, w, h};
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return CLR_INVALID;
        GdiFlush();
        uint32_t v = px[y * w + x];  // 0x00RRGGBB in a DIB
        return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
    }
    // Pixels in r (right and bottom excluded) for which pred holds.
    template <class Pred>
    int count(const CellRect& r, Pred pred) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (pred(at(x, y))) ++n;
        return n;
    }
};

bool is_red(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80; }
bool is_blue(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 80 && GetGValue(c) < 80; }
bool is_magenta(COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) > 200 && GetGValue(c) < 80; }
bool is_black(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

class MonthPaint : public ::testing::Test {
protected:
    void SetUp() override {
        win_test::reset_program_globals();
        settings.monthlang = 1;
        settings.weeklang = 0;
        settings.checkmark = 0;
        settings.cmode = 1;
        settings.NationalHolidays = 0;  // the entries' days only; holidays: end-to-end tests
        // May 2009: Fri 1, Sat 2, Sun 3 (holiday), Mon 4 (substitute), Wed 13 marked,
        // Sun 10 marked, today Wed 20.
        append_entry(&schedule, make_entry(-1, 5, 3, 1));
        append_entry(&schedule, make_entry(2009, 5, 13, 0));
        append_entry(&schedule, make_entry(2009, 5, 10, 0));
        view = {};
        view.settings = &settings;
        view.schedule = &schedule;
        view.shown_year = 2009;
        view.shown_month = 5;
        view.today_year = 2009;
        view.today_month = 5;
        view.today_day = 20;
        view.now_hour = 3;
        view.now_minute = 0;
    }
    void TearDown() override { win_test::reset_program_globals(); }
    void paint(Canvas& c) { paint_month(c.dc, c.w, c.h, view, &result); }
    CellRect cell(int d) const { return result.day_cells[d - 1]; }
    MonthView view;
    MonthPaintResult result;
};

TEST_F(MonthPaint, DayColoursWithSaturdaysColoured) {
    Canvas c(kSize, kSize);
    paint(c);
    EXPECT_GT(c.count(cell(3), is_red), 5) << "Sunday holiday";
    EXPECT_GT(c.count(cell(17), is_red), 5) << "plain Sunday";
    EXPECT_GT(c.count(cell(4), is_red), 5) << "Monday after a Sunday holiday";
    EXPECT_EQ(c.count(cell(5), is_red), 0) << "Tuesday stays plain";
    EXPECT_GT(c.count(cell(2), is_blue), 5) << "Saturday";
    EXPECT_EQ(c.count(cell(2), is_black), 0);
    EXPECT_GT(c.count(cell(6), is_black), 5) << "weekday";
    EXPECT_EQ(c.count(cell(6), is_red) + c.count(cell(6), is_blue), 0);
    // The marked Wednesday: black number over a box of the button face, or of a shade of it
    // where the face is too close to the window colour to be seen.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = marked_box_colour(GetSysColor(COLOR_BTNFACE), window);
    ASSERT_NE(face, window);
    const CellRect m = cell(13);
    EXPECT_EQ(c.at(m.left + 1, m.top + 1), face);
    EXPECT_EQ(c.at(m.left + 1, m.bottom - 1), face);
    EXPECT_GT(c.count(m, is_black), 5);
    const CellRect plain = cell(14);
    EXPECT_EQ(c.at(plain.left + 1, plain.top + 1), window);
    // The marked Sunday stays red, boxed.
    EXPECT_GT(c.count(cell(10), is_red), 5);
    EXPECT_EQ(c.at(cell(10).left + 1, cell(10).top + 1), face);
}

TEST_F(MonthPaint, DayColoursWithoutSaturdayColour) {
    settings.cmode = 0;
    Canvas c(kSize, kSize);
    paint(c);
    EXPECT_GT(c.count(cell(2), is_black), 5) << "Saturday black";
    EXPECT_EQ(c.count(cell(2), is_blue), 0);
    EXPECT_GT(c.count(cell(13), is_blue), 5) << "marked weekday blue";
    EXPECT_GT(c.count(cell(10), is_magenta), 5) << "marked Sunday magenta";
    EXPECT_GT(c.count(cell(4), is_red), 5);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(c.at(cell(13).left + 1, cell(13).top + 1), window) << "no box";
}

TEST_F(MonthPaint, WeekdayRowHeadingColours) {
    settings.cmode = 2;  // grid Saturdays blue, heading only for exactly 1
    Canvas c(kSize, kSize);
    paint(c);
    const MonthFrame f = month_frame({0, 0, kSize, kSize}, 0, 0);
    auto heading = [&](int i) {
        const int half = 3 * f.m.col_unit / 2;
        return CellRect{f.weekday_x[i] - half, f.weekday_y, f.weekday_x[i] + half,
                        f.weekday_y + f.m.row_height - 4};
    };
    EXPECT_GT(c.count(heading(0), is_red), 3);
    EXPECT_GT(c.count(heading(3), is_black), 3);
    EXPECT_GT(c.count(heading(6), is_black), 3);
    EXPECT_EQ(c.count(heading(6), is_blue), 0);
    EXPECT_GT(c.count(cell(2), is_blue), 5) << "grid Saturday with cmode 2";
}

// A high-contrast scheme (white on black, yellow for links): every text takes one of the
// scheme's colours, none the fixed red, and the shapes tell Sundays and holidays apart: the
// bold Sunday and the underlined holiday carry more ink than the same days without shapes.
TEST_F(MonthPaint, HighContrastTakesTheSchemesColoursAndShapes) {
    const SchemeColours hc = {make_rgb(0, 0, 0),     make_rgb(255, 255, 255), make_rgb(0, 0, 0),
                              make_rgb(255, 255, 0), make_rgb(0, 255, 255),   make_rgb(0, 0, 0)};
    const MonthColours m = month_colours(hc, true);
    view.colours = &m;
    auto black_canvas = [](Canvas& c) {
        HBRUSH b = CreateSolidBrush(RGB(0, 0, 0));
        RECT r = {0, 0, c.w, c.h};
        FillRect(c.dc, &r, b);
        DeleteObject(b);
    };
    Canvas plain(kSize, kSize), shaped(kSize, kSize);
    black_canvas(plain);
    black_canvas(shaped);
    paint(plain);
    view.shapes = shapes_shown(0, true);
    paint(shaped);
    auto exactly = [](COLORREF want) { return [want](COLORREF c) { return c == want; }; };
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0);
    EXPECT_GT(shaped.count(cell(6), exactly(white)), 5) << "a weekday in the window text colour";
    EXPECT_GT(shaped.count(cell(17), exactly(yellow)), 5) << "a Sunday in the scheme's colour";
    EXPECT_GT(shaped.count(cell(4), exactly(yellow)), 5) << "a substitute holiday";
    for (int d = 1; d <= 31; ++d) EXPECT_EQ(shaped.count(cell(d), is_red), 0) << d;
    // Each day down to the top of the day below it: an underline may lie under the cell.
    auto row = [&](int d) { return CellRect{cell(d).left, cell(d).top, cell(d).right, cell(d + 7).top}; };
    const auto ink = [](COLORREF c) { return c != RGB(0, 0, 0); };
    EXPECT_GT(shaped.count(row(17), ink), plain.count(row(17), ink)) << "Sunday bold";
    EXPECT_GT(shaped.count(row(4), ink), plain.count(row(4), ink)) << "holiday underlined";
    EXPECT_EQ(shaped.count(row(6), ink), plain.count(row(6), ink)) << "a weekday as it was";
}

TEST_F(MonthPaint, TodayBoxedAndPastDaysTicked) {
    {
        Canvas c(kSize, kSize);
        paint(c);
        const CellRect t = cell(20), o = cell(21);
        const int mid_t = (t.top + t.bottom) / 2, mid_o = (o.top + o.bottom) / 2;
        EXPECT_TRUE(is_black(c.at(t.left, mid_t)) || is_black(c.at(t.left - 1, mid_t)));
        EXPECT_TRUE(is_black(c.at(t.right - 1, mid_t)) || is_black(c.at(t.right - 2, mid_t)));
        EXPECT_FALSE(is_black(c.at(o.left, mid_o)) || is_black(c.at(o.left - 1, mid_o)));
    }
    settings.checkmark = 1;
    Canvas c(kSize, kSize);
    paint(c);
    // A tick adds black well beyond the digits: compare past days with later ones.
    const int past = c.count(cell(12), is_black), later = c.count(cell(26), is_black);
    EXPECT_GT(past, later + 20);
    const CellRect t = cell(20);
    EXPECT_FALSE(is_black(c.at(t.left, (t.top + t.bottom) / 2))) << "no box in tick mode";
    // An earlier month has every day ticked, a later one none.
    view.shown_month = 4;
    Canvas e(kSize, kSize);
    paint(e);
    view.shown_month = 6;
    Canvas l(kSize, kSize);
    paint(l);
    EXPECT_GT(e.count(result.day_cells[25], is_black), 0);
    int earlier = 0, later_total = 0;
    for (int d = 1; d <= 30; ++d) later_total += l.count(result.day_cells[d - 1], is_black);
    view.shown_month = 4;
    paint(e);
    for (int d = 1; d <= 30; ++d) earlier += e.count(result.day_cells[d - 1], is_black);
    EXPECT_GT(earlier, later_total + 30 * 20);
}

TEST_F(MonthPaint, ResultLayoutAndTitle) {
    Canvas c(kSize, kSize);
    paint(c);
    EXPECT_STREQ(result.title, "Tavelspore 2009年5月");
    EXPECT_EQ(result.left_arrow.left, 4);
    EXPECT_EQ(result.right_arrow.right, kSize - 4);
    EXPECT_GT(result.header_height, 8);
    EXPECT_EQ(result.day_cells[30].left == -1, false);
    view.shown_month = 13;  // clamped to December: nothing past the 31 cells
    paint(c);
    EXPECT_STREQ(result.title, "Tavelspore 2009年12月");
    view.shown_month = 2;
    paint(c);
    EXPECT_EQ(result.day_cells[28].left, -1);
    EXPECT_EQ(result.day_cells[30].bottom, -1);
    // The arrow buttons are painted in the button-face colour.
    const CellRect a = result.left_arrow;
    EXPECT_GT(c.count(a, [](COLORREF x) { return x == GetSysColor(COLOR_BTNFACE); }), 10);
}

TEST_F(MonthPaint, AnalogFace) {
    settings.clock = 1;
    settings.analog = 1;
    view.clock_shown = true;
    Canvas c(kSize, kSize);
    paint(c);
    ASSERT_TRUE(result.clock_drawn);
    const RECT& r = result.clock_rect;
    const int rad = (r.right - r.left) / 2, cx = r.left + rad, cy = r.top + rad;
    ASSERT_GT(rad, 10);
    EXPECT_EQ(r.right, kSize - 2 * (kSize / 24));
    const COLORREF tick = RGB(128, 128, 128), hour = RGB(160, 160, 160), minute = RGB(64, 64, 64);
    // 3:00: hour hand to the right, minute hand up; the 9 o'clock tick is long.
    EXPECT_EQ(c.at(cx + rad * 3 / 10, cy), hour);
    EXPECT_EQ(c.at(cx, cy - rad / 2), minute);
    const ClockPoint t9 = clock_point(cx, cy, rad, 45, 0.85);
    EXPECT_EQ(c.at(t9.x, t9.y), tick);
    EXPECT_NE(c.at(cx - rad / 2, cy), tick) << "inside the ticks the face is empty";
    // The time text to the left of the face.
    EXPECT_LE(result.clock_text_rect.right, r.left);
    CellRect text = {result.clock_text_rect.left, result.clock_text_rect.top,
                     result.clock_text_rect.right, result.clock_text_rect.bottom};
    EXPECT_GT(c.count(text, is_black), 10);
}

TEST_F(MonthPaint, DigitalClockOnlyRepaint) {
    settings.clock = 1;
    settings.analog = 0;
    settings.second = 1;
    view.clock_shown = true;
    view.clock_only = true;
    view.now_hour = 9;
    view.now_minute = 5;
    view.now_second = 7;
    result.header_height = -77;
    Canvas c(kSize, kSize);
    paint(c);
    EXPECT_EQ(result.header_height, -77) << "month fields untouched";
    const RECT& r = result.clock_rect;
    EXPECT_EQ(r.right, kSize - 2 * (kSize / 24));
    EXPECT_GT(r.right - r.left, 20);
    CellRect text = {r.left, r.top, r.right, r.bottom};
    EXPECT_GT(c.count(text, is_black), 20);
    // Nothing of the month: the grid area stays the window colour.
    CellRect grid = {0, 0, kSize, r.top};
    EXPECT_EQ(c.count(grid, [](COLORREF x) { return x != GetSysColor(COLOR_WINDOW); }), 0);
}

TEST_F(MonthPaint, LongFaceNameAndNarrowWindow) {
    // 99 bytes of double-byte characters: the face name is cut on a character boundary.
    std::memset(settings.fontname, 0, sizeof settings.fontname);
    for (int i = 0; i + 1 < 99; i += 2) {
        settings.fontname[i] = '\x82';
        settings.fontname[i + 1] = '\xa0';
    }
    HFONT font = create_view_font(settings, -12);
    ASSERT_NE(font, nullptr);
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    DeleteObject(font);
    EXPECT_EQ(std::strlen(lf.lfFaceName), 30u);
    EXPECT_EQ(std::memcmp(lf.lfFaceName, settings.fontname, 30), 0);
    settings.clock = 1;
    settings.analog = 1;
    view.clock_shown = true;
    Canvas c(20, 100);
    paint(c);
    for (int d = 0; d < 31; ++d) {
        if (result.day_cells[d].left == -1) continue;
        EXPECT_EQ((result.day_cells[d].left + result.day_cells[d].right) / 2, 10);
    }
    EXPECT_TRUE(result.clock_drawn);
}

// The line under the numbers over a background image: every day's label carries the white
// halo the numbers carry (written through the halo mask), and none without an image; each
// day's line holds ink, red on Sundays.
TEST_F(MonthPaint, LabelsUnderTheNumbersCarryTheHalo) {
    settings.Rokuyo = 1;
    settings.Kyureki = 1;
    const MonthFrame f = month_frame({0, 0, kSize, kSize}, 0, settings.weeklang, true);
    ASSERT_NE(f.label_font_height, 0);
    for (bool halo : {true, false}) {
        SCOPED_TRACE(halo ? "over an image" : "over the window colour");
        Canvas c(kSize, kSize);
        RECT all = {0, 0, kSize, kSize};
        FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        view.halo = halo;
        paint(c);
        const int digit_h = view_font_metrics(ViewFontRole::kDay).digits.cy;
        for (int d = 1; d <= 31; ++d) {
            const CellRect& number = cell(d);
            const int xc = (number.left + number.right) / 2, top = number.top - 1;
            const CellRect line = {xc - (3 * f.m.col_unit) / 2 + 1, top + digit_h,
                                   xc + (3 * f.m.col_unit) / 2 - 1, top + f.m.row_height - 1};
            const int white = c.count(line, [](COLORREF p) { return p == RGB(255, 255, 255); });
            if (halo)
                EXPECT_GT(white, 10) << d;
            else
                EXPECT_EQ(white, 0) << d;
            const COLORREF grey = c.at(0, kSize - 1);
            EXPECT_GT(c.count(line, [grey](COLORREF p) { return p != grey && p != RGB(255, 255, 255); }), 10)
                << d << ": the label itself";
            if (weekday_of(2009, 5, d) == 0) EXPECT_GT(c.count(line, is_red), 3) << d;
        }
    }
    halo_mask_release();
}

// The line under the numbers in a high-contrast scheme on a black window: each day's label in
// the colour its day has on the window colour (a marked day's too, although its number lies
// on the box), never in a fixed red or black.
TEST_F(MonthPaint, LabelsTakeTheSchemesColoursOnADarkWindow) {
    settings.Rokuyo = 1;
    settings.Kyureki = 1;
    const SchemeColours hc = {make_rgb(0, 0, 0),     make_rgb(255, 255, 255), make_rgb(0, 0, 0),
                              make_rgb(255, 255, 0), make_rgb(0, 255, 255),   make_rgb(0, 0, 0)};
    const MonthColours m = month_colours(hc, true);
    view.colours = &m;
    view.shapes = shapes_shown(0, true);
    const MonthFrame f = month_frame({0, 0, kSize, kSize}, 0, settings.weeklang, true);
    ASSERT_NE(f.label_font_height, 0);
    Canvas c(kSize, kSize);
    RECT all = {0, 0, kSize, kSize};
    FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    paint(c);
    const int digit_h = view_font_metrics(ViewFontRole::kDay).digits.cy;
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0);
    const struct {
        int day;
        COLORREF colour;
        const char* what;
    } cases[] = {
        {6, white, "a weekday"},
        {13, white, "a marked weekday: its line lies on the window, not on the box"},
        {3, yellow, "a Sunday holiday"},
        {10, yellow, "a marked Sunday"},
        {17, yellow, "a Sunday"},
    };
    for (const auto& k : cases) {
        const CellRect& number = cell(k.day);
        const int xc = (number.left + number.right) / 2, top = number.top - 1;
        const CellRect line = {xc - (3 * f.m.col_unit) / 2 + 1, top + digit_h,
                               xc + (3 * f.m.col_unit) / 2 - 1, top + f.m.row_height - 1};
        EXPECT_GT(c.count(line, [&](COLORREF p) { return p == k.colour; }), 3) << k.what;
        EXPECT_EQ(c.count(line, is_red), 0) << k.what;
    }
}

TEST(MonthPaintPrimitives, HaloWritesWhiteAroundAndKeepsTheColour) {
    settings_defaults(&settings, 1024, 768);
    Canvas c(80, 40);
    RECT all = {0, 0, 80, 40};
    FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HFONT font = create_view_font(settings, -28);
    HGDIOBJ old = SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(255, 0, 0));
    draw_text_halo(c.dc, 10, 5, "88", true);
    EXPECT_EQ(GetTextColor(c.dc), RGB(255, 0, 0));
    const CellRect r = {0, 0, 80, 40};
    auto white = [](COLORREF x) { return x == RGB(255, 255, 255); };
    EXPECT_GT(c.count(r, white), 10);
    // The text itself on top: reddish (smoothing blends its edges into the white).
    EXPECT_GT(c.count(r, [](COLORREF x) { return GetRValue(x) > 200 && GetGValue(x) + 60 < GetRValue(x); }), 5);
    SelectObject(c.dc, old);
    DeleteObject(font);
    Canvas plain(80, 40);
    FillRect(plain.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(plain.dc, TRANSPARENT);
    SetTextColor(plain.dc, RGB(255, 0, 0));
    draw_text_halo(plain.dc, 10, 5, "88", false);
    EXPECT_EQ(plain.count(r, white), 0);
}

TEST(MonthPaintPrimitives, ArrowButtonRaisedAndSunken) {
    const CellRect r = {4, 2, 20, 18};
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, light);
    for (int pressed = 0; pressed <= 1; ++pressed) {
        Canvas c(40, 30);
        draw_arrow_in_rect(c.dc, r, 1, pressed);
        SCOPED_TRACE(pressed);
        // Bottom and right edges dark when raised, light when sunken; the border the other.
        EXPECT_EQ(c.at(r.right - 1, 10), pressed ? light : shadow);
        EXPECT_EQ(c.at(10, r.bottom - 1), pressed ? light : shadow);
        EXPECT_EQ(c.at(r.left, 10), pressed ? shadow : light);
        EXPECT_EQ(c.at(10, r.top), pressed ? shadow : light);
        // The right-pointing arrow starts at left + 4, one pixel further when pressed.
        const COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
        EXPECT_EQ(c.at(r.left + 4 + pressed, 10), arrow);
        EXPECT_NE(c.at(r.left + 3 + pressed, 10), arrow);
    }
}

// The day numbers written a row and a colour at a time give the pixels of each number written
// centred on its own, at every size, with and without the halo, for one- and two-digit days.
TEST(MonthPaintPrimitives, DayNumbersInRunsMatchOneByOne) {
    settings_defaults(&settings, 1024, 768);
    const int sizes[][2] = {{340, 340}, {200, 150}, {1100, 220}, {900, 700}, {120, 400}};
    uint32_t colours[31];
    for (int d = 0; d < 31; ++d)
        colours[d] = d % 7 == 2 ? RGB(255, 0, 0) : d % 5 == 0 ? RGB(0, 0, 255) : RGB(0, 0, 0);
    for (const auto& sz : sizes) {
        for (int halo = 0; halo <= 1; ++halo) {
            SCOPED_TRACE(testing::Message() << sz[0] << " x " << sz[1] << " halo " << halo);
            const CellRect area = {0, 0, sz[0], sz[1]};
            const MonthFrame f = month_frame(area, 1, 0);
            HFONT font = create_view_font(settings, f.day_font_height);
            ASSERT_NE(font, nullptr);
            Canvas one(sz[0], sz[1]), runs(sz[0], sz[1]);
            MonthGrid g;
            for (Canvas* c : {&one, &runs}) {
                RECT all = {0, 0, sz[0], sz[1]};
                FillRect(c->dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
                SelectObject(c->dc, font);
                SetBkMode(c->dc, TRANSPARENT);
            }
            SIZE digits = {0, 0};
            GetTextExtentPoint32A(one.dc, "88", 2, &digits);
            month_grid(f, sz[0], digits.cx, digits.cy, 2009, 8, &g);  // Saturday the 1st: six rows
            SetTextAlign(one.dc, TA_CENTER | TA_TOP);
            for (int d = 0; d < g.days; ++d) {
                char text[4];
                std::snprintf(text, sizeof text, "%2d", d + 1);
                SetTextColor(one.dc, colours[d]);
                draw_text_halo(one.dc, g.text_x[d], g.text_y[d], text, halo != 0);
            }
            draw_day_numbers(runs.dc, g, colours, halo != 0);
            int differ = 0, drawn = 0;
            const COLORREF grey = one.at(0, 0);
            for (int y = 0; y < sz[1]; ++y)
                for (int x = 0; x < sz[0]; ++x) {
                    if (one.at(x, y) != runs.at(x, y)) ++differ;
                    if (one.at(x, y) != grey) ++drawn;
                }
            EXPECT_GT(drawn, 31 * 4);
            EXPECT_EQ(differ, 0);
            for (Canvas* c : {&one, &runs}) SelectObject(c->dc, GetStockObject(SYSTEM_FONT));
            DeleteObject(font);
        }
    }
}

// The halo laid through the mask looks like the one written at the eight positions around the
// text: white where that one is white, nowhere more than a pixel beyond where that one reaches,
// over about as many pixels; the text on top keeps its colour. Texts of several sizes, one
// alignment each.
TEST(MonthPaintPrimitives, MaskHaloLooksLikeTheEightPositionHalo) {
    settings_defaults(&settings, 1024, 768);
    const struct {
        int height;
        UINT align;
        const char* text;
    } cases[] = {{-12, TA_LEFT | TA_TOP, "8 12"}, {-28, TA_CENTER | TA_TOP, "2009年 5月"},
                 {-60, TA_RIGHT | TA_TOP, " 10:05:07"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HFONT font = create_view_font(settings, c.height);
        ASSERT_NE(font, nullptr);
        // The mask's halo in the off-screen surface (whose rows it whitens in place) and in a
        // bitmap of another kind (through blits).
        Canvas eight(400, 100), other(400, 100);
        surface_create(400, 100);
        const int x = (c.align & TA_RIGHT) ? 390 : (c.align & TA_CENTER) ? 200 : 10;
        for (HDC k : {eight.dc, other.dc, surface_dc()}) {
            RECT all = {0, 0, 400, 100};
            FillRect(k, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            SelectObject(k, font);
            SetBkMode(k, TRANSPARENT);
            SetTextAlign(k, c.align);
            SetTextColor(k, RGB(255, 0, 0));
        }
        draw_text_halo(eight.dc, x, 10, c.text, true);
        draw_text_mask_halo(surface_dc(), 400, 100, x, 10, c.text);
        draw_text_mask_halo(other.dc, 400, 100, x, 10, c.text);
        EXPECT_EQ(GetTextColor(surface_dc()), RGB(255, 0, 0));
        Canvas mask(400, 100);
        BitBlt(mask.dc, 0, 0, 400, 100, surface_dc(), 0, 0, SRCCOPY);
        int differ = 0;
        for (int y = 0; y < 100; ++y)
            for (int px = 0; px < 400; ++px) differ += mask.at(px, y) != other.at(px, y);
        EXPECT_EQ(differ, 0) << "in place and through blits alike";
        const COLORREF grey = eight.at(0, 0);
        auto white = [](COLORREF p) { return p == RGB(255, 255, 255); };
        int eight_white = 0, eight_changed = 0, mask_changed = 0, missing = 0, beyond = 0;
        for (int y = 0; y < 100; ++y)
            for (int px = 0; px < 400; ++px) {
                const COLORREF a = eight.at(px, y), b = mask.at(px, y);
                eight_white += white(a);
                eight_changed += a != grey;
                mask_changed += b != grey;
                if (white(a) && !white(b) && b == grey) ++missing;
                if (!white(b)) continue;
                bool close_by = false;  // the eight-position halo changed a pixel next to it
                for (int dy = -1; dy <= 1 && !close_by; ++dy)
                    for (int dx = -1; dx <= 1 && !close_by; ++dx) close_by = eight.at(px + dx, y + dy) != grey;
                if (!close_by) ++beyond;
            }
        EXPECT_GT(eight_white, 20);
        EXPECT_EQ(missing, 0);
        EXPECT_EQ(beyond, 0);
        EXPECT_LT(std::abs(mask_changed - eight_changed), eight_changed / 5) << mask_changed << " " << eight_changed;
        // The text itself on top in its colour.
        EXPECT_GT(mask.count({0, 0, 400, 100}, [](COLORREF p) { return p == RGB(255, 0, 0); }), 5);
        for (HDC k : {eight.dc, other.dc, surface_dc()}) SelectObject(k, GetStockObject(SYSTEM_FONT));
        surface_destroy();
        DeleteObject(font);
    }
    halo_mask_release();
}

}  // namespace
