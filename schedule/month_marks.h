// What the schedule entries put on the days of one month, for the day classification: which
// days a holiday entry falls on and which days an ordinary entry falls on.
#pragma once

#include "calendar/dayclass.h"
#include "schedule/entry.h"

// The marks of the entries list[0..count) on year/month, by entry_on_date's rule. A null
// list, a negative count or a month outside 1..12 marks nothing.
DayMarks month_marks(const ScheduleEntry* list, int count, int year, int month);
