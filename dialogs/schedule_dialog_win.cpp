// The schedule dialog: the fields of one work entry above, the list of every entry below,
// and Add, Change and Delete working on the schedule list in memory. Its rules (how fields
// read and show, validation, row texts, which buttons an edit enables) are in
// schedule_fields and schedule_dialog_rules; this file moves them in and out of controls.
#include "dialogs/schedule_dialog_win.h"

#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <optional>

#include "config/cp932.h"
#include "config/handles_win.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/file_chooser_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/number_field.h"
#include "dialogs/repeat_dialog_win.h"
#include "dialogs/repeat_words.h"
#include "dialogs/schedule_dialog_rules.h"
#include "dialogs/schedule_fields.h"
#include "dialogs/schedule_list_view_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/sound_win.h"

namespace {

constexpr UINT kErrorFlags = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kQuestionFlags = MB_YESNO | MB_ICONINFORMATION;

// Edits whose modify flags tell that the user typed, and the check boxes compared with the
// snapshot.
const int kTrackedEdits[] = {IDC_SCHED_YEAR,       IDC_SCHED_MONTH,     IDC_SCHED_DAY,
                             IDC_SCHED_MEMO,       IDC_SCHED_HOUR,      IDC_SCHED_MINUTE,
                             IDC_SCHED_BEFORE,     IDC_SCHED_SOUND_FILE, IDC_SCHED_END_MONTH,
                             IDC_SCHED_END_DAY,    IDC_SCHED_END_HOUR,  IDC_SCHED_END_MINUTE,
                             IDC_SCHED_DAY_HOUR,   IDC_SCHED_DAY_MINUTE};
const int kTrackedChecks[4] = {IDC_SCHED_HOLIDAY, IDC_SCHED_SCRAMBLE, IDC_SCHED_ALARM,
                               IDC_SCHED_SOUND_ON};
const int kTrackedLists[2] = {IDC_SCHED_LEAD_UNIT, IDC_SCHED_DAY_ALARM};
struct Limit {
    int id, chars;
};
const Limit kLimits[] = {{IDC_SCHED_YEAR, 4},      {IDC_SCHED_MONTH, 2},      {IDC_SCHED_DAY, 2},
                         {IDC_SCHED_HOUR, 2},      {IDC_SCHED_MINUTE, 2},     {IDC_SCHED_BEFORE, 3},
                         {IDC_SCHED_MEMO, 80},     {IDC_SCHED_END_MONTH, 2},  {IDC_SCHED_END_DAY, 2},
                         {IDC_SCHED_END_HOUR, 2},  {IDC_SCHED_END_MINUTE, 2}, {IDC_SCHED_DAY_HOUR, 2},
                         {IDC_SCHED_DAY_MINUTE, 2}};
const int kDigitEdits[] = {IDC_SCHED_YEAR,      IDC_SCHED_MONTH,     IDC_SCHED_HOUR,
                           IDC_SCHED_MINUTE,    IDC_SCHED_BEFORE,    IDC_SCHED_END_MONTH,
                           IDC_SCHED_END_DAY,   IDC_SCHED_END_HOUR,  IDC_SCHED_END_MINUTE,
                           IDC_SCHED_DAY_HOUR,  IDC_SCHED_DAY_MINUTE};
constexpr int kSubclassed = static_cast<int>(std::size(kDigitEdits)) + 1;  // and the day field

// The result: at least one Add, Change or Delete succeeded.
struct ScheduleDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_SCHEDULE;
    static constexpr DialogClose kClose = DialogClose::kEscapeRunsOk;
    // Handed over by the caller.
    ScheduleList* schedule = nullptr;
    ScheduleOpening opening;
    SoundPlayer* sound = nullptr;  // the ♪ button's player; none: it only beeps
    ScheduleNoticeFn notice = message_box;
    ScheduleStored stored;
    OccurrenceAskFn ask = ask_occurrence_scope;
    // Working state.
    HWND hwnd = nullptr;
    HWND list = nullptr;
    ScheduleEntry work = {};
    ScheduleEntry scratch = {};
    int held = -1;
    bool loading = false;
    bool latched = false;
    bool checks[4] = {};
    int lists[2] = {};
    RepeatRule rule_shown = {};  // the rule at the last snapshot: a new one is an edit too
    char memo_before[kMemoFieldSize] = "";  // the memo as it was before the latest edit
    bool memo_fitting = false;              // the memo is being cut to its limit
    OwnedImageList images;
    std::optional<SubclassGuard> subclass[kSubclassed];
    WNDPROC edit_proc = nullptr;  // the edits' own procedure
    NumberFieldInput number_inputs[kSubclassed];  // kDigitEdits' then the day's

