// Schedule storage: the current form, its scan, the crash-safe save and the
// imports of the older forms.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "calendar/filetime.h"
#include "config/profile.h"
#include "config/profile_file.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/legacy_registry.h"
#include "schedule/storage.h"
#include "storage_fixture.h"
#include "tests/host/test_records.h"

namespace {

using namespace storage_test;

const char kMeeting[] = "会議";

ScheduleEntry stored_entry(int y, int m, int d, const char* memo) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = y;
    e.month = m;
    e.day = d;
    std::strcpy(e.memo, memo);
    return e;
}

uint64_t at(int y, int m, int d, int h, int mi) {
    uint64_t t = 0;
    EXPECT_TRUE(wall_time_to_filetime(y, m, d, h, mi, 0, 0, &t));
    return t;
}

// A registry key held in a map; "deleted" once delete_key succeeds.
class FakeRegistry : public LegacyRegistry {
public:
    std::map<std::string, std::string> values;
    bool deleted = false;
    bool read_value(const char* name, void* buf, size_t size, size_t* len) override {
        if (deleted) return false;
        auto it = values.find(name);
        if (it == values.end() || it->second.size() > size) return false;
        std::memcpy(buf, it->second.data(), it->second.size());
        *len = it->second.size();
        return true;
    }
    bool delete_key() override {
        deleted = true;
        return true;
    }
    void set_short(const char* name, int v) {
        values[name] = std::string{char(v & 0xFF), char((v >> 8) & 0xFF)};
    }
    void set_long(const char* name, int v) {
        values[name] = std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                                   char((v >> 24) & 0xFF)};
    }
};

// The legacy record image: the entry's first bytes, the reserved ones zero.
std::string record(const ScheduleEntry& e) {
    std::string r(reinterpret_cast<const char*>(&e), kRegistryRecordSize);
    std::fill(r.begin() + offsetof(ScheduleEntry, last_edited) + 1, r.end(), '\0');
    return r;
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = make_scratch_dir();
        windir_ = dir_ / "windows";
        std::filesystem::create_directories(windir_);
        path_ = (dir_ / "user.cfg").string();
        prog_ = dir_.string() + "/";
        win_ = windir_.string() + "/";
        storage_set_sources(prog_.c_str(), win_.c_str(), nullptr);
        schedule.count = 0;
    }
    void TearDown() override {
        storage_set_sources(nullptr, nullptr, nullptr);
        std::filesystem::remove_all(dir_);
    }
    void open(const std::string& content, FileIO* io = nullptr) {
        if (!content.empty()) spit(path_, content);
        profile_open(path_.c_str(), io);
    }
    void load(const std::string& content) {
        open(content);
        startup_load(&settings, &schedule, 1024, 768);
    }
    std::filesystem::path dir_, windir_;
    std::string path_, prog_, win_;
};

TEST_F(StorageTest, TheExampleEntryIsStoredAsTheDocumentedLines) {
    open("");
    settings_defaults(&settings, 1024, 768);
    ScheduleEntry e = stored_entry(2004, 5, 5, kMeeting);
    e.holiday = 1;
    e.has_time = 1;
    e.hour = 9;
    e.minute = 30;
    e.minutes_before = 15;
    e.alarm_kind = 2;
    schedule.entries[0] = e;
    schedule.count = 1;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_EQ(schedule.entries[0].alarm_at, at(2004, 5, 5, 9, 15));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[Schedule]\r\nschedulecount=1\r\nschedule001=2004050511" +
                        std::string(kMeeting) + "\r\n[Alarm]\r\nalarm001=0930152\r\n"),
              std::string::npos);

    schedule.count = 0;
    std::memset(schedule.entries, 0, sizeof(ScheduleEntry));
    load("");
    ASSERT_EQ(schedule.count, 1);
    const ScheduleEntry& r = schedule.entries[0];
    EXPECT_EQ(r.year, 2004);
    EXPECT_EQ(r.month, 5);
    EXPECT_EQ(r.day, 5);
    EXPECT_EQ(r.holiday, 1);
    EXPECT_EQ(r.scramble, 0);
    EXPECT_STREQ(r.memo, kMeeting);
    EXPECT_EQ(r.has_time, 1);
    EXPECT_EQ(r.hour, 9);
    EXPECT_EQ(r.minute, 30);
    EXPECT_EQ(r.minutes_before, 15);
    EXPECT_EQ(r.alarm_kind, 2);
    EXPECT_EQ(r.alarm_at, at(2004, 5, 5, 9, 15));
}

