// Shared by the settings and storage tests: a scratch directory, whole-file
// helpers and a file layer that fails one chosen step.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "config/fileio.h"

namespace storage_test {

inline std::filesystem::path make_scratch_dir() {
    std::random_device rd;
    auto dir = std::filesystem::temp_directory_path() /
               ("zelmar_test_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void spit(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The steps of StepFileIO::write_atomic, numbered in the order they run.
enum Step { kCreate = 1, kWrite, kFlush, kClose, kReplace, kSteps };

// Fails the chosen step once per write_atomic call (0 = none). A failed
// write still puts half the data into the temporary file, as a full disk
// would.
class FaultyFileIO : public StdioFileIO {
public:
    int fail_at = 0;
    int writes = 0;  // write_atomic calls made

    bool write_atomic(const char* path, const char* data, size_t n) override {
        ++writes;
        return StdioFileIO::write_atomic(path, data, n);
    }

protected:
    void* create(const char* path) override {
        return fail_at == kCreate ? nullptr : StdioFileIO::create(path);
    }
    bool write(void* h, const char* data, size_t n) override {
        if (fail_at != kWrite) return StdioFileIO::write(h, data, n);
        StdioFileIO::write(h, data, n / 2);
        return false;
    }
    bool flush(void* h) override { return fail_at != kFlush && StdioFileIO::flush(h); }
    bool close(void* h) override {
        const bool ok = StdioFileIO::close(h);
        return fail_at != kClose && ok;
    }
    bool replace(const char* from, const char* to) override {
        return fail_at != kReplace && StdioFileIO::replace(from, to);
    }
};

}  // namespace storage_test
