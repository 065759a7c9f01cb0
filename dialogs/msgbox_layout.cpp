#include "dialogs/msgbox_layout.h"

#include "resources/texts.h"

namespace {

const char kOk[] = "OK";

const MsgBoxButtons kSets[6] = {
    {1, 2, {1, 0, 0}, {kOk, nullptr, nullptr}, 1, false},                      // MB_OK
    {2, 2, {1, 2, 0}, {kOk, kButtonCancel, nullptr}, 2, true},                 // MB_OKCANCEL
    {3, 3, {3, 4, 5}, {kButtonAbort, kButtonRetry, kButtonIgnore}, 4, false},  // MB_ABORTRETRYIGNORE
    {3, 3, {6, 7, 2}, {kButtonYes, kButtonNo, kButtonCancel}, 2, true},        // MB_YESNOCANCEL
    {2, 2, {6, 7, 0}, {kButtonYes, kButtonNo, nullptr}, 7, false},             // MB_YESNO
    {2, 2, {4, 2, 0}, {kButtonRetry, kButtonCancel, nullptr}, 2, true},        // MB_RETRYCANCEL
};

int max_int(int a, int b) { return a > b ? a : b; }

}  // namespace

void msgbox_buttons(unsigned flags, MsgBoxButtons* out) {
    const unsigned set = flags & 0x0F;
    *out = kSets[set < 6 ? set : 0];  // 6 to 15 are a plain OK box
}

unsigned msgbox_icon_class(unsigned flags) {
    const unsigned icon = flags & 0xF0;
    return icon >= 0x10 && icon <= 0x40 ? icon : 0;
}

int msgbox_split_lines(char* text, const char** lines, int max_lines) {
    if (max_lines < 1) return 0;
    int count = 0;
    char* p = text;
    while (*p != '\0') {
        if (*p == '\n') {
            *p++ = '\0';
            continue;
        }
        if (count == max_lines) break;
        lines[count++] = p;
        while (*p != '\0' && *p != '\n') ++p;
    }
    if (count == 0) lines[count++] = p;  // the terminating NUL: one empty line
    return count;
}

void msgbox_layout(const MsgBoxMeasures& m, const int* extents, int lines, bool icon,
                   const MsgBoxButtons& buttons, MsgBoxLayout* out) {
    const int gap = m.mx / 2;
    int widest = 0;
    for (int i = 0; i < lines; ++i) widest = max_int(widest, extents[i] + 8);
    const int icon_w = icon ? m.mx + kMsgBoxIconSize : 0;
    const int icon_h = icon ? kMsgBoxIconSize : 0;
    const int places = buttons.places;

    out->client_w = max_int(widest + 2 * m.mx + icon_w,
                            2 * m.mx + (places - 1) * gap + places * m.bw);
    out->client_h = max_int(3 * m.my + lines * m.line_height + m.bh, 3 * m.my + m.bh + icon_h);

    // Text and icon are centred in the area above the button row.
    const int mid = (out->client_h - m.my - m.bh) / 2;
    out->icon_x = m.mx;
    out->icon_y = mid - kMsgBoxIconSize / 2;
    out->text_x = icon ? 2 * m.mx + kMsgBoxIconSize : m.mx;
    out->text_top = max_int(mid - lines * m.line_height / 2, m.my);

    out->button_y = out->client_h - m.my - m.bh;
    const int cx = out->client_w / 2;
    out->button_x[0] = out->button_x[1] = out->button_x[2] = 0;
    switch (buttons.count) {
    case 1:
        out->button_x[0] = cx - m.bw / 2;
        break;
    case 2:
        out->button_x[0] = cx - gap / 2 - m.bw;
        out->button_x[1] = cx + gap / 2;
        break;
    default:
        out->button_x[0] = cx - m.bw / 2 - gap - m.bw;
        out->button_x[1] = cx - m.bw / 2;
        out->button_x[2] = cx + m.bw / 2 + gap;
        break;
    }
}

void msgbox_place(const MsgBoxRect& owner, int width, int height, int screen_w, int screen_h,
                  int* x, int* y) {
    int px = owner.left + (owner.right - owner.left) / 2 - width / 2;
    int py = owner.top + (owner.bottom - owner.top) / 2 - height / 2;
    if (px < 0) px = 0;
    if (py < 0) py = 0;
    if (px + width > screen_w) px = max_int(screen_w - width, 0);
    if (py + height > screen_h) py = max_int(screen_h - height, 0);
    *x = px;
    *y = py;
}
