// The profile layer over the settings file and the settings record.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/startup_layout.h"
#include "config/profile.h"
#include "config/profile_file.h"
#include "config/settings.h"
#include "schedule/storage.h"
#include "storage_fixture.h"
#include "tests/host/test_records.h"

namespace {

using namespace storage_test;

const char kGothic[] = "ＭＳ Ｐゴシック";

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
    settings_defaults(&settings, 1024, 768);
    settings.monthlang = 7;  // a load must not keep old values
    settings_load(&settings, 1024, 768);
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
    settings_default_window_set(&settings, 333, 101);  // rounding toward zero, odd sizes
    EXPECT_EQ(settings.x1, -3);
    EXPECT_EQ(settings.y1, -119);
    EXPECT_EQ(settings.x2, 337);
}

TEST_F(SettingsTest, WindowSetsAreChosenByResolution) {
    open("[DispSet1]\r\nreso=1024x768\r\nx1=1\r\ny1=2\r\nx2=3\r\ny2=4\r\nix=5\r\niy=6\r\n"
         "[DispSet2]\r\nreso=800x600\r\nx1=10\r\ny1=20\r\nx2=30\r\ny2=40\r\n"
         "[DispSet4]\r\nreso=1280x1024\r\nx1=99\r\n");
    settings_defaults(&settings, 800, 600);
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.x1, 10);
    EXPECT_EQ(settings.y2, 40);
    EXPECT_EQ(settings.ix, 0);
    settings_load(&settings, 1024, 768);
    EXPECT_EQ(settings.x1, 1);
    EXPECT_EQ(settings.iy, 6);
    // DispSet3 is empty: its keys (none) give the defaults; DispSet4 is never found.
    settings_load(&settings, 1280, 1024);
    EXPECT_EQ(settings.x1, (1280 - 340) / 2);
    settings.x1 = 11;
    settings.iy = -2;
    ASSERT_TRUE(window_set_save(settings, 1280, 1024));
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
    settings_load(&settings, 640, 480);
    EXPECT_EQ(settings.x1, 150);
    EXPECT_FALSE(window_set_save(settings, 640, 480));
    EXPECT_EQ(slurp(path_), text);
}

TEST_F(SettingsTest, SaveWritesConfigInTableOrderAndLoadsItBack) {
    open("");
    settings_defaults(&settings, 1024, 768);
    settings.front = 8;
    settings.Transparent = 65544;  // stored as its low 16 bits
    std::strcpy(settings.BackImageFile, "C:\\表\\bg.bmp");  // 表: trail byte 0x5C
    ASSERT_TRUE(settings_save(settings));
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
    ASSERT_TRUE(todo_save(settings));
    EXPECT_NE(slurp(path_).find("fontname=" + std::string(kGothic) +
                                "\r\nToDoBoot=0\r\nToDoWidth=10\r\nToDoTimemes=60\r\n"),
              std::string::npos);

    settings_defaults(&settings, 1024, 768);
    ASSERT_TRUE(profile_open(path_.c_str(), nullptr));
    settings_load(&settings, 1024, 768);
    EXPECT_EQ(settings.front, 8);
    EXPECT_EQ(settings.Transparent, 8);
    EXPECT_STREQ(settings.BackImageFile, "C:\\表\\bg.bmp");
}

// On unless the file says 0; stored in [Config] (the generic table tests cover the rest).
TEST_F(SettingsTest, NationalHolidaysAreShownUnlessTheFileTurnsThemOff) {
    open("[Config]\r\ncmode=0\r\n");
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.NationalHolidays, 1);
    settings.NationalHolidays = 0;
    ASSERT_TRUE(settings_save(settings));
    EXPECT_NE(slurp(path_).find("\r\nNationalHolidays=0\r\n"), std::string::npos);
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.NationalHolidays, 0);
}

