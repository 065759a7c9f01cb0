// Valid bitmap files built from any seed bytes, of every depth and kind the decoder reads
// (1, 4, 8 bits, RLE4, RLE8, 16 bits plain and 5-6-5, 24, 32 plain and with masks; top-down
// or bottom-up), together with the colour each pixel must come out as. Used where a decoder
// that refused or garbled a valid file must fail: the host tests and the bitmap fuzz target.
#pragma once

#include <cstdint>
#include <vector>

#include "image/dib.h"
#include "tests/host/bmp_builder.h"

namespace seeded_bmp {

constexpr int kKinds = 10;

struct Seeded {
    std::vector<uint8_t> file;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> bgr;  // the expected colours, top row first, 3 bytes a pixel
    const uint8_t* at(uint32_t x, uint32_t y) const { return &bgr[3 * (size_t{y} * width + x)]; }
};

// Bytes of the seed in turn, round and round (zeros for an empty seed).
class SeedBytes {
public:
    SeedBytes(const uint8_t* d, size_t n) : d_(d), n_(n) {}
    uint8_t next() {
        if (n_ == 0) return 0;
        const size_t i = i_++;
        return static_cast<uint8_t>(d_[i % n_] + i / n_);  // each round differs from the last
    }

private:
    const uint8_t* d_;
    size_t n_;
    size_t i_ = 0;
};

// Run-length codes of one row of indices: encoded runs of equal pixels, and absolute runs of
// 3 or more when the seed says so, then the end of the line (or of the bitmap).
inline void rle_row(const std::vector<uint8_t>& idx, bool four, bool last, SeedBytes& seed, std::vector<uint8_t>& out) {
    size_t x = 0;
    while (x < idx.size()) {
        const size_t left = idx.size() - x;
        if (left >= 3 && (seed.next() & 1)) {
            size_t n = 3 + seed.next() % 30;
            if (n > left) n = left;
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(n));
            size_t bytes = 0;
            for (size_t k = 0; k < n; k += four ? 2 : 1, ++bytes)
                out.push_back(four ? static_cast<uint8_t>((idx[x + k] << 4) | (k + 1 < n ? idx[x + k + 1] : 0)) : idx[x + k]);
            if (bytes & 1) out.push_back(0);
            x += n;
            continue;
        }
        size_t n = 1;
        while (x + n < idx.size() && idx[x + n] == idx[x] && n < 255) ++n;
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(four ? static_cast<uint8_t>(idx[x] * 0x11) : idx[x]);
        x += n;
    }
    out.push_back(0);
    out.push_back(last ? 1 : 0);
}

inline Seeded make(const uint8_t* data, size_t n, uint32_t max_side = 48) {
    SeedBytes seed(data, n);
    Seeded s;
    s.width = 1 + seed.next() % max_side;
    s.height = 1 + seed.next() % max_side;
    const int kind = seed.next() % kKinds;
    static const uint16_t kBits[kKinds] = {1, 4, 8, 4, 8, 16, 16, 24, 32, 32};
    static const uint32_t kCompression[kKinds] = {0, 0, 0, kBiRle4, kBiRle8, 0, kBiBitfields, 0, 0, kBiBitfields};
    bmp_test::BmpFields f;
    f.width = static_cast<int32_t>(s.width);
    f.bits = kBits[kind];
    f.compression = kCompression[kind];
    const bool rle = f.compression == kBiRle4 || f.compression == kBiRle8;
    const bool top_down = !rle && (seed.next() & 1);
    f.height = top_down ? -static_cast<int32_t>(s.height) : static_cast<int32_t>(s.height);
    s.bgr.resize(3ull * s.width * s.height);

    std::vector<uint8_t> palette;
    if (f.bits <= 8) {
        for (uint32_t i = 0; i < (1u << f.bits); ++i) {
            uint8_t c[3] = {seed.next(), seed.next(), seed.next()};
            palette.insert(palette.end(), c, c + 3);
            f.colours.push_back(c[0] | (c[1] << 8) | (c[2] << 16));
        }
    } else if (kind == 6) {
        f.colours = {0xF800, 0x07E0, 0x001F};
    } else if (kind == 9) {
        f.colours = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the lowest byte
    }
    const uint64_t stride = dib_stride(s.width, f.bits);
    std::vector<uint8_t> rle_data;
    for (uint32_t r = 0; r < s.height; ++r) {  // stored row r: the bottom row first unless top-down
        const uint32_t y = top_down ? r : s.height - 1 - r;
        std::vector<uint8_t> row(stride, 0), idx(s.width);
        for (uint32_t x = 0; x < s.width; ++x) {
            uint8_t* out = &s.bgr[3 * (size_t{y} * s.width + x)];
            if (f.bits <= 8) {
                const uint8_t i = static_cast<uint8_t>(seed.next() & ((1u << f.bits) - 1));
                idx[x] = i;
                for (int c = 0; c < 3; ++c) out[c] = palette[3 * i + c];
                if (f.bits == 8) row[x] = i;
                else if (f.bits == 4) row[x / 2] |= static_cast<uint8_t>(i << ((x & 1) ? 0 : 4));
                else row[x / 8] |= static_cast<uint8_t>(i << (7 - x % 8));
            } else if (f.bits == 16) {
                const uint32_t v = seed.next() | (seed.next() << 8);
                row[2 * x] = static_cast<uint8_t>(v);
                row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                if (kind == 6) {
                    out[2] = static_cast<uint8_t>((v >> 11) << 3);
                    out[1] = static_cast<uint8_t>(((v >> 5) & 63) << 2);
                } else {
                    out[2] = static_cast<uint8_t>(((v >> 10) & 31) << 3);
                    out[1] = static_cast<uint8_t>(((v >> 5) & 31) << 3);
                }
                out[0] = static_cast<uint8_t>((v & 31) << 3);
            } else {
                const size_t bytes = f.bits / 8;
                for (size_t k = 0; k < bytes; ++k) row[bytes * x + k] = seed.next();
                const uint8_t* p = &row[bytes * x];
                if (kind == 9) {
                    out[0] = p[2];
                    out[1] = p[1];
                    out[2] = p[0];
                } else {
                    out[0] = p[0];
                    out[1] = p[1];
                    out[2] = p[2];
                }
            }
        }
        if (rle) rle_row(idx, f.bits == 4, r + 1 == s.height, seed, rle_data);
        else f.pixels.insert(f.pixels.end(), row.begin(), row.end());
    }
    if (rle) {
        f.pixels = rle_data;
        f.size_image = static_cast<uint32_t>(rle_data.size());
    }
    s.file = bmp_test::bmp_file(f);
    return s;
}

// The colour of pixel (x, y), y from the top, in a decoded bottom-up DIB of 1, 4, 8 or 24 bits.
inline const uint8_t* decoded_at(const PixelBlock& pixels, const ImageInfo& info, uint32_t x, uint32_t y) {
    const DibHeader& h = info.header;
    const uint8_t* row = pixels.data() + dib_stride(h.width, h.bit_count) * (static_cast<uint64_t>(h.height) - 1 - y);
    switch (h.bit_count) {
    case 24: return row + 3ull * x;
    case 8: return info.colors[row[x]];
    case 4: return info.colors[(row[x / 2] >> ((x & 1) ? 0 : 4)) & 15];
    default: return info.colors[(row[x / 8] >> (7 - x % 8)) & 1];
    }
}

}  // namespace seeded_bmp
