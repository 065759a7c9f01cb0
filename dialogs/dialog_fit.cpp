#include "dialogs/dialog_fit.h"

int dialog_shrink(int dialog_h, int work_h, int part_h, int min_part_h) {
    const int over = dialog_h - work_h;
    if (over <= 0 || part_h <= min_part_h) return 0;
    return over < part_h - min_part_h ? over : part_h - min_part_h;
}

ScreenRect dialog_within(const ScreenRect& dialog, const ScreenRect& work) {
    const int w = dialog.right - dialog.left, h = dialog.bottom - dialog.top;
    int x = dialog.left, y = dialog.top;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    return {x, y, x + w, y + h};
}

int client_room(int client, int dialog, int work) {
    const int over = dialog - work;
    return over > 0 ? (client > over ? client - over : 0) : client;
}

int squeezed_edge(int v, int from, int to) {
    if (from <= 0 || to >= from || to < 0) return v;
    return static_cast<int>(static_cast<long long>(v) * to / from);
}

Span squeezed_span(Span s, int from, int to, bool frame) {
    if (from <= 0 || to >= from || to < 0) return s;
    Span out = {squeezed_edge(s.lo, from, to), 0};
    out.hi = frame ? squeezed_edge(s.hi, from, to) : out.lo + (s.hi - s.lo);
    if (out.hi > to && out.lo <= to) out.hi = to < out.lo ? out.lo : to;
    return out;
}