TEST(StorageFormat, ValuesOfEntries) {
    struct Case {
        ScheduleEntry e;
        const char* schedule;
        const char* alarm;
    };
    ScheduleEntry every = stored_entry(-1, 5, 99, "x");
    every.scramble = 5;  // any nonzero counts
    ScheduleEntry unset = stored_entry(-1, -1, -1, "memo");
    unset.holiday = 9;
    ScheduleEntry sound = stored_entry(2010, 12, 31, "s");
    sound.has_time = 1;
    sound.hour = 23;
    sound.minute = 5;
    sound.minutes_before = 0;
    sound.alarm_kind = 3;
    std::strcpy(sound.sound_file, "C:\\a.wav");
    ScheduleEntry quiet = sound;
    quiet.alarm_kind = 0;  // the time is stored without an alarm
    const Case cases[] = {
        {every, "0000059920x", "-1-1000"},
        {unset, "0000000010memo", "-1-1000"},
        {sound, "2010123101s", "2305003C:\\a.wav"},
        {quiet, "2010123101s", "2305000"},
    };
    for (const Case& c : cases) {
        char buf[400];
        schedule_value(&c.e, buf, sizeof buf);
        EXPECT_STREQ(buf, c.schedule);
        alarm_value(&c.e, buf, sizeof buf);
        EXPECT_STREQ(buf, c.alarm);
    }
}

TEST(StorageFormat, NumbersOfFixedWidth) {
    const struct {
        const char* s;
        size_t n;
        int want;
    } cases[] = {{"2004", 4, 2004}, {"0005", 4, 5},  {" 7xx", 4, 7},  {"-3", 2, -3},
                 {"+4", 2, 4},      {"ab", 2, 0},    {"12345", 2, 12}, {"9", 2, 9},
                 {"- 1", 3, 0},     {"", 2, 0}};
    for (const auto& c : cases) EXPECT_EQ(storage_number(c.s, c.n), c.want) << c.s;
}

TEST_F(StorageTest, ScanNormalisesSkipsAndPairsAlarmsByKeyNumber) {
    load("[Schedule]\r\nschedulecount=5\r\n"
         "schedule001=0000059900every-year\r\n"
         "schedule002=2004\r\n"            // 10 bytes or less: skipped
         "schedule003=2004000511no-month\r\n"
         "schedule005=2004060101late\r\n"
         "schedule006=2004060801bad-hour\r\n"
         "schedule007=2004060801no-alarm-key\r\n"
         "schedule008=2004060831holiday-and-scrambled-flag\r\n"
         "schedule009=2004061200\r\n"      // exactly 10: empty memo does not survive
         "schedule010=2004000000no-day\r\n"
         "[Alarm]\r\nalarm001=0900000\r\nalarm003=1000000\r\nalarm005=0800303snd.wav\r\n"
         "alarm006=2530000\r\nalarm008=123\r\n");
    ASSERT_EQ(schedule.count, 7);
    const ScheduleEntry* e = schedule.entries;
    EXPECT_EQ(e[0].year, -1);
    EXPECT_EQ(e[0].month, 5);
    EXPECT_EQ(e[0].day, 99);
    EXPECT_EQ(e[0].has_time, 0);
    EXPECT_EQ(e[1].year, -1);  // month 00 -> every year too
    EXPECT_EQ(e[1].month, -1);
    EXPECT_EQ(e[1].day, 5);
    EXPECT_STREQ(e[2].memo, "late");  // takes its alarm from alarm005
    EXPECT_EQ(e[2].has_time, 1);
    EXPECT_EQ(e[2].hour, 8);
    EXPECT_EQ(e[2].minutes_before, 30);
    EXPECT_EQ(e[2].alarm_kind, 3);
    EXPECT_STREQ(e[2].sound_file, "snd.wav");
    EXPECT_EQ(e[2].alarm_at, at(2004, 6, 1, 7, 30));
    EXPECT_EQ(e[3].has_time, 0);  // hour 25: time switched off, values kept
    EXPECT_EQ(e[3].hour, 25);
    EXPECT_EQ(e[3].alarm_at, 0u);
    EXPECT_EQ(e[4].has_time, 0);  // alarm key missing
    EXPECT_EQ(e[5].holiday, 1);
    EXPECT_NE(e[5].scramble, 0);
    EXPECT_EQ(e[5].has_time, 0);  // alarm008 shorter than 7
    EXPECT_EQ(e[6].year, -1);     // day 00: everything unset, not a holiday
    EXPECT_EQ(e[6].month, -1);
    EXPECT_EQ(e[6].day, -1);

    // The next save writes no Alarm key for the switched-off entry.
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("alarm003=0800303snd.wav"), std::string::npos);
    EXPECT_EQ(file.find("alarm004="), std::string::npos);
    EXPECT_EQ(file.find("2530000"), std::string::npos);
}

