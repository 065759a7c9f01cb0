#include "schedule/storage_win.h"

#include <windows.h>

#include "config/fileio.h"
#include "config/profile.h"
#include "schedule/legacy_registry.h"
#include "schedule/storage.h"

void storage_init_win(const char* settings_path, const char* program_dir) {
    profile_open(settings_path, fileio_win());
    char windir[MAX_PATH + 1] = "";
    const UINT n = GetWindowsDirectoryA(windir, sizeof windir);
    if (n == 0 || n >= sizeof windir) windir[0] = '\0';
    storage_set_sources(program_dir, windir, legacy_registry_win());
}
