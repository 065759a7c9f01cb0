// Export to and import from an .ics file through the program's file seam, with the message
// to show afterwards.
#pragma once

#include <stddef.h>

#include "schedule/entry.h"
#include "schedule/ical_import.h"
#include "schedule/ical_platform.h"
#include "schedule/ical_write.h"

class FileIO;

// Larger files are refused unread: more than any calendar of a desktop user.
constexpr unsigned long long kIcalMaxFileBytes = 64ull * 1024 * 1024;

enum class IcalFileResult {
    kDone,         // written / read (the counts tell what happened)
    kNotCalendar,  // read, but no iCalendar: the list is untouched
    kReadFailed,   // could not be read: the list is untouched
    kTooLarge,     // larger than kIcalMaxFileBytes: the list is untouched
    kWriteFailed,  // could not be written; a file already there is left as it was
};

// Writes list[0..count) as the calendar file path (replaced whole or not at all).
IcalFileResult ical_export_file(FileIO* io, const char* path, const ScheduleEntry* list, int count,
                                const IcalPlatform* platform, const IcalTime& now_utc,
                                IcalExportCounts* counts);

// Reads the calendar file path into list[0..*count) (room for max); see ical_import.
IcalFileResult ical_import_file(FileIO* io, const char* path, const IcalPlatform* platform,
                                ScheduleEntry* list, int* count, int max, IcalImportCounts* counts,
                                DeletedEntries* deleted = nullptr);

// The message for a result: the counts' message for kDone, else the matching notice.
// save_failed (import only) tells that the list could not be saved afterwards.
void ical_export_result_message(IcalFileResult r, const IcalExportCounts& c, char* out,
                                size_t size);
void ical_import_result_message(IcalFileResult r, const IcalImportCounts& c, int max,
                                bool save_failed, char* out, size_t size);
