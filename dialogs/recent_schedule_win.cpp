#include "dialogs/recent_schedule_win.h"

#include <commctrl.h>

#include "calendar/date.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

// The list rebuilds itself on this message (both parameters 0).
constexpr UINT kRefresh = WM_USER;

struct RecentSchedule {
    int* todo_boot;
    int* todo_width;
    ListImages images;
};

RecentSchedule* state_of(HWND dlg) { return dialog_state<RecentSchedule>(dlg); }

void fill_list(HWND list, int ty, int tm, int td, int width) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < schedulecount; ++i) {
        RecentRow row;
        if (!recent_row(&schedule_list[i], ty, tm, td, width, &row)) continue;
        const char* const texts[kRecentColumnCount] = {row.label, row.date, row.time, row.alarm,
                                                       row.memo};
        list_view_append_row(list, row.image, texts, kRecentColumnCount);
    }
    list_view_autosize(list, kRecentColumns, kRecentColumnCount);
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
void refresh(HWND dlg) {
    const RecentSchedule* s = state_of(dlg);
    if (!s) return;
    int ty, tm, td;
    get_today(&ty, &tm, &td);
    char header[64];
    format_list_header(header, sizeof header, ty, tm, td);
    SetDlgItemTextA(dlg, IDC_RECENT_HEADER, header);
    fill_list(GetDlgItem(dlg, IDC_RECENT_LIST), ty, tm, td, *s->todo_width);
    fill_width_combo(GetDlgItem(dlg, IDC_RECENT_WIDTH), *s->todo_width);
}

void on_init(HWND dlg, RecentSchedule* s) {
    keep_dialog_state(dlg, s);
    CheckDlgButton(dlg, IDC_RECENT_BOOT, *s->todo_boot ? BST_CHECKED : BST_UNCHECKED);
    HWND list = GetDlgItem(dlg, IDC_RECENT_LIST);
    s->images.attach(list);
    list_view_add_columns(list, kRecentColumns, kRecentColumnCount);
    refresh(dlg);
}

void on_ok(HWND dlg) {
    RecentSchedule* s = state_of(dlg);
    if (s) {
        *s->todo_boot = IsDlgButtonChecked(dlg, IDC_RECENT_BOOT) == BST_CHECKED ? 1 : 0;
        s->images.release();
    }
    EndDialog(dlg, 1);
}

// A pick of another number changes the width and rebuilds the list at once.
void on_width_chosen(HWND dlg) {
    RecentSchedule* s = state_of(dlg);
    if (!s) return;
    const int index = (int)SendDlgItemMessageA(dlg, IDC_RECENT_WIDTH, CB_GETCURSEL, 0, 0);
    if (todo_width_pick(index, s->todo_width)) SendMessageA(dlg, kRefresh, 0, 0);
}

INT_PTR on_command(HWND dlg, int id, int code) {
    switch (id) {
    case IDOK:
        on_ok(dlg);
        return TRUE;
    case IDC_RECENT_WIDTH:
        if (code == CBN_SELENDOK) on_width_chosen(dlg);
        return TRUE;
    default:
        return FALSE;  // Esc included: there is no cancel
    }
}

INT_PTR CALLBACK recent_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        on_init(dlg, reinterpret_cast<RecentSchedule*>(lp));
        return TRUE;
    case kRefresh:
        refresh(dlg);
        return TRUE;
    case WM_COMMAND:
        return on_command(dlg, LOWORD(wp), HIWORD(wp));
    case WM_SYSCOMMAND:
        return close_runs_ok(dlg, wp);
    default:
        return FALSE;
    }
}

}  // namespace

void recent_schedule_dialog(HWND owner, int* todo_boot, int* todo_width) {
    RecentSchedule s = {todo_boot, todo_width, {}};
    modal_dialog(owner, IDD_RECENT, recent_proc, &s);
}
