// The box filter written the plain way, as the tests' reference: every result pixel is the
// rounded mean of the source pixels whose column x and row y fall in it (x * dw / w and
// y * dh / h, rounded down), with all pixels in memory at once.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace box_test {

// px(x, y): the blue, green, red bytes of source pixel (x, y), y counted from the top. The
// result: dh rows of dw blue-green-red pixels, top row first, no padding.
inline std::vector<uint8_t> box_reference(uint32_t w, uint32_t h, uint32_t dw, uint32_t dh,
                                          const std::function<const uint8_t*(uint32_t, uint32_t)>& px) {
    std::vector<uint64_t> sums(3ull * dw * dh, 0), counts(size_t{dw} * dh, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const size_t at = size_t{uint64_t{y} * dh / h} * dw + size_t{uint64_t{x} * dw / w};
            const uint8_t* p = px(x, y);
            for (int c = 0; c < 3; ++c) sums[3 * at + c] += p[c];
            ++counts[at];
        }
    std::vector<uint8_t> out(sums.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const uint64_t n = counts[i / 3];
        out[i] = static_cast<uint8_t>((sums[i] + n / 2) / n);
    }
    return out;
}

}  // namespace box_test
