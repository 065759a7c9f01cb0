// Reading iCalendar text (RFC 5545) as written by any calendar program: every event
// becomes a schedule entry or is told as unreadable, one by one, so that a broken event
// never costs the others.
#pragma once

#include <stddef.h>

#include "schedule/ical_event.h"
#include "schedule/ical_platform.h"

// Called once for every event of the calendar, in file order: with what it gives, or with
// nullptr when it could not be read (no usable start, no day in 1980..2079, cut short).
typedef void (*IcalEventSink)(void* context, const IcalImported* event);

// Reads n bytes of text. Returns false when it holds no calendar at all (the sink is then
// never called). The cost is linear in n whatever the text holds.
bool ical_read(const char* text, size_t n, const IcalPlatform* platform, IcalEventSink sink,
               void* context);
