#include "dialogs/recent_schedule_win.h"

#include <commctrl.h>

#include <vector>

#include "calendar/date.h"
#include "config/cp932.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "dialogs/subscribed_rows.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

// The list rebuilds itself on this message (both parameters 0).
constexpr UINT kRefresh = WM_USER;

struct RecentSchedule : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_RECENT;
    static constexpr DialogClose kClose = DialogClose::kEscapeRunsOk;
    const ScheduleList* list = nullptr;
    const FeedEntries* feeds = nullptr;
    int* todo_boot = nullptr;
    int* todo_width = nullptr;
    int national_holidays = 0;  // nonzero: the holidays in the range are listed too
    ListImages images;
    // The rows: the occurrences, then the holidays. The list view asks for the texts of the
    // rows it shows (it holds no texts of its own), so a list of thousands opens at once.
    std::vector<RecentOccurrence> occurrences;
    RecentRow holidays[kMaxRecentHolidays];
    int holiday_count = 0;
    RecentListing row;  // the texts of the row last asked for
    int row_index = -1;

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

// The row of the list at index i; the memo alone for the memo column, which the list reads
// for every row when it sizes that column.
// The row of the list at index i, and the text of its memo column in *memo; the memo alone
// for the memo column, which the list reads for every row when it sizes that column.
const RecentRow& row_at(RecentSchedule& s, int i, int column, const char** memo) {
    const int n = static_cast<int>(s.occurrences.size());
    if (i >= n) {
        *memo = s.holidays[i - n].memo;
        return s.holidays[i - n];
    }
    if (i != s.row_index && column == kRecentColumnCount - 1) {
        recent_listing_memo(s.list->entries, s.feeds, s.occurrences[static_cast<size_t>(i)], s.row.memo,
                            sizeof s.row.memo);
        s.row_index = -1;
        *memo = s.row.memo;
        return s.row.row;
    }
    if (i != s.row_index) {
        recent_listing_row(s.list->entries, s.feeds, s.occurrences[static_cast<size_t>(i)], &s.row);
        s.row_index = i;
    }
    *memo = s.row.memo;
    return s.row.row;
}

void on_get_texts(RecentSchedule& s, NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    const int total = static_cast<int>(s.occurrences.size()) + s.holiday_count;
    if (item.iItem < 0 || item.iItem >= total) return;
    const char* memo = "";
    const RecentRow& r = row_at(s, item.iItem, item.iSubItem, &memo);
    if (item.mask & LVIF_IMAGE) item.iImage = r.image;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const char* const texts[kRecentColumnCount] = {r.label, r.date, r.time, r.alarm, memo};
        const char* text = item.iSubItem >= 0 && item.iSubItem < kRecentColumnCount ? texts[item.iSubItem] : "";
        cp932_copy(item.pszText, static_cast<size_t>(item.cchTextMax), text);
    }
}

void fill_list(HWND list_view, RecentSchedule& s, int ty, int tm, int td) {
    s.occurrences.resize(kMaxRecentRows);
    const int n = recent_listing(s.list->entries, schedule_live_count(*s.list), s.feeds, ty, tm, td,
                                 *s.todo_width, s.occurrences.data(), kMaxRecentRows);
    s.occurrences.resize(static_cast<size_t>(n));
    s.holiday_count = recent_holiday_rows(ty, tm, td, *s.todo_width, s.national_holidays,
                                          s.holidays, kMaxRecentHolidays);
    s.row_index = -1;
    SendMessageA(list_view, LVM_SETITEMCOUNT, n + s.holiday_count, 0);
    SendMessageA(list_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), 0);  // nothing selected
    bool ranges = false;
    for (const RecentOccurrence& o : s.occurrences)
        ranges = ranges || entry_time_has_end(&recent_listing_entry(s.list->entries, s.feeds, o));
    if (ranges) list_view_widen(list_view, kRecentColumns, kRecentTimeColumn, kTimeRangeSample);
    list_view_autosize(list_view, kRecentColumns, kRecentColumnCount);
    InvalidateRect(list_view, nullptr, TRUE);
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
void refresh(HWND dlg, RecentSchedule& s) {
    int ty, tm, td;
    get_today(&ty, &tm, &td);
    char header[64];
    format_list_header(header, sizeof header, ty, tm, td, 0);
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
        return FALSE;
    }
}

INT_PTR RecentSchedule::message(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    switch (msg) {
    case kRefresh:
        refresh(dlg, *this);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lp)->code != LVN_GETDISPINFOA) return FALSE;
        on_get_texts(*this, reinterpret_cast<NMLVDISPINFOA*>(lp));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void recent_schedule_dialog(HWND owner, const ScheduleList& list, int* todo_boot, int* todo_width,
                            int national_holidays, const FeedEntries* feeds) {
    RecentSchedule d;
    d.list = &list;
    d.feeds = feeds;
    d.national_holidays = national_holidays;
    d.todo_boot = todo_boot;
    d.todo_width = todo_width;
    run_dialog(owner, d);
}
