// The real program's picture as the screen shows it: the same picture again after another
// window covered it and went away; each change the month must follow shown at once (a new
// entry, a setting, the next month, today's month again, a font, a new minute, a new day),
// and after them the picture a program started afresh shows; a wide, short window with a
// clock keeps every day number in its own row; over a dark photo the numbers carry a white
// halo. Screenshots are kept for a person to look at.
#include <cstdint>
#include <string>
#include <vector>

#include "app/month_layout.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/picture_files.h"

namespace {

// The client area as shown, pixels 0xRRGGBB, top row first.
struct Client {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0xFFFFFFFFu : px[size_t(y) * w + x]; }
};

bool client_shot(HWND hwnd, Client* out) {
    Image img;
    RECT wr, cr;
    POINT origin = {0, 0};
    if (!capture_window(hwnd, &img) || !GetWindowRect(hwnd, &wr) || !GetClientRect(hwnd, &cr)) return false;
    ClientToScreen(hwnd, &origin);
    out->w = cr.right;
    out->h = cr.bottom;
    out->px.resize(size_t(out->w) * out->h);
    for (int y = 0; y < out->h; ++y)
        for (int x = 0; x < out->w; ++x) out->px[size_t(y) * out->w + x] = img.at(origin.x - wr.left + x, origin.y - wr.top + y);
    return true;
}

int differing(const Client& a, const Client& b) {
    if (a.w != b.w || a.h != b.h) return -1;
    int n = 0;
    for (size_t i = 0; i < a.px.size(); ++i) n += a.px[i] != b.px[i];
    return n;
}

// Shoots until pred holds, for up to 5 s: the program paints in its own time.
template <class Pred>
bool shoot_until(HWND hwnd, Client* c, Pred pred) {
    const DWORD start = GetTickCount();
    do {
        Sleep(100);
        if (client_shot(hwnd, c) && pred(*c)) return true;
    } while (GetTickCount() - start < 5000);
    return false;
}

// A shot for which pred holds that a second look 300 ms later finds unchanged: a picture
// the program has finished with.
template <class Pred>
bool settled_shot(HWND hwnd, Client* c, Pred pred) {
    Client again;
    for (int tries = 0; tries < 10; ++tries) {
        if (!shoot_until(hwnd, c, pred)) return false;
        Sleep(300);
        if (client_shot(hwnd, &again) && differing(*c, again) == 0) return true;
    }
    return false;
}

// Closes the program, starts it again in its directory (the seam program when seam) and
// compares its first picture with what the running program showed: every change must have
// led to the picture the changed settings and entries give from the start.
bool same_after_restart(App& app, bool seam, const Client& shown, Client* fresh) {
    const std::string dir = app.dir;
    if (app_close(app) != 0) return false;
    if (!(seam ? app_start_seam(app, dir) : app_start(app, dir))) return false;
    return shoot_until(app.hwnd, fresh, [&](const Client& c) { return differing(shown, c) == 0; });
}

void keep(const Client& c, const char* name) {
    Image img;
    img.width = c.w;
    img.height = c.h;
    img.rgb.resize(c.px.size() * 3);
    for (size_t i = 0; i < c.px.size(); ++i) {
        img.rgb[i * 3] = uint8_t(c.px[i] >> 16);
        img.rgb[i * 3 + 1] = uint8_t(c.px[i] >> 8);
        img.rgb[i * 3 + 2] = uint8_t(c.px[i]);
    }
    save_png(img, g_work_dir + name);
}

bool inky(uint32_t c) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    return r < 140 || g < 140 || b < 140;  // dark, red or blue: anything a text leaves
}

int count_in(const Client& c, const CellRect& r, bool (*pred)(uint32_t)) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += pred(c.at(x, y));
    return n;
}

int count_exact(const Client& c, const CellRect& r, uint32_t rgb) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += c.at(x, y) == rgb;
    return n;
}

void type_text(HWND dlg, int id, const std::string& text) {
    HWND edit = GetDlgItem(dlg, id);
    for (char ch : text) send_sync(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

const char kFixed[] = "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=0\r\ncmode=1\r\nNationalHolidays=0\r\n"
                      "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n";

// A window of this process over part of the program's, in a colour of its own.
HWND cover(HWND over) {
    RECT r;
    GetWindowRect(over, &r);
    HWND w = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT,
                             r.left + 40, r.top + 60, 200, 150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(w);
    return w;
}

void pump_for(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(10);
    }
}

}  // namespace

