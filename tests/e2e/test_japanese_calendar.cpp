// The Japanese calendar's switches in the real program: 六曜を表示, 旧暦・節気を表示 and
// 和暦で表示 stored and kept by the next start; the line under the day numbers at the
// default size, inside each day's cell, and left out of a window too small for it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/month_layout.h"
#include "resources/resource.h"
#include "tests/e2e/harness.h"

namespace {

// A 340 x 340 window (or another size) over the given [Config] lines; holidays off, so that
// the colours are the weekdays' alone.
std::string calendar_file(const std::string& config, int width = 340, int height = 340) {
    return "[Config]\r\nclock=0\r\nNationalHolidays=0\r\n" + config +
           "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=" + std::to_string(100 + width) +
           "\r\ny2=" + std::to_string(80 + height) + "\r\n";
}

struct CalendarShot {
    Image img;
    int ox = 0, oy = 0;  // client origin inside the window image
    uint32_t at(int x, int y) const { return img.at(ox + x, oy + y); }
};

bool shoot(const App& app, CalendarShot* s) { return capture_client(app.hwnd, &s->img, &s->ox, &s->oy); }

uint32_t window_rgb() {
    const COLORREF c = GetSysColor(COLOR_WINDOW);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// What lies under the line of day d's number (1-based), within its column and its row.
CellRect label_area(const MonthFrame& f, const MonthGrid& g, int d) {
    const int half = (3 * f.m.col_unit) / 2;
    return CellRect{g.text_x[d - 1] - half, g.drawn[d - 1].bottom + 1, g.text_x[d - 1] + half,
                    g.text_y[d - 1] + f.m.row_height};
}

int ink_in(const CalendarShot& s, const CellRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (s.at(x, y) != window_rgb()) ++n;
    return n;
}

// Pixels other than the window colour on the boundaries of the grid's cells: the last pixel
// row of each week row and the pixel columns between the days.
int ink_on_cell_borders(const CalendarShot& s, const MonthFrame& f, const MonthGrid& g) {
    int n = 0;
    const int half = (3 * f.m.col_unit) / 2;
    for (int d = 1; d <= g.days; ++d) {
        const int top = g.text_y[d - 1], bottom = top + f.m.row_height;
        const int left = g.text_x[d - 1] - half, right = g.text_x[d - 1] + half;
        for (int x = left; x < right; ++x) n += s.at(x, bottom - 1) != window_rgb();
        for (int y = top; y < bottom; ++y) n += (s.at(left, y) != window_rgb()) + (s.at(right, y) != window_rgb());
    }
    return n;
}

bool same_pixels(const CalendarShot& a, const CalendarShot& b) {
    return a.img.width == b.img.width && a.img.height == b.img.height && a.img.rgb == b.img.rgb;
}

}  // namespace

// Each switch goes on and off with its command, is stored at once and is kept by the next
// start; all three are off in a new settings file. 和暦 shows in the title at once.
E2E_TEST(japanese_calendar_switches_are_stored_and_kept) {
    const std::string dir = fresh_dir("japanese_calendar_switches");
    REQUIRE(write_file(settings_file_of(dir), calendar_file("")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    CHECK(window_text(app.hwnd) == "Tavelspore 2019年5月");
    const struct {
        int command;
        const char* on;
        const char* off;
    } switches[] = {{CMD_ROKUYO, "Rokuyo=1", "Rokuyo=0"},
                    {CMD_KYUREKI, "Kyureki=1", "Kyureki=0"},
                    {CMD_WAREKI, "Wareki=1", "Wareki=0"}};
    for (const auto& sw : switches) {
        REQUIRE(send_sync(app.hwnd, WM_COMMAND, sw.command, 0));
        CHECK(file_holds(settings_file_of(dir), std::string("\r\n") + sw.on + "\r\n"));
    }
    CHECK(window_text(app.hwnd) == "Tavelspore 令和元年5月");
    CHECK_EQ(app_close(app), 0);

    App again;
    REQUIRE(app_start(again, dir));
    REQUIRE(show_month(again, 1989, 1));
    CHECK(window_text(again.hwnd) == "Tavelspore 昭和64年1月");
    for (const auto& sw : switches) {
        REQUIRE(send_sync(again.hwnd, WM_COMMAND, sw.command, 0));
        CHECK(file_holds(settings_file_of(dir), std::string("\r\n") + sw.off + "\r\n"));
    }
    CHECK(window_text(again.hwnd) == "Tavelspore 1989年1月");
    CHECK_EQ(app_close(again), 0);

    // A file that never had them: the program writes them off.
    const std::string fresh = fresh_dir("japanese_calendar_default");
    App first;
    REQUIRE(app_start(first, fresh));
    CHECK_EQ(app_close(first), 0);
    std::string file;
    REQUIRE(read_file(settings_file_of(fresh), &file));
    CHECK(file.find("\r\nRokuyo=0\r\nKyureki=0\r\nWareki=0\r\n") != std::string::npos);
}

// December 2014 at the default size: with 六曜 on, a line of ink under every day number and
// none on the borders between the cells; with 旧暦・節気 on as well, only the two days a
// solar term begins on (大雪 on the 7th, 冬至 on the 22nd) change, within their cells.
E2E_TEST(rokuyo_under_the_numbers_stays_in_the_cells) {
    const std::string dir = fresh_dir("rokuyo_line");
    REQUIRE(write_file(settings_file_of(dir), calendar_file("Rokuyo=1\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2014, 12));
    MonthFrame f;
    MonthGrid g;
    REQUIRE(lay_out_month(app, 2014, 12, 0, &g, true, &f));
    REQUIRE(f.label_font_height != 0);
    CalendarShot rokuyo;
    REQUIRE(shoot(app, &rokuyo));
    save_png(rokuyo.img, g_work_dir + "rokuyo_2014_12.png");
    for (int d = 1; d <= g.days; ++d) CHECK(ink_in(rokuyo, label_area(f, g, d)) > 10);
    CHECK_EQ(ink_on_cell_borders(rokuyo, f, g), 0);

    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_KYUREKI, 0));
    CalendarShot terms;
    REQUIRE(shoot(app, &terms));
    save_png(terms.img, g_work_dir + "rokuyo_and_terms_2014_12.png");
    CHECK_EQ(ink_on_cell_borders(terms, f, g), 0);
    int changed_elsewhere = 0, changed[32] = {};
    for (int y = 0; y < rokuyo.img.height - rokuyo.oy; ++y)
        for (int x = 0; x < rokuyo.img.width - rokuyo.ox; ++x) {
            if (rokuyo.at(x, y) == terms.at(x, y)) continue;
            int in = 0;
            for (int d = 1; d <= g.days && !in; ++d)
                if (point_in_rect(label_area(f, g, d), x, y)) in = d;
            if (in) ++changed[in]; else ++changed_elsewhere;
        }
    CHECK_EQ(changed_elsewhere, 0);
    for (int d = 1; d <= g.days; ++d) {
        if (d == 7 || d == 22)
            CHECK(changed[d] > 10);
        else
            CHECK_EQ(changed[d], 0);
    }
    CHECK_EQ(app_close(app), 0);
}

// A window whose rows leave no room for a readable line: with 六曜 on it shows just what it
// shows with 六曜 off.
E2E_TEST(rokuyo_is_left_out_of_a_small_window) {
    const std::string dir = fresh_dir("rokuyo_small");
    REQUIRE(write_file(settings_file_of(dir), calendar_file("Rokuyo=1\r\n", 200, 190)));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2014, 12));
    MonthFrame f;
    MonthGrid g;
    REQUIRE(lay_out_month(app, 2014, 12, 0, &g, true, &f));
    CHECK_EQ(f.label_font_height, 0);
    CalendarShot on;
    REQUIRE(shoot(app, &on));
    save_png(on.img, g_work_dir + "rokuyo_small_window.png");
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_ROKUYO, 0));
    CalendarShot off;
    REQUIRE(shoot(app, &off));
    CHECK(same_pixels(on, off));
    CHECK_EQ(app_close(app), 0);
}

