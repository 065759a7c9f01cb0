#include "image/background_win.h"

#include <cstddef>

#include "image/background_layout.h"
#include "image/background_loader_win.h"
#include "image/screen_size_win.h"
#include "image/surface_win.h"

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(DibHeader), "header layouts differ");
static_assert(offsetof(BITMAPINFO, bmiColors) == offsetof(ImageInfo, colors), "colour table offsets differ");

ImageInfo background_info;
PixelBlock background_pixels;

namespace {

// The surface's pixels right after the scaled image was drawn, and the size they are for.
unsigned char* cache = nullptr;
int cache_w = 0, cache_h = 0;
bool sizing = false;      // the window is being sized: scale roughly
bool drawn_rough = false; // a rough picture was drawn since sizing began

const BITMAPINFO* as_bitmapinfo(const ImageInfo& info) {
    return reinterpret_cast<const BITMAPINFO*>(&info);
}

}  // namespace

void background_drop_cache() {
    if (cache) LocalFree(cache);
    cache = nullptr;
    cache_w = cache_h = 0;
}

bool background_cached() { return cache != nullptr; }

void background_begin_sizing() {
    sizing = true;
    drawn_rough = false;
}

bool background_end_sizing() {
    const bool rough = drawn_rough;
    sizing = drawn_rough = false;
    if (rough) background_drop_cache();
    return rough;
}

bool background_covers_surface(const BackgroundChoice& choice) {
    return choice.image_on && !background_pixels.empty() && cache &&
           cache_w == surface_width() && cache_h == surface_height();
}

bool reload_background(const BackgroundChoice& choice) {
    background_loader_cancel();
    const bool loaded = decode_background(choice, largest_screen_size(), &background_pixels, &background_info);
    background_drop_cache();
    return loaded;
}

void load_background_later(HWND hwnd, UINT msg, const BackgroundChoice& choice) {
    background_pixels.reset();
    background_drop_cache();
    if (!background_loader_start(hwnd, msg, choice, largest_screen_size())) reload_background(choice);
}

bool background_arrived(WPARAM generation) {
    if (!background_loader_take(generation, &background_pixels, &background_info)) return false;
    background_drop_cache();
    return true;
}

RECT draw_background(const BackgroundChoice& choice, const RECT& client, bool* image_shown) {
    const int w = client.right - client.left, h = client.bottom - client.top;
    const BackgroundPlan p = plan_background(choice.image_on, !background_pixels.empty(), choice.mode,
                                             choice.area, w, h, background_info.header.width,
                                             background_info.header.height);
    *image_shown = p.shown;
    const RECT area = {client.left + p.cal_left, client.top + p.cal_top, client.left + p.cal_right,
                       client.top + p.cal_bottom};
    if (!p.shown) return area;
    if (cache && (cache_w != surface_width() || cache_h != surface_height())) background_drop_cache();
    if (cache) {
        surface_write(cache);
        return area;
    }
    if (p.draw) {
        surface_set_stretch_mode(sizing ? COLORONCOLOR : HALFTONE);
        if (sizing) drawn_rough = true;
        surface_stretch(p.dst_x, p.dst_y, p.dst_w, p.dst_h, p.src_x, p.src_y, p.src_w, p.src_h,
                        background_pixels.data(), as_bitmapinfo(background_info), DIB_RGB_COLORS, SRCCOPY);
    }
    // A size of a drag lasts until the next move of the mouse: not worth keeping.
    if (sizing) return area;
    surface_read(&cache);
    if (cache) {
        cache_w = surface_width();
        cache_h = surface_height();
    }
    return area;
}

void background_release() {
    background_loader_cancel();
    background_end_sizing();
    background_drop_cache();
    background_pixels.reset();
}
