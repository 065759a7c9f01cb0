// What the user is told when the settings file cannot be written.
#pragma once

#include <windows.h>

// When the notice is shown: once in a session for the saves while the program runs (the
// changes stay in memory and a later save may still succeed), but always for the save at
// exit, after which the unsaved changes are gone.
enum class SaveNotice { kOncePerSession, kAlways };

// Shows "設定ファイルに保存できませんでした。" with the file's path when a save failed
// (owner may be nullptr), as `when` asks; a success says nothing.
void report_save_result(HWND owner, bool saved, SaveNotice when = SaveNotice::kOncePerSession);
// Whether the notice has been shown in this session.
bool save_failure_told();
// Forgets that it was shown (tests).
void save_notice_reset();
