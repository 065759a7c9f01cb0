// Start-up of the real program to its first finished paint, against a bare window program,
// as medians of several runs taken in turn; the program's process size at that moment; the
// same with a 4000 x 3000 JPEG and a 4000 x 3000 bitmap as background, and when their picture
// shows; and the DLLs loaded by the first paint that the bare window does without. Also the
// bare window calling the common dialogs, common controls and shell after its first paint,
// with those imported at start, delay-loaded, or loaded by the program's wrappers at first
// use, and the program linked with delay-load libraries. The program also starts with 500
// one-off entries (in a file of a release before entries kept more than their two values, so
// that each identity is derived at the load) and with 500 repeating ones. Besides the median,
// the fastest run (other work on the machine only ever adds time). Optional argument: the
// number of runs (default 11).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/schedule_sections.h"
#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_pictures.h"
#include "tests/bench/bench_process.h"
#include "tests/win/win_scratch.h"

namespace {

constexpr int kPhotoW = 4000, kPhotoH = 3000;
const char kProgramClass[] = "TarseZelmar32Class";
const char kBareClass[] = "ZelmarBenchBareWindow";

struct Subject {
    const char* label;
    std::string exe, dir;
    const char* cls;
    std::vector<double> ms, working_set, private_mb, picture_ms;
    std::set<std::string> dlls_at_paint, dlls_later;
    int failures = 0;
    bool picture = false;  // a background image is set: also time until it shows
};

std::string user_settings_file(const std::string& dir) {
    char name[256] = "";
    DWORD n = 255;
    if (!GetUserNameA(name, &n) || name[0] == '\0') lstrcpyA(name, "default");
    return dir + name + ".cfg";
}

// A program directory of its own: the exe (as Zelmar.exe), the image plug-in and a settings
// file with a 340 x 340 window, the given background and the given schedule sections.
std::string program_dir(const std::string& root, const char* name, const std::string& exe,
                        const std::string& image, const std::string& schedule = std::string()) {
    const std::string dir = root + name + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    CopyFileA(exe.c_str(), (dir + "Zelmar.exe").c_str(), FALSE);
    CopyFileA((win_test::exe_dir() + "ZIMAGE.SPI").c_str(), (dir + "ZIMAGE.SPI").c_str(), FALSE);
    char text[1024];
    std::snprintf(text, sizeof text,
                  "[Config]\r\nBackImage=%d\r\nBackImageFile=%s\r\nBackMode=0\r\nTransparent=0\r\n"
                  "[DispSet1]\r\nreso=%dx%d\r\nx1=342\r\ny1=214\r\nx2=682\r\ny2=554\r\n",
                  image.empty() ? 0 : 1, image.c_str(), GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    win_test::put_file(user_settings_file(dir), text + schedule);
    return dir + "Zelmar.exe";
}

// From the start until the picture shows, polled after the first paint: the client's
// bottom-left corner loses the window colour (the test photo has none there). -1: not in 10 s.
double picture_shown_ms(HWND hwnd, double paint_ms) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT p = {2, rc.bottom - 2};
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    const double t0 = now_ms();
    double ms = -1;
    while (ms < 0 && now_ms() - t0 < 10000) {
        if (GetPixel(screen, p.x, p.y) != GetSysColor(COLOR_WINDOW)) ms = paint_ms + now_ms() - t0;
        else Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    return ms;
}

// record: keep the figures; inspect: also list the DLLs a second after the paint, when the
// bare windows have made their calls.
void run_once(Subject& s, bool record, bool inspect) {
    bench::Started st;
    if (!bench::start_until_painted(s.exe, s.dir, s.cls, &st)) {
        ++s.failures;
        return;
    }
    if (record) {
        s.ms.push_back(st.ms);
        s.working_set.push_back(st.working_set_mb);
        s.private_mb.push_back(st.private_mb);
        s.dlls_at_paint = st.dlls;
        if (s.picture) s.picture_ms.push_back(picture_shown_ms(st.hwnd, st.ms));
    }
    if (inspect) {
        Sleep(1000);
        s.dlls_later = bench::loaded_dlls(st.pi.hProcess);
    }
    bench::close_started(st);
}

std::string difference(const std::set<std::string>& a, const std::set<std::string>& b) {
    std::string out;
    for (const std::string& n : a)
        if (!b.count(n)) out += " " + n;
    return out.empty() ? " (none)" : out;
}

double fastest(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

void print_row(const Subject& s, const Subject& base) {
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
    const double m = bench::median(s.ms), f = fastest(s.ms);
    std::printf("  %-38s median %7.1f ms %5.2fx  fastest %7.1f ms %5.2fx  working set %5.1f MB  private %5.1f MB",
                s.label, m, ratio(m, bench::median(base.ms)), f, ratio(f, fastest(base.ms)),
                bench::median(s.working_set), bench::median(s.private_mb));
    if (s.failures) std::printf("  (%d runs failed)", s.failures);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const std::string bin = win_test::exe_dir();
    const std::string root = win_test::scratch_dir("bench_startup");
    const std::string jpeg = root + "photo.jpg", bmp = root + "photo.bmp";
    const bool have_jpeg = bench::write_photo_jpeg(jpeg, kPhotoW, kPhotoH);
    const bool have_bmp = bench::write_photo_bmp(bmp, kPhotoW, kPhotoH);

    std::vector<Subject> s = {
        {"bare window", bin + "bench_bare_window.exe", root, kBareClass},
        {"bare, with the program's resources", bin + "bench_bare_manifest.exe", root, kBareClass},
        {"bare, dialogs+controls+shell imported", bin + "bench_bare_eager.exe", root, kBareClass},
        {"bare, the same delay-loaded", bin + "bench_bare_delay.exe", root, kBareClass},
        {"bare, the same by the wrappers", bin + "bench_bare_lazy.exe", root, kBareClass},
        {"Zelmar", "", root + "plain\\", kProgramClass},
        {"Zelmar, delay-load libraries", "", root + "delay\\", kProgramClass},
        {"Zelmar, 4000 x 3000 JPEG", "", root + "jpeg\\", kProgramClass},
        {"Zelmar, 4000 x 3000 bitmap", "", root + "bmp\\", kProgramClass},
        {"Zelmar, 500 one-off entries", "", root + "oneoff\\", kProgramClass},
        {"Zelmar, 500 repeating entries", "", root + "repeating\\", kProgramClass},
    };
    enum { kBare, kManifest, kEager, kDelay, kLazy, kPlain, kPlainDelay, kJpeg, kBmp, kOneOff, kRepeating };
    std::unique_ptr<ScheduleList> list(new ScheduleList);
    fill_bench_entries(list.get(), kMaxEntries);
    s[kOneOff].exe = program_dir(root, "oneoff", bin + "Zelmar.exe", "", bench_schedule_text(*list, false));
    fill_bench_repeating_entries(list.get(), kMaxEntries);
    s[kRepeating].exe = program_dir(root, "repeating", bin + "Zelmar.exe", "", bench_schedule_text(*list, true));
    s[kPlain].exe = program_dir(root, "plain", bin + "Zelmar.exe", "");
    s[kPlainDelay].exe = program_dir(root, "delay", bin + "Zelmar_delay.exe", "");
    s[kJpeg].exe = program_dir(root, "jpeg", bin + "Zelmar.exe", have_jpeg ? jpeg : "");
    s[kBmp].exe = program_dir(root, "bmp", bin + "Zelmar.exe", have_bmp ? bmp : "");

    s[kJpeg].picture = have_jpeg;
    s[kBmp].picture = have_bmp;
    for (Subject& x : s) run_once(x, false, false);  // the files in the cache, the prefix awake
    for (int r = 0; r < runs; ++r)
        for (Subject& x : s) run_once(x, true, r == runs - 1);

    std::printf("start-up to the first finished paint, %d runs taken in turn; ratios to the bare window\n", runs);
    for (int i = kBare; i <= kPlainDelay; ++i) print_row(s[i], s[kBare]);
    std::printf("background, whole window, 340 x 340 (screen %d x %d: a 24-bit screen image is %.1f MB);"
                " ratios to no background\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                GetSystemMetrics(SM_CXSCREEN) * 3.0 * GetSystemMetrics(SM_CYSCREEN) / 1048576.0);
    if (!have_jpeg) std::printf("  (the imaging component wrote no JPEG: that row has no image)\n");
    for (const std::string* f : {&jpeg, &bmp}) {
        WIN32_FILE_ATTRIBUTE_DATA a = {};
        if (GetFileAttributesExA(f->c_str(), GetFileExInfoStandard, &a))
            std::printf("  %s: %.1f MB\n", f->substr(f->find_last_of('\\') + 1).c_str(), a.nFileSizeLow / 1048576.0);
    }
    for (int i : {kPlain, kJpeg, kBmp}) print_row(s[i], s[kPlain]);
    std::printf("schedule entries; ratios to none\n");
    for (int i : {kPlain, kOneOff, kRepeating}) print_row(s[i], s[kPlain]);
    for (int i : {kJpeg, kBmp})
        std::printf("  %-40s %+7.1f MB working set, %+7.1f MB private against none\n", s[i].label,
                    bench::median(s[i].working_set) - bench::median(s[kPlain].working_set),
                    bench::median(s[i].private_mb) - bench::median(s[kPlain].private_mb));

    for (int i : {kJpeg, kBmp})
        if (s[i].picture)
            std::printf("  %-40s picture shown after median %7.1f ms %5.2fx, fastest %7.1f ms\n", s[i].label,
                        bench::median(s[i].picture_ms), bench::median(s[i].picture_ms) / bench::median(s[kPlain].ms),
                        fastest(s[i].picture_ms));
    std::printf("DLLs loaded at the first paint that the bare window does not load\n");
    for (int i = kManifest; i <= kPlainDelay; ++i)
        std::printf("  %-40s%s\n", s[i].label, difference(s[i].dlls_at_paint, s[kBare].dlls_at_paint).c_str());
    std::printf("DLLs loaded in the second after the first paint\n");
    for (int i = kEager; i <= kPlainDelay; ++i)
        std::printf("  %-40s%s\n", s[i].label, difference(s[i].dlls_later, s[i].dlls_at_paint).c_str());
    std::printf("DLLs of the bare window:");
    for (const std::string& n : s[kBare].dlls_at_paint) std::printf(" %s", n.c_str());
    std::printf("\n");
    std::fflush(stdout);
    win_test::remove_tree(root);
    return 0;
}
