// End-to-end driver. Usage:
//   e2e_driver <path of Zelmar.exe> <work folder> [test name filter]
//   e2e_driver --screenshot <png path>   (captures the running Zelmar window, then closes it)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace {
struct Entry { const char* name; TestFn fn; };
std::vector<Entry>& registry() { static std::vector<Entry> r; return r; }

std::string with_backslash(std::string s) {
    if (!s.empty() && s.back() != '\\') s += '\\';
    return s;
}

int screenshot_mode(const char* path) {
    HWND hwnd = nullptr;
    for (int i = 0; i < 300 && !hwnd; ++i) {
        hwnd = FindWindowA("TarseZelmar32Class", nullptr);
        if (!hwnd) Sleep(50);
    }
    if (!hwnd) { std::printf("screenshot: no Zelmar window\n"); return 1; }
    Sleep(1000);  // let it paint
    Image img;
    bool ok = capture_window(hwnd, &img) && save_png(img, path);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    std::printf("screenshot: %s %s (%dx%d)\n", ok ? "wrote" : "FAILED", path, img.width, img.height);
    return ok ? 0 : 1;
}
}  // namespace

Registrar::Registrar(const char* name, TestFn fn) { registry().push_back({name, fn}); }

void Ctx::fail(const char* file, int line, const std::string& what) {
    ++failures;
    const char* base = std::strrchr(file, '/');
    std::printf("  FAIL %s (%s:%d): %s\n", name, base ? base + 1 : file, line, what.c_str());
    std::fflush(stdout);
}

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0) return screenshot_mode(argv[2]);
    if (argc < 3) {
        std::printf("usage: e2e_driver <Zelmar.exe> <work folder> [filter]\n");
        return 2;
    }
    g_exe_path = argv[1];
    g_work_dir = with_backslash(argv[2]);
    CreateDirectoryA(g_work_dir.c_str(), nullptr);
    const char* filter = argc > 3 ? argv[3] : nullptr;
    int passed = 0, failed = 0;
    for (const Entry& e : registry()) {
        if (filter && !std::strstr(e.name, filter)) continue;
        Ctx ctx;
        ctx.name = e.name;
        DWORD t0 = GetTickCount();
        e.fn(ctx);
        std::printf("%s %s (%lu ms)\n", ctx.failures ? "FAILED" : "ok    ", e.name,
                    static_cast<unsigned long>(GetTickCount() - t0));
        (ctx.failures ? failed : passed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
