// A DIB section selected into a memory DC of its own: how every off-screen picture of the
// program starts (the drawing surface, the texts' halo mask, the text pictures). What differs
// between them comes in the shape: the size, the bits of a pixel, the order of the rows and
// the two colours of a one-bit picture.
#pragma once

#include <windows.h>

#include "config/handles_win.h"

struct DibShape {
    int width = 0, height = 0;
    WORD bits = 24;           // 24, or 1 with the two colours below
    bool top_down = false;    // the top row first (else the bottom row, as bitmaps are stored)
    RGBQUAD colours[2] = {};  // a one-bit picture's clear and set bit
};

// Movable, never copied. The DC goes before the bitmap it holds.
class DibSection {
public:
    DibSection() = default;
    DibSection(DibSection&& o) noexcept { take(o); }
    DibSection& operator=(DibSection&& o) noexcept {
        if (this != &o) {
            reset();
            take(o);
        }
        return *this;
    }
    ~DibSection() { reset(); }

    // A memory DC and, when the shape has pixels, its section selected there. False when the
    // DC or the section cannot be made; a DC made stays (drawing into it then does nothing).
    bool make(const DibShape& shape);
    void reset();

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    // The section's rows in the shape's order; nullptr without a section.
    unsigned char* rows() const { return rows_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    // The header the section was made from (its image size filled in), for the calls that
    // read or write its rows.
    const BITMAPINFOHEADER& header() const { return header_; }
    explicit operator bool() const { return rows_ != nullptr; }

private:
    void take(DibSection& o);

    OwnedBitmap bitmap_;  // declared before the DC: the DC holding it is deleted first
    OwnedMemoryDC dc_;
    unsigned char* rows_ = nullptr;
    int width_ = 0, height_ = 0, stride_ = 0;
    BITMAPINFOHEADER header_ = {};
};
