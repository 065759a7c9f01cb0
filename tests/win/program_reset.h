// One reset of everything the program keeps process-wide, for test fixtures: the main
// window's state, the settings record, the schedule list, the settings document and the
// legacy sources, the off-screen surface, background image and kept view fonts, the image
// plug-ins, the clock and memo seams, the save notice, the tray tip and the tray's shell
// seam. Call it while no main window is open.
#pragma once

#include <windows.h>

#include "app/main_state_win.h"
#include "app/month_paint_win.h"
#include "app/save_notice_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/profile.h"
#include "config/settings.h"
#include "image/background_win.h"
#include "image/plugins_win.h"
#include "image/surface_win.h"
#include "schedule/entry.h"
#include "schedule/storage.h"

namespace win_test {

inline void reset_program_globals() {
    main_state = MainState{};
    profile_open("", nullptr);  // no settings file: an empty document that is never written
    storage_set_sources(nullptr, nullptr, nullptr);
    settings_defaults(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    for (ScheduleEntry& e : schedule_list) entry_blank(&e);
    schedulecount = 0;
    surface_destroy();
    view_fonts_release();
    background_release();
    unload_image_plugins();
    set_clock_source(nullptr);
    set_memo_compare(nullptr);
    save_notice_reset();
    tray_set_tip(nullptr, "");
    set_notify_icon_function(nullptr);
}

}  // namespace win_test
