#include "image/background_layout.h"

int clamp_percent(int64_t value) {
    return value < 0 ? 0 : value > 100 ? 100 : static_cast<int>(value);
}

namespace {

int non_negative(int v) { return v < 0 ? 0 : v; }

void cover(BackgroundPlan* p, int w, int h, int iw, int ih) {
    if (w <= 0 || h <= 0 || iw <= 0 || ih <= 0) return;
    const double sx = static_cast<double>(iw) / w, sy = static_cast<double>(ih) / h;
    const double s = sx < sy ? sx : sy;
    const int mx = non_negative((iw - static_cast<int>(w * s)) / 2);
    const int my = non_negative((ih - static_cast<int>(h * s)) / 2);
    p->dst_x = 0;
    p->dst_y = 0;
    p->dst_w = w;
    p->dst_h = h;
    p->src_x = mx;
    p->src_y = my;
    p->src_w = iw - 2 * mx;
    p->src_h = ih - 2 * my;
    p->draw = p->src_w > 0 && p->src_h > 0;
}

// The band of u x v pixels in the bottom-right corner of the client area.
void fit(BackgroundPlan* p, int w, int h, int u, int v, int iw, int ih) {
    if (u <= 0 || v <= 0 || iw <= 0 || ih <= 0) return;
    const double sx = static_cast<double>(iw) / u, sy = static_cast<double>(ih) / v;
    const double s = sx > sy ? sx : sy;
    const int dw = static_cast<int>(iw / s), dh = static_cast<int>(ih / s);
    if (dw <= 0 || dh <= 0) return;
    const int mx = non_negative((u - dw) / 2), my = non_negative((v - dh) / 2);
    p->dst_x = w - u + mx;
    p->dst_y = h - v + my;
    p->dst_w = u - 2 * mx;
    p->dst_h = v - 2 * my;
    p->src_x = 0;
    p->src_y = 0;
    p->src_w = iw;
    p->src_h = ih;
    p->draw = p->dst_w > 0 && p->dst_h > 0;
}

}  // namespace

BackgroundPlan plan_background(bool back_image, bool have_image, int back_mode, int back_area,
                               int client_w, int client_h, int image_w, int image_h) {
    BackgroundPlan p = {};
    const int w = non_negative(client_w), h = non_negative(client_h);
    p.cal_right = w;
    p.cal_bottom = h;
    if (!back_image || !have_image) return p;
    p.shown = true;
    const int area = clamp_percent(back_area);
    if (back_mode == 0) {
        cover(&p, w, h, image_w, image_h);
    } else if (back_mode == 1) {
        const int u = (area * w) / 100;
        p.cal_right -= u;
        fit(&p, w, h, u, h, image_w, image_h);
    } else {
        const int v = (area * h) / 100;
        p.cal_bottom -= v;
        fit(&p, w, h, w, v, image_w, image_h);
    }
    return p;
}
