// What the month painter and the clock painter share for their text: the view fonts made
// from the settings and kept between paints, and text with a halo over a background image.
#pragma once

#include <windows.h>

struct Settings;

// The view font: zero LOGFONT but for this height and the settings' weight, italic,
// character set and face name (cut to 31 bytes on a character boundary). The caller owns it.
HFONT create_view_font(const Settings& settings, int height);

// The kept font of a role for these settings and this height, made anew only when one of
// them changed since the last call. Owned here: select it, never delete it.
enum class ViewFontRole { kWeekday, kDay };
HFONT view_font(const Settings& settings, ViewFontRole role, int height);
// Deletes the kept fonts (the window's destruction; none of them may be selected).
void view_fonts_release();

// Writes text at x, y with the dc's alignment, font and colour; with halo, first in white at
// the eight neighbouring positions, then in the previous colour on top.
void draw_text_halo(HDC dc, int x, int y, const char* text, bool halo);
// The same for a run of texts (app/text_runs.h) in the run's colour, with the dc's font and
// TA_LEFT | TA_TOP alignment.
struct TextRun;
void draw_text_run_halo(HDC dc, const TextRun& run, bool halo);
// The run alone, moved by dx, dy, in the dc's colour.
void write_text_run(HDC dc, const TextRun& run, int dx, int dy);
// Writes text at x, y like draw_text_halo with its halo laid through the halo mask
// (app/halo_mask_win.h) of a target of w x h pixels, or around it when no mask can be had.
void draw_text_mask_halo(HDC dc, int w, int h, int x, int y, const char* text);
