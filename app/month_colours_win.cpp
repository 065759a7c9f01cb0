#include "app/month_colours_win.h"

namespace {

HighContrastSource g_source = nullptr;

ColorRef sys(int index) { return static_cast<ColorRef>(GetSysColor(index)); }

}  // namespace

SchemeColours current_scheme_colours() {
    SchemeColours s;
    s.window = sys(COLOR_WINDOW);
    s.window_text = sys(COLOR_WINDOWTEXT);
    s.button_face = sys(COLOR_BTNFACE);
    s.hot_light = sys(COLOR_HOTLIGHT);
    s.highlight = sys(COLOR_HIGHLIGHT);
    s.highlight_text = sys(COLOR_HIGHLIGHTTEXT);
    return s;
}

MonthColours scheme_month_colours(bool high_contrast) {
    return month_colours(current_scheme_colours(), high_contrast);
}

bool high_contrast_on() {
    if (g_source) return g_source();
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof hc;
    if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0)) return false;
    return (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void set_high_contrast_source(HighContrastSource source) { g_source = source; }
