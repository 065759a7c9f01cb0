#include "dialogs/message_box_win.h"

#include <cstring>

#include "config/cp932.h"
#include "config/handles_win.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/msgbox_layout.h"
#include "resources/resource.h"

namespace {

// The result is the id of the button pressed; before the run, the set's safe answer.
struct BoxState : DialogRecord<int> {
    static constexpr int kTemplate = IDD_MESSAGE_BOX;
    static constexpr bool kSqueezes = false;  // sized for its text and buttons
    HWND owner = nullptr;
    const char* caption = nullptr;
    const char* lines[kMsgBoxMaxLines] = {};
    int line_count = 0;
    MsgBoxButtons buttons = {};
    unsigned icon_class = 0;
    HICON icon = nullptr;  // system icon (shared, never destroyed), or none
    HFONT font = nullptr;  // the dummy button's font, owned by the dialog
    int line_height = 0;
    MsgBoxLayout layout = {};

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
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

INT_PTR BoxState::init(HWND dlg) {
    SetWindowTextA(dlg, caption ? caption : "");
    MsgBoxMeasures m;
    int extents[kMsgBoxMaxLines] = {};
    // A box that cannot be measured or answered gives the safe answer at once.
    if (!take_measures(dlg, this, &m, extents)) {
        end_dialog(dlg, *this, buttons.preset);
        return TRUE;
    }
    const LPCSTR system = system_icon(icon_class);
    icon = system ? LoadIconA(nullptr, system) : nullptr;
    msgbox_layout(m, extents, line_count, icon != nullptr, buttons, &layout);
    size_and_place(dlg, this);
    HWND first = nullptr;
    if (!create_buttons(dlg, this, m, &first)) {
        end_dialog(dlg, *this, buttons.preset);
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

INT_PTR BoxState::command(HWND dlg, int id, int) {
    if (id < IDOK || id > IDNO) return FALSE;
    // Escape and the close box arrive as IDCANCEL: only a box with Cancel ends on it.
    if (id == IDCANCEL && !buttons.has_cancel) return TRUE;
    end_dialog(dlg, *this, id);
    return TRUE;
}

INT_PTR BoxState::message(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_PAINT) return FALSE;
    on_paint(dlg, this);
    return TRUE;
}

MessageBoxWitness g_witness = nullptr;

}  // namespace

void set_message_box_witness(MessageBoxWitness witness) { g_witness = witness; }

int message_box(HWND owner, const char* text, const char* caption, UINT flags) {
    if (g_witness) g_witness(text ? text : "", caption ? caption : "", flags);
    // The text cut to the box's limit; the line split writes its terminators into it.
    OwnedLocal block(LocalAlloc(LPTR, kMsgBoxTextSize));
    if (!block) return MessageBoxA(owner, text, caption, flags);
    char* const lines = static_cast<char*>(block.get());
    cp932_copy(lines, kMsgBoxTextSize, text ? text : "");

    BoxState s;
    s.owner = owner;
    s.caption = caption;
    msgbox_buttons(flags, &s.buttons);
    s.result = s.buttons.preset;
    s.icon_class = msgbox_icon_class(flags);
    s.line_count = msgbox_split_lines(lines, s.lines, kMsgBoxMaxLines);

    MessageBeep(flags & 0xF0);
    return run_dialog(owner, s);
}
