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

// The same on a worker thread: until the picture arrives with msg (wParam: the load's
// generation) the window shows none. Without a thread it is loaded now. Failures are silent.
void load_background_later(HWND hwnd, UINT msg, const BackgroundChoice& choice);
// The message from load_background_later: true when its picture is now the background (the
// caller repaints); a stale one (the settings chose anew meanwhile) is dropped.
bool background_arrived(WPARAM generation);

// Draws or restores the background for the client area into the surface. *image_shown says
// whether an image is on show (the calendar then writes its text with a halo); the result is
// the part of the client area left for the calendar.
RECT draw_background(const BackgroundChoice& choice, const RECT& client, bool* image_shown);

// After a resize: the next paint scales the image anew.
void background_drop_cache();

// While the window is being sized the image is scaled with COLORONCOLOR, several times quicker
// than HALFTONE and good enough for a picture that lasts until the next move of the mouse.
// Ending it returns whether such a rough picture was drawn (and drops its cache): the settled
// size then wants one paint with the image scaled properly.
void background_begin_sizing();
bool background_end_sizing();

// Whether the next draw will copy the cache back instead of scaling (for the tests).
bool background_cached();
// Whether the next draw for this choice puts back a cache of the surface's whole size, so
// that nothing drawn before it would stay.
bool background_covers_surface(const BackgroundChoice& choice);

// Waits for a load under way, then frees image and cache (at exit).
void background_release();
