// What the month painter and the clock painter share for their text: the view fonts made
// from the settings and kept between paints, and text with a halo over a background image.
#pragma once

#include <windows.h>

struct Settings;

// The view font: zero LOGFONT but for this height and the settings' weight, italic,
// character set and face name (cut to 31 bytes on a character boundary). The caller owns it.
HFONT create_view_font(const Settings& settings, int height);

// The kept font of a role for these settings, this height and a shape (kShapeBold,
// kShapeItalic, kShapeUnderline of app/month_colours.h; 0 the settings' own), made anew only
// when one of them changed since the last call. Owned here: select it, never delete it.
enum class ViewFontRole { kWeekday, kDay, kLabel };
HFONT view_font(const Settings& settings, ViewFontRole role, int height, unsigned shape = 0);
// What the painters measure of a kept font, measured once when the font is made.
struct ViewFontMetrics {
    SIZE digits;      // extent of "88"
    int widths[11];   // advance of ' ' (index 0) and of '0' to '9' (1 to 10)
    int height;       // tmHeight: the rows a line of text covers
    int label_width;  // the label font only: the widest of the texts under the day numbers
};
const ViewFontMetrics& view_font_metrics(ViewFontRole role, unsigned shape = 0);
// Selects a kept font into dc unless it is selected there already, and leaves it there:
// selecting a font costs more than writing a text. A kept font made anew is first taken
// out of the dc that holds it.
void use_view_font(HDC dc, HFONT font);
// Deletes the kept fonts (the window's destruction), taking them out of the dc holding them.
void view_fonts_release();

// The halo of the classic scheme: white around the texts.
constexpr COLORREF kWhiteHalo = RGB(255, 255, 255);

// Writes text at x, y with the dc's alignment, font and colour; with halo, first in the
// halo's colour (the window colour) at the eight neighbouring positions, then in the
// previous colour on top.
void draw_text_halo(HDC dc, int x, int y, const char* text, bool halo,
                    COLORREF halo_colour = kWhiteHalo);
// The same for a run of texts (app/text_runs.h) in the run's colour, with the dc's font and
// TA_LEFT | TA_TOP alignment.
struct TextRun;
void draw_text_run_halo(HDC dc, const TextRun& run, bool halo, COLORREF halo_colour = kWhiteHalo);
// The run alone, moved by dx, dy, in the dc's colour.
void write_text_run(HDC dc, const TextRun& run, int dx, int dy);
// Writes text at x, y like draw_text_halo with its halo laid through the halo mask
// (app/halo_mask_win.h) of a target of w x h pixels, or around it when no mask can be had.
void draw_text_mask_halo(HDC dc, int w, int h, int x, int y, const char* text,
                         COLORREF halo_colour = kWhiteHalo);
