// The texts the user sees around iCalendar export and import: the file choosers' captions
// and filter, and the one message after each (formed from the counts, nothing else).
#pragma once

#include <stddef.h>

#include "schedule/ical_import.h"
#include "schedule/ical_write.h"

extern const char kIcalFilter[];       // "iCalendar (*.ics)|*.ics|"
extern const char kIcalExportTitle[];  // the save chooser: memos are written unscrambled
extern const char kIcalImportTitle[];
extern const char kIcalNotCalendar[];  // the file holds no calendar; nothing changed
extern const char kIcalReadFailed[];   // the file could not be read; nothing changed
extern const char kIcalTooLarge[];     // the file is larger than any calendar we read
extern const char kIcalWriteFailed[];  // the file could not be written

constexpr size_t kIcalMessageSize = 1024;

// After an import: read, added, already there, changed (and why), left out (and why);
// max is the list's size; save_failed adds that the settings file could not be written.
void ical_import_message(const IcalImportCounts& c, int max, bool save_failed, char* out,
                         size_t size);

// After an export: how many were written, and how many entries had no day to write.
void ical_export_message(const IcalExportCounts& c, char* out, size_t size);
