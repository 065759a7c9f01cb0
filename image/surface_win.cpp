#include "image/surface_win.h"

namespace {

struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
    BITMAPINFOHEADER header = {};
};

Surface g_surface;

int stride_of(int width) { return (3 * width + 3) & ~3; }

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

// The header as a BITMAPINFO the calls may write to (GetDIBits fills in fields).
BITMAPINFO header_copy() {
    BITMAPINFO bi = {};
    bi.bmiHeader = g_surface.header;
    return bi;
}

}  // namespace

HDC surface_create(int width, int height) {
    surface_destroy();
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    Surface& s = g_surface;
    fill_header(&s.header, width, height);
    s.dc = CreateCompatibleDC(nullptr);
    if (!s.dc) return nullptr;
    if (width > 0 && height > 0) {
        BITMAPINFO bi = header_copy();
        void* bits = nullptr;
        s.bitmap = CreateDIBSection(s.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (s.bitmap) {
        s.previous = SelectObject(s.dc, s.bitmap);
        s.width = width;
        s.height = height;
    } else {
        fill_header(&s.header, 0, 0);  // no pixels: every operation below is a no-op
    }
    return s.dc;
}

void surface_destroy() {
    Surface& s = g_surface;
    if (s.dc && s.previous) SelectObject(s.dc, s.previous);
    if (s.bitmap) DeleteObject(s.bitmap);
    if (s.dc) DeleteDC(s.dc);
    s = Surface{};
}

void surface_fill(COLORREF colour) {
    Surface& s = g_surface;
    if (!s.bitmap) return;
    RECT r = {0, 0, s.width, s.height};
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return;
    FillRect(s.dc, &r, brush);
    DeleteObject(brush);
}

HDC surface_dc() { return g_surface.dc; }
int surface_width() { return g_surface.width; }
int surface_height() { return g_surface.height; }
int surface_stride() { return stride_of(g_surface.width); }

void surface_read(unsigned char** pixels) {
    if (!pixels) return;
    *pixels = nullptr;
    Surface& s = g_surface;
    if (!s.bitmap) return;
    const SIZE_T bytes = static_cast<SIZE_T>(stride_of(s.width)) * static_cast<SIZE_T>(s.height);
    auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, bytes));
    if (!block) return;
    BITMAPINFO bi = header_copy();
    GetDIBits(s.dc, s.bitmap, 0, static_cast<UINT>(s.height), block, &bi, DIB_RGB_COLORS);
    *pixels = block;
}

void surface_write(const void* pixels) {
    Surface& s = g_surface;
    if (!s.bitmap || !pixels) return;
    BITMAPINFO bi = header_copy();
    SetDIBits(s.dc, s.bitmap, 0, static_cast<UINT>(s.height), pixels, &bi, DIB_RGB_COLORS);
}

void surface_set_stretch_mode(int mode) {
    if (g_surface.dc) SetStretchBltMode(g_surface.dc, mode);
}

void surface_stretch(int dst_x, int dst_y, int dst_w, int dst_h, int src_x, int src_y, int src_w,
                     int src_h, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Surface& s = g_surface;
    if (!s.bitmap || !info) return;
    const int bottom_up_y = info->bmiHeader.biHeight - src_y - src_h;
    StretchDIBits(s.dc, dst_x, dst_y, dst_w, dst_h, src_x, bottom_up_y, src_w, src_h, bits, info,
                  usage, rop);
}

void surface_blit_to(HDC target, int x, int y, int width, int height, int src_x, int src_y,
                     DWORD rop) {
    Surface& s = g_surface;
    if (!s.bitmap || !target) return;
    BitBlt(target, x, y, width, height, s.dc, src_x, src_y, rop);
}
