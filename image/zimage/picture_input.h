// The bytes the image plug-in decodes: the picture from its offset in the file, checked
// (format, whole structure, size) before anything is decoded.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/bitmap_decode.h"
#include "image/dib.h"
#include "image/zimage/picture_rows.h"
#include "image/zimage/picture_scan.h"

// The largest input read: as much as the largest rows the loader takes.
constexpr uint64_t kMaxPictureInput = kMaxPixelBytes;

// Reads everything from offset to the end of src into bytes. kSpiReadError for a negative
// offset or one past the end, or a short read; kSpiNoMemory beyond kMaxPictureInput or when
// memory is short; else kSpiOk.
int read_picture_input(ByteSource& src, int64_t offset, PixelBlock* bytes);

// The picture's format, structure and size: kSpiUnknownFormat, kSpiBrokenData, kSpiNoMemory
// (rows beyond the limits, or decoding it costs more than picture_affordable allows), or
// kSpiOk with the rows of its full size, its format and, when asked, what the walk found.
int check_picture_input(const uint8_t* data, size_t n, PictureFormat* format, PictureRows* rows,
                        PictureScan* scan = nullptr);
