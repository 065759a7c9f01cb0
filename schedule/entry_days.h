// The days an entry falls on in the years the calendar shows, 1980..2079: the same test the
// month view paints by, one day per year at most.
#pragma once

#include "schedule/entry.h"
#include "schedule/ical_occurrences.h"

constexpr int kEntryDaysMax = kIcalLastYear - kIcalFirstYear + 1;

// The entry's days in date order into out (room for kEntryDaysMax); returns their number.
int entry_days(const ScheduleEntry* e, IcalDate* out);