E2E_TEST(an_uncovered_window_shows_its_picture_again) {
    const std::string dir = fresh_dir("uncover");
    REQUIRE(write_file(settings_file_of(dir), kFixed));
    App app;
    REQUIRE(app_start(app, dir));
    Client before, covered, after;
    REQUIRE(shoot_until(app.hwnd, &before, [](const Client&) { return true; }));
    HWND other = cover(app.hwnd);
    REQUIRE(other != nullptr);
    pump_for(300);
    CHECK(shoot_until(app.hwnd, &covered, [&](const Client& c) { return differing(before, c) > 1000; }));
    keep(covered, "uncover_covered.png");
    DestroyWindow(other);
    CHECK(shoot_until(app.hwnd, &after, [&](const Client& c) { return differing(before, c) == 0; }));
    keep(after, "uncover_after.png");
    CHECK_EQ(differing(before, after), 0);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(each_change_of_the_month_shows_at_once) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string dir = fresh_dir("changes_show");
    REQUIRE(write_file(settings_file_of(dir), kFixed));
    App app;
    REQUIRE(app_start(app, dir));
    MonthGrid g;
    REQUIRE(lay_out_month(app, now.wYear, now.wMonth, 0, &g));
    // A weekday without a mark, and this month's first Saturday.
    int day = 0, saturday = 0;
    for (int d = 1; d <= g.days; ++d) {
        const int w = weekday_of(now.wYear, now.wMonth, d);
        if (!day && w >= 1 && w <= 5 && d != now.wDay) day = d;
        if (!saturday && w == 6) saturday = d;
    }
    REQUIRE(day > 0 && saturday > 0);
    const CellRect cell = g.drawn[day - 1], sat = g.drawn[saturday - 1];
    Client shot;
    REQUIRE(shoot_until(app.hwnd, &shot, [&](const Client& c) { return count_in(c, sat, bluish) > 5; }));
    CHECK_EQ(count_exact(shot, cell, marked_box_rgb()), 0);

    // A new entry on that day: its box at once.
    PostMessageA(app.hwnd, WM_COMMAND, CMD_SCHEDULE, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    send_sync(GetDlgItem(dlg, IDC_SCHED_MEMO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("memo"));
    type_text(dlg, IDC_SCHED_YEAR, std::to_string(now.wYear));
    type_text(dlg, IDC_SCHED_MONTH, std::to_string(now.wMonth));
    type_text(dlg, IDC_SCHED_DAY, std::to_string(day));
    press(dlg, IDC_SCHED_ADD);
    press(dlg, IDOK);
    REQUIRE(wait_until(is_gone, dlg));
    CHECK(shoot_until(app.hwnd, &shot, [&](const Client& c) { return count_exact(c, cell, marked_box_rgb()) > 20; }));
    keep(shot, "change_entry.png");

    // Saturdays plain in the settings dialog: black at once.
    PostMessageA(app.hwnd, WM_COMMAND, CMD_DETAILED_SETTINGS, 0);
    dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    press(dlg, IDC_SET_SAT_PLAIN);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(is_gone, dlg));
    CHECK(shoot_until(app.hwnd, &shot, [&](const Client& c) { return count_in(c, sat, bluish) == 0; }));
    keep(shot, "change_setting.png");

    // The next month: the title and the days follow; the box stays with its date.
    const Client this_month = shot;
    const CellRect& r = g.cells.right_arrow;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    send_sync(app.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    send_sync(app.hwnd, WM_LBUTTONUP, 0, at);
    CHECK(shoot_until(app.hwnd, &shot, [&](const Client& c) { return differing(this_month, c) > 200; }));
    keep(shot, "change_next_month.png");
    MonthGrid next;
    REQUIRE(lay_out_month(app, now.wMonth == 12 ? now.wYear + 1 : now.wYear, now.wMonth % 12 + 1, 0, &next));
    int boxes = 0;
    for (int d = 1; d <= next.days; ++d) boxes += count_exact(shot, next.drawn[d - 1], marked_box_rgb()) > 20;
    CHECK_EQ(boxes, 0);

    // Back to today's month: the same picture as before the step.
    send_sync(app.hwnd, WM_COMMAND, CMD_RESET_MONTH, 0);
    CHECK(shoot_until(app.hwnd, &shot, [&](const Client& c) { return differing(this_month, c) == 0; }));

    // Another face from the font dialog: every text in it at once.
    PostMessageA(app.hwnd, WM_COMMAND, CMD_FONT, 0);
    dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    REQUIRE(select_face(dlg, L"DejaVu Serif"));
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(is_gone, dlg));
    CHECK(settled_shot(app.hwnd, &shot, [&](const Client& c) { return differing(this_month, c) > 200; }));
    keep(shot, "change_font.png");

    Client fresh;
    CHECK(same_after_restart(app, false, shot, &fresh));
    CHECK_EQ(differing(shot, fresh), 0);
    CHECK_EQ(app_close(app), 0);
}

// The seam program's clock steps a minute, then past midnight: the time on show follows and
// the month stays as it was, then today's box moves to the new day; either way the picture is
// the one a program started at that minute shows.
E2E_TEST(clock_ticks_show_the_new_minute_and_the_new_day) {
    const std::string dir = fresh_dir("clock_tick");
    REQUIRE(set_seam_clock(dir, "203006012358"));
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=1\r\nanalog=0\r\nsecond=0\r\n"
                       "cmode=1\r\nNationalHolidays=0\r\n"
                       "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"));
    App app;
    REQUIRE(app_start_seam(app, dir));
    MonthGrid g;
    REQUIRE(lay_out_month(app, 2030, 6, 1, &g));
    // Everything above the last week row belongs to the month; the clock is below the grid.
    const int month_bottom = g.drawn[g.days - 1].top;
    auto changed_above = [&](const Client& a, const Client& b) {
        int n = 0;
        for (int y = 0; y < month_bottom && y < a.h; ++y)
            for (int x = 0; x < a.w; ++x) n += a.at(x, y) != b.at(x, y);
        return n;
    };
    Client before, shot;
    REQUIRE(settled_shot(app.hwnd, &before, [&](const Client& c) { return count_in(c, g.drawn[0], inky) > 5; }));

    struct Step {
        const char* minute;
        const char* shot_name;
        bool new_day;
    } steps[] = {
        {"203006012359", "tick_minute.png", false},
        {"203006020000", "tick_new_day.png", true},
    };
    for (const Step& st : steps) {
        REQUIRE(set_seam_clock(dir, st.minute));
        CHECK(settled_shot(app.hwnd, &shot, [&](const Client& c) { return differing(before, c) > 0; }));
        keep(shot, st.shot_name);
        if (st.new_day)
            CHECK(changed_above(before, shot) > 0);  // today's box left the 1st for the 2nd
        else
            CHECK_EQ(changed_above(before, shot), 0);
        before = shot;
    }
    Client fresh;
    CHECK(same_after_restart(app, true, shot, &fresh));
    CHECK_EQ(differing(shot, fresh), 0);
    CHECK_EQ(app_close(app), 0);
}

