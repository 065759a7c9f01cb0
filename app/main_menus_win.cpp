// The menus: a menu bar with one "設定(&S)" entry whose drop-down is the main menu
// (IDM_MAIN), the same menu as the right-button popup, its check marks and the state of a hidden window.
#include "app/app_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/sync_run_win.h"
#include "config/settings.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

// The "設定(&S)" submenu sits at position 1 of the main menu.
constexpr UINT kSettingsSubmenuPos = 1;

// The switches of the Japanese calendar go right after "タイトルバーなし(&N)", in this order,
// then the shapes' switch; their texts live with the names they show.
struct CalendarSwitchItem {
    UINT command;
    const char* text;
};
constexpr CalendarSwitchItem kCalendarSwitchItems[] = {
    {CMD_NATIONAL_HOLIDAYS, kMenuNationalHolidays},
    {CMD_ROKUYO, kMenuRokuyo},
    {CMD_KYUREKI, kMenuKyureki},
    {CMD_WAREKI, kMenuWareki},
    {CMD_DAY_SHAPES, kMenuDayShapes},
};

void add_calendar_switch_items(HMENU menu) {
    HMENU sub = GetSubMenu(menu, kSettingsSubmenuPos);
    const int n = sub ? GetMenuItemCount(sub) : -1;
    for (int i = 0; i < n; ++i)
        if (GetMenuItemID(sub, i) == CMD_NO_TITLE_BAR) {
            UINT at = static_cast<UINT>(i) + 1;
            for (const CalendarSwitchItem& item : kCalendarSwitchItems)
                InsertMenuA(sub, at++, MF_BYPOSITION | MF_STRING, item.command, item.text);
            return;
        }
}

// Export and import go after "詳細設定(&C)...", below a separator of their own.
void add_ical_items(HMENU menu) {
    HMENU sub = GetSubMenu(menu, kSettingsSubmenuPos);
    const int n = sub ? GetMenuItemCount(sub) : -1;
    for (int i = 0; i < n; ++i)
        if (GetMenuItemID(sub, i) == CMD_DETAILED_SETTINGS) {
            InsertMenuA(sub, i + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            InsertMenuA(sub, i + 2, MF_BYPOSITION | MF_STRING, CMD_ICS_EXPORT, kMenuIcalExport);
            InsertMenuA(sub, i + 3, MF_BYPOSITION | MF_STRING, CMD_ICS_IMPORT, kMenuIcalImport);
            InsertMenuA(sub, i + 4, MF_BYPOSITION | MF_STRING, CMD_SUBSCRIPTIONS, kMenuSubscriptions);
            return;
        }
}

}  // namespace

void menus_build(MainState& s) {
    s.menu_bar.reset(CreateMenu());
    s.main_menu.reset(LoadMenuA(app_instance(), MAKEINTRESOURCEA(IDM_MAIN)));
    HMENU menu = s.main_menu.get();
    if (!menu) return;
    add_calendar_switch_items(menu);
    add_ical_items(menu);
    sync_add_menu_items(menu);
    sync_show_menu_state(s);
    menus_show_checks(s);
    if (s.menu_bar)
        AppendMenuA(s.menu_bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                    kMenuSettings);
}

void menus_show_checks(const MainState& s) {
    HMENU menu = s.main_menu.get();
    if (!menu) return;
    // Only the check bit: a stray value in the settings file must not grey the item.
    for (size_t i = 0; i < kMenuSwitchCount; ++i) {
        const MenuSwitch& m = kMenuSwitches[i];
        const SettingKey* k = setting_key_at(m.field);
        const bool on = k && switched_on(*s.settings, *k);
        CheckMenuItem(menu, m.command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    }
}

void menus_attach(const MainState& s, HWND hwnd) {
    SetMenu(hwnd, title_bar_hidden(*s.settings) ? nullptr : s.menu_bar.get());
    DrawMenuBar(hwnd);
}

void menus_destroy(MainState& s, HWND hwnd) {
    // Detach first: the window would otherwise destroy its menu bar a second time, and the
    // bar would take the main menu with it.
    if (GetMenu(hwnd)) SetMenu(hwnd, nullptr);
    if (s.menu_bar && s.main_menu) RemoveMenu(s.menu_bar.get(), 0, MF_BYPOSITION);
    s.menu_bar.reset();
    s.main_menu.reset();
}

void menus_show_hidden_state(const MainState& s, bool hidden) {
    HMENU menu = s.main_menu.get();
    if (!menu) return;
    ModifyMenuA(menu, CMD_HIDE_SHOW, MF_BYCOMMAND | MF_STRING, CMD_HIDE_SHOW,
                hidden ? kMenuShow : kMenuHide);
    const UINT state = hidden ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu, kSettingsSubmenuPos, MF_BYPOSITION | state);
    EnableMenuItem(menu, CMD_RESET_MONTH, MF_BYCOMMAND | state);
    EnableMenuItem(menu, CMD_RESTORE_POSITION, MF_BYCOMMAND | state);
    EnableMenuItem(menu, CMD_SAVE_POSITION, MF_BYCOMMAND | state);
}

void show_main_popup(MainState& s, HWND hwnd, POINT screen_pt) {
    // Cleared by the command a choice sends; left set when the menu is dismissed.
    s.popup_pending = true;
    if (s.main_menu)
        TrackPopupMenu(s.main_menu.get(), 0, screen_pt.x, screen_pt.y, 0, hwnd, nullptr);
}