TEST_F(StorageTest, ScanStopsAt500Entries) {
    std::string text = "[Schedule]\r\nschedulecount=600\r\n";
    for (int k = 1; k <= 600; ++k) {
        char line[64];
        std::snprintf(line, sizeof line, "schedule%03d=2004010100m%d\r\n", k, k);
        text += line;
    }
    load(text);
    EXPECT_EQ(schedule.count, 500);
    EXPECT_STREQ(schedule.entries[499].memo, "m500");
}

TEST_F(StorageTest, AZeroCountIsTheCurrentFormAndImportsNothing) {
    spit(windir_ / "ZELMAR.INI", "[Schedule]\r\ndate1=20040101\r\nmemo1=old\r\n");
    load("[Schedule]\r\nschedulecount=0\r\n");
    EXPECT_EQ(schedule.count, 0);
    load("[Schedule]\r\nschedulecount=-1\r\n");  // -1 counts as absent
    EXPECT_EQ(schedule.count, 1);
}

TEST_F(StorageTest, LongScrambledAlarmsLoadBackWhole) {
    open("");
    settings_defaults(&settings, 1024, 768);
    ScheduleEntry e = stored_entry(2004, 6, 1, kMeeting);
    e.scramble = 1;
    e.has_time = 1;
    e.hour = 9;
    e.minute = 0;
    e.minutes_before = 15;
    e.alarm_kind = 3;
    std::string path = "C:\\";
    while (path.size() < 266) path += "ア";  // the longest field, double-byte
    path.resize(266);
    path.back() = 'x';
    std::strcpy(e.sound_file, path.c_str());
    schedule.entries[0] = e;
    schedule.count = 1;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string file = slurp(path_);
    EXPECT_EQ(file.find(kMeeting), std::string::npos);  // scrambled: no plain memo
    EXPECT_NE(file.find("schedule001=$"), std::string::npos);
    EXPECT_NE(file.find("alarm001=$"), std::string::npos);
    load("");
    ASSERT_EQ(schedule.count, 1);
    EXPECT_STREQ(schedule.entries[0].memo, kMeeting);
    EXPECT_NE(schedule.entries[0].scramble, 0);
    EXPECT_STREQ(schedule.entries[0].sound_file, path.c_str());
    EXPECT_EQ(schedule.entries[0].alarm_at, at(2004, 6, 1, 8, 45));
}

TEST_F(StorageTest, SaveWritesTheListFirstAndKeepsWhatItCouldNotReadAfterIt) {
    open("[Schedule]\r\nschedulecount=3\r\nschedule001=x\r\nschedule003=y\r\nstray=1\r\n"
         "[Alarm]\r\nalarm003=0000000\r\n[Keep]\r\nk=v\r\n");
    settings_defaults(&settings, 1024, 768);
    schedule.entries[0] = stored_entry(2005, 1, 2, "one");
    schedule.count = 1;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    // The unreadable keys are numbered on after the list; the alarm no entry takes and the
    // other name stay as they were.
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[Schedule]\r\nschedulecount=1\r\nschedule001=2005010200one\r\n"
                        "schedule002=x\r\nschedule003=y\r\nstray=1\r\n"
                        "[Alarm]\r\nalarm003=0000000\r\n[Keep]\r\nk=v\r\n"),
              std::string::npos)
        << file;
    load("");
    EXPECT_EQ(schedule.count, 1);
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_EQ(slurp(path_), file);
}

TEST_F(StorageTest, AFailedSaveLeavesTheOldFileWhole) {
    FaultyFileIO io;
    open("", &io);
    settings_defaults(&settings, 1024, 768);
    for (int i = 0; i < 40; ++i) schedule.entries[i] = stored_entry(2004, 1, 1 + i % 28, "old");
    schedule.count = 40;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string old_file = slurp(path_);
    for (int i = 0; i < 60; ++i) schedule.entries[i] = stored_entry(2006, 2, 1 + i % 28, "new");
    schedule.count = 60;
    for (int step = kCreate; step < kSteps; ++step) {
        io.fail_at = step;
        const int before = io.writes;
        EXPECT_FALSE(schedule_save(settings, &schedule)) << step;
        EXPECT_EQ(io.writes, before + 1);  // settings, to-do keys and schedule: one write
        EXPECT_EQ(slurp(path_), old_file) << step;
        EXPECT_FALSE(std::filesystem::exists(path_ + ".tmp"));
    }
    io.fail_at = 0;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    ProfileFile check;
    const std::string now = slurp(path_);
    check.parse(now.data(), now.size());
    EXPECT_EQ(check.get_int("Schedule", "schedulecount", -1), 60u);
    EXPECT_NE(check.find("Schedule", "schedule060"), nullptr);
}

