// Small owners for GDI resources, so every pen, brush and font is deleted and every DC
// gets its previous object back on every path out of a drawing routine. Declare the owned
// object before the selection that uses it: the selection is undone first.
#pragma once

#include <windows.h>

// Owns a GDI object (pen, brush, font, bitmap) and deletes it.
template <class Handle>
class GdiOwned {
public:
    explicit GdiOwned(Handle h) : h_(h) {}
    ~GdiOwned() {
        if (h_) DeleteObject(h_);
    }
    GdiOwned(const GdiOwned&) = delete;
    GdiOwned& operator=(const GdiOwned&) = delete;
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    Handle h_;
};

using OwnedPen = GdiOwned<HPEN>;
using OwnedBrush = GdiOwned<HBRUSH>;
using OwnedFont = GdiOwned<HFONT>;

// Selects an object into a DC and puts the previous one back.
class GdiSelect {
public:
    GdiSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    ~GdiSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    GdiSelect(const GdiSelect&) = delete;
    GdiSelect& operator=(const GdiSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC / ReleaseDC of a window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};
