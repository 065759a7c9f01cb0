// The settings record: every key of section "Config" plus the current
// window set, with its defaults, and its loading and saving through the
// profile layer. The program keeps one record for its whole run; every
// operation here takes the record it works on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "resources/texts.h"

// Every field bears its key's name; what each one is, its default and its range are in its
// row of kSettingKeys (or kWindowSetKeys) below.
struct Settings {
    int monthlang;
    int weeklang;
    char jfont[80];
    int checkmark;
    int front;
    int clock;
    int method;
    int ampm;
    int analog;
    int second;
    int iconpos;
    int titlebar;
    int cmode;
    int NationalHolidays;
    int Rokuyo;
    int Kyureki;
    int Wareki;
    int DayShapes;
    int BackImage;
    int Transparent;
    int BackMode;
    int BackArea;
    char BackImageFile[260];
    char icontitle[80];
    int charset;
    int weight;
    int italic;
    char fontname[100];      // may exceed a LOGFONT face (32 bytes): cut where it is used
    char AlarmChecked[16];   // "YYYYMMDDhhmm"; "" none
    char IcalFolder[260];    // "" none
    int ToDoBoot;
    int ToDoWidth;
    int ToDoTimemes;
    // Current window set.
    int x1, y1, x2, y2;
    int ix, iy;
};

// The on/off settings that mirror a menu check mark (`front`, `iconpos`, `titlebar`) hold
// the platform's check state (MF_CHECKED) when on, 0 when off.
constexpr int kMenuChecked = 8;

// One row per "Config" key: its name (also the field's), what it is, its field, its default,
// the values the program gives it, how it reads as a switch and what of the main window's
// picture a change of it draws again. The same rows drive the defaults, the loads and saves
// of the settings file, the import from the legacy registry (2 bytes, 4 bytes or a string of
// at most 255 bytes there), what each change recomposes and the controls of the settings
// dialog. Rows run in the order the keys are written; the three upcoming-list keys come
// last. A new setting is a field of Settings and a row here.
enum class SettingKind : unsigned char {
    kInt16,  // signed 16-bit in the file and 2 bytes in the registry
    kInt32,  // all 32 bits in the file, 4 bytes in the registry (ToDoWidth)
    kText,   // a string in a buffer of size bytes
};
enum class SettingGroup : unsigned char {
    kConfig,  // settings_load / settings_save
    kToDo,    // todo_load / todo_save
    kAlarm,   // alarm_checked_load / alarm_checked_save
    kFolder,  // ical_folder_load / ical_folder_save
};
// How an on/off setting reads and what switching it writes.
enum class OnOff : unsigned char {
    kNone,        // not an on/off setting
    kOne,         // on is 1, off 0; any other nonzero value reads as on
    kChecked,     // on is kMenuChecked, off 0; any other value reads as off
    kCheckedAny,  // on is kMenuChecked, off 0; any other nonzero value reads as on
};
// What of the main window's picture a change draws again: the lowest layer it touches, every
// layer above it coming along (background, then month, then clock).
enum class Redraw : unsigned char {
    kNothing,     // not in the picture (a frame, a position or a window of its own)
    kClock,
    kMonth,       // header, buttons, weekday row and days
    kBackground,  // window colour and image
};
struct SettingKey {
    const char* name;      // the key in the file, byte for byte
    const char* about;     // what it is, in a few words
    SettingKind kind;
    SettingGroup group;
    size_t offset;         // of the field in Settings
    size_t size;           // of the field (a text key's buffer)
    int def;               // integer default
    const char* def_text;  // text default
    int min, max;          // the values the program gives an integer key
    OnOff on_off;
    Redraw redraws;
};

#define ZELMAR_SETTING_INT(group, kind, field, def, min, max, on_off, redraws, about)          \
    SettingKey {                                                                            \
        #field, about, SettingKind::kind, SettingGroup::group, offsetof(Settings, field),    \
            sizeof(int), def, nullptr, min, max, OnOff::on_off, Redraw::redraws              \
    }
#define ZELMAR_SETTING_TEXT(group, field, def, redraws, about)                                \
    SettingKey {                                                                            \
        #field, about, SettingKind::kText, SettingGroup::group, offsetof(Settings, field),   \
            sizeof(Settings::field), 0, def, 0, 0, OnOff::kNone, Redraw::redraws            \
    }
#define ZELMAR_SETTING_SWITCH(field, def, on_off, redraws, about)                            \
    ZELMAR_SETTING_INT(kConfig, kInt16, field, def, 0,                                       \
                       OnOff::on_off == OnOff::kOne ? 1 : kMenuChecked, on_off, redraws, about)
