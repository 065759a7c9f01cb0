// The schedule dialog: the fields of one work entry above, the list of every entry below,
// and Add, Change and Delete working on the schedule list in memory. Its rules (how fields
// read and show, validation, row texts, which buttons an edit enables) are in
// schedule_fields and schedule_dialog_rules; this file moves them in and out of controls.
#include "dialogs/schedule_dialog_win.h"

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "config/handles_win.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/file_chooser_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/schedule_dialog_rules.h"
#include "dialogs/schedule_fields.h"
#include "dialogs/schedule_list_view_win.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "schedule/sound_win.h"

namespace {

const char kCaption[] = "Tavelspore";
const char kListFull[] = "これ以上登録できません";
const char kCloseQuestion[] = "スケジュールを編集中です\nスケジュール設定を終了しますか？";
constexpr UINT kErrorFlags = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kQuestionFlags = MB_YESNO | MB_ICONINFORMATION;
constexpr UINT_PTR kSoundTimer = 2;
constexpr UINT kSoundPollMs = 500;

// Edits whose modify flags tell that the user typed, and the check boxes compared with the
// snapshot.
const int kTrackedEdits[] = {IDC_SCHED_YEAR, IDC_SCHED_MONTH,  IDC_SCHED_DAY,
                             IDC_SCHED_MEMO, IDC_SCHED_HOUR,   IDC_SCHED_MINUTE,
                             IDC_SCHED_BEFORE, IDC_SCHED_SOUND_FILE};
const int kTrackedChecks[4] = {IDC_SCHED_HOLIDAY, IDC_SCHED_SCRAMBLE, IDC_SCHED_ALARM,
                               IDC_SCHED_SOUND_ON};
struct Limit {
    int id, chars;
};
const Limit kLimits[] = {{IDC_SCHED_YEAR, 4},   {IDC_SCHED_MONTH, 2},  {IDC_SCHED_DAY, 2},
                         {IDC_SCHED_HOUR, 2},   {IDC_SCHED_MINUTE, 2}, {IDC_SCHED_BEFORE, 2},
                         {IDC_SCHED_MEMO, 80}};
const int kDigitEdits[] = {IDC_SCHED_YEAR, IDC_SCHED_MONTH, IDC_SCHED_HOUR, IDC_SCHED_MINUTE,
                           IDC_SCHED_BEFORE};

struct ScheduleDialog {
    HWND hwnd = nullptr;
    HWND list = nullptr;
    ScheduleOpening opening;
    ScheduleEntry work = {};
    ScheduleEntry scratch = {};
    int held = -1;
    bool loading = false;
    bool latched = false;
    bool changed = false;
    bool checks[4] = {};
    bool timer = false;
    OwnedImageList images;
    std::optional<SubclassGuard> subclass[6];
};

// The one open schedule dialog.
ScheduleDialog* dlg = nullptr;
ScheduleNoticeFn notice = message_box;
WNDPROC edit_proc = nullptr;

HWND item(int id) { return GetDlgItem(dlg->hwnd, id); }

bool checked(int id) { return IsDlgButtonChecked(dlg->hwnd, id) == BST_CHECKED; }

void set_check(int id, bool on) { CheckDlgButton(dlg->hwnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

// Text put in by the program is not an edit by the user: the modify flag is cleared. An
// unchanged text is left alone, so the caret and the flag of a field the user is in stay.
void put_text(int id, const char* text) {
    char now[kSoundFieldSize];
    GetDlgItemTextA(dlg->hwnd, id, now, sizeof now);
    if (std::strcmp(now, text) != 0) SetDlgItemTextA(dlg->hwnd, id, text);
    SendMessageA(item(id), EM_SETMODIFY, FALSE, 0);
}

void enable(int id, bool on) { EnableWindow(item(id), on ? TRUE : FALSE); }

void stop_sound() {
    if (sound_playing) SendMessageA(dlg->hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

// ---- fields ----

void read_entry_fields(ScheduleEntry* e) {
    EntryFieldTexts t;
    HWND h = dlg->hwnd;
    GetDlgItemTextA(h, IDC_SCHED_YEAR, t.year, sizeof t.year);
    GetDlgItemTextA(h, IDC_SCHED_MONTH, t.month, sizeof t.month);
    GetDlgItemTextA(h, IDC_SCHED_DAY, t.day, sizeof t.day);
    GetDlgItemTextA(h, IDC_SCHED_HOUR, t.hour, sizeof t.hour);
    GetDlgItemTextA(h, IDC_SCHED_MINUTE, t.minute, sizeof t.minute);
    GetDlgItemTextA(h, IDC_SCHED_MEMO, t.memo, sizeof t.memo);
    GetDlgItemTextA(h, IDC_SCHED_BEFORE, t.minutes_before, sizeof t.minutes_before);
    GetDlgItemTextA(h, IDC_SCHED_SOUND_FILE, t.sound_file, sizeof t.sound_file);
    t.holiday = checked(IDC_SCHED_HOLIDAY);
    t.scramble = checked(IDC_SCHED_SCRAMBLE);
    t.alarm_on = checked(IDC_SCHED_ALARM);
    t.sound_on = checked(IDC_SCHED_SOUND_ON);
    entry_from_field_texts(&t, e);
}

void update_alarm_controls(ScheduleEntry* e) {
    EntryFieldTexts t;
    field_texts_from_entry(e, &t);
    put_text(IDC_SCHED_BEFORE, t.minutes_before);
    put_text(IDC_SCHED_SOUND_FILE, t.sound_file);
    set_check(IDC_SCHED_ALARM, t.alarm_on);
    set_check(IDC_SCHED_SOUND_ON, t.sound_on);
    const AlarmEnables a = alarm_enables_for(e);
    enable(IDC_SCHED_ALARM, a.alarm);
    for (int id : {IDC_SCHED_BEFORE, IDC_SCHED_BEFORE_LABEL, IDC_SCHED_SOUND_ON}) enable(id, a.group);
    for (int id : {IDC_SCHED_SOUND_LABEL, IDC_SCHED_SOUND_FILE, IDC_SCHED_TRY_SOUND,
                   IDC_SCHED_BROWSE})
        enable(id, a.sound);
}

void show_entry_fields(ScheduleEntry* e) {
    EntryFieldTexts t;
    field_texts_from_entry(e, &t);
    put_text(IDC_SCHED_YEAR, t.year);
    put_text(IDC_SCHED_MONTH, t.month);
    put_text(IDC_SCHED_DAY, t.day);
    put_text(IDC_SCHED_HOUR, t.hour);
    put_text(IDC_SCHED_MINUTE, t.minute);
    put_text(IDC_SCHED_MEMO, t.memo);
    set_check(IDC_SCHED_HOLIDAY, t.holiday);
    set_check(IDC_SCHED_SCRAMBLE, t.scramble);
    update_alarm_controls(e);
}

void take_field_snapshot() {
    for (int id : kTrackedEdits) SendMessageA(item(id), EM_SETMODIFY, FALSE, 0);
    for (int k = 0; k < 4; ++k) dlg->checks[k] = checked(kTrackedChecks[k]);
}

bool fields_modified() {
    for (int id : kTrackedEdits)
        if (SendMessageA(item(id), EM_GETMODIFY, 0, 0)) return true;
    for (int k = 0; k < 4; ++k)
        if (dlg->checks[k] != checked(kTrackedChecks[k])) return true;
    return false;
}

// OK stays the default button whatever has the focus, so Enter always closes.
void set_edit_buttons(EditButtons b) {
    for (int id : {IDC_SCHED_ADD, IDC_SCHED_CHANGE, IDC_SCHED_DELETE})
        SendMessageA(item(id), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(item(IDOK), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    enable(IDC_SCHED_ADD, b.add);
    enable(IDC_SCHED_CHANGE, b.change);
    enable(IDC_SCHED_DELETE, b.del);
}

bool validate_entry_fields() {
    read_entry_fields(&dlg->work);
    bool memo_cleared = false;
    const char* msg = validate_entry(&dlg->work, &memo_cleared);
    if (memo_cleared) put_text(IDC_SCHED_MEMO, "");
    if (msg) {
        notice(dlg->hwnd, msg, kCaption, kErrorFlags);
        return false;
    }
    show_entry_fields(&dlg->work);
    return true;
}

// ---- list ----

// Row i of the list shows entry i: rows are appended in list order.
void append_row(int index) {
    ScheduleRowTexts r;
    schedule_row_texts(&schedule_list[index], &r);
    const char* const texts[kScheduleColumns] = {r.year, r.date, r.time, r.scramble, r.alarm, r.memo};
    list_view_append_row(dlg->list, r.image, texts, kScheduleColumns);
}

void select_only(int row) {
    LVITEMA it = {};
    it.stateMask = LVIS_SELECTED;
    it.state = 0;
    SendMessageA(dlg->list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
    it.state = LVIS_SELECTED;
    SendMessageA(dlg->list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
}

// Scrolls row into view unless it is in view already (a scroll costs a repaint).
void ensure_visible(HWND list, int row) {
    const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    const int per_page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    if (row >= top && row < top + per_page) return;
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// Rebuilds the whole list in the list order; the last-edited entry is selected (which loads
// it through the selection step). Keeping the position brings the old top row back to the
// top where the list is long enough. Drawing waits until the list is complete.
void fill_schedule_list(bool keep_position) {
    HWND list = dlg->list;
    const int top = keep_position ? static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)) : 0;
    schedule_compact();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int select = -1;
    for (int i = 0; i < schedulecount; ++i) {
        append_row(i);
        if (schedule_list[i].last_edited) select = i;
    }
    list_view_autosize(list, kScheduleColumnTable, kScheduleColumns);
    if (top > 0 && schedulecount > 0) {
        const int per_page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        int bottom = top + (per_page > 0 ? per_page - 1 : 0);
        if (bottom >= schedulecount) bottom = schedulecount - 1;
        ensure_visible(list, bottom);
        ensure_visible(list, top < schedulecount ? top : bottom);
    }
    if (select >= 0) {
        ensure_visible(list, select);
        select_only(select);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void init_list() {
    HWND list = dlg->list;
    dlg->images.reset(holiday_image_list_create());
    if (dlg->images)
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(dlg->images.get()));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    list_view_add_columns(list, kScheduleColumnTable, kScheduleColumns);
}

// ---- input filters ----

// Digits and backspace only; a double-byte character never gets through.
bool digit_char(WPARAM ch) {
    if (ch > 0xFF) return false;
    const signed char c = static_cast<signed char>(ch);
    return (c >= '0' && c <= '9') || c == 8;
}

LRESULT CALLBACK digit_edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && !digit_char(wp)) return 0;
    return CallWindowProcA(edit_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK day_edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && !digit_char(wp) && wp != '?' && wp != 'M' && wp != 'm') return 0;
    return CallWindowProcA(edit_proc, hwnd, msg, wp, lp);
}

void subclass_number_fields() {
    int k = 0;
    for (int id : kDigitEdits) dlg->subclass[k++].emplace(item(id), digit_edit_proc);
    dlg->subclass[k].emplace(item(IDC_SCHED_DAY), day_edit_proc);
    edit_proc = dlg->subclass[0]->previous();
}

// ---- actions ----

void on_init(HWND hwnd) {
    dlg->hwnd = hwnd;
    dlg->list = GetDlgItem(hwnd, IDC_SCHED_LIST);
    dlg->loading = true;
    dlg->timer = false;
    dlg->changed = false;
    for (const Limit& l : kLimits) SendMessageA(item(l.id), EM_LIMITTEXT, l.chars, 0);
    init_list();
    dlg->held = -1;
    fill_schedule_list(false);
    opening_work_entry(&dlg->work, dlg->opening.year, dlg->opening.month, dlg->opening.day);
    show_entry_fields(&dlg->work);
    set_edit_buttons(kButtonsOff);
    take_field_snapshot();
    dlg->loading = false;
    dlg->latched = false;
    subclass_number_fields();
}

void on_field_change(int id, int code) {
    stop_sound();
    if (dlg->loading) return;
    if (!dlg->latched) {
        dlg->loading = true;
        dlg->latched = fields_modified();
        if (dlg->latched) {
            read_entry_fields(&dlg->scratch);
            EditButtons b;
            if (edit_latches(dlg->held, &dlg->scratch, &b)) set_edit_buttons(b);
            else dlg->latched = false;
        }
        dlg->loading = false;
    }
    if (field_change_moves_alarm(id, code == EN_CHANGE)) {
        dlg->loading = true;
        read_entry_fields(&dlg->scratch);
        update_alarm_controls(&dlg->scratch);
        dlg->loading = false;
    }
}

void on_selection_change() {
    stop_sound();
    const int n = static_cast<int>(SendMessageA(dlg->list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (n == 0) {
        dlg->held = -1;
        return;
    }
    // Run from a fill within Add, Change or the opening, it leaves the loading state to them.
    const bool outer_loading = dlg->loading;
    dlg->loading = true;
    const int row = static_cast<int>(SendMessageA(dlg->list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                  LVNI_SELECTED));
    if (n == 1 && row >= 0 && row < schedulecount) {
        dlg->held = row;
        dlg->work = schedule_list[row];
    } else {
        dlg->held = -1;
        cleared_work_entry(&dlg->work);
    }
    show_entry_fields(&dlg->work);
    take_field_snapshot();
    set_edit_buttons(kButtonsDeleteOnly);
    dlg->loading = outer_loading;
    dlg->latched = false;
}

// Validates the fields into the work entry for Add or Change, with loading set; false
// (loading cleared, the fields as typed) when they may not be stored.
bool begin_store() {
    dlg->loading = true;
    if (!validate_entry_fields()) {
        dlg->loading = false;
        return false;
    }
    // The tick keeps checking alarms while the dialog is open: the entry rings at its new
    // time from now on, not only after the list is saved.
    entry_update_alarm_at(&dlg->work);
    return true;
}

// The end of a successful Add, Change or Delete.
void end_list_change() {
    dlg->loading = false;
    dlg->latched = false;
    dlg->changed = true;
}

void on_add() {
    stop_sound();
    if (schedulecount >= kMaxEntries) {
        notice(dlg->hwnd, kListFull, kCaption, kErrorFlags);
        return;
    }
    if (!begin_store()) return;
    if (!schedule_add(&dlg->work)) {
        dlg->loading = false;
        return;
    }
    fill_schedule_list(true);
    set_edit_buttons(kButtonsDeleteOnly);
    dlg->held = -1;
    take_field_snapshot();
    end_list_change();
}

void on_change() {
    stop_sound();
    // Change can be enabled after the selection was emptied: nothing is held to write over.
    if (!change_has_target(dlg->held, schedulecount)) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (!begin_store()) return;
    schedule_replace(dlg->held, &dlg->work);
    fill_schedule_list(true);
    take_field_snapshot();
    set_edit_buttons(kButtonsDeleteOnly);
    end_list_change();
}

void on_delete() {
    stop_sound();
    dlg->loading = true;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(dlg->list, LVM_GETNEXTITEM, row, LVNI_SELECTED));
        if (row < 0) break;
        if (row < schedulecount) schedule_list[row].holiday = kHolidayRemove;
    }
    set_last_edited(-1);
    fill_schedule_list(true);
    set_edit_buttons(kButtonsOff);
    cleared_work_entry(&dlg->work);
    dlg->held = -1;
    show_entry_fields(&dlg->work);
    take_field_snapshot();
    end_list_change();
}

void on_browse() {
    stop_sound();
    char path[kSoundFieldSize];
    GetDlgItemTextA(dlg->hwnd, IDC_SCHED_SOUND_FILE, path, sizeof path);
    char before[kSoundFieldSize];
    std::memcpy(before, path, sizeof path);
    if (!choose_file_from_resources(dlg->hwnd, IDS_SOUND_TITLE, path, sizeof path,
                                    IDS_SOUND_FILTER, 1))
        return;
    dlg->loading = true;
    SetDlgItemTextA(dlg->hwnd, IDC_SCHED_SOUND_FILE, path);
    dlg->loading = false;
    if (std::strcmp(path, before) != 0) {
        SendMessageA(item(IDC_SCHED_SOUND_FILE), EM_SETMODIFY, TRUE, 0);
        set_edit_buttons(browse_buttons(dlg->held));
    }
}

void on_try_sound() {
    if (sound_playing) {
        SendMessageA(dlg->hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
        return;
    }
    SetDlgItemTextA(dlg->hwnd, IDC_SCHED_TRY_SOUND, kTrySoundPlaying);
    char path[kSoundFieldSize];
    GetDlgItemTextA(dlg->hwnd, IDC_SCHED_SOUND_FILE, path, sizeof path);
    if (sound_start_file(dlg->hwnd, path)) {
        SetTimer(dlg->hwnd, kSoundTimer, kSoundPollMs, nullptr);
        dlg->timer = true;
    } else {
        SetDlgItemTextA(dlg->hwnd, IDC_SCHED_TRY_SOUND, kTrySoundIdle);
        MessageBeep(MB_ICONASTERISK);
    }
}

void on_sound_stopped() {
    if (sound_playing) sound_stop();
    if (dlg->timer) {
        KillTimer(dlg->hwnd, kSoundTimer);
        dlg->timer = false;
    }
    SetDlgItemTextA(dlg->hwnd, IDC_SCHED_TRY_SOUND, kTrySoundIdle);
}

void on_close() {
    stop_sound();
    if (fields_modified() && notice(dlg->hwnd, kCloseQuestion, kCaption, kQuestionFlags) == IDNO)
        return;
    for (auto& s : dlg->subclass) s.reset();
    EndDialog(dlg->hwnd, dlg->changed ? 1 : 0);
    SendMessageA(dlg->list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    dlg->images.reset();
}

INT_PTR on_command(int id, int code) {
    switch (id) {
    case IDOK: on_close(); return TRUE;
    case IDC_SCHED_ADD: on_add(); return TRUE;
    case IDC_SCHED_CHANGE: on_change(); return TRUE;
    case IDC_SCHED_DELETE: on_delete(); return TRUE;
    case IDC_SCHED_BROWSE: on_browse(); return TRUE;
    case IDC_SCHED_TRY_SOUND: on_try_sound(); return TRUE;
    case CMD_SOUND_STOPPED: on_sound_stopped(); return TRUE;
    default:
        if (!is_entry_field(id)) return FALSE;
        on_field_change(id, code);
        return TRUE;
    }
}

INT_PTR CALLBACK schedule_dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!dlg) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        on_init(hwnd);
        return TRUE;
    case WM_COMMAND:
        return on_command(LOWORD(wp), HIWORD(wp));
    case WM_NOTIFY: {
        const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
        if (h->idFrom == IDC_SCHED_LIST && h->code == LVN_ITEMCHANGED) on_selection_change();
        return FALSE;
    }
    case WM_TIMER:
        if (sound_playing) sound_poll();
        return TRUE;
    case WM_SYSCOMMAND:
        return close_runs_ok(hwnd, wp);
    default:
        return FALSE;
    }
}

}  // namespace

void schedule_dialog_set_notice_for_test(ScheduleNoticeFn fn) { notice = fn ? fn : message_box; }

int schedule_dialog(HWND owner, const ScheduleOpening& opening) {
    if (dlg) return 0;  // one schedule dialog at a time
    ScheduleDialog state;
    state.opening = opening;
    dlg = &state;
    const INT_PTR r = modal_dialog(owner, IDD_SCHEDULE, schedule_dialog_proc, &state);
    dlg = nullptr;
    return r == 1 ? 1 : 0;
}