TEST_F(StorageTest, LegacyProfileKeys) {
    spit(windir_ / "ZELMAR.INI",
         "[Schedule]\r\n"
         "date7=041230\r\nattr7=257\r\nmemo7=seven\r\n"
         "date8=0101\r\n"
         "date9=10M2\r\nmemo9=no data\r\n"
         "date10=99\r\nmemo10=skipped\r\n"
         "date11=20040505\r\nattr11=1\r\nmemo11=eleven\r\n"
         "date12=850101\r\n"
         "date13=1\r\ndate14=12\r\ndate15=1?\r\n"  // shorter than four bytes
         "date16=03??\r\ndate17=09M3\r\ndate18=0\r\n"
         "date19=99999999999999999999\r\n");  // cannot be stored: skipped
    load("");
    ASSERT_EQ(schedule.count, 7);
    const ScheduleEntry* e = schedule.entries;
    EXPECT_EQ(e[0].year, 2004);
    EXPECT_EQ(e[0].month, 12);
    EXPECT_EQ(e[0].day, 30);
    EXPECT_EQ(e[0].holiday, 1);  // low 8 bits of 257
    EXPECT_STREQ(e[0].memo, "seven");
    EXPECT_EQ(e[0].scramble, 1);
    EXPECT_EQ(e[1].year, -1);
    EXPECT_EQ(e[1].month, 1);
    EXPECT_EQ(e[1].day, 1);
    EXPECT_STREQ(e[1].memo, "");  // memo missing
    EXPECT_EQ(e[2].month, 10);
    EXPECT_EQ(e[2].day, 98);
    EXPECT_STREQ(e[2].memo, "");
    EXPECT_EQ(e[3].year, 2004);
    EXPECT_EQ(e[4].year, 1985);
    EXPECT_EQ(e[5].day, 99);
    EXPECT_EQ(e[5].month, 3);
    EXPECT_EQ(e[6].day, 97);
    for (int i = 0; i < schedule.count; ++i) EXPECT_EQ(e[i].hour, -1);

    // Kept in memory only until the next save, which stores them scrambled.
    int with_memo = 0;
    for (int i = 0; i < schedule.count; ++i) with_memo += e[i].memo[0] != '\0';
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string file = slurp(path_);
    EXPECT_EQ(file.find("seven"), std::string::npos);
    for (int k = 1; k <= schedule.count; ++k) {
        char key[32];
        std::snprintf(key, sizeof key, "schedule%03d=$", k);
        EXPECT_NE(file.find(key), std::string::npos) << key;
    }
    load("");
    EXPECT_EQ(schedule.count, with_memo);  // an empty memo does not survive a save and load
    EXPECT_STREQ(schedule.entries[0].memo, "seven");
    EXPECT_EQ(schedule.entries[1].year, 2004);
    EXPECT_NE(schedule.entries[1].scramble, 0);
}

TEST(StorageLegacyProfile, DatesAreFoundByTheNamesALookupMatches) {
    const struct {
        const char* lines;
        int entries;
    } cases[] = {
        {"DATE20=20050101", 1},  {"Date500=20050101", 1},  {"date501=20050101", 0},
        {"date020=20050101", 0}, {"date0=20050101", 0},    {"date2x=20050101", 0},
        {"date1\r\ndate1=20050101", 0},  // the first line of a name has no value: missing
        {"date1=20050101\r\ndate1=0", 1}, {"dat1=20050101", 0}, {"date99999999=20050101", 0},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("[Schedule]\r\n") + c.lines + "\r\n";
        ProfileFile ini;
        ini.parse(text.data(), text.size());
        EXPECT_EQ(import_legacy_profile(ini, &schedule), c.entries) << c.lines;
    }
}

TEST_F(StorageTest, AnniversaryFileWhenTheLegacyProfileGivesNothing) {
    spit(windir_ / "ZELMAR.INI", "[Schedule]\r\ndate1=99\r\n");
    std::string text =
        "; comment\r\n"
        "0101,1,元日\r\n"
        "01??,1,x\r\n"
        "0505,0,kodomo\x1a"
        "12M3,2,z\r\n"
        "12M2,1,\r\nsub\r\n"  // 7 bytes: too short
        "short\r\n"
        "1231;1,x\r\n"
        "0202,1,";
    text += std::string(90, 'm') + "\r\n";
    spit(dir_ / "ANNIVERS.DAT", text);
    load("");
    ASSERT_EQ(schedule.count, 5);
    const ScheduleEntry* e = schedule.entries;
    EXPECT_EQ(e[0].year, -1);
    EXPECT_EQ(e[0].month, 1);
    EXPECT_EQ(e[0].day, 1);
    EXPECT_EQ(e[0].holiday, 1);
    EXPECT_STREQ(e[0].memo, "元日");
    EXPECT_EQ(e[1].day, 99);
    EXPECT_EQ(e[1].month, 1);
    EXPECT_STREQ(e[2].memo, "kodomo");  // 0x1A ends the line
    EXPECT_EQ(e[2].holiday, 0);
    EXPECT_EQ(e[3].day, 97);
    EXPECT_EQ(e[3].month, 12);
    EXPECT_EQ(e[3].holiday, 0);
    EXPECT_STREQ(e[3].memo, "z");
    EXPECT_EQ(std::strlen(e[4].memo), 80u);  // first 80 bytes of the memo
    EXPECT_EQ(e[4].scramble, 0);
}

