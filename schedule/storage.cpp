#include "schedule/storage.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "config/cp932.h"
#include "config/fileio.h"
#include "config/paths.h"
#include "config/profile.h"
#include "config/profile_file.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/legacy_registry.h"

namespace {

std::string g_program_dir;
std::string g_windows_dir;
LegacyRegistry* g_registry = nullptr;

const char kSchedule[] = "Schedule";
const char kAlarm[] = "Alarm";

// Room for the longest stored values: an alarm with a 266-byte sound path
// scrambles to 365 characters, a schedule value with an 80-byte memo to 121.
constexpr size_t kScheduleValueSize = 200;
constexpr size_t kAlarmValueSize = 400;

// dir with a trailing separator ensured ("/" counts too, as in path_split),
// followed by name.
std::string file_in(const std::string& dir, const char* name) {
    char path[1024];
    cp932_copy(path, sizeof path, dir.c_str());
    const char* last = cp932_last_char(path);
    if (last == nullptr || (*last != '/' && *last != '\\')) path_add_separator(path, sizeof path);
    return std::string(path) + name;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The number a whole value starts with, like storage_number but without a
// length limit and without overflow (saturates far beyond any date).
int64_t leading_number(const char* s) {
    while (is_blank(*s)) ++s;
    bool minus = false;
    if (*s == '+' || *s == '-') minus = *s++ == '-';
    int64_t v = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        if (v < 100000000000000LL) v = v * 10 + (*s - '0');
    return minus ? -v : v;
}

// Day code of a month-relative date "MM??", "MMM2", "MMM3"; 0 if none.
int day_code(const char* s) {
    if (std::strlen(s) < 4) return 0;
    if (s[2] == '?' && s[3] == '?') return kDayMovable;
    if (s[2] == 'M' && s[3] == '2') return kDaySecondMonday;
    if (s[2] == 'M' && s[3] == '3') return kDayThirdMonday;
    return 0;
}

bool read_file(const std::string& path, std::string* out) {
    return profile_fileio()->read_all(path.c_str(), out);
}

int import_legacy_profile_file(ScheduleList* list) {
    if (g_windows_dir.empty()) return 0;
    std::string bytes;
    if (!read_file(file_in(g_windows_dir, "ZELMAR.INI"), &bytes)) return 0;
    ProfileFile ini;
    ini.parse(bytes.data(), bytes.size());
    return import_legacy_profile(ini, list);
}

int import_anniversary_file(ScheduleList* list) {
    std::string bytes;
    if (!read_file(file_in(g_program_dir, "ANNIVERS.DAT"), &bytes)) return 0;
    return import_anniversaries(bytes.data(), bytes.size(), list);
}

void import_older_forms(ScheduleList* list) {
    list->count = import_legacy_profile_file(list);
    if (list->count == 0) list->count = import_anniversary_file(list);
}

// True when "%0*d" of v takes exactly width characters.
bool fits(int v, int width) {
    const int top = width == 4 ? 9999 : 99;
    const int bottom = width == 4 ? -999 : -9;
    return v >= bottom && v <= top;
}

void schedule_put(const Settings& settings, ScheduleList* list) {
    settings_put(settings);
    todo_put(settings);
    alarm_checked_put(settings);
    const int count = schedule_live_count(*list);
    char line[32];
    const int n = std::snprintf(line, sizeof line - 1, "schedulecount=%d", count);
    line[n + 1] = '\0';  // the list ends with an empty string
    profile_replace_section(kSchedule, line);
    profile_replace_section(kAlarm, "");
    char key[24], value[kAlarmValueSize];
    for (int i = 0; i < count; ++i) {
        std::snprintf(key, sizeof key, "schedule%03d", i + 1);
        schedule_value(&list->entries[i], value, sizeof value);
        profile_write_string(kSchedule, key, value, list->entries[i].scramble);
    }
    for (int i = 0; i < count; ++i) {
        ScheduleEntry* e = &list->entries[i];
        if (!e->has_time) continue;
        std::snprintf(key, sizeof key, "alarm%03d", i + 1);
        alarm_value(e, value, sizeof value);
        profile_write_string(kAlarm, key, value, e->scramble);
        compute_alarm_at(e);
    }
}

// The file on disk, read afresh, holds the count just saved.
bool saved_count_reads_back(const ScheduleList& list) {
    std::string bytes;
    if (!read_file(profile_path(), &bytes)) return false;
    ProfileFile check;
    check.parse(bytes.data(), bytes.size());
    const int32_t count = static_cast<int32_t>(check.get_int(kSchedule, "schedulecount", -1));
    return count == schedule_live_count(list);
}

}  // namespace

void storage_set_sources(const char* program_dir, const char* windows_dir,
                         LegacyRegistry* registry) {
    g_program_dir = program_dir != nullptr ? program_dir : "";
    g_windows_dir = windows_dir != nullptr ? windows_dir : "";
    g_registry = registry;
}

int storage_number(const char* s, size_t n) {
    size_t i = 0;
    while (i < n && is_blank(s[i])) ++i;
    bool minus = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) minus = s[i++] == '-';
    int v = 0;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10 + (s[i] - '0');
    return minus ? -v : v;
}

