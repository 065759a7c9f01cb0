// The texts of the alarm window: an entry's time in 24- or 12-hour form, and the block that
// tells its date, time, memo and how many minutes remain.
#pragma once

#include <cstddef>

#include "schedule/alarm_batch.h"
#include "schedule/entry.h"

// 24-hour "%2d:%02d"; 12-hour with the mark "AM"/"PM" before the time, or after it when
// mark_after (hours 0 and 12 both show as 0).
void format_alarm_time(char* out, size_t size, int hour, int minute, bool twelve_hour,
                       bool mark_after);

// "%d年%d月%d日 <time>\r\n<memo>\r\n%d 分前です" (or hours or days before, as the lead is
// shown), or "予定時刻です" as the last line when the alarm is at the time itself, or
// "(起動前の予定)" for an alarm missed while the program was not running; an entry without
// a time says its day without one. The date and time are the entry's own (an alarm batch
// dates its copy on the occurrence that rang).
void format_alarm_entry(char* out, size_t size, const ScheduleEntry* e, bool twelve_hour,
                        bool mark_after, bool missed = false);

// The blocks of every item of the batch, in order, separated by an empty line; only whole
// blocks that fit. With count_line the text starts with "アラーム N件" and an empty line.
// Returns the number of blocks written.
int format_alarm_batch(char* out, size_t size, const AlarmBatch* b, bool twelve_hour,
                       bool mark_after, bool count_line = false);
