#include "config/settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "config/cp932.h"
#include "config/profile.h"

namespace {

char* field_at(Settings& s, size_t offset) { return reinterpret_cast<char*>(&s) + offset; }
const char* field_at(const Settings& s, size_t offset) {
    return reinterpret_cast<const char*>(&s) + offset;
}

}  // namespace

int& setting_int(Settings& s, const SettingKey& k) { return *reinterpret_cast<int*>(field_at(s, k.offset)); }

char* setting_text(Settings& s, const SettingKey& k) { return field_at(s, k.offset); }

int& window_set_int(Settings& s, const WindowSetKey& k) {
    return *reinterpret_cast<int*>(field_at(s, k.offset));
}

int setting_int(const Settings& s, const SettingKey& k) {
    return *reinterpret_cast<const int*>(field_at(s, k.offset));
}

const char* setting_text(const Settings& s, const SettingKey& k) { return field_at(s, k.offset); }

int window_set_int(const Settings& s, const WindowSetKey& k) {
    return *reinterpret_cast<const int*>(field_at(s, k.offset));
}

const SettingKey* setting_key_at(size_t offset) {
    for (const SettingKey& k : kSettingKeys)
        if (k.offset == offset) return &k;
    return nullptr;
}

const SettingKey* setting_key_named(const char* name) {
    if (!name) return nullptr;
    for (const SettingKey& k : kSettingKeys)
        if (std::strcmp(k.name, name) == 0) return &k;
    return nullptr;
}

const WindowSetKey* window_set_key_named(const char* name) {
    if (!name) return nullptr;
    for (const WindowSetKey& k : kWindowSetKeys)
        if (std::strcmp(k.name, name) == 0) return &k;
    return nullptr;
}

bool switched_on(const Settings& s, const SettingKey& k) {
    if (k.kind == SettingKind::kText) return false;
    const int v = setting_int(s, k);
    switch (k.on_off) {
    case OnOff::kOne:
    case OnOff::kCheckedAny: return v != 0;
    case OnOff::kChecked: return v == kMenuChecked;
    case OnOff::kNone: break;
    }
    return false;
}

void toggle_switch(Settings* s, const SettingKey& k) {
    if (k.kind == SettingKind::kText || k.on_off == OnOff::kNone) return;
    const int on = k.on_off == OnOff::kOne ? 1 : kMenuChecked;
    setting_int(*s, k) = switched_on(*s, k) ? 0 : on;
}

namespace {

bool switched_on_at(const Settings& s, size_t offset) {
    const SettingKey* k = setting_key_at(offset);
    return k && switched_on(s, *k);
}

}  // namespace

bool always_on_top(const Settings& s) { return switched_on_at(s, offsetof(Settings, front)); }
bool keeps_icon_position(const Settings& s) { return switched_on_at(s, offsetof(Settings, iconpos)); }
bool title_bar_hidden(const Settings& s) { return switched_on_at(s, offsetof(Settings, titlebar)); }
bool national_holidays_shown(const Settings& s) {
    return switched_on_at(s, offsetof(Settings, NationalHolidays));
}
bool rokuyo_shown(const Settings& s) { return switched_on_at(s, offsetof(Settings, Rokuyo)); }
bool kyureki_shown(const Settings& s) { return switched_on_at(s, offsetof(Settings, Kyureki)); }
bool wareki_shown(const Settings& s) { return switched_on_at(s, offsetof(Settings, Wareki)); }

int setting_in_range(int64_t v, const SettingKey& k) {
    if (v < k.min) return k.min;
    if (v > k.max) return k.max;
    return static_cast<int>(v);
}

namespace {

const char kConfig[] = "Config";

void load_keys(Settings* s, SettingGroup group) {
    for (const SettingKey& k : kSettingKeys) {
        if (k.group != group) continue;
        if (k.kind == SettingKind::kText)
            profile_read_string(kConfig, k.name, k.def_text, setting_text(*s, k), k.size);
        else
            setting_int(*s, k) = profile_read_int(kConfig, k.name, k.def);
    }
}

void put_keys(const Settings& s, SettingGroup group) {
    for (const SettingKey& k : kSettingKeys) {
        if (k.group != group) continue;
        if (k.kind == SettingKind::kText)
            profile_write_string(kConfig, k.name, setting_text(s, k), 0);
        else
            profile_write_int(kConfig, k.name, setting_int(s, k));
    }
}

void resolution_text(char* out, size_t size, int w, int h) { std::snprintf(out, size, "%dx%d", w, h); }

// Section of the window set for this resolution: the first set that is
// empty ("0") or has this resolution; 0 when all belong to others.
int window_set_for(const char* reso) {
    for (int n = 1; n <= kWindowSets; ++n) {
        char section[16], stored[80];
        std::snprintf(section, sizeof section, "DispSet%d", n);
        profile_read_string(section, "reso", "0", stored, sizeof stored);
        if (std::strcmp(stored, "0") == 0 || std::strcmp(stored, reso) == 0) return n;
    }
    return 0;
}

}  // namespace

