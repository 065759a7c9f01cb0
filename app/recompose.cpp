#include "app/recompose.h"

#include <cstring>

#include "config/settings.h"

Layers close_upward(Layers l) {
    if (l & kLayerBackground) return kAllLayers;
    if (l & kLayerMonth) return kLayerMonth | kLayerClock;
    return l & kLayerClock;
}

Layers layers_for_event(ViewEvent e) {
    switch (e) {
    case ViewEvent::kClockTextChanged:
        return kLayerClock;
    case ViewEvent::kNewDay:
    case ViewEvent::kShownMonthChanged:
    case ViewEvent::kArrowPressChanged:
    case ViewEvent::kEntriesChanged:
    case ViewEvent::kFontChanged:  // the clock is written in the day font
    case ViewEvent::kTextRenderingChanged:
        return close_upward(kLayerMonth);
    case ViewEvent::kBackgroundReloaded:
    case ViewEvent::kResized:
    case ViewEvent::kSizeSettled:
    case ViewEvent::kSurfaceLost:
    case ViewEvent::kSysColorsChanged:  // the window colour is under everything
    case ViewEvent::kDisplayChanged:    // any setting may have changed with the window set
        return kAllLayers;
    case ViewEvent::kTickQuiet:
    case ViewEvent::kMoved:
    case ViewEvent::kUncovered:
    case ViewEvent::kHidden:
    case ViewEvent::kShown:
    case ViewEvent::kMinimized:
    case ViewEvent::kRestored:
    case ViewEvent::kTrayTipChanged:
    case ViewEvent::kTitleBarToggled:
    case ViewEvent::kAlwaysOnTopToggled:
        return kLayerNone;
    case ViewEvent::kCount:
        break;
    }
    return kAllLayers;  // a value outside the list: compose everything rather than show stale
}

namespace {

// The layers of a row's redraw, closed upward; a value outside the list composes everything.
Layers layers_of(Redraw r) {
    switch (r) {
    case Redraw::kNothing: return kLayerNone;
    case Redraw::kClock: return kLayerClock;
    case Redraw::kMonth: return close_upward(kLayerMonth);
    case Redraw::kBackground: return kAllLayers;
    }
    return kAllLayers;
}

const char* field_of(const Settings& s, size_t offset) {
    return reinterpret_cast<const char*>(&s) + offset;
}

bool int_differs(const Settings& a, const Settings& b, size_t offset) {
    int x, y;
    std::memcpy(&x, field_of(a, offset), sizeof x);
    std::memcpy(&y, field_of(b, offset), sizeof y);
    return x != y;
}

// Text fields compare up to their NUL, never beyond their buffer.
bool text_differs(const Settings& a, const Settings& b, size_t offset, size_t size) {
    return std::strncmp(field_of(a, offset), field_of(b, offset), size) != 0;
}

}  // namespace

Layers layers_for_setting(const char* key) {
    if (const SettingKey* k = setting_key_named(key)) return layers_of(k->redraws);
    if (const WindowSetKey* k = window_set_key_named(key)) return layers_of(k->redraws);
    return kAllLayers;
}

bool setting_is_classified(const char* key) {
    return setting_key_named(key) != nullptr || window_set_key_named(key) != nullptr;
}

Layers layers_for_settings_change(const Settings& before, const Settings& after) {
    Layers l = kLayerNone;
    for (const SettingKey& k : kSettingKeys) {
        const bool differs = k.kind == SettingKind::kText
                                 ? text_differs(before, after, k.offset, k.size)
                                 : int_differs(before, after, k.offset);
        if (differs) l |= layers_of(k.redraws);
    }
    for (const WindowSetKey& k : kWindowSetKeys)
        if (int_differs(before, after, k.offset)) l |= layers_of(k.redraws);
    return close_upward(l);
}

Layers layers_for_month_inputs(const MonthInputs& before, const MonthInputs& after) {
    Layers l = kLayerNone;
    if (before.shown_year != after.shown_year || before.shown_month != after.shown_month)
        l |= layers_for_event(ViewEvent::kShownMonthChanged);
    if (before.today_year != after.today_year || before.today_month != after.today_month ||
        before.today_day != after.today_day)
        l |= layers_for_event(ViewEvent::kNewDay);
    if (before.pressed_arrow != after.pressed_arrow)
        l |= layers_for_event(ViewEvent::kArrowPressChanged);
    return l;
}

ComposeSteps compose_steps(Layers taken, bool clock_shown) {
    const Layers l = close_upward(taken);
    ComposeSteps s = {};
    s.drop_background_cache = (l & kLayerBackground) != 0;
    s.lay_background = (l & kLayerMonth) != 0;
    s.draw_month = s.lay_background;
    s.keep_month_picture = s.draw_month && clock_shown;
    s.restore_month_picture = !s.draw_month && (l & kLayerClock) && clock_shown;
    s.draw_clock = (l & kLayerClock) && clock_shown;
    return s;
}

namespace {

// r grown by the text fringe and cut to the client; empty stays empty.
CellRect fringed(const CellRect& r, int w, int h) {
    if (rect_empty(r)) return CellRect{0, 0, 0, 0};
    CellRect g = {r.left - kTextFringe, r.top - kTextFringe, r.right + kTextFringe,
                  r.bottom + kTextFringe};
    if (g.left < 0) g.left = 0;
    if (g.top < 0) g.top = 0;
    if (g.right > w) g.right = w;
    if (g.bottom > h) g.bottom = h;
    return rect_empty(g) ? CellRect{0, 0, 0, 0} : g;
}

}  // namespace

CellRect composed_area(const ComposeSteps& steps, int w, int h, const CellRect before[2],
                       const CellRect after[2]) {
    if (w <= 0 || h <= 0) return CellRect{0, 0, 0, 0};
    if (steps.lay_background || steps.draw_month) return CellRect{0, 0, w, h};
    CellRect area = {0, 0, 0, 0};
    if (!steps.draw_clock && !steps.restore_month_picture) return area;
    for (int i = 0; i < 2; ++i) {
        area = rect_union(area, fringed(before[i], w, h));
        area = rect_union(area, fringed(after[i], w, h));
    }
    return area;
}

