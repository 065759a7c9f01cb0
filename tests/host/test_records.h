// The settings record and the schedule list that tests hand to the code under test, where
// the program hands its own. Fixtures reset them (program_reset for the Windows tests).
#pragma once

#include "config/settings.h"
#include "schedule/entry.h"

inline Settings settings;
inline ScheduleList schedule;