TEST_F(StorageTest, NoOlderDataGivesAnEmptyList) {
    storage_set_sources(prog_.c_str(), nullptr, nullptr);
    schedule.count = 3;
    load("");
    EXPECT_EQ(schedule.count, 0);
    EXPECT_EQ(settings.ToDoWidth, 10);
}

TEST(StorageReadLine, LineRules) {
    std::string data = "ab\r\ncd\x1a" "e\rf\n\n";
    data += std::string(1500, 'x') + "\nlast";
    LineReader r{data.data(), data.data() + data.size()};
    char buf[kLineSize];
    const char* want[] = {"ab", "cd", "ef", ""};
    for (const char* w : want) {
        ASSERT_TRUE(read_line(&r, buf));
        EXPECT_STREQ(buf, w);
    }
    ASSERT_TRUE(read_line(&r, buf));
    EXPECT_EQ(std::strlen(buf), 1023u);  // the rest of a long line is dropped
    ASSERT_TRUE(read_line(&r, buf));
    EXPECT_STREQ(buf, "last");
    EXPECT_FALSE(read_line(&r, buf));
}

TEST_F(StorageTest, ToDoKeysAreReadAfterTheSchedule) {
    load("[Config]\r\nToDoBoot=1\r\nToDoWidth=99\r\nToDoTimemes=70000\r\nmonthlang=0\r\n");
    EXPECT_EQ(settings.ToDoBoot, 1);
    EXPECT_EQ(settings.ToDoWidth, 99);
    EXPECT_EQ(settings.ToDoTimemes, 70000 - 65536);
    EXPECT_EQ(settings.monthlang, 0);
}

class RegistryImportTest : public StorageTest {
protected:
    void fill(FakeRegistry* reg) {
        reg->set_short("x1", 10);
        reg->set_short("y1", 20);
        reg->set_short("x2", 330);
        reg->set_short("monthlang", 0);
        reg->set_short("front", 8);
        reg->values["fontname"] = std::string("Arial\0junk", 10);
        reg->values["icontitle"] = "Title";  // no NUL at all
        reg->set_long("ToDoWidth", 70000);
        reg->set_short("ToDoTimemes", 5);
        reg->set_short("schedulecount", 3);
        ScheduleEntry a = stored_entry(2004, 5, 5, kMeeting);
        a.has_time = 1;
        a.hour = 9;
        a.minute = 30;
        a.minutes_before = 15;
        a.alarm_kind = 3;
        a.alarm_at = 12345;
        std::memset(a.sound_file, 's', sizeof a.sound_file);  // no terminator
        reg->values["schedule01"] = record(a);
        ScheduleEntry b = stored_entry(-1, 3, 0, "");
        std::memset(b.memo, 'm', sizeof b.memo);
        b.memo[79] = '\x83';  // the forced terminator would split this character
        reg->values["schedule02"] = record(b);
        reg->values["schedule03"] = record(b) + "x";  // longer than a record: blank entry
    }
};

TEST_F(RegistryImportTest, ImportsSavesAndThenDeletesTheKey) {
    FakeRegistry reg;
    fill(&reg);
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    open("");
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_TRUE(reg.deleted);
    EXPECT_EQ(settings.x1, 10);
    EXPECT_EQ(settings.y1, 20);
    EXPECT_EQ(settings.x2, 330);
    EXPECT_EQ(settings.y2, 200);  // legacy window default
    EXPECT_EQ(settings.monthlang, 0);
    EXPECT_EQ(settings.front, 8);
    EXPECT_EQ(settings.cmode, 1);  // missing: the settings default
    EXPECT_STREQ(settings.fontname, "Arial");
    EXPECT_STREQ(settings.icontitle, "Title");
    EXPECT_EQ(settings.ToDoWidth, 70000);
    EXPECT_EQ(settings.ToDoTimemes, 5);
    ASSERT_EQ(schedule.count, 3);
    EXPECT_EQ(std::strlen(schedule.entries[0].sound_file), 266u);
    EXPECT_EQ(schedule.entries[0].alarm_at, at(2004, 5, 5, 9, 15));  // recomputed by the save
    EXPECT_EQ(schedule.entries[1].day, 99);
    EXPECT_EQ(std::strlen(schedule.entries[1].memo), 79u);
    EXPECT_EQ(schedule.entries[2].hour, -1);
    EXPECT_STREQ(schedule.entries[2].memo, "");

    // Written at once: the window set and the schedule, read back next start.
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[DispSet1]\r\nreso=1024x768\r\nx1=10\r\n"), std::string::npos);
    EXPECT_NE(file.find("schedulecount=3"), std::string::npos);
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    load("");
    EXPECT_EQ(schedule.count, 2);  // the blank entry has no memo and does not survive
    EXPECT_EQ(settings.x1, 10);
    EXPECT_EQ(settings.ToDoWidth, 70000);
}

