// The readable forms in which an entry's fields beyond its "schedule%03d" and "alarm%03d"
// values are stored (schedule/schedule_sections.h keeps them as "<key>.<name>=<value>" lines
// of their own), each from RFC 5545 where it has one:
//
//   uid         the identity, as it is
//   rrule       the rule: FREQ=DAILY|WEEKLY|MONTHLY|YEARLY, INTERVAL, BYDAY (with ordinals
//               1..4 and -1 for a month), BYMONTHDAY (1..31, -1), WKST, UNTIL=yyyymmdd, COUNT
//   exdate      the skipped days: yyyymmdd,yyyymmdd,...
//   end         the last day, and a timed entry's end time: yyyymmdd or yyyymmddThhmm
//   trigger     an alarm's lead before the time when minutes_before is not 0..99 minutes
//               shown as minutes: -PTnM, -PTnH or -PnD
//   daytrigger  an entry without a time: when it rings, from 00:00 of its day (-PT15H is
//               the day before at 9:00, PT9H the day at 9:00)
//   dayaction   and how: the alarm kind digit, then the sound file for kind 3
//   recurid     the occurrence of a series this entry stands for: yyyymmdd or yyyymmddThhmm
//   seq         changes made since created
//   modified    when last changed, local wall time: yyyymmddThhmmss
//
// Every reader takes at most a bounded number of bytes and fails on anything it cannot hold
// whole, leaving the entry as it was.
#pragma once

#include <stddef.h>

#include <string>
#include <utility>
#include <vector>

#include "calendar/date.h"
#include "schedule/entry.h"

// The RRULE value of a rule ("FREQ=WEEKLY;INTERVAL=2;BYDAY=TU;WKST=SU;UNTIL=20270114");
// empty for RepeatKind::kNone.
std::string repeat_rule_text(const RepeatRule& r);

// An RRULE value of n bytes as a rule of an entry starting on start (what a rule leaves
// out, such as a weekly rule's weekday, comes from there). False, *r untouched, when it is
// no rule an entry can hold (other frequencies or parts, lists that do not fit, several
// weekdays with a monthly rule's BYSETPOS...).
bool repeat_rule_parse(const char* s, size_t n, const CalendarDate& start, RepeatRule* r);

// One stored property: its name and its value (plain, before any scrambling).
using EntryProp = std::pair<std::string, std::string>;

// The properties an entry needs beyond its stored slot, in the order above; the uid only
// when with_uid. An entry of the old kinds with nothing more gives none.
std::vector<EntryProp> entry_props(const ScheduleEntry& e, bool with_uid);

// Takes one stored property into e. False (e unchanged) for a name it does not know or a
// value it cannot read whole.
bool entry_take_prop(const std::string& name, const std::string& value, ScheduleEntry* e);

// A stored slot's alarm key holds a lead of 0..99 minutes: a longer lead is written there as
// this and kept whole in "trigger".
constexpr int kStoredLeadMax = 99;
// The lead as the alarm key writes it (one beyond kStoredLeadMax as kStoredLeadMax).
int stored_minutes_before(const ScheduleEntry& e);
