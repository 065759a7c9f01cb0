// The About box (IDD_ABOUT): program name, version text and the copyright
// and contact lines from the string table.
#ifndef ZELMAR_ABOUT_BOX_H
#define ZELMAR_ABOUT_BOX_H

#include <windows.h>

// Modal over owner; returns when OK or Alt+F4 closes it.
void about_box(HWND owner);

#endif
