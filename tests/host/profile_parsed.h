// A settings file's text as the program reads it, for the settings-file tests.
#pragma once

#include <string>

#include "config/profile_file.h"

inline ProfileFile parsed(const std::string& text) {
    ProfileFile f;
    f.parse(text.data(), text.size());
    return f;
}
