// Reducing a picture while it is read, a row at a time: each pixel of the result is the mean
// of a box of whole source pixels, so a picture larger than the screen is never held whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/dib.h"

// The size of the screen the picture is drawn on; 0 x 0 keeps every picture at its own size.
struct ScreenSize {
    uint32_t width;
    uint32_t height;
};

struct ReducedSize {
    uint32_t width;
    uint32_t height;
    bool reduces(uint32_t w, uint32_t h) const { return width < w || height < h; }
};

// How many screens' worth of pixels a kept picture may hold: a very wide or tall picture,
// which still covers the screen with one side, is reduced further down to this.
constexpr uint32_t kMaxKeptScreens = 2;

// The size a width x height picture is kept at on that screen: its own size when it covers
// no more than the screen; else, in proportion, the smallest size that still covers the
// screen (so a window up to the screen's size is filled without enlarging it), and at most
// kMaxKeptScreens screens of pixels. Never larger than the picture, never 0.
ReducedSize reduced_size(uint32_t width, uint32_t height, ScreenSize screen);

// Takes src_h rows of src_w blue-green-red pixels, top row first or bottom row first, and
// makes the dst_w x dst_h 24-bit bottom-up rows of the reduced picture. Source column x
// falls in result column x * dst_w / src_w (rounded down), and row y, counted from the top
// whatever the order, in row y * dst_h / src_h; each result pixel is the rounded mean of
// its box.
class BoxReducer {
public:
    // False when a size is 0, the result is larger than the source, or memory is short.
    bool start(uint32_t src_w, uint32_t src_h, ReducedSize dst, bool top_first, PixelBlock* out);
    // One source row of src_w pixels; rows past src_h are ignored.
    void add_row(const uint8_t* bgr);
    // Every source row has come in (so every result row is written).
    bool complete() const { return taken_ == src_h_; }

private:
    void emit_row();

    uint32_t src_w_ = 0, src_h_ = 0, dst_w_ = 0, dst_h_ = 0;
    bool top_first_ = false;
    uint64_t stride_ = 0;
    uint8_t* out_ = nullptr;
    Block<uint32_t> x_edge_;  // dst_w + 1 source column edges
    Block<uint64_t> sums_;    // dst_w x 3 running sums
    uint32_t taken_ = 0;  // source rows so far
    uint32_t row_ = 0;    // result row being summed, counted from the top
    uint32_t rows_ = 0;   // source rows in its sums
};

// Reduces a loaded bottom-up picture (1, 4, 8 or 24 bits, BI_RGB) to reduced_size on the
// screen; a picture that needs no reduction is left as it is. The result is 24 bits.
// False when memory is short or the picture is not of such a kind (it is then unchanged).
bool reduce_to_screen(PixelBlock* pixels, ImageInfo* info, ScreenSize screen);

// The blue-green-red pixels of one stored row of 1, 4, 8 or 24 bits (palette entries from
// info's colour table).
void palette_row_to_bgr(const uint8_t* row, uint32_t width, int bits, const ImageInfo& info, uint8_t* bgr);
