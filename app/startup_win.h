// Start-up pieces: where the program lives and who runs it.
#pragma once

#include <windows.h>

#include <cstddef>

// A running copy of the program gets CMD_BRING_TO_FRONT (it shows itself); true when one exists.
bool hand_over_to_running_copy();
// Directory of the executable, ending in a separator (cut to size).
void find_program_directory(HINSTANCE inst, char* out, size_t size);
// The login name, or "" when there is none or it is longer than 255 bytes.
void find_user_name(char* out, size_t size);
// The program directory found at start-up.
const char* program_directory();
// The memo order of the list: the system's string comparison.
int memo_compare_win(const char* a, const char* b);
