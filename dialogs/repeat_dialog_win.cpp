// The repeat dialog: the kind, the interval, the weekdays, the monthly way and the end, moved
// in and out of their controls; what they read as and enable comes from repeat_dialog.h.
#include "dialogs/repeat_dialog_win.h"

#include "dialogs/dialog_frame_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/repeat_dialog.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

constexpr UINT kRepeatErrorFlags = MB_OK | MB_ICONEXCLAMATION;

const int kChoiceIds[5] = {IDC_REP_NONE, IDC_REP_DAILY, IDC_REP_WEEKLY, IDC_REP_MONTHLY,
                           IDC_REP_YEARLY};
const int kEndIds[3] = {IDC_REP_END_NEVER, IDC_REP_END_DATE, IDC_REP_END_COUNT};
struct RepeatLimit {
    int id, chars;
};
const RepeatLimit kRepeatLimits[] = {{IDC_REP_INTERVAL, 2}, {IDC_REP_MONTH_DAYS, 24},
                                     {IDC_REP_UNTIL, 10}, {IDC_REP_COUNT, 4}};

struct RepeatDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_REPEAT;
    // Handed over.
    CalendarDate start = {};
    RepeatRule original = {};
    RepeatNoticeFn notice = message_box;
    // Working state and the answer.
    HWND hwnd = nullptr;
    RepeatFields fields = {};
    bool loading = false;
    bool touched = false;  // something was changed: OK reads the fields
    RepeatRule chosen = {};

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);

