// Win32 file layer: the temporary file is flushed to the disk before it
// replaces the settings file, and the replace itself is written through.
// The steps of the replace hand their handle from one to the next (each step's
// failure counts, the close's too), so only the whole-file read owns its handle.
#include <windows.h>

#include "config/fileio.h"
#include "config/handles_win.h"

namespace {

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
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void remove(const char* path) override { DeleteFileA(path); }
};

}  // namespace

FileIO* fileio_win() {
    static Win32FileIO io;
    return &io;
}
