#include "dialogs/about_box_win.h"

#include "config/paths.h"
#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"

namespace {

constexpr int kStringSize = 1024;
// Room for IDS_COPYRIGHT after each line feed has become two bytes.
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

struct AboutBox : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_ABOUT;
    static constexpr DialogClose kClose = DialogClose::kRunsOk;

    INT_PTR init(HWND dlg) {
        fill_texts(dlg);
        return TRUE;
    }
    INT_PTR command(HWND dlg, int id, int) {
        if (id != IDOK) return FALSE;
        end_dialog(dlg, *this, true);
        return TRUE;
    }
};

}  // namespace

void about_box(HWND owner) {
    AboutBox d;
    run_dialog(owner, d);
}
