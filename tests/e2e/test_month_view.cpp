// The painted month in the real program: colours of day numbers and marked-day boxes are
// checked at the cells the layout gives for the window's client size, and the title follows
// the month buttons. Screenshots are kept beside the test folders for a person to look at.
#include <cstring>
#include <string>
#include <vector>

#include "app/month_layout.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

struct MonthShot {
    Image img;
    int ox = 0, oy = 0;  // client origin inside the window image
    MonthGrid grid = {};
};

bool darkish(uint32_t c) { return (c >> 16 & 0xFF) < 90 && (c >> 8 & 0xFF) < 90 && (c & 0xFF) < 90; }

int count_in_cell(const MonthShot& s, int day, bool (*pred)(uint32_t)) {
    const CellRect& r = s.grid.drawn[day - 1];
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pred(s.img.at(s.ox + x, s.oy + y))) ++n;
    return n;
}

int count_exact(const MonthShot& s, int day, uint32_t rgb) {
    const CellRect& r = s.grid.drawn[day - 1];
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (s.img.at(s.ox + x, s.oy + y) == rgb) ++n;
    return n;
}


// The box behind a marked day: the button face, or a shade of it that can be told from the
// window colour.

// The month as laid out for the window, and a screenshot of it.
bool shoot(const App& app, int year, int month, MonthShot* s, int clock_mode = 0) {
    return lay_out_month(app, year, month, clock_mode, &s->grid) &&
           capture_client(app.hwnd, &s->img, &s->ox, &s->oy);
}


// A settings file with a fixed window, the given Saturday colouring, a holiday on the first
// Sunday of this month and an ordinary entry on the Wednesday after it. National holidays
// are off: the checks are about the entries' days, in whatever month the test runs.
std::string month_file(int cmode, int year, int month, int sunday) {
    const std::string ym = std::to_string(year) + two(month);
    return "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=0\r\nNationalHolidays=0\r\ncmode=" +
           std::to_string(cmode) +
           "\r\n[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"
           "[Schedule]\r\nschedulecount=2\r\n"
           "schedule001=" + ym + two(sunday) + "10holiday\r\n"
           "schedule002=" + ym + two(sunday + 3) + "00meeting\r\n";
}

struct ThisMonth { int year, month, sunday; };
ThisMonth this_month() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    ThisMonth t = {now.wYear, now.wMonth, 0};
    const int w = weekday_of(t.year, t.month, 1);
    t.sunday = w == 0 ? 1 : 8 - w;
    return t;
}

}  // namespace

E2E_TEST(month_colours_with_saturdays_coloured) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("month_colours_cmode1");
    REQUIRE(write_file(settings_file_of(dir), month_file(1, t.year, t.month, t.sunday)));
    App app;
    REQUIRE(app_start(app, dir));
    MonthShot s;
    REQUIRE(shoot(app, t.year, t.month, &s));
    save_png(s.img, g_work_dir + "month_cmode1.png");
    const int sun = t.sunday;
    CHECK(count_in_cell(s, sun, reddish) > 5);          // a Sunday holiday
    CHECK(count_in_cell(s, sun + 1, reddish) > 5);      // the Monday after it
    CHECK_EQ(count_in_cell(s, sun + 2, reddish), 0);    // Tuesday stays plain
    CHECK(count_in_cell(s, sun + 6, bluish) > 5);       // Saturday blue
    CHECK(count_in_cell(s, sun + 7, reddish) > 5);      // the next Sunday red without a holiday
    CHECK(count_exact(s, sun + 3, marked_box_rgb()) > 20);  // marked day: box behind it
    CHECK_EQ(count_in_cell(s, sun + 3, bluish), 0);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(month_colours_without_saturday_colour) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("month_colours_cmode0");
    REQUIRE(write_file(settings_file_of(dir), month_file(0, t.year, t.month, t.sunday)));
    App app;
    REQUIRE(app_start(app, dir));
    MonthShot s;
    REQUIRE(shoot(app, t.year, t.month, &s));
    save_png(s.img, g_work_dir + "month_cmode0.png");
    const int sun = t.sunday;
    CHECK(count_in_cell(s, sun, reddish) > 5);
    CHECK(count_in_cell(s, sun + 1, reddish) > 5);
    CHECK_EQ(count_in_cell(s, sun + 6, bluish), 0);     // Saturday black
    CHECK(count_in_cell(s, sun + 6, darkish) > 5);
    CHECK(count_in_cell(s, sun + 3, bluish) > 5);       // marked day blue, no box
    CHECK_EQ(count_exact(s, sun + 3, marked_box_rgb()), 0);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(title_follows_the_month_buttons) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("title_follows_buttons");
    REQUIRE(write_file(settings_file_of(dir), month_file(1, t.year, t.month, t.sunday)));
    App app;
    REQUIRE(app_start(app, dir));
    MonthShot s;
    REQUIRE(shoot(app, t.year, t.month, &s));
    const CellRect& r = s.grid.cells.right_arrow;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(app.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(app.hwnd, WM_LBUTTONUP, 0, at);
    int y = t.year, m = t.month + 1;
    if (m == 13) { m = 1; ++y; }
    static const char* const names[] = {"", "January", "February", "March", "April", "May", "June",
                                        "July", "August", "September", "October", "November", "December"};
    CHECK(window_text(app.hwnd) == std::string("Tavelspore ") + names[m] + " " + std::to_string(y));
    Image after;
    CHECK(capture_window(app.hwnd, &after));
    save_png(after, g_work_dir + "month_next.png");
    CHECK_EQ(app_close(app), 0);
}

