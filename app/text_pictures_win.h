// Pictures of the month's texts, written once over a plain colour and copied wherever the
// same text comes again: the weekday row, the header, the line under the numbers of each
// week row, and the day numbers 1 to 31 in each colour over the window colour and over a
// marked box. Writing a text costs a font
// selection and a call per colour each composition; a copy of its inked rectangle gives
// the same pixels (app/text_picture_fit.h says when) at a fraction of that.
//
// A picture is made anew when anything it was written from changes (font, colours, texts,
// places, width); drop() forgets them all when the system changes how text is rendered
// (font smoothing). Pictures too large for their use (a very large font) are not made: the
// caller writes the text instead.
#pragma once

#include <windows.h>

#include <memory>

#include "app/main_layout.h"

struct ViewFontKey;
struct ViewFontMetrics;

// A copy from a picture: source dc and place, and the rectangle of the target it fills.
struct PlacedPicture {
    HDC source;
    int source_x, source_y;
    CellRect target;  // empty when the text leaves no ink
};
void copy_placed_picture(HDC target, const PlacedPicture& p);

// One text of a band, written centred on x (TA_CENTER | TA_TOP).
struct BandText {
    int x;
    COLORREF colour;
    const char* text;
};

constexpr int kWeekdayBand = 0;
constexpr int kHeaderBand = 1;
constexpr int kLabelBand = 2;
constexpr int kBandCount = kLabelBand + 6;

class TextPictures {
public:
    TextPictures();
    ~TextPictures();
    TextPictures(TextPictures&&) noexcept;
    TextPictures& operator=(TextPictures&&) noexcept;

    void drop();

    // Whether the fonts, the width and the window colour are those of the previous call.
    // Pictures are made only for a look that comes twice in a row: a composition in a new
    // font or size (each step of a drag of the frame, each face the font dialog previews)
    // writes its texts rather than make pictures it may never use again.
    bool settled(const ViewFontKey& weekday, const ViewFontKey& day, int width, COLORREF back);

    // Band `which` (kWeekdayBand, kHeaderBand, or kLabelBand + r for the line under the
    // numbers of week row r): texts written at y in a font of `height` rows over back, on a
    // target `width` pixels wide. False when no picture can be had.
    bool band(int which, HFONT font, const ViewFontKey& key, int height, COLORREF back,
              int width, int y, const BandText* texts, int count, PlacedPicture* out);
    // Day number `day` ("%2d" centred on x, top y, as app/month_layout.h runs it) in colour
    // over back. False when no picture can be had.
    bool number(HFONT font, const ViewFontKey& key, const ViewFontMetrics& metrics,
                COLORREF colour, COLORREF back, int day, int x, int y, PlacedPicture* out);

    // What the pictures hold, in bytes of pixels (for the benchmarks' size figures).
    long bytes() const;

private:
    struct Pictures;
    std::unique_ptr<Pictures> p_;
};