    NumberFieldInput* typed_input(int id);

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

private:
    HWND item(int id);
    bool checked(int id);
    void set_check(int id, bool on);
    int list_item(int id);
    void set_list_item(int id, int item);
    void put_text(int id, const char* text);
    void enable(int id, bool on);
    void stop_sound();
    void read_entry_fields(ScheduleEntry* e);
    void update_alarm_controls(ScheduleEntry* e);
    void show_entry_fields(ScheduleEntry* e);
    void take_field_snapshot();
    bool fields_modified();
    void set_edit_buttons(EditButtons b);
    bool validate_entry_fields();
    void append_row(int index);
    void clear_selection();
    void select_only(int row);
    void fill_schedule_list(bool keep_position);
    void init_list();
    void subclass_number_fields();
    void fill_choice_lists();
    void open_on(const ScheduleOpening& o);
    void on_field_change(int id, int code);
    void latch_edit();
    void show_rule(const RepeatRule& r);
    void on_repeat();
    bool occurrence_day(CalendarDate* day);
    bool change_this_day(const CalendarDate& day);
    void delete_this_day(const CalendarDate& day);
    void keep_memo_within_limit();
    void tell_stored();
    void on_selection_change();
    bool begin_store();
    void end_list_change();
    void on_add();
    void on_change();
    void on_delete();
    void on_browse();
    void on_try_sound();
    void on_sound_stopped();
    void on_close();
};

HWND ScheduleDialog::item(int id) { return GetDlgItem(hwnd, id); }

bool ScheduleDialog::checked(int id) { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }

