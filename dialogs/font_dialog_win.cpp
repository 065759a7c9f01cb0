// The font dialog's hook. The system dialog redraws its sample whenever the face, style or
// script changes. Where it reads the sample text from the hidden label IDC_FONT_SAMPLE to do
// so, the label's procedure posts kFontPreviewCommand; where it draws a text of its own
// (Wine), the hook posts it on the selection-change notifications of the face, style and
// script lists.
// Either way the command arrives after the dialog has taken the change, and the hook applies
// the dialog's current font to the main window. Applying the same font twice only repaints.
#include "dialogs/font_dialog_win.h"

#include <commdlg.h>

#include <cstring>
#include <optional>

#include "config/cp932.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "config/system_dlls_win.h"
#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kFontDialogFlags =
    CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLETEMPLATE | CF_ENABLEHOOK;  // 0x59
static_assert(kFontDialogFlags == 0x59, "font dialog flags");

// The dialog's record, handed to the hook through CHOOSEFONTA::lCustData and kept with the
// dialog: the settings the preview writes, the window it repaints, the sample label's
// replaced procedure and the font the dialog showed when OK was pressed.
struct FontDialog {
    Settings* settings = nullptr;
    HWND target = nullptr;
    std::optional<SubclassGuard> sample;
    bool ok_seen = false;
    FontChoice ok_choice = {};
};

LRESULT CALLBACK sample_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND dlg = GetParent(w);
    const FontDialog* d = dialog_state<FontDialog>(dlg);
    // Posted, so it is handled once the text request has returned.
    if (msg == WM_GETTEXT && d) PostMessageA(dlg, WM_COMMAND, kFontPreviewCommand, 0);
    WNDPROC prev = d && d->sample ? d->sample->previous() : nullptr;
    return prev ? CallWindowProcA(prev, w, msg, wp, lp) : DefWindowProcA(w, msg, wp, lp);
}

long item_data(HWND dlg, int id) {
    const LRESULT sel = SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) return -1;
    return static_cast<long>(SendDlgItemMessageA(dlg, id, CB_GETITEMDATA, sel, 0));
}

// The face the face list shows selected; false without a selection.
bool listed_face(HWND dlg, char* face, size_t size) {
    const LRESULT sel = SendDlgItemMessageA(dlg, IDC_FONT_FACE, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) return false;
    const LRESULT len = SendDlgItemMessageA(dlg, IDC_FONT_FACE, CB_GETLBTEXTLEN, sel, 0);
    char text[LF_FACESIZE * 2] = "";
    if (len == CB_ERR || len < 1 || len >= static_cast<LRESULT>(sizeof text)) return false;
    SendDlgItemMessageA(dlg, IDC_FONT_FACE, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
    cp932_copy(face, size, text);
    return true;
}

// The dialog's current font. Its LOGFONT (WM_CHOOSEFONT_GETLOGFONT) is the answer where the
// dialog keeps it up to date. Some dialogs take a new face into their LOGFONT only with the
// next style change, or do not answer at all: then the face comes from the face list, and
// style and script from their lists where these show a selection. What cannot be told
// keeps the values that are set.
FontChoice current_choice(HWND dlg, const Settings& settings) {
    FontChoice c = font_choice_of(settings);
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    SendMessageA(dlg, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    const bool answered = lf.lfFaceName[0] != '\0';
    if (answered) c = font_choice(lf.lfCharSet, lf.lfWeight, lf.lfItalic, lf.lfFaceName);
    char face[sizeof c.face];
    if (!listed_face(dlg, face, sizeof face) || (answered && std::strcmp(face, c.face) == 0))
        return c;
    cp932_copy(c.face, sizeof c.face, face);
    if (!answered) {
        font_style_of_item(item_data(dlg, IDC_FONT_STYLE), &c.weight, &c.italic);
        const long charset = item_data(dlg, IDC_FONT_SCRIPT);
        if (charset >= 0 && charset <= 255) c.charset = static_cast<int>(charset);
    }
    return c;
}

INT_PTR on_init(HWND dlg, LPARAM lp) {
    const auto* cf = reinterpret_cast<const CHOOSEFONTA*>(lp);
    FontDialog* d = cf ? reinterpret_cast<FontDialog*>(cf->lCustData) : nullptr;
    if (!d) return TRUE;
    keep_dialog_state(dlg, d);
    d->target = cf->hwndOwner;
    d->sample.emplace(GetDlgItem(dlg, IDC_FONT_SAMPLE), sample_proc);
    keep_dialog_in_work_area(dlg);
    return TRUE;
}

INT_PTR on_command(HWND dlg, FontDialog& d, WPARAM wp) {
    if (wp == kFontPreviewCommand) {
        if (d.target) font_apply(d.settings, d.target, current_choice(dlg, *d.settings));
        return TRUE;  // the system dialog does nothing more with it
    }
    if (wp == IDOK) {
        d.ok_seen = true;
        d.ok_choice = current_choice(dlg, *d.settings);
        return FALSE;  // the system dialog ends itself
    }
    // The dialog's own start-up selections come before WM_INITDIALOG reaches the hook and
    // are no change of the user's.
    if (font_selection_changed(LOWORD(wp), HIWORD(wp)))
        PostMessageA(dlg, WM_COMMAND, kFontPreviewCommand, 0);
    return FALSE;
}

void on_destroy(HWND dlg, FontDialog& d) {
    d.sample.reset();  // the label gets its own procedure back
    forget_dialog_state(dlg);
}

UINT_PTR CALLBACK font_dialog_hook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return on_init(dlg, lp);
    FontDialog* d = dialog_state<FontDialog>(dlg);
    if (!d) return FALSE;
    switch (msg) {
    case WM_COMMAND: return on_command(dlg, *d, wp);
    case WM_DESTROY: on_destroy(dlg, *d); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void font_apply(Settings* settings, HWND target, const FontChoice& choice) {
    font_choice_store(settings, choice);
    if (!target) return;  // a null window would invalidate every window
    InvalidateRect(target, nullptr, TRUE);
    UpdateWindow(target);
}

bool font_dialog(HWND owner, HINSTANCE inst, Settings* settings, const FontChoice& start,
                 int height, FontChoice* chosen) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = height;
    lf.lfWeight = start.weight;
    lf.lfItalic = static_cast<BYTE>(start.italic);
    lf.lfCharSet = static_cast<BYTE>(start.charset);
    cp932_copy(lf.lfFaceName, sizeof lf.lfFaceName, start.face);
    CHOOSEFONTA cf;
    std::memset(&cf, 0, sizeof cf);
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = kFontDialogFlags;
    cf.hInstance = inst;
    cf.lpTemplateName = MAKEINTRESOURCEA(IDD_FONT);
    cf.lpfnHook = font_dialog_hook;
    FontDialog d;
    d.settings = settings;
    cf.lCustData = reinterpret_cast<LPARAM>(&d);
    const bool ok = sys_choose_font(&cf) != FALSE;
    d.sample.reset();  // in case the dialog never got as far as its destruction
    if (!ok) return false;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    *chosen = d.ok_seen ? d.ok_choice
                        : font_choice(lf.lfCharSet, lf.lfWeight, lf.lfItalic, lf.lfFaceName);
    return true;
}