// The last pixel row of ink below top in the columns of c, counting down from top until a
// row without ink follows ink; -1 when there is no ink.
int ink_bottom(const Client& shot, const CellRect& c, int top, int limit) {
    bool seen = false;
    for (int y = top; y < limit; ++y) {
        const int n = count_in(shot, CellRect{c.left, y, c.right, y + 1}, inky);
        if (n > 0) seen = true;
        else if (seen) return y - 1;
    }
    return seen ? limit - 1 : -1;
}

// 1100 x 220 with a digital clock: the grid's rows are a ninth of the height, and every day
// number, today's box included, ends above the row below.
E2E_TEST(wide_short_window_with_a_clock_keeps_each_day_in_its_row) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string dir = fresh_dir("wide_clock");
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=1\r\nanalog=0\r\nsecond=0\r\n"
                       "[DispSet1]\r\nreso=1024x768\r\nx1=0\r\ny1=80\r\nx2=1100\r\ny2=300\r\n"));
    App app;
    REQUIRE(app_start(app, dir));
    RECT client;
    GetClientRect(app.hwnd, &client);
    CHECK(client.right > 1000 && client.bottom < 220);
    MonthGrid g;
    REQUIRE(lay_out_month(app, now.wYear, now.wMonth, 1, &g));
    const MonthFrame f = month_frame(CellRect{0, 0, client.right, client.bottom}, 1, 0);
    CHECK(f.m.font_unit <= f.m.row_height);
    // The window reaches past the right edge of the test's screen: the days shown are judged.
    POINT origin = {0, 0};
    ClientToScreen(app.hwnd, &origin);
    const int shown_right = GetSystemMetrics(SM_CXSCREEN) - origin.x;
    int judged = 0;
    Client shot;
    REQUIRE(shoot_until(app.hwnd, &shot, [&](const Client& c) { return count_in(c, g.drawn[0], inky) > 5; }));
    keep(shot, "wide_clock.png");
    for (int d = 1; d + 7 <= g.days; ++d) {
        const CellRect& c = g.drawn[d - 1];
        if (c.right > shown_right) continue;
        ++judged;
        const int next_top = g.text_y[d + 6];
        const int bottom = ink_bottom(shot, c, g.text_y[d - 1], next_top + f.m.row_height);
        CHECK(bottom > g.text_y[d - 1]);
        CHECK(bottom < next_top);
        if (bottom >= next_top) break;  // one report is enough
    }
    CHECK(judged >= 14);
    CHECK_EQ(app_close(app), 0);
}

