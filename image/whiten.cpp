#include "image/whiten.h"

#include "image/background_layout.h"

void whiten_table(int transparent, uint8_t table[256]) {
    const int t = clamp_percent(transparent);
    for (int i = 0; i < 256; ++i) {
        int v = i + (t * (255 - i)) / 100;
        table[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

void whiten_image(PixelBlock* pixels, ImageInfo* info, int transparent) {
    uint8_t table[256];
    whiten_table(transparent, table);
    const DibHeader& h = info->header;
    if (h.bit_count <= 8) {
        uint32_t n = h.clr_used ? h.clr_used : (1u << h.bit_count);
        if (n > 256) n = 256;
        for (uint32_t i = 0; i < n; ++i)
            for (int c = 0; c < 3; ++c) info->colors[i][c] = table[info->colors[i][c]];
        return;
    }
    if (h.bit_count != 24 || h.width <= 0 || h.height <= 0) return;
    uint64_t count = dib_stride(h.width, 24) * static_cast<uint64_t>(h.height);
    if (count > pixels->size()) count = pixels->size();
    uint8_t* p = pixels->data();
    for (uint64_t i = 0; i < count; ++i) p[i] = table[p[i]];
}

bool whitening_applies(int back_mode, int transparent) {
    return back_mode == 0 && clamp_percent(transparent) != 0;
}
