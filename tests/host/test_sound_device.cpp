#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "schedule/sound_device.h"

namespace {

// A system extension table, and the keys asked of it.
std::vector<std::string> asked;
const char* table_mp2 = "MPEGVideo";

void lookup(const char* key, const char* fallback, char* out, size_t size) {
    asked.push_back(key);
    const char* v = fallback;
    if (std::strcmp(key, "MP2") == 0) v = table_mp2;
    else if (std::strcmp(key, "MP3") == 0) v = "WrongDevice";
    else if (std::strcmp(key, "AVI") == 0) v = "AVIVideo";
    else if (std::strcmp(key, "wav") == 0) v = "LowerCase";
    else if (std::strcmp(key, "XYZ") == 0) v = "no support";
    std::snprintf(out, size, "%s", v);
}

TEST(SoundDevice, SelectionByExtension) {
    struct {
        const char* ext;
        bool ok;
        unsigned char kind;
        const char* type;
        const char* asked;  // key looked up, nullptr for none
    } cases[] = {
        {"WAV", true, kDeviceWaveAudio, "WaveAudio", nullptr},
        {"MID", true, kDeviceSequencer, "Sequencer", nullptr},
        {"RMI", true, kDeviceSequencer, "Sequencer", nullptr},
        {"MP3", true, kDeviceNamed, "MPEGVideo", "MP2"},
        {"AVI", true, kDeviceNamed, "AVIVideo", "AVI"},
        {"wav", true, kDeviceNamed, "LowerCase", "wav"},  // case-sensitive: goes to the table
        {"mid", false, 77, "before", "mid"},
        {"XYZ", false, 77, "before", "XYZ"},              // the literal value counts as missing
        {"OGG", false, 77, "before", "OGG"},
        {"", false, 77, "before", ""},
        {"ABCDEFGHIJKLMNOP", false, 77, "before", "ABCDEFGHIJK"},  // key cut to 11
    };
    for (const auto& c : cases) {
        SoundDevice dev;
        dev.kind = 77;
        std::snprintf(dev.type_name, sizeof dev.type_name, "before");
        asked.clear();
        EXPECT_EQ(select_sound_device(&dev, c.ext, lookup), c.ok) << c.ext;
        EXPECT_EQ(dev.kind, c.kind) << c.ext;
        if (c.ok) EXPECT_STREQ(sound_device_type(&dev), c.type) << c.ext;
        else EXPECT_STREQ(dev.type_name, "before") << c.ext;
        if (c.asked) {
            ASSERT_EQ(asked.size(), 1u) << c.ext;
            EXPECT_EQ(asked[0], c.asked) << c.ext;
        } else {
            EXPECT_TRUE(asked.empty()) << c.ext;
        }
    }
}

TEST(SoundDevice, Mp3NeedsAnMp2Entry) {
    SoundDevice dev = {kDeviceWaveAudio, ""};
    table_mp2 = "no support";
    EXPECT_FALSE(select_sound_device(&dev, "MP3", lookup));
    table_mp2 = "MPEGVideo";
    EXPECT_EQ(dev.kind, kDeviceWaveAudio);
}

TEST(SoundDevice, ExtensionAsThePlayersTakeIt) {
    struct {
        const char* path;
        const char* ext;
    } cases[] = {
        {"C:\\Sounds\\a.wav", ".WAV"},   {"a.Mid", ".MID"},     {"C:\\a.mpeg", ".MPEG"},
        {"C:\\a.abcde", ""},             {"C:\\noext", ""},     {"C:\\dir.d\\file", ""},
        {"", ""},                        {"音.mp3", ".MP3"},
        {"\x83\x5c.w\x83\x41", ".W\x83\x41"},  // a double-byte character stays as it is
    };
    for (const auto& c : cases) {
        char ext[16];
        sound_extension(c.path, ext, sizeof ext);
        EXPECT_STREQ(ext, c.ext) << c.path;
    }
}

}  // namespace
