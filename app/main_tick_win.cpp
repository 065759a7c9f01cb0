// The one-second tick: follows the date (tray tip, repaint at a new day), looks for due
// alarms and repaints the clock when its text changes.
#include <cstring>
#include <memory>

#include "app/main_layout.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "dialogs/alarm_window_win.h"
#include "dialogs/message_box_win.h"
#include "resources/texts.h"
#include "schedule/alarm_held_back.h"
#include "schedule/alarm_mark.h"
#include "schedule/alarm_snooze.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

namespace {

AlarmTimeForm alarm_form(const MainState& s) {
    return {s.settings->method != 0, s.settings->ampm != 0};
}

// The entries due in one check ring together, in one window; those that came due before
// the program started say so. The mark goes to the file at once, so that after a crash
// nothing rings twice.
void ring(MainState& s, HWND hwnd, const DueAlarm* due, int count, uint64_t missed_upto) {
    show_due_alarms(hwnd, &s.alarm, *s.schedule, alarm_form(s), due, count, missed_upto);
    note_alarm_mark(s);
    // Not told when it fails: the saves of the user's own changes tell it.
    alarm_checked_save(*s.settings);
}

// Alarms put off whose time has come join the window; one batch a tick.
void show_snoozed(MainState& s, HWND hwnd) {
    std::unique_ptr<AlarmBatch> b = snooze_take_due(&s.snooze, GetTickCount());
    if (b) show_alarm_batch(hwnd, &s.alarm, alarm_form(s), *b, true);
}

// The clock is behind the previous run's mark: the alarms due from this minute up to it will
// not ring. Told after the window is made (the first tick runs inside its creation).
void hold_back(MainState& s, HWND hwnd, const TickPlan& plan) {
    const AlarmTimeForm form = alarm_form(s);
    s.held_back_notice = held_back_notice(*s.schedule, plan.alarm_upto - kOneMinute,
                                          plan.held_back_upto, form.twelve_hour, form.mark_after);
    if (!s.held_back_notice.empty()) PostMessageA(hwnd, kAlarmsHeldBack, 0, 0);
}

void invalidate(HWND hwnd, const RECT& r) { InvalidateRect(hwnd, &r, TRUE); }

// The clock is composed again over the month kept under it; the paint copies what changed.
void repaint_clock(MainState& s, HWND hwnd, const LocalTime& now, bool minute_changed) {
    char text[sizeof s.last_date_text];
    format_date_text(text, sizeof text, now);
    const bool same = std::strcmp(text, s.last_date_text) == 0;
    switch (clock_repaint_kind(same, s.settings->analog, minute_changed)) {
    case kRepaintWhole:
        s.recompose.mark(ViewEvent::kNewDay);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case kRepaintClockAndText:
        s.recompose.mark(ViewEvent::kClockTextChanged);
        invalidate(hwnd, s.clock_rect);
        invalidate(hwnd, s.clock_text_rect);
        break;
    case kRepaintClock:
        s.recompose.mark(ViewEvent::kClockTextChanged);
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
        tray_show_date(hwnd, plan.year, plan.month, plan.day, settings);
        s.recompose.mark(ViewEvent::kTrayTipChanged);
        // The shown month stays; today's mark moves.
        if (plan.repaint_month) repaint(s, hwnd, ViewEvent::kNewDay);
    }
    s.now_hour = now.hour;
    s.now_minute = now.minute;
    s.now_second = now.second;
    if (plan.held_back_upto) hold_back(s, hwnd, plan);

    // Every occurrence that came due in this check rings, in one alarm window.
    DueAlarm due[kMaxEntries];
    int count = 0;
    if (plan.check_alarms) {
        count = find_due_occurrences_between(*s.schedule, plan.alarm_after, plan.alarm_upto, due,
                                             kMaxEntries);
        if (count > 0) ring(s, hwnd, due, count, plan.missed_upto);
    }
    show_snoozed(s, hwnd);
    if (plan.clock_due) repaint_clock(s, hwnd, now, plan.minute_changed);
    return count > 0 ? due[0].index : -1;
}

void note_alarm_mark(MainState& s) {
    // Nothing checked yet (no tick ran): the stored mark stays as it was.
    if (s.tick.last_checked == 0) return;
    alarm_mark_format(s.settings->AlarmChecked, sizeof s.settings->AlarmChecked,
                      s.tick.last_checked);
}

LRESULT on_alarms_held_back(MainState& s, HWND hwnd) {
    if (s.held_back_notice.empty()) return 0;
    const std::string text = std::move(s.held_back_notice);
    s.held_back_notice.clear();
    message_box(hwnd, text.c_str(), kProgramName, MB_OK | MB_ICONINFORMATION);
    return 0;
}

void snooze_alarms(void* context, const AlarmBatch& shown) {
    MainState& s = *static_cast<MainState*>(context);
    snooze_add(&s.snooze, shown, GetTickCount(), snooze_interval());
}

void ring_stored_entry(void* context, const ScheduleList& list, int index) {
    MainState& s = *static_cast<MainState*>(context);
    if (index < 0 || index >= schedule_live_count(list)) return;
    const LocalTime now = get_local_now();
    const uint64_t minute =
        alarm_instant(calendar_year_of(now.year), now.month, now.day, now.hour, now.minute);
    OccurrenceAlarm at;
    if (!rings_when_stored(list.entries[index], minute, s.tick.last_checked, &at)) return;
    const DueAlarm due = {index, at.at, at.day};
    show_due_alarms(s.hwnd, &s.alarm, list, alarm_form(s), &due, 1);
}
