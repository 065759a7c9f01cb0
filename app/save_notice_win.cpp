#include "app/save_notice_win.h"

#include <cstdio>

#include "app/app_win.h"
#include "app/dialog_calls_win.h"
#include "config/profile.h"
#include "resources/texts.h"

namespace {
bool g_told = false;
}

void report_save_result(HWND owner, bool saved, SaveNotice when) {
    if (saved) return;
    if (g_told && when == SaveNotice::kOncePerSession) return;
    g_told = true;
    const char* path = profile_path();
    char text[1024 + 64];
    std::snprintf(text, sizeof text, kSaveFailedFormat, path ? path : "");
    message_box(owner, text, kProgramName, MB_OK | MB_ICONEXCLAMATION);
}

bool save_failure_told() { return g_told; }

void save_notice_reset() { g_told = false; }