#define ZELMAR_SETTING_NUMBER(field, def, min, max, redraws, about) \
    ZELMAR_SETTING_INT(kConfig, kInt16, field, def, min, max, kNone, redraws, about)

inline constexpr SettingKey kSettingKeys[] = {
    ZELMAR_SETTING_NUMBER(monthlang, 1, 0, 1, kMonth, "month names: 1 Japanese, else English"),
    ZELMAR_SETTING_NUMBER(weeklang, 0, 0, 1, kMonth, "weekday names: 1 Japanese, else English"),
    ZELMAR_SETTING_TEXT(kConfig, jfont, kDefaultFontFace, kNothing, "a face name kept as read"),
    ZELMAR_SETTING_NUMBER(checkmark, 0, 0, 1, kMonth, "today: 0 boxed, 1 past days ticked"),
    ZELMAR_SETTING_SWITCH(front, 0, kChecked, kNothing, "window always on top"),
    ZELMAR_SETTING_SWITCH(clock, 0, kOne, kMonth, "clock under the month (the grid makes room)"),
    ZELMAR_SETTING_SWITCH(method, 0, kOne, kClock, "times in 12-hour form"),
    ZELMAR_SETTING_SWITCH(ampm, 0, kOne, kClock, "AM/PM after the time, not before it"),
    ZELMAR_SETTING_SWITCH(analog, 0, kOne, kMonth, "analog clock face (its own height)"),
    ZELMAR_SETTING_SWITCH(second, 0, kOne, kClock, "the clock shows seconds"),
    ZELMAR_SETTING_SWITCH(iconpos, 0, kChecked, kNothing, "minimised window kept at ix, iy"),
    ZELMAR_SETTING_SWITCH(titlebar, 0, kCheckedAny, kNothing, "no title bar and no menu bar"),
    ZELMAR_SETTING_NUMBER(cmode, 1, 0, 1, kMonth, "Saturdays blue and marked days boxed"),
    ZELMAR_SETTING_SWITCH(NationalHolidays, 1, kOne, kMonth, "Japan's national holidays shown"),
    ZELMAR_SETTING_SWITCH(Rokuyo, 0, kOne, kMonth, "六曜 under the day numbers and in a day's contents"),
    ZELMAR_SETTING_SWITCH(Kyureki, 0, kOne, kMonth, "old-calendar date and solar terms shown"),
    ZELMAR_SETTING_SWITCH(Wareki, 0, kOne, kMonth, "years as era years (header, title, tip)"),
    ZELMAR_SETTING_SWITCH(DayShapes, 0, kOne, kMonth,
                          "holidays, Sundays and Saturdays told by shape as well as colour"),
    ZELMAR_SETTING_SWITCH(BackImage, 0, kOne, kBackground, "an image behind the calendar"),
    ZELMAR_SETTING_NUMBER(Transparent, 0, 0, 100, kBackground, "image washed toward white, %"),
    ZELMAR_SETTING_NUMBER(BackMode, 0, 0, 2, kBackground, "image area: 0 whole, 1 right, 2 bottom"),
    ZELMAR_SETTING_NUMBER(BackArea, 50, 0, 100, kBackground, "share of a band image's area, %"),
    ZELMAR_SETTING_TEXT(kConfig, BackImageFile, "", kBackground, "path of the background image"),
    ZELMAR_SETTING_TEXT(kConfig, icontitle, kProgramName, kNothing, "a title kept as read"),
    ZELMAR_SETTING_NUMBER(charset, 128, 0, 255, kMonth, "character set of the calendar font"),
    ZELMAR_SETTING_NUMBER(weight, 400, 0, 1000, kMonth, "weight of the calendar font"),
    ZELMAR_SETTING_SWITCH(italic, 0, kOne, kMonth, "italic calendar font"),
    ZELMAR_SETTING_TEXT(kConfig, fontname, kDefaultFontFace, kMonth, "face of the calendar font"),
    ZELMAR_SETTING_TEXT(kAlarm, AlarmChecked, "", kNothing, "alarms checked up to this minute"),
    ZELMAR_SETTING_TEXT(kFolder, IcalFolder, "", kNothing,
                        "folder of the iCalendar file chosen last: the choosers open there"),
    ZELMAR_SETTING_INT(kToDo, kInt16, ToDoBoot, 0, 0, 1, kOne, kNothing,
                       "recent schedule shown at start"),
    ZELMAR_SETTING_INT(kToDo, kInt32, ToDoWidth, 10, 1, 99, kNone, kNothing,
                       "recent schedule covers today and this many days"),
    ZELMAR_SETTING_INT(kToDo, kInt16, ToDoTimemes, 60, -32768, 32767, kNone, kNothing,
                       "a number kept as read"),
};
constexpr size_t kSettingKeyCount = sizeof kSettingKeys / sizeof kSettingKeys[0];

