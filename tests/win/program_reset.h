// One reset of everything the program keeps process-wide, for test fixtures, and of the
// records the tests hand over in the program's place (the settings record and the schedule
// list, which the program keeps in start-up and hands to the main window). Call it while no
// main window is open. Why each of the others is process-wide:
// - the main window's state: the window procedure is a plain callback of the one main
//   window, and the alarm window's record in it lives as long as that window;
// - the settings document and the legacy sources: the one settings file of the run and the
//   older data found at start-up, behind the profile layer every key goes through;
// - the off-screen surface, the background image with its cache, the kept view fonts and the
//   halo masks: what every paint reuses so that a paint costs one blit;
// - the image plug-ins: loaded once from the program directory at start-up;
// - the clock, memo and snooze seams: the platform's clock and string order and the snooze
//   interval, replaced by tests; the message boxes' witness, which tests set to read what a
//   box says; the high-contrast seam, which tests set to switch the scheme;
// - the save notice: a failed save is told once per run, also before the window exists;
// - the tray tip and the tray's shell seam: the icon is the process's, shown again with its
//   tip when the taskbar restarts.
#pragma once

#include <windows.h>

#include "app/halo_mask_win.h"
#include "app/main_state_win.h"
#include "app/month_colours_win.h"
#include "app/save_notice_win.h"
#include "app/tray_win.h"
#include "app/view_text_win.h"
#include "calendar/date.h"
#include "config/profile.h"
#include "config/settings.h"
#include "dialogs/message_box_win.h"
#include "image/background_win.h"
#include "image/plugins_win.h"
#include "image/surface_win.h"
#include "schedule/alarm_snooze.h"
#include "schedule/entry.h"
#include "schedule/storage.h"
#include "tests/host/test_records.h"

namespace win_test {

inline void reset_program_globals() {
    main_state = MainState{};
    profile_open("", nullptr);  // no settings file: an empty document that is never written
    storage_set_sources(nullptr, nullptr, nullptr);
    settings_defaults(&settings, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    schedule_clear(&schedule);
    surface_destroy();
    view_fonts_release();
    halo_mask_release();
    background_release();
    unload_image_plugins();
    set_clock_source(nullptr);
    set_snooze_interval(0);
    set_memo_compare(nullptr);
    set_message_box_witness(nullptr);
    set_high_contrast_source(nullptr);
    save_notice_reset();
    tray_set_tip(nullptr, "");
    set_notify_icon_function(nullptr);
}

}  // namespace win_test
