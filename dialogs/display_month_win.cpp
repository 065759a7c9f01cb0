#include "dialogs/display_month_win.h"

#include "calendar/date.h"
#include "calendar/month_step.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/display_month.h"
#include "dialogs/message_box_win.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

struct DisplayMonth : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_DISPLAY_MONTH;
    static constexpr DialogClose kClose = DialogClose::kRunsOk;
    HWND main_window = nullptr;
    int* year = nullptr;
    int* month = nullptr;
    int open_year = 0, open_month = 0;

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
};

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

INT_PTR DisplayMonth::init(HWND dlg) {
    open_year = *year;
    open_month = *month;
    SendDlgItemMessageA(dlg, IDC_DM_YEAR, EM_LIMITTEXT, kYearFieldLimit, 0);
    SendDlgItemMessageA(dlg, IDC_DM_MONTH, EM_LIMITTEXT, kMonthFieldLimit, 0);
    show_year(dlg, *this);
    show_month(dlg, *this);
    return TRUE;
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
        end_dialog(dlg, s, true);
        return;
    }
    message_box(dlg, kDisplayMonthInvalid, kProgramName, MB_OK | MB_ICONEXCLAMATION);
    *s.year = s.open_year;
    *s.month = s.open_month;
    show_year(dlg, s);
    show_month(dlg, s);
    repaint_main(s);
}

INT_PTR DisplayMonth::command(HWND dlg, int id, int code) {
    switch (id) {
    case IDC_DM_YEAR:
    case IDC_DM_MONTH:
        if (code == EN_CHANGE) on_field_changed(dlg, *this, id);
        return TRUE;
    case IDC_DM_YEAR_UP:
    case IDC_DM_YEAR_DOWN:
    case IDC_DM_MONTH_UP:
    case IDC_DM_MONTH_DOWN:
        on_step(dlg, *this, id);
        return TRUE;
    case IDC_DM_RESET:
        on_reset(dlg, *this);
        return TRUE;
    case IDOK:
        on_ok(dlg, *this);
        return TRUE;
    default:
        return FALSE;  // Esc included: only a valid OK closes the dialog
    }
}

}  // namespace

void display_month_dialog(HWND main_window, ViewState& view) {
    DisplayMonth d;
    d.main_window = main_window;
    d.year = &view.shown_year;
    d.month = &view.shown_month;
    run_dialog(main_window, d);
}
