#include "dialogs/font_dialog.h"

#include "resources/resource.h"

#include <cstring>

#include "config/cp932.h"
#include "config/settings.h"

FontChoice font_choice(int charset, int weight, int italic, const char* face) {
    FontChoice c;
    std::memset(&c, 0, sizeof c);
    c.charset = charset;
    c.weight = weight;
    c.italic = italic;
    cp932_copy(c.face, sizeof c.face, face ? face : "");
    return c;
}

FontChoice font_choice_of(const Settings& s) {
    return font_choice(s.charset, s.weight, s.italic, s.fontname);
}

void font_choice_store(Settings* s, const FontChoice& c) {
    s->charset = c.charset;
    s->weight = c.weight;
    s->italic = c.italic;
    cp932_copy(s->fontname, sizeof s->fontname, c.face);
}

int font_dialog_height(int logpixels_y) { return -(logpixels_y * 10 / 72); }

bool font_selection_changed(int control_id, int notification) {
    constexpr int kSelChange = 1;  // CBN_SELCHANGE
    if (notification != kSelChange) return false;
    return control_id == IDC_FONT_FACE || control_id == IDC_FONT_STYLE || control_id == IDC_FONT_SCRIPT;
}

bool font_style_of_item(long data, int* weight, int* italic) {
    if (data == -1) return false;  // CB_ERR
    const unsigned long v = static_cast<unsigned long>(data);
    *weight = static_cast<int>(v & 0xFFFF);
    *italic = static_cast<int>((v >> 16) & 0xFFFF) != 0 ? 1 : 0;
    return true;
}
