#include "app/background_choice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string kTold = "背景画像を読み込めませんでした\n";

TEST(BackgroundFailure, FixedTextThenTheFileOnItsOwnLine) {
    const std::string path = "C:\\画像\\表.bmp";  // 表 has a 0x5C trail byte
    struct Case {
        const char* what;
        const char* file;
        size_t size;
        std::string want;
    } cases[] = {
        {"whole", path.c_str(), 512, kTold + path},
        {"no file", nullptr, 512, kTold},
        {"cut before a character that does not fit", path.c_str(), kTold.size() + 5,
         kTold + "C:\\"},  // 画 would need bytes 4 and 5 of the room
        {"one byte of room", path.c_str(), 1, ""},
    };
    for (const Case& c : cases) {
        char out[512];
        std::memset(out, 'x', sizeof out);
        format_background_failure(out, c.size, c.file);
        EXPECT_EQ(std::string(out), c.want) << c.what;
    }
    char untouched[4] = "abc";
    format_background_failure(untouched, 0, path.c_str());
    EXPECT_STREQ(untouched, "abc");
}

}  // namespace
