// The real program at 96, 144 and 192 DPI (the desktop's LogPixels, set for the test's time
// and given back): a first start's window and the month buttons grow with the DPI, and no
// text of the main window's dialogs is wider than its control, and each dialog lies within
// the screen's work area. Screenshots of the window and each dialog are kept for a person to
// look at.
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "app/main_layout.h"
#include "config/settings.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

// HKCU\Control Panel\Desktop LogPixels, read by a program at its start.
struct LogPixels {
    HKEY key = nullptr;
    DWORD kept = 0;
    bool had = false;
    explicit LogPixels(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof kept, type = 0;
        had = RegQueryValueExA(key, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&kept), &size) ==
                  ERROR_SUCCESS &&
              type == REG_DWORD;
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~LogPixels() {
        if (!key) return;
        if (had)
            RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kept), sizeof kept);
        else
            RegDeleteValueA(key, "LogPixels");
        RegCloseKey(key);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
};

// The driver reads the program's windows in their own pixels.
void aware_of_each_monitor() {
    using Fn = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<Fn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext"))))
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // per monitor, version 2
}


// Each child of the dialog with a text, the text measured in the dialog template's font at
// dpi; a text wider than its control (less a check box's box) is reported.
struct ClipCheck {
    int dpi;
    HFONT font;
    HDC dc;
    std::string found;
};

BOOL CALLBACK check_child(HWND child, LPARAM lp) {
    ClipCheck& c = *reinterpret_cast<ClipCheck*>(lp);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 && lstrcmpiA(cls, "Button") != 0) return TRUE;
    if (!IsWindowVisible(child)) return TRUE;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const LONG kind = style & BS_TYPEMASK;
    const bool button = lstrcmpiA(cls, "Button") == 0;
    if (button && kind == BS_GROUPBOX) return TRUE;
    if (!button && (style & SS_TYPEMASK) > SS_RIGHT && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) return TRUE;
    std::string text = window_text(child);
    std::string shown;
    for (char ch : text)
        if (ch != '&') shown += ch;
    if (shown.empty()) return TRUE;
    SIZE ext = {0, 0};
    GetTextExtentPoint32A(c.dc, shown.c_str(), static_cast<int>(shown.size()), &ext);
    RECT r;
    GetClientRect(child, &r);
    int room = r.right - r.left;
    const bool box = button && kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON;
    if (box) room -= scaled_to_dpi(14, c.dpi);
    // A static text wraps onto its lines: it fits when its lines' room holds it.
    if (!button && (style & SS_TYPEMASK) <= SS_RIGHT && ext.cy > 0) room *= (r.bottom - r.top) / ext.cy;
    if (ext.cx > room) c.found += " [" + text + ": " + std::to_string(ext.cx) + " > " + std::to_string(room) + "]";
    return TRUE;
}

std::string clipped_texts(HWND dlg, int dpi) {
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(9, dpi, 72);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(lf.lfFaceName, "ＭＳ Ｐゴシック");
    ClipCheck c = {dpi, CreateFontIndirectA(&lf), CreateCompatibleDC(nullptr), ""};
    HGDIOBJ old = SelectObject(c.dc, c.font);
    EnumChildWindows(dlg, check_child, reinterpret_cast<LPARAM>(&c));
    SelectObject(c.dc, old);
    DeleteDC(c.dc);
    DeleteObject(c.font);
    return c.found;
}

// " [dialog l,t-r,b outside the work area l,t-r,b]" when the dialog does not lie within its
// monitor's work area.
std::string outside_work_area(HWND dlg) {
    RECT r;
    MONITORINFO mi;
    mi.cbSize = sizeof mi;
    if (!GetWindowRect(dlg, &r) || !GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &mi))
        return " [no rectangle]";
    const RECT& w = mi.rcWork;
    if (r.left >= w.left && r.top >= w.top && r.right <= w.right && r.bottom <= w.bottom) return "";
    auto text = [](const RECT& x) {
        return std::to_string(x.left) + "," + std::to_string(x.top) + "-" + std::to_string(x.right) + "," +
               std::to_string(x.bottom);
    };
    return " [dialog " + text(r) + " outside the work area " + text(w) + "]";
}

