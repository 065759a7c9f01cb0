// The tray tip as the notification area receives it. The test stands in for the taskbar: a
// window of the taskbar's class, on a thread of its own, to which the shell's icon calls come
// as WM_COPYDATA; the tip is looked for, as UTF-16 text, in the last change that arrived.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/main_layout.h"
#include "resources/resource.h"
#include "tests/e2e/harness.h"

namespace {

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

}  // namespace

// Today's tip names today's national holiday while the holidays are shown, and drops the
// name at once when they are switched off; 和暦で表示 writes the year as the era year at once.
// The suite runs this test a second time with the clock on 3 May 2019 (憲法記念日, the third
// day of 令和元年).
E2E_TEST(tray_tip_names_todays_national_holiday) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char on[64], off[64], era[64];
    format_tray_tip(on, sizeof on, now.wYear, now.wMonth, now.wDay, 1, 0);
    format_date_tip(off, sizeof off, now.wYear, now.wMonth, now.wDay, 0);
    format_tray_tip(era, sizeof era, now.wYear, now.wMonth, now.wDay, 1, 1);
    if (now.wYear == 2019 && now.wMonth == 5 && now.wDay == 3) {
        CHECK(std::string(on) == "2019年5月3日(金) 憲法記念日");
        CHECK(std::string(era) == "令和元年5月3日(金) 憲法記念日");
    }
    std::printf("  today's tip: %s, with the era year: %s\n", on, era);
    FakeTaskbar taskbar;
    REQUIRE(taskbar.up());
    App app;
    REQUIRE(app_start(app, fresh_dir("tray_tip")));
    CHECK(taskbar.wait_for_tip(on));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(taskbar.wait_for_tip(off));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(taskbar.wait_for_tip(on));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
    CHECK(taskbar.wait_for_tip(era));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
    CHECK(taskbar.wait_for_tip(on));
    CHECK_EQ(app_close(app), 0);
}
