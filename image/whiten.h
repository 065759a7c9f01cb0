// Washing a loaded image toward white by a percentage, for the whole-window background.
#pragma once

#include <cstdint>

#include "image/dib.h"

// Entry i moves t percent of the way to 255: i + t * (255 - i) / 100, truncated; t is
// limited to 0..100 first.
void whiten_table(int transparent, uint8_t table[256]);

// Whitens the colour bytes of a 24-bit image (rows with their padding, never past the
// block) or the colour table of a palette image (its index bytes stay), so both look the
// same washed. Other depths are left alone.
void whiten_image(PixelBlock* pixels, ImageInfo* info, int transparent);

// The rule of the settings: only the whole-window mode is washed, and only for a
// transparency other than 0 (after limiting to 0..100).
bool whitening_applies(int back_mode, int transparent);
