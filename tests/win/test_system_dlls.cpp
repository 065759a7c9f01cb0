// The libraries loaded at their first use: each wrapper gives what the function it stands for
// gives, the common controls come in version 6, and an entry point a library lacks is none.
#include <windows.h>
#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "config/system_dlls_win.h"
#include "resources/resource.h"

namespace {

TEST(SystemDlls, WrappersAnswerAsTheFunctions) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    EXPECT_TRUE(sys_init_common_controls(&icc));
    HIMAGELIST list = sys_image_list_load(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_HOLIDAY_IMAGES),
                                          16, 0, RGB(0, 255, 0), IMAGE_BITMAP, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_TRUE(sys_image_list_destroy(list));

    // Calls that are refused, wrapped and direct alike, without showing anything; the
    // common dialogs say why.
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.uID = 0x7fff;  // no such icon
    OPENFILENAMEA ofn = {};
    // A font dialog whose template is not there: refused before any window is made.
    LOGFONTA lf = {};
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_ENABLETEMPLATE;
    cf.hInstance = GetModuleHandleA(nullptr);
    cf.lpTemplateName = MAKEINTRESOURCEA(32001);
    struct Answer {
        BOOL result;
        DWORD error;
    };
    auto dialog = [](BOOL result) { return Answer{result, CommDlgExtendedError()}; };
    auto plain = [](BOOL result) { return Answer{result, 0}; };
    const struct {
        const char* what;
        Answer wrapped, direct;
    } cases[] = {
        {"notify icon", plain(sys_notify_icon(NIM_DELETE, &nid)), plain(Shell_NotifyIconA(NIM_DELETE, &nid))},
        {"open file", dialog(sys_get_open_file_name(&ofn)), dialog(GetOpenFileNameA(&ofn))},
        {"choose font", dialog(sys_choose_font(&cf)), dialog(ChooseFontA(&cf))},
        {"no image list", plain(sys_image_list_destroy(nullptr)), plain(ImageList_Destroy(nullptr))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.wrapped.result, c.direct.result) << c.what;
        EXPECT_EQ(c.wrapped.error, c.direct.error) << c.what;
    }
    EXPECT_FALSE(cases[1].wrapped.result);
    EXPECT_EQ(cases[1].wrapped.error, static_cast<DWORD>(CDERR_STRUCTSIZE));
    EXPECT_FALSE(cases[2].wrapped.result);
    EXPECT_NE(cases[2].wrapped.error, 0u);
    // What a screen reader's first question needs, and the DPI of a window.
    IDispatch* object = reinterpret_cast<IDispatch*>(1);
    EXPECT_LT(sys_accessible_object_from_window(nullptr, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                                reinterpret_cast<void**>(&object)),
              0);
    EXPECT_EQ(object, nullptr) << "nothing handed back on a refusal";
    EXPECT_LT(sys_lresult_from_object(IID_IDispatch, 0, nullptr), 0);
    const HRESULT com = sys_co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_TRUE(com == S_OK || com == S_FALSE) << std::hex << com;
    EXPECT_LT(sys_co_disconnect_object(nullptr, 0), 0);
    if (SUCCEEDED(com)) sys_co_uninitialize();
    BSTR text = sys_alloc_string_len(L"abc", 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), L"ab");
    using FreeFn = void(WINAPI*)(BSTR);
    if (auto free_string = reinterpret_cast<FreeFn>(system_entry(SystemDll::kAutomation, "SysFreeString")))
        free_string(text);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(sys_get_dpi_for_window(GetDesktopWindow()), static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(sys_get_system_metrics_for_dpi(SM_CXSMICON, 192), 2 * GetSystemMetrics(SM_CXSMICON));
    for (int d = 0; d < static_cast<int>(SystemDll::kCount); ++d)
        EXPECT_TRUE(system_dll_loaded(static_cast<SystemDll>(d))) << d;
}

// Loaded by name under the manifest's activation context, the library is the side-by-side
// assembly of version 6, not the version 5 of the system folder.
TEST(SystemDlls, CommonControlsOfVersionSix) {
    const FARPROC init = system_entry(SystemDll::kCommonControls, "InitCommonControlsEx");
    ASSERT_NE(init, nullptr);
    HMODULE module = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(init), &module));
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    std::string lower = path;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(lower.find("common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}

TEST(SystemDlls, MissingEntriesAreNone) {
    const struct {
        SystemDll dll;
        const char* name;
    } cases[] = {
        {SystemDll::kCommonDialogs, "NoSuchFunction"},
        {SystemDll::kShell, "ChooseFontA"},  // not the shell's
        {SystemDll::kShell, nullptr},
        {SystemDll::kCount, "ChooseFontA"},
        {static_cast<SystemDll>(-1), "ChooseFontA"},
    };
    for (const auto& c : cases) EXPECT_EQ(system_entry(c.dll, c.name), nullptr) << static_cast<int>(c.dll);
    EXPECT_FALSE(system_dll_loaded(SystemDll::kCount));
}

}  // namespace
