#include "schedule/ical_messages.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

// Appends to a NUL-terminated text in out[size], cutting what does not fit.
void add(char* out, size_t size, size_t* used, const char* fmt, ...) {
    if (*used >= size - 1) return;
    va_list ap;
    va_start(ap, fmt);
    const int n = vsnprintf(out + *used, size - *used, fmt, ap);
    va_end(ap);
    if (n > 0) *used += (size_t)n < size - *used ? (size_t)n : size - *used - 1;
}

}  // namespace

void ical_import_message(const IcalImportCounts& c, int max, bool save_failed, char* out,
                         size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    size_t used = 0;
    add(out, size, &used, kIcalReadFormat, c.read);
    add(out, size, &used, kIcalAddedFormat, c.added);
    if (c.updated) add(out, size, &used, kIcalUpdatedFormat, c.updated);
    add(out, size, &used, kIcalAlreadyFormat, c.already);
    add(out, size, &used, kIcalChangedFormat, c.changed);
    if (c.recurrence_cut) add(out, size, &used, kIcalRecurrenceCutFormat, c.recurrence_cut);
    if (c.alarm_cut) add(out, size, &used, kIcalAlarmCutFormat, c.alarm_cut);
    if (c.sound_refused) add(out, size, &used, kIcalSoundRefusedFormat, c.sound_refused);
    add(out, size, &used, kIcalLeftOutFormat, c.full + c.unreadable + c.cancelled + c.deleted_here);
    if (c.full) add(out, size, &used, kIcalFullFormat, max, c.full);
    if (c.unreadable) add(out, size, &used, kIcalUnreadableFormat, c.unreadable);
    if (c.cancelled) add(out, size, &used, kIcalCancelledFormat, c.cancelled);
    if (c.deleted_here) add(out, size, &used, kIcalDeletedHereFormat, c.deleted_here);
    if (save_failed) add(out, size, &used, kIcalSaveFailed);
    // No line break at the very end.
    if (used > 0 && out[used - 1] == '\n') out[--used] = '\0';
}

void ical_export_message(const IcalExportCounts& c, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    size_t used = 0;
    add(out, size, &used, kIcalWrittenFormat, c.written);
    if (c.no_day) add(out, size, &used, kIcalNoDayFormat, c.no_day);
}
