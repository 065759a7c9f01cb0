// The notice when the clock is behind the minute the alarms were last checked up to (the
// mark a previous run stored: a clock set back, or a settings file from a machine whose
// clock ran ahead). No minute is checked twice, so the alarms due up to the mark will not
// ring; the notice says so, with the mark's time, and names every alarm it holds back.
#pragma once

#include <cstdint>
#include <string>

#include "schedule/entry.h"

// Lines naming held-back alarms; the rest are counted.
constexpr int kHeldBackLines = 20;

// The notice for the alarms due in (after, mark] of list, in list order: one line for each
// occurrence, "%d年%d月%d日 <time> <memo>" with the occurrence's date and the entry's time.
// Empty when the mark is no time.
std::string held_back_notice(const ScheduleList& list, uint64_t after, uint64_t mark,
                             bool twelve_hour, bool mark_after);
