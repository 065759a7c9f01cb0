// The image plug-in host: finding and loading the *.SPI plug-ins of a directory once, when
// the first picture or the list of formats is asked for, and asking them for a picture.
#pragma once

#include "image/box_reduce.h"
#include "image/dib.h"
#include "image/plugin_table.h"

// Loads every acceptable *.SPI of dir (with or without trailing "\") into plugin_table, at
// most 64, and returns their number. Each DLL is loaded with dir as the current directory,
// so the libraries it needs are found beside it; the previous current directory is back
// afterwards. DLLs that are no image readers or list no format are unloaded again.
int load_image_plugins(const char* dir);

// Unloads every plug-in and empties the table (the tests' way back to the start); nothing is
// deferred any more.
void unload_image_plugins();

// Names the directory whose plug-ins are loaded at their first need, not now: a start-up
// without a picture in a plug-in's format never loads one.
void defer_image_plugins(const char* dir);
// The plug-in table, after loading the deferred directory's plug-ins if that is still to do.
const PluginTable& image_plugins();

// The plug-in route for path: the first plug-in in table order whose IsSupported accepts the
// file (at offset 0, or behind a 128-byte prefix) and whose GetPicture delivers a drawable
// picture, reduced when it is larger than the screen. What a plug-in hands out is freed
// also when it then reports a failure. False when none delivers.
bool load_plugin_picture(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info);

// The whole loader: the built-in decoder for .bmp and .rle files that start with "BM", else
// the plug-ins (loaded now if deferred) when one lists the extension. pixels is emptied first.
// A picture larger than the screen (0 x 0: none is) is kept at reduced_size, and its full size
// is never held where the format allows (bitmaps, and the image plug-in's own formats).
bool load_image_file(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info);
