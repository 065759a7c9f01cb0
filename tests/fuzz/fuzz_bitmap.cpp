// The bitmap decoder on arbitrary bytes as a file, and the same bytes as a plug-in's
// picture: no read or write outside a block, and whatever loads is a drawable bottom-up
// DIB whose block holds all its rows. Whitening and the layout run on every result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/background_layout.h"
#include "image/bitmap_decode.h"
#include "image/whiten.h"

namespace {

void check(const PixelBlock& pixels, const ImageInfo& info) {
    const DibHeader& h = info.header;
    if (h.size != 40 || h.planes != 1 || h.width <= 0 || h.height <= 0) std::abort();
    const int b = h.bit_count;
    if (b != 1 && b != 4 && b != 8 && b != 24) std::abort();  // 16 and 32 always converted
    if (h.clr_used > 256) std::abort();
    if (h.compression == kBiRgb &&
        pixels.size() < dib_stride(h.width, b) * static_cast<uint64_t>(h.height))
        std::abort();
}

void exercise(PixelBlock* pixels, ImageInfo* info, uint8_t t) {
    check(*pixels, *info);
    whiten_image(pixels, info, t - 20);
    for (int mode = 0; mode < 3; ++mode) {
        const BackgroundPlan p = plan_background(true, true, mode, t, 1 + t, 300 - t, info->header.width,
                                                 info->header.height);
        if (p.draw && (p.dst_w <= 0 || p.dst_h <= 0 || p.src_w <= 0 || p.src_h <= 0)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    MemorySource src(data, size);
    PixelBlock pixels;
    ImageInfo info;
    const uint8_t t = size ? data[size - 1] : 0;
    if (decode_bitmap(src, &pixels, &info)) exercise(&pixels, &info, t);

    // The same bytes as a plug-in's two handles, split where the first byte says.
    if (size >= 2) {
        const size_t split = 1 + (static_cast<size_t>(data[0]) * 7) % (size - 1);
        if (accept_plugin_picture(data, split, data + split, size - split, &pixels, &info)) {
            if (info.header.compression == kBiRgb) exercise(&pixels, &info, t);
        }
    }
    return 0;
}
