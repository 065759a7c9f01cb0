// Decoding a picture with the platform's imaging component (windowscodecs) into the two
// movable local-memory blocks an image plug-in hands back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "image/box_reduce.h"
#include "image/plugin_api_win.h"
#include "image/zimage/picture_rows.h"

// Decodes the first frame of the n bytes at data (which check_picture_input accepted); the
// frame's own size is checked again with plan_picture_rows. COM is set up and released
// within the call. The frame is converted to 32-bit premultiplied BGRA strip by strip,
// whole rows at a time (whole pieces of piece_rows rows when the file is stored so), and
// blended over background into bottom-up 24-bit rows; a frame larger than the screen is
// reduced to reduced_size on the way, so its full size is never held. progress, when given,
// hears (rows done, height, progress_data) after every strip and stops the decoding with
// kSpiCancelled by returning non-zero. On kSpiOk *info holds a BITMAPINFOHEADER and *pixels
// the rows; on any other result both are left untouched and nothing stays allocated.
int wic_decode_picture(const uint8_t* data, size_t n, Bgr background, ScreenSize screen, uint32_t piece_rows,
                       PluginProgressFn progress, LONG_PTR progress_data, HLOCAL* info, HLOCAL* pixels);
