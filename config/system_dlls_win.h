// The system libraries nothing needs before the first paint, loaded at their first use instead
// of at start: the common dialogs (file chooser, font dialog), the common controls (list
// views, the holiday image list), the shell (the notification-area icon, the Documents folder), and what a screen
// reader's first question needs (the accessibility library, COM and its strings). The DPI
// functions of newer systems are looked up in USER32 the same way, so the program still
// starts where they are missing. Each wrapper
// has the signature and the results of the function it stands for, and when its library or
// entry point cannot be had it fails as that function fails (FALSE, nullptr), with no other
// effect. The common controls come in version 6, as the manifest asks: the library is loaded
// by name, under the program's activation context.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <oleacc.h>

enum class SystemDll {
    kCommonDialogs,
    kCommonControls,
    kShell,
    kAccessibility,  // oleacc
    kCom,            // ole32
    kAutomation,     // oleaut32 (strings)
    kUser,           // user32, for the functions older systems lack
    kCount
};

BOOL sys_choose_font(CHOOSEFONTA* cf);
BOOL sys_get_open_file_name(OPENFILENAMEA* ofn);
BOOL sys_get_save_file_name(OPENFILENAMEA* ofn);
BOOL sys_init_common_controls(const INITCOMMONCONTROLSEX* icc);
HIMAGELIST sys_image_list_load(HINSTANCE inst, LPCSTR name, int cx, int grow, COLORREF mask,
                               UINT type, UINT flags);
BOOL sys_image_list_destroy(HIMAGELIST list);
BOOL sys_notify_icon(DWORD message, NOTIFYICONDATAA* data);
HRESULT sys_get_folder_path(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);  // E_FAIL without the shell
LRESULT sys_lresult_from_object(REFIID riid, WPARAM wp, IUnknown* object);  // E_FAIL without oleacc
HRESULT sys_accessible_object_from_window(HWND hwnd, DWORD id, REFIID riid, void** out);
HRESULT sys_co_initialize_ex(void* reserved, DWORD flags);
void sys_co_uninitialize();
HRESULT sys_co_disconnect_object(IUnknown* object, DWORD reserved);
BSTR sys_alloc_string_len(const OLECHAR* text, UINT length);
// The DPI of a window (0 where the system has no such function) and a metric at a DPI (the
// system DPI's metric where it has none).
UINT sys_get_dpi_for_window(HWND hwnd);
int sys_get_system_metrics_for_dpi(int index, UINT dpi);

// The entry point of a library, loading the library at the first call (one attempt); nullptr
// when either is missing.
FARPROC system_entry(SystemDll dll, const char* name);
// Whether this process has loaded the library, by whatever route.
bool system_dll_loaded(SystemDll dll);
