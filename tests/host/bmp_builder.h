// Builds bitmap files byte by byte for the decoder tests: file header, info header,
// colour table or masks, pixel bytes, each field settable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bmp_test {

struct BmpFields {
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t size_image = 0;
    uint32_t clr_used = 0;
    uint32_t header_size = 40;
    std::vector<uint32_t> colours;  // written after the header (colour table or masks)
    std::vector<uint8_t> pixels;
    int64_t offset = -1;            // pixel-data offset; -1: right after the colours
};

inline void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// The info header alone (40 bytes, or header_size with zero padding).
inline std::vector<uint8_t> info_header(const BmpFields& s) {
    std::vector<uint8_t> v;
    put32(v, s.header_size);
    put32(v, static_cast<uint32_t>(s.width));
    put32(v, static_cast<uint32_t>(s.height));
    put16(v, 1);
    put16(v, s.bits);
    put32(v, s.compression);
    put32(v, s.size_image);
    put32(v, 2835);
    put32(v, 2835);
    put32(v, s.clr_used);
    put32(v, 0);
    while (v.size() < s.header_size) v.push_back(0);
    return v;
}

inline std::vector<uint8_t> bmp_file(const BmpFields& s) {
    std::vector<uint8_t> info = info_header(s);
    for (uint32_t c : s.colours) put32(info, c);
    const uint32_t natural = static_cast<uint32_t>(14 + info.size());
    const uint32_t offset = s.offset < 0 ? natural : static_cast<uint32_t>(s.offset);
    std::vector<uint8_t> v = {'B', 'M'};
    put32(v, static_cast<uint32_t>(14 + info.size() + s.pixels.size()));
    put32(v, 0);
    put32(v, offset);
    v.insert(v.end(), info.begin(), info.end());
    // A gap up to a nearby offset is zero-filled; a far one leaves the pixels where they are.
    if (offset > natural && offset - natural < 4096) v.resize(offset, 0);
    v.insert(v.end(), s.pixels.begin(), s.pixels.end());
    return v;
}

}  // namespace bmp_test
