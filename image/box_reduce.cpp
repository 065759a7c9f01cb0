#include "image/box_reduce.h"

#include <cmath>
#include <cstring>
#include <new>

ReducedSize reduced_size(uint32_t width, uint32_t height, ScreenSize screen) {
    ReducedSize r{width, height};
    if (width == 0 || height == 0 || screen.width == 0 || screen.height == 0) return r;
    const uint64_t sw = screen.width, sh = screen.height;
    // The side that reaches the screen's edge first decides the cover size.
    if (uint64_t{width} * sh <= uint64_t{height} * sw) {
        if (width > sw) {
            r.width = static_cast<uint32_t>(sw);
            r.height = static_cast<uint32_t>((uint64_t{height} * sw + width - 1) / width);
        }
    } else if (height > sh) {
        r.height = static_cast<uint32_t>(sh);
        r.width = static_cast<uint32_t>((uint64_t{width} * sh + height - 1) / height);
    }
    const double limit = static_cast<double>(kMaxKeptScreens) * static_cast<double>(sw * sh);
    const double area = static_cast<double>(r.width) * r.height;
    if (area > limit) {
        const double f = std::sqrt(limit / area);
        r.width = static_cast<uint32_t>(r.width * f);
        r.height = static_cast<uint32_t>(r.height * f);
    }
    if (r.width < 1) r.width = 1;
    if (r.height < 1) r.height = 1;
    if (r.width > width) r.width = width;
    if (r.height > height) r.height = height;
    return r;
}

bool BoxReducer::start(uint32_t src_w, uint32_t src_h, ReducedSize dst, bool top_first, PixelBlock* out) {
    out_ = nullptr;
    if (src_w == 0 || src_h == 0 || dst.width == 0 || dst.height == 0 || dst.width > src_w ||
        dst.height > src_h)
        return false;
    src_w_ = src_w;
    src_h_ = src_h;
    dst_w_ = dst.width;
    dst_h_ = dst.height;
    top_first_ = top_first;
    stride_ = dib_stride(dst_w_, 24);
    if (!x_edge_.allocate(dst_w_ + size_t{1}) || !sums_.allocate(size_t{3} * dst_w_) ||
        !out->allocate(static_cast<size_t>(stride_ * dst_h_)))
        return false;
    // Result column k starts at the first source column x with x * dst_w / src_w = k.
    for (uint32_t k = 0; k <= dst_w_; ++k)
        x_edge_[k] = static_cast<uint32_t>((uint64_t{k} * src_w_ + dst_w_ - 1) / dst_w_);
    out_ = out->data();
    taken_ = 0;
    rows_ = 0;
    return true;
}

void BoxReducer::add_row(const uint8_t* bgr) {
    if (out_ == nullptr || taken_ >= src_h_) return;
    const uint32_t y = top_first_ ? taken_ : src_h_ - 1 - taken_;  // counted from the top
    const uint32_t row = static_cast<uint32_t>(uint64_t{y} * dst_h_ / src_h_);
    if (rows_ > 0 && row != row_) emit_row();
    row_ = row;
    uint64_t* s = sums_.data();
    for (uint32_t x = 0; x < dst_w_; ++x, s += 3) {
        const uint8_t* p = bgr + 3ull * x_edge_[x];
        for (uint32_t k = x_edge_[x]; k < x_edge_[x + 1]; ++k, p += 3) {
            s[0] += p[0];
            s[1] += p[1];
            s[2] += p[2];
        }
    }
    ++rows_;
    if (++taken_ == src_h_) emit_row();
}

void BoxReducer::emit_row() {
    uint8_t* dst = out_ + uint64_t{dst_h_ - 1 - row_} * stride_;  // bottom-up rows
    uint64_t* s = sums_.data();
    for (uint32_t x = 0; x < dst_w_; ++x, s += 3, dst += 3) {
        const uint64_t area = uint64_t{rows_} * (x_edge_[x + 1] - x_edge_[x]);
        for (int c = 0; c < 3; ++c) dst[c] = static_cast<uint8_t>((s[c] + area / 2) / area);
        s[0] = s[1] = s[2] = 0;
    }
    rows_ = 0;
}

void palette_row_to_bgr(const uint8_t* row, uint32_t width, int bits, const ImageInfo& info, uint8_t* bgr) {
    if (bits == 24) {
        std::memcpy(bgr, row, size_t{3} * width);
        return;
    }
    for (uint32_t x = 0; x < width; ++x, bgr += 3) {
        unsigned index;
        if (bits == 8) index = row[x];
        else if (bits == 4) index = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        else index = (row[x >> 3] >> (7 - (x & 7))) & 1;
        std::memcpy(bgr, info.colors[index], 3);
    }
}

bool reduce_to_screen(PixelBlock* pixels, ImageInfo* info, ScreenSize screen) {
    DibHeader& h = info->header;
    const int bits = h.bit_count;
    if (h.compression != kBiRgb || h.width <= 0 || h.height <= 0) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
    const uint32_t w = static_cast<uint32_t>(h.width), ht = static_cast<uint32_t>(h.height);
    const ReducedSize r = reduced_size(w, ht, screen);
    if (!r.reduces(w, ht)) return true;
    const uint64_t stride = dib_stride(w, bits);
    if (pixels->size() < stride * ht) return false;
    PixelBlock bgr, out;
    BoxReducer reducer;
    if (!bgr.allocate(size_t{3} * w) || !reducer.start(w, ht, r, false, &out)) return false;
    for (uint32_t y = 0; y < ht; ++y) {
        palette_row_to_bgr(pixels->data() + stride * y, w, bits, *info, bgr.data());
        reducer.add_row(bgr.data());
    }
    pixels->swap(out);
    h.width = static_cast<int32_t>(r.width);
    h.height = static_cast<int32_t>(r.height);
    h.bit_count = 24;
    h.size_image = static_cast<uint32_t>(dib_stride(r.width, 24) * r.height);
    h.clr_used = 0;
    h.clr_important = 0;
    std::memset(info->colors, 0, sizeof info->colors);
    return true;
}