void ScheduleDialog::set_check(int id, bool on) { CheckDlgButton(hwnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

int ScheduleDialog::list_item(int id) {
    const LRESULT k = SendDlgItemMessageA(hwnd, id, CB_GETCURSEL, 0, 0);
    return k == CB_ERR ? 0 : static_cast<int>(k);
}

void ScheduleDialog::set_list_item(int id, int item) { SendDlgItemMessageA(hwnd, id, CB_SETCURSEL, item, 0); }

// Text put in by the program is not an edit by the user: the modify flag is cleared. An
// unchanged text is left alone, so the caret and the flag of a field the user is in stay.
void ScheduleDialog::put_text(int id, const char* text) {
    char now[kSoundFieldSize];
    GetDlgItemTextA(hwnd, id, now, sizeof now);
    if (std::strcmp(now, text) != 0) SetDlgItemTextA(hwnd, id, text);
    SendMessageA(item(id), EM_SETMODIFY, FALSE, 0);
    if (id == IDC_SCHED_MEMO) cp932_copy(memo_before, sizeof memo_before, text);
}

void ScheduleDialog::enable(int id, bool on) { EnableWindow(item(id), on ? TRUE : FALSE); }

void ScheduleDialog::stop_sound() {
    if (sound && sound->playing()) SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

// ---- fields ----

void ScheduleDialog::read_entry_fields(ScheduleEntry* e) {
    EntryFieldTexts t;
    HWND h = hwnd;
    GetDlgItemTextA(h, IDC_SCHED_YEAR, t.year, sizeof t.year);
    GetDlgItemTextA(h, IDC_SCHED_MONTH, t.month, sizeof t.month);
    GetDlgItemTextA(h, IDC_SCHED_DAY, t.day, sizeof t.day);
    GetDlgItemTextA(h, IDC_SCHED_HOUR, t.hour, sizeof t.hour);
    GetDlgItemTextA(h, IDC_SCHED_MINUTE, t.minute, sizeof t.minute);
    GetDlgItemTextA(h, IDC_SCHED_MEMO, t.memo, sizeof t.memo);
    GetDlgItemTextA(h, IDC_SCHED_BEFORE, t.minutes_before, sizeof t.minutes_before);
    GetDlgItemTextA(h, IDC_SCHED_SOUND_FILE, t.sound_file, sizeof t.sound_file);
    GetDlgItemTextA(h, IDC_SCHED_END_MONTH, t.end_month, sizeof t.end_month);
    GetDlgItemTextA(h, IDC_SCHED_END_DAY, t.end_day, sizeof t.end_day);
    GetDlgItemTextA(h, IDC_SCHED_END_HOUR, t.end_hour, sizeof t.end_hour);
    GetDlgItemTextA(h, IDC_SCHED_END_MINUTE, t.end_minute, sizeof t.end_minute);
    GetDlgItemTextA(h, IDC_SCHED_DAY_HOUR, t.day_alarm_hour, sizeof t.day_alarm_hour);
    GetDlgItemTextA(h, IDC_SCHED_DAY_MINUTE, t.day_alarm_minute, sizeof t.day_alarm_minute);
    t.lead_unit = list_item(IDC_SCHED_LEAD_UNIT);
    t.day_alarm_day = list_item(IDC_SCHED_DAY_ALARM);
    t.holiday = checked(IDC_SCHED_HOLIDAY);
    t.scramble = checked(IDC_SCHED_SCRAMBLE);
    t.alarm_on = checked(IDC_SCHED_ALARM);
    t.sound_on = checked(IDC_SCHED_SOUND_ON);
    entry_from_field_texts(&t, e);
}

void ScheduleDialog::update_alarm_controls(ScheduleEntry* e) {
    EntryFieldTexts t;
    field_texts_from_entry(e, &t);
    put_text(IDC_SCHED_BEFORE, t.minutes_before);
    put_text(IDC_SCHED_SOUND_FILE, t.sound_file);
    put_text(IDC_SCHED_DAY_HOUR, t.day_alarm_hour);
    put_text(IDC_SCHED_DAY_MINUTE, t.day_alarm_minute);
    set_list_item(IDC_SCHED_LEAD_UNIT, t.lead_unit);
    set_list_item(IDC_SCHED_DAY_ALARM, t.day_alarm_day);
    set_check(IDC_SCHED_ALARM, t.alarm_on);
    set_check(IDC_SCHED_SOUND_ON, t.sound_on);
    const AlarmEnables a = alarm_enables_for(e);
    enable(IDC_SCHED_ALARM, a.alarm);
    enable(IDC_SCHED_SOUND_ON, a.group);
    for (int id : {IDC_SCHED_BEFORE, IDC_SCHED_LEAD_UNIT, IDC_SCHED_BEFORE_LABEL}) enable(id, a.lead);
    for (int id : {IDC_SCHED_DAY_ALARM, IDC_SCHED_DAY_HOUR, IDC_SCHED_DAY_UNIT, IDC_SCHED_DAY_MINUTE,
                   IDC_SCHED_DAY_LABEL})
        enable(id, a.day);
    for (int id : {IDC_SCHED_SOUND_LABEL, IDC_SCHED_SOUND_FILE, IDC_SCHED_TRY_SOUND,
                   IDC_SCHED_BROWSE})
        enable(id, a.sound);
}

void ScheduleDialog::show_entry_fields(ScheduleEntry* e) {
    EntryFieldTexts t;
    field_texts_from_entry(e, &t);
    put_text(IDC_SCHED_YEAR, t.year);
    put_text(IDC_SCHED_MONTH, t.month);
    put_text(IDC_SCHED_DAY, t.day);
    put_text(IDC_SCHED_HOUR, t.hour);
    put_text(IDC_SCHED_MINUTE, t.minute);
    put_text(IDC_SCHED_END_MONTH, t.end_month);
    put_text(IDC_SCHED_END_DAY, t.end_day);
    put_text(IDC_SCHED_END_HOUR, t.end_hour);
    put_text(IDC_SCHED_END_MINUTE, t.end_minute);
    put_text(IDC_SCHED_MEMO, t.memo);
    set_check(IDC_SCHED_HOLIDAY, t.holiday);
    set_check(IDC_SCHED_SCRAMBLE, t.scramble);
    show_rule(e->repeat);
    update_alarm_controls(e);
}

void ScheduleDialog::show_rule(const RepeatRule& r) {
    char words[128];
    repeat_rule_words(r, words, sizeof words);
    SetDlgItemTextA(hwnd, IDC_SCHED_REPEAT_TEXT, words);
}

void ScheduleDialog::take_field_snapshot() {
    for (int id : kTrackedEdits) SendMessageA(item(id), EM_SETMODIFY, FALSE, 0);
    for (int k = 0; k < 4; ++k) checks[k] = checked(kTrackedChecks[k]);
    for (int k = 0; k < 2; ++k) lists[k] = list_item(kTrackedLists[k]);
    rule_shown = work.repeat;
}

bool ScheduleDialog::fields_modified() {
    for (int id : kTrackedEdits)
        if (SendMessageA(item(id), EM_GETMODIFY, 0, 0)) return true;
    for (int k = 0; k < 4; ++k)
        if (checks[k] != checked(kTrackedChecks[k])) return true;
    for (int k = 0; k < 2; ++k)
        if (lists[k] != list_item(kTrackedLists[k])) return true;
    return std::memcmp(&rule_shown, &work.repeat, sizeof rule_shown) != 0;
}

// OK stays the default button whatever has the focus, so Enter always closes.
void ScheduleDialog::set_edit_buttons(EditButtons b) {
    for (int id : {IDC_SCHED_ADD, IDC_SCHED_CHANGE, IDC_SCHED_DELETE})
        SendMessageA(item(id), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(item(IDOK), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    enable(IDC_SCHED_ADD, b.add);
    enable(IDC_SCHED_CHANGE, b.change);
    enable(IDC_SCHED_DELETE, b.del);
}

bool ScheduleDialog::validate_entry_fields() {
    read_entry_fields(&work);
    bool memo_cleared = false;
    const char* msg = validate_entry(&work, &memo_cleared);
    if (memo_cleared) put_text(IDC_SCHED_MEMO, "");
    if (msg) {
        notice(hwnd, msg, kProgramName, kErrorFlags);
        return false;
    }
    show_entry_fields(&work);
    return true;
}

// ---- list ----

// Row i of the list shows entry i: rows are appended in list order.
void ScheduleDialog::append_row(int index) {
    ScheduleRowTexts r;
    schedule_row_texts(&schedule->entries[index], &r);
    const char* const texts[kScheduleColumns] = {r.year, r.date,  r.time, r.repeat,
                                                 r.scramble, r.alarm, r.memo};
    list_view_append_row(list, r.image, texts, kScheduleColumns);
}

void ScheduleDialog::clear_selection() {
    LVITEMA it = {};
    it.stateMask = LVIS_SELECTED;
    it.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
}

void ScheduleDialog::select_only(int row) {
    clear_selection();
    LVITEMA it = {};
    it.stateMask = LVIS_SELECTED;
    it.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
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
void ScheduleDialog::fill_schedule_list(bool keep_position) {
    const int top = keep_position ? static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)) : 0;
    schedule_compact(schedule);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int select = -1;
    for (int i = 0; i < schedule->count; ++i) {
        append_row(i);
        if (schedule->entries[i].last_edited) select = i;
    }
    list_view_autosize(list, kScheduleColumnTable, kScheduleColumns);
    if (top > 0 && schedule->count > 0) {
        const int per_page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        int bottom = top + (per_page > 0 ? per_page - 1 : 0);
        if (bottom >= schedule->count) bottom = schedule->count - 1;
        ensure_visible(list, bottom);
        ensure_visible(list, top < schedule->count ? top : bottom);
    }
    if (select >= 0) {
        ensure_visible(list, select);
        select_only(select);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ScheduleDialog::init_list() {
    images.reset(holiday_image_list_create());
    if (images)
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    list_view_add_columns(list, kScheduleColumnTable, kScheduleColumns);
}

// ---- input filters ----

// The edits' own procedure, from the record of the dialog the edit sits in.
LRESULT call_edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const ScheduleDialog* d = dialog_state<ScheduleDialog>(GetParent(hwnd));
    return d && d->edit_proc ? CallWindowProcA(d->edit_proc, hwnd, msg, wp, lp)
                             : DefWindowProcA(hwnd, msg, wp, lp);
}

// Digits and backspace (and the characters of also), full-width digits typed with the input
// method on as their ASCII digits; nothing else gets through.
LRESULT filtered_number_message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const char* also) {
    if (msg != WM_CHAR && msg != WM_IME_CHAR) return call_edit_proc(hwnd, msg, wp, lp);
    ScheduleDialog* d = dialog_state<ScheduleDialog>(GetParent(hwnd));
    NumberFieldInput none;
    NumberFieldInput* input = d ? d->typed_input(GetDlgCtrlID(hwnd)) : &none;
    const unsigned c = number_field_char(input, static_cast<unsigned>(wp), msg == WM_IME_CHAR, also);
    if (c == 0) return 0;
    return call_edit_proc(hwnd, WM_CHAR, c, lp);
}

LRESULT CALLBACK digit_edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return filtered_number_message(hwnd, msg, wp, lp, nullptr);
}

LRESULT CALLBACK day_edit_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return filtered_number_message(hwnd, msg, wp, lp, "?Mm");
}

NumberFieldInput* ScheduleDialog::typed_input(int id) {
    for (size_t i = 0; i < sizeof kDigitEdits / sizeof kDigitEdits[0]; ++i)
        if (kDigitEdits[i] == id) return &number_inputs[i];
    return &number_inputs[sizeof number_inputs / sizeof number_inputs[0] - 1];
}

void ScheduleDialog::subclass_number_fields() {
    int k = 0;
    for (int id : kDigitEdits) subclass[k++].emplace(item(id), digit_edit_proc);
    subclass[k].emplace(item(IDC_SCHED_DAY), day_edit_proc);
    edit_proc = subclass[0]->previous();
}

void ScheduleDialog::fill_choice_lists() {
    for (const char* unit : kLeadUnits)
        SendDlgItemMessageA(hwnd, IDC_SCHED_LEAD_UNIT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
    for (const char* day : kDayAlarmDays)
        SendDlgItemMessageA(hwnd, IDC_SCHED_DAY_ALARM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(day));
}

// ---- actions ----

INT_PTR ScheduleDialog::init(HWND dlg) {
    hwnd = dlg;
    list = GetDlgItem(hwnd, IDC_SCHED_LIST);
    // On a screen too short for it (a large DPI), the list gives up rows, keeping a few.
    shrink_dialog_to_work_area(hwnd, list, kLeastListHeight);
    loading = true;
    result = false;
    for (const Limit& l : kLimits) SendMessageA(item(l.id), EM_LIMITTEXT, l.chars, 0);
    init_list();
    fill_choice_lists();
    held = -1;
    open_on(opening);
    take_field_snapshot();
    loading = false;
    latched = false;
    subclass_number_fields();
    return TRUE;
}

// The entry asked for is selected and shown. Opened on a day without one, the list shows that
// day's entries and holds none, so that the fields make a new entry for the day; opened from
// the menu, the entry last added or changed is held.
void ScheduleDialog::open_on(const ScheduleOpening& o) {
    const bool select = o.select >= 0 && o.select < schedule_live_count(*schedule);
    if (select) set_last_edited(schedule, o.select);
    fill_schedule_list(false);
    set_edit_buttons(select && held >= 0 ? kButtonsDeleteOnly : kButtonsOff);
    if (select && held >= 0) return;
    const bool on_day = o.year != -1 && o.month != -1 && o.day != -1;
    if (on_day) {
        clear_selection();
        for (int i = 0; i < schedule->count; ++i) {
            if (entry_on_date(&schedule->entries[i], o.year, o.month, o.day)) {
                ensure_visible(list, i);
                break;
            }
        }
    }
    opening_work_entry(&work, o.year, o.month, o.day);
    show_entry_fields(&work);
}

// An edit with month, day and memo present offers Add, and Change while an entry is held.
void ScheduleDialog::latch_edit() {
    loading = true;
    latched = fields_modified();
    if (latched) {
        scratch = work;
        read_entry_fields(&scratch);
        EditButtons b;
        if (edit_latches(held, &scratch, &b)) set_edit_buttons(b);
        else latched = false;
    }
    loading = false;
}

void ScheduleDialog::on_field_change(int id, int code) {
    stop_sound();
    if (loading) return;
    if (!latched) latch_edit();
    if (field_change_moves_alarm(id, code == EN_CHANGE)) {
        loading = true;
        scratch = work;
        read_entry_fields(&scratch);
        update_alarm_controls(&scratch);
        loading = false;
    }
    // Without a year the rule goes, and comes back with one.
    if (code == EN_CHANGE && (id == IDC_SCHED_YEAR || id == IDC_SCHED_DAY)) {
        scratch = work;
        read_entry_fields(&scratch);
        show_rule(scratch.repeat);
    }
}

// The rule is chosen in a dialog of its own, for the date in the fields; a new rule counts as
// an edit of the entry.
void ScheduleDialog::on_repeat() {
    stop_sound();
    scratch = work;
    read_entry_fields(&scratch);
    CalendarDate start;
    if (!repeat_start_of(scratch, &start)) {
        notice(hwnd, kRepeatNeedsDate, kProgramName, kErrorFlags);
        return;
    }
    RepeatRule rule = work.repeat;
    if (!repeat_dialog(hwnd, start, &rule, notice)) return;
    work.repeat = rule;
    show_rule(rule);
    if (!latched) latch_edit();
}

// The memo stays within its bytes whatever the edit control counts (bytes on Windows,
// characters under Wine) and however the text came in (typed, pasted, composed): what an
// edit inserted beyond the limit is taken out again, at a character boundary, with the
// system sound. The edit's positions are bytes or characters as the control counts them;
// the caret, just after the insertion, tells which.
void ScheduleDialog::keep_memo_within_limit() {
    HWND edit = item(IDC_SCHED_MEMO);
    char now[2 * kMemoFieldSize] = "";
    GetWindowTextA(edit, now, sizeof now);
    MemoCut cut;
    if (!memo_cut(memo_before, now, kMemoKeep, &cut)) {
        cp932_copy(memo_before, sizeof memo_before, now);
        return;
    }
    DWORD from = 0, caret = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&caret));
    const bool in_chars =
        caret != static_cast<DWORD>(cut.end) && caret == static_cast<DWORD>(cp932_chars_in(now, cut.end));
    const size_t keep_end = cut.start + cut.keep;
    memo_fitting = true;
    if (caret == static_cast<DWORD>(cut.end) || in_chars) {
        const DWORD a = static_cast<DWORD>(in_chars ? cp932_chars_in(now, keep_end) : keep_end);
        const DWORD b = static_cast<DWORD>(in_chars ? cp932_chars_in(now, cut.end) : cut.end);
        SendMessageA(edit, EM_SETSEL, a, b);
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    } else {
        // The caret is elsewhere: the whole text is set again, cut.
        char fitted[2 * kMemoFieldSize];
        std::memcpy(fitted, now, keep_end);
        std::strcpy(fitted + keep_end, now + cut.end);
        SetWindowTextA(edit, fitted);
        SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    }
    memo_fitting = false;
    MessageBeep(MB_OK);
    GetWindowTextA(edit, now, sizeof now);
    cp932_copy(memo_before, sizeof memo_before, now);
}

void ScheduleDialog::on_selection_change() {
    stop_sound();
    const int n = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (n == 0) {
        held = -1;
        return;
    }
    // Run from a fill within Add, Change or the opening, it leaves the loading state to them.
    const bool outer_loading = loading;
    loading = true;
    const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                  LVNI_SELECTED));
    if (n == 1 && row >= 0 && row < schedule->count) {
        held = row;
        work = schedule->entries[row];
    } else {
        held = -1;
        cleared_work_entry(&work);
    }
    show_entry_fields(&work);
    take_field_snapshot();
    set_edit_buttons(kButtonsDeleteOnly);
    loading = outer_loading;
    latched = false;
}

