// End-to-end harness: starts the real Zelmar.exe in a program directory of its own, finds its
// window, drives it with window messages and reads back what it shows and stores.
#ifndef ZELMAR_TESTS_HARNESS_H
#define ZELMAR_TESTS_HARNESS_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/month_layout.h"

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, top row first
    uint32_t at(int x, int y) const;  // 0xRRGGBB, or 0xFFFFFFFF outside
};

struct App {
    PROCESS_INFORMATION pi = {};
    HWND hwnd = nullptr;
    std::string dir;  // program directory, ends in a backslash
};

// Paths given on the command line.
extern std::string g_exe_path;   // the Zelmar.exe under test
extern std::string g_work_dir;   // scratch folder, ends in a backslash

// A fresh program directory for one test (removed and re-created).
std::string fresh_dir(const std::string& name);
bool write_file(const std::string& path, const std::string& bytes);
bool read_file(const std::string& path, std::string* bytes);
// Polls the file for this text (the program may still be writing it), up to wait_ms.
bool file_holds(const std::string& path, const std::string& text, DWORD wait_ms = 5000);

// Copies the exe into dir and starts it there; waits for its main window.
bool app_start(App& app, const std::string& dir, DWORD wait_ms = 15000);
// The same with the program built with the tests' seams (ZelmarSeam.exe beside Zelmar.exe):
// its clock is the minute in "<dir>clock.txt" (YYYYMMDDhhmm) when that file exists, its
// snooze interval the milliseconds in "<dir>snooze_ms.txt", and it notes what its message
// boxes say (messages_said).
bool app_start_seam(App& app, const std::string& dir, DWORD wait_ms = 15000);
// Sets the seam program's clock to a minute "YYYYMMDDhhmm" (replacing the file at once).
bool set_seam_clock(const std::string& dir, const char* minute);
// The two halves of app_start, for a start that shows something before the main window.
bool app_launch(App& app, const std::string& dir);
bool app_wait_window(App& app, DWORD wait_ms = 15000);
// The texts of the seam program's message boxes so far, in order.
std::vector<std::string> messages_said(const std::string& dir);
// Puts the image plug-in built beside the exe under test into a program directory.
bool install_image_plugin(const std::string& dir);
// Starts another copy in the same directory and returns its exit code (-1 on timeout).
int app_start_second(const App& app, DWORD wait_ms = 15000);
// Asks the window to close and waits for the exit code (-1 on timeout; the process is killed).
int app_close(App& app, DWORD wait_ms = 15000);
int app_wait_exit(App& app, DWORD wait_ms);

// Finds a top-level window of the class owned by the process, polling up to wait_ms.
HWND find_window_of(DWORD pid, const char* cls, DWORD wait_ms);
std::string window_text(HWND hwnd);

// The settings file the program uses in dir: "<dir><login name>.cfg" ("default" without one).
std::string settings_file_of(const std::string& dir);
// The settings file in dir once it holds each of these lines, polling up to wait_ms (what
// it holds then otherwise): the program saves after a dialog it closed is gone, a moment
// after a test sees the dialog go.
std::string settings_once_holding(const std::string& dir, std::initializer_list<const char*> lines,
                                  DWORD wait_ms = 5000);
// The local time, after waiting past the last seconds of a minute, so that an entry due
// "now" is still due when a program started next looks.
SYSTEMTIME settled_now();
// Polls cond every 20 ms for up to wait_ms; true once it holds.
bool wait_until(bool (*cond)(HWND), HWND hwnd, DWORD wait_ms = 5000);
// A visible dialog (class #32770) owned by owner, polling up to wait_ms; nullptr if none.
HWND find_owned_dialog(HWND owner, DWORD wait_ms);
// A visible popup menu window (class #32768) of the process, polling up to wait_ms.
HWND find_popup_menu(DWORD pid, DWORD wait_ms);
// Text of a list-view cell of another process.
std::string remote_item_text(HANDLE process, HWND list, int row, int sub);
// Sends a message and waits for it to be handled (false on a 5 s timeout).
bool send_sync(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Puts year/month on show as a user does: 表示月, the two numbers typed, OK.
bool show_month(const App& app, int year, int month);

// Selects a face in the font dialog's face list as a click would and tells the dialog.
bool select_face(HWND dlg, const wchar_t* face);

// Lays the month out as the program does for the window's client size and the default font
// settings; clock_mode 1 or 2 when a digital or analog clock takes rows off the grid, labels
// when the line under the numbers (六曜, solar terms) is switched on. *frame (when given)
// gets the frame it was laid out in.
bool lay_out_month(const App& app, int year, int month, int clock_mode, MonthGrid* grid,
                   bool labels = false, MonthFrame* frame = nullptr);

// The window as the screen shows it; a part off the screen stays black.
bool capture_window(HWND hwnd, Image* img);
// The window once its client area is painted (not one colour: a window not yet painted is)
// and its picture is the same in two shots 100 ms apart, for up to 5 s, then the last shot;
// with where its client area begins in it. False when no shot can be taken; *settled (when
// given) says whether the picture settled.
bool capture_settled(HWND hwnd, Image* img, int* ox, int* oy, bool* settled = nullptr);
// The same after a moment for the paint to reach the screen.
bool capture_client(HWND hwnd, Image* img, int* ox, int* oy);
// What draw (given a memory dc holding a w x h picture) puts there; false when the picture
// cannot be had or draw fails.
bool draw_to_image(int w, int h, const std::function<bool(HDC)>& draw, Image* img);
bool save_png(const Image& img, const std::string& path);
// A screenshot of a window for a person to look at, kept as g_work_dir + name; the window is
// given time to paint first.
void keep_screenshot(HWND hwnd, const char* name);

// The month year/month put on show and captured, with its grid as the program lays it out
// (no clock) and where the client area starts in the capture.
struct MonthCapture {
    Image img;
    int ox = 0, oy = 0;
    MonthGrid grid = {};
};
bool capture_month(const App& app, int year, int month, MonthCapture* s);
// The pixels of a day's cell in the colour of the box that marks a day with entries.
int marked_box_pixels(const MonthCapture& s, int day);

// Test registry and checks.
struct Ctx {
    const char* name;
    int failures = 0;
    // Why the test could not run here (the platform lacks what it drives); empty when it ran.
    std::string skipped;
    void fail(const char* file, int line, const std::string& what);
};
using TestFn = void (*)(Ctx&);
struct Registrar { Registrar(const char* name, TestFn fn); };

#define E2E_TEST(n) \
    static void n(Ctx&); \
    static Registrar reg_##n(#n, n); \
    static void n(Ctx& ctx)
#define CHECK(c) do { if (!(c)) ctx.fail(__FILE__, __LINE__, #c); } while (0)
#define CHECK_EQ(a, b) do { auto va_ = (a); auto vb_ = (b); if (!(va_ == vb_)) \
    ctx.fail(__FILE__, __LINE__, std::string(#a " == " #b ": ") + std::to_string(va_) + " vs " + std::to_string(vb_)); } while (0)
#define REQUIRE(c) do { if (!(c)) { ctx.fail(__FILE__, __LINE__, #c); return; } } while (0)
// Ends a test the platform cannot run, saying why; the driver lists it as skipped.
#define SKIP(why) do { ctx.skipped = (why); return; } while (0)

#endif