namespace {

// Pixels that differ between two shots inside rows [top, bottom) of the client.
int changed_rows(const MonthShot& a, const MonthShot& b, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x + a.ox < a.img.width; ++x)
            if (a.img.at(a.ox + x, a.oy + y) != b.img.at(b.ox + x, b.oy + y)) ++n;
    return n;
}

int dark_rows(const MonthShot& s, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x + s.ox < s.img.width; ++x)
            if (darkish(s.img.at(s.ox + x, s.oy + y))) ++n;
    return n;
}

std::string clock_file(bool analog) {
    return std::string("[Config]\r\nmonthlang=0\r\nclock=1\r\nsecond=1\r\nanalog=") +
           (analog ? "1" : "0") +
           "\r\n[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=480\r\n";
}

}  // namespace

E2E_TEST(digital_clock_with_seconds_changes_only_its_area) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("digital_clock");
    REQUIRE(write_file(settings_file_of(dir), clock_file(false)));
    App app;
    REQUIRE(app_start(app, dir));
    RECT client;
    GetClientRect(app.hwnd, &client);
    const MonthFrame f = month_frame(CellRect{0, 0, client.right, client.bottom}, 1, 0);
    MonthShot a, b;
    REQUIRE(shoot(app, t.year, t.month, &a));
    Sleep(1200);
    REQUIRE(shoot(app, t.year, t.month, &b));
    save_png(b.img, g_work_dir + "clock_digital.png");
    CHECK(dark_rows(b, f.clock_anchor_y, client.bottom) > 20);            // the time text is there
    CHECK(changed_rows(a, b, f.clock_anchor_y, client.bottom) > 0);       // and it moves on
    CHECK_EQ(changed_rows(a, b, 0, f.m.first_row_top), 0);                // the header stays put
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(analog_clock_face_is_drawn) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("analog_clock");
    REQUIRE(write_file(settings_file_of(dir), clock_file(true)));
    App app;
    REQUIRE(app_start(app, dir));
    RECT client;
    GetClientRect(app.hwnd, &client);
    const MonthFrame f = month_frame(CellRect{0, 0, client.right, client.bottom}, 2, 0);
    MonthShot s;
    REQUIRE(shoot(app, t.year, t.month, &s));
    save_png(s.img, g_work_dir + "clock_analog.png");
    // Ticks and hands: far more dark pixels below the grid than a line of text alone gives.
    CHECK(dark_rows(s, f.clock_anchor_y, client.bottom) > 150);
    CHECK_EQ(app_close(app), 0);
}

namespace {
// The client size before the minimise: a restore clears the minimised state before it gives
// the window its size back, and a client measured in between lays out a month of no size.
RECT g_client_before_minimise;
bool is_restored(HWND h) {
    RECT r;
    return IsIconic(h) == 0 && GetClientRect(h, &r) && EqualRect(&r, &g_client_before_minimise);
}
}  // namespace

