#include "image/bitmap_decode.h"

#include <cstring>
#include <new>
#include <vector>

#include "image/box_reduce.h"

size_t MemorySource::read_at(uint64_t offset, void* dst, size_t n) {
    if (offset >= size_) return 0;
    const size_t left = static_cast<size_t>(size_ - offset);
    const size_t take = n < left ? n : left;
    std::memcpy(dst, data_ + offset, take);
    return take;
}

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint64_t kReadBatchBytes = uint64_t{1} << 20;
constexpr size_t kInfoHeader = 40;

bool allowed_depth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool allowed_compression(int bits, uint32_t c) {
    switch (c) {
    case kBiRgb: return true;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitfields: return bits == 16 || bits == 32;
    default: return false;
    }
}

uint32_t colour_count(int bits, uint32_t declared) {
    if (bits > 8) return 0;
    if (declared == 0) return 1u << bits;
    return declared > 256 ? 256 : declared;
}

// The file's pixel bytes: the whole rows of an uncompressed image, or for run-length data
// the declared size (or, when 0, everything from the pixel offset on), never more than the
// file still holds.
uint64_t stored_pixel_bytes(const DibLayout& l, const DibHeader& h, uint64_t file_size,
                            uint64_t offset) {
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        const uint64_t left = offset < file_size ? file_size - offset : 0;
        const uint64_t declared = h.size_image ? h.size_image : left;
        return declared < left ? declared : left;
    }
    return l.stride * static_cast<uint64_t>(l.height);
}

// Reads the colour table (or masks) for a checked layout from src at table_at.
void read_colours(ByteSource& src, uint64_t table_at, uint64_t masks_at, const DibLayout& l,
                  ImageInfo* info) {
    if (l.colors > 0) src.read_at(table_at, info->colors, static_cast<size_t>(l.colors) * 4);
    if (l.masks) src.read_at(masks_at, info->colors, 12);
}

// The last steps both routes share: rows bottom-up, then 16 and 32 bits to 24.
bool finish(const DibLayout& l, PixelBlock* pixels, ImageInfo* info) {
    if (l.top_down) flip_rows(pixels->data(), l.stride, l.height);
    if (l.bits == 16 || l.bits == 32) return convert_to_24bit(pixels, info);
    return true;
}

// Shifts that move a colour mask's top eight bits to the top of a byte.
struct MaskShift {
    uint32_t mask;
    int right;
    int left;
};

MaskShift mask_shift(uint32_t mask, int bits) {
    MaskShift s{mask, 0, 0};
    while (s.right < bits && s.right < 32 && ((mask >> s.right) & 1u) == 0) ++s.right;
    if (s.right >= 32) return s;  // no bit set: the channel is 0
    // Masks wider than eight bits keep their top eight bits.
    int width = 0;
    while (s.right + width < 32 && ((mask >> (s.right + width)) & 1u)) ++width;
    if (width > 8) s.right += width - 8;
    const uint32_t byte = (mask >> s.right) & 0xFFu;
    while (s.left < bits && s.left < 8 && ((byte << s.left) & 0x80u) == 0) ++s.left;
    return s;
}

uint8_t masked_channel(uint32_t v, const MaskShift& s) {
    if (s.right >= 32 || s.left >= 8) return 0;
    return static_cast<uint8_t>((((v & s.mask) >> s.right) << s.left) & 0xFFu);
}

// Run-length decoding a row at a time: each row, bottom row first, goes to sink(y, row) once
// it is complete (rows a delta or the end skips are blank); pixels outside the image are
// dropped. Only the row being written is held.
template <class Sink>
void expand_rle(const uint8_t* in, size_t end, int64_t width, int64_t height, bool four, uint8_t* row,
                uint64_t stride, Sink&& sink) {
    int64_t x = 0, y = 0;
    auto next_row = [&] {
        sink(y, row);
        std::memset(row, 0, static_cast<size_t>(stride));
        ++y;
    };
    auto put = [&](uint8_t value) {
        if (x < width && y < height) {
            if (!four) {
                row[x] = value;
            } else {
                uint8_t& b = row[x >> 1];
                b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                            : static_cast<uint8_t>((b & 0x0F) | (value << 4));
            }
        }
        if (x < width) ++x;  // past the row every further pixel is dropped alike
    };
    std::memset(row, 0, static_cast<size_t>(stride));
    size_t i = 0;
    while (i + 1 < end && y < height) {
        const uint8_t n = in[i];
        const uint8_t v = in[i + 1];
        i += 2;
        if (n != 0) {  // encoded run: n pixels of one value (4 bits: two alternating nibbles)
            for (int k = 0; k < n; ++k) put(four ? ((k & 1) ? (v & 0x0F) : (v >> 4)) : v);
        } else if (v == 0) {
            next_row();
            x = 0;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (i + 1 >= end) break;
            x += in[i];
            if (x > width) x = width;
            for (int k = 0; k < in[i + 1] && y < height; ++k) next_row();
            i += 2;
        } else {  // absolute run of v literal pixels, padded to a 2-byte boundary
            const size_t bytes = four ? (v + 1u) / 2 : v;
            for (int k = 0; k < v; ++k) {
                const size_t at = i + (four ? static_cast<size_t>(k) / 2 : static_cast<size_t>(k));
                if (at >= end) break;
                put(four ? ((k & 1) ? (in[at] & 0x0F) : (in[at] >> 4)) : in[at]);
            }
            i += bytes + (bytes & 1);
        }
    }
    while (y < height) next_row();
}

