#include "app/halo_mask_win.h"

#include <cstdint>
#include <memory>
#include <new>

#include "app/halo_rows.h"
#include "image/dib_section_win.h"
#include "image/surface_win.h"

namespace {

// The texts' mask: a one-bit top-down DIB section, clear bits black and set bits white, in a
// memory dc.
struct Mask {
    DibSection picture;
    const uint8_t* bits = nullptr;
    int w = 0, h = 0, stride = 0;
    std::unique_ptr<uint8_t[]> widened;  // one widened row

    bool make(int width, int height) {
        DibShape shape;
        shape.width = width;
        shape.height = height;
        shape.bits = 1;
        shape.top_down = true;
        shape.colours[1] = RGBQUAD{255, 255, 255, 0};
        if (!picture.make(shape) || !picture) return false;
        bits = picture.rows();
        w = width;
        h = height;
        stride = picture.stride();
        widened.reset(new (std::nothrow) uint8_t[static_cast<size_t>(stride)]);
        return widened != nullptr;
    }
    HDC dc() const { return picture.dc(); }
    const uint8_t* row(int y) const { return y >= 0 && y < h ? bits + static_cast<size_t>(y) * stride : nullptr; }
};

std::unique_ptr<Mask> g_mask;

// The surface's own pixels when the target is the surface of the mask's size.
struct Pixels {
    uint8_t* bits;
    int stride;
};

bool pixels_of(HDC target, const Mask& m, Pixels* out) {
    if (target != surface_dc() || surface_width() != m.w || surface_height() != m.h) return false;
    out->bits = surface_pixels();
    out->stride = surface_stride();
    return out->bits != nullptr;
}

// Another target than the surface: widened through blits, laid with a one-bit to colour blit
// (several times slower, the same result).
void lay_by_blits(HDC target, const Mask& m, int x, int y, int w, int h) {
    Mask widened;
    if (!widened.make(m.w, m.h)) return;
    HDC out = widened.dc();
    PatBlt(out, x, y, w, h, BLACKNESS);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) BitBlt(out, x + dx, y + dy, w, h, m.dc(), x, y, SRCPAINT);
    // From one bit to colour a clear bit becomes the text colour and a set bit the background
    // colour: black ORed changes nothing, white ORed is white.
    const COLORREF text = SetTextColor(target, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(target, RGB(255, 255, 255));
    BitBlt(target, x, y, w, h, out, x, y, SRCPAINT);
    SetTextColor(target, text);
    SetBkColor(target, back);
}

}  // namespace

HDC halo_mask_begin(int w, int h) {
    if (w <= 0 || h <= 0) return nullptr;
    if (!g_mask || g_mask->w != w || g_mask->h != h) {
        g_mask.reset(new (std::nothrow) Mask());
        if (!g_mask || !g_mask->make(w, h)) {
            g_mask.reset();
            return nullptr;
        }
    }
    HDC dc = g_mask->dc();
    PatBlt(dc, 0, 0, w, h, BLACKNESS);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));  // a set bit
    return dc;
}

void halo_mask_lay(HDC target, const RECT& area) {
    if (!g_mask || !target) return;
    const Mask& m = *g_mask;
    const int left = area.left < 0 ? 0 : area.left, right = area.right > m.w ? m.w : area.right;
    const int top = area.top < 0 ? 0 : area.top, bottom = area.bottom > m.h ? m.h : area.bottom;
    if (left >= right || top >= bottom) return;
    Pixels px;
    if (!pixels_of(target, m, &px)) {
        lay_by_blits(target, m, left, top, right - left, bottom - top);
        return;
    }
    GdiFlush();  // the texts are in the mask and the picture in its rows
    for (int y = top; y < bottom; ++y) {
        widen_bit_row(m.row(y - 1), m.row(y), m.row(y + 1), m.stride, m.widened.get());
        const int row = m.h - 1 - y;  // bottom-up
        whiten_where_set(px.bits + static_cast<size_t>(row) * px.stride, 3, m.widened.get(), left,
                         right);
    }
}

void halo_mask_release() { g_mask.reset(); }
