// Walking the components of iCalendar text: BEGIN and END lines matched up into a stack of
// known components (calendar, event, alarm, time zone and its observances) and unknown ones,
// with every property handed over together with the component it belongs to.
#pragma once

#include <stddef.h>

#include "schedule/ical_lines.h"

enum class IcalComp : unsigned char {
    kCalendar,  // VCALENDAR at the top
    kEvent,     // VEVENT in a calendar
    kAlarm,     // VALARM in an event
    kTimezone,  // VTIMEZONE in a calendar
    kStandard,  // STANDARD or DAYLIGHT in a time zone
    kDaylight,
    kOther,  // anything else, skipped with all it holds
};

constexpr int kIcalMaxDepth = 16;

class IcalHandler {
public:
    virtual ~IcalHandler() = default;
    virtual void begin(IcalComp c) {}
    // implicit: closed by the END of a component around it or by the end of the text, so
    // whatever it holds may be cut short.
    virtual void end(IcalComp c, bool implicit) {}
    // A property directly inside component c (never inside an unknown component).
    virtual void property(IcalComp c, const IcalProperty& p, const IcalLine& line) {}
};

// Walks the whole text. Returns whether it held a calendar (a BEGIN:VCALENDAR at the top).
bool ical_walk(const char* text, size_t n, IcalHandler* h);
