// Start-up arithmetic free of the window system: the settings file's path.
#pragma once

#include <cstddef>

// Result of settings_path_build.
enum SettingsPathResult {
    kPathWithUser = 1,     // "<dir><user>.cfg"
    kPathDefault = 0,      // no user name, or it did not fit: "<dir>default.cfg"
    kPathTooLong = -1,     // not even the default fits; out is empty
};

// Formats "%s%s.cfg" from the program directory (ending in a separator) and the login name
// into out[size], never past it and never cut: a path that does not fit falls back to the
// name "default", and when that does not fit either the caller has no settings file.
SettingsPathResult settings_path_build(char* out, size_t size, const char* program_dir,
                                       const char* user_name);