// Over a dark picture, a small bitmap or a photo larger than the screen (reduced at load,
// read by the image plug-in), the numbers keep a white halo around their ink, and away from
// the texts the picture shows as it is.
E2E_TEST(numbers_over_a_dark_photo_carry_a_halo) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const uint32_t dark_blue = 0x000060;
    bmp_test::BmpFields bmp{320, 240, 24};
    bmp.pixels.assign(size_t(320 * 3) * 240, 0);
    for (size_t i = 0; i < bmp.pixels.size(); i += 3) bmp.pixels[i] = uint8_t(dark_blue);
    picture_test::JpegSpec jpeg;
    jpeg.width = 2400;
    jpeg.height = 1800;
    jpeg.rgb = [dark_blue](uint32_t, uint32_t) { return dark_blue; };
    const struct {
        const char* name;
        const char* file;
        std::vector<uint8_t> bytes;
    } pictures[] = {
        {"photo_halo_bmp", "dark.bmp", bmp_test::bmp_file(bmp)},
        {"photo_halo_jpeg", "dark.jpg", picture_test::jpeg_file(jpeg)},
    };
    for (const auto& p : pictures) {
        const std::string dir = fresh_dir(p.name);
        REQUIRE(install_image_plugin(dir));
        REQUIRE(write_file(dir + p.file, std::string(p.bytes.begin(), p.bytes.end())));
        REQUIRE(write_file(settings_file_of(dir),
                           "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=1\r\nBackImage=1\r\nBackImageFile=" +
                               dir + p.file + "\r\nBackMode=0\r\n"
                               "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n"));
        App app;
        REQUIRE(app_start(app, dir));
        MonthGrid g;
        REQUIRE(lay_out_month(app, now.wYear, now.wMonth, 1, &g));
        auto white = [](uint32_t c) { return c == 0xFFFFFF; };
        Client shot;
        // The picture follows the window (decoded on a worker thread); until it shows, the
        // window colour alone would pass for halos.
        CHECK(shoot_until(app.hwnd, &shot, [&](const Client& c) {
            if ((c.at(2, c.h - 2) >> 16) > 0x40) return false;
            int haloed = 0;
            for (int d = 1; d <= g.days; ++d) haloed += count_in(c, g.drawn[d - 1], white) > 10;
            return haloed == g.days;
        }));
        keep(shot, (std::string(p.name) + ".png").c_str());
        // A JPEG's colours come back within a step or two of what was coded.
        const uint32_t corner = shot.at(2, shot.h - 2);
        CHECK((corner >> 16) < 6 && (corner >> 8 & 0xFF) < 6);
        CHECK((corner & 0xFF) > 0x58 && (corner & 0xFF) < 0x68);
        CHECK_EQ(app_close(app), 0);
    }
}
