// When a kept picture of a text may stand in for writing it. A text written over a plain
// colour changes only the pixels its glyphs cover; a picture of it written once over the
// same colour holds those pixels exactly. Copying the picture's inked rectangle gives the
// same surface as writing the text, provided that rectangle held nothing but that colour:
// no other text's ink and no shape drawn before the texts reaches into it.
#pragma once

#include <cstdint>

#include "app/main_layout.h"

// The smallest rectangle of a w x h picture (24-bit rows of stride bytes, blue, green, red)
// whose pixels differ from back (0x00BBGGRR); empty 0, 0, 0, 0 when none does.
CellRect ink_bounds(const unsigned char* rows, int stride, int w, int h, uint32_t back);

// A text placed on the surface: its ink and the box (index into shapes) it is written on,
// or -1 when it is written on the window colour.
struct PlacedInk {
    CellRect ink;
    int on_shape;
};

// Whether copying every text's ink gives what writing them would: the inks do not meet
// each other, an ink on the window colour meets no shape, and an ink on a box lies inside
// that box's one-pixel border and meets no other shape. Shapes are the rectangles drawn
// before the texts (the month buttons, the marked boxes). Empty inks are ignored.
bool inks_fit(const PlacedInk* texts, int n, const CellRect* shapes, int shape_count);