int default_window_size(int dpi, int screen_w, int screen_h) {
    if (dpi <= 0 || dpi > 16 * kDefaultWindowDpi) dpi = kDefaultWindowDpi;
    int size = (kDefaultWindowSize * dpi + kDefaultWindowDpi / 2) / kDefaultWindowDpi;
    // Grown beyond a small screen it would not fit; 340 pixels stay the least.
    const int fits = screen_w < screen_h ? screen_w : screen_h;
    if (size > fits) size = fits;
    return size < kDefaultWindowSize ? kDefaultWindowSize : size;
}

void settings_default_window_set(Settings* s, int screen_w, int screen_h, int dpi) {
    const int size = default_window_size(dpi, screen_w, screen_h);
    s->x1 = (screen_w - size) / 2;
    s->y1 = (screen_h - size) / 2;
    s->x2 = s->x1 + size;
    s->y2 = s->y1 + size;
    s->ix = 0;
    s->iy = 0;
}

void settings_defaults(Settings* s, int screen_w, int screen_h, int dpi) {
    std::memset(s, 0, sizeof *s);
    for (const SettingKey& k : kSettingKeys) {
        if (k.kind == SettingKind::kText)
            cp932_copy(setting_text(*s, k), k.size, k.def_text);
        else
            setting_int(*s, k) = k.def;
    }
    settings_default_window_set(s, screen_w, screen_h, dpi);
}

void settings_load(Settings* s, int screen_w, int screen_h, int dpi) {
    profile_refresh();
    char reso[32];
    resolution_text(reso, sizeof reso, screen_w, screen_h);
    settings_default_window_set(s, screen_w, screen_h, dpi);
    const int n = window_set_for(reso);
    if (n != 0) {
        char section[16];
        std::snprintf(section, sizeof section, "DispSet%d", n);
        // A missing key keeps the default window set's value.
        for (const WindowSetKey& k : kWindowSetKeys) {
            int& v = window_set_int(*s, k);
            v = profile_read_int(section, k.name, v);
        }
    }
    load_keys(s, SettingGroup::kConfig);
}

void todo_load(Settings* s) { load_keys(s, SettingGroup::kToDo); }

void settings_put(const Settings& s) { put_keys(s, SettingGroup::kConfig); }

void todo_put(const Settings& s) { put_keys(s, SettingGroup::kToDo); }

void alarm_checked_load(Settings* s) { load_keys(s, SettingGroup::kAlarm); }

void alarm_checked_put(const Settings& s) { put_keys(s, SettingGroup::kAlarm); }

bool alarm_checked_save(const Settings& s) {
    alarm_checked_put(s);
    return profile_flush();
}

void ical_folder_load(Settings* s) {
    profile_refresh();
    load_keys(s, SettingGroup::kFolder);
}

void ical_folder_put(const Settings& s) { put_keys(s, SettingGroup::kFolder); }

bool ical_folder_save(const Settings& s) {
    ical_folder_put(s);
    return profile_flush();
}

bool window_set_put(const Settings& s, int screen_w, int screen_h) {
    // The slot is chosen from the sets as they are on disk now.
    profile_refresh();
    char reso[32];
    resolution_text(reso, sizeof reso, screen_w, screen_h);
    const int n = window_set_for(reso);
    if (n == 0) return false;
    char section[16];
    std::snprintf(section, sizeof section, "DispSet%d", n);
    profile_write_string(section, "reso", reso, 0);
    for (const WindowSetKey& k : kWindowSetKeys)
        profile_write_int(section, k.name, window_set_int(s, k));
    return true;
}

bool settings_save(const Settings& s) {
    settings_put(s);
    return profile_flush();
}

bool todo_save(const Settings& s) {
    todo_put(s);
    return profile_flush();
}

bool window_set_save(const Settings& s, int screen_w, int screen_h) {
    if (!window_set_put(s, screen_w, screen_h)) return false;
    return profile_flush();
}
