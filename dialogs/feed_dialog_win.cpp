#include "dialogs/feed_dialog_win.h"

#include <commctrl.h>

#include <string>

#include "dialogs/dialog_frame_win.h"
#include "dialogs/feed_dialog.h"
#include "dialogs/message_box_win.h"
#include "dialogs/schedule_list_view_win.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

const ListColumn kFeedColumns[kFeedColumnCount] = {
    {kFeedColumnOn, kListAlignLeft, kFeedOn, 16, false, true},
    {kFeedColumnName, kListAlignLeft, "MMMMMMMMMM", 12, false, true},
    {kFeedColumnState, kListAlignLeft, "0000/00/00 00:00", 12, false, true},
    {kFeedColumnUrl, kListAlignLeft, nullptr, 0, true},
};

struct FeedDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_FEEDS;
    std::vector<FeedSubscription> feeds;
    const FeedCache* cache = nullptr;

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

// Seconds since 1970 (UTC) as the machine's local time.
bool local_time(int64_t utc, FeedLocalTime* out) {
    const uint64_t ticks = (static_cast<uint64_t>(utc) + 11644473600ull) * 10000000ull;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME st, local;
    if (!FileTimeToSystemTime(&ft, &st) || !SystemTimeToTzSpecificLocalTime(nullptr, &st, &local)) return false;
    *out = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
    return true;
}

int selected_row(HWND dlg) {
    return static_cast<int>(SendDlgItemMessageA(dlg, IDC_FEED_LIST, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                LVNI_SELECTED));
}

void show_buttons(HWND dlg, const FeedDialog& d) {
    const FeedButtons b = feed_buttons(static_cast<int>(d.feeds.size()), selected_row(dlg));
    EnableWindow(GetDlgItem(dlg, IDC_FEED_ADD), b.add);
    EnableWindow(GetDlgItem(dlg, IDC_FEED_CHANGE), b.change);
    EnableWindow(GetDlgItem(dlg, IDC_FEED_REMOVE), b.remove);
}

// The rows anew, with row `select` selected (-1 none).
void fill(HWND dlg, const FeedDialog& d, int select) {
    HWND list = GetDlgItem(dlg, IDC_FEED_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (const FeedSubscription& f : d.feeds) {
        const FeedRowTexts r = feed_row_texts(f, d.cache, local_time);
        const char* const texts[kFeedColumnCount] = {r.texts[0].c_str(), r.texts[1].c_str(), r.texts[2].c_str(),
                                                     r.texts[3].c_str()};
        list_view_append_row(list, 0, texts, kFeedColumnCount);
    }
    list_view_autosize(list, kFeedColumns, kFeedColumnCount);
    if (select >= 0) {
        LVITEMA state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(select), reinterpret_cast<LPARAM>(&state));
        SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(select), FALSE);
    }
    show_buttons(dlg, d);
}

std::string edit_text(HWND dlg, int id) {
    char text[4096];
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

// The selected row's subscription into the fields.
void show_fields(HWND dlg, const FeedDialog& d) {
    const int row = selected_row(dlg);
    if (row < 0 || row >= static_cast<int>(d.feeds.size())) return;
    const FeedSubscription& f = d.feeds[static_cast<size_t>(row)];
    SetDlgItemTextA(dlg, IDC_FEED_URL, f.url.c_str());
    SetDlgItemTextA(dlg, IDC_FEED_NAME, f.name.c_str());
    CheckDlgButton(dlg, IDC_FEED_ON, f.on ? BST_CHECKED : BST_UNCHECKED);
}

// Adds (index -1) or changes a row from the fields; a refusal is told and the address
// field takes the keyboard.
void edit(HWND dlg, FeedDialog& d, int index) {
    const FeedEditError e = feed_edit(&d.feeds, index, edit_text(dlg, IDC_FEED_URL), edit_text(dlg, IDC_FEED_NAME),
                                      IsDlgButtonChecked(dlg, IDC_FEED_ON) == BST_CHECKED);
    if (e != FeedEditError::kNone) {
        message_box(dlg, feed_edit_message(e), kProgramName, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(dlg, e == FeedEditError::kNameLong ? IDC_FEED_NAME : IDC_FEED_URL));
        return;
    }
    fill(dlg, d, index < 0 ? static_cast<int>(d.feeds.size()) - 1 : index);
}

void remove(HWND dlg, FeedDialog& d) {
    const int row = selected_row(dlg);
    if (row < 0 || row >= static_cast<int>(d.feeds.size())) return;
    d.feeds.erase(d.feeds.begin() + row);
    fill(dlg, d, -1);
}

INT_PTR FeedDialog::init(HWND dlg) {
    HWND list = GetDlgItem(dlg, IDC_FEED_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    list_view_add_columns(list, kFeedColumns, kFeedColumnCount);
    SendDlgItemMessageA(dlg, IDC_FEED_NAME, EM_LIMITTEXT, kFeedMaxName, 0);
    CheckDlgButton(dlg, IDC_FEED_ON, BST_CHECKED);
    fill(dlg, *this, feeds.empty() ? -1 : 0);
    show_fields(dlg, *this);
    return TRUE;
}

INT_PTR FeedDialog::command(HWND dlg, int id, int) {
    switch (id) {
    case IDC_FEED_ADD: edit(dlg, *this, -1); return TRUE;
    case IDC_FEED_CHANGE: edit(dlg, *this, selected_row(dlg)); return TRUE;
    case IDC_FEED_REMOVE: remove(dlg, *this); return TRUE;
    case IDOK: end_dialog(dlg, *this, true); return TRUE;
    case IDCANCEL: end_dialog(dlg, *this, false); return TRUE;
    default: return FALSE;
    }
}

// A row chosen shows in the fields, and the buttons follow.
INT_PTR FeedDialog::message(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_NOTIFY) return FALSE;
    const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
    if (h->idFrom != IDC_FEED_LIST || h->code != LVN_ITEMCHANGED) return FALSE;
    const NMLISTVIEW* n = reinterpret_cast<const NMLISTVIEW*>(lp);
    if (!(n->uChanged & LVIF_STATE) || ((n->uNewState ^ n->uOldState) & LVIS_SELECTED) == 0) return FALSE;
    if (n->uNewState & LVIS_SELECTED) show_fields(dlg, *this);
    show_buttons(dlg, *this);
    return FALSE;
}

}  // namespace

bool feed_dialog(HWND owner, std::vector<FeedSubscription>* feeds, const FeedCache* cache) {
    FeedDialog d;
    d.feeds = *feeds;
    d.cache = cache;
    if (!run_dialog(owner, d)) return false;
    *feeds = d.feeds;
    return true;
}
