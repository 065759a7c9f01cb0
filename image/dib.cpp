#include "image/dib.h"

#include <cstring>
#include <new>

namespace {
BlockHook block_hook = nullptr;
}  // namespace

void set_block_hook(BlockHook hook) { block_hook = hook; }
bool block_hook_allows(size_t bytes) { return block_hook == nullptr || block_hook(bytes, false); }
void block_hook_release(size_t bytes) {
    if (block_hook) block_hook(bytes, true);
}

uint64_t dib_stride(int64_t width, int bits) {
    if (width <= 0 || bits <= 0) return 0;
    return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) >> 3) & ~uint64_t{3};
}

DibHeader dib_header_from_bytes(const uint8_t* p) {
    DibHeader h;
    h.size = le32(p);
    h.width = static_cast<int32_t>(le32(p + 4));
    h.height = static_cast<int32_t>(le32(p + 8));
    h.planes = le16(p + 12);
    h.bit_count = le16(p + 14);
    h.compression = le32(p + 16);
    h.size_image = le32(p + 20);
    h.x_pels_per_meter = static_cast<int32_t>(le32(p + 24));
    h.y_pels_per_meter = static_cast<int32_t>(le32(p + 28));
    h.clr_used = le32(p + 32);
    h.clr_important = le32(p + 36);
    return h;
}
