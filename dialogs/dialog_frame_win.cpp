#include "dialogs/dialog_frame_win.h"

#include <commctrl.h>

#include "config/system_dlls_win.h"

namespace {

// A window property rather than DWLP_USER: the system's own dialogs, which the program hooks,
// may use that slot themselves.
const char kRecordProperty[] = "ZelmarDialogRecord";

}  // namespace

void keep_dialog_state(HWND dlg, void* record) { SetPropA(dlg, kRecordProperty, record); }

void* kept_dialog_state(HWND dlg) { return GetPropA(dlg, kRecordProperty); }

void forget_dialog_state(HWND dlg) { RemovePropA(dlg, kRecordProperty); }

INT_PTR dialog_system_command(HWND dlg, WPARAM wp, DialogClose close) {
    if (close == DialogClose::kRunsOk && (wp & 0xFFF0) == SC_CLOSE)
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return FALSE;
}

int dialog_command_id(int id, DialogClose close) {
    return close == DialogClose::kEscapeRunsOk && id == IDCANCEL ? IDOK : id;
}

INT_PTR modal_dialog(HWND owner, int id, DLGPROC proc, void* record) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    sys_init_common_controls(&icc);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner, proc,
                           reinterpret_cast<LPARAM>(record));
}
