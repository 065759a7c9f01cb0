#include "app/view_text_win.h"

#include <cstring>

#include "app/view_font.h"
#include "config/handles_win.h"

HFONT create_view_font(const Settings& settings, int height) {
    const ViewFontKey k = view_font_key(settings, height);
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = k.height;
    lf.lfWeight = k.weight;
    lf.lfItalic = k.italic;
    lf.lfCharSet = k.charset;
    std::memcpy(lf.lfFaceName, k.face, sizeof lf.lfFaceName);
    return CreateFontIndirectA(&lf);
}

namespace {

// The weekday font and the day font (header, day numbers and clock), kept between paints:
// making and realising a font costs more than the rest of a paint.
struct KeptFont {
    ViewFontKey key = {};
    OwnedFont font;
};
KeptFont g_kept[2];

}  // namespace

HFONT view_font(const Settings& settings, ViewFontRole role, int height) {
    KeptFont& k = g_kept[role == ViewFontRole::kWeekday ? 0 : 1];
    const ViewFontKey want = view_font_key(settings, height);
    if (!k.font || !same_view_font(k.key, want)) {
        // Never selected into a dc between paints, so it can go at once.
        k.font.reset(create_view_font(settings, height));
        k.key = want;
    }
    return k.font.get();
}

void view_fonts_release() {
    for (KeptFont& k : g_kept) k.font.reset();
}

void draw_text_halo(HDC dc, int x, int y, const char* text, bool halo) {
    const int len = static_cast<int>(std::strlen(text));
    if (halo) {
        const COLORREF old = SetTextColor(dc, RGB(255, 255, 255));
        static const int around[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                         {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
        for (const auto& d : around) TextOutA(dc, x + d[0], y + d[1], text, len);
        SetTextColor(dc, old);
    }
    TextOutA(dc, x, y, text, len);
}