TEST_F(SettingsTest, FlagsAreKeptAsStoredAndScrambledFontNamesDecode) {
    open("[Config]\r\nfront=1\r\niconpos=8\r\ntitlebar=3\r\nfontname=$YmFj\r\n");
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.front, 1);  // not 8: counts as off, but is kept
    EXPECT_EQ(settings.iconpos, 8);
    EXPECT_EQ(settings.titlebar, 3);
    EXPECT_STREQ(settings.fontname, "abc");
    ASSERT_TRUE(settings_save(settings));
    EXPECT_NE(slurp(path_).find("front=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, SavesReportAFileThatCouldNotBeWritten) {
    FaultyFileIO io;
    open("[Config]\r\nmonthlang=0\r\n", &io);
    settings_defaults(&settings, 800, 600);
    for (int step = kCreate; step < kSteps; ++step) {
        io.fail_at = step;
        EXPECT_FALSE(settings_save(settings)) << step;
        EXPECT_FALSE(todo_save(settings)) << step;
        EXPECT_FALSE(window_set_save(settings, 800, 600)) << step;
        EXPECT_EQ(slurp(path_), "[Config]\r\nmonthlang=0\r\n");
    }
    EXPECT_EQ(profile_read_int("Config", "monthlang", 5), 1);  // the change stays in memory
    io.fail_at = 0;
    EXPECT_TRUE(settings_save(settings));
    EXPECT_NE(slurp(path_).find("monthlang=1"), std::string::npos);

    // A settings file in a directory that cannot hold it.
    ASSERT_FALSE(profile_open((dir_ / "missing" / "u.cfg").string().c_str(), nullptr));
    EXPECT_FALSE(settings_save(settings));
    EXPECT_FALSE(todo_save(settings));
}

// --- The settings table ---

TEST(SettingsTable, HoldsEveryKeyInWritingOrderAndCoversEveryField) {
    const char* names[] = {"monthlang", "weeklang", "jfont",     "checkmark",     "front",
                           "clock",     "method",   "ampm",      "analog",        "second",
                           "iconpos",   "titlebar", "cmode",     "NationalHolidays", "Rokuyo",
                           "Kyureki",   "Wareki",   "DayShapes", "BackImage",
                           "Transparent", "BackMode", "BackArea", "BackImageFile", "icontitle",
                           "charset",   "weight",   "italic",    "fontname",      "AlarmChecked",
                           "IcalFolder",
                           "ToDoBoot",  "ToDoWidth", "ToDoTimemes"};
    static_assert(sizeof names / sizeof *names == kSettingKeyCount, "one name per row");
    std::vector<int> owners(sizeof(Settings), 0);
    auto own = [&](size_t offset, size_t size, const char* name) {
        ASSERT_LE(offset + size, sizeof(Settings)) << name;
        for (size_t i = offset; i < offset + size; ++i) ++owners[i];
    };
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        const SettingKey& k = kSettingKeys[i];
        EXPECT_STREQ(k.name, names[i]);
        // The upcoming-list keys are the last three, loaded and saved apart.
        EXPECT_EQ(k.group == SettingGroup::kToDo, i >= kSettingKeyCount - 3) << k.name;
        EXPECT_EQ(k.kind == SettingKind::kInt32, std::strcmp(k.name, "ToDoWidth") == 0) << k.name;
        if (k.kind == SettingKind::kText) {
            EXPECT_LT(std::strlen(k.def_text), k.size) << k.name;
        }
        own(k.offset, k.size, k.name);
    }
    for (const WindowSetKey& k : kWindowSetKeys) own(k.offset, sizeof(int), k.name);
    // A field without a row (or a row deleted) leaves bytes no key owns.
    for (size_t i = 0; i < owners.size(); ++i) ASSERT_EQ(owners[i], 1) << "byte " << i;
}

