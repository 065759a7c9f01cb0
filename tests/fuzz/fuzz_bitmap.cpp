// The bitmap decoder on arbitrary bytes as a file, and the same bytes as a plug-in's
// picture: no read or write outside a block, and whatever loads is a drawable bottom-up
// DIB whose block holds all its rows. Whitening and the layout run on every result. The
// bytes also seed a valid bitmap of some depth, which must decode to the colours put in,
// and, on a screen smaller than it, to the box filter of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/background_layout.h"
#include "image/bitmap_decode.h"
#include "image/whiten.h"
#include "tests/host/box_reference.h"
#include "tests/host/seeded_bitmap.h"

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

// Decodes the seeded bitmap at full size and on a smaller screen; aborts on any colour that
// is not the one put in (or its box mean).
void check_seeded(const uint8_t* data, size_t size) {
    const seeded_bmp::Seeded s = seeded_bmp::make(data, size, 24);
    PixelBlock pixels;
    ImageInfo info;
    MemorySource src(s.file.data(), s.file.size());
    if (!decode_bitmap(src, &pixels, &info)) std::abort();
    if (info.header.width != static_cast<int32_t>(s.width) || info.header.height != static_cast<int32_t>(s.height))
        std::abort();
    for (uint32_t y = 0; y < s.height; ++y)
        for (uint32_t x = 0; x < s.width; ++x)
            if (std::memcmp(seeded_bmp::decoded_at(pixels, info, x, y), s.at(x, y), 3) != 0) std::abort();

    const uint8_t a = size ? data[0] : 0, b = size > 1 ? data[1] : 0;
    const ScreenSize screen{1 + a % s.width, 1 + b % s.height};
    const ReducedSize r = reduced_size(s.width, s.height, screen);
    MemorySource again(s.file.data(), s.file.size());
    if (!decode_bitmap(again, &pixels, &info, screen)) std::abort();
    if (info.header.width != static_cast<int32_t>(r.width) || info.header.height != static_cast<int32_t>(r.height))
        std::abort();
    if (!r.reduces(s.width, s.height)) return;
    if (info.header.bit_count != 24) std::abort();
    const std::vector<uint8_t> want = box_test::box_reference(
        s.width, s.height, r.width, r.height, [&](uint32_t x, uint32_t y) { return s.at(x, y); });
    for (uint32_t y = 0; y < r.height; ++y)
        for (uint32_t x = 0; x < r.width; ++x)
            if (std::memcmp(seeded_bmp::decoded_at(pixels, info, x, y), &want[3 * (size_t{y} * r.width + x)], 3) != 0)
                std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    MemorySource src(data, size);
    PixelBlock pixels;
    ImageInfo info;
    const uint8_t t = size ? data[size - 1] : 0;
    if (decode_bitmap(src, &pixels, &info)) exercise(&pixels, &info, t);
    // The same on a screen the bytes choose, which reduces most of what loads.
    const ScreenSize screen{size > 2 ? data[1] % 40u : 0u, size > 2 ? data[2] % 40u : 0u};
    if (decode_bitmap(src, &pixels, &info, screen)) exercise(&pixels, &info, t);

    // The same bytes as a plug-in's two handles, split where the first byte says.
    if (size >= 2) {
        const size_t split = 1 + (static_cast<size_t>(data[0]) * 7) % (size - 1);
        if (accept_plugin_picture(data, split, data + split, size - split, &pixels, &info, screen)) {
            if (info.header.compression == kBiRgb) exercise(&pixels, &info, t);
        }
    }
    check_seeded(data, size);
    return 0;
}
