// Bitmap files on disk: which paths the built-in decoder takes, and reading one.
#pragma once

#include <cstdint>
#include <cstdio>

#include "image/bitmap_decode.h"
#include "image/dib.h"

// A file opened for reading ("rb") as a byte source; closed when it goes.
class FileSource : public ByteSource {
public:
    explicit FileSource(const char* path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool is_open() const { return file_ != nullptr; }
    uint64_t size() const override { return size_; }
    size_t read_at(uint64_t offset, void* dst, size_t n) override;

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
};

// The path's extension (as path_split gives it: a dot and at most four bytes), lower-cased,
// is ".bmp" or ".rle".
bool has_bitmap_extension(const char* path);

// has_bitmap_extension, the file opens and begins with "BM".
bool is_builtin_bitmap(const char* path);

// Reads the bitmap file at path (see decode_bitmap), reduced when it is larger than the
// screen. False when it cannot be opened.
bool load_bitmap_file(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info);
