// Where the background image goes in a client area of W x H pixels: the whole window
// covered (centred, the excess cut off), or the image fitted into a band on the right or
// along the bottom with the calendar laid out in the rest. Pure arithmetic, no drawing.
#pragma once

#include <cstdint>

// What the caller's settings choose for the background.
struct BackgroundChoice {
    bool image_on;     // show an image at all
    const char* file;  // its file; read only while it is loaded
    int mode;          // 0 covers the whole window, 1 a band on the right, other the bottom
    int area;          // the band's share in percent (band modes)
    int transparent;   // whitening in percent (whole-window mode)
};

// A percentage setting as the compositing uses it: limited to 0..100.
int clamp_percent(int64_t value);

struct BackgroundPlan {
    bool shown;      // an image is on show (the text gets its halo), even if nothing is drawn
    bool draw;       // there is a non-empty rectangle to stretch into
    int dst_x, dst_y, dst_w, dst_h;
    int src_x, src_y, src_w, src_h;  // source y counted from the top of the image
    int cal_left, cal_top, cal_right, cal_bottom;  // what is left for the calendar
};

// back_image and have_image: the setting is on and an image is loaded. back_mode 0 covers
// the window, 1 is the right band, anything else the bottom band; back_area is the band's
// share of the width or height in percent (clamped). image_w, image_h: the loaded image.
BackgroundPlan plan_background(bool back_image, bool have_image, int back_mode, int back_area,
                               int client_w, int client_h, int image_w, int image_h);
