#include "dialogs/recent_schedule_win.h"

#include <commctrl.h>

#include <vector>

#include "calendar/date.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

// The list rebuilds itself on this message (both parameters 0).
constexpr UINT kRefresh = WM_USER;

struct RecentSchedule : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_RECENT;
    static constexpr DialogClose kClose = DialogClose::kRunsOk;
    const ScheduleList* list = nullptr;
    int* todo_boot = nullptr;
    int* todo_width = nullptr;
    int national_holidays = 0;  // nonzero: the holidays in the range are listed too
    ListImages images;

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

void append_row(HWND list_view, const RecentRow& row) {
    const char* const texts[kRecentColumnCount] = {row.label, row.date, row.time, row.alarm,
                                                   row.memo};
    list_view_append_row(list_view, row.image, texts, kRecentColumnCount);
}

void fill_list(HWND list_view, const RecentSchedule& s, int ty, int tm, int td) {
    SendMessageA(list_view, LVM_DELETEALLITEMS, 0, 0);
    std::vector<RecentRow> rows(kMaxRecentRows);
    const int n = recent_rows(s.list->entries, schedule_live_count(*s.list), ty, tm, td,
                              *s.todo_width, rows.data(), kMaxRecentRows);
    bool ranges = false;
    for (int i = 0; i < n; ++i) {
        append_row(list_view, rows[static_cast<size_t>(i)]);
        ranges = ranges || time_text_has_end(rows[static_cast<size_t>(i)].time);
    }
    if (ranges) list_view_widen(list_view, kRecentColumns, kRecentTimeColumn, kTimeRangeSample);
    RecentRow holidays[kMaxRecentHolidays];
    const int h = recent_holiday_rows(ty, tm, td, *s.todo_width, s.national_holidays, holidays,
                                      kMaxRecentHolidays);
    for (int i = 0; i < h; ++i) append_row(list_view, holidays[i]);
    list_view_autosize(list_view, kRecentColumns, kRecentColumnCount);
}

void fill_width_combo(HWND combo, int width) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int k = kTodoWidthMin; k <= kTodoWidthMax; ++k) {
        char item[8];
        format_todo_width_item(item, sizeof item, k);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(combo, CB_SETCURSEL, todo_width_item_index(width), 0);
}

// Today is read anew at every rebuild.
void refresh(HWND dlg, const RecentSchedule& s) {
    int ty, tm, td;
    get_today(&ty, &tm, &td);
    char header[64];
    format_list_header(header, sizeof header, ty, tm, td);
    SetDlgItemTextA(dlg, IDC_RECENT_HEADER, header);
    fill_list(GetDlgItem(dlg, IDC_RECENT_LIST), s, ty, tm, td);
    fill_width_combo(GetDlgItem(dlg, IDC_RECENT_WIDTH), *s.todo_width);
}

INT_PTR RecentSchedule::init(HWND dlg) {
    CheckDlgButton(dlg, IDC_RECENT_BOOT, *todo_boot ? BST_CHECKED : BST_UNCHECKED);
    HWND list_view = GetDlgItem(dlg, IDC_RECENT_LIST);
    images.attach(list_view);
    list_view_add_columns(list_view, kRecentColumns, kRecentColumnCount);
    refresh(dlg, *this);
    return TRUE;
}

void on_ok(HWND dlg, RecentSchedule& s) {
    *s.todo_boot = IsDlgButtonChecked(dlg, IDC_RECENT_BOOT) == BST_CHECKED ? 1 : 0;
    s.images.release();
    end_dialog(dlg, s, true);
}

// A pick of another number changes the width and rebuilds the list at once.
void on_width_chosen(HWND dlg, RecentSchedule& s) {
    const int index = (int)SendDlgItemMessageA(dlg, IDC_RECENT_WIDTH, CB_GETCURSEL, 0, 0);
    if (todo_width_pick(index, s.todo_width)) SendMessageA(dlg, kRefresh, 0, 0);
}

INT_PTR RecentSchedule::command(HWND dlg, int id, int code) {
    switch (id) {
    case IDOK:
        on_ok(dlg, *this);
        return TRUE;
    case IDC_RECENT_WIDTH:
        if (code == CBN_SELENDOK) on_width_chosen(dlg, *this);
        return TRUE;
    default:
        return FALSE;  // Esc included: there is no cancel
    }
}

INT_PTR RecentSchedule::message(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg != kRefresh) return FALSE;
    refresh(dlg, *this);
    return TRUE;
}

}  // namespace

void recent_schedule_dialog(HWND owner, const ScheduleList& list, int* todo_boot, int* todo_width,
                            int national_holidays) {
    RecentSchedule d;
    d.list = &list;
    d.national_holidays = national_holidays;
    d.todo_boot = todo_boot;
    d.todo_width = todo_width;
    run_dialog(owner, d);
}