TEST_F(RegistryImportTest, AFailedSaveKeepsTheKey) {
    FakeRegistry reg;
    fill(&reg);
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    FaultyFileIO io;
    for (int step = kCreate; step < kSteps; ++step) {
        open("", &io);
        io.fail_at = step;
        EXPECT_FALSE(startup_load(&settings, &schedule, 1024, 768));
        EXPECT_FALSE(reg.deleted) << step;
        EXPECT_FALSE(std::filesystem::exists(path_));
    }
    ASSERT_FALSE(profile_open((dir_ / "gone" / "u.cfg").string().c_str(), nullptr));
    EXPECT_FALSE(startup_load(&settings, &schedule, 1024, 768));
    EXPECT_FALSE(reg.deleted);
}

TEST_F(RegistryImportTest, ZeroCountImportsOlderFormsNegativeCountNothing) {
    spit(windir_ / "ZELMAR.INI", "[Schedule]\r\ndate1=20040101\r\nmemo1=legacy\r\n");
    FakeRegistry reg;
    reg.set_short("x1", 0);  // present: legacy data, even at 0
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    open("");
    ASSERT_TRUE(startup_load(&settings, &schedule, 800, 600));
    ASSERT_EQ(schedule.count, 1);
    EXPECT_STREQ(schedule.entries[0].memo, "legacy");
    EXPECT_TRUE(reg.deleted);

    FakeRegistry neg;
    neg.set_short("x1", 5);
    neg.set_short("schedulecount", -2);
    storage_set_sources(prog_.c_str(), win_.c_str(), &neg);
    std::filesystem::remove(path_);
    open("");
    ASSERT_TRUE(startup_load(&settings, &schedule, 800, 600));
    EXPECT_EQ(schedule.count, 0);
}

TEST_F(RegistryImportTest, EveryKeyOfTheTableIsImportedAtItsWidth) {
    Settings want = distinct_settings();
    want.IcalFolder[0] = '\0';  // a key of this program alone: no registry ever held it
    Settings w = want;
    FakeRegistry reg;
    for (const SettingKey& k : kSettingKeys) {
        if (k.group == SettingGroup::kFolder) continue;
        if (k.kind == SettingKind::kText)
            reg.values[k.name] = setting_text(w, k);  // no NUL, as the registry may hold it
        else if (k.kind == SettingKind::kInt32)
            reg.set_long(k.name, setting_int(w, k));
        else
            reg.set_short(k.name, setting_int(w, k));
    }
    for (const WindowSetKey& k : kWindowSetKeys) reg.set_short(k.name, window_set_int(w, k));
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    open("");
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    ASSERT_TRUE(reg.deleted);
    expect_same_settings(settings, want, "registry");

    // And the file written by the import holds them all for the next start.
    settings_defaults(&settings, 1024, 768);
    load("");
    expect_same_settings(settings, want, "file after the import");
}

TEST_F(RegistryImportTest, EveryKeyMissingFromTheRegistryGetsItsDefault) {
    FakeRegistry reg;
    reg.set_short("x1", 0);  // legacy data, and nothing else
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    open("");
    settings = distinct_settings();
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    const Settings imported = settings;
    settings_defaults(&settings, 1024, 768);
    for (const WindowSetKey& k : kWindowSetKeys) window_set_int(settings, k) = k.legacy_def;
    expect_same_settings(imported, settings, "registry defaults");
    EXPECT_EQ(imported.NationalHolidays, 1);
    EXPECT_EQ(imported.x2, 320);
    EXPECT_EQ(imported.y2, 200);
}