// While minimised the ticking clock asks for clock-only paints that never come; the paint
// after the restore must still draw the whole month.
E2E_TEST(month_is_drawn_after_a_restore_while_the_clock_ticks) {
    const ThisMonth t = this_month();
    const std::string dir = fresh_dir("restore_with_clock");
    REQUIRE(write_file(settings_file_of(dir), clock_file(false)));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(GetClientRect(app.hwnd, &g_client_before_minimise));
    REQUIRE(g_client_before_minimise.right > 0 && g_client_before_minimise.bottom > 0);
    PostMessageA(app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    REQUIRE(wait_until(is_iconic, app.hwnd));
    Sleep(3000);
    PostMessageA(app.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    REQUIRE(wait_until(is_restored, app.hwnd));
    RECT client;
    GetClientRect(app.hwnd, &client);
    const MonthFrame f = month_frame(CellRect{0, 0, client.right, client.bottom}, 1, 0);
    MonthShot s;
    REQUIRE(shoot(app, t.year, t.month, &s, 1));
    save_png(s.img, g_work_dir + "restore_with_clock.png");
    CHECK(dark_rows(s, 0, f.m.first_row_top) > 20);   // the header and the weekday names
    int days_drawn = 0;
    for (int d = 1; d <= s.grid.days; ++d)
        if (count_in_cell(s, d, darkish) + count_in_cell(s, d, reddish) + count_in_cell(s, d, bluish) > 5)
            ++days_drawn;
    CHECK_EQ(days_drawn, s.grid.days);
    CHECK(dark_rows(s, f.clock_anchor_y, client.bottom) > 20);  // and the clock
    CHECK_EQ(app_close(app), 0);
}

namespace {

// A fixed window with Saturdays coloured and nothing entered; extra Config lines as given.
std::string holiday_file(const std::string& config) {
    return "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=0\r\ncmode=1\r\n" + config +
           "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n";
}

struct DayColour {
    int day;
    bool red;
};

// The days whose number is (or is not) red in the shot; the first wrong one, or 0.
int wrong_day(const MonthShot& s, const std::vector<DayColour>& days) {
    for (const DayColour& d : days)
        if ((count_in_cell(s, d.day, reddish) > 5) != d.red) return d.day;
    return 0;
}

// May 2019: 天皇の即位の日 on the 1st, 国民の休日 on the 2nd, 憲法記念日 (Fri), みどりの日
// (Sat), こどもの日 (Sun) and its substitute on Monday the 6th; Tuesday the 7th is plain.
const std::vector<DayColour> kMay2019 = {{1, true}, {2, true},  {3, true}, {4, true},
                                         {5, true}, {6, true},  {7, false}, {8, false}};
// With the holidays off only Sunday the 5th is red.
const std::vector<DayColour> kMay2019Off = {{1, false}, {2, false}, {3, false}, {4, false},
                                            {5, true},  {6, false}, {7, false}};

}  // namespace

// A new user sees the holidays at once: May 2019 and September 2026 (敬老の日 on the 21st,
// 国民の休日 on the 22nd, 秋分の日 on the 23rd) red at their cells, a Saturday holiday red
// rather than blue.
E2E_TEST(national_holidays_are_red_at_their_cells_from_the_first_start) {
    const std::string dir = fresh_dir("national_holidays");
    REQUIRE(write_file(settings_file_of(dir), holiday_file("")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    MonthShot may;
    REQUIRE(shoot(app, 2019, 5, &may));
    save_png(may.img, g_work_dir + "holidays_2019_05.png");
    CHECK_EQ(wrong_day(may, kMay2019), 0);
    CHECK_EQ(count_in_cell(may, 4, bluish), 0);
    CHECK(count_in_cell(may, 11, bluish) > 5);  // a plain Saturday stays blue
    REQUIRE(show_month(app, 2026, 9));
    MonthShot sep;
    REQUIRE(shoot(app, 2026, 9, &sep));
    save_png(sep.img, g_work_dir + "holidays_2026_09.png");
    CHECK_EQ(wrong_day(sep, {{19, false}, {20, true}, {21, true}, {22, true}, {23, true}, {24, false},
                             {25, false}}),
             0);
    CHECK_EQ(app_close(app), 0);
}

// 祝日を表示(&H) turns them off and on at once, and the choice is stored and kept by the next
// start. (Its check mark is the Windows tests': another process cannot read a menu under Wine.)
E2E_TEST(the_holiday_switch_turns_them_off_and_on_and_is_stored) {
    const std::string dir = fresh_dir("holiday_switch");
    REQUIRE(write_file(settings_file_of(dir), holiday_file("")));
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(file_holds(settings_file_of(dir), "\r\nNationalHolidays=0\r\n"));
    MonthShot off;
    REQUIRE(shoot(app, 2019, 5, &off));
    save_png(off.img, g_work_dir + "holidays_off.png");
    CHECK_EQ(wrong_day(off, kMay2019Off), 0);
    CHECK(count_in_cell(off, 4, bluish) > 5);
    CHECK_EQ(app_close(app), 0);

    App again;
    REQUIRE(app_start(again, dir));
    REQUIRE(show_month(again, 2019, 5));
    MonthShot still_off;
    REQUIRE(shoot(again, 2019, 5, &still_off));
    CHECK_EQ(wrong_day(still_off, kMay2019Off), 0);
    REQUIRE(send_sync(again.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(file_holds(settings_file_of(dir), "\r\nNationalHolidays=1\r\n"));
    MonthShot on;
    REQUIRE(shoot(again, 2019, 5, &on));
    CHECK_EQ(wrong_day(on, kMay2019), 0);
    CHECK_EQ(app_close(again), 0);
}
