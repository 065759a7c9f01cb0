#include "dialogs/dialog_frame_win.h"

#include <commctrl.h>

INT_PTR modal_dialog(HWND owner, int id, DLGPROC proc, void* state) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner, proc,
                           reinterpret_cast<LPARAM>(state));
}

void keep_dialog_state(HWND dlg, void* state) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
}

INT_PTR close_runs_ok(HWND dlg, WPARAM wp) {
    if ((wp & 0xFFF0) == SC_CLOSE) SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return FALSE;
}
