#include "app/text_pictures_win.h"

#include <cstring>

#include "app/text_picture_fit.h"
#include "app/text_runs.h"
#include "app/view_font.h"
#include "app/view_text_win.h"
#include "config/handles_win.h"
#include "image/dib.h"
#include "image/dib_section_win.h"

namespace {

// What one picture may take: enough for the texts of a window up to a good part of a
// screen; beyond it the text is written, which costs little next to such a window's blit.
constexpr uint64_t kMaxPictureBytes = 512 * 1024;
constexpr int kStrips = 8;  // colour and background pairs of day numbers kept
constexpr int kMaxBandTexts = 7;
constexpr int kMaxBandText = 64;

// A 24-bit top-down DIB in a memory DC, filled with one colour, for text written over it.
// Moved, the one it replaces goes as a whole (its DC before its bitmap).
struct Picture {
    DibSection section;
    unsigned char* rows = nullptr;
    int w = 0, h = 0, stride = 0;

    bool make(int width, int height, COLORREF back) {
        *this = Picture();
        if (width <= 0 || height <= 0) return false;
        if (dib_stride(width, 24) * static_cast<uint64_t>(height) > kMaxPictureBytes) return false;
        DibShape shape;
        shape.width = width;
        shape.height = height;
        shape.top_down = true;
        if (!section.make(shape) || !section) {
            section.reset();
            return false;
        }
        rows = section.rows();
        w = width;
        h = height;
        stride = section.stride();
        for (int y = 0; y < h; ++y) {
            unsigned char* p = rows + static_cast<long>(y) * stride;
            for (int x = 0; x < w; ++x, p += 3) {
                p[0] = GetBValue(back);
                p[1] = GetGValue(back);
                p[2] = GetRValue(back);
            }
        }
        SetBkMode(dc(), TRANSPARENT);
        return true;
    }
    HDC dc() const { return section.dc(); }
    explicit operator bool() const { return rows != nullptr; }
};

// The part r of a picture, in a picture of its own just that size: what is kept of a text
// once its ink is known.
Picture cropped(const Picture& from, const CellRect& r, COLORREF back) {
    Picture p;
    if (rect_empty(r) || !p.make(r.right - r.left, r.bottom - r.top, back)) return Picture();
    BitBlt(p.dc(), 0, 0, p.w, p.h, from.dc(), r.left, r.top, SRCCOPY);
    GdiFlush();
    return p;
}

// Rows above and below a line of text (and beside a number) for glyphs that reach beyond
// their cell; a text whose ink touches the picture's edge may have been cut, and is written.
int pad_for(int height) { return height / 4 + 4; }

struct BandKey {
    ViewFontKey font;
    COLORREF back;
    int height, width, count;
    int x[kMaxBandTexts];
    COLORREF colour[kMaxBandTexts];
    char text[kMaxBandTexts][kMaxBandText];
};

struct Band {
    BandKey key;
    bool made = false;  // tried for this key; picture empty when it could not be had
    Picture picture;
    int pad = 0;
    CellRect ink = {0, 0, 0, 0};
};

struct StripKey {
    ViewFontKey font;
    COLORREF colour, back;
    int height;
    int widths[11];
};

struct Strip {
    StripKey key;
    bool made = false;
    Picture picture;        // the numbers' inks side by side
    bool usable[31] = {};
    int source_x[31] = {};  // where a number's ink starts in the picture
    CellRect ink[31] = {};  // relative to the number's centre and top
};

bool touches_edge(const CellRect& ink, int w, int h) {
    return ink.left <= 0 || ink.top <= 0 || ink.right >= w || ink.bottom >= h;
}

}  // namespace

struct LookKey {
    ViewFontKey weekday, day;
    int width;
    COLORREF back;
};

struct TextPictures::Pictures {
    LookKey look;
    bool look_seen = false;
    Band bands[kBandCount];
    Strip strips[kStrips];
    int next_strip = 0;
};