namespace {

// The month header as the program writes it: text centred at the frame's header point in the
// day font (the default face), black over the window colour, into a band as wide as the
// client and as tall as the font's line. False when GDI fails.
bool header_written(const MonthFrame& f, int width, const char* text, Image* out) {
    LOGFONTA lf = {};
    lf.lfHeight = f.day_font_height;
    lf.lfWeight = 400;
    lf.lfCharSet = 128;
    lstrcpyA(lf.lfFaceName, "ＭＳ Ｐゴシック");
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return false;
    TEXTMETRICA tm = {};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const bool ok = tm.tmHeight > 0 && draw_to_image(width, f.header_y + tm.tmHeight, [&](HDC dc) {
        RECT all = {0, 0, width, f.header_y + tm.tmHeight};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        HGDIOBJ was = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        const bool written = TextOutA(dc, f.header_x, f.header_y, text, lstrlenA(text)) != 0;
        SelectObject(dc, was);
        return written;
    }, out);
    DeleteObject(font);
    return ok;
}

// Pixels of the header band between the month buttons that differ from the text written.
int header_differs(const CalendarShot& s, const MonthGrid& g, const Image& want) {
    int n = 0;
    for (int y = 0; y < want.height; ++y)
        for (int x = g.cells.left_arrow.right + 1; x < g.cells.right_arrow.left - 1; ++x)
            n += s.at(x, y) != want.at(x, y);
    return n;
}

}  // namespace

