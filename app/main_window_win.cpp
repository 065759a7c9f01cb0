// The main window: class registration, creation, the window procedure and the handlers of
// creation, destruction and size.
#include "app/app_win.h"

#include <cstring>

#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/save_notice_win.h"
#include "app/title_bar_win.h"
#include "app/tray_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "schedule/storage.h"

const char kMainClassName[] = "TarseZelmar32Class";
const char kProgramTitle[] = "Tavelspore";

MainState main_state;

namespace {

HINSTANCE g_instance = nullptr;

// The minimised position: kept from the settings when `iconpos` asks for it, else taken
// from the system. Comes before placing, because SetWindowPlacement also applies the
// record's normal position, still the empty rectangle of the new window.
void init_placement(HWND hwnd) {
    WINDOWPLACEMENT& wp = main_state.placement;
    wp = WINDOWPLACEMENT{};
    wp.length = sizeof wp;
    GetWindowPlacement(hwnd, &wp);
    if (settings.iconpos == 8) {
        wp.flags |= WPF_SETMINPOSITION;
        wp.ptMinPosition.x = settings.ix;
        wp.ptMinPosition.y = settings.iy;
        SetWindowPlacement(hwnd, &wp);
    } else {
        settings.ix = wp.ptMinPosition.x;
        settings.iy = wp.ptMinPosition.y;
    }
}

void start_timer(HWND hwnd) {
    main_state.timer_running = SetTimer(hwnd, kMainTimer, 1000, nullptr) != 0;
    // The first tick (tray tip, alarm check) happens during creation.
    if (main_state.timer_running) SendMessageA(hwnd, WM_TIMER, 0, 0);
}

LRESULT on_create(HWND hwnd) {
    main_state = MainState{};
    main_state.hwnd = hwnd;
    main_state.taskbar_created_msg = RegisterWindowMessageA("TaskbarCreated");
    main_state.alarm_window = nullptr;
    init_placement(hwnd);
    main_state.startup_list_pending = settings.ToDoBoot != 0;
    main_state.clock_only_repaint = false;
    place_main_window(hwnd);
    get_today(&main_state.shown_year, &main_state.shown_month, nullptr);
    tick_memory_reset(&main_state.tick);
    main_state.popup_pending = false;
    menus_build();
    apply_z_order(hwnd);
    tray_add(hwnd);
    GetClientRect(hwnd, &main_state.clock_rect);
    main_state.clock_text_rect = main_state.clock_rect;
    main_state.pressed_arrow = 0;
    main_state.last_date_text[0] = '\0';
    for (CellRect& c : main_state.day_cells) c = {-1, -1, -1, -1};
    start_timer(hwnd);
    menus_attach(hwnd);
    return 0;
}

LRESULT on_destroy(HWND hwnd) {
    if (main_state.alarm_window) {
        DestroyWindow(main_state.alarm_window);
        main_state.alarm_window = nullptr;
    }
    tray_remove(hwnd);
    const bool saved = schedule_save();
    if (main_state.timer_running) KillTimer(hwnd, kMainTimer);
    main_state.timer_running = false;
    menus_destroy(hwnd);
    surface_destroy();
    // The window is going away: the notice has no owner.
    report_save_result(nullptr, saved);
    PostQuitMessage(0);
    return 0;
}

LRESULT on_size(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    surface_create(rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

LRESULT on_min_max_info(LPARAM lp) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
    mmi->ptMinTrackSize.x = 100;
    mmi->ptMinTrackSize.y = 100;
    return 0;
}

LRESULT on_display_change(HWND hwnd) {
    settings_load(screen_width(), screen_height());
    place_main_window(hwnd);
    return 0;
}

LRESULT on_command(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    main_state.popup_pending = false;
    if (main_command(hwnd, LOWORD(wp))) return 0;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT on_paint(HWND hwnd) {
    main_paint(hwnd);
    // The recent-schedules list opens once, after the first paint.
    if (main_state.startup_list_pending) {
        main_state.startup_list_pending = false;
        SendMessageA(hwnd, WM_COMMAND, CMD_RECENT, 0);
    }
    return 0;
}

LRESULT on_other(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != 0 && msg == main_state.taskbar_created_msg) tray_restore(hwnd);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK main_wndproc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return on_create(hwnd);
    case WM_DESTROY: return on_destroy(hwnd);
    case WM_SIZE: return on_size(hwnd);
    case WM_PAINT: return on_paint(hwnd);
    case WM_ERASEBKGND: return 0;
    case WM_GETMINMAXINFO: return on_min_max_info(lp);
    case WM_DISPLAYCHANGE: return on_display_change(hwnd);
    case WM_COMMAND: return on_command(hwnd, msg, wp, lp);
    case WM_TIMER: main_tick(hwnd); return 0;
    case WM_MOUSEMOVE: return on_mouse_move(hwnd, wp, lp);
    case WM_LBUTTONDOWN: return on_lbutton_down(hwnd, wp, lp);
    case WM_LBUTTONUP: return on_lbutton_up(hwnd, wp, lp);
    case WM_RBUTTONDOWN: return on_rbutton_down(hwnd, wp, lp);
    case WM_RBUTTONUP: return on_rbutton_up(hwnd, wp, lp);
    case kTrayCallback: return tray_callback(hwnd, wp, lp);
    default: return on_other(hwnd, msg, wp, lp);
    }
}

}  // namespace

HINSTANCE app_instance() { return g_instance; }

int screen_width() { return GetSystemMetrics(SM_CXSCREEN); }
int screen_height() { return GetSystemMetrics(SM_CYSCREEN); }

void repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

void place_main_window(HWND hwnd) {
    WindowPos p = place_window(&settings.x1, &settings.y1, settings.x2, settings.y2,
                               screen_width(), screen_height());
    MoveWindow(hwnd, p.x, p.y, p.width, p.height, TRUE);
}

void apply_z_order(HWND hwnd) {
    SetWindowPos(hwnd, settings.front == 8 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

bool main_window_register(HINSTANCE inst) {
    g_instance = inst;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = main_wndproc;
    wc.hInstance = inst;
    wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(IDI_ZELMAR));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kMainClassName;
    return RegisterClassA(&wc) != 0;
}

HWND main_window_create(HINSTANCE inst, int show) {
    HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, kMainClassName, kProgramTitle,
                                main_window_style(settings.titlebar), 0, 0, 0, 0, nullptr, nullptr,
                                inst, nullptr);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    return hwnd;
}

int message_loop() {
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
