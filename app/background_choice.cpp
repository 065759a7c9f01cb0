#include "app/background_choice.h"

#include "config/settings.h"

BackgroundChoice background_choice_of(const Settings& s) {
    return BackgroundChoice{s.BackImage != 0, s.BackImageFile, s.BackMode, s.BackArea,
                            s.Transparent};
}
