// Shared by the settings and storage tests: a scratch directory, whole-file
// helpers, a file layer that fails one chosen step, and settings that differ
// from the defaults in every key.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "config/fileio.h"
#include "config/settings.h"
#include "tests/host/test_records.h"

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

// A value for every key that is no key's default: 16-bit numbers that no
// two keys share, a ToDoWidth beyond 16 bits, Japanese text with a 0x5C trail
// byte (表) for every string, and a window set off the default one.
inline Settings distinct_settings() {
    settings_defaults(&settings, 1024, 768);
    Settings s = settings;
    int n = 0;
    for (const SettingKey& k : kSettingKeys) {
        ++n;
        if (k.kind == SettingKind::kText)
            std::snprintf(setting_text(s, k), k.size, "設定%s表%d", k.name, n);
        else
            setting_int(s, k) = k.kind == SettingKind::kInt32 ? 70000 + n : 1000 + 37 * n;
    }
    for (const WindowSetKey& k : kWindowSetKeys) window_set_int(s, k) = -100 - ++n;
    return s;
}

// Every field of a against b, named by its key.
inline void expect_same_settings(const Settings& a, const Settings& b, const char* route) {
    Settings x = a, y = b;
    for (const SettingKey& k : kSettingKeys) {
        if (k.kind == SettingKind::kText)
            EXPECT_STREQ(setting_text(x, k), setting_text(y, k)) << route << ": " << k.name;
        else
            EXPECT_EQ(setting_int(x, k), setting_int(y, k)) << route << ": " << k.name;
    }
    for (const WindowSetKey& k : kWindowSetKeys)
        EXPECT_EQ(window_set_int(x, k), window_set_int(y, k)) << route << ": " << k.name;
}

}  // namespace storage_test
