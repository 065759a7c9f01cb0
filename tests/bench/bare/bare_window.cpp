// The bare window the start-up benchmark measures the program against: one class, one window
// of the program's size and styles, a paint that fills the window colour, and the message
// loop. Built in variants that, once the first paint is done, call one function each of the
// common dialogs, the common controls and the shell (calls that show nothing), half a second
// later, so that what the first paint has loaded can be told from what the calls load:
//   BARE_USES 0  nothing (built with and without the program's resources)
//   BARE_USES 1  the functions themselves (imported at start, or delay-loaded by the link)
//   BARE_USES 2  the program's wrappers that load each library at its first use
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#if BARE_USES == 2
#include "config/system_dlls_win.h"
#endif

namespace {

constexpr UINT_PTR kUseTimer = 1;
constexpr UINT kUseDelayMs = 500;

void use_libraries(HWND hwnd) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd;
    OPENFILENAMEA ofn = {};  // size 0: refused at once, no dialog
#if BARE_USES == 1
    InitCommonControlsEx(&icc);
    Shell_NotifyIconA(NIM_DELETE, &nid);
    GetOpenFileNameA(&ofn);
#elif BARE_USES == 2
    sys_init_common_controls(&icc);
    sys_notify_icon(NIM_DELETE, &nid);
    sys_get_open_file_name(&ofn);
#else
    (void)icc;
    (void)nid;
    (void)ofn;
#endif
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    static bool painted = false;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
        EndPaint(hwnd, &ps);
        if (!painted) SetTimer(hwnd, kUseTimer, kUseDelayMs, nullptr);
        painted = true;
        return 0;
    }
    case WM_TIMER:
        KillTimer(hwnd, kUseTimer);
        use_libraries(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = "ZelmarBenchBareWindow";
    if (!RegisterClassA(&wc)) return 3;
    HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, wc.lpszClassName, "bare",
                                WS_OVERLAPPEDWINDOW, 342, 214, 340, 340, nullptr, nullptr, inst,
                                nullptr);
    if (!hwnd) return 3;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
