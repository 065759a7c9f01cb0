#include "app/background_choice.h"

#include <cstdio>

#include "config/cp932.h"
#include "config/settings.h"
#include "resources/texts.h"

BackgroundChoice background_choice_of(const Settings& s) {
    return BackgroundChoice{s.BackImage != 0, s.BackImageFile, s.BackMode, s.BackArea,
                            s.Transparent};
}

void format_background_failure(char* out, size_t size, const char* file) {
    if (size == 0) return;
    char text[1024];
    std::snprintf(text, sizeof text, kBackgroundFailedFormat, file ? file : "");
    // snprintf may have cut the name inside a double-byte character.
    cp932_copy(out, size, text);
}
