// The background image in the real program: a bitmap, and a JPEG and a PNG read by the
// image plug-in that comes with it, in each mode show at the points the layout gives for
// the window's client size, the calendar keeps to the rest of the window, the settings
// dialog's 更新 loads, saves and repaints at once, and its image chooser lists what the
// plug-in reads.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>
#include <string>
#include <vector>

#include "image/background_layout.h"
#include "resources/resource.h"
#include "tests/bench/hostile_set.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/picture_files.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// 400 x 300, the left half red and the right half blue.
std::string halves_bmp() {
    bmp_test::BmpFields s{400, 300, 24};
    s.pixels.assign(1200 * 300, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) s.pixels[size_t(y) * 1200 + 3 * x + (x < 200 ? 2 : 0)] = 255;
    const std::vector<uint8_t> f = bmp_test::bmp_file(s);
    return std::string(f.begin(), f.end());
}

// The same halves as a JPEG and as a PNG, for the image plug-in.
uint32_t halves_rgb(uint32_t x, uint32_t) { return x < 200 ? kRed : kBlue; }
std::string halves_jpeg() {
    picture_test::JpegSpec s;
    s.width = 400;
    s.height = 300;
    s.rgb = halves_rgb;
    return picture_test::as_string(picture_test::jpeg_file(s));
}
std::string halves_png() {
    picture_test::PngSpec s;
    s.width = 400;
    s.height = 300;
    s.samples = [](uint32_t x, uint32_t y) {
        const uint32_t c = halves_rgb(x, y);
        return std::vector<uint32_t>{c >> 16, c >> 8 & 0xFF, c & 0xFF};
    };
    return picture_test::as_string(picture_test::png_file(s));
}

std::string background_file(const std::string& image, int mode, int area, int transparent) {
    char text[600];
    std::snprintf(text, sizeof text,
                  "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=0\r\nBackImage=1\r\nBackImageFile=%s\r\n"
                  "BackMode=%d\r\nBackArea=%d\r\nTransparent=%d\r\n"
                  "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n",
                  image.c_str(), mode, area, transparent);
    return text;
}

uint32_t sys_rgb(int index) {
    COLORREF c = GetSysColor(index);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

bool close_to(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
        if (d > 3 || d < -3) return false;
    }
    return true;
}

struct Shot {
    Image img;
    int ox = 0, oy = 0;  // client origin in the window image
    int w = 0, h = 0;    // client size
    uint32_t at(int x, int y) const { return img.at(ox + x, oy + y); }
};

bool shoot(HWND hwnd, Shot* s) {
    RECT client, wr;
    POINT origin = {0, 0};
    if (!GetClientRect(hwnd, &client) || !GetWindowRect(hwnd, &wr)) return false;
    ClientToScreen(hwnd, &origin);
    s->ox = origin.x - wr.left;
    s->oy = origin.y - wr.top;
    s->w = client.right;
    s->h = client.bottom;
    Sleep(300);  // let the paint reach the screen
    return capture_window(hwnd, &s->img);
}

// Shoots until pred holds of the shot, for up to 5 s: the other process repaints in its own
// time (after a dialog moved off it, after a slow decode).
template <class Pred>
bool shoot_until(HWND hwnd, Shot* s, Pred pred) {
    const DWORD start = GetTickCount();
    do {
        if (shoot(hwnd, s) && pred(*s)) return true;
    } while (GetTickCount() - start < 5000);
    return false;
}

// Pixels of the rectangle [l, r) x [t, b) for which pred holds.
template <class Pred>
int count_where(const Shot& s, int l, int t, int r, int b, Pred pred) {
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (pred(s.at(x, y))) ++n;
    return n;
}

// The halves cover the window (whole-window mode): red a quarter across the drawn image,
// blue three quarters across, below the month's rows.
bool shows_halves(const Shot& s, int image_w, int image_h) {
    const BackgroundPlan p = plan_background(true, true, 0, 50, s.w, s.h, image_w, image_h);
    return close_to(s.at(p.dst_w / 4, s.h - 6), kRed) && close_to(s.at(3 * p.dst_w / 4, s.h - 6), kBlue);
}

}  // namespace