TextPictures::TextPictures() : p_(new Pictures) {}
TextPictures::~TextPictures() = default;
TextPictures::TextPictures(TextPictures&&) noexcept = default;
TextPictures& TextPictures::operator=(TextPictures&&) noexcept = default;

void TextPictures::drop() { p_.reset(new Pictures); }

long TextPictures::bytes() const {
    long n = 0;
    if (!p_) return 0;
    for (const Band& b : p_->bands) n += static_cast<long>(b.picture.stride) * b.picture.h;
    for (const Strip& s : p_->strips) n += static_cast<long>(s.picture.stride) * s.picture.h;
    return n;
}

bool TextPictures::settled(const ViewFontKey& weekday, const ViewFontKey& day, int width,
                           COLORREF back) {
    if (!p_) return false;
    LookKey k;
    std::memset(&k, 0, sizeof k);
    std::memcpy(&k.weekday, &weekday, sizeof k.weekday);
    std::memcpy(&k.day, &day, sizeof k.day);
    k.width = width;
    k.back = back;
    const bool same = p_->look_seen && std::memcmp(&p_->look, &k, sizeof k) == 0;
    std::memcpy(&p_->look, &k, sizeof k);
    p_->look_seen = true;
    return same;
}

void copy_placed_picture(HDC target, const PlacedPicture& p) {
    const CellRect& t = p.target;
    if (rect_empty(t)) return;
    BitBlt(target, t.left, t.top, t.right - t.left, t.bottom - t.top, p.source, p.source_x,
           p.source_y, SRCCOPY);
}

