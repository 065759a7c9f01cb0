// The one-second tick: follows the date (tray tip, repaint at a new day), looks for due
// alarms and repaints the clock when its text changes.
#include <cstring>

#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "dialogs/alarm_window_win.h"
#include "schedule/entry.h"

namespace {

void invalidate(HWND hwnd, const RECT& r) { InvalidateRect(hwnd, &r, TRUE); }

void repaint_clock(MainState& s, HWND hwnd, const LocalTime& now, bool minute_changed) {
    char text[sizeof s.last_date_text];
    format_date_text(text, sizeof text, now);
    const bool same = std::strcmp(text, s.last_date_text) == 0;
    switch (clock_repaint_kind(same, s.settings->analog, minute_changed)) {
    case kRepaintWhole:
        s.clock_only_repaint = false;
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case kRepaintClockAndText:
        s.clock_only_repaint = true;
        invalidate(hwnd, s.clock_rect);
        invalidate(hwnd, s.clock_text_rect);
        break;
    case kRepaintClock:
        s.clock_only_repaint = true;
        invalidate(hwnd, s.clock_rect);
        break;
    }
    std::memcpy(s.last_date_text, text, sizeof text);
    UpdateWindow(hwnd);
}

}  // namespace

int main_tick(MainState& s, HWND hwnd) {
    // One reading for date and time, so they cannot straddle midnight.
    const LocalTime now = get_local_now();
    const Settings& settings = *s.settings;
    const TickPlan plan = plan_tick(s.tick, now, settings.clock, settings.second);
    // Remembered before anything runs that could dispatch another tick.
    finish_tick(&s.tick, plan, now);

    if (plan.new_day) {
        char tip[64];
        format_date_tip(tip, sizeof tip, plan.year, plan.month, plan.day);
        tray_set_tip(hwnd, tip);
        // The shown month stays; today's mark moves.
        if (plan.repaint_month) repaint(hwnd);
    }
    s.now_hour = now.hour;
    s.now_minute = now.minute;
    s.now_second = now.second;

    // Every entry that came due in this check rings, in one alarm window.
    int due[kMaxEntries];
    int count = 0;
    if (plan.check_alarms) {
        count = find_due_alarms_between(*s.schedule, plan.alarm_after, plan.alarm_upto, due,
                                        kMaxEntries);
        const AlarmTimeForm form = {settings.method != 0, settings.ampm != 0};
        if (count > 0) show_alarms(hwnd, &s.alarm, *s.schedule, form, due, count);
    }
    if (plan.clock_due) repaint_clock(s, hwnd, now, plan.minute_changed);
    return count > 0 ? due[0] : -1;
}
