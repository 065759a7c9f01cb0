#include "config/settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "config/cp932.h"
#include "config/profile.h"

Settings settings;

namespace {

const char kConfig[] = "Config";
const char kDefaultFont[] = "ＭＳ Ｐゴシック";
const char kDefaultTitle[] = "Tavelspore";

// The "Config" keys from monthlang to fontname, in the order they are read
// and written.
struct ConfigKey {
    const char* name;
    int Settings::*num;  // integer key, or nullptr for a string key
    size_t offset;       // string key: offset and size of its buffer
    size_t size;
};

#define NUM(field) {#field, &Settings::field, 0, 0}
#define STR(field) {#field, nullptr, offsetof(Settings, field), sizeof(Settings::field)}
const ConfigKey kKeys[] = {
    NUM(monthlang), NUM(weeklang), STR(jfont),       NUM(checkmark),   NUM(front),
    NUM(clock),     NUM(method),   NUM(ampm),        NUM(analog),      NUM(second),
    NUM(iconpos),   NUM(titlebar), NUM(cmode),       NUM(BackImage),   NUM(Transparent),
    NUM(BackMode),  NUM(BackArea), STR(BackImageFile), STR(icontitle), NUM(charset),
    NUM(weight),    NUM(italic),   STR(fontname),
};
#undef NUM
#undef STR

char* field(Settings& s, const ConfigKey& k) { return reinterpret_cast<char*>(&s) + k.offset; }
const char* field(const Settings& s, const ConfigKey& k) {
    return reinterpret_cast<const char*>(&s) + k.offset;
}

void fill_defaults(Settings* s) {
    std::memset(s, 0, sizeof *s);
    s->monthlang = 1;
    s->cmode = 1;
    s->BackArea = 50;
    s->charset = 128;
    s->weight = 400;
    s->ToDoWidth = 10;
    s->ToDoTimemes = 60;
    std::snprintf(s->jfont, sizeof s->jfont, "%s", kDefaultFont);
    std::snprintf(s->fontname, sizeof s->fontname, "%s", kDefaultFont);
    std::snprintf(s->icontitle, sizeof s->icontitle, "%s", kDefaultTitle);
}

const Settings& default_settings() {
    static Settings def;
    static bool made = false;
    if (!made) {
        fill_defaults(&def);
        made = true;
    }
    return def;
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

void settings_default_window_set(int screen_w, int screen_h) {
    settings.x1 = (screen_w - kDefaultWindowSize) / 2;
    settings.y1 = (screen_h - kDefaultWindowSize) / 2;
    settings.x2 = settings.x1 + kDefaultWindowSize;
    settings.y2 = settings.y1 + kDefaultWindowSize;
    settings.ix = 0;
    settings.iy = 0;
}

void settings_defaults(int screen_w, int screen_h) {
    fill_defaults(&settings);
    settings_default_window_set(screen_w, screen_h);
}

void settings_load(int screen_w, int screen_h) {
    char reso[32];
    resolution_text(reso, sizeof reso, screen_w, screen_h);
    settings_default_window_set(screen_w, screen_h);
    const int n = window_set_for(reso);
    if (n != 0) {
        char section[16];
        std::snprintf(section, sizeof section, "DispSet%d", n);
        settings.x1 = profile_read_int(section, "x1", settings.x1);
        settings.y1 = profile_read_int(section, "y1", settings.y1);
        settings.x2 = profile_read_int(section, "x2", settings.x2);
        settings.y2 = profile_read_int(section, "y2", settings.y2);
        settings.ix = profile_read_int(section, "ix", 0);
        settings.iy = profile_read_int(section, "iy", 0);
    }

    const Settings& def = default_settings();
    for (const ConfigKey& k : kKeys) {
        if (k.num != nullptr)
            settings.*k.num = profile_read_int(kConfig, k.name, def.*k.num);
        else
            profile_read_string(kConfig, k.name, field(def, k), field(settings, k), k.size);
    }
}

void settings_put() {
    for (const ConfigKey& k : kKeys) {
        if (k.num != nullptr)
            profile_write_int(kConfig, k.name, settings.*k.num);
        else
            profile_write_string(kConfig, k.name, field(settings, k), 0);
    }
}

void todo_put() {
    profile_write_int(kConfig, "ToDoBoot", settings.ToDoBoot);
    profile_write_int(kConfig, "ToDoWidth", settings.ToDoWidth);
    profile_write_int(kConfig, "ToDoTimemes", settings.ToDoTimemes);
}

bool window_set_put(int screen_w, int screen_h) {
    char reso[32];
    resolution_text(reso, sizeof reso, screen_w, screen_h);
    const int n = window_set_for(reso);
    if (n == 0) return false;
    char section[16];
    std::snprintf(section, sizeof section, "DispSet%d", n);
    profile_write_string(section, "reso", reso, 0);
    profile_write_int(section, "x1", settings.x1);
    profile_write_int(section, "y1", settings.y1);
    profile_write_int(section, "x2", settings.x2);
    profile_write_int(section, "y2", settings.y2);
    profile_write_int(section, "ix", settings.ix);
    profile_write_int(section, "iy", settings.iy);
    return true;
}

bool settings_save() {
    settings_put();
    return profile_flush();
}

bool todo_save() {
    todo_put();
    return profile_flush();
}

bool window_set_save(int screen_w, int screen_h) {
    if (!window_set_put(screen_w, screen_h)) return false;
    return profile_flush();
}

void settings_file_path(char* out, size_t size, const char* program_dir, const char* user_name) {
    if (size == 0) return;
    const char* user = (user_name != nullptr && user_name[0] != '\0') ? user_name : "default";
    const size_t dir_len = cp932_copy(out, size, program_dir);
    const size_t user_len = cp932_copy(out + dir_len, size - dir_len, user);
    cp932_copy(out + dir_len + user_len, size - dir_len - user_len, ".cfg");
}

void settings_face_name(char* out, size_t size) {
    if (size == 0) return;
    cp932_copy(out, size < 32 ? size : 32, settings.fontname);
}
