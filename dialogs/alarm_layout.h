// The size and place of the alarm window for the text it shows: one alarm keeps the
// template's size; more grow the text, and the window with it, by whole lines until the
// window reaches the height of the work area; beyond that the text scrolls (with a scroll
// bar and a first line telling how many alarms there are).
#pragma once

struct ScreenRect {
    int left, top, right, bottom;
};

struct AlarmLayoutInput {
    int lines;                        // lines of the alarm text
    int line_height;                  // pixels per line of the text control's font
    int edit_height;                  // the template's text control height, pixels
    int window_width, window_height;  // the template's window size, pixels
    ScreenRect work;                  // the work area of the screen
    int screen_w, screen_h;           // the primary screen
};

struct AlarmLayout {
    bool scrolls;       // the text does not fit: scroll bar and count line
    int grow;           // pixels added to the text control (and the window); the controls
                        // below it move down by as much
    int window_height;
    int x, y;           // window position: centred on the screen, kept within the work area
};

// Pixels of room a text control keeps below its last line.
constexpr int kAlarmTextSlack = 2;

AlarmLayout alarm_window_layout(const AlarmLayoutInput& in);

// Lines of a text whose lines end in "\r\n" (a last line without one counts); 0 for "".
int text_line_count(const char* text);
