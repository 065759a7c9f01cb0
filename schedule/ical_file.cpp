#include "schedule/ical_file.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "config/fileio.h"
#include "schedule/ical_messages.h"

IcalFileResult ical_export_file(FileIO* io, const char* path, const ScheduleEntry* list, int count,
                                const IcalPlatform* platform, const IcalTime& now_utc,
                                IcalExportCounts* counts) {
    std::string text;
    ical_write(list, count, platform, now_utc, &text, counts);
    return io->write_atomic(path, text.data(), text.size()) ? IcalFileResult::kDone
                                                            : IcalFileResult::kWriteFailed;
}

IcalFileResult ical_import_file(FileIO* io, const char* path, const IcalPlatform* platform,
                                ScheduleEntry* list, int* count, int max,
                                IcalImportCounts* counts, DeletedEntries* deleted) {
    memset(counts, 0, sizeof *counts);
    const FileStamp st = io->stamp(path);
    if (!st.exists) return IcalFileResult::kReadFailed;
    if (st.size > kIcalMaxFileBytes) return IcalFileResult::kTooLarge;
    std::string text;
    if (!io->read_all(path, &text)) return IcalFileResult::kReadFailed;
    // The file may have grown since it was looked at.
    if (text.size() > kIcalMaxFileBytes) return IcalFileResult::kTooLarge;
    if (!ical_import(text.data(), text.size(), platform, list, count, max, counts, deleted))
        return IcalFileResult::kNotCalendar;
    return IcalFileResult::kDone;
}

namespace {

void copy_text(const char* text, char* out, size_t size) {
    if (size) snprintf(out, size, "%s", text);
}

}  // namespace

void ical_export_result_message(IcalFileResult r, const IcalExportCounts& c, char* out,
                                size_t size) {
    if (r == IcalFileResult::kDone)
        ical_export_message(c, out, size);
    else
        copy_text(kIcalWriteFailed, out, size);
}

void ical_import_result_message(IcalFileResult r, const IcalImportCounts& c, int max,
                                bool save_failed, char* out, size_t size) {
    switch (r) {
    case IcalFileResult::kDone:
        ical_import_message(c, max, save_failed, out, size);
        break;
    case IcalFileResult::kNotCalendar:
        copy_text(kIcalNotCalendar, out, size);
        break;
    case IcalFileResult::kTooLarge:
        copy_text(kIcalTooLarge, out, size);
        break;
    default:
        copy_text(kIcalReadFailed, out, size);
        break;
    }
}
