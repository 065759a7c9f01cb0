#include "app/halo_rows.h"

namespace {

// A byte of a row with its neighbours' bits folded in: the pixel itself, the one to its left
// (from the byte before for the first bit) and the one to its right.
uint8_t widened_byte(const uint8_t* row, int i, int bytes) {
    const unsigned b = row[i];
    const unsigned before = i > 0 ? row[i - 1] : 0u, after = i + 1 < bytes ? row[i + 1] : 0u;
    return static_cast<uint8_t>(b | (b >> 1) | (before << 7) | (b << 1) | (after >> 7));
}

}  // namespace

void widen_bit_row(const uint8_t* above, const uint8_t* row, const uint8_t* below, int bytes,
                   uint8_t* out) {
    for (int i = 0; i < bytes; ++i) {
        uint8_t v = row ? widened_byte(row, i, bytes) : 0;
        if (above) v |= widened_byte(above, i, bytes);
        if (below) v |= widened_byte(below, i, bytes);
        out[i] = v;
    }
}

void whiten_where_set(uint8_t* pixels, int bytes_per_pixel, const uint8_t* bits, int x0, int x1) {
    paint_where_set(pixels, bytes_per_pixel, bits, x0, x1, 0x00FFFFFFu);
}

void paint_where_set(uint8_t* pixels, int bytes_per_pixel, const uint8_t* bits, int x0, int x1,
                     uint32_t colour) {
    // Pixels hold blue, green, red.
    const uint8_t blue = static_cast<uint8_t>(colour >> 16), green = static_cast<uint8_t>(colour >> 8),
                  red = static_cast<uint8_t>(colour);
    if (x0 < 0) x0 = 0;
    for (int x = x0; x < x1;) {
        const uint8_t byte = bits[x >> 3];
        if (byte == 0) {
            x = (x | 7) + 1;  // the rest of this byte's pixels: nothing set
            continue;
        }
        if (byte & (0x80u >> (x & 7))) {
            uint8_t* p = pixels + x * bytes_per_pixel;
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
        ++x;
    }
}
