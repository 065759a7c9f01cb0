// A set of hostile picture files, and a few ordinary ones, written byte by byte: bombs of
// every kind (declared sizes far beyond what decoding affords, JPEG scans by the thousand,
// PNG text and colour-profile chunks that inflate to a gigabyte, run-length bitmaps of a few
// hundred bytes declaring half a gigapixel), in each format the program reads. The ordinary
// photos come from the caller (the platform's encoders), the rest from here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/host/bmp_builder.h"
#include "tests/host/picture_files.h"

namespace hostile {

using picture_test::Bytes;

struct HostileFile {
    std::string name;
    std::string what;
    std::function<Bytes()> make;
};

// A PNG of w x h all zero (black, or grey 0) whose rows are coded as long matches.
inline Bytes zero_png(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour,
                      const std::vector<std::pair<std::string, Bytes>>& chunks = {}) {
    using namespace picture_test;
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put_be32(ihdr, w);
    put_be32(ihdr, h);
    ihdr.insert(ihdr.end(), {depth, colour, 0, 0, 0});
    png_chunk(out, "IHDR", ihdr);
    for (const auto& c : chunks) png_chunk(out, c.first.c_str(), c.second);
    const uint64_t row = (uint64_t{w} * depth * png_channels(colour) + 7) / 8 + 1;
    const uint64_t raw = row * h;
    png_chunk(out, "IDAT", zlib_runs(0, (raw - 1) / 258, static_cast<uint32_t>((raw - 1) % 258)));
    png_chunk(out, "IEND", {});
    return out;
}

// A zTXt or iCCP body: a name, the method byte, a stream inflating to about bytes.
inline Bytes inflating_chunk(const char* name, uint64_t bytes) {
    Bytes b(name, name + std::char_traits<char>::length(name));
    b.push_back(0);
    b.push_back(0);
    const Bytes z = picture_test::zlib_runs('A', bytes / 258);
    b.insert(b.end(), z.begin(), z.end());
    return b;
}

// A GIF whose frames declare w x h each with almost no data.
inline Bytes declared_gif(uint16_t w, uint16_t h, int frames) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    picture_test::put_le16(b, w);
    picture_test::put_le16(b, h);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
    for (int i = 0; i < frames; ++i) {
        b.push_back(0x2C);
        picture_test::put_le16(b, 0);
        picture_test::put_le16(b, 0);
        picture_test::put_le16(b, w);
        picture_test::put_le16(b, h);
        b.insert(b.end(), {0, 2, 2, 0x44, 0x01, 0});  // code size 2: clear, 0, end
    }
    b.push_back(0x3B);
    return b;
}

// A TIFF of w x h 8-bit RGB in one deflate-compressed strip of zeros.
inline Bytes deflate_tiff(uint32_t w, uint32_t h) {
    using namespace picture_test;
    const uint64_t raw = uint64_t{w} * 3 * h;
    const Bytes strip = zlib_runs(0, (raw - 1) / 258, static_cast<uint32_t>((raw - 1) % 258));
    Bytes out = {'I', 'I', 42, 0};
    const uint16_t entries = 10;
    const uint32_t dir = 8, bits_at = dir + 2 + 12 * entries + 4, strip_at = bits_at + 6;
    put_le32(out, dir);
    put_le16(out, entries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        put_le16(out, tag);
        put_le16(out, type);
        put_le32(out, count);
        put_le32(out, value);
    };
    entry(256, 4, 1, w);
    entry(257, 4, 1, h);
    entry(258, 3, 3, bits_at);
    entry(259, 3, 1, 8);  // deflate
    entry(262, 3, 1, 2);
    entry(273, 4, 1, strip_at);
    entry(277, 3, 1, 3);
    entry(278, 4, 1, h);
    entry(279, 4, 1, static_cast<uint32_t>(strip.size()));
    entry(284, 3, 1, 1);
    put_le32(out, 0);
    put_le16(out, 8);
    put_le16(out, 8);
    put_le16(out, 8);
    out.insert(out.end(), strip.begin(), strip.end());
    return out;
}

