// The arithmetic of the halo mask's rows (app/halo_mask_win.h), free of any window system: a
// one-bit row of texts widened by a pixel each way, and a row of the picture made white under
// the widened bits. One-bit rows go as a one-bit bitmap holds them: the leftmost pixel in the
// most significant bit.
#pragma once

#include <cstdint>

// out (bytes long) gets a bit set wherever row, above or below (nullptr: no such row) has that
// bit or one of its neighbours set: the eight neighbours and the pixel itself.
void widen_bit_row(const uint8_t* above, const uint8_t* row, const uint8_t* below, int bytes,
                   uint8_t* out);

// Makes the pixels x0 <= x < x1 of a row of pixels of bytes_per_pixel bytes (3 or 4) white
// wherever bits has a set bit.
void whiten_where_set(uint8_t* pixels, int bytes_per_pixel, const uint8_t* bits, int x0, int x1);
// The same in colour (0x00BBGGRR): the halo in the window colour of the user's scheme.
void paint_where_set(uint8_t* pixels, int bytes_per_pixel, const uint8_t* bits, int x0, int x1,
                     uint32_t colour);
