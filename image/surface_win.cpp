#include "image/surface_win.h"

#include <cstring>
#include <memory>
#include <new>

#include "config/handles_win.h"
#include "image/dib.h"

namespace {

// Members go in reverse order: the bitmap is selected out before it is deleted, and the DC
// goes last.
struct Surface {
    OwnedMemoryDC dc;
    OwnedBitmap bitmap;
    GdiSelect selection;  // the bitmap in the DC
    int width = 0;
    int height = 0;
    BITMAPINFOHEADER header = {};
    unsigned char* bits = nullptr;       // the DIB section's rows, bottom row first
    std::unique_ptr<unsigned char[]> kept;  // surface_keep's copy, stride * height bytes
};

std::unique_ptr<Surface> g_surface;

// Rows of a 24-bit DIB, padded to whole 32-bit words.
int stride_of(int width) { return static_cast<int>(dib_stride(width, 24)); }

void fill_header(BITMAPINFOHEADER* h, int width, int height) {
    *h = BITMAPINFOHEADER{};
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = 24;
    h->biCompression = BI_RGB;
    h->biSizeImage = static_cast<DWORD>(stride_of(width)) * static_cast<DWORD>(height);
}

// The surface with a bitmap to draw into, or nullptr.
Surface* drawable() { return g_surface && g_surface->bitmap ? g_surface.get() : nullptr; }

// The header as a BITMAPINFO the calls may write to (GetDIBits fills in fields).
BITMAPINFO header_copy(const Surface& s) {
    BITMAPINFO bi = {};
    bi.bmiHeader = s.header;
    return bi;
}

}  // namespace

HDC surface_create(int width, int height) {
    surface_destroy();
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    g_surface.reset(new (std::nothrow) Surface());
    if (!g_surface) return nullptr;
    Surface& s = *g_surface;
    s.dc.reset(CreateCompatibleDC(nullptr));
    if (!s.dc) return nullptr;
    if (width > 0 && height > 0) {
        fill_header(&s.header, width, height);
        BITMAPINFO bi = header_copy(s);
        void* bits = nullptr;
        s.bitmap.reset(CreateDIBSection(s.dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        s.bits = static_cast<unsigned char*>(bits);
    }
    if (s.bitmap) {
        s.selection.select(s.dc.get(), s.bitmap.get());
        s.width = width;
        s.height = height;
    } else {
        fill_header(&s.header, 0, 0);  // no pixels: every operation below is a no-op
    }
    return s.dc.get();
}

void surface_destroy() { g_surface.reset(); }

void surface_fill(COLORREF colour) {
    Surface* s = drawable();
    if (!s) return;
    RECT r = {0, 0, s->width, s->height};
    OwnedBrush brush(CreateSolidBrush(colour));
    if (brush) FillRect(s->dc.get(), &r, brush.get());
}

HDC surface_dc() { return g_surface ? g_surface->dc.get() : nullptr; }
int surface_width() { return g_surface ? g_surface->width : 0; }
int surface_height() { return g_surface ? g_surface->height : 0; }
int surface_stride() { return stride_of(surface_width()); }
unsigned char* surface_pixels() {
    Surface* s = drawable();
    return s ? s->bits : nullptr;
}

void surface_read(unsigned char** pixels) {
    if (!pixels) return;
    *pixels = nullptr;
    Surface* s = drawable();
    if (!s) return;
    const SIZE_T bytes = static_cast<SIZE_T>(stride_of(s->width)) * static_cast<SIZE_T>(s->height);
    OwnedLocal block(LocalAlloc(LPTR, bytes));
    if (!block) return;
    BITMAPINFO bi = header_copy(*s);
    GetDIBits(s->dc.get(), s->bitmap.get(), 0, static_cast<UINT>(s->height), block.get(), &bi,
              DIB_RGB_COLORS);
    *pixels = static_cast<unsigned char*>(block.release());  // the caller frees it
}

void surface_write(const void* pixels) {
    Surface* s = drawable();
    if (!s || !pixels) return;
    BITMAPINFO bi = header_copy(*s);
    SetDIBits(s->dc.get(), s->bitmap.get(), 0, static_cast<UINT>(s->height), pixels, &bi,
              DIB_RGB_COLORS);
}

void surface_set_stretch_mode(int mode) {
    if (HDC dc = surface_dc()) SetStretchBltMode(dc, mode);
}

void surface_stretch(int dst_x, int dst_y, int dst_w, int dst_h, int src_x, int src_y, int src_w,
                     int src_h, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Surface* s = drawable();
    if (!s || !info) return;
    const int bottom_up_y = info->bmiHeader.biHeight - src_y - src_h;
    StretchDIBits(s->dc.get(), dst_x, dst_y, dst_w, dst_h, src_x, bottom_up_y, src_w, src_h, bits,
                  info, usage, rop);
}

namespace {

size_t surface_bytes(const Surface& s) {
    return static_cast<size_t>(stride_of(s.width)) * static_cast<size_t>(s.height);
}

}  // namespace

void surface_keep() {
    Surface* s = drawable();
    if (!s || !s->bits) return;
    if (!s->kept) s->kept.reset(new (std::nothrow) unsigned char[surface_bytes(*s)]);
    if (!s->kept) return;
    GdiFlush();  // what GDI drew is in the rows before they are read
    std::memcpy(s->kept.get(), s->bits, surface_bytes(*s));
}

bool surface_has_kept() {
    const Surface* s = drawable();
    return s && s->kept;
}

void surface_restore_kept(const RECT& r) {
    Surface* s = drawable();
    if (!s || !s->kept) return;
    const int left = r.left < 0 ? 0 : r.left, right = r.right > s->width ? s->width : r.right;
    const int top = r.top < 0 ? 0 : r.top, bottom = r.bottom > s->height ? s->height : r.bottom;
    if (left >= right || top >= bottom) return;
    GdiFlush();
    const size_t stride = static_cast<size_t>(stride_of(s->width));
    const size_t from = static_cast<size_t>(left) * 3, bytes = static_cast<size_t>(right - left) * 3;
    for (int y = top; y < bottom; ++y) {
        const size_t row = static_cast<size_t>(s->height - 1 - y) * stride + from;  // bottom-up
        std::memcpy(s->bits + row, s->kept.get() + row, bytes);
    }
}

void surface_blit_to(HDC target, int x, int y, int width, int height, int src_x, int src_y,
                     DWORD rop) {
    Surface* s = drawable();
    if (!s || !target) return;
    BitBlt(target, x, y, width, height, s->dc.get(), src_x, src_y, rop);
}
