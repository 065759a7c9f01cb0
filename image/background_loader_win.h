// The background of a starting window decoded on a worker thread: the window shows at once
// and the picture follows when it is ready. The worker decodes into a record of its own and
// posts a message; only the main thread installs the picture. The image plug-ins are never
// used by both threads at once: every other use of them waits for the worker to end first.
#pragma once

#include <windows.h>

#include <cstddef>

#include "image/background_layout.h"
#include "image/box_reduce.h"
#include "image/dib.h"

// The chosen image loaded (reduced to screen) and whitened for the whole-window mode. True
// also when no image is asked for (pixels then empty); false when the chosen one failed.
bool decode_background(const BackgroundChoice& choice, ScreenSize screen, PixelBlock* pixels, ImageInfo* info);

// Makes every earlier load stale and starts decoding choice's image for hwnd; once done the
// worker posts msg to hwnd with the load's generation as wParam. False (nothing will be
// posted) when no image is asked for, the file name does not fit or no thread could start.
bool background_loader_start(HWND hwnd, UINT msg, const BackgroundChoice& choice, ScreenSize screen);

// Waits until no worker runs.
void background_loader_wait();

// The image chooser's filter of every format the program reads (image/plugin_table.h), once
// no worker uses the plug-ins; callable as the settings dialog's ImageFormats.
void image_formats_filter(void* context, char* out, size_t size);

// Waits, then makes every load started so far stale and frees a picture none has taken.
void background_loader_cancel();

// The worker's message arrived: when generation is the latest load's and it decoded a
// picture, the picture moves into pixels and info and the result is true. Anything else
// (stale, repeated, or posted by someone else) changes nothing.
bool background_loader_take(WPARAM generation, PixelBlock* pixels, ImageInfo* info);
