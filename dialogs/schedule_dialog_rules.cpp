#include "dialogs/schedule_dialog_rules.h"

#include <cstring>

#include "dialogs/schedule_fields.h"
#include "resources/resource.h"
#include "schedule/entry_dates.h"

bool edit_latches(int held, const ScheduleEntry* scratch, EditButtons* out) {
    if (!entry_fields_complete(scratch)) return false;
    *out = {true, held != -1, false};
    return true;
}

EditButtons browse_buttons(int held) { return {true, held != -1, false}; }

bool is_entry_field(int id) {
    static const int ids[] = {IDC_SCHED_MEMO,       IDC_SCHED_MONTH,      IDC_SCHED_DAY,
                              IDC_SCHED_HOLIDAY,    IDC_SCHED_YEAR,       IDC_SCHED_SCRAMBLE,
                              IDC_SCHED_ALARM,      IDC_SCHED_HOUR,       IDC_SCHED_MINUTE,
                              IDC_SCHED_BEFORE,     IDC_SCHED_SOUND_ON,   IDC_SCHED_SOUND_FILE,
                              IDC_SCHED_END_MONTH,  IDC_SCHED_END_DAY,    IDC_SCHED_END_HOUR,
                              IDC_SCHED_END_MINUTE, IDC_SCHED_LEAD_UNIT,  IDC_SCHED_DAY_ALARM,
                              IDC_SCHED_DAY_HOUR,   IDC_SCHED_DAY_MINUTE};
    for (int v : ids)
        if (v == id) return true;
    return false;
}

bool field_change_moves_alarm(int id, bool text_changed) {
    if (id == IDC_SCHED_ALARM || id == IDC_SCHED_SOUND_ON) return true;
    return text_changed && (id == IDC_SCHED_HOUR || id == IDC_SCHED_MINUTE);
}

void opening_work_entry(ScheduleEntry* e, int year, int month, int day) {
    std::memset(e, 0, sizeof *e);
    e->year = year;
    e->month = month;
    e->day = day;
    e->hour = -1;
    e->minute = -1;
    e->minutes_before = -1;
}

void cleared_work_entry(ScheduleEntry* e) {
    std::memset(e, 0, sizeof *e);
    e->year = e->month = e->day = -1;
}

bool change_has_target(int held, int count) { return held >= 0 && held < count; }

bool repeat_start_of(const ScheduleEntry& e, CalendarDate* start) {
    if (e.year < kEntryFirstYear || e.year > kEntryLastYear || e.month < 1 || e.month > 12 ||
        e.day < 1 || e.day > days_in_month(e.month, e.year))
        return false;
    *start = CalendarDate{e.year, e.month, e.day};
    return true;
}

void as_new_entry(ScheduleEntry* e) {
    e->uid[0] = '\0';
    e->recur_date = 0;
    e->recur_has_time = 0;
    e->recur_hour = 0;
    e->recur_minute = 0;
    e->sequence = 0;
    e->modified = 0;
}

bool occurrence_on_opening_day(const ScheduleEntry& e, const ScheduleOpening& opening,
                               CalendarDate* occurrence) {
    if (!entry_repeats(e) && e.year != -1) return false;
    if (opening.year < kEntryFirstYear || opening.year > kEntryLastYear || opening.month < 1 ||
        opening.month > 12 || opening.day < 1 ||
        opening.day > days_in_month(opening.month, opening.year))
        return false;
    return entry_occurrence_covering(e, CalendarDate{opening.year, opening.month, opening.day},
                                     occurrence);
}

bool change_one_occurrence(ScheduleEntry* series, const CalendarDate& day,
                           const ScheduleEntry& edited, ScheduleEntry* single) {
    const bool date_kept = edited.year == series->year && edited.month == series->month &&
                           edited.day == series->day;
    ScheduleEntry left = *series;
    ScheduleEntry base;
    if (!entry_detach_occurrence(&left, day, &base)) return false;
    *single = edited;
    if (date_kept) {
        single->year = day.year;
        single->month = day.month;
        single->day = day.day;
    }
    std::memset(&single->repeat, 0, sizeof single->repeat);
    single->skip_count = 0;
    std::memset(single->skips, 0, sizeof single->skips);
    std::memcpy(single->uid, base.uid, sizeof single->uid);
    single->recur_date = base.recur_date;
    single->recur_has_time = base.recur_has_time;
    single->recur_hour = base.recur_hour;
    single->recur_minute = base.recur_minute;
    *series = left;
    return true;
}
