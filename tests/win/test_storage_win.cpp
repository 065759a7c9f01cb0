// Settings and schedule storage on the platform: files written by the
// program read back through the profile functions, the Win32 file layer's
// failure results, and the import of a real legacy registry key.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/fileio.h"
#include "config/profile.h"
#include "config/profile_file.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/legacy_registry.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"
#include "tests/host/test_records.h"
#include "win_scratch.h"

namespace {

using win_test::get_file;
using win_test::put_file;

const char kLegacyKey[] = "Software\\Quorvane\\Zelmar";

class StorageWin : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = win_test::scratch_dir("storage");
        path_ = dir_ + "user.cfg";
        RegDeleteKeyA(HKEY_CURRENT_USER, kLegacyKey);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kLegacyKey);
        storage_set_sources(nullptr, nullptr, nullptr);
        win_test::remove_tree(dir_);
    }
    std::string dir_, path_;
};

// The key of the k-th entry in section "Schedule" or "Alarm".
std::string entry_key(const char* section, int k) {
    char key[32];
    std::snprintf(key, sizeof key, section[0] == 'S' ? "schedule%03d" : "alarm%03d", k);
    return key;
}

ScheduleEntry entry(int i) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = 2000 + i % 80;
    e.month = 1 + i % 12;
    e.day = 1 + i % 28;
    e.holiday = i % 5 == 0;
    e.scramble = i % 3 == 0;
    std::snprintf(e.memo, sizeof e.memo, "会議 %d \x95\x5c", i);  // ends in 表, trail byte 0x5C
    e.has_time = 1;
    e.hour = i % 24;
    e.minute = i % 60;
    e.minutes_before = i % 100;
    e.alarm_kind = static_cast<uint8_t>(i % 4);
    std::snprintf(e.sound_file, sizeof e.sound_file, "C:\\サウンド\\%d.wav", i);
    return e;
}

TEST_F(StorageWin, ASavedFileReadsBackThroughTheProfileFunctions) {
    storage_init_win(path_.c_str(), dir_.c_str());
    settings_defaults(&settings, 1024, 768);
    std::strcpy(settings.BackImageFile, "C:\\\x95\x5c\\back.bmp");  // 表: trail byte 0x5C
    settings.ToDoWidth = 70000;
    for (int i = 0; i < kMaxEntries; ++i) schedule.entries[i] = entry(i);
    schedule.count = kMaxEntries;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    ASSERT_TRUE(window_set_save(settings, 1024, 768));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());

    const std::string bytes = get_file(path_);
    ProfileFile mine;
    mine.parse(bytes.data(), bytes.size());
    char theirs[512];
    for (int i = 1; i <= kMaxEntries; ++i) {
        for (const char* sec : {"Schedule", "Alarm"}) {
            const std::string key = entry_key(sec, i);
            const std::string* ours = mine.find(sec, key.c_str());
            ASSERT_NE(ours, nullptr) << key;
            GetPrivateProfileStringA(sec, key.c_str(), "missing", theirs, sizeof theirs, path_.c_str());
            ASSERT_EQ(*ours, theirs) << key;
        }
    }
    EXPECT_EQ(GetPrivateProfileIntA("Schedule", "schedulecount", -1, path_.c_str()), 500u);
    EXPECT_EQ(GetPrivateProfileIntA("Config", "ToDoWidth", -1, path_.c_str()), 70000u);
    EXPECT_EQ(GetPrivateProfileIntA("DispSet1", "x1", -1, path_.c_str()), 342u);
    GetPrivateProfileStringA("Config", "BackImageFile", "", theirs, sizeof theirs, path_.c_str());
    EXPECT_STREQ(theirs, "C:\\\x95\x5c\\back.bmp");
    GetPrivateProfileStringA("Config", "fontname", "", theirs, sizeof theirs, path_.c_str());
    EXPECT_STREQ(theirs, "ＭＳ Ｐゴシック");

    // And back through our layer: every entry as it was.
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    ASSERT_EQ(schedule.count, kMaxEntries);
    for (int i = 0; i < kMaxEntries; ++i) {
        const ScheduleEntry want = entry(i);
        const ScheduleEntry& got = schedule.entries[i];
        ASSERT_STREQ(got.memo, want.memo) << i;
        ASSERT_EQ(got.day, want.day) << i;
        ASSERT_EQ(got.hour, want.hour) << i;
        ASSERT_EQ(got.alarm_kind, want.alarm_kind) << i;
        if (want.alarm_kind == 3) ASSERT_STREQ(got.sound_file, want.sound_file) << i;
    }
}

