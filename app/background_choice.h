// The background the settings choose, as the compositing takes it, and what the user is told
// when a chosen image cannot be loaded.
#pragma once

#include <cstddef>

#include "image/background_layout.h"

struct Settings;

// BackImage, BackImageFile, BackMode, BackArea and Transparent; the file stays in s.
BackgroundChoice background_choice_of(const Settings& s);

// The message for an image that could not be loaded: the fixed text, then the file name on
// a line of its own, cut to size on a character boundary.
void format_background_failure(char* out, size_t size, const char* file);
