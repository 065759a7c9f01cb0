#include "image/zimage/picture_scan.h"

#include <cstring>

#include "image/zimage/inflate_count.h"
#include "image/zimage/picture_cost.h"

namespace {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint16_t be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// a x b, or the largest value when that does not fit: sizes a file declares can be anything.
uint64_t mul_sat(uint64_t a, uint64_t b) {
    if (a != 0 && b > UINT64_MAX / a) return UINT64_MAX;
    return a * b;
}
uint64_t add_sat(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

// Bytes left from pos: every length is compared with this before it is used.
size_t left(size_t n, size_t pos) { return pos < n ? n - pos : 0; }

bool done(uint32_t w, uint32_t h, PictureScan* out) {
    if (w == 0 || h == 0) return false;
    out->width = w;
    out->height = h;
    out->decode_pixels = uint64_t{w} * h;
    return true;
}

bool is_chunk_letter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Past the NUL that ends a text field starting at pos, or n when there is none.
size_t after_text(const uint8_t* d, size_t n, size_t pos) {
    while (pos < n && d[pos] != 0) ++pos;
    return pos < n ? pos + 1 : n;
}

// A zTXt, iCCP or iTXt chunk: counted when its text or profile is compressed, with what its
// zlib stream inflates to (a chunk without one costs its bytes only).
void note_compressed_chunk(const uint8_t* type, const uint8_t* body, size_t len, PictureScan* out) {
    size_t at = after_text(body, len, 0);  // keyword or profile name
    const bool itxt = std::memcmp(type, "iTXt", 4) == 0;
    if (itxt) {
        if (at >= len || body[at] != 1) return;  // text stored as it is
        at = after_text(body, len, at + 2);        // flag, method, language tag
        at = after_text(body, len, at);            // translated keyword
    } else if (std::memcmp(type, "zTXt", 4) != 0 && std::memcmp(type, "iCCP", 4) != 0) {
        return;
    } else {
        at = at < len ? at + 1 : len;  // compression method
    }
    ++out->compressed_chunks;
    if (len > out->largest_compressed) out->largest_compressed = len;
    if (out->compressed_chunks > kMaxCompressedChunks || len > kMaxChunkCompressed) return;  // refused anyway
    const uint64_t inflated = zlib_inflated_size(body + at, len - at, kMaxChunkInflated);
    if (inflated > out->largest_inflated) out->largest_inflated = inflated;
    out->inflated_total = add_sat(out->inflated_total, inflated);
}

// The rows the platform's PNG decoder holds: every row unfiltered, transparency expanded to
// an alpha channel.
uint64_t png_decoder_bytes(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour, bool transparency) {
    static const uint8_t kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const uint64_t channels = colour < 7 && kChannels[colour] ? kChannels[colour] : 4;
    const uint64_t row = transparency ? uint64_t{w} * (depth == 16 ? 8 : 4)
                                      : (uint64_t{w} * depth * channels + 7) / 8;
    return mul_sat(row + 1, h);
}

bool scan_png(const uint8_t* d, size_t n, PictureScan* out) {
    if (n < 8 || std::memcmp(d, kPngSignature, 8) != 0) return false;
    size_t pos = 8;
    uint32_t w = 0, h = 0;
    uint8_t depth = 0, colour = 0;
    bool header = false, data = false, transparency = false;
    for (;;) {
        if (left(n, pos) < 12) return false;
        const uint32_t len = be32(d + pos);
        const uint8_t* type = d + pos + 4;
        if (len > 0x7FFFFFFFu || left(n, pos) - 12 < len) return false;
        for (int i = 0; i < 4; ++i)
            if (!is_chunk_letter(type[i])) return false;
        if (!header) {  // IHDR comes first, 13 bytes
            if (std::memcmp(type, "IHDR", 4) != 0 || len != 13) return false;
            w = be32(d + pos + 8);
            h = be32(d + pos + 12);
            depth = d[pos + 16];
            colour = d[pos + 17];
            header = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            data = true;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            if (!data || !done(w, h, out)) return false;
            out->decoder_bytes = png_decoder_bytes(w, h, depth, colour, transparency);
            return true;
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            transparency = true;
        } else {
            note_compressed_chunk(type, d + pos + 8, len, out);
        }
        pos += 12 + static_cast<size_t>(len);
    }
}

bool is_frame_header(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
bool is_restart(uint8_t m) { return m >= 0xD0 && m <= 0xD7; }

// From the first byte after a scan header to the 0xFF of the marker that ends the
// entropy-coded data: stuffed 0xFF 0x00, restart markers and fill bytes belong to it.
bool skip_entropy_data(const uint8_t* d, size_t n, size_t* pos) {
    size_t p = *pos;
    while (p < n) {
        if (d[p] != 0xFF) {
            ++p;
            continue;
        }
        if (p + 1 >= n) return false;
        const uint8_t next = d[p + 1];
        if (next == 0x00 || is_restart(next)) {
            p += 2;
        } else if (next == 0xFF) {
            ++p;
        } else {
            *pos = p;
            return true;
        }
    }
    return false;
}

bool is_progressive(uint8_t m) { return m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE; }

// A frame's components and their sampling, from its header.
struct JpegFrame {
    uint32_t components = 0;
    uint8_t h[4] = {}, v[4] = {};  // sampling of the first four components (the rest alike)
    bool progressive = false;
};

bool read_frame(const uint8_t* seg, size_t len, uint8_t marker, JpegFrame* f) {
    f->components = seg[7];
    if (f->components == 0 || len < 8 + 3 * static_cast<size_t>(f->components)) return false;
    for (uint32_t c = 0; c < f->components; ++c) {
        const uint8_t hv = seg[8 + 3 * c + 1];
        if ((hv >> 4) == 0 || (hv & 15) == 0) return false;
        if (c < 4) {
            f->h[c] = hv >> 4;
            f->v[c] = hv & 15;
        }
    }
    f->progressive = is_progressive(marker);
    return true;
}

// The decoder's output (a byte a component) and, when it must keep the whole picture's
// coefficients to go over it again (progressive, or more than one scan), 128 bytes per block.
uint64_t jpeg_decoder_bytes(uint32_t w, uint32_t h, const JpegFrame& f, uint32_t scans) {
    uint64_t bytes = uint64_t{w} * h * f.components;
    if (!f.progressive && scans <= 1) return bytes;
    uint32_t hmax = 1, vmax = 1;
    for (uint32_t c = 0; c < f.components && c < 4; ++c) {
        if (f.h[c] > hmax) hmax = f.h[c];
        if (f.v[c] > vmax) vmax = f.v[c];
    }
    const uint64_t mcu_x = (w + 8ull * hmax - 1) / (8ull * hmax), mcu_y = (h + 8ull * vmax - 1) / (8ull * vmax);
    uint64_t blocks = 0;
    for (uint32_t c = 0; c < f.components; ++c) {
        const uint32_t k = c < 4 ? c : 3;
        blocks += mcu_x * f.h[k] * mcu_y * f.v[k];
    }
    return bytes + 128 * blocks;
}

bool scan_jpeg(const uint8_t* d, size_t n, PictureScan* out) {
    if (n < 3 || d[0] != 0xFF || d[1] != 0xD8) return false;
    size_t pos = 2;
    uint32_t w = 0, h = 0, scans = 0;
    bool frame = false;
    JpegFrame f;
    for (;;) {
        while (pos < n && d[pos] != 0xFF) ++pos;  // stray bytes between segments
        while (pos < n && d[pos] == 0xFF) ++pos;  // fill bytes before a marker
        if (pos >= n) return false;
        const uint8_t marker = d[pos++];
        if (marker == 0xD9) {
            if (!frame || scans == 0 || !done(w, h, out)) return false;
            out->scans = scans;
            out->decoder_bytes = jpeg_decoder_bytes(w, h, f, scans);
            return true;
        }
        if (is_restart(marker) || marker == 0x01) continue;
        if (marker == 0xD8 || marker == 0x00) return false;
        if (left(n, pos) < 2) return false;
        const size_t len = be16(d + pos);
        if (len < 2 || left(n, pos) < len) return false;
        if (is_frame_header(marker)) {
            if (frame || len < 8) return false;  // one frame; precision, height, width, components
            h = be16(d + pos + 3);
            w = be16(d + pos + 5);
            if (!read_frame(d + pos, len, marker, &f)) return false;
            frame = true;
        }
        pos += len;
        if (marker == 0xDA) {
            if (!frame) return false;
            ++scans;
            if (!skip_entropy_data(d, n, &pos)) return false;
        }
    }
}

size_t colour_table_bytes(uint8_t flags) {
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

// Data sub-blocks up to and including the empty one that ends them.
bool skip_sub_blocks(const uint8_t* d, size_t n, size_t* pos) {
    size_t p = *pos;
    for (;;) {
        if (p >= n) return false;
        const size_t len = d[p++];
        if (len == 0) break;
        if (left(n, p) < len) return false;
        p += len;
    }
    *pos = p;
    return true;
}

// One image: descriptor, local colours, code size and data sub-blocks, from after its
// separator. False when it is cut short or malformed.
bool skip_gif_image(const uint8_t* d, size_t n, size_t* pos, uint32_t* w, uint32_t* h) {
    size_t p = *pos;
    if (left(n, p) < 9) return false;
    *w = le16(d + p + 4);
    *h = le16(d + p + 6);
    const size_t local = colour_table_bytes(d[p + 8]);
    p += 9;
    if (left(n, p) < local + 1) return false;
    p += local;
    const uint8_t code_size = d[p++];
    if (code_size < 1 || code_size > 11 || !skip_sub_blocks(d, n, &p)) return false;
    *pos = p;
    return true;
}

// The platform's decoder reads every frame of the file, each held as a byte a pixel: the
// frames after the first, as far as they are whole, add to the cost.
void count_later_gif_frames(const uint8_t* d, size_t n, size_t pos, PictureScan* out) {
    while (pos < n) {
        const uint8_t block = d[pos++];
        if (block == 0x21) {
            if (pos >= n) return;
            ++pos;
            if (!skip_sub_blocks(d, n, &pos)) return;
        } else if (block == 0x2C) {
            uint32_t w = 0, h = 0;
            if (!skip_gif_image(d, n, &pos, &w, &h)) return;
            out->decode_pixels = add_sat(out->decode_pixels, uint64_t{w} * h);
            out->decoder_bytes = add_sat(out->decoder_bytes, uint64_t{w} * h);
        } else {
            return;  // the trailer, or what no decoder reads on
        }
    }
}

bool scan_gif(const uint8_t* d, size_t n, PictureScan* out) {
    if (n < 13 || (std::memcmp(d, "GIF87a", 6) != 0 && std::memcmp(d, "GIF89a", 6) != 0)) return false;
    size_t pos = 13;
    const size_t global = colour_table_bytes(d[10]);
    if (left(n, pos) < global) return false;
    pos += global;
    for (;;) {
        if (pos >= n) return false;
        const uint8_t block = d[pos++];
        if (block == 0x21) {  // extension: label, then sub-blocks
            if (pos >= n) return false;
            ++pos;
            if (!skip_sub_blocks(d, n, &pos)) return false;
        } else if (block == 0x2C) {  // image: descriptor, local colours, code size, data
            uint32_t w = 0, h = 0;
            if (!skip_gif_image(d, n, &pos, &w, &h) || !done(w, h, out)) return false;
            const uint64_t screen = uint64_t{le16(d + 6)} * le16(d + 8);
            out->decode_pixels = uint64_t{w} * h;
            out->decoder_bytes = uint64_t{w} * h + screen;
            count_later_gif_frames(d, n, pos, out);
            return true;
        } else {
            return false;  // the trailer before any image, or no block at all
        }
    }
}

class TiffReader {
public:
    TiffReader(const uint8_t* d, size_t n) : d_(d), n_(n), big_(d[0] == 'M') {}
    bool has(uint64_t at, uint64_t len) const { return at <= n_ && len <= n_ - at; }
    uint32_t u16(uint64_t at) const {
        const uint8_t* p = d_ + at;
        return big_ ? be16(p) : le16(p);
    }
    uint32_t u32(uint64_t at) const {
        const uint8_t* p = d_ + at;
        return big_ ? be32(p) : (static_cast<uint32_t>(le16(p + 2)) << 16) | le16(p);
    }

private:
    const uint8_t* d_;
    size_t n_;
    bool big_;
};

// A directory entry holding SHORT or LONG values: where they are and how many.
struct TiffValues {
    uint64_t at = 0;
    uint32_t count = 0;
    uint32_t size = 0;  // 2 or 4; 0 when the tag is missing or of another type
};

bool tiff_values(const TiffReader& r, uint64_t entry, TiffValues* v) {
    const uint32_t type = r.u16(entry + 2);
    v->size = type == 3 ? 2 : type == 4 ? 4 : 0;
    v->count = r.u32(entry + 4);
    if (v->size == 0 || v->count == 0) return false;
    const uint64_t bytes = static_cast<uint64_t>(v->count) * v->size;
    v->at = bytes <= 4 ? entry + 8 : r.u32(entry + 8);
    return r.has(v->at, bytes);
}

uint32_t tiff_value(const TiffReader& r, const TiffValues& v, uint32_t i) {
    const uint64_t at = v.at + static_cast<uint64_t>(i) * v.size;
    return v.size == 2 ? r.u16(at) : r.u32(at);
}

// Every piece (strip or tile) of the picture has bytes, all of them within the file.
bool tiff_pieces_present(const TiffReader& r, const TiffValues& offsets, const TiffValues& counts) {
    if (offsets.size == 0 || counts.size == 0 || offsets.count != counts.count) return false;
    for (uint32_t i = 0; i < offsets.count; ++i) {
        const uint32_t len = tiff_value(r, counts, i);
        if (len == 0 || !r.has(tiff_value(r, offsets, i), len)) return false;
    }
    return true;
}

bool scan_tiff(const uint8_t* d, size_t n, PictureScan* out) {
    if (n < 8) return false;
    const bool little = std::memcmp(d, "II*\0", 4) == 0;
    if (!little && std::memcmp(d, "MM\0*", 4) != 0) return false;
    const TiffReader r(d, n);
    const uint64_t dir = r.u32(4);
    if (!r.has(dir, 2)) return false;
    const uint32_t entries = r.u16(dir);
    if (!r.has(dir + 2, uint64_t{12} * entries)) return false;
    uint32_t w = 0, h = 0, bits = 1, samples = 1, strip_rows = 0, tile_w = 0, tile_h = 0;
    TiffValues strips, strip_bytes, tiles, tile_bytes;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint64_t e = dir + 2 + uint64_t{12} * i;
        TiffValues v;
        if (!tiff_values(r, e, &v)) continue;
        switch (r.u16(e)) {
        case 256: w = tiff_value(r, v, 0); break;
        case 257: h = tiff_value(r, v, 0); break;
        case 273: strips = v; break;
        case 279: strip_bytes = v; break;
        case 258: bits = tiff_value(r, v, 0); break;
        case 277: samples = tiff_value(r, v, 0); break;
        case 278: strip_rows = tiff_value(r, v, 0); break;
        case 322: tile_w = tiff_value(r, v, 0); break;
        case 323: tile_h = tiff_value(r, v, 0); break;
        case 324: tiles = v; break;
        case 325: tile_bytes = v; break;
        default: break;
        }
    }
    const bool striped = tiff_pieces_present(r, strips, strip_bytes);
    if (!(striped || tiff_pieces_present(r, tiles, tile_bytes)) || !done(w, h, out)) return false;
    // The decoder holds one strip or tile, decoded, at a time.
    uint64_t piece_w = w, piece_h = strip_rows == 0 || strip_rows > h ? h : strip_rows;
    if (!striped) {
        piece_w = tile_w ? tile_w : w;
        piece_h = tile_h ? tile_h : h;
    }
    out->piece_rows = static_cast<uint32_t>(piece_h);
    out->decode_pixels = uint64_t{w} * h;
    out->decoder_bytes = out->piece_bytes = mul_sat(add_sat(mul_sat(mul_sat(piece_w, bits), samples), 7) / 8, piece_h);
    return true;
}

}  // namespace

PictureFormat sniff_picture_format(const uint8_t* head, size_t n) {
    if (head == nullptr) return PictureFormat::kNone;
    uint8_t b[kSniffBytes] = {};
    std::memcpy(b, head, n < kSniffBytes ? n : kSniffBytes);
    if (n >= 8 && std::memcmp(b, kPngSignature, 8) == 0) return PictureFormat::kPng;
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureFormat::kJpeg;
    if (n >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0))
        return PictureFormat::kGif;
    if (n >= 4 && (std::memcmp(b, "II*\0", 4) == 0 || std::memcmp(b, "MM\0*", 4) == 0))
        return PictureFormat::kTiff;
    return PictureFormat::kNone;
}

bool scan_picture(PictureFormat format, const uint8_t* data, size_t n, PictureScan* out) {
    if (data == nullptr || out == nullptr) return false;
    *out = PictureScan{};
    out->scans = 1;
    switch (format) {
    case PictureFormat::kPng: return scan_png(data, n, out);
    case PictureFormat::kJpeg: return scan_jpeg(data, n, out);
    case PictureFormat::kGif: return scan_gif(data, n, out);
    case PictureFormat::kTiff: return scan_tiff(data, n, out);
    default: return false;
    }
}