// Validates the fields into the work entry for Add or Change, with loading set; false
// (loading cleared, the fields as typed) when they may not be stored.
bool ScheduleDialog::begin_store() {
    loading = true;
    if (!validate_entry_fields()) {
        loading = false;
        return false;
    }
    // The tick keeps checking alarms while the dialog is open: the entry rings at its new
    // time from now on, not only after the list is saved.
    entry_update_alarm_at(&work);
    return true;
}

// The end of a successful Add, Change or Delete.
void ScheduleDialog::end_list_change() {
    loading = false;
    latched = false;
    result = true;
}

void ScheduleDialog::on_add() {
    stop_sound();
    if (schedule->count >= kMaxEntries) {
        notice(hwnd, kScheduleListFull, kProgramName, kErrorFlags);
        return;
    }
    if (!begin_store()) return;
    as_new_entry(&work);
    if (!schedule_add(schedule, &work)) {
        loading = false;
        return;
    }
    // The new entry is selected and held: Change works on it at once.
    fill_schedule_list(true);
    set_edit_buttons(kButtonsDeleteOnly);
    take_field_snapshot();
    end_list_change();
    tell_stored();
}

// The day a change or delete of the held entry may be for alone, when the dialog was opened
// on a day the entry repeats on.
bool ScheduleDialog::occurrence_day(CalendarDate* day) {
    return change_has_target(held, schedule->count) &&
           occurrence_on_opening_day(schedule->entries[held], opening, day);
}

