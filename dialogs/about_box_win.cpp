#include "dialogs/about_box_win.h"

#include "config/paths.h"
#include "resources/resource.h"

namespace {

constexpr int kStringSize = 1024;
// Room for string 11 after each line feed has become two bytes.
constexpr int kTextSize = 2 * kStringSize;

void fill_texts(HWND dlg) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    char version[kStringSize] = "";
    LoadStringA(inst, IDS_VERSION, version, kStringSize);
    SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, version);

    // The edit control breaks lines only at CR LF. "\r\n" contains "\n", so the
    // line feeds go through a marker first.
    char text[kTextSize] = "";
    LoadStringA(inst, IDS_COPYRIGHT, text, kStringSize);
    replace_all(text, sizeof text, "\n", "@$");
    replace_all(text, sizeof text, "@$", "\r\n");
    SetDlgItemTextA(dlg, IDC_ABOUT_TEXT, text);
}

INT_PTR CALLBACK about_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        fill_texts(dlg);
        return TRUE;
    case WM_COMMAND:
        if (wp != IDOK) return FALSE;
        EndDialog(dlg, IDOK);
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) != SC_CLOSE) return FALSE;
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void about_box(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, about_proc, 0);
}
