#include "dialogs/alarm_layout.h"

namespace {

// Centred in [0, screen), then moved into [lo, hi) as far as the size allows.
int place(int screen, int size, int lo, int hi) {
    int p = (screen - size) / 2;
    if (p + size > hi) p = hi - size;
    if (p < lo) p = lo;
    return p;
}

}  // namespace

AlarmLayout alarm_window_layout(const AlarmLayoutInput& in) {
    AlarmLayout out = {};
    const int need = in.lines * in.line_height + kAlarmTextSlack;
    if (need > in.edit_height) out.grow = need - in.edit_height;
    const int room = in.work.bottom - in.work.top;
    if (in.window_height + out.grow > room) {
        out.scrolls = true;
        out.grow = room > in.window_height ? room - in.window_height : 0;
    }
    out.window_height = in.window_height + out.grow;
    out.x = place(in.screen_w, in.window_width, in.work.left, in.work.right);
    out.y = place(in.screen_h, out.window_height, in.work.top, in.work.bottom);
    return out;
}

int text_line_count(const char* text) {
    if (!text || !*text) return 0;
    int lines = 1;
    for (const char* p = text; *p; ++p)
        if (*p == '\n' && p[1] != '\0') ++lines;
    return lines;
}