// "この日だけ変更": the series leaves the day out and the edited fields become an entry of
// their own for it, which is then selected. False when nothing could be stored.
bool ScheduleDialog::change_this_day(const CalendarDate& day) {
    if (schedule->count >= kMaxEntries) {
        notice(hwnd, kScheduleListFull, kProgramName, kErrorFlags);
        return false;
    }
    ScheduleEntry series = schedule->entries[held];
    ScheduleEntry single;
    if (!change_one_occurrence(&series, day, work, &single)) {
        notice(hwnd, kSkipsInvalid, kProgramName, kErrorFlags);
        return false;
    }
    entry_update_alarm_at(&single);
    schedule_replace(schedule, held, &series);
    return schedule_add(schedule, &single) != 0;
}

// "この日だけ削除": the series leaves the day out and stays selected.
void ScheduleDialog::delete_this_day(const CalendarDate& day) {
    ScheduleEntry series = schedule->entries[held];
    if (!entry_skip_day(&series, day)) {
        notice(hwnd, kSkipsInvalid, kProgramName, kErrorFlags);
        return;
    }
    loading = true;
    schedule_replace(schedule, held, &series);
    fill_schedule_list(true);
    set_edit_buttons(kButtonsDeleteOnly);
    take_field_snapshot();
    end_list_change();
}

