#include "app/save_notice.h"

#include <cstdio>

#include "app/app.h"
#include "app/dialog_calls.h"
#include "config/profile.h"

namespace {
bool g_told = false;
}

void report_save_result(HWND owner, bool saved) {
    if (saved || g_told) return;
    g_told = true;
    const char* path = profile_path();
    char text[1024 + 64];
    // "設定ファイルに保存できませんでした。\n%s"
    std::snprintf(text, sizeof text,
                  "\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc9\x95\xdb\x91\xb6\x82\xc5"
                  "\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42\n%s",
                  path ? path : "");
    message_box(owner, text, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool save_failure_told() { return g_told; }

void save_notice_reset() { g_told = false; }
