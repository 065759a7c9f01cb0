#include "tests/e2e/harness.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "calendar/dayclass.h"
#include "resources/resource.h"
#include "tests/e2e/png.h"
#include "tests/win/find_window.h"

std::string g_exe_path;
std::string g_work_dir;

uint32_t Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

static void remove_tree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            std::string p = dir + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(p + "\\");
            } else {
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(p.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

std::string fresh_dir(const std::string& name) {
    std::string d = g_work_dir + name + "\\";
    remove_tree(d);
    CreateDirectoryA(d.c_str(), nullptr);
    return d;
}

bool write_file(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool file_holds(const std::string& path, const std::string& text, DWORD wait_ms) {
    const DWORD start = GetTickCount();
    std::string bytes;
    for (;;) {
        if (read_file(path, &bytes) && bytes.find(text) != std::string::npos) return true;
        if (GetTickCount() - start > wait_ms) return false;
        Sleep(20);
    }
}

bool read_file(const std::string& path, std::string* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->append(buf, n);
    std::fclose(f);
    return true;
}

namespace {
bool launch(const std::string& exe, const std::string& dir, PROCESS_INFORMATION* pi) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          dir.c_str(), &si, pi) != 0;
}
}  // namespace

HWND find_window_of(DWORD pid, const char* cls, DWORD wait_ms) {
    win_test::WindowQuery q;
    q.cls = cls;
    q.process = pid;
    q.visible = false;  // the main window exists before it is shown
    return win_test::wait_for_window(q, wait_ms);
}

namespace {
// Copies source into dir as Zelmar.exe and starts it there.
bool launch_copy(App& app, const std::string& dir, const std::string& source) {
    app.dir = dir;
    std::string exe = dir + "Zelmar.exe";
    if (!CopyFileA(source.c_str(), exe.c_str(), FALSE)) return false;
    return launch(exe, dir, &app.pi);
}
}  // namespace

bool app_start(App& app, const std::string& dir, DWORD wait_ms) {
    return launch_copy(app, dir, g_exe_path) && app_wait_window(app, wait_ms);
}

bool app_launch(App& app, const std::string& dir) { return launch_copy(app, dir, g_exe_path); }

bool app_start_seam(App& app, const std::string& dir, DWORD wait_ms) {
    const size_t slash = g_exe_path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : g_exe_path.substr(0, slash + 1);
    return launch_copy(app, dir, folder + "ZelmarSeam.exe") && app_wait_window(app, wait_ms);
}

bool set_seam_clock(const std::string& dir, const char* minute) {
    const std::string tmp = dir + "clock.tmp";
    if (!write_file(tmp, minute)) return false;
    // The program reads the file every second: while it has it open the replace is refused.
    for (int tries = 0; tries < 100; ++tries) {
        if (MoveFileExA(tmp.c_str(), (dir + "clock.txt").c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        Sleep(20);
    }
    return false;
}

std::vector<std::string> messages_said(const std::string& dir) {
    std::string bytes;
    std::vector<std::string> texts;
    if (!read_file(dir + "messages.txt", &bytes)) return texts;
    for (size_t at = 0, end; (end = bytes.find('\0', at)) != std::string::npos; at = end + 1)
        texts.push_back(bytes.substr(at, end - at));
    return texts;
}

bool app_wait_window(App& app, DWORD wait_ms) {
    app.hwnd = find_window_of(app.pi.dwProcessId, "TarseZelmar32Class", wait_ms);
    if (!app.hwnd) return false;
    // The window exists from inside CreateWindowEx on, and the program answers sent messages
    // already while its creation waits on another process (the notification area); start-up
    // is over once the window is shown and the message loop answers a sent message.
    WaitForInputIdle(app.pi.hProcess, wait_ms);
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(app.hwnd) && GetTickCount() - start < wait_ms) Sleep(20);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(app.hwnd, WM_NULL, 0, 0, SMTO_NORMAL, wait_ms, &result);
    return true;
}

int app_start_second(const App& app, DWORD wait_ms) {
    PROCESS_INFORMATION pi = {};
    if (!launch(app.dir + "Zelmar.exe", app.dir, &pi)) return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(pi.hProcess, wait_ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return int(code);
}

int app_wait_exit(App& app, DWORD wait_ms) {
    if (!app.pi.hProcess) return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(app.pi.hProcess, wait_ms) == WAIT_OBJECT_0) {
        GetExitCodeProcess(app.pi.hProcess, &code);
    } else {
        TerminateProcess(app.pi.hProcess, 99);
        WaitForSingleObject(app.pi.hProcess, 5000);
    }
    CloseHandle(app.pi.hThread);
    CloseHandle(app.pi.hProcess);
    app.pi = {};
    app.hwnd = nullptr;
    return int(code);
}

int app_close(App& app, DWORD wait_ms) {
    if (app.hwnd) PostMessageA(app.hwnd, WM_CLOSE, 0, 0);
    return app_wait_exit(app, wait_ms);
}

// Asked of the window itself: GetWindowTextA does not ask another process's controls and
// would give an edit's template text, not what it holds.
std::string window_text(HWND hwnd) {
    char buf[512] = "";
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return "";
    buf[sizeof buf - 1] = '\0';
    return buf;
}

void keep_screenshot(HWND hwnd, const char* name) {
    Sleep(300);
    Image shot;
    if (capture_window(hwnd, &shot)) save_png(shot, g_work_dir + name);
}

bool capture_month(const App& app, int year, int month, MonthCapture* s) {
    if (!show_month(app, year, month) || !lay_out_month(app, year, month, 0, &s->grid)) return false;
    return capture_client(app.hwnd, &s->img, &s->ox, &s->oy);
}

int marked_box_pixels(const MonthCapture& s, int day) {
    const COLORREF c = marked_box_colour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW));
    const uint32_t box = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    const CellRect& r = s.grid.drawn[day - 1];
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.img.at(s.ox + x, s.oy + y) == box ? 1 : 0;
    return n;
}

