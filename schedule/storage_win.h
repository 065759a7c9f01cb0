// Start-up wiring of the storage for the Windows program.
#pragma once

// Opens the settings file through the Win32 file layer and points the
// legacy imports at the Windows directory (GetWindowsDirectoryA), the
// program directory and the legacy registry key. Call before startup_load.
void storage_init_win(const char* settings_path, const char* program_dir);
