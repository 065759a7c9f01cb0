// A repaint after the window was uncovered, on the program's real window: the whole client
// and a 150 x 100 piece of it invalidated and painted at once, against a window of the same
// size whose paint is one blit of its update rectangle from an off-screen bitmap (what such a
// repaint needs to cost). Plain; with the analog clock and 500 entries; and with a photo
// background over the whole window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/bench/bench_entries.h"
#include "tests/bench/bench_main_window.h"
#include "tests/bench/bench_pictures.h"
#include "tests/bench/bench_timer.h"

namespace {

constexpr int kW = 340, kH = 340;

// The reference: a window that paints by copying its update rectangle.
struct CopyWindow {
    HWND hwnd = nullptr;
    HDC mem = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;

    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_ERASEBKGND) return 1;
        if (msg != WM_PAINT) return DefWindowProcA(w, msg, wp, lp);
        auto* self = reinterpret_cast<CopyWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (self && self->mem) {
            const RECT& r = ps.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, self->mem, r.left, r.top, SRCCOPY);
        }
        EndPaint(w, &ps);
        return 0;
    }

    explicit CopyWindow(const RECT& client) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZelmarBenchCopyWindow";
        RegisterClassA(&wc);
        RECT frame = client;
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW);
        hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, wc.lpszClassName, "copy",
                               WS_OVERLAPPEDWINDOW, 400, 20, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
        if (!hwnd) return;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = client.right;
        bi.bmiHeader.biHeight = client.bottom;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        mem = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bmp) old = SelectObject(mem, bmp);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
    }
    ~CopyWindow() {
        if (hwnd) DestroyWindow(hwnd);
        if (old) SelectObject(mem, old);
        if (bmp) DeleteObject(bmp);
        if (mem) DeleteDC(mem);
    }
};

void measure(const char* label, const std::string& dir, const std::string& config,
             void (*fill)(ScheduleList*)) {
    HWND hwnd = bench::open_main_window(dir, bench::settings_file_text(config, kW, kH), fill);
    if (!hwnd) {
        std::printf("%-34s the window could not be opened\n", label);
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    CopyWindow copy(client);
    bench::pump();
    const RECT piece = {40, 60, 190, 160};
    const struct {
        const char* what;
        const RECT* r;
        int rounds;
    } areas[] = {{"whole client", nullptr, 100}, {"150 x 100", &piece, 200}};
    for (const auto& a : areas) {
        // In turn, the fastest of each: other work on the machine only ever adds time.
        double program = 1e300, blit = 1e300;
        for (int turn = 0; turn < 3; ++turn) {
            program = std::min(program, fastest_ms(a.rounds, [&] { bench::uncover(hwnd, a.r); }));
            blit = std::min(blit, fastest_ms(a.rounds, [&] { bench::uncover(copy.hwnd, a.r); }));
        }
        std::printf("%-34s %-12s repaint %7.3f ms  blit %7.3f ms  (%.2fx)\n", label, a.what, program,
                    blit, program / blit);
    }
    std::fflush(stdout);
    bench::close_main_window(hwnd);
}

void no_entries(ScheduleList* list) { fill_bench_marked_entries(list, 0); }
void entries_500(ScheduleList* list) { fill_bench_marked_entries(list, kMaxEntries); }

}  // namespace

int main() {
    const std::string dir = win_test::scratch_dir("bench_uncover");
    const std::string jpeg = dir + "photo.jpg";
    const bool have_jpeg = bench::write_photo_jpeg(jpeg, 1600, 1200);
    std::printf("uncovered repaint of the %d x %d window against a blit of the same rectangle\n", kW, kH);
    measure("plain", dir, "clock=0\r\n", no_entries);
    measure("analog clock, 500 entries", dir, "clock=1\r\nanalog=1\r\n", entries_500);
    if (have_jpeg)
        measure("photo 1600 x 1200, whole window", dir,
                "clock=1\r\nanalog=1\r\nBackImage=1\r\nBackMode=0\r\nBackImageFile=" + jpeg + "\r\n",
                entries_500);
    win_test::remove_tree(dir);
    return 0;
}