bool draw_to_image(int w, int h, const std::function<bool(HDC)>& draw, Image* img) {
    if (w <= 0 || h <= 0) return false;
    HDC mem = CreateCompatibleDC(nullptr);
    if (!mem) return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        ok = draw(mem);
        GdiFlush();
        SelectObject(mem, old);
        img->width = w;
        img->height = h;
        img->rgb.resize(size_t(w) * h * 3);
        const uint8_t* src = static_cast<const uint8_t*>(bits);
        for (size_t i = 0; i < size_t(w) * h; ++i) {
            img->rgb[i * 3] = src[i * 4 + 2];
            img->rgb[i * 3 + 1] = src[i * 4 + 1];
            img->rgb[i * 3 + 2] = src[i * 4];
        }
    }
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
    return ok;
}

bool capture_window(HWND hwnd, Image* img) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    HDC screen = GetDC(nullptr);
    const bool ok = draw_to_image(r.right - r.left, r.bottom - r.top, [&](HDC mem) {
        // Only what lies on the screen: a blit reaching past its edge copies nothing at all.
        RECT on = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return IntersectRect(&on, &on, &r) &&
               BitBlt(mem, on.left - r.left, on.top - r.top, on.right - on.left, on.bottom - on.top,
                      screen, on.left, on.top, SRCCOPY) != 0;
    }, img);
    ReleaseDC(nullptr, screen);
    return ok;
}

// Whether the client area (from ox, oy; w x h) is one colour: a window not yet painted.
static bool client_one_colour(const Image& img, int ox, int oy, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (img.at(ox + x, oy + y) != img.at(ox, oy)) return false;
    return true;
}

bool capture_settled(HWND hwnd, Image* img, int* ox, int* oy, bool* settled) {
    RECT wr, cr;
    POINT origin = {0, 0};
    if (!GetWindowRect(hwnd, &wr) || !GetClientRect(hwnd, &cr) || !ClientToScreen(hwnd, &origin)) return false;
    *ox = origin.x - wr.left;
    *oy = origin.y - wr.top;
    if (!capture_window(hwnd, img)) return false;
    // A loaded machine may not have painted yet: wait for a still, painted picture.
    const DWORD start = GetTickCount();
    Image last;
    for (;;) {
        const bool still = !client_one_colour(*img, *ox, *oy, cr.right, cr.bottom) && last.rgb == img->rgb;
        if (still || GetTickCount() - start >= 5000) {
            if (settled) *settled = still;
            return true;
        }
        last = *img;
        Sleep(100);
        if (!capture_window(hwnd, img)) return false;
    }
}

bool capture_client(HWND hwnd, Image* img, int* ox, int* oy) {
    Sleep(300);  // let the paint reach the screen
    return capture_settled(hwnd, img, ox, oy);
}

bool save_png(const Image& img, const std::string& path) {
    return png_write(path, img.width, img.height, img.rgb);
}

std::string settings_file_of(const std::string& dir) {
    char name[256] = "";
    DWORD n = 255;
    if (!GetUserNameA(name, &n) || name[0] == '\0') lstrcpyA(name, "default");
    return dir + name + ".cfg";
}