// Each row says what it is, its default lies in its range, and an on/off row's range runs
// from off to on; the lookups by field and by key find each row.
TEST(SettingsTable, RowsDescribeThemselves) {
    for (const SettingKey& k : kSettingKeys) {
        EXPECT_GT(std::strlen(k.about), 8u) << k.name;
        EXPECT_EQ(setting_key_at(k.offset), &k) << k.name;
        EXPECT_EQ(setting_key_named(k.name), &k) << k.name;
        if (k.kind == SettingKind::kText) {
            EXPECT_EQ(k.on_off, OnOff::kNone) << k.name;
            continue;
        }
        EXPECT_LE(k.min, k.def) << k.name;
        EXPECT_LE(k.def, k.max) << k.name;
        if (k.kind == SettingKind::kInt16) {
            EXPECT_GE(k.min, -32768) << k.name << ": the file holds 16 bits";
            EXPECT_LE(k.max, 32767) << k.name;
        }
        if (k.on_off != OnOff::kNone) {
            EXPECT_EQ(k.min, 0) << k.name;
            EXPECT_EQ(k.max, k.on_off == OnOff::kOne ? 1 : kMenuChecked) << k.name;
        }
    }
    for (const WindowSetKey& k : kWindowSetKeys) EXPECT_EQ(window_set_key_named(k.name), &k) << k.name;
    EXPECT_EQ(setting_key_named("MonthLang"), nullptr) << "letter case counts";
    EXPECT_EQ(setting_key_named(nullptr), nullptr);
    EXPECT_EQ(setting_key_at(offsetof(Settings, x1)), nullptr) << "the window set has its own table";
}

// How each kind of switch reads a stored value and what switching it writes: a stray value
// reads as the key's rule says, and a switch always lands on exactly on or off.
TEST(SettingsTable, SwitchesReadAndToggleByTheirRule) {
    struct Case {
        size_t field;
        int stored;
        bool on;
        int toggled;
    };
    const Case cases[] = {
        {offsetof(Settings, front), 8, true, 0},
        {offsetof(Settings, front), 0, false, 8},
        {offsetof(Settings, front), 1, false, 8},  // a stray 1 is not the check state
        {offsetof(Settings, iconpos), 8, true, 0},
        {offsetof(Settings, iconpos), -8, false, 8},
        {offsetof(Settings, titlebar), 8, true, 0},
        {offsetof(Settings, titlebar), 1, true, 0},  // any nonzero value hides the bar
        {offsetof(Settings, titlebar), 0, false, 8},
        {offsetof(Settings, NationalHolidays), 1, true, 0},
        {offsetof(Settings, NationalHolidays), 0, false, 1},
        {offsetof(Settings, NationalHolidays), 5, true, 0},
        {offsetof(Settings, Rokuyo), 0, false, 1},
        {offsetof(Settings, Kyureki), 1, true, 0},
        {offsetof(Settings, Wareki), -3, true, 0},
        {offsetof(Settings, BackImage), -1, true, 0},
        {offsetof(Settings, cmode), 1, false, 1},  // no switch: reads off, never changes
    };
    for (const Case& c : cases) {
        const SettingKey* k = setting_key_at(c.field);
        ASSERT_NE(k, nullptr);
        Settings s;
        settings_defaults(&s, 1024, 768);
        setting_int(s, *k) = c.stored;
        EXPECT_EQ(switched_on(s, *k), c.on) << k->name << " " << c.stored;
        toggle_switch(&s, *k);
        EXPECT_EQ(setting_int(s, *k), c.toggled) << k->name << " " << c.stored;
    }
    Settings s;
    settings_defaults(&s, 1024, 768);
    s.front = 8;
    s.iconpos = 1;
    s.titlebar = 3;
    s.NationalHolidays = 0;
    s.Kyureki = 2;
    EXPECT_TRUE(always_on_top(s));
    EXPECT_FALSE(keeps_icon_position(s));
    EXPECT_TRUE(title_bar_hidden(s));
    EXPECT_FALSE(national_holidays_shown(s));
    EXPECT_FALSE(rokuyo_shown(s)) << "off by default";
    EXPECT_TRUE(kyureki_shown(s));
    EXPECT_FALSE(wareki_shown(s)) << "off by default";
}

