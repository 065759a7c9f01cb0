// The real program's notification-area callback, title-bar switch and font dialog, driven by
// window messages: a hidden window comes back by a left click on its icon, the frame switch
// keeps the outer rectangle, and the font dialog previews a face on the calendar while it is
// open, restores the previous one on cancel and stores the choice on OK.
#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;
constexpr WPARAM kTrayIconId = 31049;




// The value of a key in the settings file, "<none>" without the key.
std::string value_of(const std::string& file, const std::string& key) {
    const size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size() + 3;
    return file.substr(from, file.find("\r\n", from) - from);
}

const char kFixedWindow[] =
    "[Config]\r\nmonthlang=0\r\nweeklang=0\r\nclock=0\r\n"
    "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n";

// The client area of the window as shown on the screen.
bool client_shot(HWND hwnd, Image* out) {
    Image img;
    if (!capture_window(hwnd, &img)) return false;
    RECT wr, cr;
    POINT origin = {0, 0};
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    ClientToScreen(hwnd, &origin);
    const int ox = origin.x - wr.left, oy = origin.y - wr.top;
    out->width = cr.right;
    out->height = cr.bottom;
    out->rgb.assign(size_t(cr.right) * cr.bottom * 3, 0);
    for (int y = 0; y < cr.bottom; ++y)
        for (int x = 0; x < cr.right; ++x) {
            const uint32_t c = img.at(ox + x, oy + y);
            uint8_t* p = &out->rgb[(size_t(y) * cr.right + x) * 3];
            p[0] = uint8_t(c >> 16);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c);
        }
    return true;
}

int pixels_differing(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int n = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) ++n;
    return n;
}

// The client area once the window has painted it and it holds still.
bool painted_shot(HWND hwnd, Image* out) {
    Image whole;
    int ox, oy;
    bool settled = false;
    return capture_settled(hwnd, &whole, &ox, &oy, &settled) && settled && client_shot(hwnd, out);
}

// Polls the window's client area for up to 5 s until it differs from (or equals) ref.
bool wait_for_shot(HWND hwnd, const Image& ref, bool differ, Image* last) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (client_shot(hwnd, last)) {
            const int n = pixels_differing(ref, *last);
            if (differ ? n > 0 : n == 0) return true;
        }
        if (GetTickCount() - start > 5000) return false;
        Sleep(100);
    }
}

// Starts the program in a fresh folder over the fixed window's settings.
bool start_fixed(App& app, const char* name) {
    const std::string dir = fresh_dir(name);
    return write_file(settings_file_of(dir), kFixedWindow) && app_start(app, dir);
}

HWND open_font_dialog(const App& app) {
    PostMessageA(app.hwnd, WM_COMMAND, CMD_FONT, 0);
    return find_owned_dialog(app.hwnd, 5000);
}

}  // namespace