TEST_F(RegistryImportTest, RecordsWhoseNumbersDoNotFitTheStoredFormAreLeftOut) {
    struct Case {
        const char* memo;
        int year, month, day;
        int has_time, hour, minute, before;
        bool kept;
    } cases[] = {
        {"plain", 2004, 5, 6, 1, 9, 30, 15, true},
        {"year 12345", 12345, 5, 6, 0, -1, -1, 0, false},
        {"year 9999", 9999, 12, 31, 0, -1, -1, 0, true},
        {"every year", -1, 5, 6, 0, -1, -1, 0, true},
        {"year -1000", -1000, 5, 6, 0, -1, -1, 0, false},
        {"month 100", 2004, 100, 6, 0, -1, -1, 0, false},
        {"day 100", 2004, 5, 100, 0, -1, -1, 0, false},
        {"hour 100", 2004, 5, 6, 1, 100, 0, 0, false},
        {"minute -10", 2004, 5, 6, 1, 9, -10, 0, false},
        {"before 100", 2004, 5, 6, 1, 9, 0, 100, false},
        {"untimed hour 100", 2004, 5, 6, 0, 100, 0, 0, true},  // the time is not stored
        {"hour 25", 2004, 5, 6, 1, 25, 0, 0, true},  // fits; the load switches it off
    };
    FakeRegistry reg;
    reg.set_short("x1", 1);
    int n = 0;
    for (const Case& c : cases) {
        ScheduleEntry e = stored_entry(c.year, c.month, c.day, c.memo);
        e.has_time = static_cast<uint8_t>(c.has_time);
        e.hour = c.hour;
        e.minute = c.minute;
        e.minutes_before = c.before;
        e.alarm_kind = 1;
        char name[16];
        std::snprintf(name, sizeof name, "schedule%02d", ++n);
        reg.values[name] = record(e);
    }
    reg.set_short("schedulecount", n);
    storage_set_sources(prog_.c_str(), win_.c_str(), &reg);
    open("");
    ASSERT_TRUE(startup_load(&settings, &schedule, 1024, 768));
    std::vector<std::string> want;
    for (const Case& c : cases)
        if (c.kept) want.push_back(c.memo);
    std::vector<std::string> imported;
    for (int i = 0; i < schedule.count; ++i) imported.push_back(schedule.entries[i].memo);
    EXPECT_EQ(imported, want);

    // Every entry written reads back with the numbers it was imported with.
    std::vector<ScheduleEntry> before(schedule.entries, schedule.entries + schedule.count);
    load("");
    ASSERT_EQ(schedule.count, static_cast<int>(before.size()));
    for (int i = 0; i < schedule.count; ++i) {
        SCOPED_TRACE(before[i].memo);
        EXPECT_EQ(schedule.entries[i].year, before[i].year);
        EXPECT_EQ(schedule.entries[i].month, before[i].month);
        EXPECT_EQ(schedule.entries[i].day, before[i].day);
        if (schedule.entries[i].has_time) {
            EXPECT_EQ(schedule.entries[i].minute, before[i].minute);
        }
    }
}

TEST_F(StorageTest, ASectionNamedEmptyStaysApartAfterAStartAndExit) {
    // Its keys must not join [Schedule] when the file is written back.
    load("[Schedule]\r\nschedulecount=1\r\nschedule001=2004050500one\r\n"
         "[]\r\nschedule002=2004050600two\r\n");
    ASSERT_EQ(schedule.count, 1);
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_NE(slurp(path_).find("[]\r\nschedule002=2004050600two\r\n"), std::string::npos);
    load("");
    EXPECT_EQ(schedule.count, 1);
}

TEST_F(StorageTest, AScheduleSaveKeepsWhatAnotherProgramAddedMeanwhile) {
    load("[Schedule]\r\nschedulecount=1\r\nschedule001=2004050500one\r\n");
    ASSERT_EQ(schedule.count, 1);
    spit(path_, slurp(path_) + "[Notes]\r\nby=hand, after the start\r\n");
    schedule.entries[1] = stored_entry(2005, 1, 2, "two");
    schedule.count = 2;
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("[Notes]\r\nby=hand, after the start\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("schedulecount=2\r\nschedule001=2004050500one\r\n"
                        "schedule002=2005010200two\r\n"),
              std::string::npos)
        << file;
}

// "[Schedule]" in the current form with one dated entry per memo; count -1: all of them.
std::string schedule_file(const std::vector<std::string>& memos, int count = -1) {
    std::string text = "[Schedule]\r\nschedulecount=" +
                       std::to_string(count < 0 ? memos.size() : size_t(count)) + "\r\n";
    for (size_t i = 0; i < memos.size(); ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "schedule%03zu=2004010100%s\r\n", i + 1, memos[i].c_str());
        text += line;
    }
    return text;
}

std::vector<std::string> list_memos() {
    std::vector<std::string> out;
    for (int i = 0; i < schedule.count; ++i) out.push_back(schedule.entries[i].memo);
    return out;
}

TEST_F(StorageTest, TenThousandEntriesSurviveASaveAndTheUserIsToldOfTheRest) {
    std::vector<std::string> memos;
    for (int k = 1; k <= 10000; ++k) memos.push_back("m" + std::to_string(k));
    load(schedule_file(memos));
    ASSERT_EQ(schedule.count, kMaxEntries);
    EXPECT_EQ(schedule_not_loaded(), 10000 - kMaxEntries);
    schedule.entries[0] = stored_entry(2004, 1, 1, "changed");
    ASSERT_TRUE(schedule_save(settings, &schedule));
    const std::string file = slurp(path_);
    memos[0] = "changed";
    EXPECT_NE(file.find(schedule_file(memos, kMaxEntries)), std::string::npos);
    load("");
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_EQ(slurp(path_), file);
}

