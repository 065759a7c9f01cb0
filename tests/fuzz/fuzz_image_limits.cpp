// The image limits at the program's own values (this target keeps the full bound on rows):
// the bitmap decoder on any bytes at a screen size the bytes choose, a plug-in's picture,
// and the image plug-in's checks. Blocks are counted instead of made: every block asked for
// must fit, with those alive, within the decoding budget; blocks above 1 MiB are then
// declined, so the decoders stop there and each input stays fast.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/bitmap_decode.h"
#include "image/dib.h"
#include "image/zimage/picture_cost.h"
#include "image/zimage/picture_input.h"
#include "image/zimage/spi_codes.h"

namespace {

constexpr size_t kMadeAtMost = size_t{1} << 20;
uint64_t live = 0;

bool count_block(size_t bytes, bool release) {
    if (release) {
        live -= bytes;
        return true;
    }
    if (bytes > kDecodeBudgetBytes || live + bytes > kDecodeBudgetBytes) std::abort();
    if (bytes > kMadeAtMost) return false;
    live += bytes;
    return true;
}

uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// What an accepted picture declares, read straight from its bytes: a PNG's rows, a GIF's
// first frame, must lie within the budget whatever the walk made of them.
void check_declared(const uint8_t* d, size_t n, PictureFormat f, const PictureScan& s) {
    const uint64_t pixels = uint64_t{s.width} * s.height;
    if (pixels == 0 || pixels > kMaxDecodePixels || s.scans > kMaxJpegScans) std::abort();
    if (s.inflated_total > kMaxInflatedTotal || s.decoder_bytes + n > kDecodeBudgetBytes) std::abort();
    if (f == PictureFormat::kPng) {
        const uint64_t bits = d[24];
        if (uint64_t{be32(d + 16)} * be32(d + 20) * bits / 8 > kDecodeBudgetBytes) std::abort();
    }
    if (f == PictureFormat::kGif && s.decode_pixels < pixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    set_block_hook(count_block);
    const uint8_t a = size > 4 ? data[size - 1] : 0, b = size > 4 ? data[size - 2] : 0;
    const ScreenSize screens[] = {{0, 0}, {1u + a * 32u, 1u + b * 32u}};
    for (const ScreenSize& screen : screens) {
        PixelBlock pixels;
        ImageInfo info;
        MemorySource src(data, size);
        decode_bitmap(src, &pixels, &info, screen);
        if (size >= 2) {
            const size_t split = 1 + (static_cast<size_t>(data[0]) * 7) % (size - 1);
            accept_plugin_picture(data, split, data + split, size - split, &pixels, &info, screen);
        }
    }
    if (live != 0) std::abort();  // every block made was given back

    PictureFormat format;
    PictureRows rows;
    PictureScan scan;
    if (check_picture_input(data, size, &format, &rows, &scan) == kSpiOk) check_declared(data, size, format, scan);
    set_block_hook(nullptr);
    return 0;
}
