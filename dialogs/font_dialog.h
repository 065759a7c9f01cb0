// Rules of the font dialog, free of any window system: the view font it offers and returns
// (face, style and script; no size), the height it opens with, and which of its messages
// mean that the user changed the selection, so that the calendar previews it.
#pragma once

#include <cstddef>

#include "resources/resource.h"

struct Settings;

// The month view's font as the settings keep it.
struct FontChoice {
    int charset;
    int weight;
    int italic;
    char face[100];  // as `fontname`: up to 99 bytes
};

FontChoice font_choice_of(const Settings& s);
// Stores the four values in the settings (the face copied, cut on a character boundary).
void font_choice_store(Settings* s, const FontChoice& c);
FontChoice font_choice(int charset, int weight, int italic, const char* face);

// The dialog opens at 10 points for the screen's vertical resolution: -(dpi * 10 / 72),
// truncated toward zero. The size is never taken back.
int font_dialog_height(int logpixels_y);

// The command the preview posts to the dialog: WM_COMMAND with wParam exactly this value.
// The id the system's dialog gives its Apply button.
constexpr unsigned kFontPreviewCommand = IDC_FONT_APPLY;

// Whether a WM_COMMAND of the dialog says that the face, style or script selection changed
// (CBN_SELCHANGE, 1). Another control or notification does not.
bool font_selection_changed(int control_id, int notification);

// The style list of a dialog that does not answer the request for its current LOGFONT
// keeps weight and italic flag in each item's data: weight in the low word, italic in the
// high word. Returns false (and changes nothing) for an item without data (CB_ERR).
bool font_style_of_item(long data, int* weight, int* italic);
