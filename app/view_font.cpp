#include "app/view_font.h"

#include <cstring>

#include "app/month_colours.h"
#include "config/cp932.h"
#include "config/settings.h"

ViewFontKey view_font_key(const Settings& s, int height) {
    ViewFontKey k;
    std::memset(&k, 0, sizeof k);
    k.height = height;
    k.weight = s.weight;
    k.italic = static_cast<unsigned char>(s.italic);
    k.charset = static_cast<unsigned char>(s.charset);
    // fontname holds up to 99 bytes, the face name 31 and its NUL.
    cp932_copy(k.face, sizeof k.face, s.fontname);
    return k;
}

ViewFontKey view_font_key(const Settings& s, int height, unsigned shape) {
    ViewFontKey k = view_font_key(s, height);
    k.weight = shaped_weight(k.weight, shape);
    k.italic = static_cast<unsigned char>(shaped_italic(k.italic, shape));
    k.underline = (shape & kShapeUnderline) ? 1 : 0;
    return k;
}

bool same_view_font(const ViewFontKey& a, const ViewFontKey& b) {
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
           a.charset == b.charset && a.underline == b.underline && std::strcmp(a.face, b.face) == 0;
}
