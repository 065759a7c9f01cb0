// Pieces of the main window procedure, shared by its source files. Each handler works on
// the state the window procedure hands it.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/recompose.h"

struct AlarmBatch;
struct MainState;
struct ScheduleList;
struct ScheduleOpening;

// main_window_win.cpp
void place_main_window(const MainState& s, HWND hwnd);  // from the window set in the settings
void apply_z_order(const MainState& s, HWND hwnd);      // topmost when `front` is checked
int screen_width();
int screen_height();

// main_menus_win.cpp
void menus_build(MainState& s);          // menu bar holding IDM_MAIN, check marks
void menus_show_checks(const MainState& s);  // each of kMenuSwitches from its setting
void menus_attach(const MainState& s, HWND hwnd);  // the menu bar, or none without a title bar
void menus_destroy(MainState& s, HWND hwnd);
// CMD_HIDE_SHOW's text and the items greyed while the window is hidden.
void menus_show_hidden_state(const MainState& s, bool hidden);
void show_main_popup(MainState& s, HWND hwnd, POINT screen_pt);

// main_commands_win.cpp: false when id is not one of the window's commands.
bool main_command(MainState& s, HWND hwnd, int id);
// A menu item that switches an on/off setting (its row of kSettingKeys at field), checked
// while the setting is on, and what the window does after each switch.
struct MenuSwitch {
    UINT command;
    size_t field;  // offsetof(Settings, field)
    void (*after)(MainState& s, HWND hwnd);
};
extern const MenuSwitch kMenuSwitches[];
extern const size_t kMenuSwitchCount;
void save_position(MainState& s, HWND hwnd);
// Sets the schedule dialog's opening date and opens it; saves and repaints when the dialog
// changed the list.
void open_schedule_dialog(MainState& s, HWND hwnd, const ScheduleOpening& opening);

// ical_commands_win.cpp: the schedule out to an .ics file and an .ics file's events into
// it, each through its file chooser and with one message saying what was done.
void export_calendar(MainState& s, HWND hwnd);
void import_calendar(MainState& s, HWND hwnd);

// main_mouse_win.cpp
LRESULT on_mouse_move(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_lbutton_down(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_lbutton_up(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_rbutton_down(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_rbutton_up(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp);

// main_tick_win.cpp: one tick; returns the index of the first alarm it found due, or -1.
int main_tick(MainState& s, HWND hwnd);
// The minute checked up to, into the settings record's `AlarmChecked` (for the next save).
void note_alarm_mark(MainState& s);
// The alarm window's "5分後": its alarms come back after the snooze interval.
void snooze_alarms(void* context, const AlarmBatch& shown);
// The schedule dialog stored the entry at index of list: an alarm due in the minute
// already checked rings now.
void ring_stored_entry(void* context, const ScheduleList& list, int index);
// Tells the user, once, which alarms the previous run's mark holds back (kAlarmsHeldBack).
LRESULT on_alarms_held_back(MainState& s, HWND hwnd);

// main_paint_win.cpp
// Composes what was marked since the last paint and copies the update rectangle.
void main_paint(MainState& s, HWND hwnd);
// Makes the surface anew, marked as made, unless it already has the size w by h; true when
// it was made.
bool match_surface(MainState& s, int w, int h, ViewEvent made);
// Marks what the event changed, then invalidates the whole client (with erase) and paints
// now. Every change of what the window shows goes through here or marks s.recompose itself.
void repaint(MainState& s, HWND hwnd, ViewEvent e);