void ScheduleDialog::on_change() {
    stop_sound();
    // Change can be enabled after the selection was emptied: nothing is held to write over.
    if (!change_has_target(held, schedule->count)) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (!begin_store()) return;
    // Asked only about fields that may be stored.
    CalendarDate day;
    OccurrenceScope scope = OccurrenceScope::kAll;
    if (occurrence_day(&day)) scope = ask(hwnd, false);
    if (scope == OccurrenceScope::kCancel) {
        loading = false;
        return;
    }
    if (scope == OccurrenceScope::kThisDay) {
        if (!change_this_day(day)) {
            loading = false;
            return;
        }
    } else {
        schedule_replace(schedule, held, &work);
    }
    fill_schedule_list(true);
    take_field_snapshot();
    set_edit_buttons(kButtonsDeleteOnly);
    end_list_change();
    tell_stored();
}

// The stored entry is the last-edited one, wherever the sort put it.
void ScheduleDialog::tell_stored() {
    if (!stored.fn) return;
    for (int i = 0; i < schedule->count; ++i) {
        if (schedule->entries[i].last_edited) {
            stored.fn(stored.context, *schedule, i);
            return;
        }
    }
}

void ScheduleDialog::on_delete() {
    stop_sound();
    CalendarDate day;
    if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1 && occurrence_day(&day)) {
        const OccurrenceScope scope = ask(hwnd, true);
        if (scope == OccurrenceScope::kCancel) return;
        if (scope == OccurrenceScope::kThisDay) {
            delete_this_day(day);
            return;
        }
    }
    loading = true;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED));
        if (row < 0) break;
        if (row >= schedule->count) continue;
        // An import of a file still holding it does not bring it back unchanged.
        schedule->deleted.remember(schedule->entries[row]);
        schedule->entries[row].holiday = kHolidayRemove;
        schedule_changed(schedule);
    }
    set_last_edited(schedule, -1);
    fill_schedule_list(true);
    set_edit_buttons(kButtonsOff);
    cleared_work_entry(&work);
    held = -1;
    show_entry_fields(&work);
    take_field_snapshot();
    end_list_change();
}