TEST_F(SettingsTest, EveryKeyRoundTripsThroughTheFile) {
    open("");
    const Settings want = distinct_settings();
    settings = want;
    ASSERT_TRUE(settings_save(settings));
    ASSERT_TRUE(todo_save(settings));
    ASSERT_TRUE(alarm_checked_save(settings));
    ASSERT_TRUE(ical_folder_save(settings));
    ASSERT_TRUE(window_set_save(settings, 1024, 768));

    // Each key is in the file under its own name, as text of its value.
    const std::string bytes = slurp(path_);
    ProfileFile file;
    file.parse(bytes.data(), bytes.size());
    Settings w = want;
    for (const SettingKey& k : kSettingKeys) {
        const std::string* v = file.find("Config", k.name);
        ASSERT_NE(v, nullptr) << k.name;
        EXPECT_EQ(*v, k.kind == SettingKind::kText ? std::string(setting_text(w, k))
                                                   : std::to_string(setting_int(w, k)))
            << k.name;
    }
    for (const WindowSetKey& k : kWindowSetKeys) {
        const std::string* v = file.find("DispSet1", k.name);
        ASSERT_NE(v, nullptr) << k.name;
        EXPECT_EQ(*v, std::to_string(window_set_int(w, k))) << k.name;
    }

    settings_defaults(&settings, 1024, 768);
    ASSERT_TRUE(profile_open(path_.c_str(), nullptr));
    settings_load(&settings, 1024, 768);
    todo_load(&settings);
    alarm_checked_load(&settings);
    ical_folder_load(&settings);
    expect_same_settings(settings, want, "file");
}

TEST_F(SettingsTest, EveryKeyMissingFromTheFileLoadsItsDefault) {
    open("[Config]\r\nunrelated=1\r\n");
    settings = distinct_settings();  // nothing of this may survive a load
    settings_load(&settings, 1024, 768);
    todo_load(&settings);
    alarm_checked_load(&settings);
    ical_folder_load(&settings);
    const Settings loaded = settings;
    settings_defaults(&settings, 1024, 768);
    expect_same_settings(loaded, settings, "defaults");
}

// The alarm mark: only the start-up loader reads it (a reload of the settings keeps the
// running mark), only its own save and the schedule saves write it.
TEST_F(SettingsTest, TheAlarmMarkIsReadAtStartAndWrittenWithTheSchedule) {
    open("[Config]\r\nmonthlang=0\r\nAlarmChecked=200405050930\r\n[Schedule]\r\nschedulecount=0\r\n");
    storage_set_sources(nullptr, nullptr, nullptr);
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_STREQ(settings.AlarmChecked, "200405050930");
    std::strcpy(settings.AlarmChecked, "200405051000");
    settings_load(&settings, 1024, 768);
    EXPECT_STREQ(settings.AlarmChecked, "200405051000");
    struct Save {
        bool (*save)(const Settings&);
        const char* stored;
    } saves[] = {{settings_save, "0930"}, {alarm_checked_save, "1000"}};
    for (const Save& v : saves) {
        ASSERT_TRUE(v.save(settings));
        EXPECT_NE(slurp(path_).find(std::string("AlarmChecked=20040505") + v.stored + "\r\n"), std::string::npos);
    }
    std::strcpy(settings.AlarmChecked, "200405051100");
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_NE(slurp(path_).find("AlarmChecked=200405051100\r\n"), std::string::npos);
}

// --- Edits made to the file by another program while this one runs ---

class SettingsFileChanges : public SettingsTest {
protected:
    // Another program rewrites the file; the time moves on by whole seconds
    // so that an edit of the same size is seen on any file system.
    void edit(const std::string& content) {
        const auto before = std::filesystem::last_write_time(path_);
        spit(path_, content);
        std::filesystem::last_write_time(path_, before + std::chrono::seconds(++edits_ * 2));
    }
    int edits_ = 0;
};