E2E_TEST(tray_left_click_shows_the_hidden_window) {
    App app;
    REQUIRE(app_start(app, fresh_dir("tray_left_click")));
    command(app.hwnd, CMD_HIDE_SHOW);
    REQUIRE(wait_until(is_hidden, app.hwnd));
    send_sync(app.hwnd, kTrayCallback, 12345, WM_LBUTTONDOWN);  // another icon: ignored
    send_sync(app.hwnd, kTrayCallback, kTrayIconId, WM_MOUSEMOVE);
    CHECK(!IsWindowVisible(app.hwnd));

    // The right button opens the menu over the hidden window, which stays hidden.
    PostMessageA(app.hwnd, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = find_popup_menu(app.pi.dwProcessId, 5000);
    CHECK(menu != nullptr);
    if (menu) {
        PostMessageA(app.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        CHECK(wait_until(is_hidden, menu));
    }
    CHECK(send_sync(app.hwnd, WM_NULL, 0, 0));
    CHECK(!IsWindowVisible(app.hwnd));

    send_sync(app.hwnd, kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    CHECK(wait_until(is_visible, app.hwnd));
    // The menu item reads "hide" again: the same command hides the window once more.
    command(app.hwnd, CMD_HIDE_SHOW);
    CHECK(wait_until(is_hidden, app.hwnd));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(title_bar_switch_twice_returns_to_the_same_rectangle) {
    App app;
    REQUIRE(start_fixed(app, "title_bar_switch"));
    const std::string dir = app.dir;
    RECT outer, client;
    GetWindowRect(app.hwnd, &outer);
    GetClientRect(app.hwnd, &client);

    command(app.hwnd, CMD_NO_TITLE_BAR);
    RECT r, c;
    GetWindowRect(app.hwnd, &r);
    GetClientRect(app.hwnd, &c);
    CHECK(EqualRect(&r, &outer));
    CHECK(c.bottom > client.bottom);  // caption and menu bar given to the client area
    CHECK((GetWindowLongA(app.hwnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION);
    CHECK(IsWindowVisible(app.hwnd));
    CHECK(value_of(settings_of(app), "titlebar") == "8");
    Image bare;
    CHECK(capture_window(app.hwnd, &bare));
    save_png(bare, g_work_dir + "title_bar_none.png");

    command(app.hwnd, CMD_NO_TITLE_BAR);
    GetWindowRect(app.hwnd, &r);
    GetClientRect(app.hwnd, &c);
    CHECK(EqualRect(&r, &outer));
    CHECK_EQ(int(c.bottom), int(client.bottom));  // as at the start, menu bar included
    CHECK((GetWindowLongA(app.hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
    CHECK(value_of(settings_of(app), "titlebar") == "0");

    command(app.hwnd, CMD_NO_TITLE_BAR);
    CHECK_EQ(app_close(app), 0);
    // Started again, the window has no title bar from the start, in the same place.
    App again;
    REQUIRE(app_start(again, dir));
    GetWindowRect(again.hwnd, &r);
    CHECK(EqualRect(&r, &outer));
    CHECK((GetWindowLongA(again.hwnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION);
    GetClientRect(again.hwnd, &c);
    CHECK(c.bottom > client.bottom);
    CHECK_EQ(app_close(again), 0);
}

E2E_TEST(font_dialog_previews_restores_and_stores) {
    App app;
    REQUIRE(start_fixed(app, "font_dialog"));
    Image before, shot;
    REQUIRE(painted_shot(app.hwnd, &before));
    save_png(before, g_work_dir + "font_before.png");

    HWND dlg = open_font_dialog(app);
    REQUIRE(dlg != nullptr);
    CHECK(window_text(dlg) == "Tavelspore - フォント設定");
    // The size controls are hidden; the face list starts at the face that is set.
    CHECK(!IsWindowVisible(GetDlgItem(dlg, IDC_FONT_SIZE)));
    CHECK(IsWindowVisible(GetDlgItem(dlg, IDC_FONT_FACE)));
    REQUIRE(select_face(dlg, L"DejaVu Serif"));
    CHECK(wait_for_shot(app.hwnd, before, true, &shot));  // the calendar previews it
    CHECK(IsWindow(dlg));
    save_png(shot, g_work_dir + "font_preview.png");
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, dlg));
    CHECK(wait_for_shot(app.hwnd, before, false, &shot));  // back to the font set before
    CHECK(value_of(settings_of(app), "fontname") == "<none>");  // nothing saved

    dlg = open_font_dialog(app);
    REQUIRE(dlg != nullptr);
    REQUIRE(select_face(dlg, L"DejaVu Serif"));
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(is_gone, dlg));
    CHECK(wait_for_shot(app.hwnd, before, true, &shot));
    CHECK(send_sync(app.hwnd, WM_NULL, 0, 0));  // the command has returned: saved by now
    const std::string file = settings_of(app);
    CHECK(value_of(file, "fontname") == "DejaVu Serif");
    CHECK(value_of(file, "weight") == "400");
    CHECK_EQ(app_close(app), 0);
}
