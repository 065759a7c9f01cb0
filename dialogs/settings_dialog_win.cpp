#include "dialogs/settings_dialog_win.h"

#include "config/settings.h"
#include "dialogs/file_chooser_win.h"
#include "dialogs/settings_dialog.h"
#include "image/plugin_table.h"
#include "resources/resource.h"

namespace {

// The dialog's working copy of its switches and the path the image chooser edits.
SettingsWork work;
char image_path[260];

void enable(HWND dlg, const ControlState* states, int n) {
    for (int i = 0; i < n; ++i) EnableWindow(GetDlgItem(dlg, states[i].id), states[i].enabled);
}

void apply_background_enabling(HWND dlg) {
    ControlState states[kBackgroundControls];
    background_enabling(work, states);
    enable(dlg, states, kBackgroundControls);
}

void apply_clock_enabling(HWND dlg) {
    ControlState states[kClockControls];
    clock_enabling(work, states);
    enable(dlg, states, kClockControls);
}

void enable_apply(HWND dlg, bool on) {
    HWND apply = GetDlgItem(dlg, IDC_SET_APPLY);
    // A disabled button cannot keep the focus: hand it to OK so the keyboard still works.
    if (!on && GetFocus() == apply) SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, IDOK)), TRUE);
    EnableWindow(apply, on);
}

void check(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

void on_init(HWND dlg) {
    const SettingsDialogInit d = settings_dialog_init(settings);
    CheckRadioButton(dlg, IDC_SET_SAT_COLOUR, IDC_SET_SAT_PLAIN, d.saturday_radio);
    CheckRadioButton(dlg, IDC_SET_TODAY_BOX, IDC_SET_TODAY_TICK, d.today_radio);
    CheckRadioButton(dlg, IDC_SET_MONTH_JAPANESE, IDC_SET_MONTH_ENGLISH, d.month_radio);
    CheckRadioButton(dlg, IDC_SET_WEEK_JAPANESE, IDC_SET_WEEK_ENGLISH, d.week_radio);
    check(dlg, IDC_SET_CLOCK, d.clock);
    check(dlg, IDC_SET_CLOCK_12H, d.twelve_hour);
    check(dlg, IDC_SET_CLOCK_AMPM_AFTER, d.ampm_after);
    check(dlg, IDC_SET_CLOCK_ANALOG, d.analog);
    check(dlg, IDC_SET_CLOCK_SECONDS, d.seconds);
    check(dlg, IDC_SET_BACK_IMAGE, d.back_image);
    lstrcpynA(image_path, settings.BackImageFile, sizeof image_path);
    SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, image_path);
    SetDlgItemInt(dlg, IDC_SET_BACK_TRANSPARENT, d.transparent, FALSE);
    SetDlgItemInt(dlg, IDC_SET_BACK_AREA, d.back_area, FALSE);
    CheckRadioButton(dlg, IDC_SET_BACK_WHOLE, IDC_SET_BACK_BOTTOM, d.area_radio);
    work = settings_work_from(settings);
    apply_clock_enabling(dlg);
    apply_background_enabling(dlg);
    // Setting the number edits above sent change notifications that enabled 更新.
    enable_apply(dlg, false);
}

void read_controls(HWND dlg) {
    char file[sizeof settings.BackImageFile] = "";
    GetDlgItemTextA(dlg, IDC_SET_BACK_FILE, file, sizeof file);
    const SettingsDialogFields f = {
        checked(dlg, IDC_SET_SAT_COLOUR),   checked(dlg, IDC_SET_TODAY_BOX),
        checked(dlg, IDC_SET_MONTH_JAPANESE), checked(dlg, IDC_SET_WEEK_JAPANESE),
        checked(dlg, IDC_SET_CLOCK),        checked(dlg, IDC_SET_CLOCK_12H),
        checked(dlg, IDC_SET_CLOCK_AMPM_AFTER), checked(dlg, IDC_SET_CLOCK_ANALOG),
        checked(dlg, IDC_SET_CLOCK_SECONDS), file,
        GetDlgItemInt(dlg, IDC_SET_BACK_TRANSPARENT, nullptr, FALSE),
        GetDlgItemInt(dlg, IDC_SET_BACK_AREA, nullptr, FALSE),
    };
    settings_from_dialog(f, work, &settings);
}

// The chooser starts from the path at opening or the last file chosen; the setting itself
// changes only with OK or 更新.
void on_browse(HWND dlg) {
    char filter[kImageFilterSize];
    build_image_filter(plugin_table, filter, sizeof filter);
    if (!choose_file(dlg, "背景画像の選択", image_path, sizeof image_path, filter, 1)) return;
    enable_apply(dlg, true);
    SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, image_path);
}

void on_apply(HWND dlg) {
    read_controls(dlg);
    PostMessageA(GetParent(dlg), WM_COMMAND, 3, 0);
    enable_apply(dlg, false);
}

BOOL on_command(HWND dlg, int id, int notify) {
    switch (settings_command_action(id, notify)) {
    case SettingsAction::toggle_clock:
        work.clock_on = !work.clock_on;
        apply_clock_enabling(dlg);
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::toggle_twelve_hour:
        work.twelve_hour = !work.twelve_hour;
        apply_clock_enabling(dlg);
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::changed:
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::image_switch:
        enable_apply(dlg, true);
        work.image_on = checked(dlg, IDC_SET_BACK_IMAGE);
        apply_background_enabling(dlg);
        return TRUE;
    case SettingsAction::area_mode:
        enable_apply(dlg, true);
        work.area_mode = id - IDC_SET_BACK_WHOLE;
        apply_background_enabling(dlg);
        return TRUE;
    case SettingsAction::browse:
        on_browse(dlg);
        return TRUE;
    case SettingsAction::ok:
        read_controls(dlg);
        EndDialog(dlg, 1);
        return TRUE;
    case SettingsAction::apply:
        on_apply(dlg);
        return TRUE;
    case SettingsAction::cancel:
        EndDialog(dlg, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK settings_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        on_init(dlg);
        return TRUE;
    case WM_COMMAND:
        return on_command(dlg, LOWORD(wp), HIWORD(wp));
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR settings_dialog(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), owner, settings_proc, 0);
}