TEST_F(SettingsFileChanges, EverySaveKeepsWhatWasAddedMeanwhile) {
    const struct {
        const char* what;
        bool (*save)();
        const char* ours;  // a line this save writes
    } saves[] = {
        {"settings_save", [] { return settings_save(settings); }, "front=8\r\n"},
        {"todo_save", [] { return todo_save(settings); }, "ToDoWidth=42\r\n"},
        {"window_set_save", [] { return window_set_save(settings, 800, 600); }, "x1=77\r\n"},
    };
    for (const auto& c : saves) {
        SCOPED_TRACE(c.what);
        open("[Config]\r\nmonthlang=0\r\n");
        settings_defaults(&settings, 800, 600);
        settings_load(&settings, 800, 600);
        settings.front = 8;
        settings.ToDoWidth = 42;
        settings.x1 = 77;
        edit("[Config]\r\nmonthlang=0\r\nadded=by hand\r\n[Other]\r\nk=v\r\n");
        ASSERT_TRUE(c.save());
        const std::string file = slurp(path_);
        EXPECT_NE(file.find("added=by hand\r\n"), std::string::npos) << file;
        EXPECT_NE(file.find("[Other]\r\nk=v\r\n"), std::string::npos) << file;
        EXPECT_NE(file.find(c.ours), std::string::npos) << file;
    }
}

TEST_F(SettingsFileChanges, ASaveOfEveryKeyKeepsAKeyEditedMeanwhile) {
    open("");
    settings_defaults(&settings, 800, 600);
    ASSERT_TRUE(settings_save(settings));
    std::string theirs = slurp(path_);
    theirs.replace(theirs.find("BackImageFile="), 14, "BackImageFile=C:\\新しい.bmp");
    edit(theirs);
    settings.front = 8;  // the program changes another key and saves them all
    ASSERT_TRUE(settings_save(settings));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("BackImageFile=C:\\新しい.bmp\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("front=8\r\n"), std::string::npos) << file;
    settings_load(&settings, 800, 600);
    EXPECT_STREQ(settings.BackImageFile, "C:\\新しい.bmp");
}

TEST_F(SettingsFileChanges, AnEditOfTheSameSizeIsSeenByItsTime) {
    open("[Config]\r\nmonthlang=0\r\n[Other]\r\nk=v\r\n");
    settings_load(&settings, 800, 600);
    edit("[Config]\r\nmonthlang=0\r\n[Other]\r\nk=w\r\n");
    ASSERT_TRUE(settings_save(settings));
    EXPECT_NE(slurp(path_).find("[Other]\r\nk=w\r\n"), std::string::npos);
}

// What the file holds tells an edit, not its size and time: editors, sync tools and copies
// put the time back, and an edit of one character keeps the size.
TEST_F(SettingsFileChanges, AnEditIsSeenWhateverItsSizeAndTime) {
    const struct {
        const char* what;
        const char* theirs;  // the file after the edit
        int seconds;         // its time then, against the time before the edit
        bool read_again;
    } cases[] = {
        {"same size, time put back", "[Config]\r\nmonthlang=0\r\n[Other]\r\nk=w\r\n", 0, true},
        {"same size, time earlier", "[Config]\r\nmonthlang=0\r\n[Other]\r\nk=w\r\n", -60, true},
        {"shorter, time put back", "[Config]\r\nmonthlang=0\r\n[Other]\r\nk=\r\n", 0, true},
        {"the same bytes written again", "[Config]\r\nmonthlang=0\r\n[Other]\r\nk=v\r\n", 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open("[Config]\r\nmonthlang=0\r\n[Other]\r\nk=v\r\n");
        settings_load(&settings, 800, 600);
        const auto before = std::filesystem::last_write_time(path_);
        spit(path_, c.theirs);
        std::filesystem::last_write_time(path_, before + std::chrono::seconds(c.seconds));
        EXPECT_EQ(profile_refresh(), c.read_again);
        EXPECT_FALSE(profile_refresh());  // read once
        settings.front = 8;
        ASSERT_TRUE(settings_save(settings));
        const std::string file = slurp(path_);
        const std::string other = std::string(c.theirs).substr(std::string(c.theirs).find("[Other]"));
        EXPECT_NE(file.find(other), std::string::npos) << file;
        EXPECT_NE(file.find("front=8\r\n"), std::string::npos) << file;
        // Written: what it holds now is known.
        EXPECT_FALSE(profile_refresh());
    }
}

TEST_F(SettingsFileChanges, RestoringThePositionReadsAChangedWindowSet) {
    open("[DispSet1]\r\nreso=800x600\r\nx1=1\r\ny1=2\r\nx2=3\r\ny2=4\r\n");
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.x1, 1);
    edit("[DispSet1]\r\nreso=800x600\r\nx1=51\r\ny1=52\r\nx2=53\r\ny2=54\r\n");
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.x1, 51);
    EXPECT_EQ(settings.y2, 54);
}