TEST_F(StorageWin, AFileWrittenByTheProfileFunctionsLoads) {
    WritePrivateProfileStringA("Config", "monthlang", "0", path_.c_str());
    WritePrivateProfileStringA("Config", "FONTNAME", "$YmFj", path_.c_str());
    WritePrivateProfileSectionA("Schedule", "schedulecount=1\0\0", path_.c_str());
    WritePrivateProfileStringA("Schedule", "schedule001", "2004050511会議", path_.c_str());
    WritePrivateProfileStringA("Alarm", "alarm001", "0930152", path_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 800, 600));
    EXPECT_EQ(settings.monthlang, 0);
    EXPECT_STREQ(settings.fontname, "abc");
    ASSERT_EQ(schedule.count, 1);
    EXPECT_STREQ(schedule.entries[0].memo, "会議");
    EXPECT_EQ(schedule.entries[0].minutes_before, 15);
}

TEST_F(StorageWin, ATenThousandEntryFileKeepsEveryEntryThroughASave) {
    // Written by the platform: every 7th entry with a time, every 5th scrambled.
    constexpr int kEntries = 10000;
    std::string sched = "schedulecount=10000", alarms;
    sched += '\0';
    char line[128], value[64];
    for (int k = 1; k <= kEntries; ++k) {
        const int timed = k % 7 == 0, scramble = k % 5 == 0;
        std::snprintf(value, sizeof value, "2004%02d%02d%d%d第%d件", 1 + k % 12, 1 + k % 28,
                      scramble * 2, timed, k);
        std::snprintf(line, sizeof line, "schedule%03d=%s", k, profile_stored_form(value, scramble).c_str());
        (sched += line) += '\0';
        if (!timed) continue;
        std::snprintf(value, sizeof value, "%02d%02d%02d1", k % 24, k % 60, k % 100);
        std::snprintf(line, sizeof line, "alarm%03d=%s", k, profile_stored_form(value, scramble).c_str());
        (alarms += line) += '\0';
    }
    ASSERT_TRUE(WritePrivateProfileSectionA("Schedule", sched.c_str(), path_.c_str()));
    ASSERT_TRUE(WritePrivateProfileSectionA("Alarm", alarms.c_str(), path_.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    const std::string before = get_file(path_);

    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    ASSERT_EQ(schedule.count, kMaxEntries);
    EXPECT_EQ(schedule_not_loaded(), kEntries - kMaxEntries);
    ASSERT_TRUE(schedule_save(settings, &schedule));

    // Every key as it was, read through the platform too (a sample: each lookup walks the file).
    const std::string bytes = get_file(path_);
    ProfileFile saved, original;
    saved.parse(bytes.data(), bytes.size());
    original.parse(before.data(), before.size());
    char theirs[512];
    for (int k = 1; k <= kEntries; ++k) {
        for (const char* sec : {"Schedule", "Alarm"}) {
            const std::string key = entry_key(sec, k);
            const std::string* was = original.find(sec, key.c_str());
            const std::string* now = saved.find(sec, key.c_str());
            ASSERT_EQ(was == nullptr, now == nullptr) << key;
            if (was == nullptr) continue;
            ASSERT_EQ(*now, *was) << key;
            if (k % 499 != 0 && k != kEntries) continue;
            GetPrivateProfileStringA(sec, key.c_str(), "missing", theirs, sizeof theirs, path_.c_str());
            ASSERT_EQ(*was, theirs) << key;
        }
    }
    EXPECT_EQ(GetPrivateProfileIntA("Schedule", "schedulecount", -1, path_.c_str()), 500u);
}

TEST_F(StorageWin, SavesReportFilesThatCannotBeReplaced) {
    put_file(path_, "[Config]\r\nmonthlang=0\r\n");
    storage_init_win(path_.c_str(), dir_.c_str());
    settings_defaults(&settings, 800, 600);

    // A directory where the temporary file would go.
    ASSERT_TRUE(CreateDirectoryA((path_ + ".tmp").c_str(), nullptr));
    EXPECT_FALSE(settings_save(settings));
    EXPECT_FALSE(schedule_save(settings, &schedule));
    RemoveDirectoryA((path_ + ".tmp").c_str());

    // A read-only settings file is not replaced.
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool replaced = settings_save(settings);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (replaced) {
        // Wine running as root may allow it; then the write must be complete.
        EXPECT_NE(get_file(path_).find("monthlang=1"), std::string::npos);
        put_file(path_, "[Config]\r\nmonthlang=0\r\n");
    } else {
        EXPECT_EQ(get_file(path_), "[Config]\r\nmonthlang=0\r\n");
    }
    EXPECT_EQ(GetFileAttributesA((path_ + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // A directory that does not exist.
    const std::string nowhere = dir_ + "missing\\user.cfg";
    storage_init_win(nowhere.c_str(), dir_.c_str());
    EXPECT_FALSE(settings_save(settings));
    EXPECT_FALSE(todo_save(settings));
    EXPECT_FALSE(window_set_save(settings, 800, 600));
    EXPECT_FALSE(schedule_save(settings, &schedule));

    storage_init_win(path_.c_str(), dir_.c_str());
    EXPECT_TRUE(settings_save(settings));
    EXPECT_NE(get_file(path_).find("monthlang=1"), std::string::npos);
}

// Another program holding the settings file open for reading: a short hold delays the save,
// one that outlasts its patience fails it and leaves the file as it was.
TEST_F(StorageWin, ASettingsFileHeldOpenByAnotherIsReplacedOnceLetGo) {
    struct Case {
        DWORD hold_ms;
        bool saved;
    };
    for (const Case c : {Case{150, true}, Case{INFINITE, false}}) {
        SCOPED_TRACE(c.hold_ms);
        put_file(path_, "[Config]\r\nmonthlang=0\r\n");
        storage_init_win(path_.c_str(), dir_.c_str());
        settings_defaults(&settings, 800, 600);
        HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        struct Hold {
            HANDLE file;
            DWORD ms;
        } hold = {held, c.hold_ms};
        HANDLE letter = nullptr;
        if (c.hold_ms != INFINITE) {
            letter = CreateThread(nullptr, 0, [](void* p) -> DWORD {
                const Hold* h = static_cast<const Hold*>(p);
                Sleep(h->ms);
                CloseHandle(h->file);
                return 0;
            }, &hold, 0, nullptr);
            ASSERT_NE(letter, nullptr);
        }
        EXPECT_EQ(settings_save(settings), c.saved);
        if (letter) {
            WaitForSingleObject(letter, INFINITE);
            CloseHandle(letter);
        } else {
            CloseHandle(held);
        }
        EXPECT_EQ(get_file(path_).find("monthlang=1") != std::string::npos, c.saved);
        EXPECT_EQ(GetFileAttributesA((path_ + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

void set_value(HKEY key, const char* name, const void* data, DWORD size, DWORD type = REG_BINARY) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

void make_legacy_key() {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kLegacyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const short x1 = 15, y1 = 25, front = 8, count = 2;
    const long width = 45;
    set_value(key, "x1", &x1, 2);
    set_value(key, "y1", &y1, 2, REG_DWORD);  // only the size counts
    set_value(key, "front", &front, 2);
    set_value(key, "ToDoWidth", &width, 4);
    set_value(key, "schedulecount", &count, 2);
    set_value(key, "fontname", "ＭＳ Mincho", 12, REG_SZ);
    ScheduleEntry a = entry(7);
    a.alarm_at = 99;
    std::memset(a.memo, 'm', sizeof a.memo);  // no terminator anywhere
    std::memset(a.sound_file, 's', sizeof a.sound_file);
    // The legacy record is the first kRegistryRecordSize bytes of the entry's image.
    set_value(key, "schedule01", &a, kRegistryRecordSize);
    ScheduleEntry b = entry(8);
    b.day = 0;
    set_value(key, "schedule02", &b, kRegistryRecordSize);
    RegCloseKey(key);
}

bool legacy_key_exists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kLegacyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST_F(StorageWin, RegistryImportSavesThenDeletesTheKey) {
    make_legacy_key();
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_FALSE(legacy_key_exists());
    EXPECT_EQ(settings.x1, 15);
    EXPECT_EQ(settings.y1, 25);
    EXPECT_EQ(settings.x2, 320);
    EXPECT_EQ(settings.front, 8);
    EXPECT_EQ(settings.ToDoWidth, 45);
    EXPECT_STREQ(settings.fontname, "ＭＳ Mincho");
    ASSERT_EQ(schedule.count, 2);
    EXPECT_EQ(std::strlen(schedule.entries[0].memo), 80u);
    EXPECT_EQ(std::strlen(schedule.entries[0].sound_file), 266u);
    EXPECT_EQ(schedule.entries[1].day, 99);
    EXPECT_EQ(GetPrivateProfileIntA("Schedule", "schedulecount", -1, path_.c_str()), 2u);
    EXPECT_EQ(GetPrivateProfileIntA("DispSet1", "x1", -1, path_.c_str()), 15u);

    // The next start reads the settings file.
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_EQ(schedule.count, 2);
    EXPECT_EQ(settings.ToDoWidth, 45);
}

TEST_F(StorageWin, RegistryImportKeepsTheKeyWhenTheFileCannotBeWritten) {
    make_legacy_key();
    const std::string nowhere = dir_ + "missing\\user.cfg";
    storage_init_win(nowhere.c_str(), dir_.c_str());
    EXPECT_FALSE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_TRUE(legacy_key_exists());
    EXPECT_EQ(schedule.count, 2);  // still usable in memory for this session
}

TEST_F(StorageWin, FileStampsComeFromTheFileSystem) {
    FileIO* io = fileio_win();
    EXPECT_FALSE(io->stamp(path_.c_str()).exists);
    EXPECT_FALSE(io->stamp(dir_.c_str()).exists);  // a directory is no file
    put_file(path_, "abc");
    const FileStamp first = io->stamp(path_.c_str());
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3u);
    EXPECT_EQ(io->stamp(path_.c_str()), first);

    // The same size with another last-write time.
    put_file(path_, "xyz");
    HANDLE h = CreateFileA(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(first.time + 30000000u);  // three seconds on
    t.dwHighDateTime = static_cast<DWORD>((first.time + 30000000u) >> 32);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &t));
    CloseHandle(h);
    const FileStamp second = io->stamp(path_.c_str());
    EXPECT_EQ(second.size, 3u);
    EXPECT_EQ(second.time, first.time + 30000000u);
    EXPECT_NE(second, first);
}

// The temporary file a killed save or export left is removed when the next write of that
// file starts; a hard link standing under its name is removed, not written through.
TEST_F(StorageWin, AStaleTemporaryGoesAndIsNeverWrittenThrough) {
    const std::string target = dir_ + "export.ics", tmp = target + ".tmp", other = dir_ + "other.txt";
    for (bool link : {false, true}) {
        put_file(target, "old");
        put_file(other, "someone else's");
        if (link)
            ASSERT_TRUE(CreateHardLinkA(tmp.c_str(), other.c_str(), nullptr));
        else
            put_file(tmp, "memo in plain text");
        ASSERT_TRUE(fileio_win()->write_atomic(target.c_str(), "new", 3)) << link;
        EXPECT_EQ(get_file(target), "new") << link;
        EXPECT_EQ(get_file(other), "someone else's") << link;
        EXPECT_EQ(GetFileAttributesA(tmp.c_str()), INVALID_FILE_ATTRIBUTES) << link;
    }
}

TEST_F(StorageWin, EditsMadeThroughTheProfileFunctionsMeanwhileSurvive) {
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    ASSERT_TRUE(window_set_save(settings, 1024, 768));

    // Another program writes through the platform while this one runs.
    WritePrivateProfileStringA("Tool", "note", "書き込み", path_.c_str());
    WritePrivateProfileStringA("Config", "BackImageFile", "C:\\背景.bmp", path_.c_str());
    WritePrivateProfileStringA("DispSet1", "x1", "123", path_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());

    // Restoring the position sees the changed window set.
    settings_load(&settings, 1024, 768);
    EXPECT_EQ(settings.x1, 123);
    settings.front = 8;
    ASSERT_TRUE(settings_save(settings));
    schedule.entries[0] = entry(3);
    schedule.count = 1;
    ASSERT_TRUE(schedule_save(settings, &schedule));

    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    char buf[260];
    GetPrivateProfileStringA("Tool", "note", "", buf, sizeof buf, path_.c_str());
    EXPECT_STREQ(buf, "書き込み");
    GetPrivateProfileStringA("Config", "BackImageFile", "", buf, sizeof buf, path_.c_str());
    EXPECT_STREQ(buf, "C:\\背景.bmp");
    EXPECT_EQ(GetPrivateProfileIntA("Config", "front", -1, path_.c_str()), 8u);
    EXPECT_EQ(GetPrivateProfileIntA("Schedule", "schedulecount", -1, path_.c_str()), 1u);
    EXPECT_EQ(GetPrivateProfileIntA("DispSet1", "x1", -1, path_.c_str()), 123u);
}

TEST_F(StorageWin, ShortRegistryValuesFillTheStartOfTheirField) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kLegacyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const unsigned char one = 9;
    const unsigned char three[3] = {1, 2, 3};
    set_value(key, "x1", &one, 1);
    set_value(key, "ToDoWidth", &one, 1);
    set_value(key, "monthlang", three, 3);  // longer than 2 bytes: missing
    RegCloseKey(key);
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_EQ(settings.x1, 9);
    EXPECT_EQ(settings.ToDoWidth, 9);
    EXPECT_EQ(settings.monthlang, 1);
    EXPECT_FALSE(legacy_key_exists());
}

TEST_F(StorageWin, LegacyProfileFileIsLookedForInTheWindowsDirectory) {
    char windir[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windir, sizeof windir), 0u);
    const std::string ini = std::string(windir) + "\\ZELMAR.INI";
    put_file(ini, "[Schedule]\r\ndate1=041230\r\nmemo1=legacy\r\n");
    storage_init_win(path_.c_str(), dir_.c_str());
    ASSERT_TRUE(startup_load(&settings, &schedule, 800, 600));
    DeleteFileA(ini.c_str());
    ASSERT_EQ(schedule.count, 1);
    EXPECT_EQ(schedule.entries[0].year, 2004);
    EXPECT_STREQ(schedule.entries[0].memo, "legacy");
}

}  // namespace
