#include "image/background_loader_win.h"

#include <process.h>

#include <cstdint>
#include <cstdio>

#include "image/plugins_win.h"
#include "image/whiten.h"

namespace {

// What one load is for and what it made. While the worker runs it alone touches the record;
// once it has ended, the main thread does.
struct Load {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM generation = 0;
    BackgroundChoice choice = {};
    char file[2 * MAX_PATH] = "";  // the choice's file, which lives in the caller's settings
    ScreenSize screen = {0, 0};
    PixelBlock pixels;             // empty: nothing to take
    ImageInfo info = {};
};

Load g_load;
HANDLE g_worker = nullptr;
WPARAM g_generation = 0;  // the latest load's; a message with another is stale

unsigned __stdcall decode_and_post(void*) {
    Load& l = g_load;
    if (!decode_background(l.choice, l.screen, &l.pixels, &l.info)) l.pixels.reset();
    // The window is gone: nobody will take the picture.
    if (!PostMessageA(l.hwnd, l.msg, l.generation, 0)) l.pixels.reset();
    return 0;
}

}  // namespace

bool decode_background(const BackgroundChoice& choice, ScreenSize screen, PixelBlock* pixels, ImageInfo* info) {
    pixels->reset();
    if (!choice.image_on) return true;
    if (!load_image_file(choice.file ? choice.file : "", screen, pixels, info)) {
        pixels->reset();
        return false;
    }
    if (whitening_applies(choice.mode, choice.transparent)) whiten_image(pixels, info, choice.transparent);
    return true;
}

void background_loader_wait() {
    if (!g_worker) return;
    WaitForSingleObject(g_worker, INFINITE);
    CloseHandle(g_worker);
    g_worker = nullptr;
}

void image_formats_filter(void*, char* out, size_t size) {
    background_loader_wait();
    build_image_filter(image_plugins(), out, size);
}

void background_loader_cancel() {
    background_loader_wait();
    ++g_generation;
    g_load.pixels.reset();
}

bool background_loader_start(HWND hwnd, UINT msg, const BackgroundChoice& choice, ScreenSize screen) {
    background_loader_cancel();
    if (!choice.image_on) return false;
    const int n = std::snprintf(g_load.file, sizeof g_load.file, "%s", choice.file ? choice.file : "");
    if (n < 0 || static_cast<size_t>(n) >= sizeof g_load.file) return false;
    g_load.hwnd = hwnd;
    g_load.msg = msg;
    g_load.generation = g_generation;
    g_load.choice = choice;
    g_load.choice.file = g_load.file;
    g_load.screen = screen;
    const uintptr_t t = _beginthreadex(nullptr, 0, decode_and_post, nullptr, 0, nullptr);
    if (t == 0) return false;
    g_worker = reinterpret_cast<HANDLE>(t);
    return true;
}

bool background_loader_take(WPARAM generation, PixelBlock* pixels, ImageInfo* info) {
    background_loader_wait();
    if (generation != g_generation || g_load.generation != g_generation || g_load.pixels.empty()) return false;
    pixels->swap(g_load.pixels);
    g_load.pixels.reset();
    *info = g_load.info;
    return true;
}
