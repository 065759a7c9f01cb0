// The one off-screen drawing surface: a 24-bit bottom-up DIB section the size of the
// client area, selected into a memory DC. Every paint draws into it and reaches the
// screen with one blit; the background compositing reads and writes its pixels.
#pragma once

#include <windows.h>

// Replaces the surface by one of width x height pixels and returns its DC. A zero or
// negative size keeps the DC but makes no bitmap: drawing into it then does nothing.
HDC surface_create(int width, int height);
// Releases bitmap and DC; afterwards no surface exists.
void surface_destroy();
// Fills the whole surface with one colour.
void surface_fill(COLORREF colour);
// The memory DC for any drawing; nullptr when no surface exists.
HDC surface_dc();
int surface_width();
int surface_height();
// Bytes per row: 3 * width rounded up to a multiple of 4.
int surface_stride();
// The surface's rows, bottom row first, to change in place after GdiFlush; nullptr without a
// bitmap.
unsigned char* surface_pixels();
// A zero-filled LocalAlloc block of stride * height bytes holding the pixels (bottom row
// first); the caller frees it with LocalFree. *pixels is nullptr without a bitmap.
void surface_read(unsigned char** pixels);
// Puts a block of stride * height bytes (as surface_read hands out) back.
void surface_write(const void* pixels);
void surface_set_stretch_mode(int mode);
// StretchDIBits into the surface; src_y counts from the top of the image and is turned into
// the bottom-up row the system expects (image height - src_y - src_h).
void surface_stretch(int dst_x, int dst_y, int dst_w, int dst_h, int src_x, int src_y, int src_w,
                     int src_h, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// A copy of the surface's pixels as they are now, kept beside it until the next keep or a new
// surface: the picture under something drawn over it later (the month under the clock).
// Nothing is kept when the memory cannot be had.
void surface_keep();
bool surface_has_kept();
// Puts the kept pixels back inside r (cut to the surface); nothing without a kept copy.
void surface_restore_kept(const RECT& r);
// BitBlt from the surface to target.
void surface_blit_to(HDC target, int x, int y, int width, int height, int src_x, int src_y,
                     DWORD rop);
