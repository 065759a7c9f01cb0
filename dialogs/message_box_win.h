// The program's own message box: called like MessageBoxA and returning the
// same button ids, but with Japanese button labels, the dialog font of the
// program's resources, the box sized to its text and centred over its owner.
#ifndef ZELMAR_MESSAGE_BOX_H
#define ZELMAR_MESSAGE_BOX_H

#include <windows.h>

// Modal over owner (nullptr: centred on the screen). flags & 0x0F chooses the
// buttons (MB_OK ... MB_RETRYCANCEL; 6 to 15 give OK), flags & 0xF0 the icon.
// Returns the id of the button pressed; when the dialog cannot run, the safe
// answer of the set (IDOK, IDCANCEL, IDRETRY or IDNO); when its working memory
// cannot be had, the result of MessageBoxA with the same arguments.
int message_box(HWND owner, const char* text, const char* caption, UINT flags);

// Shown each box's text, caption and flags as it opens (nullptr: nobody). The box draws its
// text itself, so the tests' programs learn it here: never set in the program itself.
typedef void (*MessageBoxWitness)(const char* text, const char* caption, UINT flags);
void set_message_box_witness(MessageBoxWitness witness);

#endif
