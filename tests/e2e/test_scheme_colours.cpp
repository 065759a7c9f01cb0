// The month on a dark window colour, in the real program: the header, the weekday names and
// every ordinary day number stay readable (they take the window text colour, not a fixed
// black), Sundays and holidays stay red; and the day shapes switched on from the menu mark
// the holidays by more than their colour. The scheme is the user's colours in the registry,
// given back at the end.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/month_colours.h"
#include "app/month_layout.h"
#include "resources/resource.h"
#include "tests/e2e/harness.h"

namespace {

// A dark scheme in the user's colours (HKCU\Control Panel\Colors, read by a program at its
// start) for the test's time, then the values there were.
struct DarkScheme {
    static constexpr int kCount = 4;
    const char* names[kCount] = {"Window", "WindowText", "ButtonFace", "ButtonText"};
    const char* dark[kCount] = {"0 0 0", "255 255 255", "48 48 48", "255 255 255"};
    std::string kept[kCount];
    bool had[kCount] = {};
    HKEY key = nullptr;
    DarkScheme() {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        for (int i = 0; i < kCount; ++i) {
            char value[64] = "";
            DWORD size = sizeof value - 1;
            had[i] = RegQueryValueExA(key, names[i], nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                     ERROR_SUCCESS;
            kept[i] = value;
            RegSetValueExA(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(dark[i]),
                           static_cast<DWORD>(std::strlen(dark[i]) + 1));
        }
    }
    ~DarkScheme() {
        if (!key) return;
        for (int i = 0; i < kCount; ++i) {
            if (had[i])
                RegSetValueExA(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(kept[i].c_str()),
                               static_cast<DWORD>(kept[i].size() + 1));
            else
                RegDeleteValueA(key, names[i]);
        }
        RegCloseKey(key);
    }
    DarkScheme(const DarkScheme&) = delete;
    DarkScheme& operator=(const DarkScheme&) = delete;
};

bool light(uint32_t c) { return (c >> 16 & 0xFF) > 170 && (c >> 8 & 0xFF) > 170 && (c & 0xFF) > 170; }
bool loosely_reddish(uint32_t c) { return (c >> 16 & 0xFF) > 150 && (c >> 8 & 0xFF) < 140 && (c & 0xFF) < 140; }

struct SchemeShot {
    Image img;
    int ox = 0, oy = 0;
    MonthGrid grid = {};
};

bool shoot(const App& app, SchemeShot* s) {
    if (!lay_out_month(app, 2019, 5, 0, &s->grid)) return false;
    send_sync(app.hwnd, WM_NULL, 0, 0);
    return capture_client(app.hwnd, &s->img, &s->ox, &s->oy);
}

int count_in(const SchemeShot& s, const CellRect& r, bool (*pred)(uint32_t)) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pred(s.img.at(s.ox + x, s.oy + y))) ++n;
    return n;
}

int in_day(const SchemeShot& s, int day, bool (*pred)(uint32_t)) { return count_in(s, s.grid.drawn[day - 1], pred); }

}  // namespace

E2E_TEST(dark_window_colour_keeps_every_text_readable) {
    const std::string dir = fresh_dir("dark_scheme");
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nclock=0\r\nmonthlang=1\r\nweeklang=0\r\ncmode=1\r\nNationalHolidays=1\r\n"
                       "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"));
    DarkScheme dark;
    REQUIRE(dark.key != nullptr);
    App app;
    REQUIRE(app_start(app, dir));
    REQUIRE(show_month(app, 2019, 5));
    SchemeShot s;
    REQUIRE(shoot(app, &s));
    save_png(s.img, g_work_dir + "month_dark.png");

    RECT client;
    GetClientRect(app.hwnd, &client);
    const CellRect header = {client.right / 4, 0, client.right * 3 / 4, s.grid.cells.header_height};
    CHECK(count_in(s, header, light) > 10);
    // The weekday names' row lies between the header and the first week.
    const int first_top = s.grid.drawn[0].top;
    const CellRect weekdays = {0, s.grid.cells.header_height, client.right, first_top};
    CHECK(count_in(s, weekdays, light) > 10);
    const int ordinary[] = {8, 9, 14, 22, 31};  // Wednesday to Friday without a holiday
    for (int d : ordinary) {
        const int n = in_day(s, d, light);
        if (n <= 5) ctx.fail(__FILE__, __LINE__, "day " + std::to_string(d) + ": " + std::to_string(n));
    }
    CHECK(in_day(s, 12, loosely_reddish) > 5);  // a Sunday
    CHECK(in_day(s, 6, loosely_reddish) > 5);   // a substitute holiday
    // The window itself is dark: the scheme took.
    CHECK(count_in(s, CellRect{0, first_top + 1, 2, client.bottom - 2}, light) == 0);

    // The shapes: the holidays' numbers underlined, so more ink in the holiday's cell; the
    // switch is written to the settings.
    const int plain_holiday = in_day(s, 6, loosely_reddish);
    const int plain_weekday = in_day(s, 8, light);
    PostMessageA(app.hwnd, WM_COMMAND, CMD_DAY_SHAPES, 0);
    SchemeShot shaped;
    REQUIRE(shoot(app, &shaped));
    save_png(shaped.img, g_work_dir + "month_dark_shapes.png");
    CHECK(in_day(shaped, 6, loosely_reddish) > plain_holiday);
    CHECK_EQ(in_day(shaped, 8, light), plain_weekday);  // an ordinary day as it was
    CHECK_EQ(in_day(shaped, 7, loosely_reddish), 0);  // no underline strays beyond its own day
    CHECK_EQ(app_close(app), 0);
    std::string saved;
    CHECK(read_file(settings_file_of(dir), &saved) && saved.find("DayShapes=1\r\n") != std::string::npos);
}

