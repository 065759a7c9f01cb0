// Alarms while the user works in another program and the calendar waits in the tray (the
// seam clock): the alarm window comes over that program with its caption and frame, and an
// alarm that comes due while it shows an earlier one joins it instead of taking its place.
#include <windows.h>

#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {



// Another program to work in: Wine's notepad, its main window in front.
struct OtherProgram {
    PROCESS_INFORMATION pi = {};
    HWND hwnd = nullptr;
    ~OtherProgram() {
        if (pi.hProcess) {
            TerminateProcess(pi.hProcess, 0);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

BOOL CALLBACK main_window_of(HWND h, LPARAM lp) {
    OtherProgram* o = reinterpret_cast<OtherProgram*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != o->pi.dwProcessId || !IsWindowVisible(h) || GetWindow(h, GW_OWNER)) return TRUE;
    o->hwnd = h;
    return FALSE;
}

bool start_other_program(OtherProgram* o) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    char cmd[] = "notepad.exe";
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &o->pi))
        return false;
    WaitForInputIdle(o->pi.hProcess, 10000);
    for (int i = 0; i < 200 && !o->hwnd; ++i) {
        EnumWindows(main_window_of, reinterpret_cast<LPARAM>(o));
        if (!o->hwnd) Sleep(50);
    }
    return o->hwnd != nullptr;
}

// The user turns to the other program.
bool work_in(const OtherProgram& o) {
    SetForegroundWindow(o.hwnd);
    for (int i = 0; i < 100; ++i) {
        if (GetForegroundWindow() == o.hwnd) return true;
        Sleep(20);
    }
    return false;
}


// Distance of a colour from the segment between two colours (the caption's gradient).
double off_gradient(uint32_t p, uint32_t a, uint32_t b) {
    const double pa[3] = {double(p >> 16 & 255) - (a >> 16 & 255), double(p >> 8 & 255) - (a >> 8 & 255),
                          double(p & 255) - (a & 255)};
    const double ab[3] = {double(b >> 16 & 255) - (a >> 16 & 255), double(b >> 8 & 255) - (a >> 8 & 255),
                          double(b & 255) - (a & 255)};
    const double len = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2];
    double t = len > 0 ? (pa[0] * ab[0] + pa[1] * ab[1] + pa[2] * ab[2]) / len : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    double d = 0;
    for (int k = 0; k < 3; ++k) d += (pa[k] - t * ab[k]) * (pa[k] - t * ab[k]);
    return d;
}

// What the band above the client area shows in a screenshot of the window: pixels in the
// active caption's colours, in the caption text's colour, and the frame's left column
// apart from the window colour.
struct Frame {
    int active = 0, caption_text = 0, band = 0;
    bool left_edge = false;
};

Frame frame_of(HWND w, const Image& shot) {
    Frame f;
    RECT wr;
    POINT origin = {0, 0};
    GetWindowRect(w, &wr);
    ClientToScreen(w, &origin);
    const int top = origin.y - wr.top, left = origin.x - wr.left;
    const uint32_t a = rgb_of(GetSysColor(COLOR_ACTIVECAPTION));
    const uint32_t b = rgb_of(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    const uint32_t text = rgb_of(GetSysColor(COLOR_CAPTIONTEXT));
    for (int y = 0; y < top; ++y) {
        for (int x = left; x < shot.width - left; ++x) {
            const uint32_t p = shot.at(x, y);
            ++f.band;
            if (off_gradient(p, a, b) < 24.0 * 24.0) ++f.active;
            if (p == text) ++f.caption_text;
        }
    }
    const uint32_t window = rgb_of(GetSysColor(COLOR_BTNFACE));
    f.left_edge = left > 0 && shot.at(0, shot.height / 2) != window;
    return f;
}

// The caption bar is drawn over most of its band, active, with its text, and the frame
// around the client area.
bool shows_active_frame(HWND w, const char* name) {
    keep_screenshot(w, name);
    Image shot;
    if (!capture_window(w, &shot)) return false;
    const Frame f = frame_of(w, shot);
    std::printf("  %s: caption band %d pixels, %d active, %d of its text, left edge %d\n", name,
                f.band, f.active, f.caption_text, f.left_edge);
    return f.band > 0 && f.active * 2 > f.band && f.caption_text > 20 && f.left_edge;
}

}  // namespace

E2E_TEST(an_alarm_comes_over_another_program_and_a_second_joins_it) {
    App app;
    const std::string dir = fresh_dir("alarm_front");
    REQUIRE(set_seam_clock(dir, "203006011000"));
    REQUIRE(write_file(settings_file_of(dir),
                       "[Config]\r\nmethod=0\r\n[Schedule]\r\nschedulecount=2\r\n"
                       "schedule001=2030060101会議\r\nschedule002=2030060101電話\r\n"
                       "[Alarm]\r\nalarm001=1005001\r\nalarm002=1007001\r\n"));
    REQUIRE(app_start_seam(app, dir));
    // The calendar waits in the tray; the user works in another program.
    PostMessageA(app.hwnd, WM_COMMAND, CMD_HIDE_SHOW, 0);
    OtherProgram other;
    REQUIRE(start_other_program(&other));
    REQUIRE(work_in(other));
    CHECK(!IsWindowVisible(app.hwnd));

    REQUIRE(set_seam_clock(dir, "203006011005"));
    HWND w = alarm_window(app);
    REQUIRE(w != nullptr);
    CHECK(window_text(GetDlgItem(w, IDC_ALARM_TEXT)) == "2030年6月1日 10:05\r\n会議\r\n予定時刻です");
    CHECK(GetForegroundWindow() == w);
    CHECK(shows_active_frame(w, "alarm_over_other_program.png"));

    // Back at work, not closing it; the next alarm joins the first.
    REQUIRE(work_in(other));
    REQUIRE(set_seam_clock(dir, "203006011007"));
    const std::string both = "2030年6月1日 10:05\r\n会議\r\n予定時刻です\r\n\r\n"
                             "2030年6月1日 10:07\r\n電話\r\n予定時刻です";
    bool joined = false;
    for (int i = 0; i < 400 && !joined; ++i) {
        joined = window_text(GetDlgItem(w, IDC_ALARM_TEXT)) == both;
        if (!joined) Sleep(20);
    }
    CHECK(joined);
    CHECK(find_owned_dialog(app.hwnd, 100) == w);  // the same window, none beside it
    CHECK(GetForegroundWindow() == w);
    CHECK(shows_active_frame(w, "alarm_joined_over_other_program.png"));
    CHECK_EQ(app_close(app), 0);
}
