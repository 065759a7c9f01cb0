// The one way the program builds a dialog. A dialog is a record type: what its caller hands
// it (values, and the records it edits), its working state and its typed result. The frame
// runs the template with the record as the WM_INITDIALOG parameter, keeps the record with
// the window, finds it again for every later message and calls the record's handlers. No
// dialog keeps anything in a file-scope variable.
//
// A new dialog:
//   struct Example : DialogRecord<ExampleResult> {
//       static constexpr int kTemplate = IDD_EXAMPLE;
//       static constexpr DialogClose kClose = DialogClose::kEscapeRunsOk;  // no cancel button
//       ...what the caller hands over, the working state...
//       INT_PTR init(HWND dlg);                      // WM_INITDIALOG
//       INT_PTR command(HWND dlg, int id, int code); // WM_COMMAND: TRUE when handled
//       // Optional: any message, before the frame's own handling; non-zero when handled.
//       INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
//   };
//   Example d;  (fill in what it is handed; d.result = the answer if it cannot run)
//   const ExampleResult r = run_dialog(owner, d);
// A handler ends it with end_dialog(dlg, *this, result). A modeless one is opened with
// open_modeless_dialog, its record lives as long as the window, and end_dialog (or its owner,
// with close_modeless_dialog) destroys the window.
#pragma once

#include <windows.h>

// The system close (Alt+F4, the close box) and Esc of a dialog.
enum class DialogClose {
    kIsCancel,      // the system's own handling: Esc, IDCANCEL, which the dialog may ignore
    kRunsOk,        // a dialog without a cancel: the system close runs IDOK, Esc does nothing
    kEscapeRunsOk,  // a dialog without a cancel: Esc and the system close run IDOK, as its
                    // close button does
};

template <class Result>
struct DialogRecord {
    using ResultType = Result;
    static constexpr DialogClose kClose = DialogClose::kIsCancel;
    // A dialog of a fixed template is squeezed into a work area it does not fit; one that
    // sizes itself for what it shows (a message box, the alarm window) keeps its size.
    static constexpr bool kSqueezes = true;
    // The dialog's answer. What it holds before the run is the answer when the dialog
    // cannot be shown at all.
    Result result{};
    // Opened by open_modeless_dialog: ending it destroys the window.
    bool modeless = false;
    INT_PTR message(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
};

// Keeps a record with a window (at WM_INITDIALOG) and finds it again: null before, and after
// forget_dialog_state. Also for the hooks of the system's dialogs, whose own procedure uses
// the window's user data.
void keep_dialog_state(HWND dlg, void* record);
void* kept_dialog_state(HWND dlg);
void forget_dialog_state(HWND dlg);
template <class T>
T* dialog_state(HWND dlg) {
    return static_cast<T*>(kept_dialog_state(dlg));
}

// WM_SYSCOMMAND of every dialog: with kRunsOk the system close runs IDOK. Returns
// FALSE: the system goes on, and its close then ends nothing further.
INT_PTR dialog_system_command(HWND dlg, WPARAM wp, DialogClose close);
// The command a dialog's handler gets for WM_COMMAND id: with kEscapeRunsOk, Esc and the
// system close (both IDCANCEL) are IDOK.
int dialog_command_id(int id, DialogClose close);

// Runs template id modally over owner with proc and record as its parameter; the common
// control classes the templates use are registered first.
INT_PTR modal_dialog(HWND owner, int id, DLGPROC proc, void* record);

// Makes the dialog lie within the work area of its monitor: squeezed by what it is larger
// (dialogs/dialog_fit.h) when squeeze, then moved. The frame does it for every dialog once
// its record's init has run.
void keep_dialog_in_work_area(HWND dlg, bool squeeze = true);

// A dialog taller than its monitor's work area takes the difference from part, a child that
// can do with less height (down to min_part_dlu dialog units): part grows shorter, the
// controls below it move up and the dialog is as much shorter (dialogs/dialog_fit.h).
void shrink_dialog_to_work_area(HWND dlg, HWND part, int min_part_dlu);

// The procedure of every dialog of record type T.
template <class T>
INT_PTR CALLBACK framed_dialog_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        T* record = reinterpret_cast<T*>(lp);
        if (!record) return TRUE;
        keep_dialog_state(dlg, record);
        const INT_PTR focus = record->init(dlg);
        keep_dialog_in_work_area(dlg, T::kSqueezes);
        return focus;
    }
    T* record = dialog_state<T>(dlg);
    if (!record) return FALSE;
    if (msg == WM_NCDESTROY) {
        record->message(dlg, msg, wp, lp);
        forget_dialog_state(dlg);
        return FALSE;
    }
    if (const INT_PTR handled = record->message(dlg, msg, wp, lp)) return handled;
    switch (msg) {
    case WM_COMMAND: return record->command(dlg, dialog_command_id(LOWORD(wp), T::kClose), HIWORD(wp));
    case WM_SYSCOMMAND: return dialog_system_command(dlg, wp, T::kClose);
    default: return FALSE;
    }
}

// Runs the dialog of record over owner and returns its result.
template <class T>
typename T::ResultType run_dialog(HWND owner, T& record) {
    record.modeless = false;
    modal_dialog(owner, T::kTemplate, framed_dialog_proc<T>, &record);
    return record.result;
}

// Closes a modeless dialog with this result: its window is destroyed (EndDialog would only
// hide it).
template <class T>
void close_modeless_dialog(HWND dlg, T& record, typename T::ResultType result) {
    record.result = result;
    DestroyWindow(dlg);
}

// Ends a dialog with this result: a modal one's loop ends, a modeless one is closed.
template <class T>
void end_dialog(HWND dlg, T& record, typename T::ResultType result) {
    if (record.modeless) {
        close_modeless_dialog(dlg, record, result);
        return;
    }
    record.result = result;
    EndDialog(dlg, 1);
}

// Creates the modeless dialog of record over owner; nullptr when it cannot be made.
template <class T>
HWND open_modeless_dialog(HWND owner, T& record) {
    record.modeless = true;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(T::kTemplate), owner,
                              framed_dialog_proc<T>, reinterpret_cast<LPARAM>(&record));
}
