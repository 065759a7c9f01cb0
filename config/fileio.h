// Whole-file reads, crash-safe whole-file replacement and a look at a file's
// size and time, behind a seam so the Windows build can use Win32 calls and
// tests can fail any single step.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What tells one version of a file from another without reading it.
struct FileStamp {
    bool exists = false;  // false also when it cannot be looked at or is no file
    uint64_t size = 0;
    uint64_t time = 0;  // last write, in the system's own units
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && size == o.size && time == o.time;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

class FileIO {
public:
    virtual ~FileIO() = default;
    // The size and last-write time of path.
    virtual FileStamp stamp(const char* path) = 0;
    // The whole content of path; false when it cannot be opened or read.
    virtual bool read_all(const char* path, std::string* out) = 0;
    // Makes path hold exactly data[0..n). True only when the new content is
    // in place; on false path still holds its previous content (or is still
    // missing), never a mixture.
    virtual bool write_atomic(const char* path, const char* data, size_t n) = 0;
};

// write_atomic as a sequence of steps: remove a "<path>.tmp" left by an earlier
// write, create it new, write, flush to the disk, close, then replace path by
// it in one rename. A failed step removes the temporary file and leaves path
// untouched.
class StepFileIO : public FileIO {
public:
    bool write_atomic(const char* path, const char* data, size_t n) override;

protected:
    virtual void* create(const char* path) = 0;  // a new file only; nullptr on failure
    virtual bool write(void* handle, const char* data, size_t n) = 0;
    virtual bool flush(void* handle) = 0;
    virtual bool close(void* handle) = 0;
    virtual bool replace(const char* from, const char* to) = 0;
    virtual void remove(const char* path) = 0;
};

// Standard C library implementation: fopen/fwrite/fflush (and fsync where
// the system has it), rename, stat. rename replaces an existing file
// atomically on POSIX systems only; the Windows build uses fileio_win()
// instead.
class StdioFileIO : public StepFileIO {
public:
    FileStamp stamp(const char* path) override;
    bool read_all(const char* path, std::string* out) override;

protected:
    void* create(const char* path) override;
    bool write(void* handle, const char* data, size_t n) override;
    bool flush(void* handle) override;
    bool close(void* handle) override;
    bool replace(const char* from, const char* to) override;
    void remove(const char* path) override;
};

FileIO* fileio_stdio();

// Win32 implementation (config/fileio_win.cpp, Windows build only):
// CreateFileA, WriteFile, FlushFileBuffers, MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, GetFileAttributesExA.
FileIO* fileio_win();
