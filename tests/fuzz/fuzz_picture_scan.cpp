// The image plug-in's checks on any bytes: the format test reads only the bytes it is given,
// the structure walk stays within the buffer, and whatever passes has a size the row plan
// either refuses or turns into rows whose strips and blending stay within their blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "image/zimage/picture_input.h"
#include "image/zimage/picture_rows.h"
#include "image/zimage/picture_scan.h"
#include "image/zimage/spi_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    // The format test on every prefix shorter than its window, each in a block of its own.
    for (size_t n = 0; n <= kSniffBytes && n <= size; ++n) {
        std::unique_ptr<uint8_t[]> head(new uint8_t[n ? n : 1]);
        if (n) std::memcpy(head.get(), data, n);
        sniff_picture_format(head.get(), n);
    }
    // Each format's walk on the same bytes, whatever they announce.
    for (PictureFormat f : {PictureFormat::kPng, PictureFormat::kJpeg, PictureFormat::kGif, PictureFormat::kTiff}) {
        PictureScan s{0, 0};
        if (scan_picture(f, data, size, &s) && (s.width == 0 || s.height == 0)) std::abort();
    }
    PictureFormat format;
    PictureRows rows;
    if (check_picture_input(data, size, &format, &rows) != kSpiOk) return 0;
    if (rows.bytes != rows.stride * rows.height || rows.stride < 3ull * rows.width || rows.bytes > kMaxPixelBytes)
        std::abort();
    // One strip of the picture's width blended into one row.
    const uint32_t n = strip_rows(rows.width, rows.height, 1u << 16);
    if (n < 1 || n > rows.height) std::abort();
    std::unique_ptr<uint8_t[]> strip(new uint8_t[4ull * rows.width]());
    std::unique_ptr<uint8_t[]> row(new uint8_t[rows.stride]);
    for (uint32_t x = 0; x < rows.width; ++x) strip[4ull * x + 3] = data[x % size];
    blend_row(strip.get(), rows.width, Bgr{1, 2, 3}, row.get());
    return 0;
}
