// Times a whole-window paint with a background image: copying the cached background back,
// the same paint without any image, and the first paint after a resize or a settings change,
// which scales the image with HALFTONE; at 340 x 340 and 1920 x 1200, for the whole-window
// and the right-band mode, with the ratios.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/background_choice.h"
#include "app/month_paint_win.h"
#include "config/settings.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "tests/bench/bench_month.h"
#include "tests/bench/bench_timer.h"
#include "tests/host/bmp_builder.h"
#include "tests/host/test_records.h"

namespace {

constexpr int kImageW = 1600, kImageH = 1200;

// A 1600 x 1200 24-bit gradient, written once to the temporary folder.
std::string write_image() {
    bmp_test::BmpFields s{kImageW, kImageH, 24};
    const size_t stride = size_t(kImageW) * 3;
    s.pixels.resize(stride * kImageH);
    for (int y = 0; y < kImageH; ++y)
        for (int x = 0; x < kImageW; ++x) {
            uint8_t* p = &s.pixels[size_t(y) * stride + 3 * size_t(x)];
            p[0] = uint8_t(x * 255 / kImageW);
            p[1] = uint8_t(y * 255 / kImageH);
            p[2] = uint8_t((x + y) & 0xFF);
        }
    const std::vector<uint8_t> bytes = bmp_test::bmp_file(s);
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string path = std::string(dir) + "zelmar_bench_background.bmp";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    if (f != INVALID_HANDLE_VALUE) {
        WriteFile(f, bytes.data(), DWORD(bytes.size()), &done, nullptr);
        CloseHandle(f);
    }
    return path;
}

// One paint as the main window does it, into the surface and on to the target.
void paint(int w, int h, BlitTarget& target) {
    surface_fill(GetSysColor(COLOR_WINDOW));
    const RECT client = {0, 0, w, h};
    bool halo = false;
    const RECT area = draw_background(background_choice_of(settings), client, &halo);
    MonthView v = bench_month_view();
    v.area = CellRect{area.left, area.top, area.right, area.bottom};
    v.halo = halo;
    MonthPaintResult r;
    paint_month(surface_dc(), w, h, v, &r);
    surface_blit_to(target.dc, 0, 0, w, h, 0, 0, SRCCOPY);
}

void run(const char* mode_name, int mode, int w, int h, int rounds) {
    surface_create(w, h);
    BlitTarget target(w, h);
    settings.BackImage = 0;
    reload_background(background_choice_of(settings));
    const double plain = time_ms(rounds, [&] { paint(w, h, target); });
    settings.BackImage = 1;
    settings.BackMode = mode;
    reload_background(background_choice_of(settings));
    const double cached = time_ms(rounds, [&] { paint(w, h, target); });
    const double first = time_ms(rounds / 4 + 1, [&] {
        background_drop_cache();
        paint(w, h, target);
    });
    std::printf("%-12s %4d x %4d  no image %8.3f ms  cached %8.3f ms (%.2fx)  first paint %8.3f ms (%.2fx of cached)\n",
                mode_name, w, h, plain, cached, cached / plain, first, first / cached);
    surface_destroy();
}

}  // namespace

int main() {
    settings_defaults(&settings, 1024, 768);
    const std::string image = write_image();
    lstrcpynA(settings.BackImageFile, image.c_str(), sizeof settings.BackImageFile);
    settings.Transparent = 30;
    settings.BackArea = 40;
    std::printf("background paint benchmark, %d x %d 24-bit image\n", kImageW, kImageH);
    run("whole window", 0, 340, 340, 200);
    run("whole window", 0, 1920, 1200, 40);
    run("right band", 1, 340, 340, 200);
    run("right band", 1, 1920, 1200, 40);
    DeleteFileA(image.c_str());
    background_release();
    return 0;
}