void ScheduleDialog::on_browse() {
    stop_sound();
    char path[kSoundFieldSize];
    GetDlgItemTextA(hwnd, IDC_SCHED_SOUND_FILE, path, sizeof path);
    char before[kSoundFieldSize];
    std::memcpy(before, path, sizeof path);
    if (!choose_file_from_resources(hwnd, IDS_SOUND_TITLE, path, sizeof path,
                                    IDS_SOUND_FILTER, 1))
        return;
    loading = true;
    SetDlgItemTextA(hwnd, IDC_SCHED_SOUND_FILE, path);
    loading = false;
    if (std::strcmp(path, before) != 0) {
        SendMessageA(item(IDC_SCHED_SOUND_FILE), EM_SETMODIFY, TRUE, 0);
        set_edit_buttons(browse_buttons(held));
    }
}

// The player polls the sound itself and says when it has stopped (CMD_SOUND_STOPPED).
void ScheduleDialog::on_try_sound() {
    if (sound && sound->playing()) {
        SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
        return;
    }
    SetDlgItemTextA(hwnd, IDC_SCHED_TRY_SOUND, kTrySoundPlaying);
    char path[kSoundFieldSize];
    GetDlgItemTextA(hwnd, IDC_SCHED_SOUND_FILE, path, sizeof path);
    if (!sound || !sound->start_file(hwnd, path)) {
        SetDlgItemTextA(hwnd, IDC_SCHED_TRY_SOUND, kTrySoundIdle);
        MessageBeep(MB_ICONASTERISK);
    }
}

