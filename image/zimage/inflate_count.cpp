#include "image/zimage/inflate_count.h"

namespace {

class BitReader {
public:
    BitReader(const uint8_t* d, size_t n) : d_(d), n_(n) {}
    // n bits, first bit lowest; -1 past the end.
    int32_t get(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (bits_ == 0) {
                if (pos_ >= n_) return -1;
                byte_ = d_[pos_++];
                bits_ = 8;
            }
            v |= static_cast<uint32_t>(byte_ & 1) << i;
            byte_ >>= 1;
            --bits_;
        }
        return static_cast<int32_t>(v);
    }
    void align() { bits_ = 0; }
    size_t pos() const { return pos_; }
    size_t left() const { return n_ - pos_; }
    void skip(size_t k) { pos_ += k < left() ? k : left(); }
    uint32_t byte_at(size_t i) const { return d_[pos_ + i]; }

private:
    const uint8_t* d_;
    size_t n_;
    size_t pos_ = 0;
    uint8_t byte_ = 0;
    int bits_ = 0;
};

constexpr int kMaxBits = 15;

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Code {
    uint16_t count[kMaxBits + 1];
    uint16_t symbol[288];
};

// False for a code with more codes of some length than the lengths allow.
bool build(Code* c, const uint8_t* lengths, int n) {
    for (int i = 0; i <= kMaxBits; ++i) c->count[i] = 0;
    for (int i = 0; i < n; ++i) ++c->count[lengths[i]];
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = (left << 1) - c->count[len];
        if (left < 0) return false;
    }
    uint16_t offs[kMaxBits + 1];
    offs[1] = 0;
    for (int len = 1; len < kMaxBits; ++len) offs[len + 1] = static_cast<uint16_t>(offs[len] + c->count[len]);
    for (int i = 0; i < n; ++i)
        if (lengths[i]) c->symbol[offs[lengths[i]]++] = static_cast<uint16_t>(i);
    return true;
}

// The next symbol, or -1 at the end of the data or on a code the table does not hold.
int decode_symbol(BitReader& in, const Code& c) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        const int32_t b = in.get(1);
        if (b < 0) return -1;
        code |= b;
        const int count = c.count[len];
        if (code - count < first) return c.symbol[index + (code - first)];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Adds the bytes of one block of codes to *count; false at a fault.
bool count_codes(BitReader& in, const Code& lit, const Code& dist, uint64_t limit, uint64_t* count) {
    for (;;) {
        const int s = decode_symbol(in, lit);
        if (s < 0) return false;
        if (s < 256) {
            ++*count;
        } else if (s == 256) {
            return true;
        } else {
            if (s > 285) return false;
            const int32_t extra = in.get(kLengthExtra[s - 257]);
            const int d = decode_symbol(in, dist);
            if (extra < 0 || d < 0 || d > 29) return false;
            const int32_t dextra = in.get(kDistExtra[d]);
            if (dextra < 0 || kDistBase[d] + static_cast<uint64_t>(dextra) > *count) return false;
            *count += kLengthBase[s - 257] + static_cast<uint32_t>(extra);
        }
        if (*count > limit) return false;
    }
}

bool fixed_codes(Code* lit, Code* dist) {
    uint8_t l[288];
    for (int i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    uint8_t d[30];
    for (int i = 0; i < 30; ++i) d[i] = 5;
    return build(lit, l, 288) && build(dist, d, 30);
}

bool dynamic_codes(BitReader& in, Code* lit, Code* dist) {
    static const uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int32_t hlit = in.get(5), hdist = in.get(5), hclen = in.get(4);
    if (hlit < 0 || hdist < 0 || hclen < 0) return false;
    const int nlit = hlit + 257, ndist = hdist + 1;
    if (nlit > 286 || ndist > 30) return false;
    uint8_t lengths[320] = {};
    for (int i = 0; i < hclen + 4; ++i) {
        const int32_t v = in.get(3);
        if (v < 0) return false;
        lengths[kOrder[i]] = static_cast<uint8_t>(v);
    }
    Code lens;
    if (!build(&lens, lengths, 19)) return false;
    for (int i = 0; i < 19; ++i) lengths[i] = 0;
    int at = 0;
    while (at < nlit + ndist) {
        const int s = decode_symbol(in, lens);
        if (s < 0) return false;
        if (s < 16) {
            lengths[at++] = static_cast<uint8_t>(s);
            continue;
        }
        uint8_t value = 0;
        if (s == 16) {
            if (at == 0) return false;
            value = lengths[at - 1];
        }
        const int32_t extra = in.get(s == 16 ? 2 : s == 17 ? 3 : 7);
        if (extra < 0) return false;
        int repeat = (s == 18 ? 11 : 3) + extra;
        if (at + repeat > nlit + ndist) return false;
        while (repeat--) lengths[at++] = value;
    }
    if (lengths[256] == 0) return false;  // no end-of-block code
    return build(lit, lengths, nlit) && build(dist, lengths + nlit, ndist);
}

}  // namespace

uint64_t zlib_inflated_size(const uint8_t* data, size_t n, uint64_t limit) {
    if (data == nullptr || n < 2) return 0;
    const uint32_t cmf = data[0], flg = data[1];
    if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || ((cmf << 8) | flg) % 31 != 0 || (flg & 0x20)) return 0;
    BitReader in(data + 2, n - 2);
    uint64_t count = 0;
    for (;;) {
        const int32_t last = in.get(1), type = in.get(2);
        if (last < 0 || type < 0) break;
        if (type == 0) {
            in.align();
            if (in.left() < 4) break;
            const uint32_t len = in.byte_at(0) | (in.byte_at(1) << 8);
            const uint32_t nlen = in.byte_at(2) | (in.byte_at(3) << 8);
            if (len != (~nlen & 0xFFFFu)) break;
            in.skip(4);
            const size_t got = len < in.left() ? len : in.left();
            count += got;
            in.skip(got);
            if (got < len || count > limit) break;
        } else if (type == 3) {
            break;
        } else {
            Code lit, dist;
            if (!(type == 1 ? fixed_codes(&lit, &dist) : dynamic_codes(in, &lit, &dist))) break;
            if (!count_codes(in, lit, dist, limit, &count)) break;
        }
        if (last) break;
    }
    return count;
}
