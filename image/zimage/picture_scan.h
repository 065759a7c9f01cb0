// What the image plug-in decides from a file's own bytes before the imaging component sees
// them: which format its first bytes announce, and whether its structure is whole up to the
// end of its first picture (a truncated download is refused here, whatever a decoder would
// make of it), with the picture's size.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureFormat { kNone, kPng, kJpeg, kGif, kTiff };

// The most bytes the format test reads.
constexpr size_t kSniffBytes = 8;

// The format by signature: PNG, JPEG (FF D8 FF), GIF87a or GIF89a, TIFF in either byte
// order. Reads at most min(n, kSniffBytes) bytes.
PictureFormat sniff_picture_format(const uint8_t* head, size_t n);

// The picture's size and what decoding it takes, as far as the structure tells.
struct PictureScan {
    uint32_t width;
    uint32_t height;
    uint64_t decode_pixels;       // pixels decoded (every frame of a GIF; else width x height)
    uint64_t decoder_bytes;       // what the platform's decoder holds at once, at most
    uint32_t scans;               // JPEG scans (1 for the other formats)
    uint32_t piece_rows;          // rows of a TIFF strip or tile (0 for the other formats)
    uint64_t piece_bytes;         // a TIFF strip or tile, decoded
    uint32_t compressed_chunks;   // PNG zTXt, compressed iTXt, iCCP
    uint64_t largest_compressed;  // the longest such chunk
    uint64_t largest_inflated;    // what the most inflating one inflates to
    uint64_t inflated_total;      // what they all inflate to
};

// Walks the chunks, segments, blocks or directory of a file of that format, reading only
// within the n bytes: PNG from IHDR to IEND with image data between; JPEG from SOI through
// a frame header and its scans to EOI; GIF through its colour tables and extensions to the
// end of the first image's data; TIFF through the first directory to its strips or tiles,
// every one within the file. True, with the picture's width and height (both above 0) and
// what decoding it takes, when everything the first picture needs is there. Inflated sizes
// are counted only up to a little past the limits of picture_cost.h.
bool scan_picture(PictureFormat format, const uint8_t* data, size_t n, PictureScan* out);