TEST_F(SettingsFileChanges, ChangesNotYetWrittenAreMadeAgainOnTheNewerFile) {
    FaultyFileIO io;
    open("", &io);
    settings_defaults(&settings, 800, 600);
    ASSERT_TRUE(settings_save(settings));  // every key in the file
    settings.monthlang = 0;
    io.fail_at = kReplace;
    EXPECT_FALSE(settings_save(settings));
    std::string theirs = slurp(path_);
    theirs.replace(theirs.find("weeklang=0"), 10, "weeklang=1");
    edit(theirs + "[Other]\r\nk=v\r\n");
    // The load sees the edit and keeps the change the failed save could not write.
    settings_load(&settings, 800, 600);
    EXPECT_EQ(settings.monthlang, 0);
    EXPECT_EQ(settings.weeklang, 1);
    io.fail_at = 0;
    ASSERT_TRUE(settings_save(settings));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("monthlang=0\r\n"), std::string::npos);
    EXPECT_NE(file.find("[Other]\r\nk=v\r\n"), std::string::npos);
    // Written: an unchanged file is not read again.
    EXPECT_FALSE(profile_refresh());
}

TEST_F(SettingsFileChanges, AFileRemovedMeanwhileIsWrittenWhole) {
    open("[Config]\r\nmonthlang=0\r\n[Keep]\r\nk=v\r\n");
    settings_load(&settings, 800, 600);
    std::filesystem::remove(path_);
    ASSERT_TRUE(todo_save(settings));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[Keep]\r\nk=v\r\n"), std::string::npos);
    EXPECT_NE(file.find("monthlang=0\r\n"), std::string::npos);
}

TEST(SettingsPath, LoginNameOrDefault) {
    // The program builds the path with settings_path_build; a path that does
    // not fit falls back to "default", never to a cut name.
    const struct {
        const char* dir;
        const char* user;
        size_t size;
        SettingsPathResult want;
        const char* path;
    } cases[] = {
        {"D:\\cal\\", "taro", 64, kPathWithUser, "D:\\cal\\taro.cfg"},
        {"D:\\cal\\", "", 64, kPathDefault, "D:\\cal\\default.cfg"},
        {"D:\\", nullptr, 64, kPathDefault, "D:\\default.cfg"},
        // 表 ends in the byte 0x5C, which is no separator to add or strip.
        {"D:\\\x95\x5c\\", "user", 15, kPathWithUser, "D:\\\x95\x5c\\user.cfg"},
        {"D:\\\x95\x5c\\", "user", 14, kPathTooLong, ""},
    };
    for (const auto& c : cases) {
        char out[64];
        EXPECT_EQ(settings_path_build(out, c.size, c.dir, c.user), c.want) << c.path;
        EXPECT_STREQ(out, c.path);
    }
}

}  // namespace
