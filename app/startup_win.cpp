// Program start: one copy per desktop, the program directory and the per-user settings
// file, settings and schedule, then the main window and its message loop.
#include "app/startup_win.h"

#include <cstdio>

#include "app/app_win.h"
#include "app/main_window_internal_win.h"
#include "app/dialog_calls_win.h"
#include "app/save_notice_win.h"
#include "app/startup_layout.h"
#include "config/paths.h"
#include "config/settings.h"
#include "image/plugins_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/entry.h"
#include "schedule/entry_identity.h"
#include "schedule/entry_identity_win.h"
#include "schedule/storage.h"
#include "schedule/storage_win.h"

namespace {

char g_program_dir[1024];
char g_settings_path[1024];
// The program's settings and schedule list for its whole run: filled here, then handed to
// the main window, which hands them on.
Settings g_settings;
ScheduleList g_schedule;

}  // namespace

bool hand_over_to_running_copy() {
    HWND other = FindWindowA(kMainClassName, nullptr);
    if (!other) return false;
    // Sent, not posted: the running copy has shown itself when this returns.
    SendMessageA(other, WM_COMMAND, CMD_BRING_TO_FRONT, 0);
    return true;
}

void find_program_directory(HINSTANCE inst, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    char module[1024] = "";
    const DWORD n = GetModuleFileNameA(inst, module, 1023);
    module[n < 1023 ? n : 1023] = '\0';
    path_split(module, out, size, nullptr, 0, nullptr, 0);
    path_add_separator(out, size);
}

void find_user_name(char* out, size_t size) {
    if (size == 0) return;
    char name[256] = "";
    DWORD n = 255;
    if (!GetUserNameA(name, &n)) name[0] = '\0';
    name[255] = '\0';
    lstrcpynA(out, name, static_cast<int>(size < 256 ? size : 256));
}

const char* program_directory() { return g_program_dir; }

int memo_compare_win(const char* a, const char* b) { return lstrcmpA(a, b); }

int app_run(HINSTANCE inst, int show) {
    if (hand_over_to_running_copy()) return 1;
    if (!main_window_register(inst)) return 3;

    find_program_directory(inst, g_program_dir, sizeof g_program_dir);
    char user[256];
    find_user_name(user, sizeof user);
    if (settings_path_build(g_settings_path, sizeof g_settings_path, g_program_dir, user) ==
        kPathTooLong)
        return 2;

    // Loaded with the first picture that needs one, or for the image chooser's formats.
    defer_image_plugins(g_program_dir);
    set_memo_compare(memo_compare_win);
    set_random_source(platform_random_bytes);
    storage_init_win(g_settings_path, g_program_dir);
    // Settings come before the window: its style and place depend on them, a first start's
    // size on the screen's DPI.
    if (!startup_load(&g_settings, &g_schedule, GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN), system_dpi()))
        report_save_result(nullptr, false);
    if (const int left = schedule_not_loaded()) {
        char text[200];
        std::snprintf(text, sizeof text, kEntriesNotLoadedFormat, kMaxEntries, left);
        message_box(nullptr, text, kProgramName, MB_OK | MB_ICONINFORMATION);
    }

    if (!main_window_create(inst, show, MainRecords{&g_settings, &g_schedule})) return 3;
    return message_loop();
}
