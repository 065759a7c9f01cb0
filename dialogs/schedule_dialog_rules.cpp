#include "dialogs/schedule_dialog_rules.h"

#include <cstring>

#include "dialogs/schedule_fields.h"
#include "resources/resource.h"

bool edit_latches(int held, const ScheduleEntry* scratch, EditButtons* out) {
    if (!entry_fields_complete(scratch)) return false;
    *out = {true, held != -1, false};
    return true;
}

EditButtons browse_buttons(int held) { return {true, held != -1, false}; }

bool is_entry_field(int id) {
    static const int ids[] = {IDC_SCHED_MEMO,    IDC_SCHED_MONTH,   IDC_SCHED_DAY,
                              IDC_SCHED_HOLIDAY, IDC_SCHED_YEAR,    IDC_SCHED_SCRAMBLE,
                              IDC_SCHED_ALARM,   IDC_SCHED_HOUR,    IDC_SCHED_MINUTE,
                              IDC_SCHED_BEFORE,  IDC_SCHED_SOUND_ON, IDC_SCHED_SOUND_FILE};
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
