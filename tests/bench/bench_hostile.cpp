// The hostile picture set through the real program: writes the set (bombs of every kind in
// every format, and ordinary photos up to 50 megapixels made with the platform's encoders),
// then starts Zelmar.exe with each as its background in a program directory of its own and
// prints the time until its window answers, the time until the decoding thread has ended
// (the picture is then shown, or refused), the peak working set, and the working set held
// then, once the window has painted, against a start without any image (the times are
// wall-clock: on a busy machine they grow with the load). Slow (a minute or more per file on a busy
// machine with the older builds); not part of any suite.
//   bench_hostile.exe [Zelmar.exe [work folder [startup]]]
// With "startup": no image, the 4000 x 3000 JPEG and the 4000 x 3000 bitmap only, five starts
// each, the median time and sizes.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/bench_timer.h"
#include "tests/bench/hostile_set.h"

namespace {

using hostile::Bytes;

bool write_all(const std::string& path, const Bytes& b) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const bool ok = WriteFile(f, b.data(), static_cast<DWORD>(b.size()), &done, nullptr) && done == b.size();
    CloseHandle(f);
    return ok;
}

// A photo-like picture: soft gradients with grain, so that a JPEG has detail to code.
void photo_row(uint32_t w, uint32_t h, uint32_t y, uint8_t* bgr) {
    uint32_t seed = y * 2654435761u + 12345;
    for (uint32_t x = 0; x < w; ++x) {
        seed = seed * 1103515245u + 12345;
        const int grain = static_cast<int>((seed >> 16) & 31) - 16;
        const int r = static_cast<int>(255 * x / w) + grain, g = static_cast<int>(255 * y / h) + grain,
                  b = static_cast<int>(128 + 100 * ((x / 97 + y / 89) % 2)) + grain;
        bgr[3 * x] = static_cast<uint8_t>(b < 0 ? 0 : b > 255 ? 255 : b);
        bgr[3 * x + 1] = static_cast<uint8_t>(g < 0 ? 0 : g > 255 ? 255 : g);
        bgr[3 * x + 2] = static_cast<uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
    }
}

// Encodes the photo with the platform's encoder, a strip of rows at a time.
bool encode_photo(const std::string& path, const GUID& container, uint32_t w, uint32_t h) {
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return false;
    wchar_t wpath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wpath, MAX_PATH);
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* props = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(wpath, GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, &props)) && SUCCEEDED(frame->Initialize(props)) &&
              SUCCEEDED(frame->SetSize(w, h));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    ok = ok && SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    const uint32_t stride = 3 * w, strip = 64;
    std::vector<uint8_t> rows(size_t{stride} * strip);
    for (uint32_t y = 0; ok && y < h; y += strip) {
        const uint32_t n = h - y < strip ? h - y : strip;
        for (uint32_t r = 0; r < n; ++r) photo_row(w, h, y + r, &rows[size_t{stride} * r]);
        ok = SUCCEEDED(frame->WritePixels(n, stride, stride * n, rows.data()));
    }
    ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown* u : {static_cast<IUnknown*>(props), static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                        static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)})
        if (u) u->Release();
    return ok;
}

Bytes photo_bmp(uint32_t w, uint32_t h) {
    bmp_test::BmpFields f{static_cast<int32_t>(w), static_cast<int32_t>(h), 24};
    const size_t stride = (3 * size_t{w} + 3) & ~size_t{3};
    f.pixels.assign(stride * h, 0);
    for (uint32_t y = 0; y < h; ++y) photo_row(w, h, h - 1 - y, &f.pixels[stride * y]);
    return bmp_test::bmp_file(f);
}

struct Entry {
    std::string name, what;
};

uint64_t file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return 0;
    return (uint64_t{a.nFileSizeHigh} << 32) | a.nFileSizeLow;
}

