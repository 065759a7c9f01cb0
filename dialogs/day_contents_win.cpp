#include "dialogs/day_contents_win.h"

#include <commctrl.h>

#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

struct DayContents {
    int year, month, day;
    ListImages images;
};

DayContents* state_of(HWND dlg) { return dialog_state<DayContents>(dlg); }

void fill_list(HWND list, const DayContents& s) {
    for (int i = 0; i < schedulecount; ++i) {
        DayRow row;
        if (!day_contents_row(&schedule_list[i], s.year, s.month, s.day, &row)) continue;
        const char* const texts[kDayColumnCount] = {"", row.time, row.memo};
        list_view_append_row(list, row.image, texts, kDayColumnCount);
    }
}

void on_init(HWND dlg, DayContents* s) {
    keep_dialog_state(dlg, s);
    char header[64];
    format_list_header(header, sizeof header, s->year, s->month, s->day);
    SetDlgItemTextA(dlg, IDC_DAY_HEADER, header);
    HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
    s->images.attach(list);
    list_view_add_columns(list, kDayColumns, kDayColumnCount);
    fill_list(list, *s);
    list_view_autosize(list, kDayColumns, kDayColumnCount);
}

void end(HWND dlg, int result) {
    if (DayContents* s = state_of(dlg)) s->images.release();
    EndDialog(dlg, result);
}

// OK (also Enter and Alt+F4) and the schedule button end the dialog; Esc and every other
// command are ignored.
INT_PTR on_command(HWND dlg, int id) {
    switch (id) {
    case IDOK:
        end(dlg, kDayContentsClosed);
        return TRUE;
    case IDC_DAY_SCHEDULE:
        end(dlg, kDayContentsToSchedule);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK day_contents_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        on_init(dlg, reinterpret_cast<DayContents*>(lp));
        return TRUE;
    case WM_COMMAND:
        return on_command(dlg, LOWORD(wp));
    case WM_SYSCOMMAND:
        return close_runs_ok(dlg, wp);
    default:
        return FALSE;
    }
}

}  // namespace

int day_contents_dialog(HWND owner, const ViewState& view) {
    DayContents s = {view.shown_year, view.shown_month, view.clicked_day, {}};
    const INT_PTR r = modal_dialog(owner, IDD_DAY_CONTENTS, day_contents_proc, &s);
    return r == kDayContentsToSchedule ? kDayContentsToSchedule : kDayContentsClosed;
}
