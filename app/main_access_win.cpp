// The main window's side of its screen-reader object (app/month_accessible_win.h): what the
// month shows now, each day's name and entries, and what a reader asked the window to do.
#include "app/clock_layout.h"
#include "app/day_names.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/month_accessible_win.h"
#include "app/month_layout.h"
#include "calendar/date.h"
#include "config/settings.h"

namespace {

MainState& state_of(void* context) { return *static_cast<MainState*>(context); }

void view_now(void* context, AccessView* out) {
    MainState& s = state_of(context);
    cursor_follows_month(s);
    AccessView& v = *out;
    v.year = s.view.shown_year;
    v.month = clamp_shown_month(s.view.shown_month);
    v.days = days_in_month(v.month, v.year);
    v.cursor_day = s.cursor.day;
    v.focused = s.has_focus;
    for (int i = 0; i < 31; ++i) v.cells[i] = s.day_cells[i];
    v.previous_button = s.left_arrow_rect;
    v.next_button = s.right_arrow_rect;
    v.pressed_button = s.pressed_arrow;
    const Settings& settings = *s.settings;
    v.clock_shown = s.timer_running && settings.clock != 0;
    v.clock_rect = CellRect{s.clock_rect.left, s.clock_rect.top, s.clock_rect.right, s.clock_rect.bottom};
    if (v.clock_shown) {
        int h, m, sec;
        get_now_time(&h, &m, &sec);
        format_clock_text(v.clock_text, sizeof v.clock_text, h, m, sec, settings.method, settings.ampm,
                          settings.analog ? 0 : settings.second != 0);
    }
    format_month_header(v.month_name, sizeof v.month_name, settings.monthlang, v.year, v.month,
                        settings.Wareki);
}

void day_texts_now(void* context, int day, char* name, size_t name_size, char* description,
                   size_t description_size) {
    MainState& s = state_of(context);
    int ty, tm, td;
    get_today(&ty, &tm, &td);
    const int y = s.view.shown_year, m = clamp_shown_month(s.view.shown_month);
    const Settings& set = *s.settings;
    const DayNameShows shows = {set.NationalHolidays, set.Rokuyo, set.Kyureki, set.Wareki};
    format_day_name(name, name_size, day_facts(*s.schedule, y, m, day, ty, tm, td, shows));
    format_day_description(description, description_size, *s.schedule, y, m, day);
}

bool day_of_month(const MainState& s, LPARAM day) {
    return day >= 1 && day <= days_in_month(clamp_shown_month(s.view.shown_month), s.view.shown_year);
}

}  // namespace

LRESULT on_get_object(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    const AccessSource source = {view_now, day_texts_now, &s};
    return month_accessible_answer(hwnd, wp, lp, source, &s.accessible);
}

LRESULT on_access_action(MainState& s, HWND hwnd, WPARAM what, LPARAM child) {
    switch (static_cast<AccessAction>(what)) {
    case AccessAction::kOpenDay:
        if (day_of_month(s, child)) open_day(s, hwnd, static_cast<int>(child));
        break;
    case AccessAction::kSelectDay:
        if (day_of_month(s, child))
            put_cursor(s, hwnd, DayCursor{s.view.shown_year, s.view.shown_month, static_cast<int>(child)});
        break;
    case AccessAction::kPress:
        if (child == 1 || child == 2) step_shown_month(s, hwnd, child == 2);
        break;
    }
    return 0;
}