// One stored row of any depth as blue-green-red pixels: palette entries, or 16 and 32 bits
// through their masks.
class RowConverter {
public:
    explicit RowConverter(const ImageInfo& info) : info_(info), bits_(info.header.bit_count) {
        uint32_t m[3];
        if (info.header.compression == kBiBitfields) {
            for (int c = 0; c < 3; ++c) m[c] = le32(info.colors[c]);
        } else if (bits_ == 16) {
            m[0] = 0x7C00; m[1] = 0x03E0; m[2] = 0x001F;
        } else {
            m[0] = 0xFF0000; m[1] = 0x00FF00; m[2] = 0x0000FF;
        }
        red_ = mask_shift(m[0], bits_);
        green_ = mask_shift(m[1], bits_);
        blue_ = mask_shift(m[2], bits_);
    }
    // avail: the bytes of the row that are there (the rest counts as 0).
    void to_bgr(const uint8_t* row, uint64_t avail, uint32_t width, uint8_t* bgr) const {
        if (bits_ != 16 && bits_ != 32) {
            palette_row_to_bgr(row, width, bits_, info_, bgr);
            return;
        }
        const uint64_t bytes_per = static_cast<uint64_t>(bits_ / 8);
        for (uint32_t x = 0; x < width; ++x, bgr += 3) {
            const uint64_t at = x * bytes_per;
            uint32_t v = 0;
            if (at + bytes_per <= avail) v = bits_ == 16 ? le16(row + at) : le32(row + at);
            bgr[0] = masked_channel(v, blue_);
            bgr[1] = masked_channel(v, green_);
            bgr[2] = masked_channel(v, red_);
        }
    }

private:
    const ImageInfo& info_;
    int bits_;
    MaskShift red_{}, green_{}, blue_{};
};

// The header of a picture made 24 bits: no colour table, no masks.
void set_24bit(ImageInfo* info, uint32_t width, uint32_t height) {
    DibHeader& h = info->header;
    h.width = static_cast<int32_t>(width);
    h.height = static_cast<int32_t>(height);
    h.bit_count = 24;
    h.compression = kBiRgb;
    h.size_image = static_cast<uint32_t>(dib_stride(width, 24) * height);
    h.clr_used = 0;
    h.clr_important = 0;
    std::memset(info->colors, 0, sizeof info->colors);
}

