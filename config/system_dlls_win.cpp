#include "config/system_dlls_win.h"

namespace {

struct Library {
    const char* file;
    HMODULE module;
    bool tried;
};

Library g_libraries[] = {
    {"comdlg32.dll", nullptr, false},
    {"comctl32.dll", nullptr, false},
    {"shell32.dll", nullptr, false},
    {"oleacc.dll", nullptr, false},
    {"ole32.dll", nullptr, false},
    {"oleaut32.dll", nullptr, false},
    {"user32.dll", nullptr, false},
};
static_assert(sizeof g_libraries / sizeof g_libraries[0] == static_cast<size_t>(SystemDll::kCount),
              "one library per name");

Library* library(SystemDll dll) {
    const int i = static_cast<int>(dll);
    if (i < 0 || i >= static_cast<int>(SystemDll::kCount)) return nullptr;
    return &g_libraries[i];
}

// One look-up per wrapper: the address is kept once found (a library is never unloaded).
template <class Fn>
Fn entry(SystemDll dll, const char* name, Fn* kept) {
    if (!*kept) {
        // Through a plain function pointer type: FARPROC and Fn differ in their arguments.
        *kept = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(system_entry(dll, name)));
    }
    return *kept;
}

}  // namespace

FARPROC system_entry(SystemDll dll, const char* name) {
    Library* l = library(dll);
    if (!l || !name) return nullptr;
    if (!l->tried) {
        l->tried = true;
        l->module = LoadLibraryA(l->file);
    }
    return l->module ? GetProcAddress(l->module, name) : nullptr;
}

bool system_dll_loaded(SystemDll dll) {
    const Library* l = library(dll);
    return l && GetModuleHandleA(l->file) != nullptr;
}

BOOL sys_choose_font(CHOOSEFONTA* cf) {
    static decltype(&ChooseFontA) fn = nullptr;
    return entry(SystemDll::kCommonDialogs, "ChooseFontA", &fn) ? fn(cf) : FALSE;
}

BOOL sys_get_open_file_name(OPENFILENAMEA* ofn) {
    static decltype(&GetOpenFileNameA) fn = nullptr;
    return entry(SystemDll::kCommonDialogs, "GetOpenFileNameA", &fn) ? fn(ofn) : FALSE;
}

BOOL sys_get_save_file_name(OPENFILENAMEA* ofn) {
    static decltype(&GetSaveFileNameA) fn = nullptr;
    return entry(SystemDll::kCommonDialogs, "GetSaveFileNameA", &fn) ? fn(ofn) : FALSE;
}

BOOL sys_init_common_controls(const INITCOMMONCONTROLSEX* icc) {
    static decltype(&InitCommonControlsEx) fn = nullptr;
    return entry(SystemDll::kCommonControls, "InitCommonControlsEx", &fn) ? fn(icc) : FALSE;
}

HIMAGELIST sys_image_list_load(HINSTANCE inst, LPCSTR name, int cx, int grow, COLORREF mask,
                               UINT type, UINT flags) {
    static decltype(&ImageList_LoadImageA) fn = nullptr;
    return entry(SystemDll::kCommonControls, "ImageList_LoadImageA", &fn)
               ? fn(inst, name, cx, grow, mask, type, flags)
               : nullptr;
}

BOOL sys_image_list_destroy(HIMAGELIST list) {
    static decltype(&ImageList_Destroy) fn = nullptr;
    return entry(SystemDll::kCommonControls, "ImageList_Destroy", &fn) ? fn(list) : FALSE;
}

BOOL sys_notify_icon(DWORD message, NOTIFYICONDATAA* data) {
    static decltype(&Shell_NotifyIconA) fn = nullptr;
    return entry(SystemDll::kShell, "Shell_NotifyIconA", &fn) ? fn(message, data) : FALSE;
}

HRESULT sys_get_folder_path(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path) {
    using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static Fn fn = nullptr;
    return entry(SystemDll::kShell, "SHGetFolderPathA", &fn) ? fn(owner, folder, token, flags, path)
                                                             : E_FAIL;
}

LRESULT sys_lresult_from_object(REFIID riid, WPARAM wp, IUnknown* object) {
    static decltype(&LresultFromObject) fn = nullptr;
    return entry(SystemDll::kAccessibility, "LresultFromObject", &fn) ? fn(riid, wp, object)
                                                                       : static_cast<LRESULT>(E_FAIL);
}

HRESULT sys_accessible_object_from_window(HWND hwnd, DWORD id, REFIID riid, void** out) {
    static decltype(&AccessibleObjectFromWindow) fn = nullptr;
    if (out) *out = nullptr;
    return entry(SystemDll::kAccessibility, "AccessibleObjectFromWindow", &fn) ? fn(hwnd, id, riid, out)
                                                                                : E_FAIL;
}

HRESULT sys_co_initialize_ex(void* reserved, DWORD flags) {
    static decltype(&CoInitializeEx) fn = nullptr;
    return entry(SystemDll::kCom, "CoInitializeEx", &fn) ? fn(reserved, flags) : E_FAIL;
}

void sys_co_uninitialize() {
    static decltype(&CoUninitialize) fn = nullptr;
    if (entry(SystemDll::kCom, "CoUninitialize", &fn)) fn();
}

HRESULT sys_co_disconnect_object(IUnknown* object, DWORD reserved) {
    static decltype(&CoDisconnectObject) fn = nullptr;
    return entry(SystemDll::kCom, "CoDisconnectObject", &fn) ? fn(object, reserved) : E_FAIL;
}

BSTR sys_alloc_string_len(const OLECHAR* text, UINT length) {
    static decltype(&SysAllocStringLen) fn = nullptr;
    return entry(SystemDll::kAutomation, "SysAllocStringLen", &fn) ? fn(text, length) : nullptr;
}

UINT sys_get_dpi_for_window(HWND hwnd) {
    typedef UINT(WINAPI * Fn)(HWND);
    static Fn fn = nullptr;
    return entry(SystemDll::kUser, "GetDpiForWindow", &fn) ? fn(hwnd) : 0;
}

int sys_get_system_metrics_for_dpi(int index, UINT dpi) {
    typedef int(WINAPI * Fn)(int, UINT);
    static Fn fn = nullptr;
    return entry(SystemDll::kUser, "GetSystemMetricsForDpi", &fn) ? fn(index, dpi) : GetSystemMetrics(index);
}
