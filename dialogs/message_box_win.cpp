#include "dialogs/message_box_win.h"

#include <cstring>

#include "config/cp932.h"
#include "config/handles_win.h"
#include "dialogs/msgbox_layout.h"
#include "resources/resource.h"

namespace {

struct BoxState {
    HWND owner;
    const char* caption;
    const char* lines[kMsgBoxMaxLines];
    int line_count;
    MsgBoxButtons buttons;
    unsigned icon_class;
    HICON icon;          // system icon (shared, never destroyed), or none
    HFONT font;          // the dummy button's font, owned by the dialog
    int line_height;
    MsgBoxLayout layout;
};

LPCSTR system_icon(unsigned icon_class) {
    switch (icon_class) {
    case 0x10: return reinterpret_cast<LPCSTR>(IDI_HAND);
    case 0x20: return reinterpret_cast<LPCSTR>(IDI_QUESTION);
    case 0x30: return reinterpret_cast<LPCSTR>(IDI_EXCLAMATION);
    case 0x40: return reinterpret_cast<LPCSTR>(IDI_ASTERISK);
    default: return nullptr;
    }
}

// Button size, margins and font from the hidden dummy button; line height and
// line extents in that font.
bool take_measures(HWND dlg, BoxState* s, MsgBoxMeasures* m, int* extents) {
    HWND dummy = GetDlgItem(dlg, IDC_MSGBOX_DUMMY);
    if (!dummy) return false;
    RECT r;
    if (!GetWindowRect(dummy, &r)) return false;
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    m->bw = r.right - r.left;
    m->bh = r.bottom - r.top;
    m->mx = r.left;
    m->my = r.top;
    s->font = reinterpret_cast<HFONT>(SendMessageA(dummy, WM_GETFONT, 0, 0));

    WindowDC dc(dlg);
    if (!dc.get()) return false;
    GdiSelect font(dc.get(), s->font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc.get(), "Mj", 2, &size);
    m->line_height = size.cy + 2;
    for (int i = 0; i < s->line_count; ++i) {
        size.cx = 0;
        GetTextExtentPoint32A(dc.get(), s->lines[i], static_cast<int>(std::strlen(s->lines[i])),
                              &size);
        extents[i] = size.cx;
    }
    s->line_height = m->line_height;
    return true;
}

// Sizes the dialog to the client size plus its frame and centres it over the
// owner, on the screen.
void size_and_place(HWND dlg, const BoxState* s) {
    RECT wr, cr;
    GetWindowRect(dlg, &wr);
    GetClientRect(dlg, &cr);
    const int w = s->layout.client_w + (wr.right - wr.left) - (cr.right - cr.left);
    const int h = s->layout.client_h + (wr.bottom - wr.top) - (cr.bottom - cr.top);
    SetWindowPos(dlg, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE);

    const int screen_w = GetSystemMetrics(SM_CXSCREEN);
    const int screen_h = GetSystemMetrics(SM_CYSCREEN);
    MsgBoxRect owner = {0, 0, screen_w, screen_h};
    RECT orc;
    if (s->owner && IsWindow(s->owner) && GetWindowRect(s->owner, &orc))
        owner = {orc.left, orc.top, orc.right, orc.bottom};
    int x = 0, y = 0;
    msgbox_place(owner, w, h, screen_w, screen_h, &x, &y);
    MoveWindow(dlg, x, y, w, h, TRUE);
}

bool create_buttons(HWND dlg, const BoxState* s, const MsgBoxMeasures& m, HWND* first) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    const char* cls = s->buttons.count == 1 ? "BUTTON" : "button";
    for (int i = 0; i < s->buttons.count; ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        style |= i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON;
        HWND b = CreateWindowExA(0, cls, s->buttons.labels[i], style, s->layout.button_x[i],
                                 s->layout.button_y, m.bw, m.bh, dlg,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->buttons.ids[i])),
                                 inst, nullptr);
        if (!b) return false;
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), FALSE);
        if (i == 0) *first = b;
    }
    return true;
}

INT_PTR on_init(HWND dlg, BoxState* s) {
    SetWindowTextA(dlg, s->caption ? s->caption : "");
    MsgBoxMeasures m;
    int extents[kMsgBoxMaxLines] = {};
    if (!take_measures(dlg, s, &m, extents)) {
        EndDialog(dlg, s->buttons.preset);
        return TRUE;
    }
    const LPCSTR icon = system_icon(s->icon_class);
    s->icon = icon ? LoadIconA(nullptr, icon) : nullptr;
    msgbox_layout(m, extents, s->line_count, s->icon != nullptr, s->buttons, &s->layout);
    size_and_place(dlg, s);
    HWND first = nullptr;
    if (!create_buttons(dlg, s, m, &first)) {
        // A box that cannot be answered gives the safe answer at once.
        EndDialog(dlg, s->buttons.preset);
        return TRUE;
    }
    SetFocus(first);
    return FALSE;
}

void on_paint(HWND dlg, const BoxState* s) {
    PaintDC paint(dlg);
    HDC dc = paint.get();
    if (!dc) return;
    if (s->icon) DrawIcon(dc, s->layout.icon_x, s->layout.icon_y, s->icon);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    GdiSelect font(dc, s->font);
    for (int i = 0; i < s->line_count; ++i)
        TextOutA(dc, s->layout.text_x, s->layout.text_top + i * s->line_height, s->lines[i],
                 static_cast<int>(std::strlen(s->lines[i])));
}

INT_PTR CALLBACK box_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    BoxState* s = reinterpret_cast<BoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lp);
        return on_init(dlg, reinterpret_cast<BoxState*>(lp));
    case WM_PAINT:
        if (!s) return FALSE;
        on_paint(dlg, s);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (!s || id < IDOK || id > IDNO) return FALSE;
        // Escape and the close box arrive as id 2: only a box with Cancel ends on it.
        if (id == IDCANCEL && !s->buttons.has_cancel) return TRUE;
        EndDialog(dlg, id);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

int message_box(HWND owner, const char* text, const char* caption, UINT flags) {
    // The text cut to the box's limit; the line split writes its terminators into it.
    OwnedLocal block(LocalAlloc(LPTR, kMsgBoxTextSize));
    if (!block) return MessageBoxA(owner, text, caption, flags);
    char* const lines = static_cast<char*>(block.get());
    cp932_copy(lines, kMsgBoxTextSize, text ? text : "");

    BoxState s = {};
    s.owner = owner;
    s.caption = caption;
    msgbox_buttons(flags, &s.buttons);
    s.icon_class = msgbox_icon_class(flags);
    s.line_count = msgbox_split_lines(lines, s.lines, kMsgBoxMaxLines);

    MessageBeep(flags & 0xF0);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGE_BOX),
                                     owner, box_proc, reinterpret_cast<LPARAM>(&s));
    return result >= IDOK && result <= IDNO ? static_cast<int>(result) : s.buttons.preset;
}
