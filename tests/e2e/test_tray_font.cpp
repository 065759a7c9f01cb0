// The real program's notification-area callback, title-bar switch and font dialog, driven by
// window messages: a hidden window comes back by a left click on its icon, the frame switch
// keeps the outer rectangle, and the font dialog previews each face on the calendar while it
// is open, restores the previous one on cancel and stores the choice on OK.
#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/harness.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;
constexpr WPARAM kTrayIconId = 31049;

bool is_visible(HWND h) { return IsWindowVisible(h) != 0; }
bool is_hidden(HWND h) { return IsWindowVisible(h) == 0; }
bool is_gone(HWND h) { return IsWindow(h) == 0; }

void command(HWND hwnd, int id) { send_sync(hwnd, WM_COMMAND, id, 0); }

std::string settings_of(const App& app) {
    std::string bytes;
    read_file(settings_file_of(app.dir), &bytes);
    return bytes;
}

std::string value_of(const std::string& file, const std::string& key) {
    const size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size() + 3;
    return file.substr(from, file.find("\r\n", from) - from);
}

// The text of the popup menu item with this command, read through the menu window the
// program shows (the right click on the icon opens it); "" when there is no such item.
std::string popup_item_text(const App& app, UINT id) {
    PostMessageA(app.hwnd, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu_window = find_popup_menu(app.pi.dwProcessId, 5000);
    if (!menu_window) return "<no menu>";
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, 0x01E1 /* MN_GETHMENU */, 0, 0));
    char text[128] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    PostMessageA(app.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    wait_until(is_hidden, menu_window);
    return text;
}

}  // namespace

E2E_TEST(tray_left_click_shows_the_hidden_window) {
    App app;
    REQUIRE(app_start(app, fresh_dir("tray_left_click")));
    command(app.hwnd, CMD_HIDE_SHOW);
    REQUIRE(wait_until(is_hidden, app.hwnd));
    std::printf("  popup text hidden: %s\n", popup_item_text(app, CMD_HIDE_SHOW).c_str());
    send_sync(app.hwnd, kTrayCallback, 12345, WM_LBUTTONDOWN);  // another icon: ignored
    CHECK(!IsWindowVisible(app.hwnd));
    send_sync(app.hwnd, kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    CHECK(wait_until(is_visible, app.hwnd));
    std::printf("  popup text shown: %s\n", popup_item_text(app, CMD_HIDE_SHOW).c_str());
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(font_dialog_explore) {
    App app;
    REQUIRE(app_start(app, fresh_dir("font_explore")));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_FONT, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    std::printf("  caption: %s\n", window_text(dlg).c_str());
    HWND faces = GetDlgItem(dlg, IDC_FONT_FACE);
    REQUIRE(faces != nullptr);
    const int n = int(SendMessageA(faces, CB_GETCOUNT, 0, 0));
    const int sel = int(SendMessageA(faces, CB_GETCURSEL, 0, 0));
    std::printf("  faces %d, selected %d\n", n, sel);
    for (int i = 0; i < n; ++i) {
        WCHAR w[128] = L"";
        SendMessageW(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(w));
        char t[256] = "";
        WideCharToMultiByte(932, 0, w, -1, t, sizeof t, nullptr, nullptr);
        std::printf("   %d %s\n", i, t);
    }
    Image img;
    Sleep(500);
    capture_window(dlg, &img);
    save_png(img, g_work_dir + "font_dialog.png");
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    CHECK(wait_until(is_gone, dlg));
    std::printf("  fontname=%s\n", value_of(settings_of(app), "fontname").c_str());
    CHECK_EQ(app_close(app), 0);
}

