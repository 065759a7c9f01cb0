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
