#include "dialogs/settings_dialog_win.h"

#include "config/settings.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/file_chooser_win.h"
#include "dialogs/settings_dialog.h"
#include "image/plugin_table.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

struct SettingsDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_SETTINGS;
    Settings* settings = nullptr;
    SettingsApply apply = {};
    ImageFormats formats = {};
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
    ControlValue values[kSettingControlCount];
    settings_dialog_values(*settings, values);
    for (size_t i = 0; i < kSettingControlCount; ++i) {
        const ControlValue& v = values[i];
        switch (kSettingControls[i].kind) {
        case ControlKind::kCheck:
        case ControlKind::kRadio: check(dlg, v.id, v.checked); break;
        case ControlKind::kNumber: SetDlgItemInt(dlg, v.id, v.number, FALSE); break;
        case ControlKind::kPath: SetDlgItemTextA(dlg, v.id, v.text ? v.text : ""); break;
        }
    }
    lstrcpynA(image_path, settings->BackImageFile, sizeof image_path);
    work = settings_work_from(*settings);
    apply_clock_enabling(dlg, work);
    apply_background_enabling(dlg, work);
    // Setting the number edits above sent change notifications that enabled 更新.
    enable_apply(dlg, false);
    return TRUE;
}

// Every bound control read by its id; the record takes them through their rows.
void read_controls(HWND dlg, SettingsDialog& s) {
    ControlValue values[kSettingControlCount];
    char texts[kSettingControlCount][sizeof Settings::BackImageFile];
    for (size_t i = 0; i < kSettingControlCount; ++i) {
        const SettingControl& c = kSettingControls[i];
        ControlValue& v = values[i];
        v = ControlValue{c.id, false, 0, nullptr};
        switch (c.kind) {
        case ControlKind::kCheck:
        case ControlKind::kRadio: v.checked = checked(dlg, c.id); break;
        case ControlKind::kNumber: v.number = GetDlgItemInt(dlg, c.id, nullptr, FALSE); break;
        case ControlKind::kPath:
            texts[i][0] = '\0';
            GetDlgItemTextA(dlg, c.id, texts[i], sizeof texts[i]);
            v.text = texts[i];
            break;
        }
    }
    settings_from_dialog(values, kSettingControlCount, s.settings);
}

// The chooser starts from the path at opening or the last file chosen; the setting itself
// changes only with OK or 更新. The formats come from the owner, which knows when they can
// be read.
void on_browse(HWND dlg, SettingsDialog& s) {
    char filter[kImageFilterSize] = {};
    if (s.formats.fn) s.formats.fn(s.formats.context, filter, sizeof filter);
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

bool settings_dialog(HWND owner, Settings* settings, const SettingsApply& apply,
                     const ImageFormats& formats) {
    SettingsDialog d;
    d.settings = settings;
    d.apply = apply;
    d.formats = formats;
    return run_dialog(owner, d);
}
