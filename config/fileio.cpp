#include "config/fileio.h"

#include <sys/stat.h>

#include <cstdio>
#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

bool StepFileIO::write_atomic(const char* path, const char* data, size_t n) {
    const std::string tmp = std::string(path) + ".tmp";
    // One left by a write that was cut short (a kill, a power cut) goes first: it may hold
    // every memo in plain text. The new one is made new, never written through a file (or a
    // link to one) that stands there.
    remove(tmp.c_str());
    void* h = create(tmp.c_str());
    if (h == nullptr) return false;
    bool ok = write(h, data, n);
    ok = ok && flush(h);
    // Close even after a failed write, so the temporary file can be removed.
    ok = close(h) && ok;
    ok = ok && replace(tmp.c_str(), path);
    if (!ok) remove(tmp.c_str());
    return ok;
}

FileStamp StdioFileIO::stamp(const char* path) {
    FileStamp st;
    struct stat info;
    if (::stat(path, &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) return st;
    st.exists = true;
    st.size = static_cast<uint64_t>(info.st_size);
#if defined(__linux__)
    st.time = static_cast<uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
              static_cast<uint64_t>(info.st_mtim.tv_nsec);
#elif defined(__APPLE__)
    st.time = static_cast<uint64_t>(info.st_mtimespec.tv_sec) * 1000000000u +
              static_cast<uint64_t>(info.st_mtimespec.tv_nsec);
#else
    st.time = static_cast<uint64_t>(info.st_mtime);
#endif
    return st;
}

bool StdioFileIO::read_all(const char* path, std::string* out) {
    out->clear();
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    char chunk[8192];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out->append(chunk, got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

void* StdioFileIO::create(const char* path) { return std::fopen(path, "wbx"); }

bool StdioFileIO::write(void* handle, const char* data, size_t n) {
    return n == 0 || std::fwrite(data, 1, n, static_cast<FILE*>(handle)) == n;
}

bool StdioFileIO::flush(void* handle) {
    FILE* f = static_cast<FILE*>(handle);
    if (std::fflush(f) != 0) return false;
#if defined(__unix__) || defined(__APPLE__)
    if (fsync(fileno(f)) != 0) return false;
#endif
    return true;
}

bool StdioFileIO::close(void* handle) { return std::fclose(static_cast<FILE*>(handle)) == 0; }

bool StdioFileIO::replace(const char* from, const char* to) { return std::rename(from, to) == 0; }

void StdioFileIO::remove(const char* path) { std::remove(path); }

FileIO* fileio_stdio() {
    static StdioFileIO io;
    return &io;
}