std::string settings_once_holding(const std::string& dir, std::initializer_list<const char*> lines,
                                  DWORD wait_ms) {
    const DWORD start = GetTickCount();
    std::string bytes;
    for (;;) {
        bool all = read_file(settings_file_of(dir), &bytes);
        for (const char* l : lines) all = all && bytes.find(std::string(l) + "\r\n") != std::string::npos;
        if (all || GetTickCount() - start > wait_ms) return bytes;
        Sleep(20);
    }
}

SYSTEMTIME settled_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond >= 45) {
        Sleep((61 - now.wSecond) * 1000);
        GetLocalTime(&now);
    }
    return now;
}

bool wait_until(bool (*cond)(HWND), HWND hwnd, DWORD wait_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond(hwnd)) return true;
        if (GetTickCount() - start > wait_ms) return false;
        Sleep(20);
    }
}

HWND find_owned_dialog(HWND owner, DWORD wait_ms) {
    win_test::WindowQuery q;
    q.owner = owner;
    return win_test::wait_for_window(q, wait_ms);
}

HWND find_popup_menu(DWORD pid, DWORD wait_ms) {
    win_test::WindowQuery q;
    q.cls = win_test::kPopupMenuClass;
    q.process = pid;
    return win_test::wait_for_window(q, wait_ms);
}

bool lay_out_month(const App& app, int year, int month, int clock_mode, MonthGrid* grid,
                   bool labels, MonthFrame* frame) {
    RECT client;
    if (!GetClientRect(app.hwnd, &client)) return false;
    const CellRect area = {0, 0, client.right, client.bottom};
    const MonthFrame f = month_frame(area, clock_mode, 0, labels);
    if (frame) *frame = f;
    LOGFONTA lf = {};
    lf.lfHeight = f.day_font_height;
    lf.lfWeight = 400;
    lf.lfCharSet = 128;
    lstrcpyA(lf.lfFaceName, "ＭＳ Ｐゴシック");
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE digits = {0, 0};
    GetTextExtentPoint32A(dc, "88", 2, &digits);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    month_grid(f, area.right, digits.cx, digits.cy, year, month, grid);
    return true;
}

bool send_sync(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, 5000, &result) != 0;
}

static bool window_gone(HWND hwnd) { return IsWindow(hwnd) == 0; }

static void type_into(HWND edit, const std::string& text) {
    send_sync(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (char c : text) send_sync(edit, WM_CHAR, (unsigned char)c, 1);
}

bool show_month(const App& app, int year, int month) {
    PostMessageA(app.hwnd, WM_COMMAND, CMD_DISPLAY_MONTH, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    if (!dlg) return false;
    type_into(GetDlgItem(dlg, IDC_DM_YEAR), std::to_string(year));
    type_into(GetDlgItem(dlg, IDC_DM_MONTH), std::to_string(month));
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    return wait_until(window_gone, dlg);
}

bool select_face(HWND dlg, const wchar_t* face) {
    HWND list = GetDlgItem(dlg, IDC_FONT_FACE);
    DWORD_PTR index = DWORD_PTR(CB_ERR);
    if (!SendMessageTimeoutW(list, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(face),
                             SMTO_NORMAL, 5000, &index) ||
        LRESULT(index) == CB_ERR)
        return false;
    send_sync(list, CB_SETCURSEL, index, 0);
    return send_sync(dlg, WM_COMMAND, MAKEWPARAM(IDC_FONT_FACE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
}

bool install_image_plugin(const std::string& dir) {
    const std::string built = g_exe_path.substr(0, g_exe_path.find_last_of('\\') + 1) + "ZIMAGE.SPI";
    return CopyFileA(built.c_str(), (dir + "ZIMAGE.SPI").c_str(), FALSE) != 0;
}

// The item record and its buffer live in the other process for the call.
std::string remote_item_text(HANDLE process, HWND list, int row, int sub) {
    struct Block {
        LVITEMA item;
        char text[256];
    };
    Block* remote = static_cast<Block*>(
        VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return "<no memory>";
    Block local = {};
    local.item.iSubItem = sub;
    local.item.pszText = remote->text;
    local.item.cchTextMax = sizeof local.text;
    std::string out = "<unread>";
    SIZE_T done = 0;
    if (WriteProcessMemory(process, remote, &local, sizeof local, &done)) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL,
                            5000, &result);
        if (ReadProcessMemory(process, remote, &local, sizeof local, &done)) {
            local.text[sizeof local.text - 1] = '\0';
            out = local.text;
        }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return out;
}
