// Working a dialog's controls from a test as a user would: typing characters, pasting,
// pressing buttons (only enabled ones), reading texts, and the rows of a list view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace win_test {

inline std::string text_of(HWND w) {
    char buf[4096] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}
inline std::string item_text(HWND dlg, int id) { return text_of(GetDlgItem(dlg, id)); }

// A dialog procedure that handles nothing: a template made into a window only to be read.
inline INT_PTR CALLBACK inert_proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

inline bool enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != 0; }
inline bool visible(HWND dlg, int id) { return IsWindowVisible(GetDlgItem(dlg, id)) != 0; }
inline bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

// Single-byte characters, one WM_CHAR each, as the keyboard sends them (the field's own
// filter sees them).
inline void type(HWND dlg, int id, const char* text) {
    HWND w = GetDlgItem(dlg, id);
    for (const char* p = text; *p; ++p) SendMessageA(w, WM_CHAR, static_cast<unsigned char>(*p), 1);
}
// Replaces the whole text as a paste or an input method does: the field counts as edited.
inline void paste(HWND dlg, int id, const char* text) {
    HWND w = GetDlgItem(dlg, id);
    SendMessageA(w, EM_SETSEL, 0, -1);
    SendMessageA(w, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}
inline void clear(HWND dlg, int id) { paste(dlg, id, ""); }

// A click on an enabled button or check box; a disabled one fails the test.
inline void press(HWND dlg, int id) {
    HWND w = GetDlgItem(dlg, id);
    ASSERT_TRUE(IsWindowEnabled(w)) << "control " << id << " is disabled";
    SendMessageA(w, BM_CLICK, 0, 0);
}

inline int row_count(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string row_text(HWND list, int row, int column) {
    char buf[256] = "";
    LVITEMA it = {};
    it.iSubItem = column;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
    return buf;
}

inline int row_image(HWND list, int row) {
    LVITEMA it = {};
    it.mask = LVIF_IMAGE;
    it.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return it.iImage;
}

inline std::vector<int> selected_rows(HWND list) {
    std::vector<int> rows;
    for (int r = -1; (r = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, r, LVNI_SELECTED))) >= 0;)
        rows.push_back(r);
    return rows;
}

// Selects exactly these rows (none: clears the selection), as clicks with Ctrl would.
inline void select_rows(HWND list, const std::vector<int>& rows) {
    LVITEMA it = {};
    it.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
    it.state = LVIS_SELECTED;
    for (int r : rows) SendMessageA(list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&it));
}

// Dispatches what is queued for this thread.
inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps for about ms milliseconds (timers included).
inline void pump_for(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        pump();
        Sleep(10);
    }
    pump();
}

}  // namespace win_test
