// Starting a program as a user does and waiting for its first finished paint: its window of
// the given class is visible and has nothing left to paint (no update region). The start
// counts from just before CreateProcess. Also what the process holds then: its memory and
// the DLLs it has loaded.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/bench/bench_timer.h"
#include "tests/win/find_window.h"

namespace bench {

struct Started {
    PROCESS_INFORMATION pi = {};
    HWND hwnd = nullptr;
    double ms = 0;              // start to first finished paint
    double working_set_mb = 0;  // at that moment
    double private_mb = 0;
    std::set<std::string> dlls;  // lower-case base names
};

inline std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The DLLs of a process (its exe left out).
inline std::set<std::string> loaded_dlls(HANDLE process) {
    std::set<std::string> names;
    std::vector<HMODULE> mods(512);
    DWORD needed = 0;
    if (!EnumProcessModules(process, mods.data(), static_cast<DWORD>(mods.size() * sizeof(HMODULE)), &needed))
        return names;
    const size_t n = std::min<size_t>(needed / sizeof(HMODULE), mods.size());
    for (size_t i = 1; i < n; ++i) {  // the first module is the exe
        char name[MAX_PATH] = "";
        if (GetModuleBaseNameA(process, mods[i], name, sizeof name)) names.insert(lower(name));
    }
    return names;
}

inline bool painted(HWND w) { return IsWindowVisible(w) && !GetUpdateRect(w, nullptr, FALSE); }

// Starts exe in dir and waits up to limit_ms for the first finished paint of its window of
// class cls. False (and the process ended) when it does not come.
inline bool start_until_painted(const std::string& exe, const std::string& dir, const char* cls,
                                Started* out, DWORD limit_ms = 20000) {
    *out = Started{};
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    const double t0 = now_ms();
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &out->pi))
        return false;
    // Waits without asking the window system until the program first waits for input, so
    // that the polling below does not keep the server from the program's own requests.
    WaitForInputIdle(out->pi.hProcess, limit_ms);
    win_test::WindowQuery q;
    q.cls = cls;
    q.process = out->pi.dwProcessId;
    q.visible = true;
    for (;;) {
        if (!out->hwnd) out->hwnd = win_test::find_window(q);
        if (out->hwnd && painted(out->hwnd)) break;
        if (now_ms() - t0 > limit_ms || WaitForSingleObject(out->pi.hProcess, 0) == WAIT_OBJECT_0) {
            TerminateProcess(out->pi.hProcess, 99);
            WaitForSingleObject(out->pi.hProcess, 5000);
            CloseHandle(out->pi.hThread);
            CloseHandle(out->pi.hProcess);
            out->pi = {};
            return false;
        }
        Sleep(1);
    }
    out->ms = now_ms() - t0;
    PROCESS_MEMORY_COUNTERS_EX mem = {};
    mem.cb = sizeof mem;
    if (GetProcessMemoryInfo(out->pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem)) {
        out->working_set_mb = mem.WorkingSetSize / 1048576.0;
        // Wine leaves PrivateUsage of another process at 0; the commit charge is the same figure.
        out->private_mb = (mem.PrivateUsage ? mem.PrivateUsage : mem.PagefileUsage) / 1048576.0;
    }
    out->dlls = loaded_dlls(out->pi.hProcess);
    return true;
}

// Closes the window and waits for the process; ends it when it does not go.
inline void close_started(Started& s) {
    if (!s.pi.hProcess) return;
    if (s.hwnd) PostMessageA(s.hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(s.pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(s.pi.hProcess, 99);
        WaitForSingleObject(s.pi.hProcess, 5000);
    }
    CloseHandle(s.pi.hThread);
    CloseHandle(s.pi.hProcess);
    s.pi = {};
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace bench
