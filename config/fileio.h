// Whole-file reads and crash-safe whole-file replacement, behind a seam so
// the Windows build can use Win32 calls and tests can fail any single step.
#pragma once
#include <cstddef>
#include <string>

class FileIO {
public:
    virtual ~FileIO() = default;
    // The whole content of path; false when it cannot be opened or read.
    virtual bool read_all(const char* path, std::string* out) = 0;
    // Makes path hold exactly data[0..n). True only when the new content is
    // in place; on false path still holds its previous content (or is still
    // missing), never a mixture.
    virtual bool write_atomic(const char* path, const char* data, size_t n) = 0;
};

// write_atomic as a sequence of steps: create "<path>.tmp", write, flush to
// the disk, close, then replace path by it in one rename. A failed step
// removes the temporary file and leaves path untouched.
class StepFileIO : public FileIO {
public:
    bool write_atomic(const char* path, const char* data, size_t n) override;

protected:
    virtual void* create(const char* path) = 0;  // nullptr on failure
    virtual bool write(void* handle, const char* data, size_t n) = 0;
    virtual bool flush(void* handle) = 0;
    virtual bool close(void* handle) = 0;
    virtual bool replace(const char* from, const char* to) = 0;
    virtual void remove(const char* path) = 0;
};

// Standard C library implementation: fopen/fwrite/fflush (and fsync where
// the system has it), rename. rename replaces an existing file atomically
// on POSIX systems only; the Windows build uses fileio_win() instead.
class StdioFileIO : public StepFileIO {
public:
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
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
FileIO* fileio_win();
