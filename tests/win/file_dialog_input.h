// Answering the system's file dialogs from a test, in this process or in the program's: the
// file name typed into its name field and OK pressed, as a user does.
#pragma once

#include <windows.h>
#include <dlgs.h>

namespace win_test {

// The file name field: a combo box in the current dialog, an edit in the older one.
inline HWND file_name_field(HWND dlg) {
    HWND combo = GetDlgItem(dlg, cmb13);
    return combo ? combo : GetDlgItem(dlg, edt1);
}

// Types path as the file name and presses OK. Sent and posted as messages: the dialog may be
// another process's, whose controls SetWindowTextA does not reach.
inline void choose_in_file_dialog(HWND dlg, const char* path) {
    SendMessageA(file_name_field(dlg), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

}  // namespace win_test
