// What the user is told when the settings file cannot be written.
#pragma once

#include <windows.h>

// Shows "設定ファイルに保存できませんでした。" with the file's path the first time a save
// fails in this session (owner may be nullptr); later failures and successes say nothing.
void report_save_result(HWND owner, bool saved);
// Whether the notice has been shown in this session.
bool save_failure_told();
// Forgets that it was shown (tests).
void save_notice_reset();
