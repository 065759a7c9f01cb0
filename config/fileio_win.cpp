// Win32 file layer: the temporary file is flushed to the disk before it
// replaces the settings file, and the replace itself is written through.
// The steps of the replace hand their handle from one to the next (each step's
// failure counts, the close's too), so only the whole-file read owns its handle.
#include <windows.h>

#include "config/fileio.h"
#include "config/handles_win.h"

namespace {

// Whether a failed replace of path may be a hold by another program that ends soon: a
// sharing violation, or (as some systems say it) a denied access to a file that is neither
// read-only nor a directory.
bool held_by_another(const char* path, DWORD error) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

class Win32FileIO : public StepFileIO {
public:
    FileStamp stamp(const char* path) override {
        FileStamp st;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return st;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return st;
        st.exists = true;
        st.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        st.time = uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                  data.ftLastWriteTime.dwLowDateTime;
        return st;
    }
    bool read_all(const char* path, std::string* out) override {
        out->clear();
        OwnedFile h(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) return false;
        char chunk[16384];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(h.get(), chunk, sizeof chunk, &got, nullptr)) return false;
            if (got == 0) return true;
            out->append(chunk, got);
        }
    }

protected:
    void* create(const char* path) override {
        HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? nullptr : h;
    }
    bool write(void* h, const char* data, size_t n) override {
        while (n > 0) {
            const DWORD part = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
            DWORD done = 0;
            if (!WriteFile(static_cast<HANDLE>(h), data, part, &done, nullptr) || done != part)
                return false;
            data += part;
            n -= part;
        }
        return true;
    }
    bool flush(void* h) override { return FlushFileBuffers(static_cast<HANDLE>(h)) != 0; }
    bool close(void* h) override { return CloseHandle(static_cast<HANDLE>(h)) != 0; }
    bool replace(const char* from, const char* to) override {
        // Another program reading the settings file (a virus scanner, a backup, an editor)
        // keeps it from being replaced while it holds it open, mostly for a few milliseconds:
        // the replace is tried again for about a second and a half before the save fails. A
        // read-only file is refused at once; it stays so.
        static const DWORD kWaits[] = {10, 20, 40, 80, 160, 320, 500, 500};
        for (DWORD wait : kWaits) {
            if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
            if (!held_by_another(to, GetLastError())) return false;
            Sleep(wait);
        }
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void remove(const char* path) override { DeleteFileA(path); }
};

}  // namespace

FileIO* fileio_win() {
    static Win32FileIO io;
    return &io;
}
