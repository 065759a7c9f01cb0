// The crash-safe file replacement: a failure at any step leaves the old file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "config/fileio.h"
#include "storage_fixture.h"

namespace {

using namespace storage_test;

TEST(FileIO, AFailedStepLeavesTheOldFileAndNoTemporary) {
    const auto dir = make_scratch_dir();
    const auto path = dir / "user.cfg";
    const std::string old_text = "[Config]\r\nmonthlang=1\r\n";
    const std::string new_text(100000, 'n');
    for (int step = kCreate; step < kSteps; ++step) {
        spit(path, old_text);
        FaultyFileIO io;
        io.fail_at = step;
        EXPECT_FALSE(io.write_atomic(path.string().c_str(), new_text.data(), new_text.size()))
            << "step " << step;
        EXPECT_EQ(slurp(path), old_text) << "step " << step;
        EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp")) << "step " << step;
    }
    FaultyFileIO io;
    EXPECT_TRUE(io.write_atomic(path.string().c_str(), new_text.data(), new_text.size()));
    EXPECT_EQ(slurp(path), new_text);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
    std::filesystem::remove_all(dir);
}

// A temporary file left by a write that was cut short is gone once the next write of that
// file starts, whether that write succeeds or not; and whatever stands under its name (a
// link to another file too) is never written through.
TEST(FileIO, AStaleTemporaryGoesAndIsNeverWrittenThrough) {
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        int fail_at;
        void (*stale)(const fs::path& tmp, const fs::path& other);
    } cases[] = {
        {"left by a kill", 0, [](const fs::path& tmp, const fs::path&) { spit(tmp, "memo in plain text"); }},
        {"left, and the write fails", kCreate,
         [](const fs::path& tmp, const fs::path&) { spit(tmp, "memo in plain text"); }},
        {"a hard link to another file", 0,
         [](const fs::path& tmp, const fs::path& other) { fs::create_hard_link(other, tmp); }},
        {"a symbolic link to another file", 0,
         [](const fs::path& tmp, const fs::path& other) { fs::create_symlink(other, tmp); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto dir = make_scratch_dir();
        const auto path = dir / "x.ics", tmp = dir / "x.ics.tmp", other = dir / "other.txt";
        spit(path, "old");
        spit(other, "someone else's");
        c.stale(tmp, other);
        FaultyFileIO io;
        io.fail_at = c.fail_at;
        EXPECT_EQ(io.write_atomic(path.string().c_str(), "new", 3), c.fail_at == 0);
        EXPECT_EQ(slurp(path), c.fail_at == 0 ? "new" : "old");
        EXPECT_EQ(slurp(other), "someone else's");
        EXPECT_FALSE(fs::exists(fs::symlink_status(tmp)));
        fs::remove_all(dir);
    }
}

TEST(FileIO, AFileThatCannotBeCreatedIsReportedAndMissingStaysMissing) {
    const auto dir = make_scratch_dir();
    spit(dir / "plain", "x");
    // A directory that does not exist, and a "directory" that is a file:
    // both fail even for root, unlike a read-only directory.
    const std::string paths[] = {(dir / "none" / "user.cfg").string(),
                                 (dir / "plain" / "user.cfg").string()};
    for (const std::string& p : paths) {
        EXPECT_FALSE(fileio_stdio()->write_atomic(p.c_str(), "abc", 3)) << p;
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
        std::string got = "stale";
        EXPECT_FALSE(fileio_stdio()->read_all(p.c_str(), &got));
        EXPECT_EQ(got, "");
    }
    std::filesystem::remove_all(dir);
}

TEST(FileIO, ReadsBackExactBytes) {
    const auto dir = make_scratch_dir();
    const auto path = (dir / "b.bin").string();
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<char>(i * 7));
    ASSERT_TRUE(fileio_stdio()->write_atomic(path.c_str(), bytes.data(), bytes.size()));
    std::string got;
    ASSERT_TRUE(fileio_stdio()->read_all(path.c_str(), &got));
    EXPECT_EQ(got, bytes);
    ASSERT_TRUE(fileio_stdio()->write_atomic(path.c_str(), "", 0));
    EXPECT_EQ(slurp(path), "");
    std::filesystem::remove_all(dir);
}

TEST(FileIO, StampsTellVersionsApartBySizeAndTime) {
    const auto dir = make_scratch_dir();
    const auto path = (dir / "s.cfg").string();
    FileIO* io = fileio_stdio();
    EXPECT_FALSE(io->stamp(path.c_str()).exists);
    EXPECT_FALSE(io->stamp(dir.string().c_str()).exists);  // a directory is no file
    ASSERT_TRUE(io->write_atomic(path.c_str(), "abc", 3));
    const FileStamp first = io->stamp(path.c_str());
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3u);
    EXPECT_EQ(io->stamp(path.c_str()), first);  // nothing changed

    // The same size written at another time.
    spit(path, "xyz");
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(3));
    const FileStamp second = io->stamp(path.c_str());
    EXPECT_EQ(second.size, 3u);
    EXPECT_NE(second, first);
    spit(path, "longer");
    EXPECT_EQ(io->stamp(path.c_str()).size, 6u);
    std::filesystem::remove(path);
    EXPECT_FALSE(io->stamp(path.c_str()).exists);
    std::filesystem::remove_all(dir);
}

}  // namespace
