#include "app/text_picture_fit.h"

namespace {

bool meet(const CellRect& a, const CellRect& b) {
    if (rect_empty(a) || rect_empty(b)) return false;
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

CellRect ink_bounds(const unsigned char* rows, int stride, int w, int h, uint32_t back) {
    if (!rows || w <= 0 || h <= 0 || stride < 3 * w) return CellRect{0, 0, 0, 0};
    const unsigned char b = static_cast<unsigned char>(back >> 16);
    const unsigned char g = static_cast<unsigned char>(back >> 8);
    const unsigned char r = static_cast<unsigned char>(back);
    CellRect ink = {w, h, 0, 0};
    for (int y = 0; y < h; ++y) {
        const unsigned char* p = rows + static_cast<long>(y) * stride;
        for (int x = 0; x < w; ++x, p += 3) {
            if (p[0] == b && p[1] == g && p[2] == r) continue;
            if (x < ink.left) ink.left = x;
            if (x + 1 > ink.right) ink.right = x + 1;
            if (y < ink.top) ink.top = y;
            if (y + 1 > ink.bottom) ink.bottom = y + 1;
        }
    }
    return ink.right > ink.left ? ink : CellRect{0, 0, 0, 0};
}

bool inks_fit(const PlacedInk* texts, int n, const CellRect* shapes, int shape_count) {
    for (int i = 0; i < n; ++i) {
        const CellRect& ink = texts[i].ink;
        if (rect_empty(ink)) continue;
        const int on = texts[i].on_shape;
        if (on >= shape_count) return false;
        if (on >= 0) {
            const CellRect& s = shapes[on];
            const CellRect inside = {s.left + 1, s.top + 1, s.right - 1, s.bottom - 1};
            if (!rect_within(ink, inside)) return false;
        }
        for (int k = 0; k < shape_count; ++k) {
            if (k != on && meet(ink, shapes[k])) return false;
        }
        for (int j = i + 1; j < n; ++j) {
            if (meet(ink, texts[j].ink)) return false;
        }
    }
    return true;
}
