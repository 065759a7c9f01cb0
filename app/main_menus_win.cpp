// The menus: a menu bar with one "設定(&S)" entry whose drop-down is menu 210, the same
// menu as the right-button popup, its check marks and the state of a hidden window.
#include "app/app_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "config/settings.h"
#include "resources/resource.h"

namespace {

const char kSettingsMenuText[] = "設定(&S)";
const char kShowText[] = "表示(&D)";
const char kHideText[] = "非表示(&D)";

// The "設定(&S)" submenu sits at position 1 of menu 210.
constexpr UINT kSettingsSubmenuPos = 1;

}  // namespace

void menus_build() {
    main_state.menu_bar = CreateMenu();
    main_state.main_menu = LoadMenuA(app_instance(), MAKEINTRESOURCEA(IDM_MAIN));
    main_state.window_visible = true;
    HMENU menu = main_state.main_menu;
    if (!menu) return;
    menus_show_checks();
    if (main_state.menu_bar)
        AppendMenuA(main_state.menu_bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                    kSettingsMenuText);
}

void menus_show_checks() {
    HMENU menu = main_state.main_menu;
    if (!menu) return;
    // Only the check bit: a stray value in the settings file must not grey the item.
    CheckMenuItem(menu, CMD_ALWAYS_ON_TOP,
                  MF_BYCOMMAND | (settings.front == 8 ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CMD_NO_TITLE_BAR,
                  MF_BYCOMMAND | (settings.titlebar != 0 ? MF_CHECKED : MF_UNCHECKED));
}

void menus_attach(HWND hwnd) {
    SetMenu(hwnd, settings.titlebar == 0 ? main_state.menu_bar : nullptr);
    DrawMenuBar(hwnd);
}

void menus_destroy(HWND hwnd) {
    // Detach first: the window would otherwise destroy its menu bar a second time, and the
    // bar would take menu 210 with it.
    if (GetMenu(hwnd)) SetMenu(hwnd, nullptr);
    if (main_state.menu_bar) {
        if (main_state.main_menu) RemoveMenu(main_state.menu_bar, 0, MF_BYPOSITION);
        DestroyMenu(main_state.menu_bar);
    }
    if (main_state.main_menu) DestroyMenu(main_state.main_menu);
    main_state.menu_bar = nullptr;
    main_state.main_menu = nullptr;
}

void menus_show_hidden_state(bool hidden) {
    HMENU menu = main_state.main_menu;
    if (!menu) return;
    ModifyMenuA(menu, CMD_HIDE_SHOW, MF_BYCOMMAND | MF_STRING, CMD_HIDE_SHOW,
                hidden ? kShowText : kHideText);
    const UINT state = hidden ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu, kSettingsSubmenuPos, MF_BYPOSITION | state);
    EnableMenuItem(menu, CMD_RESET_MONTH, MF_BYCOMMAND | state);
    EnableMenuItem(menu, CMD_RESTORE_POSITION, MF_BYCOMMAND | state);
    EnableMenuItem(menu, CMD_SAVE_POSITION, MF_BYCOMMAND | state);
}

void show_main_popup(HWND hwnd, POINT screen_pt) {
    // Cleared by the command a choice sends; left set when the menu is dismissed.
    main_state.popup_pending = true;
    if (main_state.main_menu)
        TrackPopupMenu(main_state.main_menu, 0, screen_pt.x, screen_pt.y, 0, hwnd, nullptr);
}