TEST_F(StorageTest, ASaveTakesInEntriesAnotherProgramAddedAndKeepsDeletionsMadeHere) {
    load(schedule_file({"a", "b", "c"}));
    // Here: a deleted, e added. In the file meanwhile: b deleted, d added.
    schedule.entries[0] = schedule.entries[1];
    schedule.entries[1] = schedule.entries[2];
    schedule.entries[2] = stored_entry(2004, 1, 1, "e");
    spit(path_, "[Config]\r\nby=hand\r\n" + schedule_file({"a", "c", "d"}));
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_EQ(list_memos(), std::vector<std::string>({"c", "e", "d"}));
    const std::string file = slurp(path_);
    EXPECT_NE(file.find("by=hand"), std::string::npos);
    EXPECT_NE(file.find("schedulecount=3\r\nschedule001=2004010100c\r\nschedule002=2004010100e\r\n"
                        "schedule003=2004010100d\r\n"),
              std::string::npos)
        << file;
}

TEST_F(StorageTest, AFailedSaveNeitherDuplicatesNorBringsBackEntriesLater) {
    FaultyFileIO io;
    spit(path_, schedule_file({"a", "b"}));
    open("", &io);
    startup_load(&settings, &schedule, 1024, 768);
    schedule.entries[0] = stored_entry(2004, 1, 1, "p");  // a changed to p here
    spit(path_, schedule_file({"a", "b", "c"}));  // c added meanwhile
    io.fail_at = kReplace;
    EXPECT_FALSE(schedule_save(settings, &schedule));
    EXPECT_EQ(list_memos(), std::vector<std::string>({"p", "b", "c"}));
    io.fail_at = 0;
    ASSERT_TRUE(settings_save(settings));  // writes the file as it was read, schedule untouched
    ASSERT_TRUE(schedule_save(settings, &schedule));
    EXPECT_EQ(list_memos(), std::vector<std::string>({"p", "b", "c"}));
    load("");
    EXPECT_EQ(list_memos(), std::vector<std::string>({"p", "b", "c"}));
}

TEST(RegistryValues, ShortValuesFillTheStartLongerOnesAreMissing) {
    FakeRegistry reg;
    reg.values["short1"] = std::string(1, '\x05');
    reg.values["short3"] = std::string(3, '\x05');
    reg.values["empty"] = "";
    reg.set_short("neg", -2);
    reg.set_long("long", -70000);
    reg.values["long5"] = std::string(5, '\x01');
    reg.values["str"] = std::string(300, 'a');
    reg.values["dbcs"] = "abアア";
    const struct {
        const char* name;
        int short_value;  // registry_read_short with default 7
        int long_value;   // registry_read_long with default 7
    } cases[] = {
        {"short1", 5, 5},          // the low byte filled, the rest zero
        {"short3", 7, 0x050505},   // longer than 2 bytes: missing as a short
        {"empty", 0, 0},           // present, nothing filled
        {"neg", -2, 0xFFFE},       // 2 bytes fill half a long
        {"long", 7, -70000},
        {"long5", 7, 7},
        {"missing", 7, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registry_read_short(&reg, c.name, 7), c.short_value) << c.name;
        EXPECT_EQ(registry_read_long(&reg, c.name, 7), c.long_value) << c.name;
    }
    EXPECT_EQ(registry_read_short(nullptr, "x1", -1000), -1000);
    char buf[5];
    registry_read_string(&reg, "str", "def", buf, sizeof buf);  // longer than 255: default
    EXPECT_STREQ(buf, "def");
    registry_read_string(&reg, "dbcs", "def", buf, sizeof buf);
    EXPECT_STREQ(buf, "abア");

    // A short record: the fields it reaches, the rest zero.
    ScheduleEntry e = stored_entry(2004, 5, 6, "memo");
    e.hour = 9;
    e.minute = 30;
    reg.values["rec"] = record(e).substr(0, 100);
    unsigned char rec[kRegistryRecordSize];
    std::memset(rec, 0xAB, sizeof rec);
    ASSERT_TRUE(registry_read_record(&reg, "rec", rec, sizeof rec));
    ScheduleEntry got;
    registry_record_decode(rec, &got);
    EXPECT_EQ(got.day, 6);
    EXPECT_STREQ(got.memo, "memo");
    EXPECT_EQ(got.hour, 9);    // bytes 96..99: inside the value
    EXPECT_EQ(got.minute, 0);  // bytes 100..103: past its end
    EXPECT_STREQ(got.sound_file, "");
    reg.values["rec"] = record(e) + "x";
    EXPECT_FALSE(registry_read_record(&reg, "rec", rec, sizeof rec));
}

}  // namespace
