// A stand-in for the taskbar, for tests of the tray tip: a window of the taskbar's class, on
// a thread of its own, to which the shell's icon calls come as WM_COPYDATA; the tip is looked
// for, as UTF-16 text, in the last change that arrived. Made before the program starts.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

namespace e2e_taskbar {

constexpr DWORD kModify = 1;  // NIM_MODIFY, the shell's message number in dwData

class FakeTaskbar {
public:
    FakeTaskbar() {
        InitializeCriticalSection(&lock_);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
        if (ready_ && thread_) WaitForSingleObject(ready_, 5000);
    }
    ~FakeTaskbar() {
        if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        if (thread_) {
            WaitForSingleObject(thread_, 5000);
            CloseHandle(thread_);
        }
        if (ready_) CloseHandle(ready_);
        DeleteCriticalSection(&lock_);
    }
    bool up() const { return hwnd_ != nullptr; }
    // Polls until the last tip change carries this tip (code page 932), up to 5 s.
    bool wait_for_tip(const char* tip) {
        wchar_t wide[128] = L"";
        if (!MultiByteToWideChar(932, 0, tip, -1, wide, 128)) return false;
        const std::wstring want(wide, wcslen(wide) + 1);  // with its terminator
        for (int i = 0; i < 250; ++i, Sleep(20)) {
            EnterCriticalSection(&lock_);
            const bool seen = last_modify_.find(want) != std::wstring::npos;
            LeaveCriticalSection(&lock_);
            if (seen) return true;
        }
        return false;
    }

private:
    static DWORD WINAPI run(void* self_) {
        FakeTaskbar* self = static_cast<FakeTaskbar*>(self_);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        if (hwnd) SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
        SetEvent(self->ready_);
        MSG msg;
        while (hwnd && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnregisterClassW(wc.lpszClassName, wc.hInstance);
        return 0;
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        FakeTaskbar* self = reinterpret_cast<FakeTaskbar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_COPYDATA && self) {
            const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (cds->dwData == kModify && cds->lpData) {
                EnterCriticalSection(&self->lock_);
                self->last_modify_.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / 2);
                LeaveCriticalSection(&self->lock_);
            }
            return TRUE;
        }
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    CRITICAL_SECTION lock_;
    HANDLE ready_ = nullptr, thread_ = nullptr;
    HWND volatile hwnd_ = nullptr;
    std::wstring last_modify_;  // the record of the last tip change, as it came
};

}  // namespace e2e_taskbar

using e2e_taskbar::FakeTaskbar;
