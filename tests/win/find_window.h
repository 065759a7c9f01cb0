// Finding windows from a test: the dialogs (class "#32770") and popup menus ("#32768") a
// program opens, by thread, process or owner. The in-process Windows tests look at their
// own thread; the end-to-end driver looks into the program's process. Needs only Win32.
#pragma once

#include <windows.h>

namespace win_test {

constexpr char kDialogClass[] = "#32770";
constexpr char kPopupMenuClass[] = "#32768";

struct WindowQuery {
    const char* cls = kDialogClass;
    DWORD thread = 0;        // 0: top-level windows of every thread
    DWORD process = 0;       // 0: any process
    HWND owner = nullptr;    // nullptr: any owner
    bool visible = true;     // only visible windows
};

inline bool window_matches(HWND w, const WindowQuery& q) {
    char cls[64] = "";
    if (!GetClassNameA(w, cls, sizeof cls) || lstrcmpA(cls, q.cls) != 0) return false;
    if (q.visible && !IsWindowVisible(w)) return false;
    if (q.owner && GetWindow(w, GW_OWNER) != q.owner) return false;
    if (q.process) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != q.process) return false;
    }
    return true;
}

namespace detail {
struct Search {
    const WindowQuery* q;
    HWND found;
};
inline BOOL CALLBACK match_one(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (!window_matches(w, *s->q)) return TRUE;
    s->found = w;
    return FALSE;
}
}  // namespace detail

// The first top-level window that matches, or nullptr.
inline HWND find_window(const WindowQuery& q) {
    detail::Search s = {&q, nullptr};
    if (q.thread)
        EnumThreadWindows(q.thread, detail::match_one, reinterpret_cast<LPARAM>(&s));
    else
        EnumWindows(detail::match_one, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Looks every 20 ms for up to wait_ms (for windows of another process; inside a modal loop
// of this thread use the ModalDriver instead, which does not block the loop).
inline HWND wait_for_window(const WindowQuery& q, DWORD wait_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = find_window(q)) return w;
        if (GetTickCount() - start > wait_ms) return nullptr;
        Sleep(20);
    }
}

}  // namespace win_test
