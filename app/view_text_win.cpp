#include "app/view_text_win.h"

#include <cstring>

#include "app/halo_mask_win.h"
#include "app/month_colours.h"
#include "app/text_runs.h"
#include "app/view_font.h"
#include "config/handles_win.h"
#include "resources/texts.h"

namespace {

HFONT create_font_of(const ViewFontKey& k) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = k.height;
    lf.lfWeight = k.weight;
    lf.lfItalic = k.italic;
    lf.lfCharSet = k.charset;
    lf.lfUnderline = k.underline;
    std::memcpy(lf.lfFaceName, k.face, sizeof lf.lfFaceName);
    return CreateFontIndirectA(&lf);
}

}  // namespace

HFONT create_view_font(const Settings& settings, int height) {
    return create_font_of(view_font_key(settings, height));
}

namespace {

// The weekday font, the day font (header, day numbers and clock) and the font of the line
// under the day numbers, each in every shape that was asked for, kept between paints: making
// and realising a font costs more than the rest of a paint.
struct KeptFont {
    ViewFontKey key = {};
    OwnedFont font;
    ViewFontMetrics metrics = {};
    HDC holder = nullptr;  // the dc use_view_font left it selected in
};
KeptFont g_kept[3][kShapeKinds];

// The widest of the 六曜 and solar terms' names.
int widest_label(HDC dc) {
    int widest = 0;
    auto measure = [&](const char* text) {
        SIZE size = {0, 0};
        if (GetTextExtentPoint32A(dc, text, lstrlenA(text), &size) && size.cx > widest)
            widest = size.cx;
    };
    for (const char* name : kRokuyoNames) measure(name);
    for (const char* name : kSolarTermNames) measure(name);
    return widest;
}

ViewFontMetrics measure_font(HFONT font, ViewFontRole role) {
    ViewFontMetrics m = {};
    OwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc || !font) return m;
    GdiSelect sel(dc.get(), font);
    GetTextExtentPoint32A(dc.get(), "88", 2, &m.digits);
    INT advance[11] = {};
    if (GetCharWidth32A(dc.get(), ' ', ' ', &advance[0]) &&
        GetCharWidth32A(dc.get(), '0', '9', &advance[1])) {
        for (int i = 0; i < 11; ++i) m.widths[i] = advance[i];
    }
    TEXTMETRICA tm;
    if (GetTextMetricsA(dc.get(), &tm)) m.height = tm.tmHeight;
    if (role == ViewFontRole::kLabel) m.label_width = widest_label(dc.get());
    return m;
}

// Takes the font out of the dc that holds it: a selected font must not be deleted.
void let_go(KeptFont& k) {
    if (k.holder && k.font && GetCurrentObject(k.holder, OBJ_FONT) == k.font.get())
        SelectObject(k.holder, GetStockObject(SYSTEM_FONT));
    k.holder = nullptr;
}

KeptFont& kept(ViewFontRole role, unsigned shape) {
    int r = 2;
    switch (role) {
    case ViewFontRole::kWeekday: r = 0; break;
    case ViewFontRole::kDay: r = 1; break;
    case ViewFontRole::kLabel: break;
    }
    return g_kept[r][shape < kShapeKinds ? shape : 0];
}

}  // namespace

HFONT view_font(const Settings& settings, ViewFontRole role, int height, unsigned shape) {
    KeptFont& k = kept(role, shape);
    const ViewFontKey want = view_font_key(settings, height, shape);
    if (!k.font || !same_view_font(k.key, want)) {
        let_go(k);
        k.font.reset(create_font_of(want));
        k.key = want;
        k.metrics = measure_font(k.font.get(), role);
    }
    return k.font.get();
}

const ViewFontMetrics& view_font_metrics(ViewFontRole role, unsigned shape) {
    return kept(role, shape).metrics;
}

