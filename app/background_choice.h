// The background the settings choose, as the compositing takes it.
#pragma once

#include "image/background_layout.h"

struct Settings;

// BackImage, BackImageFile, BackMode, BackArea and Transparent; the file stays in s.
BackgroundChoice background_choice_of(const Settings& s);
