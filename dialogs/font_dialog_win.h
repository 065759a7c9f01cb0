// The system's font dialog over the program's template IDD_FONT, with a hook that applies each
// change of face, style or script to the main window while the dialog is open.
#pragma once

#include <windows.h>

#include "dialogs/font_dialog.h"

struct Settings;

// Stores the font in *settings and repaints target (erased, painted at once). Saves
// nothing.
void font_apply(Settings* settings, HWND target, const FontChoice& choice);

// Opens the dialog owned by owner (the window the preview repaints) on the start font at
// this LOGFONT height; every preview is stored in *settings. True on OK with the font the
// dialog showed then in *chosen. Flags CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT |
// CF_ENABLETEMPLATE | CF_ENABLEHOOK, template IDD_FONT of inst.
bool font_dialog(HWND owner, HINSTANCE inst, Settings* settings, const FontChoice& start,
                 int height, FontChoice* chosen);
