// The main window's state: the records it was handed at creation, the view the dialogs
// share, and everything the tick, the mouse and the painting share. One instance lives as
// long as the window; the window procedure hands it to every handler. A new record is the
// state of a window just created.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/day_cursor.h"
#include "app/main_layout.h"
#include "app/recompose.h"
#include "app/text_pictures_win.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "config/window_messages_win.h"
#include "dialogs/alarm_window_win.h"
#include "dialogs/view_state.h"
#include "schedule/alarm_snooze.h"
#include "schedule/feed_entries.h"
#include "schedule/sound_win.h"

struct ScheduleList;
struct FeedRun;
struct WorkerTask;

constexpr CellRect kNoCell = {-1, -1, -1, -1};

inline std::array<CellRect, 31> no_day_cells() {
    std::array<CellRect, 31> cells;
    cells.fill(kNoCell);
    return cells;
}

inline WINDOWPLACEMENT empty_placement() {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    return wp;
}

struct MainState {
    HWND hwnd = nullptr;
    // The program's records, handed over at creation: everything the window reads or
    // changes of them it hands on from here.
    Settings* settings = nullptr;
    ScheduleList* schedule = nullptr;
    AlarmWindow alarm;                   // the alarm window's record (its window or none)
    std::unique_ptr<SoundPlayer> sound;  // the alarm window's and the schedule dialog's player
    ViewState view;                      // shown month, clicked day, schedule dialog's date
    int today_year = 0, today_month = 0, today_day = 0;
    TickMemory tick;                     // last day, minute, second and alarm instant checked
    int now_hour = 0, now_minute = 0, now_second = 0;
    int pressed_arrow = 0;               // 0 none, 1 left, 2 right
    bool popup_pending = false;          // the next left press in the client area is swallowed
    bool move_cursor = false;
    bool window_visible = true;          // false while hidden by the hide command
    bool startup_list_pending = false;
    bool tray_pending = true;            // the icon is added right after the first paint
    char last_date_text[16] = "";
    // The composed picture stays in the off-screen surface; what changed since is marked here
    // and composed by the next paint, which copies what it must show.
    Recomposition recompose;
    Settings composed_settings = {};     // what the picture was composed from
    MonthInputs composed_inputs = {};
    CellRect calendar_area = {};         // as the background last left it, with its halo
    bool halo = false;
    bool plain_back = false;             // the calendar lies on the window colour alone
    TextPictures text_pictures;          // the month's texts, written once, copied since
    // Laid out by every full paint.
    CellRect left_arrow_rect = {}, right_arrow_rect = {};
    int header_height = 0;
    std::array<CellRect, 31> day_cells = no_day_cells();
    RECT clock_rect = {}, clock_text_rect = {};  // where the clock was last drawn
    OwnedMenu menu_bar;                  // one entry, whose drop-down is main_menu
    OwnedMenu main_menu;                 // IDM_MAIN, also the popup menu
    UINT taskbar_created_msg = 0;
    bool timer_running = false;
    WINDOWPLACEMENT placement = empty_placement();
    bool schedule_dialog_open = false;   // one schedule dialog at a time (the tray reaches it)
    bool ical_chooser_open = false;      // an export's or import's file chooser is open
    char ical_file[MAX_PATH] = "";       // the .ics file chosen last: the choosers start there
    SnoozeQueue snooze;                  // alarms put off with 5分後
    std::string held_back_notice;        // the alarms the previous run's mark holds back, to tell
    bool session_ended = false;          // Windows ends the session: everything was saved
    // The keyboard: the day the keys move and act on, in the month on show (the paint brings
    // it there when the month changed another way), and its focus rectangle, shown once a key
    // was used (the window's focus cues) while the window has the keyboard.
    DayCursor cursor = {};
    bool focus_cue_hidden = true;
    bool has_focus = false;
    CellRect focus_drawn = {};           // the focus rectangle in the picture; empty: none
    int wheel_rest = 0;                  // what is left of a wheel notch
    // The scheme and the screen.
    bool high_contrast = false;
    int dpi = kBaseDpi;
    struct MonthAccessible* accessible = nullptr;  // what screen readers hold; none until asked
    // The calendar sync: its account, the sync under way and what was told (app/sync_run_win.h).
    struct SyncRun* sync = nullptr;
    // Subscribed calendars (app/feeds_win.h): their events, shown beside the schedule's and
    // never saved with it; the worker's run under way, and whether another is due after it.
    FeedEntries feed_entries;
    WorkerTask* feed_task = nullptr;
    std::shared_ptr<FeedRun> feed_run;
    bool feed_again = false;
    bool feed_timer = false;
};

// The one main window's state; only the window procedure and the tests name it.
extern MainState main_state;

constexpr UINT_PTR kMainTimer = 100;
constexpr UINT_PTR kTrayTimer = 101;  // one shot: the tray icon after the first paint
// The calendar sync.
constexpr UINT_PTR kSyncTimer = 110;      // every interval minutes while it syncs by itself
constexpr UINT_PTR kSyncHeldTimer = 111;  // while a finished sync waits for the list to be free
// The subscribed calendars (app/feeds_win.h).
constexpr UINT_PTR kFeedTimer = 112;      // every hour: the feeds refreshed
