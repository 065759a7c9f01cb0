// Arithmetic of the program's own message box: button sets, icon class, line
// splitting, client size, placement of text, icon and buttons, and the box's
// position over its owner. Pure: the dialog measures fonts and windows and
// passes the numbers in.
#pragma once
#include <cstddef>

constexpr size_t kMsgBoxTextSize = 4096;  // working copy of the text, with its NUL
constexpr int kMsgBoxMaxLines = 20;       // further lines are dropped
constexpr int kMsgBoxIconSize = 32;       // system icons are drawn 32 x 32

// The buttons of a box, left to right, chosen by flags & 0x0F.
struct MsgBoxButtons {
    int count;              // 1 to 3
    int places;             // button places the width reserves: 3 for three buttons, else 2
    int ids[3];             // IDOK 1 ... IDNO 7
    const char* labels[3];  // code page 932 labels
    int preset;             // result when the dialog cannot run
    bool has_cancel;        // IDCANCEL (Escape, close box) ends the box
};
void msgbox_buttons(unsigned flags, MsgBoxButtons* out);

// Icon class of flags & 0xF0: 0x10 hand, 0x20 question, 0x30 exclamation,
// 0x40 asterisk, 0 for none (any other value).
unsigned msgbox_icon_class(unsigned flags);

// Splits text in place at line feeds: every line feed becomes NUL, and lines
// receives the starts of the non-empty lines, at most max_lines of them (a
// run of line feeds is a single break; leading and trailing ones add no line).
// A text without any character gives one empty line. Returns the count
// (1 to max_lines; 0 only when max_lines < 1). A line feed is never the trail
// byte of a double-byte character, so a byte scan is safe.
int msgbox_split_lines(char* text, const char** lines, int max_lines);

// Measures taken from the template's dummy button (client pixels).
struct MsgBoxMeasures {
    int bw, bh;        // button size
    int mx, my;        // margins: the dummy's left and top
    int line_height;   // height of "Mj" in the button font + 2
};

struct MsgBoxLayout {
    int client_w, client_h;
    int text_x, text_top;   // first line's origin; line i at text_top + i * line_height
    int icon_x, icon_y;     // meaningful only with an icon
    int button_y;
    int button_x[3];        // left edges, buttons.count of them
};

// extents[i] is the text extent of line i (the width adds 8 for each line).
void msgbox_layout(const MsgBoxMeasures& m, const int* extents, int lines, bool icon,
                   const MsgBoxButtons& buttons, MsgBoxLayout* out);

struct MsgBoxRect {
    int left, top, right, bottom;
};

// Window position of a box of width x height centred over owner (pass the
// whole screen when there is no owner), moved to 0 when negative and left or
// up when it would pass the right or bottom screen edge. A box larger than the
// screen keeps its left or top edge at 0, so its caption stays reachable.
void msgbox_place(const MsgBoxRect& owner, int width, int height, int screen_w, int screen_h,
                  int* x, int* y);
