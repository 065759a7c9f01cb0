#include "image/dib.h"

#include <cstring>
#include <new>

namespace {
PixelBlock::Hook allocation_hook = nullptr;
}  // namespace

void PixelBlock::set_hook(Hook hook) { allocation_hook = hook; }

bool PixelBlock::allocate(size_t n) {
    reset();
    if (allocation_hook && !allocation_hook(n, false)) return false;
    // One byte at least, so an empty image still has a block to point at.
    data_.reset(new (std::nothrow) uint8_t[n ? n : 1]());
    if (!data_) {
        if (allocation_hook) allocation_hook(n, true);
        return false;
    }
    size_ = n;
    return true;
}

void PixelBlock::reset() {
    if (data_ && allocation_hook) allocation_hook(size_, true);
    data_.reset();
    size_ = 0;
}

void PixelBlock::swap(PixelBlock& other) {
    data_.swap(other.data_);
    std::swap(size_, other.size_);
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
