#include "dialogs/display_month_win.h"

#include "calendar/date.h"
#include "calendar/month_step.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/display_month.h"
#include "dialogs/message_box_win.h"
#include "resources/resource.h"

namespace {

const char kCaption[] = "Tavelspore";
const char kInvalid[] = "表示月の設定が無効です";

struct DisplayMonth {
    HWND main_window;
    int* year;
    int* month;
    int open_year, open_month;
};

DisplayMonth* state_of(HWND dlg) { return dialog_state<DisplayMonth>(dlg); }

struct FieldText {
    char text[kMonthFieldChars + 1];
};

FieldText field_text(HWND dlg, int id) {
    FieldText f = {""};
    GetDlgItemTextA(dlg, id, f.text, sizeof f.text);
    return f;
}

void repaint_main(const DisplayMonth& s) {
    InvalidateRect(s.main_window, nullptr, TRUE);
    UpdateWindow(s.main_window);
}

// Field text is put as "%d"; each raises EN_CHANGE, which applies the same value again.
void show_year(HWND dlg, const DisplayMonth& s) { SetDlgItemInt(dlg, IDC_DM_YEAR, *s.year, TRUE); }
void show_month(HWND dlg, const DisplayMonth& s) { SetDlgItemInt(dlg, IDC_DM_MONTH, *s.month, TRUE); }

void on_init(HWND dlg, DisplayMonth* s) {
    keep_dialog_state(dlg, s);
    s->open_year = *s->year;
    s->open_month = *s->month;
    SendDlgItemMessageA(dlg, IDC_DM_YEAR, EM_LIMITTEXT, kYearFieldLimit, 0);
    SendDlgItemMessageA(dlg, IDC_DM_MONTH, EM_LIMITTEXT, kMonthFieldLimit, 0);
    show_year(dlg, *s);
    show_month(dlg, *s);
}

// Typing: a field that now names a valid year or month puts it on show.
void on_field_changed(HWND dlg, DisplayMonth& s, int id) {
    const FieldText f = field_text(dlg, id);
    const bool applied = id == IDC_DM_YEAR ? live_year(f.text, s.year) : live_month(f.text, s.month);
    if (applied) repaint_main(s);
}

TypedMonth typed_fields(HWND dlg) {
    return typed_month_of(field_text(dlg, IDC_DM_YEAR).text, field_text(dlg, IDC_DM_MONTH).text);
}

// The fields and the main window follow even when a step is refused at a limit.
void on_step(HWND dlg, DisplayMonth& s, int id) {
    const TypedMonth typed = typed_fields(dlg);
    switch (id) {
    case IDC_DM_YEAR_UP: step_year_up(&typed, s.year); break;
    case IDC_DM_YEAR_DOWN: step_year_down(&typed, s.year); break;
    case IDC_DM_MONTH_UP: step_month_up(&typed, s.year, s.month); break;
    case IDC_DM_MONTH_DOWN: step_month_down(&typed, s.year, s.month); break;
    }
    show_year(dlg, s);
    if (id == IDC_DM_MONTH_UP || id == IDC_DM_MONTH_DOWN) show_month(dlg, s);
    repaint_main(s);
}

void on_reset(HWND dlg, DisplayMonth& s) {
    get_today(s.year, s.month, nullptr);
    show_year(dlg, s);
    show_month(dlg, s);
    repaint_main(s);
}

void on_ok(HWND dlg, DisplayMonth& s) {
    int y, m;
    if (display_month_check(field_text(dlg, IDC_DM_YEAR).text, field_text(dlg, IDC_DM_MONTH).text,
                            &y, &m)) {
        *s.year = y;
        *s.month = m;
        EndDialog(dlg, 1);
        return;
    }
    message_box(dlg, kInvalid, kCaption, MB_OK | MB_ICONEXCLAMATION);
    *s.year = s.open_year;
    *s.month = s.open_month;
    show_year(dlg, s);
    show_month(dlg, s);
    repaint_main(s);
}

INT_PTR on_command(HWND dlg, int id, int code) {
    DisplayMonth* s = state_of(dlg);
    if (!s) return FALSE;
    switch (id) {
    case IDC_DM_YEAR:
    case IDC_DM_MONTH:
        if (code == EN_CHANGE) on_field_changed(dlg, *s, id);
        return TRUE;
    case IDC_DM_YEAR_UP:
    case IDC_DM_YEAR_DOWN:
    case IDC_DM_MONTH_UP:
    case IDC_DM_MONTH_DOWN:
        on_step(dlg, *s, id);
        return TRUE;
    case IDC_DM_RESET:
        on_reset(dlg, *s);
        return TRUE;
    case IDOK:
        on_ok(dlg, *s);
        return TRUE;
    default:
        return FALSE;  // Esc included: only a valid OK closes the dialog
    }
}

INT_PTR CALLBACK display_month_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        on_init(dlg, reinterpret_cast<DisplayMonth*>(lp));
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

void display_month_dialog(HWND main_window, ViewState& view) {
    DisplayMonth s = {main_window, &view.shown_year, &view.shown_month, view.shown_year,
                      view.shown_month};
    modal_dialog(main_window, IDD_DISPLAY_MONTH, display_month_proc, &s);
}