namespace {

void make_band(Band& b, HFONT font, const BandText* texts, int count) {
    const BandKey& k = b.key;
    b.made = true;
    b.pad = pad_for(k.height);
    if (!font || k.height <= 0 || !b.picture.make(k.width, k.height + 2 * b.pad, k.back)) return;
    HDC dc = b.picture.dc();
    {
        GdiSelect sel(dc, font);
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        for (int i = 0; i < count; ++i) {
            SetTextColor(dc, texts[i].colour);
            TextOutA(dc, texts[i].x, b.pad, texts[i].text, lstrlenA(texts[i].text));
        }
    }
    GdiFlush();
    b.ink = ink_bounds(b.picture.rows, b.picture.stride, b.picture.w, b.picture.h, k.back);
    // The band spans the target's width, so only its top and bottom can cut a glyph.
    if (rect_empty(b.ink) || b.ink.top == 0 || b.ink.bottom == b.picture.h) {
        b.picture = Picture();
        return;
    }
    b.picture = cropped(b.picture, b.ink, k.back);
}

void make_strip(Strip& s, HFONT font) {
    const StripKey& k = s.key;
    s.made = true;
    int widest = 0;
    for (int i = 0; i < 11; ++i) widest = k.widths[i] > widest ? k.widths[i] : widest;
    const int pad = pad_for(k.height);
    const int slot = 2 * widest + 2 * pad;
    // Written one number to a slot, then only the inks kept, side by side.
    Picture loose;
    if (!font || k.height <= 0 || widest <= 0 ||
        !loose.make(31 * slot, k.height + 2 * pad, k.back))
        return;
    HDC dc = loose.dc();
    {
        GdiSelect sel(dc, font);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        SetTextColor(dc, k.colour);
        for (int day = 1; day <= 31; ++day) {
            // The same characters and steps as the month's runs give this number.
            const uint16_t chars[2] = {static_cast<uint16_t>(day >= 10 ? '0' + day / 10 : ' '),
                                       static_cast<uint16_t>('0' + day % 10)};
            const int advances[2] = {day >= 10 ? k.widths[1 + day / 10] : k.widths[0],
                                     k.widths[1 + day % 10]};
            const int centre = (day - 1) * slot + slot / 2;
            const CentredText t = {centre, pad, k.colour, 2, chars, advances};
            TextRun run;
            if (centred_text_runs(&t, 1, &run, 1) == 1) write_text_run(dc, run, 0, 0);
        }
    }
    GdiFlush();
    CellRect ink_in_loose[31] = {};
    int packed_w = 0, packed_h = 0;
    for (int day = 1; day <= 31; ++day) {
        const int left = (day - 1) * slot;
        const unsigned char* rows = loose.rows + 3L * left;
        const CellRect ink = ink_bounds(rows, loose.stride, slot, loose.h, k.back);
        // A number without ink, or one that may have been cut at its slot's edge, is written.
        if (rect_empty(ink) || touches_edge(ink, slot, loose.h)) continue;
        const int centre = slot / 2;
        s.ink[day - 1] = CellRect{ink.left - centre, ink.top - pad, ink.right - centre, ink.bottom - pad};
        ink_in_loose[day - 1] = CellRect{left + ink.left, ink.top, left + ink.right, ink.bottom};
        s.source_x[day - 1] = packed_w;
        packed_w += ink.right - ink.left;
        if (ink.bottom - ink.top > packed_h) packed_h = ink.bottom - ink.top;
        s.usable[day - 1] = true;
    }
    if (!s.picture.make(packed_w, packed_h, k.back)) {
        for (bool& u : s.usable) u = false;
        return;
    }
    for (int d = 0; d < 31; ++d) {
        if (!s.usable[d]) continue;
        const CellRect& r = ink_in_loose[d];
        BitBlt(s.picture.dc(), s.source_x[d], 0, r.right - r.left, r.bottom - r.top, dc,
               r.left, r.top, SRCCOPY);
    }
    GdiFlush();
}

CellRect moved(const CellRect& r, int dx, int dy) {
    return CellRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

bool TextPictures::band(int which, HFONT font, const ViewFontKey& key, int height, COLORREF back,
                        int width, int y, const BandText* texts, int count, PlacedPicture* out) {
    if (!p_ || which < 0 || which >= kBandCount || count < 0 || count > kMaxBandTexts)
        return false;
    BandKey k;
    std::memset(&k, 0, sizeof k);
    std::memcpy(&k.font, &key, sizeof k.font);
    k.back = back;
    k.height = height;
    k.width = width;
    k.count = count;
    for (int i = 0; i < count; ++i) {
        if (!texts[i].text || std::strlen(texts[i].text) >= kMaxBandText) return false;
        k.x[i] = texts[i].x;
        k.colour[i] = texts[i].colour;
        std::strcpy(k.text[i], texts[i].text);
    }
    Band& b = p_->bands[which];
    if (!b.made || std::memcmp(&b.key, &k, sizeof k) != 0) {
        std::memcpy(&b.key, &k, sizeof k);
        make_band(b, font, texts, count);
    }
    if (!b.picture) return false;
    *out = PlacedPicture{b.picture.dc(), 0, 0, moved(b.ink, 0, y - b.pad)};
    return true;
}

bool TextPictures::number(HFONT font, const ViewFontKey& key, const ViewFontMetrics& metrics,
                          COLORREF colour, COLORREF back, int day, int x, int y,
                          PlacedPicture* out) {
    if (!p_ || day < 1 || day > 31) return false;
    StripKey k;
    std::memset(&k, 0, sizeof k);
    std::memcpy(&k.font, &key, sizeof k.font);
    k.colour = colour;
    k.back = back;
    k.height = metrics.height;
    std::memcpy(k.widths, metrics.widths, sizeof k.widths);
    Strip* s = nullptr;
    for (Strip& c : p_->strips) {
        if (c.made && std::memcmp(&c.key, &k, sizeof k) == 0) s = &c;
    }
    if (!s) {
        s = &p_->strips[p_->next_strip];
        p_->next_strip = (p_->next_strip + 1) % kStrips;
        *s = Strip();
        std::memcpy(&s->key, &k, sizeof k);
        make_strip(*s, font);
    }
    if (!s->picture || !s->usable[day - 1]) return false;
    *out = PlacedPicture{s->picture.dc(), s->source_x[day - 1], 0, moved(s->ink[day - 1], x, y)};
    return true;
}