void use_view_font(HDC dc, HFONT font) {
    if (!dc || !font) return;
    if (GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
    for (auto& role : g_kept)
        for (KeptFont& k : role)
            if (k.font.get() == font) k.holder = dc;
}

void view_fonts_release() {
    for (auto& role : g_kept)
        for (KeptFont& k : role) {
            let_go(k);
            k.font.reset();
        }
}

namespace {

// Draws with draw(dx, dy) in the halo's colour at the eight neighbouring positions, then in
// the previous colour at (0, 0).
template <class Draw>
void with_halo(HDC dc, bool halo, COLORREF halo_colour, Draw draw) {
    if (halo) {
        const COLORREF old = SetTextColor(dc, halo_colour);
        static const int around[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                         {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
        for (const auto& d : around) draw(d[0], d[1]);
        SetTextColor(dc, old);
    }
    draw(0, 0);
}

}  // namespace

void draw_text_halo(HDC dc, int x, int y, const char* text, bool halo, COLORREF halo_colour) {
    const int len = static_cast<int>(std::strlen(text));
    with_halo(dc, halo, halo_colour, [&](int dx, int dy) { TextOutA(dc, x + dx, y + dy, text, len); });
}

namespace {

// An underlined font draws one line from a string's start to its end, which across a run's
// texts in several rows is a slanted stroke through the month: each character is written
// alone at its place instead, blanks left out, so each text gets its own underline.
void write_run_characters(HDC dc, const TextRun& run, int dx, int dy) {
    const auto* text = reinterpret_cast<const WCHAR*>(run.text);
    int x = run.x + dx, y = run.y + dy;
    for (int i = 0; i < run.count && i < kMaxRunChars; ++i) {
        if (text[i] != L' ') ExtTextOutW(dc, x, y, 0, nullptr, &text[i], 1, nullptr);
        x += run.dxy[2 * i];
        y -= run.dxy[2 * i + 1];
    }
}

}  // namespace

void write_text_run(HDC dc, const TextRun& run, int dx, int dy) {
    static_assert(sizeof(WCHAR) == sizeof(uint16_t), "run text is UTF-16");
    static_assert(sizeof(INT) == sizeof(int), "steps are ints");
    if (run.style & kShapeUnderline) {
        write_run_characters(dc, run, dx, dy);
        return;
    }
    const auto* text = reinterpret_cast<const WCHAR*>(run.text);
    // ExtTextOutW takes the steps as a writable INT array in its declaration only.
    INT* steps = const_cast<INT*>(reinterpret_cast<const INT*>(run.dxy));
    ExtTextOutW(dc, run.x + dx, run.y + dy, ETO_PDY, nullptr, text, run.count, steps);
}

void draw_text_run_halo(HDC dc, const TextRun& run, bool halo, COLORREF halo_colour) {
    const COLORREF old = SetTextColor(dc, static_cast<COLORREF>(run.colour));
    with_halo(dc, halo, halo_colour, [&](int dx, int dy) { write_text_run(dc, run, dx, dy); });
    SetTextColor(dc, old);
}

void draw_text_mask_halo(HDC dc, int w, int h, int x, int y, const char* text,
                         COLORREF halo_colour) {
    HDC mask = halo_mask_begin(w, h);
    if (!mask) {
        draw_text_halo(dc, x, y, text, true, halo_colour);
        return;
    }
    const int len = static_cast<int>(std::strlen(text));
    SIZE ext = {0, 0};
    GetTextExtentPoint32A(dc, text, len, &ext);
    const UINT align = GetTextAlign(dc);
    {
        GdiSelect font(mask, GetCurrentObject(dc, OBJ_FONT));
        SetTextAlign(mask, align);
        TextOutA(mask, x, y, text, len);
    }
    int left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - ext.cx / 2;
    else if (align & TA_RIGHT)
        left = x - ext.cx;
    // The glyphs' overhang and the halo's pixel beyond the measured extent.
    const RECT area = {left - 4, y - 2, left + ext.cx + 4, y + ext.cy + 2};
    halo_mask_lay(dc, area, halo_colour);
    TextOutA(dc, x, y, text, len);
}