E2E_TEST(background_in_each_mode) {
    struct Case {
        const char* name;
        int mode, area, transparent;
        const char* file;
        std::string (*image)();
    } cases[] = {
        {"background_cover", 0, 50, 0, "halves.bmp", halves_bmp},
        {"background_cover_washed", 0, 50, 50, "halves.bmp", halves_bmp},
        {"background_right", 1, 50, 0, "halves.bmp", halves_bmp},
        {"background_bottom", 2, 40, 0, "halves.bmp", halves_bmp},
        {"background_jpeg_cover", 0, 50, 0, "halves.jpg", halves_jpeg},
        {"background_png_right", 1, 50, 0, "halves.png", halves_png},
    };
    for (const Case& c : cases) {
        const std::string dir = fresh_dir(c.name);
        REQUIRE(install_image_plugin(dir));
        REQUIRE(write_file(dir + c.file, c.image()));
        REQUIRE(write_file(settings_file_of(dir), background_file(dir + c.file, c.mode, c.area, c.transparent)));
        App app;
        REQUIRE(app_start(app, dir));
        Shot s;
        REQUIRE(shoot(app.hwnd, &s));
        save_png(s.img, g_work_dir + c.name + ".png");
        const BackgroundPlan p = plan_background(true, true, c.mode, c.area, s.w, s.h, 400, 300);
        REQUIRE(p.draw);
        // Points a quarter and three quarters across the drawn image, below the header rows.
        const int y = c.mode == 0 ? s.h - 6 : p.dst_y + p.dst_h / 2;
        const int xl = p.dst_x + p.dst_w / 4, xr = p.dst_x + 3 * p.dst_w / 4;
        const uint32_t red = c.transparent ? 0xFF7F7F : kRed, blue = c.transparent ? 0x7F7FFF : kBlue;
        if (!close_to(s.at(xl, y), red) || !close_to(s.at(xr, y), blue))
            ctx.fail(__FILE__, __LINE__, std::string(c.name) + ": image colours at the computed points");
        if (c.mode == 0) {
            // The month is drawn over the image with its white halo.
            CHECK(count_where(s, 0, 0, s.w, s.h / 2, [](uint32_t v) { return v == kWhite; }) > 20);
        } else {
            // The band outside the drawn image holds only the window colour: no calendar there.
            const uint32_t window = sys_rgb(COLOR_WINDOW);
            auto is_window = [window](uint32_t v) { return v == window; };
            const int band_l = p.cal_right, band_t = p.cal_bottom;
            int stray = 0;
            for (int yy = band_t == s.h ? 0 : band_t; yy < s.h; ++yy)
                for (int xx = band_l == s.w ? 0 : band_l; xx < s.w; ++xx) {
                    const bool in_image = xx >= p.dst_x && xx < p.dst_x + p.dst_w && yy >= p.dst_y &&
                                          yy < p.dst_y + p.dst_h;
                    if (!in_image && !is_window(s.at(xx, yy))) ++stray;
                }
            CHECK_EQ(stray, 0);
            // The month itself is in the rest: dark text there.
            CHECK(count_where(s, 0, 0, p.cal_right, p.cal_bottom, [](uint32_t v) {
                      return (v >> 16 & 0xFF) < 90 && (v >> 8 & 0xFF) < 90 && (v & 0xFF) < 90;
                  }) > 20);
        }
        CHECK_EQ(app_close(app), 0);
    }
}

namespace {

bool apply_disabled(HWND dlg) { return !IsWindowEnabled(GetDlgItem(dlg, IDC_SET_APPLY)); }


const App* g_app = nullptr;
bool image_saved(HWND) { return settings_of(*g_app).find("BackImage=1\r\n") != std::string::npos; }

}  // namespace

E2E_TEST(settings_dialog_apply_repaints_and_saves_at_once) {
    const std::string dir = fresh_dir("settings_apply");
    REQUIRE(write_file(dir + "halves.bmp", halves_bmp()));
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nmonthlang=0\r\nclock=0\r\n[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\n"
                       "x2=440\r\ny2=420\r\n"));
    App app;
    REQUIRE(app_start(app, dir));
    g_app = &app;
    Shot before;
    REQUIRE(shoot(app.hwnd, &before));
    CHECK(!close_to(before.at(before.w / 4, before.h - 6), kRed));

    PostMessageA(app.hwnd, WM_COMMAND, CMD_DETAILED_SETTINGS, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - 設定");
    CHECK(apply_disabled(dlg));
    send_sync(GetDlgItem(dlg, IDC_SET_BACK_IMAGE), BM_CLICK, 0, 0);
    const std::string image = dir + "halves.bmp";
    SendMessageA(GetDlgItem(dlg, IDC_SET_BACK_FILE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(image.c_str()));
    CHECK(!apply_disabled(dlg));
    send_sync(GetDlgItem(dlg, IDC_SET_APPLY), BM_CLICK, 0, 0);
    CHECK(wait_until(image_saved, app.hwnd));
    CHECK(wait_until(apply_disabled, dlg));
    CHECK(settings_of(app).find("BackImageFile=" + image + "\r\n") != std::string::npos);

    // The dialog is still open: moved off the window, which shows the image already.
    SetWindowPos(dlg, nullptr, 600, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Shot after;
    CHECK(shoot_until(app.hwnd, &after, [](const Shot& s) { return shows_halves(s, 400, 300); }));
    save_png(after.img, g_work_dir + "settings_apply.png");

    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, dlg));
    CHECK(image_saved(app.hwnd));  // ｷｬﾝｾﾙ keeps what 更新 applied
    CHECK_EQ(app_close(app), 0);
    CHECK(settings_of(app).find("BackImage=1\r\n") != std::string::npos);
}