// A bitmap larger than the screen, reduced while its rows are read: only one stored row (or
// the run-length data, which are no larger than the file) and the reduced rows are held.
bool decode_reduced(ByteSource& src, uint64_t offset, uint64_t file_size, const DibLayout& l, ReducedSize r,
                    PixelBlock* pixels, ImageInfo* info) {
    const uint32_t w = static_cast<uint32_t>(l.width), h = static_cast<uint32_t>(l.height);
    const RowConverter convert(*info);
    PixelBlock row, bgr;
    BoxReducer reducer;
    // Stored rows are read some at a time (one read per row is slow where each read is a call
    // into the system); a run-length row is expanded into the first of them.
    const uint64_t batch = l.stride >= kReadBatchBytes ? 1 : kReadBatchBytes / l.stride;
    const uint32_t rows_per_read = static_cast<uint32_t>(batch < h ? batch : h);
    // The stored rows, one converted row, the reduced rows and their sums, at most.
    const uint64_t working =
        l.stride * rows_per_read + 3ull * w + 28ull * r.width + dib_stride(r.width, 24) * r.height;
    if (working > kDecodeBudgetBytes || !row.allocate(static_cast<size_t>(l.stride * rows_per_read)) ||
        !bgr.allocate(size_t{3} * w) || !reducer.start(w, h, r, l.top_down, pixels))
        return false;
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        const uint64_t count = stored_pixel_bytes(l, info->header, file_size, offset);
        PixelBlock packed;
        if (count > kMaxPixelBytes || !packed.allocate(static_cast<size_t>(count))) return false;
        const size_t got = src.read_at(offset, packed.data(), static_cast<size_t>(count));
        expand_rle(packed.data(), got, l.width, l.height, l.compression == kBiRle4, row.data(), l.stride,
                   [&](int64_t, const uint8_t* done) {
                       convert.to_bgr(done, l.stride, w, bgr.data());
                       reducer.add_row(bgr.data());
                   });
    } else {
        for (uint32_t y = 0; y < h; y += rows_per_read) {
            const uint32_t n = h - y < rows_per_read ? h - y : rows_per_read;
            const size_t want = static_cast<size_t>(l.stride * n);
            const size_t got = src.read_at(offset + l.stride * y, row.data(), want);
            std::memset(row.data() + got, 0, want - got);
            for (uint32_t k = 0; k < n; ++k) {
                const uint8_t* stored = row.data() + l.stride * k;
                if (l.bits == 24) {  // already blue-green-red
                    reducer.add_row(stored);
                    continue;
                }
                convert.to_bgr(stored, l.stride, w, bgr.data());
                reducer.add_row(bgr.data());
            }
        }
    }
    set_24bit(info, r.width, r.height);
    return reducer.complete();
}

}  // namespace

uint32_t dib_colour_table_offset(uint32_t header_size) {
    switch (header_size) {
    case 52: case 56: case 64: case 108: case 124: return header_size;
    default: return kInfoHeader;
    }
}

bool dib_check_header(DibHeader* h, DibLayout* out) {
    const int bits = h->bit_count;
    if (h->width <= 0 || h->height == 0 || h->height == INT32_MIN) return false;
    if (!allowed_depth(bits) || !allowed_compression(bits, h->compression)) return false;
    const bool rle = h->compression == kBiRle8 || h->compression == kBiRle4;
    const bool top_down = h->height < 0;
    if (top_down && rle) return false;  // run-length data are bottom-up by definition
    const int height = top_down ? -h->height : h->height;

    const uint64_t stride = dib_stride(h->width, bits);
    const uint64_t rows = stride * static_cast<uint64_t>(height);
    const uint64_t rows24 = dib_stride(h->width, 24) * static_cast<uint64_t>(height);
    if (stride == 0 || rows > kMaxPixelBytes || (bits > 8 && rows24 > kMaxPixelBytes)) return false;
    if (static_cast<uint64_t>(h->width) * static_cast<uint64_t>(height) > kMaxDecodePixels) return false;

    DibLayout l;
    l.width = h->width;
    l.height = height;
    l.top_down = top_down;
    l.bits = bits;
    l.compression = h->compression;
    l.stride = stride;
    l.colors = static_cast<int>(colour_count(bits, h->clr_used));
    l.masks = h->compression == kBiBitfields;

    h->size = kInfoHeader;
    h->planes = 1;
    h->height = height;
    h->clr_used = static_cast<uint32_t>(l.colors);
    if (h->clr_important > h->clr_used) h->clr_important = 0;
    *out = l;
    return true;
}

bool decode_bitmap(ByteSource& src, PixelBlock* pixels, ImageInfo* info, ScreenSize screen) {
    std::memset(info, 0, sizeof *info);
    pixels->reset();
    uint8_t head[kFileHeader + kInfoHeader] = {};
    src.read_at(0, head, sizeof head);
    if (head[0] != 'B' || head[1] != 'M') return false;
    const uint64_t offset = le32(head + 10);
    const uint64_t file_size = src.size();

    info->header = dib_header_from_bytes(head + kFileHeader);
    const uint32_t header_size = info->header.size;
    DibLayout l;
    if (!dib_check_header(&info->header, &l)) return false;
    read_colours(src, kFileHeader + dib_colour_table_offset(header_size), kFileHeader + kInfoHeader,
                 l, info);
    const ReducedSize r = reduced_size(static_cast<uint32_t>(l.width), static_cast<uint32_t>(l.height), screen);
    if (r.reduces(static_cast<uint32_t>(l.width), static_cast<uint32_t>(l.height)))
        return decode_reduced(src, offset, file_size, l, r, pixels, info);

    const uint64_t count = stored_pixel_bytes(l, info->header, file_size, offset);
    if (count > kMaxPixelBytes) return false;
    if (!pixels->allocate(static_cast<size_t>(count))) return false;
    src.read_at(offset, pixels->data(), static_cast<size_t>(count));

    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        info->header.size_image = static_cast<uint32_t>(count);
        if (!decode_rle(pixels, info)) return false;
    }
    return finish(l, pixels, info);
}

