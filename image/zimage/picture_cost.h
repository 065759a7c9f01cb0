// What decoding a picture will cost, judged from the structure walk before anything is
// decoded, and the limits it must keep: a file of a few kilobytes can declare gigabytes.
#pragma once

#include <cstdint>

#include "image/zimage/picture_scan.h"

// More scans than ordinary progressive JPEG files have (about ten) by far; each scan is a
// pass over the whole picture.
constexpr uint32_t kMaxJpegScans = 256;
// Pixels times passes over them (JPEG scans), a bound on decoding time.
constexpr uint64_t kMaxDecodeWork = uint64_t{1} << 32;
// A TIFF strip or tile, decoded: what its decoder holds at once. Ordinary files keep strips
// of a few rows; one strip for a whole picture is a way to ask for any amount.
constexpr uint64_t kMaxPieceBytes = uint64_t{32} << 20;
// Compressed text and colour-profile chunks of a PNG (zTXt, compressed iTXt, iCCP), which the
// decoder inflates before the picture: how many, how large, and what they may inflate to.
constexpr uint32_t kMaxCompressedChunks = 32;
constexpr uint64_t kMaxChunkCompressed = uint64_t{1} << 20;
constexpr uint64_t kMaxChunkInflated = uint64_t{8} << 20;
constexpr uint64_t kMaxInflatedTotal = uint64_t{16} << 20;

// True when the scanned picture can be decoded within kMaxDecodePixels, kMaxDecodeWork,
// kMaxPieceBytes, the chunk limits above and kDecodeBudgetBytes (the input's bytes, what the decoder holds and
// what its compressed chunks inflate to, together).
bool picture_affordable(const PictureScan& scan, uint64_t input_bytes);
