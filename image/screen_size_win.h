// The screen a background is drawn on, for reducing pictures at load: the widest and the
// tallest of the monitors, so that a window on any of them is covered.
#pragma once

#include <windows.h>

#include "image/box_reduce.h"

namespace screen_size_detail {
inline BOOL CALLBACK widen(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi;
    mi.cbSize = sizeof mi;
    auto* s = reinterpret_cast<ScreenSize*>(data);
    if (GetMonitorInfoA(monitor, &mi)) {
        const LONG w = mi.rcMonitor.right - mi.rcMonitor.left, h = mi.rcMonitor.bottom - mi.rcMonitor.top;
        if (w > 0 && static_cast<uint32_t>(w) > s->width) s->width = static_cast<uint32_t>(w);
        if (h > 0 && static_cast<uint32_t>(h) > s->height) s->height = static_cast<uint32_t>(h);
    }
    return TRUE;
}
}  // namespace screen_size_detail

inline ScreenSize largest_screen_size() {
    ScreenSize s{0, 0};
    EnumDisplayMonitors(nullptr, nullptr, screen_size_detail::widen, reinterpret_cast<LPARAM>(&s));
    if (s.width == 0 || s.height == 0) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        s = ScreenSize{w > 0 ? static_cast<uint32_t>(w) : 0u, h > 0 ? static_cast<uint32_t>(h) : 0u};
    }
    return s;
}
