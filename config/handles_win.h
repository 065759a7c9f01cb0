// Owners for Win32 handles, so every handle is closed, every object deleted and every DC
// gets its previous object back on every path out of a routine. Any Win32 file of any
// folder may include this header. None of them can be copied; each can hand its handle
// over with release(). Declare an owned object before the selection that uses it: the
// selection is undone first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "config/system_dlls_win.h"

// One owner template: Traits names the handle type, its empty value and how to close it.
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;
    Owned() : h_(Traits::empty()) {}
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(o.release()) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::empty(); }
    // The handle's address, for APIs that return it through a pointer; closes any held one.
    Handle* out() {
        reset();
        return &h_;
    }
    Handle release() {
        Handle h = h_;
        h_ = Traits::empty();
        return h;
    }
    void reset(Handle h = Traits::empty()) {
        if (h_ != Traits::empty()) Traits::close(h_);
        h_ = h;
    }

private:
    Handle h_;
};

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static H empty() { return nullptr; }
    static void close(H h) { DeleteObject(h); }
};
struct FileTraits {  // CreateFileA: the empty value is INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {  // FindFirstFileA
    using Handle = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY empty() { return nullptr; }
    static void close(HKEY k) { RegCloseKey(k); }
};
struct LibraryTraits {
    using Handle = HMODULE;
    static HMODULE empty() { return nullptr; }
    static void close(HMODULE m) { FreeLibrary(m); }
};
struct LocalTraits {  // LocalAlloc, or a handle a DLL handed over to be freed
    using Handle = HLOCAL;
    static HLOCAL empty() { return nullptr; }
    static void close(HLOCAL h) { LocalFree(h); }
};
struct MemoryDCTraits {  // CreateCompatibleDC
    using Handle = HDC;
    static HDC empty() { return nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};
struct ImageListTraits {
    using Handle = HIMAGELIST;
    static HIMAGELIST empty() { return nullptr; }
    static void close(HIMAGELIST l) { sys_image_list_destroy(l); }
};
struct MenuTraits {
    using Handle = HMENU;
    static HMENU empty() { return nullptr; }
    static void close(HMENU m) { DestroyMenu(m); }
};

template <class H>
using GdiOwned = Owned<GdiObjectTraits<H>>;
using OwnedPen = GdiOwned<HPEN>;
using OwnedBrush = GdiOwned<HBRUSH>;
using OwnedFont = GdiOwned<HFONT>;
using OwnedBitmap = GdiOwned<HBITMAP>;
using OwnedFile = Owned<FileTraits>;
using OwnedFind = Owned<FindTraits>;
using OwnedRegKey = Owned<RegKeyTraits>;
using OwnedLibrary = Owned<LibraryTraits>;
using OwnedLocal = Owned<LocalTraits>;
using OwnedMemoryDC = Owned<MemoryDCTraits>;
using OwnedImageList = Owned<ImageListTraits>;
using OwnedMenu = Owned<MenuTraits>;

// Selects an object into a DC and puts the previous one back.
class GdiSelect {
public:
    GdiSelect() = default;
    GdiSelect(HDC dc, HGDIOBJ obj) { select(dc, obj); }
    ~GdiSelect() { restore(); }
    GdiSelect(const GdiSelect&) = delete;
    GdiSelect& operator=(const GdiSelect&) = delete;
    // Puts back what an earlier selection replaced, then selects obj.
    void select(HDC dc, HGDIOBJ obj) {
        restore();
        dc_ = dc;
        old_ = dc && obj ? SelectObject(dc, obj) : nullptr;
    }

private:
    void restore() {
        if (old_) SelectObject(dc_, old_);
        old_ = nullptr;
    }
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The dc's own pen and brush (stock DC_PEN and DC_BRUSH) selected, in colours that can change
// from shape to shape: one-pixel solid lines and solid fills without an object made per shape.
class DcPenBrush {
public:
    DcPenBrush(HDC dc, COLORREF pen, COLORREF brush)
        : dc_(dc), pen_(dc, GetStockObject(DC_PEN)), brush_(dc, GetStockObject(DC_BRUSH)) {
        colours(pen, brush);
    }
    void colours(COLORREF pen, COLORREF brush) {
        SetDCPenColor(dc_, pen);
        SetDCBrushColor(dc_, brush);
    }
    void pen(COLORREF c) { SetDCPenColor(dc_, c); }

private:
    HDC dc_;
    GdiSelect pen_, brush_;
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
    const RECT& update_rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// LocalLock / LocalUnlock of a movable local-memory block; get() is null when the lock
// failed. size() is LocalSize of the block, the most that may be read through the pointer.
class LocalLockGuard {
public:
    explicit LocalLockGuard(HLOCAL h)
        : h_(h), p_(h ? LocalLock(h) : nullptr), size_(p_ ? LocalSize(h) : 0) {}
    ~LocalLockGuard() {
        if (p_) LocalUnlock(h_);
    }
    LocalLockGuard(const LocalLockGuard&) = delete;
    LocalLockGuard& operator=(const LocalLockGuard&) = delete;
    void* get() const { return p_; }
    SIZE_T size() const { return size_; }

private:
    HLOCAL h_;
    void* p_;
    SIZE_T size_;
};

// Replaces a window's procedure and puts the previous one back on scope exit (unless the
// window is gone by then). previous() is what the new procedure forwards to.
class SubclassGuard {
public:
    SubclassGuard(HWND hwnd, WNDPROC proc)
        : hwnd_(hwnd),
          old_(hwnd ? reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                          hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)))
                    : nullptr) {}
    ~SubclassGuard() {
        if (old_ && IsWindow(hwnd_))
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
    }
    SubclassGuard(const SubclassGuard&) = delete;
    SubclassGuard& operator=(const SubclassGuard&) = delete;
    WNDPROC previous() const { return old_; }

private:
    HWND hwnd_;
    WNDPROC old_;
};