bool decode_rle(PixelBlock* pixels, ImageInfo* info) {
    DibHeader& h = info->header;
    const bool four = h.compression == kBiRle4;
    if (!four && h.compression != kBiRle8) return false;
    if (h.width <= 0 || h.height <= 0) return false;
    const uint64_t stride = dib_stride(h.width, four ? 4 : 8);
    const uint64_t total = stride * static_cast<uint64_t>(h.height);
    if (total > kMaxPixelBytes) return false;
    PixelBlock out;
    if (!out.allocate(static_cast<size_t>(total))) return false;

    PixelBlock row;
    if (!row.allocate(static_cast<size_t>(stride))) return false;
    const size_t end = h.size_image < pixels->size() ? h.size_image : pixels->size();
    uint8_t* rows = out.data();
    expand_rle(pixels->data(), end, h.width, h.height, four, row.data(), stride,
               [&](int64_t y, const uint8_t* done) { std::memcpy(rows + static_cast<uint64_t>(y) * stride, done, stride); });
    pixels->swap(out);
    h.size_image = static_cast<uint32_t>(total);
    h.compression = kBiRgb;
    return true;
}

bool convert_to_24bit(PixelBlock* pixels, ImageInfo* info) {
    DibHeader& h = info->header;
    const int bits = h.bit_count;
    if (bits != 16 && bits != 32) return false;
    if (h.width <= 0 || h.height <= 0) return false;
    const RowConverter convert(*info);
    const uint64_t in_stride = dib_stride(h.width, bits);
    const uint64_t out_stride = dib_stride(h.width, 24);
    const uint64_t total = out_stride * static_cast<uint64_t>(h.height);
    if (total > kMaxPixelBytes) return false;
    PixelBlock out;
    if (!out.allocate(static_cast<size_t>(total))) return false;
    for (int64_t y = 0; y < h.height; ++y) {
        const uint64_t row_at = static_cast<uint64_t>(y) * in_stride;
        const uint64_t avail = row_at < pixels->size() ? pixels->size() - row_at : 0;
        convert.to_bgr(pixels->data() + (avail ? row_at : 0), avail, static_cast<uint32_t>(h.width),
                       out.data() + static_cast<uint64_t>(y) * out_stride);
    }
    pixels->swap(out);
    set_24bit(info, static_cast<uint32_t>(h.width), static_cast<uint32_t>(h.height));
    return true;
}

void flip_rows(uint8_t* rows, uint64_t stride, int height) {
    if (height < 2 || stride == 0) return;
    std::vector<uint8_t> tmp(static_cast<size_t>(stride));
    for (int64_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = rows + static_cast<uint64_t>(top) * stride;
        uint8_t* b = rows + static_cast<uint64_t>(bottom) * stride;
        std::memcpy(tmp.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, tmp.data(), stride);
    }
}

bool accept_plugin_picture(const uint8_t* info_block, size_t info_size, const uint8_t* pixel_block,
                           size_t pixel_size, PixelBlock* pixels, ImageInfo* info, ScreenSize screen) {
    std::memset(info, 0, sizeof *info);
    pixels->reset();
    if (info_block == nullptr || pixel_block == nullptr) return false;
    uint8_t head[kInfoHeader] = {};
    std::memcpy(head, info_block, info_size < kInfoHeader ? info_size : kInfoHeader);
    info->header = dib_header_from_bytes(head);
    const uint32_t header_size = info->header.size;
    DibLayout l;
    if (!dib_check_header(&info->header, &l)) return false;
    MemorySource block(info_block, info_size);
    read_colours(block, dib_colour_table_offset(header_size), kInfoHeader, l, info);

    const bool rle = l.compression == kBiRle8 || l.compression == kBiRle4;
    // Run-length data of unknown size: the whole handle.
    const uint64_t count = rle ? (info->header.size_image ? info->header.size_image : pixel_size)
                               : l.stride * static_cast<uint64_t>(l.height);
    if (count > kMaxPixelBytes) return false;
    if (!pixels->allocate(static_cast<size_t>(count))) return false;
    std::memcpy(pixels->data(), pixel_block, count < pixel_size ? static_cast<size_t>(count) : pixel_size);
    if (rle) info->header.size_image = static_cast<uint32_t>(count);
    if (!finish(l, pixels, info)) return false;
    // Run-length data are kept as delivered, so they keep their size too.
    return rle || reduce_to_screen(pixels, info, screen);
}
