#include "image/bitmap_file.h"

#include <cstring>

#include "config/paths.h"

namespace {

bool seek(std::FILE* f, uint64_t offset) {
#if defined(_WIN32)
    return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t file_length(std::FILE* f) {
#if defined(_WIN32)
    if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
    const long long n = _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) return -1;
    const off_t n = ftello(f);
#endif
    return n < 0 || !seek(f, 0) ? -1 : static_cast<int64_t>(n);
}

}  // namespace

FileSource::FileSource(const char* path) {
    file_ = std::fopen(path, "rb");
    if (file_ == nullptr) return;
    const int64_t n = file_length(file_);
    if (n < 0) {
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    size_ = static_cast<uint64_t>(n);
}

FileSource::~FileSource() {
    if (file_) std::fclose(file_);
}

size_t FileSource::read_at(uint64_t offset, void* dst, size_t n) {
    if (file_ == nullptr || offset >= size_ || !seek(file_, offset)) return 0;
    return std::fread(dst, 1, n, file_);
}

bool has_bitmap_extension(const char* path) {
    char ext[8];
    path_split(path, nullptr, 0, nullptr, 0, ext, sizeof ext);
    for (char* p = ext; *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
    return std::strcmp(ext, ".bmp") == 0 || std::strcmp(ext, ".rle") == 0;
}

bool is_builtin_bitmap(const char* path) {
    if (!has_bitmap_extension(path)) return false;
    FileSource f(path);
    if (!f.is_open()) return false;
    uint8_t head[14] = {};
    f.read_at(0, head, sizeof head);
    return head[0] == 'B' && head[1] == 'M';
}

bool load_bitmap_file(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info) {
    FileSource f(path);
    if (!f.is_open()) return false;
    return decode_bitmap(f, pixels, info, screen);
}