void ScheduleDialog::on_sound_stopped() {
    if (sound && sound->playing()) sound->stop();
    SetDlgItemTextA(hwnd, IDC_SCHED_TRY_SOUND, kTrySoundIdle);
}

void ScheduleDialog::on_close() {
    stop_sound();
    if (fields_modified() && notice(hwnd, kScheduleCloseQuestion, kProgramName, kQuestionFlags) == IDNO)
        return;
    for (auto& s : subclass) s.reset();
    end_dialog(hwnd, *this, result);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    images.reset();
}

INT_PTR ScheduleDialog::command(HWND, int id, int code) {
    switch (id) {
    case IDOK: on_close(); return TRUE;
    case IDC_SCHED_ADD: on_add(); return TRUE;
    case IDC_SCHED_CHANGE: on_change(); return TRUE;
    case IDC_SCHED_DELETE: on_delete(); return TRUE;
    case IDC_SCHED_BROWSE: on_browse(); return TRUE;
    case IDC_SCHED_TRY_SOUND: on_try_sound(); return TRUE;
    case IDC_SCHED_REPEAT: on_repeat(); return TRUE;
    case CMD_SOUND_STOPPED: on_sound_stopped(); return TRUE;
    default:
        if (!is_entry_field(id)) return FALSE;
        if (id == IDC_SCHED_MEMO) {
            if (memo_fitting) return TRUE;
            if (code == EN_CHANGE) keep_memo_within_limit();
            if (code == EN_MAXTEXT) MessageBeep(MB_OK);
        }
        on_field_change(id, code);
        return TRUE;
    }
}

INT_PTR ScheduleDialog::message(HWND, UINT msg, WPARAM, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: {
        const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
        if (h->idFrom == IDC_SCHED_LIST && h->code == LVN_ITEMCHANGED) on_selection_change();
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool schedule_dialog(HWND owner, const ScheduleOpening& opening, ScheduleList* list,
                     SoundPlayer* sound, ScheduleNoticeFn notice, ScheduleStored stored,
                     OccurrenceAskFn ask) {
    ScheduleDialog d;
    d.schedule = list;
    d.opening = opening;
    d.sound = sound;
    d.notice = notice ? notice : message_box;
    d.stored = stored;
    d.ask = ask ? ask : ask_occurrence_scope;
    return run_dialog(owner, d);
}
