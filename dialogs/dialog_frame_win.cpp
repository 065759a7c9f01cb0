#include "dialogs/dialog_frame_win.h"

#include <commctrl.h>

#include "config/system_dlls_win.h"
#include "dialogs/dialog_fit.h"

namespace {

// A window property rather than DWLP_USER: the system's own dialogs, which the program hooks,
// may use that slot themselves.
const char kRecordProperty[] = "ZelmarDialogRecord";

bool work_area_of(HWND dlg, ScreenRect* work) {
    MONITORINFO mi;
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &mi)) return false;
    *work = {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    return true;
}

// A child's rectangle in the dialog's client coordinates.
RECT client_rect_of(HWND dlg, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

// A dialog larger than the work area (after its part gave up what it could) has its
// controls drawn together, and its client area made as much smaller.
void squeeze_into_work_area(HWND dlg, const ScreenRect& work) {
    RECT r, c;
    if (!GetWindowRect(dlg, &r) || !GetClientRect(dlg, &c)) return;
    const int cw = c.right, ch = c.bottom;
    const int rw = client_room(cw, r.right - r.left, work.right - work.left);
    const int rh = client_room(ch, r.bottom - r.top, work.bottom - work.top);
    if (rw == cw && rh == ch) return;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT k = client_rect_of(dlg, child);
        char cls[16] = "";
        GetClassNameA(child, cls, sizeof cls);
        const bool frame = lstrcmpiA(cls, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        const Span x = squeezed_span({k.left, k.right}, cw, rw, frame);
        const Span y = squeezed_span({k.top, k.bottom}, ch, rh, frame);
        SetWindowPos(child, nullptr, x.lo, y.lo, x.hi - x.lo, y.hi - y.lo, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(dlg, nullptr, 0, 0, r.right - r.left - (cw - rw), r.bottom - r.top - (ch - rh),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void keep_dialog_in_work_area(HWND dlg, bool squeeze) {
    RECT r;
    ScreenRect work;
    if (!work_area_of(dlg, &work)) return;
    if (squeeze) squeeze_into_work_area(dlg, work);
    if (!GetWindowRect(dlg, &r)) return;
    const ScreenRect to = dialog_within({r.left, r.top, r.right, r.bottom}, work);
    if (to.left != r.left || to.top != r.top)
        SetWindowPos(dlg, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void shrink_dialog_to_work_area(HWND dlg, HWND part, int min_part_dlu) {
    RECT r, least = {0, 0, 0, min_part_dlu};
    ScreenRect work;
    if (!part || !GetWindowRect(dlg, &r) || !work_area_of(dlg, &work) || !MapDialogRect(dlg, &least)) return;
    const RECT p = client_rect_of(dlg, part);
    const int by = dialog_shrink(r.bottom - r.top, work.bottom - work.top, p.bottom - p.top, least.bottom);
    if (by <= 0) return;
    // The dialog's own children only: a list's header is a child of the list.
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const RECT cr = client_rect_of(dlg, c);
        if (c != part && cr.top >= p.bottom)
            SetWindowPos(c, nullptr, cr.left, cr.top - by, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(part, nullptr, 0, 0, p.right - p.left, p.bottom - p.top - by,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dlg, nullptr, 0, 0, r.right - r.left, r.bottom - r.top - by, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

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
