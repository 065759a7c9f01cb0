// The background image of the main window: loaded (and washed toward white) when the
// settings change, drawn into the off-screen surface at the start of each paint, and kept
// as the surface's pixels after the first, scaling draw so later paints only copy it back.
// What to show comes from the caller as a BackgroundChoice.
#pragma once

#include <windows.h>

#include "image/background_layout.h"
#include "image/dib.h"

extern ImageInfo background_info;
extern PixelBlock background_pixels;  // empty: no image

// Loads the chosen image or drops it, whitens it for the whole-window mode, and drops the
// cache. False only when an image was asked for and could not be loaded (there is then no
// image); telling the user is the caller's choice.
bool reload_background(const BackgroundChoice& choice);

// Draws or restores the background for the client area into the surface. *image_shown says
// whether an image is on show (the calendar then writes its text with a halo); the result is
// the part of the client area left for the calendar.
RECT draw_background(const BackgroundChoice& choice, const RECT& client, bool* image_shown);

// After a resize: the next paint scales the image anew.
void background_drop_cache();

// Whether the next draw will copy the cache back instead of scaling (for the tests).
bool background_cached();

// Frees image and cache (at exit).
void background_release();
