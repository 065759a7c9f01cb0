// The system libraries nothing needs before the first paint, loaded at their first use instead
// of at start: the common dialogs (file chooser, font dialog), the common controls (list
// views, the holiday image list) and the shell (the notification-area icon). Each wrapper
// has the signature and the results of the function it stands for, and when its library or
// entry point cannot be had it fails as that function fails (FALSE, nullptr), with no other
// effect. The common controls come in version 6, as the manifest asks: the library is loaded
// by name, under the program's activation context.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

enum class SystemDll { kCommonDialogs, kCommonControls, kShell, kCount };

BOOL sys_choose_font(CHOOSEFONTA* cf);
BOOL sys_get_open_file_name(OPENFILENAMEA* ofn);
BOOL sys_get_save_file_name(OPENFILENAMEA* ofn);
BOOL sys_init_common_controls(const INITCOMMONCONTROLSEX* icc);
HIMAGELIST sys_image_list_load(HINSTANCE inst, LPCSTR name, int cx, int grow, COLORREF mask,
                               UINT type, UINT flags);
BOOL sys_image_list_destroy(HIMAGELIST list);
BOOL sys_notify_icon(DWORD message, NOTIFYICONDATAA* data);

// The entry point of a library, loading the library at the first call (one attempt); nullptr
// when either is missing.
FARPROC system_entry(SystemDll dll, const char* name);
// Whether this process has loaded the library, by whatever route.
bool system_dll_loaded(SystemDll dll);
