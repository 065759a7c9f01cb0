// What of the main window's composed picture must be drawn again after something changed.
// The picture stays in the off-screen surface between paints and is built in three layers,
// each drawn over the one below: the background (window colour and image), the month
// (header, buttons, weekday row, days) and the clock. Drawing a layer again covers what was
// drawn over it, so every layer above it is drawn again too. Whatever changes what is shown
// marks here, in this one place; the paint composes what is marked and then copies its update
// rectangle. An uncovered or moved window marks nothing: its paint is only a copy.
#pragma once

#include "app/main_layout.h"

struct Settings;

// A set of layers; every set this module hands out is closed upward (a lower layer brings
// the ones above it).
typedef unsigned Layers;
constexpr Layers kLayerNone = 0;
constexpr Layers kLayerClock = 1;
constexpr Layers kLayerMonth = 2;
constexpr Layers kLayerBackground = 4;
constexpr Layers kAllLayers = kLayerBackground | kLayerMonth | kLayerClock;

// Adds the layers above the lowest one given.
Layers close_upward(Layers l);

// Everything that can happen to the window, apart from a settings change (below).
enum class ViewEvent : int {
    kTickQuiet,            // a tick that changes nothing shown
    kClockTextChanged,     // the time on show changed (second or minute)
    kNewDay,               // today's box or the past-day ticks move
    kShownMonthChanged,    // arrows, display-month dialog, reset to today
    kArrowPressChanged,    // a month button pressed or released
    kEntriesChanged,       // schedule dialog, day contents, import
    kFontChanged,          // the font dialog's preview, OK or cancel
    kBackgroundReloaded,   // the image loaded again or dropped (settings applied)
    kResized,              // a new surface: nothing of the old picture is left
    kSizeSettled,          // sizing ended over a roughly scaled image: scaled properly now
    kSurfaceLost,          // the surface could not be kept (made anew, or none)
    kSysColorsChanged,     // window, button face and button edge colours
    kTextRenderingChanged, // font smoothing: every text is written anew
    kDisplayChanged,       // another screen resolution: settings and window set reloaded
    kMoved,                // the picture is the same wherever the window is
    kUncovered,            // another window or a menu went away
    kHidden,
    kShown,
    kMinimized,            // the surface is kept while minimised
    kRestored,             // same size as before; another size comes as kResized
    kTrayTipChanged,       // the notification icon's tip only
    kTitleBarToggled,      // the frame; the client's new size comes as kResized
    kAlwaysOnTopToggled,
    kCount
};

// The layers an event asks for.
Layers layers_for_event(ViewEvent e);

// The layers a change of one stored value asks for: what its row of kSettingKeys or
// kWindowSetKeys (config/settings.h) says it redraws, found by its key. A key no row has asks
// for everything.
Layers layers_for_setting(const char* key);
// Whether a row has the key.
bool setting_is_classified(const char* key);

// Every stored value that differs between the two records, united: what a settings dialog,
// the font dialog or a reload of the settings file asks for.
Layers layers_for_settings_change(const Settings& before, const Settings& after);

// What the month layer shows apart from the settings and the entries. Each paint compares it
// with what the picture was composed from, so a change whose event was never marked is
// composed all the same.
struct MonthInputs {
    int shown_year, shown_month;
    int today_year, today_month, today_day;
    int pressed_arrow;
};
Layers layers_for_month_inputs(const MonthInputs& before, const MonthInputs& after);

// The marks a window keeps between paints. A new record asks for everything: nothing has
// been composed yet.
class Recomposition {
public:
    void mark(Layers l) { pending_ |= close_upward(l); }
    void mark(ViewEvent e) { mark(layers_for_event(e)); }
    void mark_settings(const Settings& before, const Settings& after) {
        mark(layers_for_settings_change(before, after));
    }
    void mark_inputs(const MonthInputs& before, const MonthInputs& after) {
        mark(layers_for_month_inputs(before, after));
    }
    Layers pending() const { return pending_; }
    // What the coming paint composes; the marks start over.
    Layers take() {
        const Layers l = pending_;
        pending_ = kLayerNone;
        return l;
    }

private:
    Layers pending_ = kAllLayers;
};

// What a paint does with the layers it took. The picture without the clock is kept beside the
// surface while a clock is shown, so that a new time only puts that picture back under the
// clock's rectangles and draws the clock again.
struct ComposeSteps {
    bool drop_background_cache;  // the scaled image is made anew
    bool lay_background;         // window colour, then the image (from its cache when kept)
    bool draw_month;
    bool keep_month_picture;     // copy the surface before the clock is drawn
    bool restore_month_picture;  // put that copy back under the clock
    bool draw_clock;
};
ComposeSteps compose_steps(Layers taken, bool clock_shown);

// How far drawn text may reach beyond the rectangle measured for it: the halo's pixel and
// the glyphs' smoothing.
constexpr int kTextFringe = 2;

// The part of a client of w x h pixels that a composition changed: all of it when the
// background or the month was laid again; for the clock alone the rectangles of the clock
// before and after (each with the text fringe, within the client); else nothing. Rectangles
// with nothing in them are left out.
CellRect composed_area(const ComposeSteps& steps, int w, int h, const CellRect before[2],
                       const CellRect after[2]);