// 和暦で表示 in the month header and the title as the window shows them: the era the month
// begins in, January 1989 under 昭和 and May 2019 under 令和; off again, the Western year.
E2E_TEST(month_header_and_title_name_the_era_year) {
    const std::string dir = fresh_dir("wareki_header");
    REQUIRE(write_file(settings_file_of(dir), calendar_file("Wareki=1\r\n")));
    App app;
    REQUIRE(app_start(app, dir));
    const struct {
        int y, m;
        bool wareki;
        const char *header, *title;
    } months[] = {
        {2019, 5, true, "令和元年 5月", "Tavelspore 令和元年5月"},
        {1989, 1, true, "昭和64年 1月", "Tavelspore 昭和64年1月"},
        {1989, 2, true, "平成元年 2月", "Tavelspore 平成元年2月"},
        {2026, 12, true, "令和8年 12月", "Tavelspore 令和8年12月"},
        {2026, 12, false, "2026年 12月", "Tavelspore 2026年12月"},
        {1989, 1, false, "1989年 1月", "Tavelspore 1989年1月"},
    };
    bool wareki = true;
    for (const auto& c : months) {
        if (c.wareki != wareki) {
            REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
            wareki = c.wareki;
        }
        REQUIRE(show_month(app, c.y, c.m));
        CHECK(window_text(app.hwnd) == c.title);
        MonthFrame f;
        MonthGrid g;
        REQUIRE(lay_out_month(app, c.y, c.m, 0, &g, false, &f));
        CalendarShot s;
        REQUIRE(shoot(app, &s));
        Image want;
        REQUIRE(header_written(f, s.img.width - s.ox, c.header, &want));
        const int differs = header_differs(s, g, want);
        if (differs != 0) {
            std::printf("  %d-%d: %d pixels of the header differ from \"%s\"\n", c.y, c.m, differs, c.header);
            save_png(s.img, g_work_dir + "wareki_header_" + std::to_string(c.y) + "_" + std::to_string(c.m) + ".png");
        }
        CHECK_EQ(differs, 0);
    }
    CHECK(file_holds(settings_file_of(dir), "\r\nWareki=0\r\n"));
    CHECK_EQ(app_close(app), 0);
}
