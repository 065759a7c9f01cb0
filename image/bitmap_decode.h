// The built-in bitmap decoder: a Windows bitmap file (plain or run-length encoded, 1 to 32
// bits per pixel, bottom-up or top-down) read from any byte source into one bottom-up
// DIB of 1, 4, 8 or 24 bits per pixel. Every size the file declares is checked before use;
// a file that lies about its length loads what is there and is never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/box_reduce.h"
#include "image/dib.h"

// Random-access bytes: a file, or a buffer in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Copies up to n bytes from offset into dst; returns how many were copied (0 past the end).
    virtual size_t read_at(uint64_t offset, void* dst, size_t n) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    uint64_t size() const override { return size_; }
    size_t read_at(uint64_t offset, void* dst, size_t n) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// What a checked header says about its pixels.
struct DibLayout {
    int width;
    int height;         // always positive
    bool top_down;      // the rows were stored top row first (negative height)
    int bits;
    uint32_t compression;
    uint64_t stride;    // bytes per row as stored
    int colors;         // colour-table entries to read (0 when none)
    bool masks;         // three BI_BITFIELDS masks follow the header
};

// Checks a header and puts it in the form the rest of the program draws with: size 40, one
// plane, positive height, a colour count of 1 to 256 for palette images (0 means 2^bits;
// more than 256 is cut to 256) and 0 for the others. False, for an image no one can draw:
// width or height 0 or below (a negative height means top-down rows, allowed unless
// compressed), bits other than 1, 4, 8, 16, 24, 32, a compression the depth does not allow,
// or pixels (as stored, decoded or converted to 24 bits) beyond kMaxPixelBytes, or more than
// kMaxDecodePixels pixels.
bool dib_check_header(DibHeader* h, DibLayout* out);

// Where the colour table starts, counted from the start of the header: after the header's
// own size when that is one of the known header sizes above 40 (up to 124), else after 40.
uint32_t dib_colour_table_offset(uint32_t header_size);

// Reads a whole bitmap file ("BM", file header, info header, colours or masks, pixels).
// On success pixels holds the bottom-up rows and info describes them: 1, 4, 8 or 24 bits,
// BI_RGB. A picture larger than the screen is reduced to reduced_size while its rows are
// read (24 bits), so its full size is never held. On failure pixels may hold a block, which
// the caller drops.
bool decode_bitmap(ByteSource& src, PixelBlock* pixels, ImageInfo* info, ScreenSize screen = {0, 0});

// Expands BI_RLE8 or BI_RLE4 data (the first info->header.size_image bytes of the block, at
// most the block) into plain rows; pixels outside the image are dropped. Compression becomes
// BI_RGB and size_image height x stride.
bool decode_rle(PixelBlock* pixels, ImageInfo* info);

// Turns 16 or 32 bits per pixel (BI_RGB or BI_BITFIELDS with its masks in the colour table)
// into 24 bits per pixel, BI_RGB.
bool convert_to_24bit(PixelBlock* pixels, ImageInfo* info);

// Reverses the order of height rows of stride bytes (top-down to bottom-up).
void flip_rows(uint8_t* rows, uint64_t stride, int height);

// The picture a plug-in handed back: an info block (header, colours or masks right after the
// header) and a pixel block, each of the size its handle really has. Copies no more than
// each block holds (the rest is zero), turns top-down rows bottom-up and converts 16 and 32
// bits to 24, and reduces a picture larger than the screen (reduce_to_screen); run-length
// data are kept as delivered.
bool accept_plugin_picture(const uint8_t* info_block, size_t info_size, const uint8_t* pixel_block,
                           size_t pixel_size, PixelBlock* pixels, ImageInfo* info, ScreenSize screen = {0, 0});
