// The one message after an iCalendar export or import, formed from the counts alone.
#pragma once

#include <stddef.h>

#include "schedule/ical_import.h"
#include "schedule/ical_write.h"

// The texts themselves (captions, filter, notices, the parts of the messages) are in
// resources/texts.h.
#include "resources/texts.h"

constexpr size_t kIcalMessageSize = 1024;

// After an import: read, added, already there, changed (and why), left out (and why);
// max is the list's size; save_failed adds that the settings file could not be written.
void ical_import_message(const IcalImportCounts& c, int max, bool save_failed, char* out,
                         size_t size);

// After an export: how many were written, and how many entries had no day to write.
void ical_export_message(const IcalExportCounts& c, char* out, size_t size);
