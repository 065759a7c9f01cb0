// The minute up to which the alarms have been checked, as the settings file keeps it: the
// local wall-clock minute as "YYYYMMDDhhmm" (an instant does not fit the file's 16-bit
// integers). Written when an alarm rings and when the program ends, so that the next start
// shows what came due meanwhile and rings nothing twice.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kAlarmMarkSize = 16;

// "YYYYMMDDhhmm" of an instant (seconds dropped); "" for 0 or an instant outside the
// program's years 1980..2079.
void alarm_mark_format(char* out, size_t size, uint64_t instant);
// The instant of a stored mark; 0 (none) unless the text is exactly twelve digits forming a
// real minute of 1980..2079.
uint64_t alarm_mark_parse(const char* text);