namespace {

// High contrast switched as the accessibility settings switch it: SystemParametersInfo with
// the change sent to every top-level window; given back as it was at the end.
struct HighContrast {
    HIGHCONTRASTA kept = {sizeof(HIGHCONTRASTA), 0, nullptr};
    bool read = false;
    HighContrast() { read = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof kept, &kept, 0) != 0; }
    static bool set(DWORD flags, const char* scheme) {
        HIGHCONTRASTA hc = {sizeof hc, flags, const_cast<char*>(scheme)};
        return SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof hc, &hc, SPIF_SENDCHANGE) != 0;
    }
    static bool on() {
        HIGHCONTRASTA hc = {sizeof hc, 0, nullptr};
        return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
    }
    ~HighContrast() {
        if (read && on() != ((kept.dwFlags & HCF_HIGHCONTRASTON) != 0)) set(kept.dwFlags, kept.lpszDefaultScheme);
    }
    HighContrast(const HighContrast&) = delete;
    HighContrast& operator=(const HighContrast&) = delete;
};

// The scheme's colours now, as the program reads them.
SchemeColours scheme_now() {
    return {GetSysColor(COLOR_WINDOW),    GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE),
            GetSysColor(COLOR_HOTLIGHT),  GetSysColor(COLOR_HIGHLIGHT),  GetSysColor(COLOR_HIGHLIGHTTEXT)};
}

// Near a colour: each channel within 40.
bool near_colour(uint32_t c, ColorRef want) {
    const int d[3] = {static_cast<int>(c >> 16 & 0xFF) - static_cast<int>(want & 0xFF),
                      static_cast<int>(c >> 8 & 0xFF) - static_cast<int>(want >> 8 & 0xFF),
                      static_cast<int>(c & 0xFF) - static_cast<int>(want >> 16 & 0xFF)};
    return d[0] * d[0] < 1600 && d[1] * d[1] < 1600 && d[2] * d[2] < 1600;
}

int day_pixels(const MonthCapture& s, int day, ColorRef colour) {
    int n = 0;
    const CellRect& r = s.grid.drawn[day - 1];
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (near_colour(s.img.at(s.ox + x, s.oy + y), colour)) ++n;
    return n;
}

}  // namespace

// The user turns high contrast on: the month repaints in the scheme's colours (the window and
// its text colour) with the holidays marked by their shapes; turned off, the shapes go.
E2E_TEST(high_contrast_switched_on_as_a_user_does) {
    const std::string dir = fresh_dir("high_contrast");
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nclock=0\r\nmonthlang=1\r\nweeklang=0\r\ncmode=1\r\nNationalHolidays=1\r\n"
                       "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"));
    HighContrast restore;
    REQUIRE(restore.read);
    if (HighContrast::on()) SKIP("high contrast is on already");
    App app;
    REQUIRE(app_start(app, dir));
    MonthCapture before;
    REQUIRE(capture_month(app, 2019, 5, &before));
    const ColorRef red_before = month_colours(scheme_now(), false).red;
    const int holiday_before = day_pixels(before, 6, red_before);  // a substitute holiday
    CHECK(holiday_before > 5);

    if (!HighContrast::set(HCF_HIGHCONTRASTON, "High Contrast Black") || !HighContrast::on()) {
        CHECK_EQ(app_close(app), 0);
        SKIP("the platform does not switch high contrast (SPI_SETHIGHCONTRAST)");
    }
    // The change went out to every top-level window; a message sent after it is answered
    // after it.
    send_sync(app.hwnd, WM_NULL, 0, 0);
    MonthCapture on;
    REQUIRE(capture_month(app, 2019, 5, &on));
    save_png(on.img, g_work_dir + "month_high_contrast.png");
    const MonthColours hc = month_colours(scheme_now(), true);
    // The scheme's window colour fills the cells; an ordinary day's number is in its text
    // colour; the holiday in the scheme's own colour, with its shape: more ink than before.
    const CellRect& cell = on.grid.drawn[7];  // the 8th, a Wednesday
    CHECK(near_colour(on.img.at(on.ox + cell.left + 1, on.oy + cell.bottom - 2), hc.back));
    CHECK(day_pixels(on, 8, hc.text) > 5);
    CHECK(day_pixels(on, 6, hc.red) > holiday_before);

    CHECK(HighContrast::set(0, nullptr) && !HighContrast::on());
    send_sync(app.hwnd, WM_NULL, 0, 0);
    MonthCapture off;
    REQUIRE(capture_month(app, 2019, 5, &off));
    CHECK_EQ(day_pixels(off, 6, month_colours(scheme_now(), false).red), holiday_before);
    CHECK_EQ(app_close(app), 0);
}