namespace {

HWND chooser_list(HWND chooser) {
    HWND view = FindWindowExA(chooser, nullptr, "SHELLDLL_DefView", nullptr);
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

// The number of entries the chooser lists once it shows want of them (polling up to 5 s).
int listed(HWND chooser, int want) {
    int n = -1;
    for (int i = 0; i < 250; ++i) {
        HWND list = chooser_list(chooser);
        n = list ? int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
        if (n == want) break;
        Sleep(20);
    }
    return n;
}

}  // namespace

E2E_TEST(image_chooser_lists_what_the_plugin_reads) {
    const std::string dir = fresh_dir("image_chooser");
    REQUIRE(install_image_plugin(dir));
    const std::string pictures = dir + "pictures\\";
    CreateDirectoryA(pictures.c_str(), nullptr);
    const char* images[] = {"a.png", "b.jpg", "c.jpeg", "d.jpe", "e.gif", "f.tif", "g.TIFF", "h.bmp", "i.rle"};
    const char* others[] = {"j.txt", "k.jp", "l.tiffs"};
    for (const char* n : images) REQUIRE(write_file(pictures + n, "x"));
    for (const char* n : others) REQUIRE(write_file(pictures + n, "x"));
    REQUIRE(write_file(settings_file_of(dir), "[Config]\r\nclock=0\r\nBackImage=1\r\nBackImageFile=" + pictures +
                                                  "b.jpg\r\n[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\n"
                                                  "x2=440\r\ny2=420\r\n"));
    App app;
    REQUIRE(app_start(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_DETAILED_SETTINGS, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    PostMessageA(GetDlgItem(dlg, IDC_SET_BACK_BROWSE), BM_CLICK, 0, 0);
    HWND chooser = find_owned_dialog(dlg, 5000);
    REQUIRE(chooser != nullptr);
    CHECK(window_text(chooser) == "背景画像の選択");
    // The image filter shows the bitmaps and every file of the plug-in's patterns.
    CHECK_EQ(listed(chooser, 9), 9);
    // All files: the others as well.
    HWND types = GetDlgItem(chooser, cmb1);
    CHECK_EQ(int(SendMessageA(types, CB_GETCOUNT, 0, 0)), 2);
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    CHECK_EQ(listed(chooser, 12), 12);
    PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, chooser));
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, dlg));
    CHECK_EQ(app_close(app), 0);
}

namespace {

// The halves as an ordinary large photo: 4000 x 3000, twelve megapixels.
std::string big_halves_jpeg() {
    picture_test::JpegSpec s;
    s.width = 4000;
    s.height = 3000;
    s.rgb = [](uint32_t x, uint32_t) { return x < 2000 ? kRed : kBlue; };
    return picture_test::as_string(picture_test::jpeg_file(s));
}

}  // namespace

E2E_TEST(large_photo_background_still_shows) {
    const std::string dir = fresh_dir("background_large_photo");
    REQUIRE(install_image_plugin(dir));
    REQUIRE(write_file(dir + "photo.jpg", big_halves_jpeg()));
    REQUIRE(write_file(settings_file_of(dir), background_file(dir + "photo.jpg", 0, 50, 0)));
    App app;
    REQUIRE(app_start(app, dir));
    Shot s;
    CHECK(shoot_until(app.hwnd, &s, [](const Shot& shot) { return shows_halves(shot, 4000, 3000); }));
    save_png(s.img, g_work_dir + "background_large_photo.png");
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(picture_bombs_leave_the_program_answering_without_image) {
    struct Bomb {
        const char* file;
        hostile::Bytes (*make)();
    } bombs[] = {
        {"bomb.png", [] { return hostile::zero_png(9000, 9000, 8, 2); }},
        {"text.png", [] {
             return hostile::zero_png(100, 100, 8, 2, {{"zTXt", hostile::inflating_chunk("Comment", 512u << 20)}});
         }},
        {"scans.jpg", [] { return hostile::progressive_jpeg(1000, 800, 301); }},
        {"rle.bmp", [] { return hostile::rle_bmp(32760, 16383, 4, true); }},
        {"frames.gif", [] { return hostile::declared_gif(4000, 4000, 20); }},
        {"strip.tif", [] { return hostile::deflate_tiff(9000, 9000); }},
    };
    const uint32_t window = sys_rgb(COLOR_WINDOW);
    for (const Bomb& b : bombs) {
        const std::string dir = fresh_dir(std::string("bomb_") + b.file);
        REQUIRE(install_image_plugin(dir));
        const hostile::Bytes bytes = b.make();
        REQUIRE(write_file(dir + b.file, std::string(bytes.begin(), bytes.end())));
        REQUIRE(write_file(settings_file_of(dir), background_file(dir + b.file, 0, 50, 0)));
        App app;
        REQUIRE(app_start(app, dir));
        CHECK(send_sync(app.hwnd, WM_NULL, 0, 0));
        Shot s;
        REQUIRE(shoot(app.hwnd, &s));
        // No image: the lower half, below the month's rows, is the window colour alone.
        const int off = count_where(s, 0, s.h - 8, s.w, s.h, [window](uint32_t v) { return v != window; });
        if (off != 0) ctx.fail(__FILE__, __LINE__, std::string(b.file) + ": something drawn where no image belongs");
        CHECK_EQ(app_close(app), 0);
    }
}
