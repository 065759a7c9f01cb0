// The settings record: every key of section "Config" plus the current
// window set, with its defaults, and its loading and saving through the
// profile layer.
#pragma once

#include <cstddef>

struct Settings {
    int monthlang;           // 1 = Japanese month names
    int weeklang;            // 1 = Japanese weekday names
    char jfont[80];          // kept as read
    int checkmark;           // 0 = box today, 1 = tick past days
    int front;               // 8 = always on top (menu check state)
    int clock;
    int method;              // 1 = 12-hour time
    int ampm;                // 1 = AM/PM after the time
    int analog;
    int second;
    int iconpos;             // 8 = keep the minimised window's place
    int titlebar;            // nonzero = no title bar or menu
    int cmode;               // 1 = colour Saturdays
    int BackImage;
    int Transparent;         // 0..100 percent
    int BackMode;            // 0 whole, 1 right, 2 bottom
    int BackArea;            // 0..100 percent
    char BackImageFile[260];
    char icontitle[80];      // kept as read
    int charset;
    int weight;
    int italic;
    char fontname[100];      // may exceed a LOGFONT face: see settings_face_name
    int ToDoBoot;
    int ToDoWidth;           // 32 bits in the file
    int ToDoTimemes;         // kept as read
    // Current window set.
    int x1, y1, x2, y2;
    int ix, iy;
};

extern Settings settings;

// Default window: a 340 x 340 square centred on the screen.
constexpr int kDefaultWindowSize = 340;
constexpr int kWindowSets = 20;

// Every field to its default, the window set to the default one.
void settings_defaults(int screen_w, int screen_h);
void settings_default_window_set(int screen_w, int screen_h);

// Reads the window set of this screen resolution and every "Config" key
// except ToDoBoot, ToDoWidth and ToDoTimemes.
void settings_load(int screen_w, int screen_h);

// Each save changes the document and writes the file; true only when the
// file was really written and replaced (everything stays in memory either
// way).
bool settings_save();
bool todo_save();
// Writes the current window set into the set of this resolution (the first
// set that is empty or belongs to it). False also when all 20 sets belong
// to other resolutions (nothing to write).
bool window_set_save(int screen_w, int screen_h);

// The same changes without writing the file, for saves that write once.
void settings_put();
void todo_put();
bool window_set_put(int screen_w, int screen_h);

// "%s%s.cfg" of the program directory (ending in "\") and the login name;
// "default" when the name is null or empty. Cut to size on a character
// boundary.
void settings_file_path(char* out, size_t size, const char* program_dir, const char* user_name);

// The font name for a LOGFONT face name (32 bytes): cut to 31 bytes without
// splitting a double-byte character. fontname itself is kept at 100 bytes.
void settings_face_name(char* out, size_t size);
