// The month's colours from the scheme the system has now (app/month_colours.h).
#pragma once

#include <windows.h>

#include "app/month_colours.h"

// The scheme's colours as GetSysColor gives them.
SchemeColours current_scheme_colours();
// The month's colours in the current scheme; high_contrast: it is a high-contrast one.
MonthColours scheme_month_colours(bool high_contrast);

// Whether the system runs a high-contrast scheme now (SPI_GETHIGHCONTRAST), or what the
// seam set with set_high_contrast_source says.
bool high_contrast_on();
typedef bool (*HighContrastSource)();
void set_high_contrast_source(HighContrastSource source);
