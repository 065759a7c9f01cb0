// The month view and the clock painted into a 340 x 340 memory bitmap, checked by the colours
// found at the places the layout gives: Sunday and holiday red (and the Monday after a Sunday
// holiday), Saturday blue or black by cmode, marked days boxed or blue/magenta, today boxed,
// past days ticked, the analog face and the digital text drawn.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "app/clock_layout.h"
#include "app/month_layout.h"
#include "app/month_paint_win.h"
#include "config/settings.h"
#include "schedule/entry.h"
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

void add_entry(int y, int m, int d, int holiday) {
    ScheduleEntry& e = schedule.entries[schedule.count++];
    entry_blank(&e);
    e.year = y;
    e.month = m;
    e.day = d;
    e.holiday = static_cast<uint8_t>(holiday);
}

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
        add_entry(-1, 5, 3, 1);
        add_entry(2009, 5, 13, 0);
        add_entry(2009, 5, 10, 0);
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
    // The marked Wednesday: black number over a button-face box.
    const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
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

}  // namespace
