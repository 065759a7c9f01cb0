// A device-independent bitmap in memory: an info record (header and room for 256 colours)
// and a separate block of pixel rows, bottom-up, each row padded to four bytes. The record
// has the byte layout of a BITMAPINFO, so the Win32 drawing calls take it as one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

// Compression codes of the bitmap header.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Largest pixel block the loader makes (and largest input it takes): stride x height. The
// fuzz build lowers it so that each input runs fast; every rule stays the same.
#ifndef ZELMAR_MAX_PIXEL_BYTES
#define ZELMAR_MAX_PIXEL_BYTES (256ull << 20)
#endif
constexpr uint64_t kMaxPixelBytes = ZELMAR_MAX_PIXEL_BYTES;

// What decoding one picture may cost, whatever the file declares. The pixels bound the time
// (a 50-megapixel photo still loads); the bytes are everything a decoding holds at once (the
// file's bytes, the decoder's own buffers, the rows made), so that with the rest of the
// program the process stays under 400 MB and a 32-bit process keeps room in its address space.
constexpr uint64_t kMaxDecodePixels = uint64_t{1} << 26;
constexpr uint64_t kDecodeBudgetBytes = uint64_t{320} << 20;

struct DibHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bit_count;
    uint32_t compression;
    uint32_t size_image;
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t clr_used;
    uint32_t clr_important;
};
static_assert(sizeof(DibHeader) == 40, "header must have the file's 40-byte layout");

struct ImageInfo {
    DibHeader header;
    uint8_t colors[256][4];  // blue, green, red, reserved; or three BI_BITFIELDS masks
};
static_assert(sizeof(ImageInfo) == 1064, "info record is 40 + 256 * 4 bytes");

// Asked before every block allocation (bytes, false) and told of every release (bytes,
// true); an allocation it declines fails as if memory were short. For the fuzz target that
// counts what decoding at the real limits would take without making the large blocks.
using BlockHook = bool (*)(size_t bytes, bool release);
void set_block_hook(BlockHook hook);
bool block_hook_allows(size_t bytes);
void block_hook_release(size_t bytes);

// An owned, zero-filled array; allocation never throws. Every working buffer of decoding is
// one, so that the hook above sees them all.
template <class T>
class Block {
public:
    Block() = default;
    ~Block() { reset(); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    // Replaces the array by n zero elements; false (and empty) when memory is short.
    bool allocate(size_t n) {
        reset();
        if (n > SIZE_MAX / sizeof(T) || !block_hook_allows(n * sizeof(T))) return false;
        // One element at least, so an empty image still has a block to point at.
        data_.reset(new (std::nothrow) T[n ? n : 1]());
        if (!data_) {
            block_hook_release(n * sizeof(T));
            return false;
        }
        size_ = n;
        return true;
    }
    void reset() {
        if (data_) block_hook_release(size_ * sizeof(T));
        data_.reset();
        size_ = 0;
    }
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    size_t size() const { return size_; }
    bool empty() const { return !data_; }
    void swap(Block& other) {
        data_.swap(other.data_);
        std::swap(size_, other.size_);
    }

private:
    std::unique_ptr<T[]> data_;
    size_t size_ = 0;
};

using PixelBlock = Block<uint8_t>;

// Bytes per row for width pixels of bits each: ((w * b + 31) >> 3) with the low two bits
// cleared. Computed in 64 bits; 0 for a width of 0 or below.
uint64_t dib_stride(int64_t width, int bits);

// Little-endian reads from a byte buffer.
inline uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The 40 header bytes as stored in a file or handed over by a plug-in.
DibHeader dib_header_from_bytes(const uint8_t* p);
