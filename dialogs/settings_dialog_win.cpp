#include "dialogs/settings_dialog_win.h"

#include "config/settings.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/file_chooser_win.h"
#include "dialogs/settings_dialog.h"
#include "image/background_loader_win.h"
#include "image/plugin_table.h"
#include "image/plugins_win.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

struct SettingsDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_SETTINGS;
    Settings* settings = nullptr;
    SettingsApply apply = {};
    // The working copy of the switches and the path the image chooser edits.
    SettingsWork work = {};
    char image_path[sizeof Settings::BackImageFile] = "";

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
};

void enable(HWND dlg, const ControlState* states, int n) {
    for (int i = 0; i < n; ++i) EnableWindow(GetDlgItem(dlg, states[i].id), states[i].enabled);
}

void apply_background_enabling(HWND dlg, const SettingsWork& work) {
    ControlState states[kBackgroundControls];
    background_enabling(work, states);
    enable(dlg, states, kBackgroundControls);
}

void apply_clock_enabling(HWND dlg, const SettingsWork& work) {
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

INT_PTR SettingsDialog::init(HWND dlg) {
    const SettingsDialogInit d = settings_dialog_init(*settings);
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
    lstrcpynA(image_path, settings->BackImageFile, sizeof image_path);
    SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, image_path);
    SetDlgItemInt(dlg, IDC_SET_BACK_TRANSPARENT, d.transparent, FALSE);
    SetDlgItemInt(dlg, IDC_SET_BACK_AREA, d.back_area, FALSE);
    CheckRadioButton(dlg, IDC_SET_BACK_WHOLE, IDC_SET_BACK_BOTTOM, d.area_radio);
    work = settings_work_from(*settings);
    apply_clock_enabling(dlg, work);
    apply_background_enabling(dlg, work);
    // Setting the number edits above sent change notifications that enabled 更新.
    enable_apply(dlg, false);
    return TRUE;
}

void read_controls(HWND dlg, SettingsDialog& s) {
    char file[sizeof Settings::BackImageFile] = "";
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
    settings_from_dialog(f, s.work, s.settings);
}

// The chooser starts from the path at opening or the last file chosen; the setting itself
// changes only with OK or 更新.
void on_browse(HWND dlg, SettingsDialog& s) {
    char filter[kImageFilterSize];
    background_loader_wait();  // the start's picture may still be loading with the plug-ins
    build_image_filter(image_plugins(), filter, sizeof filter);
    if (!choose_file(dlg, kBackgroundChooserTitle, s.image_path, sizeof s.image_path, filter, 1)) return;
    enable_apply(dlg, true);
    SetDlgItemTextA(dlg, IDC_SET_BACK_FILE, s.image_path);
}

// 更新 is greyed before the owner applies: what the owner says then is already over a
// dialog with nothing left to apply.
void on_apply(HWND dlg, SettingsDialog& s) {
    read_controls(dlg, s);
    enable_apply(dlg, false);
    if (s.apply.fn) s.apply.fn(s.apply.context, dlg);
}

INT_PTR SettingsDialog::command(HWND dlg, int id, int notify) {
    switch (settings_command_action(id, notify)) {
    case SettingsAction::toggle_clock:
        work.clock_on = !work.clock_on;
        apply_clock_enabling(dlg, work);
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::toggle_twelve_hour:
        work.twelve_hour = !work.twelve_hour;
        apply_clock_enabling(dlg, work);
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::changed:
        enable_apply(dlg, true);
        return TRUE;
    case SettingsAction::image_switch:
        enable_apply(dlg, true);
        work.image_on = checked(dlg, IDC_SET_BACK_IMAGE);
        apply_background_enabling(dlg, work);
        return TRUE;
    case SettingsAction::area_mode:
        enable_apply(dlg, true);
        work.area_mode = id - IDC_SET_BACK_WHOLE;
        apply_background_enabling(dlg, work);
        return TRUE;
    case SettingsAction::browse:
        on_browse(dlg, *this);
        return TRUE;
    case SettingsAction::ok:
        read_controls(dlg, *this);
        end_dialog(dlg, *this, true);
        return TRUE;
    case SettingsAction::apply:
        on_apply(dlg, *this);
        return TRUE;
    case SettingsAction::cancel:
        end_dialog(dlg, *this, false);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool settings_dialog(HWND owner, Settings* settings, const SettingsApply& apply) {
    SettingsDialog d;
    d.settings = settings;
    d.apply = apply;
    return run_dialog(owner, d);
}