private:
    bool checked(int id) { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
    void set_check(int id, bool on) { CheckDlgButton(hwnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    void enable(int id, bool on) { EnableWindow(GetDlgItem(hwnd, id), on ? TRUE : FALSE); }
    void read_fields();
    void put_fields();
    void update_enables();
    void refill(void (*choose)(RepeatDialog&));
    void on_ok();
};

void RepeatDialog::read_fields() {
    for (int k = 0; k < 5; ++k)
        if (checked(kChoiceIds[k])) fields.choice = static_cast<RepeatChoice>(k);
    GetDlgItemTextA(hwnd, IDC_REP_INTERVAL, fields.interval, sizeof fields.interval);
    for (int w = 0; w < 7; ++w) fields.weekday[w] = checked(IDC_REP_WEEKDAY0 + w);
    fields.monthly_by = checked(IDC_REP_BY_WEEKDAY) ? MonthlyBy::kWeekday : MonthlyBy::kDate;
    GetDlgItemTextA(hwnd, IDC_REP_MONTH_DAYS, fields.month_days, sizeof fields.month_days);
    fields.last_day = checked(IDC_REP_LAST_DAY);
    for (int k = 0; k < kNthSlots; ++k) fields.nth[k] = checked(IDC_REP_NTH0 + k);
    for (int k = 0; k < 3; ++k)
        if (checked(kEndIds[k])) fields.end = static_cast<RepeatEndChoice>(k);
    GetDlgItemTextA(hwnd, IDC_REP_UNTIL, fields.until, sizeof fields.until);
    GetDlgItemTextA(hwnd, IDC_REP_COUNT, fields.count, sizeof fields.count);
}

void RepeatDialog::put_fields() {
    const bool outer = loading;
    loading = true;
    for (int k = 0; k < 5; ++k) set_check(kChoiceIds[k], static_cast<int>(fields.choice) == k);
    SetDlgItemTextA(hwnd, IDC_REP_INTERVAL, fields.interval);
    for (int w = 0; w < 7; ++w) set_check(IDC_REP_WEEKDAY0 + w, fields.weekday[w]);
    set_check(IDC_REP_BY_DATE, fields.monthly_by == MonthlyBy::kDate);
    set_check(IDC_REP_BY_WEEKDAY, fields.monthly_by == MonthlyBy::kWeekday);
    SetDlgItemTextA(hwnd, IDC_REP_MONTH_DAYS, fields.month_days);
    set_check(IDC_REP_LAST_DAY, fields.last_day);
    for (int k = 0; k < kNthSlots; ++k) set_check(IDC_REP_NTH0 + k, fields.nth[k]);
    for (int k = 0; k < 3; ++k) set_check(kEndIds[k], static_cast<int>(fields.end) == k);
    SetDlgItemTextA(hwnd, IDC_REP_UNTIL, fields.until);
    SetDlgItemTextA(hwnd, IDC_REP_COUNT, fields.count);
    loading = outer;
}

void RepeatDialog::update_enables() {
    const RepeatEnables e = repeat_enables(fields);
    SetDlgItemTextA(hwnd, IDC_REP_UNIT, repeat_interval_unit(fields.choice));
    enable(IDC_REP_INTERVAL, e.interval);
    for (int w = 0; w < 7; ++w) enable(IDC_REP_WEEKDAY0 + w, e.weekdays);
    enable(IDC_REP_BY_DATE, e.monthly);
    enable(IDC_REP_BY_WEEKDAY, e.monthly);
    enable(IDC_REP_MONTH_DAYS, e.month_days);
    enable(IDC_REP_LAST_DAY, e.month_days);
    for (int k = 0; k < kNthSlots; ++k) enable(IDC_REP_NTH0 + k, e.nth);
    for (int id : kEndIds) enable(id, e.end);
    enable(IDC_REP_UNTIL, e.until);
    enable(IDC_REP_COUNT, e.count);
}

// A choice made: the fields are read, what the choice needs is filled in, and shown.
void RepeatDialog::refill(void (*choose)(RepeatDialog&)) {
    read_fields();
    if (choose) choose(*this);
    put_fields();
    update_enables();
    touched = true;
}

INT_PTR RepeatDialog::init(HWND dlg) {
    hwnd = dlg;
    loading = true;
    for (const RepeatLimit& l : kRepeatLimits)
        SendDlgItemMessageA(dlg, l.id, EM_LIMITTEXT, l.chars, 0);
    repeat_fields_from_rule(original, start, &fields);
    put_fields();
    update_enables();
    loading = false;
    touched = false;
    // The focus starts on the kind that is chosen, where the arrow keys change it.
    SetFocus(GetDlgItem(dlg, kChoiceIds[static_cast<int>(fields.choice)]));
    return FALSE;
}

void RepeatDialog::on_ok() {
    if (!touched) {
        chosen = original;
        end_dialog(hwnd, *this, true);
        return;
    }
    read_fields();
    RepeatRule r;
    if (const char* msg = repeat_rule_from_fields(fields, start, &r)) {
        notice(hwnd, msg, kProgramName, kRepeatErrorFlags);
        return;
    }
    chosen = r;
    end_dialog(hwnd, *this, true);
}

INT_PTR RepeatDialog::command(HWND, int id, int code) {
    switch (id) {
    case IDOK: on_ok(); return TRUE;
    case IDCANCEL: end_dialog(hwnd, *this, false); return TRUE;
    case IDC_REP_NONE: case IDC_REP_DAILY: case IDC_REP_WEEKLY: case IDC_REP_MONTHLY:
    case IDC_REP_YEARLY:
        if (code == BN_CLICKED && !loading)
            refill([](RepeatDialog& d) { repeat_fields_choose(&d.fields, d.fields.choice, d.start); });
        return TRUE;
    case IDC_REP_BY_DATE: case IDC_REP_BY_WEEKDAY:
        if (code == BN_CLICKED && !loading)
            refill([](RepeatDialog& d) {
                repeat_fields_choose_monthly(&d.fields, d.fields.monthly_by, d.start);
            });
        return TRUE;
    case IDC_REP_END_NEVER: case IDC_REP_END_DATE: case IDC_REP_END_COUNT:
        if (code == BN_CLICKED && !loading) refill(nullptr);
        return TRUE;
    default:
        // Any other box or field: what it holds is read at OK.
        if (!loading && (code == BN_CLICKED || code == EN_CHANGE)) touched = true;
        return FALSE;
    }
}

}  // namespace

bool repeat_dialog(HWND owner, const CalendarDate& start, RepeatRule* rule, RepeatNoticeFn notice) {
    RepeatDialog d;
    d.start = start;
    d.original = *rule;
    d.notice = notice ? notice : message_box;
    if (!run_dialog(owner, d)) return false;
    *rule = d.chosen;
    return true;
}
