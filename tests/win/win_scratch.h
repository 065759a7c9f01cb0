// Scratch files for the Windows tests.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace win_test {

inline void remove_tree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA((dir + "*").c_str(), &fd);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(dir + name + "\\");
            } else {
                SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((dir + name).c_str());
            }
        } while (FindNextFileA(f, &fd));
        FindClose(f);
    }
    RemoveDirectoryA(dir.c_str());
}

// A fresh, empty directory under the temporary directory, ending in "\". The name repeats
// across runs (process ids are reused), so what an earlier run left there is removed.
inline std::string scratch_dir(const char* tag) {
    static unsigned serial = 0;
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    char dir[MAX_PATH];
    std::snprintf(dir, sizeof dir, "%szelmar_%s_%lu_%u\\", tmp, tag, GetCurrentProcessId(), ++serial);
    remove_tree(dir);
    CreateDirectoryA(dir, nullptr);
    return dir;
}

// The directory of the running test program, ending in "\": the build tree, where the
// plug-ins are built.
inline std::string exe_dir() {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline void put_file(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    if (h != INVALID_HANDLE_VALUE) {
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        CloseHandle(h);
    }
    // The profile functions cache files; make them read this one afresh.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

inline std::string get_file(const std::string& path) {
    std::string out;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(h);
    return out;
}

}  // namespace win_test