// A run-length bitmap declaring w x h: every row coded (runs of 250 of one value), or only
// the end of the bitmap when empty.
inline Bytes rle_bmp(int32_t w, int32_t h, uint16_t bits, bool empty) {
    bmp_test::BmpFields f;
    f.width = w;
    f.height = h;
    f.bits = bits;
    f.compression = bits == 8 ? 1 : 2;
    for (uint32_t i = 0; i < (1u << bits); ++i) f.colours.push_back(i * 0x010203u);
    if (!empty) {
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t left = w; left > 0; left -= 250) {
                const uint8_t v = static_cast<uint8_t>(y >> 6);
                f.pixels.push_back(static_cast<uint8_t>(left < 250 ? left : 250));
                f.pixels.push_back(bits == 8 ? v : static_cast<uint8_t>((v & 15) * 0x11));
            }
            f.pixels.insert(f.pixels.end(), {0, 0});
        }
    }
    f.pixels.insert(f.pixels.end(), {0, 1});
    f.size_image = static_cast<uint32_t>(f.pixels.size());
    return bmp_test::bmp_file(f);
}

inline Bytes progressive_jpeg(uint32_t w, uint32_t h, uint32_t scans) {
    picture_test::JpegSpec j;
    j.width = w;
    j.height = h;
    j.progressive = true;
    j.repeat_ac = (scans - 1) / 3 - 1;
    j.rgb = [](uint32_t x, uint32_t y) { return ((x >> 6) * 0x0F0000u + (y >> 6) * 0x0F) & 0xFFFFFF; };
    return picture_test::jpeg_file(j);
}

inline std::vector<HostileFile> bombs() {
    return {
        {"jpeg_progressive_9000x9000_3001scans.jpg", "progressive JPEG 9000 x 9000, 3001 scans",
         [] { return progressive_jpeg(9000, 9000, 3001); }},
        {"jpeg_progressive_4000x3000_301scans.jpg", "progressive JPEG 4000 x 3000, 301 scans",
         [] { return progressive_jpeg(4000, 3000, 301); }},
        {"jpeg_declared_65535x65535.jpg", "JPEG declaring 65535 x 65535",
         [] {
             Bytes b = progressive_jpeg(16, 16, 4);
             for (size_t i = 2; i + 9 < b.size(); ++i)
                 if (b[i] == 0xFF && b[i + 1] == 0xC2) {
                     b[i + 5] = b[i + 6] = b[i + 7] = b[i + 8] = 0xFF;
                     break;
                 }
             return b;
         }},
        {"bmp_rle4_32760x16383.bmp", "RLE4 bitmap 32760 x 16383, nothing coded", [] { return rle_bmp(32760, 16383, 4, true); }},
        {"bmp_rle8_8192x8192.bmp", "RLE8 bitmap 8192 x 8192, every row coded", [] { return rle_bmp(8192, 8192, 8, false); }},
        {"bmp_declared_30000x30000.bmp", "24-bit bitmap declaring 30000 x 30000, 1 KB",
         [] {
             bmp_test::BmpFields f{30000, 30000, 24};
             f.pixels.assign(1024, 0x80);
             return bmp_test::bmp_file(f);
         }},
        {"png_text_bomb.png", "PNG 1000 x 1000 with zTXt, iTXt and iCCP inflating to 1 GB",
         [] {
             std::vector<std::pair<std::string, Bytes>> chunks;
             for (int i = 0; i < 3; ++i) chunks.push_back({"zTXt", inflating_chunk("Comment", 256u << 20)});
             chunks.push_back({"iCCP", inflating_chunk("ICC", 256u << 20)});
             return zero_png(1000, 1000, 8, 2, chunks);
         }},
        {"png_bomb_9000x9000.png", "PNG bomb 9000 x 9000 RGB", [] { return zero_png(9000, 9000, 8, 2); }},
        {"png_bomb_8192x8192.png", "PNG bomb 8192 x 8192 RGB (within the budget)", [] { return zero_png(8192, 8192, 8, 2); }},
        {"png_bomb_16bit_8000x8000.png", "PNG bomb 8000 x 8000 RGBA 16-bit", [] { return zero_png(8000, 8000, 16, 6); }},
        {"gif_declared_9000x9000.gif", "GIF frame declaring 9000 x 9000", [] { return declared_gif(9000, 9000, 1); }},
        {"gif_declared_20x4000x4000.gif", "GIF of 20 frames declaring 4000 x 4000", [] { return declared_gif(4000, 4000, 20); }},
        {"tiff_bomb_9000x9000.tif", "TIFF 9000 x 9000 RGB, one deflate strip", [] { return deflate_tiff(9000, 9000); }},
        {"tiff_bomb_8000x8000.tif", "TIFF 8000 x 8000 RGB, one deflate strip", [] { return deflate_tiff(8000, 8000); }},
    };
}

}  // namespace hostile
