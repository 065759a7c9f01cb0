// The halo that keeps texts legible over a background image, laid once under all of them:
// the texts are written into a one-bit mask, the mask is widened by a pixel each way, and the
// picture takes the halo's colour (the window colour: white in the classic scheme) wherever
// the widened mask is set. Then the texts are written over
// it as they are. The masks are kept for the next paint of the same size.
#pragma once

#include <windows.h>

// A cleared mask of w x h pixels; its dc takes the texts, in any font and alignment (their
// colour does not matter). nullptr when no mask can be made.
HDC halo_mask_begin(int w, int h);
// Paints target (the mask's size) in colour within area wherever a text's pixel or one of its
// eight neighbours was written: in the off-screen surface's rows directly, in any other target
// through blits.
void halo_mask_lay(HDC target, const RECT& area, COLORREF colour = RGB(255, 255, 255));
// Frees the masks (the window's destruction).
void halo_mask_release();
