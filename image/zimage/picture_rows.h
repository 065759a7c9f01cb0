// The rows the image plug-in hands back: 24-bit bottom-up rows of a size it agrees to hold,
// filled strip by strip from 32-bit premultiplied pixels blended over a background colour.
#pragma once

#include <cstddef>
#include <cstdint>

// The longest side taken; with the byte limit of the loader (kMaxPixelBytes of rows) it
// keeps the rows and the working strips of a picture within what a 32-bit process holds.
constexpr uint32_t kMaxPictureSide = 16384;

struct PictureRows {
    uint32_t width;
    uint32_t height;
    uint64_t stride;  // bytes per 24-bit row, a multiple of four
    uint64_t bytes;   // stride x height
};

// The rows of a width x height picture, computed in 64 bits. False for a side of 0 or above
// kMaxPictureSide, or rows beyond kMaxPixelBytes.
bool plan_picture_rows(uint32_t width, uint32_t height, PictureRows* out);

// How many rows of 32-bit pixels make one strip of at most budget bytes: at least 1, at
// most height.
uint32_t strip_rows(uint32_t width, uint32_t height, size_t budget);

// The largest strip taken to match the pieces a file is stored in.
constexpr size_t kMaxStripBytes = size_t{16} << 20;

// Rows a strip of converted pixels takes when the file is stored in pieces (TIFF strips or
// tiles) of piece_rows rows: a whole number of pieces when those fit in kMaxStripBytes, so
// that no piece is decoded twice, else strip_rows with budget. piece_rows 0: strip_rows.
uint32_t piece_strip_rows(uint32_t width, uint32_t height, uint32_t piece_rows, size_t budget);

// Where source row y (counted from the top) goes in the bottom-up rows.
inline uint64_t bottom_up_offset(const PictureRows& rows, uint32_t y) {
    return (static_cast<uint64_t>(rows.height) - 1 - y) * rows.stride;
}

struct Bgr {
    uint8_t blue, green, red;
};

// Blends width premultiplied blue-green-red-alpha pixels over the background into
// blue-green-red bytes: colour + background x (255 - alpha) / 255, rounded, at most 255.
void blend_row(const uint8_t* pbgra, uint32_t width, Bgr background, uint8_t* bgr);
