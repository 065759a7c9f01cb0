// Small checks the end-to-end tests share: a window's state, a line in a stored file, the
// colour classes a screenshot is read by, and the alarm window. One definition here instead
// of a copy in each test source (the driver's sources are compiled in batches, where two
// copies of a helper would clash).
#ifndef ZELMAR_TESTS_E2E_CHECKS_H
#define ZELMAR_TESTS_E2E_CHECKS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "calendar/dayclass.h"
#include "resources/resource.h"
#include "tests/e2e/harness.h"

inline bool is_gone(HWND h) { return IsWindow(h) == 0; }
inline bool is_visible(HWND h) { return IsWindowVisible(h) != 0; }
inline bool is_hidden(HWND h) { return IsWindowVisible(h) == 0; }
inline bool is_iconic(HWND h) { return IsIconic(h) != 0; }

// A click on a dialog's button, handled before this returns.
inline void press(HWND dlg, int id) { send_sync(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
// A menu command to a window, handled before this returns.
inline void command(HWND hwnd, int id) { send_sync(hwnd, WM_COMMAND, id, 0); }

// Whether the file holds the line ending in CRLF (anywhere: a line's tail matches too).
inline bool has_line(const std::string& file, const std::string& line) {
    return file.find(line + "\r\n") != std::string::npos;
}
// The settings file the program in app.dir keeps, as it is now (empty when there is none).
inline std::string settings_of(const App& app) {
    std::string bytes;
    read_file(settings_file_of(app.dir), &bytes);
    return bytes;
}
// A number as two digits, "05".
inline std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// Colours as a capture holds them, 0xRRGGBB.
inline uint32_t rgb_of(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
inline bool reddish(uint32_t c) { return (c >> 16 & 0xFF) > 150 && (c >> 8 & 0xFF) < 110 && (c & 0xFF) < 110; }
inline bool bluish(uint32_t c) { return (c & 0xFF) > 150 && (c >> 16 & 0xFF) < 110 && (c >> 8 & 0xFF) < 110; }
// The box that marks a day with entries, in the system colours of this machine.
inline uint32_t marked_box_rgb() {
    return rgb_of(marked_box_colour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW)));
}

// The accessibility interface asked of a window (IAccessible).
inline const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The alarm window once it shows its alarms (they come a moment after the window).
inline bool has_text(HWND w) { return !window_text(GetDlgItem(w, IDC_ALARM_TEXT)).empty(); }
inline HWND alarm_window(const App& app, DWORD wait_ms = 8000) {
    HWND w = find_owned_dialog(app.hwnd, wait_ms);
    return w && window_text(w) == "Tavelspore - アラーム" && wait_until(has_text, w) ? w : nullptr;
}

#endif
