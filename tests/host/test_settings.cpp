// The profile layer over the settings file and the settings record.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "config/profile.h"
#include "config/settings.h"
#include "storage_fixture.h"

namespace {

using namespace storage_test;

const char kGothic[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = make_scratch_dir();
        path_ = (dir_ / "user.cfg").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void open(const std::string& content, FileIO* io = nullptr) {
        spit(path_, content);
        ASSERT_TRUE(profile_open(path_.c_str(), io));
    }
    std::string read_string(const char* sec, const char* key, const char* def, size_t size = 200) {
        char buf[512];
        profile_read_string(sec, key, def, buf, size);
        return buf;
    }
    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(SettingsTest, ReadIntWrapsTo16BitsExceptToDoWidth) {
    open("[Config]\r\na=65544\r\nb=-32769\r\nc=32768\r\nToDoWidth=70000\r\ntodowidth2=70000\r\n");
    EXPECT_EQ(profile_read_int("Config", "a", 0), 8);
    EXPECT_EQ(profile_read_int("Config", "b", 0), 32767);
    EXPECT_EQ(profile_read_int("Config", "c", 0), -32768);
    EXPECT_EQ(profile_read_int("Config", "ToDoWidth", 0), 70000);
    EXPECT_EQ(profile_read_int("config", "TODOWIDTH", 0), 70000);
    EXPECT_EQ(profile_read_int("Config", "todowidth2", 0), 70000 - 65536);
    EXPECT_EQ(profile_read_int("Config", "missing", 65544), 8);  // the default wraps too
    EXPECT_EQ(profile_read_int("Config", "missing", -1), -1);
}

TEST_F(SettingsTest, WriteIntWritesTheLow16BitsExceptToDoWidth) {
    open("");
    profile_write_int("Config", "a", 65544);
    profile_write_int("Config", "b", -1);
    profile_write_int("Config", "c", 40000);
    profile_write_int("Config", "ToDoWidth", 100000);
    ASSERT_TRUE(profile_flush());
    EXPECT_EQ(slurp(path_), "[Config]\r\na=8\r\nb=-1\r\nc=-25536\r\nToDoWidth=100000\r\n");
}

TEST_F(SettingsTest, ReadStringSignalsMissingKeysWithOneSpace) {
    open("[S]\r\nnodata=no data\r\nblank=\r\nspace= \r\nsc=$YmFj\r\nplain$=a$b\r\n");
    EXPECT_EQ(read_string("S", "missing", " "), " ");
    EXPECT_EQ(read_string("S", "nodata", " "), " ");  // indistinguishable, as specified
    EXPECT_EQ(read_string("S", "blank", " "), "");
    EXPECT_EQ(read_string("S", "space", " "), "");
    EXPECT_EQ(read_string("S", "missing", "0"), "0");
    EXPECT_EQ(read_string("S", "sc", " "), "abc");  // "$" form decoded
    EXPECT_EQ(read_string("S", "plain$", " "), "a$b");
}

TEST_F(SettingsTest, ScrambledWritesReadBackAndLongValuesAreCutBeforeDecoding) {
    open("");
    std::string sound(266, 's');
    std::string value = "0930153" + sound;
    profile_write_string("Alarm", "alarm001", value.c_str(), 1);
    profile_write_string("Alarm", "plain", "abc", 0);
    ASSERT_TRUE(profile_flush());
    const std::string file = slurp(path_);
    EXPECT_EQ(file.find(sound), std::string::npos);  // not readable as plain text
    EXPECT_NE(file.find("plain=abc\r\n"), std::string::npos);
    EXPECT_EQ(read_string("Alarm", "alarm001", " ", 400), value);
    // Through a 300-byte buffer the encoded text is cut and decodes short.
    EXPECT_NE(read_string("Alarm", "alarm001", " ", 300), value);
}

TEST_F(SettingsTest, NoFileGivesTheDefaults) {
    ASSERT_FALSE(profile_open((dir_ / "none.cfg").string().c_str(), nullptr));
    settings_defaults(1024, 768);
    settings.monthlang = 7;  // a load must not keep old values
    settings_load(1024, 768);
    EXPECT_EQ(settings.x1, 342);
    EXPECT_EQ(settings.y1, 214);
    EXPECT_EQ(settings.x2, 682);
    EXPECT_EQ(settings.y2, 554);
    EXPECT_EQ(settings.ix, 0);
    EXPECT_EQ(settings.monthlang, 1);
    EXPECT_EQ(settings.weeklang, 0);
    EXPECT_EQ(settings.cmode, 1);
    EXPECT_EQ(settings.BackArea, 50);
    EXPECT_EQ(settings.charset, 128);
    EXPECT_EQ(settings.weight, 400);
    EXPECT_EQ(settings.ToDoWidth, 10);
    EXPECT_EQ(settings.ToDoTimemes, 60);
    EXPECT_STREQ(settings.fontname, kGothic);
    EXPECT_STREQ(settings.jfont, kGothic);
    EXPECT_STREQ(settings.icontitle, "Tavelspore");
    EXPECT_STREQ(settings.BackImageFile, "");
    EXPECT_EQ(settings.front + settings.clock + settings.titlebar + settings.BackImage, 0);
    settings_default_window_set(333, 101);  // rounding toward zero, odd sizes
    EXPECT_EQ(settings.x1, -3);
    EXPECT_EQ(settings.y1, -119);
    EXPECT_EQ(settings.x2, 337);
}

TEST_F(SettingsTest, WindowSetsAreChosenByResolution) {
    open("[DispSet1]\r\nreso=1024x768\r\nx1=1\r\ny1=2\r\nx2=3\r\ny2=4\r\nix=5\r\niy=6\r\n"
         "[DispSet2]\r\nreso=800x600\r\nx1=10\r\ny1=20\r\nx2=30\r\ny2=40\r\n"
         "[DispSet4]\r\nreso=1280x1024\r\nx1=99\r\n");
    settings_defaults(800, 600);
    settings_load(800, 600);
    EXPECT_EQ(settings.x1, 10);
    EXPECT_EQ(settings.y2, 40);
    EXPECT_EQ(settings.ix, 0);
    settings_load(1024, 768);
    EXPECT_EQ(settings.x1, 1);
    EXPECT_EQ(settings.iy, 6);
    // DispSet3 is empty: its keys (none) give the defaults; DispSet4 is never found.
    settings_load(1280, 1024);
    EXPECT_EQ(settings.x1, (1280 - 340) / 2);
    settings.x1 = 11;
    settings.iy = -2;
    ASSERT_TRUE(window_set_save(1280, 1024));
    ASSERT_TRUE(profile_open(path_.c_str(), nullptr));
    EXPECT_EQ(read_string("DispSet3", "reso", "0"), "1280x1024");
    EXPECT_EQ(profile_read_int("DispSet3", "x1", 0), 11);
    EXPECT_EQ(profile_read_int("DispSet3", "iy", 0), -2);
    EXPECT_EQ(profile_read_int("DispSet4", "x1", 0), 99);
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[DispSet3]\r\nreso=1280x1024\r\nx1=11\r\ny1="), std::string::npos);
}

TEST_F(SettingsTest, AllSetsTakenLeavesTheDefaultAndWritesNothing) {
    std::string text;
    for (int n = 1; n <= 20; ++n)
        text += "[DispSet" + std::to_string(n) + "]\r\nreso=" + std::to_string(n) + "x1\r\nx1=7\r\n";
    open(text);
    settings_load(640, 480);
    EXPECT_EQ(settings.x1, 150);
    EXPECT_FALSE(window_set_save(640, 480));
    EXPECT_EQ(slurp(path_), text);
}

TEST_F(SettingsTest, SaveWritesConfigInTableOrderAndLoadsItBack) {
    open("");
    settings_defaults(1024, 768);
    settings.front = 8;
    settings.Transparent = 65544;  // stored as its low 16 bits
    std::strcpy(settings.BackImageFile, "C:\\\x95\x5c\\bg.bmp");
    ASSERT_TRUE(settings_save());
    const std::string file = slurp(path_);
    EXPECT_EQ(file.rfind("[Config]\r\nmonthlang=1\r\nweeklang=0\r\njfont=", 0), 0u);
    const char* order[] = {"monthlang=", "weeklang=", "jfont=",    "checkmark=",   "front=8",
                           "clock=",     "method=",   "ampm=",     "analog=",      "second=",
                           "iconpos=",   "titlebar=", "cmode=",    "BackImage=",   "Transparent=8",
                           "BackMode=",  "BackArea=", "BackImageFile=", "icontitle=", "charset=",
                           "weight=",    "italic=",   "fontname="};
    size_t at = 0;
    for (const char* k : order) {
        const size_t found = file.find(std::string("\n") + k, at);
        ASSERT_NE(found, std::string::npos) << k;
        at = found;
    }
    EXPECT_EQ(file.find("ToDo"), std::string::npos);  // settings_save leaves these out
    ASSERT_TRUE(todo_save());
    EXPECT_NE(slurp(path_).find("fontname=" + std::string(kGothic) +
                                "\r\nToDoBoot=0\r\nToDoWidth=10\r\nToDoTimemes=60\r\n"),
              std::string::npos);

    settings_defaults(1024, 768);
    ASSERT_TRUE(profile_open(path_.c_str(), nullptr));
    settings_load(1024, 768);
    EXPECT_EQ(settings.front, 8);
    EXPECT_EQ(settings.Transparent, 8);
    EXPECT_STREQ(settings.BackImageFile, "C:\\\x95\x5c\\bg.bmp");
}

TEST_F(SettingsTest, FlagsAreKeptAsStoredAndScrambledFontNamesDecode) {
    open("[Config]\r\nfront=1\r\niconpos=8\r\ntitlebar=3\r\nfontname=$YmFj\r\n");
    settings_load(800, 600);
    EXPECT_EQ(settings.front, 1);  // not 8: counts as off, but is kept
    EXPECT_EQ(settings.iconpos, 8);
    EXPECT_EQ(settings.titlebar, 3);
    EXPECT_STREQ(settings.fontname, "abc");
    ASSERT_TRUE(settings_save());
    EXPECT_NE(slurp(path_).find("front=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, SavesReportAFileThatCouldNotBeWritten) {
    FaultyFileIO io;
    open("[Config]\r\nmonthlang=0\r\n", &io);
    settings_defaults(800, 600);
    for (int step = kCreate; step < kSteps; ++step) {
        io.fail_at = step;
        EXPECT_FALSE(settings_save()) << step;
        EXPECT_FALSE(todo_save()) << step;
        EXPECT_FALSE(window_set_save(800, 600)) << step;
        EXPECT_EQ(slurp(path_), "[Config]\r\nmonthlang=0\r\n");
    }
    EXPECT_EQ(profile_read_int("Config", "monthlang", 5), 1);  // the change stays in memory
    io.fail_at = 0;
    EXPECT_TRUE(settings_save());
    EXPECT_NE(slurp(path_).find("monthlang=1"), std::string::npos);

    // A settings file in a directory that cannot hold it.
    ASSERT_FALSE(profile_open((dir_ / "missing" / "u.cfg").string().c_str(), nullptr));
    EXPECT_FALSE(settings_save());
    EXPECT_FALSE(todo_save());
}

TEST(SettingsPath, LoginNameOrDefault) {
    char out[64];
    settings_file_path(out, sizeof out, "D:\\cal\\", "taro");
    EXPECT_STREQ(out, "D:\\cal\\taro.cfg");
    settings_file_path(out, sizeof out, "D:\\cal\\", "");
    EXPECT_STREQ(out, "D:\\cal\\default.cfg");
    settings_file_path(out, sizeof out, "D:\\", nullptr);
    EXPECT_STREQ(out, "D:\\default.cfg");
    char small[10];
    settings_file_path(small, sizeof small, "D:\\\x95\x5c\\", "user");
    EXPECT_STREQ(small, "D:\\\x95\x5c\\use");
}

TEST(SettingsFaceName, CutTo31BytesOnACharacterBoundary) {
    settings_defaults(800, 600);
    std::string name = "a";
    for (int i = 0; i < 40; ++i) name += "\x83\x41";  // 1 + 80 bytes
    std::strcpy(settings.fontname, name.c_str());
    char face[32];
    settings_face_name(face, sizeof face);
    EXPECT_EQ(std::strlen(face), 31u);
    EXPECT_EQ(std::string(face), name.substr(0, 31));
    std::strcpy(settings.fontname, ("\x83" + name).c_str());  // now the cut falls mid-character
    settings_face_name(face, sizeof face);
    EXPECT_EQ(std::strlen(face), 30u);
}

}  // namespace
