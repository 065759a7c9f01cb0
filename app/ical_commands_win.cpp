// The iCalendar commands: the whole schedule written as an .ics file, and the events of an
// .ics file brought into the schedule, each ending in one message that says what was done.
#include <cstring>

#include "app/dialog_calls_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "config/fileio.h"
#include "config/settings.h"
#include "dialogs/file_chooser.h"
#include "dialogs/file_chooser_win.h"
#include "resources/texts.h"
#include "schedule/entry.h"
#include "schedule/ical_file.h"
#include "schedule/ical_messages.h"
#include "schedule/ical_platform_win.h"
#include "schedule/storage.h"

namespace {

// The filter as a writable copy, which the chooser turns into the dialog's list in place;
// the zero after it ends that list.
struct IcalFilter {
    char text[sizeof kIcalFilter + 1] = {};
    IcalFilter() { std::memcpy(text, kIcalFilter, sizeof kIcalFilter); }
};

// The folder remembered from an earlier choice, read again from the settings file (another
// copy of the program may have chosen since).
const char* remembered_folder(MainState& s) {
    ical_folder_load(s.settings);
    return s.settings->IcalFolder;
}

// The folder of the file chosen, kept for the choosers of later runs: written at once, or
// (write false) with the save that follows. Only a command that did something keeps it: a
// file that is no calendar, or gave nothing new, leaves the settings file as it was.
void remember_folder(MainState& s, bool write) {
    char dir[sizeof s.settings->IcalFolder];
    chooser_initial_dir(s.ical_file, dir, sizeof dir);
    if (!dir[0] || std::strcmp(dir, s.settings->IcalFolder) == 0) return;
    std::memcpy(s.settings->IcalFolder, dir, sizeof dir);
    if (write)
        ical_folder_save(*s.settings);
    else
        ical_folder_put(*s.settings);
}

void tell(HWND hwnd, const char* text, bool fine) {
    message_box(hwnd, text, kProgramName, MB_OK | (fine ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace

void export_calendar(MainState& s, HWND hwnd) {
    // The tray menu still reaches the window while a chooser is open.
    if (s.ical_chooser_open) return;
    IcalFilter filter;
    s.ical_chooser_open = true;
    const bool chosen = choose_save_file(hwnd, kIcalExportTitle, s.ical_file, sizeof s.ical_file,
                                         kIcalDefaultName, filter.text, 1, remembered_folder(s));
    s.ical_chooser_open = false;
    if (!chosen) return;
    const ScheduleList& list = *s.schedule;
    IcalExportCounts counts = {};
    const IcalFileResult r =
        ical_export_file(fileio_win(), s.ical_file, list.entries, schedule_live_count(list),
                         ical_platform_win(), ical_now_utc_win(), &counts);
    if (r == IcalFileResult::kDone) remember_folder(s, true);
    char text[kIcalMessageSize];
    ical_export_result_message(r, counts, text, sizeof text);
    tell(hwnd, text, r == IcalFileResult::kDone);
}

void import_calendar(MainState& s, HWND hwnd) {
    // The schedule dialog edits the list in place: nothing else may change it meanwhile.
    if (s.ical_chooser_open || s.schedule_dialog_open) return;
    IcalFilter filter;
    s.ical_chooser_open = true;
    const bool chosen =
        choose_file(hwnd, kIcalImportTitle, s.ical_file, sizeof s.ical_file, filter.text, 1,
                    remembered_folder(s));
    s.ical_chooser_open = false;
    // A schedule dialog opened from the tray meanwhile ran inside the chooser's loop: it has
    // closed again before the chooser could return.
    if (!chosen) return;
    ScheduleList& list = *s.schedule;
    int count = schedule_live_count(list);
    IcalImportCounts counts = {};
    const IcalFileResult r = ical_import_file(fileio_win(), s.ical_file, ical_platform_win(),
                                              list.entries, &count, kMaxEntries, &counts,
                                              &list.deleted);
    list.count = count;
    bool save_failed = false;
    if (r == IcalFileResult::kDone &&
        (counts.added > 0 || counts.updated > 0 || counts.days_left_out > 0)) {
        remember_folder(s, false);
        save_failed = !schedule_save(*s.settings, &list);
        repaint(s, hwnd, ViewEvent::kEntriesChanged);
    }
    char text[kIcalMessageSize];
    ical_import_result_message(r, counts, kMaxEntries, save_failed, text, sizeof text);
    tell(hwnd, text, r == IcalFileResult::kDone && !save_failed);
}
