// The settings record: every key of section "Config" plus the current
// window set, with its defaults, and its loading and saving through the
// profile layer. The program keeps one record for its whole run; every
// operation here takes the record it works on.
#pragma once

#include <cstddef>

struct Settings {
    int monthlang;           // 1 = Japanese month names
    int weeklang;            // 1 = Japanese weekday names
    char jfont[80];          // kept as read
    int checkmark;           // 0 = box today, 1 = tick past days
    int front;               // kMenuChecked = always on top
    int clock;
    int method;              // 1 = 12-hour time
    int ampm;                // 1 = AM/PM after the time
    int analog;
    int second;
    int iconpos;             // kMenuChecked = keep the minimised window's place
    int titlebar;            // nonzero = no title bar or menu
    int cmode;               // 1 = colour Saturdays
    int NationalHolidays;    // 1 = show Japan's national holidays, 0 = only the user's entries
    int BackImage;
    int Transparent;         // 0..100 percent
    int BackMode;            // 0 whole, 1 right, 2 bottom
    int BackArea;            // 0..100 percent
    char BackImageFile[260];
    char icontitle[80];      // kept as read
    int charset;
    int weight;
    int italic;
    char fontname[100];      // may exceed a LOGFONT face (32 bytes): cut where it is used
    char AlarmChecked[16];   // alarms checked up to this minute, "YYYYMMDDhhmm"; "" none
    int ToDoBoot;
    int ToDoWidth;           // 32 bits in the file
    int ToDoTimemes;         // kept as read
    // Current window set.
    int x1, y1, x2, y2;
    int ix, iy;
};

// The on/off settings that mirror a menu check mark (`front`, `iconpos`, `titlebar`) hold
// the platform's check state (MF_CHECKED) when on, 0 when off.
constexpr int kMenuChecked = 8;
// `front` and `iconpos` count as on only when exactly checked; `titlebar` when nonzero.
inline bool always_on_top(const Settings& s) { return s.front == kMenuChecked; }
inline bool keeps_icon_position(const Settings& s) { return s.iconpos == kMenuChecked; }
inline bool title_bar_hidden(const Settings& s) { return s.titlebar != 0; }
// The menu toggles: on becomes 0, anything else kMenuChecked (a stray stored value of
// `front` counts as off, of `titlebar` as on).
inline void toggle_always_on_top(Settings* s) { s->front = always_on_top(*s) ? 0 : kMenuChecked; }
inline void toggle_title_bar(Settings* s) { s->titlebar = title_bar_hidden(*s) ? 0 : kMenuChecked; }
// The national holidays' switch holds 1 or 0; a stray stored value counts as on.
inline bool national_holidays_shown(const Settings& s) { return s.NationalHolidays != 0; }
inline void toggle_national_holidays(Settings* s) {
    s->NationalHolidays = national_holidays_shown(*s) ? 0 : 1;
}

// One row per "Config" key: its name, its field, its default and its stored width. The same
// rows drive the defaults, the loads and saves of the settings file and the import from the
// legacy registry (2 bytes, 4 bytes or a string of at most 255 bytes there). Rows run in the
// order the keys are written; the three upcoming-list keys come last.
enum class SettingKind : unsigned char {
    kInt16,  // signed 16-bit in the file and 2 bytes in the registry
    kInt32,  // all 32 bits in the file, 4 bytes in the registry (ToDoWidth)
    kText,   // a string in a buffer of size bytes
};
enum class SettingGroup : unsigned char {
    kConfig,  // settings_load / settings_save
    kToDo,    // todo_load / todo_save
    kAlarm,   // alarm_checked_load / alarm_checked_save
};
struct SettingKey {
    const char* name;
    SettingKind kind;
    SettingGroup group;
    size_t offset;  // of the field in Settings
    size_t size;    // of the field (a text key's buffer)
    int def;        // integer default
    const char* def_text;  // text default
};
constexpr size_t kSettingKeyCount = 28;
extern const SettingKey kSettingKeys[kSettingKeyCount];

// The window set keys of a "DispSet%d" section, in the order they are written. A load takes
// the default window set for a missing key; the legacy registry has defaults of its own.
struct WindowSetKey {
    const char* name;
    size_t offset;  // of the int field in Settings
    int legacy_def;
};
constexpr size_t kWindowSetKeyCount = 6;
extern const WindowSetKey kWindowSetKeys[kWindowSetKeyCount];

int& setting_int(Settings& s, const SettingKey& k);
char* setting_text(Settings& s, const SettingKey& k);
int& window_set_int(Settings& s, const WindowSetKey& k);
int setting_int(const Settings& s, const SettingKey& k);
const char* setting_text(const Settings& s, const SettingKey& k);
int window_set_int(const Settings& s, const WindowSetKey& k);

// Default window: a 340 x 340 square centred on the screen.
constexpr int kDefaultWindowSize = 340;
constexpr int kWindowSets = 20;

// Every field to its default, the window set to the default one.
void settings_defaults(Settings* s, int screen_w, int screen_h);
void settings_default_window_set(Settings* s, int screen_w, int screen_h);

// Reads the window set of this screen resolution and every "Config" key
// except ToDoBoot, ToDoWidth and ToDoTimemes. The settings file is read
// again first when it changed on disk since it was last read.
void settings_load(Settings* s, int screen_w, int screen_h);
// Reads ToDoBoot, ToDoWidth and ToDoTimemes (the start-up loader does, after
// the schedule).
void todo_load(Settings* s);

// Each save changes the document and writes the file; true only when the
// file was really written and replaced (everything stays in memory either
// way).
bool settings_save(const Settings& s);
bool todo_save(const Settings& s);
// Writes the current window set into the set of this resolution (the first
// set that is empty or belongs to it). False also when all 20 sets belong
// to other resolutions (nothing to write).
bool window_set_save(const Settings& s, int screen_w, int screen_h);

// The alarm mark `AlarmChecked`: read by the start-up loader, written when an alarm rings,
// at exit and with every schedule save. A settings reload leaves it alone.
void alarm_checked_load(Settings* s);
bool alarm_checked_save(const Settings& s);

// The same changes without writing the file, for saves that write once.
void settings_put(const Settings& s);
void todo_put(const Settings& s);
void alarm_checked_put(const Settings& s);
bool window_set_put(const Settings& s, int screen_w, int screen_h);
