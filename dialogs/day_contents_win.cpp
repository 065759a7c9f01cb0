#include "dialogs/day_contents_win.h"

#include <commctrl.h>

#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

struct DayContents : DialogRecord<DayContentsResult> {
    static constexpr int kTemplate = IDD_DAY_CONTENTS;
    static constexpr DialogClose kClose = DialogClose::kRunsOk;
    const ScheduleList* list = nullptr;
    int year = 0, month = 0, day = 0;
    DayContentsShows shows = {};
    ListImages images;

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
};

void fill_list(HWND list, const DayContents& s) {
    DayRow almanac;
    if (day_contents_almanac_row(s.year, s.month, s.day, s.shows.rokuyo, s.shows.kyureki,
                                 &almanac)) {
        const char* const texts[kDayColumnCount] = {"", almanac.time, almanac.memo};
        list_view_append_row(list, almanac.image, texts, kDayColumnCount);
    }
    DayRow holiday;
    if (day_contents_holiday_row(s.year, s.month, s.day, s.shows.national_holidays, &holiday)) {
        const char* const texts[kDayColumnCount] = {"", holiday.time, holiday.memo};
        list_view_append_row(list, holiday.image, texts, kDayColumnCount);
    }
    const int n = schedule_live_count(*s.list);
    bool ranges = false;
    for (int i = 0; i < n; ++i) {
        DayRow row;
        if (!day_contents_row(&s.list->entries[i], s.year, s.month, s.day, &row)) continue;
        const char* const texts[kDayColumnCount] = {"", row.time, row.memo};
        list_view_append_row(list, row.image, texts, kDayColumnCount);
        ranges = ranges || entry_time_has_end(&s.list->entries[i]);
    }
    if (ranges) list_view_widen(list, kDayColumns, kDayTimeColumn, kTimeRangeSample);
}

INT_PTR DayContents::init(HWND dlg) {
    char header[64];
    format_list_header(header, sizeof header, year, month, day, shows.wareki);
    SetDlgItemTextA(dlg, IDC_DAY_HEADER, header);
    HWND list_view = GetDlgItem(dlg, IDC_DAY_LIST);
    images.attach(list_view);
    list_view_add_columns(list_view, kDayColumns, kDayColumnCount);
    fill_list(list_view, *this);
    list_view_autosize(list_view, kDayColumns, kDayColumnCount);
    return TRUE;
}

// OK (also Enter and Alt+F4) and the schedule button end the dialog; Esc and every other
// command are ignored.
INT_PTR DayContents::command(HWND dlg, int id, int) {
    if (id != IDOK && id != IDC_DAY_SCHEDULE) return FALSE;
    images.release();
    end_dialog(dlg, *this, id == IDOK ? DayContentsResult::kClosed : DayContentsResult::kToSchedule);
    return TRUE;
}

}  // namespace

DayContentsResult day_contents_dialog(HWND owner, const ViewState& view, const ScheduleList& list,
                                      const DayContentsShows& shows) {
    DayContents d;
    d.list = &list;
    d.shows = shows;
    d.year = view.shown_year;
    d.month = view.shown_month;
    d.day = view.clicked_day;
    return run_dialog(owner, d);
}
