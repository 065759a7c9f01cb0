// Writes small PNG, GIF, TIFF and JPEG files for the image plug-in's tests, byte by byte and
// without any image library: PNG with stored (uncompressed) deflate blocks at any depth,
// palette and transparency, interlaced or not; GIF with literal-only LZW codes; TIFF as one
// uncompressed strip in either byte order; JPEG, baseline or progressive, whose 8 x 8 blocks
// are each of one colour (the colour of their top left pixel), so that only DC coefficients
// are coded.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace picture_test {

using Bytes = std::vector<uint8_t>;

inline std::string as_string(const Bytes& b) { return std::string(b.begin(), b.end()); }

inline void put_be16(Bytes& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x >> 8));
    v.push_back(static_cast<uint8_t>(x));
}
inline void put_be32(Bytes& v, uint32_t x) {
    put_be16(v, x >> 16);
    put_be16(v, x & 0xFFFF);
}
inline void put_le16(Bytes& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void put_le32(Bytes& v, uint32_t x) {
    put_le16(v, x & 0xFFFF);
    put_le16(v, x >> 16);
}

// ---- PNG

inline uint32_t crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline void png_chunk(Bytes& out, const char* type, const Bytes& data) {
    put_be32(out, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put_be32(out, crc32(body.data(), body.size()));
}

// A zlib stream of stored blocks.
inline Bytes zlib_stored(const Bytes& raw) {
    Bytes z = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z.push_back(pos + n == raw.size() ? 1 : 0);
        put_le16(z, static_cast<uint32_t>(n));
        put_le16(z, static_cast<uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put_be32(z, (b << 16) | a);
    return z;
}

// Bits packed lowest first into bytes, as deflate and GIF's LZW codes are.
class LsbBits {
public:
    explicit LsbBits(Bytes& out) : out_(out) {}
    void put(uint32_t v, int n) {
        acc_ |= static_cast<uint64_t>(v) << bits_;
        bits_ += n;
        while (bits_ >= 8) {
            out_.push_back(static_cast<uint8_t>(acc_));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    void flush() {  // the last byte, padded with 0 bits
        if (bits_) put(0, 8 - bits_);
    }

private:
    Bytes& out_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

// A zlib stream that inflates to 1 + runs x 258 + tail bytes of value: one literal, matches of
// 258 bytes at distance 1, then tail literals, in one block of the fixed codes (about 1000
// to 1 at its best).
inline Bytes zlib_runs(uint8_t value, uint64_t runs, uint32_t tail = 0) {
    Bytes z = {0x78, 0x01};
    LsbBits out(z);
    auto put = [&](uint32_t v, int n) { out.put(v, n); };
    auto code = [&](uint32_t c, int n) {  // a Huffman code, highest bit first
        for (int i = n - 1; i >= 0; --i) put((c >> i) & 1, 1);
    };
    auto literal = [&] { value < 144 ? code(0x30 + value, 8) : code(0x190 + value - 144, 9); };
    put(1, 1);  // the last block
    put(1, 2);  // fixed codes
    literal();
    for (uint64_t i = 0; i < runs; ++i) {
        code(0xC5, 8);  // length 258
        code(0, 5);     // distance 1
    }
    for (uint32_t i = 0; i < tail; ++i) literal();
    code(0, 7);  // end of block
    out.flush();
    // Adler-32 of n equal bytes: a = 1 + n v, b = n + v n (n + 1) / 2, both mod 65521.
    const uint64_t m = 65521, n = 1 + runs * 258 + tail;
    const uint64_t half = (n % 2 == 0 ? (n / 2) % m * ((n + 1) % m) : n % m * ((n + 1) / 2 % m)) % m;
    const uint64_t a = (1 + n % m * value) % m, b = (n % m + value * half) % m;
    put_be32(z, static_cast<uint32_t>((b << 16) | a));
    return z;
}

struct PngSpec {
    uint32_t width = 1, height = 1;
    int depth = 8;       // bits per sample: 1, 2, 4, 8 or 16
    int colour = 2;      // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    Bytes palette;       // red, green, blue per entry
    Bytes transparency;  // tRNS: alpha per palette entry
    std::vector<std::pair<std::string, Bytes>> chunks;  // more chunks, before the image data
    // Samples of pixel (x, y) in the file's order (red, green, blue, alpha; or the index).
    std::function<std::vector<uint32_t>(uint32_t x, uint32_t y)> samples;
};

inline int png_channels(int colour) {
    switch (colour) {
    case 0: case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
    }
}

// One filtered row (filter byte 0) of the pixels x0, x0 + dx, ... of row y.
inline void png_row(const PngSpec& s, uint32_t y, uint32_t x0, uint32_t dx, Bytes& raw) {
    raw.push_back(0);
    uint32_t acc = 0;
    int bits = 0;
    for (uint32_t x = x0; x < s.width; x += dx) {
        for (uint32_t v : s.samples(x, y)) {
            if (s.depth == 16) {
                put_be16(raw, v);
            } else if (s.depth == 8) {
                raw.push_back(static_cast<uint8_t>(v));
            } else {
                acc = (acc << s.depth) | (v & ((1u << s.depth) - 1));
                bits += s.depth;
                if (bits == 8) {
                    raw.push_back(static_cast<uint8_t>(acc));
                    acc = 0;
                    bits = 0;
                }
            }
        }
    }
    if (bits) raw.push_back(static_cast<uint8_t>(acc << (8 - bits)));
}

inline Bytes png_file(const PngSpec& s) {
    Bytes raw;
    if (!s.interlaced) {
        for (uint32_t y = 0; y < s.height; ++y) png_row(s, y, 0, 1, raw);
    } else {  // Adam7: seven passes, each a small image of its own; empty ones are left out
        const uint32_t x0[] = {0, 4, 0, 2, 0, 1, 0}, y0[] = {0, 0, 4, 0, 2, 0, 1};
        const uint32_t dx[] = {8, 8, 4, 4, 2, 2, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
        for (int p = 0; p < 7; ++p)
            if (x0[p] < s.width)
                for (uint32_t y = y0[p]; y < s.height; y += dy[p]) png_row(s, y, x0[p], dx[p], raw);
    }
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put_be32(ihdr, s.width);
    put_be32(ihdr, s.height);
    ihdr.push_back(static_cast<uint8_t>(s.depth));
    ihdr.push_back(static_cast<uint8_t>(s.colour));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(s.interlaced ? 1 : 0);
    png_chunk(out, "IHDR", ihdr);
    if (!s.palette.empty()) png_chunk(out, "PLTE", s.palette);
    if (!s.transparency.empty()) png_chunk(out, "tRNS", s.transparency);
    for (const auto& c : s.chunks) png_chunk(out, c.first.c_str(), c.second);
    png_chunk(out, "IDAT", zlib_stored(raw));
    png_chunk(out, "IEND", {});
    return out;
}

// A grey PNG of one bit a pixel, all black: a picture of any size in few bytes (its rows, all
// zero, are coded as long matches).
inline Bytes black_png(uint32_t width, uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put_be32(ihdr, width);
    put_be32(ihdr, height);
    ihdr.insert(ihdr.end(), {1, 0, 0, 0, 0});
    png_chunk(out, "IHDR", ihdr);
    const uint64_t raw = (uint64_t{width} + 7) / 8 * height + height;  // a filter byte a row
    png_chunk(out, "IDAT", zlib_runs(0, (raw - 1) / 258, static_cast<uint32_t>((raw - 1) % 258)));
    png_chunk(out, "IEND", {});
    return out;
}

// ---- GIF

struct GifSpec {
    uint16_t width = 1, height = 1;
    Bytes palette;             // red, green, blue; 2, 4, ... 256 entries
    int transparent = -1;      // palette index shown as transparent, or -1
    std::function<uint8_t(uint32_t x, uint32_t y)> index;
};

// Codes LSB first into sub-blocks. Only literal codes are written, with a clear code before
// the table could grow past the first code width, so the width never changes.
inline void gif_image_data(const GifSpec& s, int min_code, Bytes& out) {
    Bytes packed;
    LsbBits bits(packed);
    const int width = min_code + 1;
    auto code = [&](uint32_t c) { bits.put(c, width); };
    const uint32_t clear = 1u << min_code;
    const uint32_t run = clear - 3;  // one short of the edge: decoders differ by one in when they widen
    uint32_t since_clear = run;
    for (uint32_t y = 0; y < s.height; ++y)
        for (uint32_t x = 0; x < s.width; ++x) {
            if (since_clear == run) {
                code(clear);
                since_clear = 0;
            }
            code(s.index(x, y));
            ++since_clear;
        }
    code(clear + 1);
    bits.flush();
    out.push_back(static_cast<uint8_t>(min_code));
    for (size_t pos = 0; pos < packed.size(); pos += 255) {
        const size_t n = packed.size() - pos < 255 ? packed.size() - pos : 255;
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<long>(pos), packed.begin() + static_cast<long>(pos + n));
    }
    out.push_back(0);
}

inline Bytes gif_file(const GifSpec& s) {
    int size_bits = 1;  // the table holds 2^size_bits entries
    while ((3u << size_bits) < s.palette.size()) ++size_bits;
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put_le16(out, s.width);
    put_le16(out, s.height);
    out.push_back(static_cast<uint8_t>(0x80 | ((size_bits - 1) << 4) | (size_bits - 1)));
    out.push_back(0);
    out.push_back(0);
    Bytes table = s.palette;
    table.resize(3u << size_bits, 0);
    out.insert(out.end(), table.begin(), table.end());
    if (s.transparent >= 0) {
        const uint8_t gce[] = {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(s.transparent), 0};
        out.insert(out.end(), gce, gce + sizeof gce);
    }
    out.push_back(0x2C);
    put_le16(out, 0);
    put_le16(out, 0);
    put_le16(out, s.width);
    put_le16(out, s.height);
    out.push_back(0);
    gif_image_data(s, size_bits < 2 ? 2 : size_bits, out);
    out.push_back(0x3B);
    return out;
}

// ---- TIFF

struct TiffSpec {
    uint32_t width = 1, height = 1;
    bool big_endian = false;
    std::function<uint32_t(uint32_t x, uint32_t y)> rgb;  // 0xRRGGBB
};

inline Bytes tiff_file(const TiffSpec& s) {
    Bytes out;
    auto u16 = [&](uint32_t x) { s.big_endian ? put_be16(out, x) : put_le16(out, x); };
    auto u32 = [&](uint32_t x) { s.big_endian ? put_be32(out, x) : put_le32(out, x); };
    const uint32_t pixel_bytes = 3 * s.width * s.height;
    const uint16_t entries = 11;
    const uint32_t dir = 8, bits_at = dir + 2 + 12 * entries + 4, pixels_at = bits_at + 6;
    out = s.big_endian ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0};
    u32(dir);
    u16(entries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        u16(tag);
        u16(type);
        u32(count);
        if (type == 3 && count == 1) {  // a SHORT sits in the first two bytes of the field
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    };
    entry(256, 4, 1, s.width);
    entry(257, 4, 1, s.height);
    entry(258, 3, 3, bits_at);    // 8, 8, 8
    entry(259, 3, 1, 1);          // no compression
    entry(262, 3, 1, 2);          // RGB
    entry(273, 4, 1, pixels_at);  // the one strip
    entry(277, 3, 1, 3);          // samples per pixel
    entry(278, 4, 1, s.height);   // rows per strip
    entry(279, 4, 1, pixel_bytes);
    entry(284, 3, 1, 1);          // samples interleaved
    entry(296, 3, 1, 1);          // no resolution unit
    u32(0);                       // no further directory
    u16(8);
    u16(8);
    u16(8);
    for (uint32_t y = 0; y < s.height; ++y)
        for (uint32_t x = 0; x < s.width; ++x) {
            const uint32_t c = s.rgb(x, y);
            out.push_back(static_cast<uint8_t>(c >> 16));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c));
        }
    return out;
}

// ---- JPEG

struct JpegSpec {
    uint32_t width = 8, height = 8;
    bool progressive = false;
    uint32_t repeat_ac = 0;  // progressive: the AC scans that many times more (each a pass)
    std::function<uint32_t(uint32_t x, uint32_t y)> rgb;  // 0xRRGGBB
};

class JpegBits {
public:
    explicit JpegBits(Bytes& out) : out_(out) {}
    void put(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = static_cast<uint8_t>((acc_ << 1) | ((value >> i) & 1));
            if (++bits_ == 8) emit();
        }
    }
    void flush() {  // pad with 1 bits
        while (bits_ != 0) put(1, 1);
    }

private:
    void emit() {
        out_.push_back(acc_);
        if (acc_ == 0xFF) out_.push_back(0);  // stuffed
        acc_ = 0;
        bits_ = 0;
    }
    Bytes& out_;
    uint8_t acc_ = 0;
    int bits_ = 0;
};

inline void jpeg_segment(Bytes& out, uint8_t marker, const Bytes& body) {
    out.push_back(0xFF);
    out.push_back(marker);
    put_be16(out, static_cast<uint32_t>(body.size() + 2));
    out.insert(out.end(), body.begin(), body.end());
}

// A DC difference: its category through the DC table (12 codes of four bits: the category
// itself), then its extra bits.
inline void jpeg_dc(JpegBits& bits, int diff) {
    int category = 0;
    for (int a = diff < 0 ? -diff : diff; a; a >>= 1) ++category;
    bits.put(static_cast<uint32_t>(category), 4);
    if (category) bits.put(static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << category) - 1), category);
}

inline Bytes jpeg_file(const JpegSpec& s) {
    const uint32_t bw = (s.width + 7) / 8, bh = (s.height + 7) / 8, blocks = bw * bh;
    // DC coefficients of Y, Cb and Cr per block: 8 x (level - 128) with quantiser 1.
    std::vector<int> dc[3];
    for (uint32_t by = 0; by < bh; ++by)
        for (uint32_t bx = 0; bx < bw; ++bx) {
            const uint32_t c = s.rgb(bx * 8, by * 8);
            const double r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
            const double ycc[3] = {0.299 * r + 0.587 * g + 0.114 * b,
                                   128 - 0.168736 * r - 0.331264 * g + 0.5 * b,
                                   128 + 0.5 * r - 0.418688 * g - 0.081312 * b};
            for (int k = 0; k < 3; ++k) {
                long v = std::lround(ycc[k]);
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                dc[k].push_back(8 * (static_cast<int>(v) - 128));
            }
        }
    // An end-of-band run over every block of a component; one code of one bit.
    int eob_bits = 0;
    while ((2u << eob_bits) <= blocks && eob_bits < 14) ++eob_bits;
    const uint8_t ac_symbol = s.progressive ? static_cast<uint8_t>(eob_bits << 4) : 0x00;

    Bytes out = {0xFF, 0xD8};
    jpeg_segment(out, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    Bytes dqt = {0};
    dqt.resize(65, 1);
    jpeg_segment(out, 0xDB, dqt);
    Bytes sof = {8};
    put_be16(sof, s.height);
    put_be16(sof, s.width);
    sof.push_back(3);
    for (uint8_t id = 1; id <= 3; ++id) {
        sof.push_back(id);
        sof.push_back(0x11);
        sof.push_back(0);
    }
    jpeg_segment(out, s.progressive ? 0xC2 : 0xC0, sof);
    Bytes dht = {0x00, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // DC: 12 codes of 4 bits
    for (uint8_t k = 0; k < 12; ++k) dht.push_back(k);
    dht.insert(dht.end(), {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ac_symbol});
    jpeg_segment(out, 0xC4, dht);

    auto scan_header = [&](std::vector<uint8_t> components, uint8_t ss, uint8_t se) {
        Bytes sos = {static_cast<uint8_t>(components.size())};
        for (uint8_t c : components) {
            sos.push_back(c);
            sos.push_back(0x00);
        }
        sos.insert(sos.end(), {ss, se, 0});
        jpeg_segment(out, 0xDA, sos);
    };
    // Baseline: one interleaved scan, each block's DC and then its end of block. Progressive:
    // the DC coefficients in one scan, then an AC scan per component.
    scan_header({1, 2, 3}, 0, s.progressive ? 0 : 63);
    {
        int last[3] = {0, 0, 0};
        JpegBits bits(out);
        for (uint32_t i = 0; i < blocks; ++i)
            for (int k = 0; k < 3; ++k) {
                jpeg_dc(bits, dc[k][i] - last[k]);
                last[k] = dc[k][i];
                if (!s.progressive) bits.put(0, 1);
            }
        bits.flush();
    }
    for (uint32_t round = 0; s.progressive && round <= s.repeat_ac; ++round) {
        for (uint8_t c = 1; c <= 3; ++c) {
            scan_header({c}, 1, 63);
            JpegBits bits(out);
            bits.put(0, 1);
            bits.put(blocks - (1u << eob_bits), eob_bits);
            bits.flush();
        }
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

}  // namespace picture_test