bool entry_fits_stored_form(const ScheduleEntry* e) {
    if (!fits(e->year == -1 ? 0 : e->year, 4) || !fits(e->month == -1 ? 0 : e->month, 2) ||
        !fits(e->day == -1 ? 0 : e->day, 2))
        return false;
    return !e->has_time ||
           (fits(e->hour, 2) && fits(e->minute, 2) && fits(e->minutes_before, 2));
}

void schedule_value(const ScheduleEntry* e, char* buf, size_t size) {
    const char flag = static_cast<char>('0' + (e->holiday ? 1 : 0) + (e->scramble ? 2 : 0));
    std::snprintf(buf, size, "%04d%02d%02d%c%c", e->year == -1 ? 0 : e->year,
                  e->month == -1 ? 0 : e->month, e->day == -1 ? 0 : e->day, flag,
                  e->has_time ? '1' : '0');
    const size_t used = std::strlen(buf);
    cp932_copy(buf + used, size - used, e->memo);
}

void alarm_value(const ScheduleEntry* e, char* buf, size_t size) {
    std::snprintf(buf, size, "%02d%02d%02d%c", e->hour, e->minute, e->minutes_before,
                  static_cast<char>('0' + e->alarm_kind));
    if (alarm_kind_of(*e) == AlarmKind::kSoundFile) {
        const size_t used = std::strlen(buf);
        cp932_copy(buf + used, size - used, e->sound_file);
    }
}

void schedule_scan(ScheduleList* list) {
    list->count = 0;
    char key[24], value[kScheduleValueSize], alarm[kAlarmValueSize];
    for (int k = 1; k <= 999 && list->count < kMaxEntries; ++k) {
        std::snprintf(key, sizeof key, "schedule%03d", k);
        profile_read_string(kSchedule, key, " ", value, sizeof value);
        if (std::strcmp(value, " ") == 0 || std::strlen(value) <= 10) continue;

        ScheduleEntry* e = &list->entries[list->count];
        entry_blank(e);
        e->year = storage_number(value, 4);
        e->month = storage_number(value + 4, 2);
        e->day = storage_number(value + 6, 2);
        if (e->year == 0) e->year = -1;
        if (e->month == 0) e->month = -1;
        if (e->day == 0) e->day = -1;
        e->holiday = value[8] & 1;
        e->scramble = value[8] & 2;
        e->has_time = value[9] & 1;
        cp932_copy(e->memo, sizeof e->memo, value + 10);
        e->alarm_at = 0;
        if (e->month == -1) e->year = -1;
        if (e->day == -1) {
            e->year = -1;
            e->month = -1;
            e->holiday = 0;
        }

        if (e->has_time) {
            std::snprintf(key, sizeof key, "alarm%03d", k);
            profile_read_string(kAlarm, key, " ", alarm, sizeof alarm);
            if (std::strcmp(alarm, " ") == 0 || std::strlen(alarm) < 7) {
                e->has_time = 0;
            } else {
                e->hour = storage_number(alarm, 2);
                e->minute = storage_number(alarm + 2, 2);
                e->minutes_before = storage_number(alarm + 4, 2);
                e->alarm_kind = static_cast<uint8_t>(alarm[6] - '0');
                if (alarm_kind_of(*e) == AlarmKind::kSoundFile)
                    cp932_copy(e->sound_file, sizeof e->sound_file, alarm + 7);
                const bool valid = e->hour >= 0 && e->hour <= 23 && e->minute >= 0 &&
                                   e->minute <= 59 && e->minutes_before >= 0 &&
                                   e->minutes_before <= 99 &&
                                   e->alarm_kind <= static_cast<uint8_t>(AlarmKind::kSoundFile);
                if (valid)
                    compute_alarm_at(e);
                else
                    e->has_time = 0;
            }
        }
        ++list->count;
    }
}

