// What the program's modal dialogs share: running one over its owner with a state record of
// the caller's, finding that record again, and Alt+F4 on a dialog that has no cancel.
#pragma once

#include <windows.h>

// Runs template id modally over owner; the procedure gets state as the WM_INITDIALOG
// parameter. The common control classes the templates use are registered first.
INT_PTR modal_dialog(HWND owner, int id, DLGPROC proc, void* state);

// Keeps the state record with the dialog (at WM_INITDIALOG) and finds it again (null before).
void keep_dialog_state(HWND dlg, void* state);
template <class T>
T* dialog_state(HWND dlg) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(dlg, DWLP_USER));
}

// WM_SYSCOMMAND of a dialog without a cancel: the system close (Alt+F4) runs command 1 (OK)
// instead. Returns FALSE: the system goes on, and its close ends nothing further.
INT_PTR close_runs_ok(HWND dlg, WPARAM wp);