#undef ZELMAR_SETTING_NUMBER
#undef ZELMAR_SETTING_SWITCH
#undef ZELMAR_SETTING_TEXT
#undef ZELMAR_SETTING_INT

// The window set keys of a "DispSet%d" section, in the order they are written. A load takes
// the default window set for a missing key; the legacy registry has defaults of its own. They
// move or size the window, which the window sees by itself: none redraws anything.
struct WindowSetKey {
    const char* name;
    size_t offset;  // of the int field in Settings
    int legacy_def;
    Redraw redraws;
};
#define ZELMAR_WINDOW_SET(field, legacy_def) \
    WindowSetKey { #field, offsetof(Settings, field), legacy_def, Redraw::kNothing }
inline constexpr WindowSetKey kWindowSetKeys[] = {
    ZELMAR_WINDOW_SET(x1, 0), ZELMAR_WINDOW_SET(y1, 0), ZELMAR_WINDOW_SET(x2, 320),
    ZELMAR_WINDOW_SET(y2, 200), ZELMAR_WINDOW_SET(ix, 0), ZELMAR_WINDOW_SET(iy, 0),
};
#undef ZELMAR_WINDOW_SET
constexpr size_t kWindowSetKeyCount = sizeof kWindowSetKeys / sizeof kWindowSetKeys[0];

// The row of the field at offset (offsetof(Settings, field)), or of the key name (letter case
// counts); nullptr when no row has it.
const SettingKey* setting_key_at(size_t offset);
const SettingKey* setting_key_named(const char* name);
const WindowSetKey* window_set_key_named(const char* name);

// An on/off setting read and switched by its row's rule; a row that is no switch reads as
// off and does not change.
bool switched_on(const Settings& s, const SettingKey& k);
void toggle_switch(Settings* s, const SettingKey& k);
// The readings the program uses by name.
bool always_on_top(const Settings& s);
bool keeps_icon_position(const Settings& s);
bool title_bar_hidden(const Settings& s);
bool national_holidays_shown(const Settings& s);
bool rokuyo_shown(const Settings& s);
bool kyureki_shown(const Settings& s);
bool wareki_shown(const Settings& s);

// v limited to the row's range.
int setting_in_range(int64_t v, const SettingKey& k);

int& setting_int(Settings& s, const SettingKey& k);
char* setting_text(Settings& s, const SettingKey& k);
int& window_set_int(Settings& s, const WindowSetKey& k);
int setting_int(const Settings& s, const SettingKey& k);
const char* setting_text(const Settings& s, const SettingKey& k);
int window_set_int(const Settings& s, const WindowSetKey& k);

// Default window: a 340 x 340 square centred on the screen at 96 DPI, as large on the screen
// at any other DPI (510 x 510 at 144 DPI), but never larger than the screen.
constexpr int kDefaultWindowSize = 340;
constexpr int kDefaultWindowDpi = 96;
constexpr int kWindowSets = 20;
int default_window_size(int dpi, int screen_w, int screen_h);

// Every field to its default, the window set to the default one for a screen of this size and
// DPI.
void settings_defaults(Settings* s, int screen_w, int screen_h, int dpi = kDefaultWindowDpi);
void settings_default_window_set(Settings* s, int screen_w, int screen_h,
                                 int dpi = kDefaultWindowDpi);

// Reads the window set of this screen resolution (the default one of its DPI for keys it does
// not hold) and every "Config" key except ToDoBoot, ToDoWidth and ToDoTimemes. The settings
// file is read again first when it changed on disk since it was last read.
void settings_load(Settings* s, int screen_w, int screen_h, int dpi = kDefaultWindowDpi);
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

// The folder of the iCalendar file chosen last (`IcalFolder`): read before a chooser opens,
// written once a file was written or events read from one were added.
void ical_folder_load(Settings* s);
bool ical_folder_save(const Settings& s);
void ical_folder_put(const Settings& s);

// The same changes without writing the file, for saves that write once.
void settings_put(const Settings& s);
void todo_put(const Settings& s);
void alarm_checked_put(const Settings& s);
bool window_set_put(const Settings& s, int screen_w, int screen_h);
