#include "dialogs/day_contents_win.h"

#include <commctrl.h>

#include "dialogs/dialog_frame_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "dialogs/schedule_lists.h"
#include "dialogs/subscribed_rows.h"
#include "resources/resource.h"
#include "schedule/entry.h"

namespace {

struct DayContents : DialogRecord<DayContentsResult> {
    static constexpr int kTemplate = IDD_DAY_CONTENTS;
    static constexpr DialogClose kClose = DialogClose::kEscapeRunsOk;
    const ScheduleList* list = nullptr;
    const FeedEntries* feeds = nullptr;
    int year = 0, month = 0, day = 0;
    DayContentsShows shows = {};
    ListImages images;
    int chosen = -1;  // the entry to go to the schedule dialog with

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

private:
    void to_schedule(HWND dlg, int row);
};

// Rows keep the place of their entry plus one; 0 is a row of no entry.
LPARAM row_param(int entry) { return static_cast<LPARAM>(entry) + 1; }
int entry_of_row(HWND list, int row) { return static_cast<int>(list_view_row_param(list, row)) - 1; }

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
    bool ranges = false;
    for (const DayListing& l : day_listing(s.list->entries, schedule_live_count(*s.list), s.feeds, s.year,
                                           s.month, s.day)) {
        const char* const texts[kDayColumnCount] = {"", l.row.time, l.memo};
        list_view_append_row(list, l.row.image, texts, kDayColumnCount, row_param(l.entry));
        ranges = ranges || l.time_has_end;
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

// Goes on to the schedule dialog with the entry of row (none for -1 or a row of no entry).
void DayContents::to_schedule(HWND dlg, int row) {
    chosen = entry_of_row(GetDlgItem(dlg, IDC_DAY_LIST), row);
    images.release();
    end_dialog(dlg, *this, DayContentsResult::kToSchedule);
}

// OK (also Enter, Esc and Alt+F4) ends the dialog; the schedule button goes on with the
// selected entry, if any. Every other command is ignored.
INT_PTR DayContents::command(HWND dlg, int id, int) {
    if (id == IDC_DAY_SCHEDULE) {
        HWND list = GetDlgItem(dlg, IDC_DAY_LIST);
        to_schedule(dlg, static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                       LVNI_SELECTED)));
        return TRUE;
    }
    if (id != IDOK) return FALSE;
    images.release();
    end_dialog(dlg, *this, DayContentsResult::kClosed);
    return TRUE;
}

// A double click on an entry opens it in the schedule dialog.
INT_PTR DayContents::message(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NOTIFY) return FALSE;
    const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
    if (h->idFrom != IDC_DAY_LIST || h->code != NM_DBLCLK) return FALSE;
    const int row = reinterpret_cast<const NMITEMACTIVATE*>(lp)->iItem;
    if (entry_of_row(h->hwndFrom, row) >= 0) to_schedule(dlg, row);
    return FALSE;
}

}  // namespace

DayContentsResult day_contents_dialog(HWND owner, const ViewState& view, const ScheduleList& list,
                                      const DayContentsShows& shows, int* entry, const FeedEntries* feeds) {
    DayContents d;
    d.list = &list;
    d.feeds = feeds;
    d.shows = shows;
    d.year = view.shown_year;
    d.month = view.shown_month;
    d.day = view.clicked_day;
    const DayContentsResult r = run_dialog(owner, d);
    if (entry) *entry = r == DayContentsResult::kToSchedule ? d.chosen : -1;
    return r;
}