std::vector<Entry> write_set(const std::string& dir) {
    std::vector<Entry> set;
    struct Photo { const char* name; const char* what; const GUID* container; uint32_t w, h; };
    const Photo photos[] = {
        {"photo_4000x3000.jpg", "ordinary photo 4000 x 3000, JPEG", &GUID_ContainerFormatJpeg, 4000, 3000},
        {"photo_8660x5774.jpg", "ordinary photo 50 Mpx, JPEG", &GUID_ContainerFormatJpeg, 8660, 5774},
        {"photo_4000x3000.png", "ordinary photo 4000 x 3000, PNG", &GUID_ContainerFormatPng, 4000, 3000},
        {"photo_4000x3000.bmp", "ordinary photo 4000 x 3000, 24-bit bitmap", nullptr, 4000, 3000},
    };
    for (const Photo& p : photos) {
        const std::string path = dir + p.name;
        if (file_size(path) == 0) {
            const bool ok = p.container ? encode_photo(path, *p.container, p.w, p.h) : write_all(path, photo_bmp(p.w, p.h));
            if (!ok) {
                std::printf("could not write %s\n", p.name);
                continue;
            }
        }
        set.push_back({p.name, p.what});
    }
    for (const hostile::HostileFile& f : hostile::bombs()) {
        const std::string path = dir + f.name;
        if (file_size(path) == 0 && !write_all(path, f.make())) {
            std::printf("could not write %s\n", f.name.c_str());
            continue;
        }
        set.push_back({f.name, f.what});
    }
    return set;
}

struct Finder {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK find_main(HWND hwnd, LPARAM data) {
    auto* f = reinterpret_cast<Finder*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == f->pid && lstrcmpA(cls, "TarseZelmar32Class") == 0) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Run {
    double answered_ms = -1;  // -1: never within the limit
    double decoded_ms = -1;   // the decoding thread had ended; -1: not within the limit
    double peak_mb = 0, loaded_mb = 0;
    int threads = 0;          // the process's threads when it was measured
};

// The threads a process has now (-1 when they cannot be listed).
int thread_count(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 t = {};
    t.dwSize = sizeof t;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        n += t.th32OwnerProcessID == pid;
    CloseHandle(snap);
    return n;
}

// Waits until the decoding thread has ended: the process is back at the threads of a start
// without image (plain_threads), or has one thread fewer than when its window first answered.
// Returns the milliseconds from t0 until then, or -1 when that does not happen within the
// limit. The window is then asked twice, a moment apart, so that the picture the thread
// posted has been taken and painted before anything is measured.
double wait_decoded(const PROCESS_INFORMATION& pi, HWND hwnd, int plain_threads, double t0) {
    const int at_answer = thread_count(pi.dwProcessId);
    for (;;) {
        const int now = thread_count(pi.dwProcessId);
        if (now >= 0 && (now <= plain_threads || now < at_answer)) break;
        if (now_ms() - t0 > 120000 || WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0)
            return -1;
    }
    const double ended = now_ms() - t0;
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &r)) return -1;
        Sleep(250);
    }
    return ended;
}

std::string settings_path(const std::string& dir) {
    char name[256] = "";
    DWORD n = 255;
    if (!GetUserNameA(name, &n) || name[0] == '\0') lstrcpyA(name, "default");
    return dir + name + ".cfg";
}

double mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Starts the exe in a fresh folder with the image (or none) as its background. plain_threads:
// the threads of a start without image once it has settled (-1: this is that start).
Run measure(const std::string& exe, const std::string& work, const std::string& image,
            int plain_threads) {
    Run run;
    const std::string dir = work + "run\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string exe_dir = exe.substr(0, exe.find_last_of('\\') + 1);
    CopyFileA(exe.c_str(), (dir + "Zelmar.exe").c_str(), FALSE);
    CopyFileA((exe_dir + "ZIMAGE.SPI").c_str(), (dir + "ZIMAGE.SPI").c_str(), FALSE);
    const std::string cfg = "[Config]\r\nclock=0\r\nBackImage=" + std::string(image.empty() ? "0" : "1") +
                            "\r\nBackImageFile=" + image + "\r\nBackMode=0\r\n";
    write_all(settings_path(dir), Bytes(cfg.begin(), cfg.end()));

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + dir + "Zelmar.exe\"";
    const double t0 = now_ms();
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) return run;
    Finder f{pi.dwProcessId, nullptr};
    while (now_ms() - t0 < 120000) {
        if (f.found == nullptr) EnumWindows(find_main, reinterpret_cast<LPARAM>(&f));
        DWORD_PTR r = 0;
        // Shown (after its creation, which loads the background) and answering a message.
        if (f.found && IsWindowVisible(f.found) &&
            SendMessageTimeoutA(f.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &r)) {
            run.answered_ms = now_ms() - t0;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    if (plain_threads < 0) {
        Sleep(1500);  // no picture: the first paints only
        if (run.answered_ms >= 0) run.decoded_ms = run.answered_ms;
    } else if (f.found) {
        run.decoded_ms = wait_decoded(pi, f.found, plain_threads, t0);
    }
    run.threads = thread_count(pi.dwProcessId);
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) {
        run.peak_mb = mb(pmc.PeakWorkingSetSize);
        run.loaded_mb = mb(pmc.WorkingSetSize);
    }
    if (f.found) PostMessageA(f.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    char here[MAX_PATH];
    GetModuleFileNameA(nullptr, here, MAX_PATH);
    std::string exe_dir = here;
    exe_dir = exe_dir.substr(0, exe_dir.find_last_of('\\') + 1);
    const std::string exe = argc > 1 ? argv[1] : exe_dir + "Zelmar.exe";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string work = argc > 2 ? argv[2] : std::string(temp) + "zelmar_hostile";
    if (work.back() != '\\') work += '\\';
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string pictures = work + "pictures\\";
    CreateDirectoryA(pictures.c_str(), nullptr);

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::vector<Entry> set = write_set(pictures);
    CoUninitialize();

    std::printf("program: %s\nscreen: %d x %d\n", exe.c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // Held: the working set once the picture is shown and the decoding thread has ended.
    const Run plain = measure(exe, work, "", -1);
    if (argc > 3 && lstrcmpA(argv[3], "startup") == 0) {
        std::printf("%-24s %12s %9s %9s %9s   (median of 5 starts)\n", "background", "answers s", "shown s",
                    "peak MB", "held MB");
        for (const char* name : {"", "photo_4000x3000.jpg", "photo_4000x3000.bmp"}) {
            std::vector<Run> runs;
            for (int i = 0; i < 5; ++i)
                runs.push_back(measure(exe, work, *name ? pictures + name : std::string(), *name ? plain.threads : -1));
            auto median = [&runs](double Run::*field) {
                std::vector<double> v;
                for (const Run& r : runs) v.push_back(r.*field);
                std::sort(v.begin(), v.end());
                return v[v.size() / 2];
            };
            std::printf("%-24s %12.2f %9.2f %9.1f %9.1f\n", *name ? name : "(none)", median(&Run::answered_ms) / 1000,
                        median(&Run::decoded_ms) / 1000, median(&Run::peak_mb), median(&Run::loaded_mb));
        }
        return 0;
    }
    std::printf("%-44s %9s %9s %9s %9s %9s %10s\n", "background", "file KB", "answers s", "shown s", "peak MB",
                "held MB", "over plain");
    std::printf("%-44s %9s %9.2f %9s %9.1f %9.1f %10s\n", "(none)", "-", plain.answered_ms / 1000, "-", plain.peak_mb,
                plain.loaded_mb, "-");
    auto seconds = [](double ms, char* out, size_t size) {
        if (ms < 0) std::snprintf(out, size, "%s", "never");
        else std::snprintf(out, size, "%.2f", ms / 1000);
        return out;
    };
    for (const Entry& e : set) {
        const Run r = measure(exe, work, pictures + e.name, plain.threads);
        char answered[32], shown[32];
        std::printf("%-44s %9llu %9s %9s %9.1f %9.1f %10.1f\n", e.name.c_str(),
                    static_cast<unsigned long long>(file_size(pictures + e.name) / 1024),
                    seconds(r.answered_ms, answered, sizeof answered), seconds(r.decoded_ms, shown, sizeof shown),
                    r.peak_mb, r.loaded_mb, r.loaded_mb - plain.loaded_mb);
        std::fflush(stdout);
    }
    return 0;
}