int import_legacy_profile(const ProfileFile& ini, ScheduleList* list) {
    int count = 0;
    char key[24], date[20];
    for (int n = 1; n <= 500 && count < kMaxEntries; ++n) {
        std::snprintf(key, sizeof key, "date%d", n);
        ini.get_string(kSchedule, key, "0", date, sizeof date);
        if (std::strcmp(date, "0") == 0) continue;

        ScheduleEntry e;
        entry_blank(&e);
        const int code = day_code(date);
        if (code != 0) {
            e.year = -1;
            e.month = storage_number(date, 2);
            e.day = code;
        } else {
            const int64_t v = leading_number(date);
            if (v <= 100) continue;
            if (v < 10000) {
                e.year = -1;
            } else {
                int64_t y = v / 10000;
                if (y < 100) y += y < 80 ? 2000 : 1900;
                // A year of more than four digits would shift every later
                // field of the stored value; such a date is no date.
                if (y > 9999) continue;
                e.year = static_cast<int32_t>(y);
            }
            e.month = static_cast<int32_t>((v % 10000) / 100);
            e.day = static_cast<int32_t>(v % 100);
        }
        std::snprintf(key, sizeof key, "attr%d", n);
        e.holiday = static_cast<uint8_t>(ini.get_int(kSchedule, key, 0) & 0xFF);
        e.scramble = 1;
        std::snprintf(key, sizeof key, "memo%d", n);
        ini.get_string(kSchedule, key, "no data", e.memo, 80);
        if (std::strcmp(e.memo, "no data") == 0) e.memo[0] = '\0';
        e.alarm_at = 0;
        list->entries[count++] = e;
    }
    return count;
}

bool read_line(LineReader* r, char* buf) {
    if (r->p >= r->end) {
        buf[0] = '\0';
        return false;
    }
    size_t n = 0;
    while (r->p < r->end) {
        const char c = *r->p++;
        if (c == '\n' || c == 0x1A) break;
        if (c == '\r') continue;
        if (n < kLineSize - 1) buf[n++] = c;
    }
    buf[n] = '\0';
    return true;
}

int import_anniversaries(const char* data, size_t n, ScheduleList* list) {
    int count = 0;
    LineReader r{data, data + n};
    char line[kLineSize];
    while (count < kMaxEntries && read_line(&r, line)) {
        if (line[0] == ';' || std::strlen(line) < 8 || line[4] != ',' || line[6] != ',') continue;
        ScheduleEntry e;
        entry_blank(&e);
        e.year = -1;
        const int code = day_code(line);
        if (code != 0) {
            e.month = storage_number(line, 2);
            e.day = code;
        } else {
            const int v = storage_number(line, 4);
            e.month = v / 100;
            e.day = v % 100;
        }
        e.holiday = line[5] == '1' ? 1 : 0;
        e.scramble = 0;
        e.has_time = 0;
        e.alarm_at = 0;
        cp932_copy(e.memo, sizeof e.memo, line + 7);
        list->entries[count++] = e;
    }
    return count;
}

bool schedule_save(const Settings& settings, ScheduleList* list) {
    schedule_put(settings, list);
    return profile_flush();
}

bool registry_import(Settings* settings, ScheduleList* list, int screen_w, int screen_h) {
    LegacyRegistry* reg = g_registry;
    settings_defaults(settings, screen_w, screen_h);
    for (const WindowSetKey& k : kWindowSetKeys)
        window_set_int(*settings, k) =
            registry_read_short(reg, k.name, static_cast<int16_t>(k.legacy_def));
    for (const SettingKey& k : kSettingKeys)
        if (k.group != SettingGroup::kToDo) registry_read_setting(reg, k, settings);

    int count = registry_read_short(reg, "schedulecount", 0);
    if (count > kMaxEntries) count = kMaxEntries;
    list->count = 0;
    if (count > 0) {
        unsigned char rec[kRegistryRecordSize];
        char name[24];
        for (int n = 1; n <= count; ++n) {
            std::snprintf(name, sizeof name, "schedule%02d", n);
            ScheduleEntry* e = &list->entries[list->count];
            if (!registry_read_record(reg, name, rec, sizeof rec)) {
                entry_blank(e);
            } else {
                registry_record_decode(rec, e);
                // A number wider than its field in the stored value would
                // shift every later field: the entry could not be read back.
                if (!entry_fits_stored_form(e)) continue;
            }
            ++list->count;
        }
    } else if (count == 0) {
        import_older_forms(list);
    }
    for (const SettingKey& k : kSettingKeys)
        if (k.group == SettingGroup::kToDo) registry_read_setting(reg, k, settings);

    // One write for the window set and the schedule; the key is the only
    // other copy of these data, so it goes only once the file holds them.
    window_set_put(*settings, screen_w, screen_h);
    const bool saved = schedule_save(*settings, list);
    if (saved && saved_count_reads_back(*list)) registry_delete(reg);
    return saved;
}

bool startup_load(Settings* settings, ScheduleList* list, int screen_w, int screen_h) {
    if (registry_read_short(g_registry, "x1", -1000) != -1000)
        return registry_import(settings, list, screen_w, screen_h);
    settings_defaults(settings, screen_w, screen_h);
    settings_load(settings, screen_w, screen_h);
    if (profile_read_int(kSchedule, "schedulecount", -1) == -1)
        import_older_forms(list);
    else
        schedule_scan(list);
    todo_load(settings);
    alarm_checked_load(settings);
    return true;
}
