// End-to-end driver. Usage:
//   e2e_driver [--claims <folder>] <path of Zelmar.exe> <work folder> [test name filter]
//   e2e_driver --list [test name filter]  (the names of the tests, one a line)
// With --claims several drivers (each in a Wine prefix and on a display of its own) share the
// tests: each runs those whose claim file it made first in the shared folder.
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

// Claims the test for this driver: true when this driver made its claim file first.
// A claim that cannot be made for another reason is an error, told and counted as a failure,
// so that a broken claims folder never passes for tests run elsewhere.
enum class Claim { kMine, kTaken, kError };
Claim claim(const std::string& folder, const char* name) {
    const std::string path = folder + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return Claim::kMine;
    }
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return Claim::kTaken;
    std::printf("claim: cannot make %s (error %lu)\n", path.c_str(), static_cast<unsigned long>(err));
    return Claim::kError;
}

// Tests against a server another program started for them (the calendar sync step starts
// them): "dav_..." need a calendar server, "served_..." a feed server. They run, and are
// listed, only when named by a filter that starts so, never in the end-to-end layer's own run.
bool selected(const Entry& e, const char* filter) {
    for (const char* prefix : {"dav_", "served_"}) {
        const size_t n = std::strlen(prefix);
        if (std::strncmp(e.name, prefix, n) == 0)
            return filter && std::strncmp(filter, prefix, n) == 0 && std::strstr(e.name, filter);
    }
    return !filter || std::strstr(e.name, filter);
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
    if (argc >= 2 && argc <= 3 && std::strcmp(argv[1], "--list") == 0) {
        for (const Entry& e : registry())
            if (selected(e, argc == 3 ? argv[2] : nullptr)) std::printf("%s\n", e.name);
        return 0;
    }
    std::string claims;
    if (argc >= 3 && std::strcmp(argv[1], "--claims") == 0) {
        claims = with_backslash(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::printf("usage: e2e_driver [--claims <folder>] <Zelmar.exe> <work folder> [filter]\n");
        return 2;
    }
    g_exe_path = argv[1];
    g_work_dir = with_backslash(argv[2]);
    CreateDirectoryA(g_work_dir.c_str(), nullptr);
    const char* filter = argc > 3 ? argv[3] : nullptr;
    int passed = 0, failed = 0;
    std::string skipped;
    for (const Entry& e : registry()) {
        if (!selected(e, filter)) continue;
        if (!claims.empty()) {
            const Claim c = claim(claims, e.name);
            if (c == Claim::kTaken) continue;
            if (c == Claim::kError) {
                std::printf("FAILED %s (not claimed)\n", e.name);
                ++failed;
                continue;
            }
        }
        Ctx ctx;
        ctx.name = e.name;
        DWORD t0 = GetTickCount();
        e.fn(ctx);
        std::printf("%s %s (%lu ms)%s\n", ctx.failures ? "FAILED" : "ok    ", e.name,
                    static_cast<unsigned long>(GetTickCount() - t0),
                    ctx.skipped.empty() ? "" : (" skipped: " + ctx.skipped).c_str());
        (ctx.failures ? failed : passed)++;
        if (!ctx.failures && !ctx.skipped.empty()) skipped += std::string(" ") + e.name;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    // Counted as passed above (they failed nothing); named here, so that none goes unnoticed.
    if (!skipped.empty()) std::printf("skipped:%s\n", skipped.c_str());
    return failed ? 1 : 0;
}
