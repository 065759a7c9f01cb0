#include "image/surface_win.h"

#include <cstring>
#include <memory>
#include <new>

#include "config/handles_win.h"
#include "image/dib.h"
#include "image/dib_section_win.h"

namespace {

struct Surface {
    DibSection picture;  // 24-bit, bottom row first
    std::unique_ptr<unsigned char[]> kept;  // surface_keep's copy, stride * height bytes
};

std::unique_ptr<Surface> g_surface;

// Rows of a 24-bit DIB, padded to whole 32-bit words.
int stride_of(int width) { return static_cast<int>(dib_stride(width, 24)); }

// The surface with a bitmap to draw into, or nullptr.
Surface* drawable() { return g_surface && g_surface->picture ? g_surface.get() : nullptr; }

// The header as a BITMAPINFO the calls may write to (GetDIBits fills in fields).
BITMAPINFO header_copy(const Surface& s) {
    BITMAPINFO bi = {};
    bi.bmiHeader = s.picture.header();
    return bi;
}

}  // namespace

HDC surface_create(int width, int height) {
    surface_destroy();
    g_surface.reset(new (std::nothrow) Surface());
    if (!g_surface) return nullptr;
    DibShape shape;
    shape.width = width < 0 ? 0 : width;
    shape.height = height < 0 ? 0 : height;
    // A section that cannot be made leaves the DC: every operation below is then a no-op.
    g_surface->picture.make(shape);
    return g_surface->picture.dc();
}

void surface_destroy() { g_surface.reset(); }

void surface_fill(COLORREF colour) {
    Surface* s = drawable();
    if (!s) return;
    RECT r = {0, 0, s->picture.width(), s->picture.height()};
    OwnedBrush brush(CreateSolidBrush(colour));
    if (brush) FillRect(s->picture.dc(), &r, brush.get());
}

HDC surface_dc() { return g_surface ? g_surface->picture.dc() : nullptr; }
int surface_width() { return g_surface ? g_surface->picture.width() : 0; }
int surface_height() { return g_surface ? g_surface->picture.height() : 0; }
int surface_stride() { return stride_of(surface_width()); }
unsigned char* surface_pixels() {
    Surface* s = drawable();
    return s ? s->picture.rows() : nullptr;
}

void surface_read(unsigned char** pixels) {
    if (!pixels) return;
    *pixels = nullptr;
    Surface* s = drawable();
    if (!s) return;
    const DibSection& p = s->picture;
    const SIZE_T bytes = static_cast<SIZE_T>(p.stride()) * static_cast<SIZE_T>(p.height());
    OwnedLocal block(LocalAlloc(LPTR, bytes));
    if (!block) return;
    BITMAPINFO bi = header_copy(*s);
    GetDIBits(p.dc(), p.bitmap(), 0, static_cast<UINT>(p.height()), block.get(), &bi, DIB_RGB_COLORS);
    *pixels = static_cast<unsigned char*>(block.release());  // the caller frees it
}

void surface_write(const void* pixels) {
    Surface* s = drawable();
    if (!s || !pixels) return;
    BITMAPINFO bi = header_copy(*s);
    SetDIBits(s->picture.dc(), s->picture.bitmap(), 0, static_cast<UINT>(s->picture.height()),
              pixels, &bi, DIB_RGB_COLORS);
}

void surface_set_stretch_mode(int mode) {
    if (HDC dc = surface_dc()) SetStretchBltMode(dc, mode);
}

void surface_stretch(int dst_x, int dst_y, int dst_w, int dst_h, int src_x, int src_y, int src_w,
                     int src_h, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Surface* s = drawable();
    if (!s || !info) return;
    const int bottom_up_y = info->bmiHeader.biHeight - src_y - src_h;
    StretchDIBits(s->picture.dc(), dst_x, dst_y, dst_w, dst_h, src_x, bottom_up_y, src_w, src_h, bits,
                  info, usage, rop);
}

namespace {

size_t surface_bytes(const Surface& s) {
    return static_cast<size_t>(s.picture.stride()) * static_cast<size_t>(s.picture.height());
}

}  // namespace

void surface_keep() {
    Surface* s = drawable();
    if (!s) return;
    if (!s->kept) s->kept.reset(new (std::nothrow) unsigned char[surface_bytes(*s)]);
    if (!s->kept) return;
    GdiFlush();  // what GDI drew is in the rows before they are read
    std::memcpy(s->kept.get(), s->picture.rows(), surface_bytes(*s));
}

bool surface_has_kept() {
    const Surface* s = drawable();
    return s && s->kept;
}

void surface_restore_kept(const RECT& r) {
    Surface* s = drawable();
    if (!s || !s->kept) return;
    const int w = s->picture.width(), h = s->picture.height();
    const int left = r.left < 0 ? 0 : r.left, right = r.right > w ? w : r.right;
    const int top = r.top < 0 ? 0 : r.top, bottom = r.bottom > h ? h : r.bottom;
    if (left >= right || top >= bottom) return;
    GdiFlush();
    const size_t stride = static_cast<size_t>(s->picture.stride());
    const size_t from = static_cast<size_t>(left) * 3, bytes = static_cast<size_t>(right - left) * 3;
    for (int y = top; y < bottom; ++y) {
        const size_t row = static_cast<size_t>(h - 1 - y) * stride + from;  // bottom-up
        std::memcpy(s->picture.rows() + row, s->kept.get() + row, bytes);
    }
}

void surface_blit_to(HDC target, int x, int y, int width, int height, int src_x, int src_y,
                     DWORD rop) {
    Surface* s = drawable();
    if (!s || !target) return;
    BitBlt(target, x, y, width, height, s->picture.dc(), src_x, src_y, rop);
}