// The dialog the message opens: screenshot, clipped texts, its place on the screen, then
// closed as Alt+F4 does.
std::string dialog_check(const App& app, UINT msg, WPARAM wp, const char* shot, int dpi) {
    PostMessageA(app.hwnd, msg, wp, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    if (!dlg) return std::string(shot) + ": no dialog";
    keep_screenshot(dlg, shot);
    const std::string clipped = clipped_texts(dlg, dpi) + outside_work_area(dlg);
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    wait_until(is_gone, dlg, 3000);
    if (IsWindow(dlg)) PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    wait_until(is_gone, dlg, 3000);
    return clipped.empty() ? "" : std::string(shot) + ":" + clipped;
}

// The previous month's button as a screen reader finds it: its width.
long month_button_width(HWND hwnd) {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    HMODULE oleacc = LoadLibraryA("oleacc.dll");
    auto from_window =
        oleacc ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")))
               : nullptr;
    IAccessible* a = nullptr;
    if (!from_window || FAILED(from_window(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                           reinterpret_cast<void**>(&a))) || !a)
        return -1;
    LONG count = 0;
    a->get_accChildCount(&count);
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = count - 1;  // the days, the previous month's button, the next one's
    long l = 0, t = 0, w = -1, h = 0;
    a->accLocation(&l, &t, &w, &h, child);
    a->Release();
    return w;
}

}  // namespace

E2E_TEST(first_start_and_dialogs_at_three_dpis) {
    aware_of_each_monitor();
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    for (int dpi : {96, 144, 192}) {
        LogPixels pixels(static_cast<DWORD>(dpi));
        REQUIRE(pixels.key != nullptr);
        const std::string name = "dpi" + std::to_string(dpi);
        const std::string dir = fresh_dir(name);
        App app;
        REQUIRE(app_start(app, dir));
        Sleep(300);

        // A first start: 340 pixels a side at 96 DPI, as large on the screen at the others.
        RECT wr;
        GetWindowRect(app.hwnd, &wr);
        const int want = default_window_size(dpi, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        if (wr.right - wr.left != want || wr.bottom - wr.top != want)
            ctx.fail(__FILE__, __LINE__, name + ": window " + std::to_string(wr.right - wr.left) + "x" +
                                             std::to_string(wr.bottom - wr.top) + ", want " + std::to_string(want));
        const long button = month_button_width(app.hwnd);
        if (button < scaled_to_dpi(14, dpi))
            ctx.fail(__FILE__, __LINE__, name + ": month button " + std::to_string(button) + " wide");
        keep_screenshot(app.hwnd, (name + "_main.png").c_str());

        const struct {
            UINT msg;
            WPARAM wp;
            const char* shot;
        } dialogs[] = {
            {WM_COMMAND, CMD_DISPLAY_MONTH, "_display_month.png"},
            {WM_COMMAND, CMD_SCHEDULE, "_schedule.png"},
            {WM_COMMAND, CMD_FONT, "_font.png"},
            {WM_COMMAND, CMD_DETAILED_SETTINGS, "_settings.png"},
            {WM_COMMAND, CMD_RECENT, "_recent.png"},
            {WM_COMMAND, CMD_ABOUT, "_about.png"},
            {WM_KEYDOWN, VK_RETURN, "_day_contents.png"},  // the cursor's day
        };
        for (const auto& d : dialogs) {
            const std::string clipped = dialog_check(app, d.msg, d.wp, (name + d.shot).c_str(), dpi);
            if (!clipped.empty()) ctx.fail(__FILE__, __LINE__, clipped);
        }
        CHECK_EQ(app_close(app), 0);
    }
    if (com) CoUninitialize();
}
