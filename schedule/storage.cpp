#include "schedule/storage.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/ascii.h"
#include "config/cp932.h"
#include "config/fileio.h"
#include "config/paths.h"
#include "config/profile.h"
#include "config/profile_file.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_forms.h"
#include "schedule/legacy_registry.h"
#include "schedule/schedule_sections.h"

namespace {

std::string g_program_dir;
std::string g_windows_dir;
LegacyRegistry* g_registry = nullptr;

// What the settings file's schedule sections hold besides the list, and the
// base against which the next save takes in another program's changes.
ScheduleKeep g_keep;

// dir with a trailing separator ensured ("/" counts too, as in path_split),
// followed by name.
std::string file_in(const std::string& dir, const char* name) {
    char path[1024];
    cp932_copy(path, sizeof path, dir.c_str());
    const char* last = cp932_last_char(path);
    if (last == nullptr || (*last != '/' && *last != '\\')) path_add_separator(path, sizeof path);
    return std::string(path) + name;
}

// The number a whole value starts with, like storage_number but without a
// length limit and without overflow (saturates far beyond any date).
int64_t leading_number(const char* s) {
    while (ascii_blank(*s)) ++s;
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
    return parse_day_code(s + 2, 2, DayCodeSpelling::kStored);
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

// The file on disk, read afresh, holds the count just saved.
bool saved_count_reads_back(const ScheduleList& list) {
    std::string bytes;
    if (!read_file(profile_path(), &bytes)) return false;
    ProfileFile check;
    check.parse(bytes.data(), bytes.size());
    const int32_t count = static_cast<int32_t>(check.get_int(kScheduleSection, "schedulecount", -1));
    return count == schedule_live_count(list);
}

}  // namespace

void storage_set_sources(const char* program_dir, const char* windows_dir,
                         LegacyRegistry* registry) {
    g_program_dir = program_dir != nullptr ? program_dir : "";
    g_windows_dir = windows_dir != nullptr ? windows_dir : "";
    g_registry = registry;
    g_keep = ScheduleKeep();
}

int storage_number(const char* s, size_t n) {
    size_t i = 0;
    while (i < n && ascii_blank(s[i])) ++i;
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
    // A lead beyond the key's two digits is kept whole with the entry's other data.
    std::snprintf(buf, size, "%02d%02d%02d%c", e->hour, e->minute, stored_minutes_before(*e),
                  static_cast<char>('0' + e->alarm_kind));
    if (alarm_kind_of(*e) == AlarmKind::kSoundFile) {
        const size_t used = std::strlen(buf);
        cp932_copy(buf + used, size - used, e->sound_file);
    }
}

int import_legacy_profile(const ProfileFile& ini, ScheduleList* list) {
    int count = 0;
    const std::vector<ProfileFile::Line>* lines = ini.lines(kScheduleSection);
    if (lines == nullptr) return 0;
    // Only a number with a "date%d" line can give an entry: one walk spares the lookups of
    // the others.
    std::vector<bool> dated(501, false);
    for (const ProfileFile::Line& l : *lines) {
        const std::string name = profile_fold_name(l.name.data(), l.name.size());
        if (name.size() < 5 || name.size() > 7 || name.compare(0, 4, "date") != 0 || name[4] == '0')
            continue;
        int n = 0;
        for (size_t i = 4; i < name.size() && n >= 0; ++i)
            n = name[i] >= '0' && name[i] <= '9' ? n * 10 + (name[i] - '0') : -1;
        if (n >= 1 && n <= 500) dated[static_cast<size_t>(n)] = true;
    }
    char key[24], date[20];
    for (int n = 1; n <= 500 && count < kMaxEntries; ++n) {
        if (!dated[static_cast<size_t>(n)]) continue;
        std::snprintf(key, sizeof key, "date%d", n);
        ini.get_string(kScheduleSection, key, "0", date, sizeof date);
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
        e.holiday = static_cast<uint8_t>(ini.get_int(kScheduleSection, key, 0) & 0xFF);
        e.scramble = 1;
        std::snprintf(key, sizeof key, "memo%d", n);
        ini.get_string(kScheduleSection, key, "no data", e.memo, 80);
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
    settings_put(settings);
    todo_put(settings);
    alarm_checked_put(settings);
    int count = schedule_live_count(*list);
    const bool saved = profile_flush_edited([list, &count](ProfileFile* doc) {
        schedule_merge(*doc, list->entries, &count, kMaxEntries, &g_keep);
        schedule_write(doc, list->entries, count, g_keep);
        list->deleted.write(doc);
    });
    list->count = count;
    schedule_changed(list);  // entries changed elsewhere may have come in
    if (saved) {
        schedule_keep_written(&g_keep, list->entries, count);
        list->deleted.commit();
    }
    for (int i = 0; i < count; ++i)
        if (list->entries[i].has_time) compute_alarm_at(&list->entries[i]);
    return saved;
}

int schedule_not_loaded() { return g_keep.not_loaded; }

bool registry_import(Settings* settings, ScheduleList* list, int screen_w, int screen_h) {
    LegacyRegistry* reg = g_registry;
    settings_defaults(settings, screen_w, screen_h);
    for (const WindowSetKey& k : kWindowSetKeys)
        window_set_int(*settings, k) =
            registry_read_short(reg, k.name, static_cast<int16_t>(k.legacy_def));
    for (const SettingKey& k : kSettingKeys)
        // The folder of the iCalendar choosers is this program's own: no registry held it.
        if (k.group != SettingGroup::kToDo && k.group != SettingGroup::kFolder)
            registry_read_setting(reg, k, settings);

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

bool startup_load(Settings* settings, ScheduleList* list, int screen_w, int screen_h, int dpi) {
    g_keep = ScheduleKeep();
    if (registry_read_short(g_registry, "x1", -1000) != -1000)
        return registry_import(settings, list, screen_w, screen_h);
    settings_defaults(settings, screen_w, screen_h, dpi);
    settings_load(settings, screen_w, screen_h, dpi);
    if (profile_read_int(kScheduleSection, "schedulecount", -1) == -1)
        import_older_forms(list);
    else
        list->count = 0;
    // The entries of the file (all of them when it is in the current form); what does not
    // fit stays in the file.
    int count = schedule_live_count(*list);
    schedule_merge(profile_document(), list->entries, &count, kMaxEntries, &g_keep);
    list->count = count;
    list->deleted.load(profile_document());
    schedule_changed(list);
    todo_load(settings);
    alarm_checked_load(settings);
    return true;
}
