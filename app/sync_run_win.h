// The calendar sync in the program: the account from the settings file and the Credential
// Manager, a sync on a worker thread at start (after the window shows), every interval
// minutes and by 今すぐ同期, one at a time; its end applied to the schedule list on the
// window's thread once nothing else edits the list; what went wrong told once; the tray tip
// saying when the last sync succeeded.
#pragma once

#include <windows.h>

struct MainState;

// The account read; nothing starts yet. False when its record cannot be had (no sync then).
bool sync_create(MainState& s);
// The window is on the screen: the first sync and the timer, when it syncs by itself.
void sync_window_shown(MainState& s, HWND hwnd);
// 今すぐ同期: a sync now unless one is under way.
void sync_now(MainState& s, HWND hwnd);
// 同期の設定: the dialog, then the account saved and the timer set anew.
void sync_settings_command(MainState& s, HWND hwnd);
// kSyncDone.
LRESULT on_sync_done(MainState& s, HWND hwnd, LPARAM task);
// kSyncTimer and kSyncHeldTimer; false for another timer.
bool on_sync_timer(MainState& s, HWND hwnd, WPARAM id);
// The window closes: a sync under way is stopped and waited for briefly, what came back is
// applied, and the record goes.
void sync_destroy(MainState& s, HWND hwnd);
// The menu items: 今すぐ同期 enabled when an account is set and no sync runs.
void sync_add_menu_items(HMENU main_menu);
void sync_show_menu_state(const MainState& s);
