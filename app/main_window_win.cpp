// The main window: class registration, creation, the window procedure and the handlers of
// creation, destruction and size.
#include "app/app_win.h"

#include <cstring>
#include <new>

#include "app/background_choice.h"
#include "app/feeds_win.h"
#include "app/halo_mask_win.h"
#include "app/main_state_win.h"
#include "app/main_window_internal_win.h"
#include "app/month_accessible_win.h"
#include "app/month_colours_win.h"
#include "app/sync_run_win.h"
#include "app/save_notice_win.h"
#include "app/title_bar_win.h"
#include "app/tray_win.h"
#include "app/view_text_win.h"
#include "calendar/date.h"
#include "config/settings.h"
#include "config/system_dlls_win.h"
#include "image/background_win.h"
#include "image/surface_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/alarm_mark.h"
#include "schedule/storage.h"

const char kMainClassName[] = "TarseZelmar32Class";

MainState main_state;

namespace {

HINSTANCE g_instance = nullptr;

// The minimised position: kept from the settings when `iconpos` asks for it, else taken
// from the system. Comes before placing, because SetWindowPlacement also applies the
// record's normal position, still the empty rectangle of the new window.
void init_placement(MainState& s, HWND hwnd) {
    Settings& settings = *s.settings;
    WINDOWPLACEMENT& wp = s.placement;
    GetWindowPlacement(hwnd, &wp);
    if (keeps_icon_position(settings)) {
        wp.flags |= WPF_SETMINPOSITION;
        wp.ptMinPosition.x = settings.ix;
        wp.ptMinPosition.y = settings.iy;
        SetWindowPlacement(hwnd, &wp);
    } else {
        settings.ix = wp.ptMinPosition.x;
        settings.iy = wp.ptMinPosition.y;
    }
}

// Without a paint (a window started minimised) the icon still comes, a second later.
constexpr UINT kTrayWithoutPaintMs = 1000;

void start_timer(MainState& s, HWND hwnd) {
    s.timer_running = SetTimer(hwnd, kMainTimer, 1000, nullptr) != 0;
    // The first tick (tray tip, alarm check) happens during creation.
    if (s.timer_running) SendMessageA(hwnd, WM_TIMER, 0, 0);
}

// The record starts as a new window's state, on the records handed over; only what comes
// from the window, the settings and the date is set here. Without records there is no
// window.
LRESULT on_create(MainState& s, HWND hwnd, LPARAM lp) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
    const auto* records = cs ? static_cast<const MainRecords*>(cs->lpCreateParams) : nullptr;
    if (!records || !records->settings || !records->schedule) return -1;
    s = MainState{};
    s.hwnd = hwnd;
    s.settings = records->settings;
    s.schedule = records->schedule;
    // The alarms are checked on from where the previous run stopped.
    s.tick.last_checked = alarm_mark_parse(s.settings->AlarmChecked);
    s.alarm.snooze = AlarmSnooze{snooze_alarms, &s};
    // Without a player the alarms and the ♪ button beep instead.
    s.sound.reset(new (std::nothrow) SoundPlayer());
    s.alarm.sound = s.sound.get();
    s.taskbar_created_msg = RegisterWindowMessageA("TaskbarCreated");
    init_placement(s, hwnd);
    s.startup_list_pending = s.settings->ToDoBoot != 0;
    s.dpi = window_dpi(hwnd);
    s.high_contrast = high_contrast_on();
    place_main_window(s, hwnd);
    get_today(&s.cursor.year, &s.cursor.month, &s.cursor.day);
    s.view.shown_year = s.cursor.year;
    s.view.shown_month = s.cursor.month;
    sync_create(s);  // without its record the program runs without sync
    menus_build(s);
    apply_z_order(s, hwnd);
    // The shell is loaded for the tray icon right after the first paint, not before it.
    SetTimer(hwnd, kTrayTimer, kTrayWithoutPaintMs, nullptr);
    start_timer(s, hwnd);
    // The frame and the menu bar of the stored `titlebar`, and a client area computed with
    // the menu bar in it.
    apply_title_bar(s, hwnd);
    // Decoding a photo takes longer than all the rest of the start: the window shows without
    // it and the picture follows. A missing image stays silent: the window simply shows none.
    load_background_later(hwnd, kBackgroundLoaded, background_choice_of(*s.settings));
    // The subscribed calendars' last good copies, read beside the start.
    feeds_open(s, hwnd);
    return 0;
}

LRESULT on_background_loaded(MainState& s, HWND hwnd, WPARAM generation) {
    if (background_arrived(generation)) repaint(s, hwnd, ViewEvent::kBackgroundReloaded);
    return 0;
}

// Settings, schedule and the alarm mark, in one write of the file.
bool save_everything(MainState& s) {
    note_alarm_mark(s);
    return schedule_save(*s.settings, s.schedule);
}

// Windows ends the session without destroying the window: what WM_DESTROY would save is
// saved now, once. Entries added in a schedule dialog still open are in the list already
// (the dialog edits it in place). No notice: none can be shown now.
LRESULT on_end_session(MainState& s, WPARAM ending) {
    if (!ending || s.session_ended) return 0;
    s.session_ended = true;
    save_everything(s);
    return 0;
}

LRESULT on_destroy(MainState& s, HWND hwnd) {
    month_accessible_release(&s.accessible);
    sync_destroy(s, hwnd);
    close_alarm_window(&s.alarm);
    s.alarm.sound = nullptr;
    s.sound.reset();
    tray_remove(hwnd);
    feeds_close(s, hwnd);
    const bool saved = s.session_ended || save_everything(s);
    if (s.timer_running) KillTimer(hwnd, kMainTimer);
    KillTimer(hwnd, kTrayTimer);
    s.timer_running = false;
    menus_destroy(s, hwnd);
    surface_destroy();
    view_fonts_release();
    s.text_pictures.drop();
    halo_mask_release();
    background_release();
    // The window is going away: the notice has no owner, and it is the last chance to say
    // that the changes are lost, even when an earlier failure was told.
    report_save_result(nullptr, saved, SaveNotice::kAlways);
    PostQuitMessage(0);
    return 0;
}

// A new size makes a new surface; a minimised window keeps its picture, and one restored to
// the size it had only copies it again.
LRESULT on_size(MainState& s, HWND hwnd, WPARAM wp) {
    if (wp == SIZE_MINIMIZED) {
        s.recompose.mark(ViewEvent::kMinimized);
        return 0;
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (!match_surface(s, rc.right - rc.left, rc.bottom - rc.top, ViewEvent::kResized))
        s.recompose.mark(ViewEvent::kRestored);
    return 0;
}

LRESULT on_min_max_info(LPARAM lp) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
    mmi->ptMinTrackSize.x = 100;
    mmi->ptMinTrackSize.y = 100;
    return 0;
}

LRESULT on_display_change(MainState& s, HWND hwnd) {
    settings_load(s.settings, screen_width(), screen_height(), s.dpi);
    s.recompose.mark(ViewEvent::kDisplayChanged);
    place_main_window(s, hwnd);
    return 0;
}

// A drag of the frame: the image is scaled roughly while it lasts, properly once it ends.
LRESULT on_enter_size_move() {
    background_begin_sizing();
    return 0;
}

LRESULT on_exit_size_move(MainState& s, HWND hwnd) {
    if (background_end_sizing()) repaint(s, hwnd, ViewEvent::kSizeSettled);
    return 0;
}

// A new scheme: its colours, and whether it is a high-contrast one.
LRESULT on_sys_color_change(MainState& s, HWND hwnd) {
    s.high_contrast = high_contrast_on();
    repaint(s, hwnd, ViewEvent::kSysColorsChanged);
    return 0;
}

// Text written before a change of font smoothing no longer looks as text written now: the
// month's text pictures go and every text is written anew. High contrast switched on or off
// brings the scheme's colours and the shapes.
LRESULT on_setting_change(MainState& s, HWND hwnd, WPARAM what) {
    switch (what) {
    case SPI_SETHIGHCONTRAST:
        s.high_contrast = high_contrast_on();
        repaint(s, hwnd, ViewEvent::kSysColorsChanged);
        break;
    case SPI_SETFONTSMOOTHING:
    case SPI_SETFONTSMOOTHINGTYPE:
    case SPI_SETFONTSMOOTHINGCONTRAST:
    case SPI_SETFONTSMOOTHINGORIENTATION:
        s.text_pictures.drop();
        repaint(s, hwnd, ViewEvent::kTextRenderingChanged);
        break;
    default:
        break;
    }
    return 0;
}

// The window went to a screen of another DPI (or the DPI changed): the place the system
// suggests, which scales the month with it; the month buttons' bounds and the tray icon
// follow the new DPI.
LRESULT on_dpi_changed(MainState& s, HWND hwnd, WPARAM wp, LPARAM lp) {
    s.dpi = HIWORD(wp) ? HIWORD(wp) : kBaseDpi;
    if (const RECT* r = reinterpret_cast<const RECT*>(lp))
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    tray_change_icon(hwnd, s.dpi);
    repaint(s, hwnd, ViewEvent::kDisplayChanged);
    return 0;
}

LRESULT on_timer(MainState& s, HWND hwnd, WPARAM id) {
    if (id == kTrayTimer) {
        KillTimer(hwnd, kTrayTimer);
        const bool first = s.tray_pending;
        if (s.tray_pending) tray_add(hwnd);
        s.tray_pending = false;
        // The window is on the screen: the calendar sync may begin, and the feeds are
        // fetched now and every hour.
        if (first) sync_window_shown(s, hwnd);
        feeds_start(s, hwnd);
        return 0;
    }
    if (id == kFeedTimer) {
        feeds_refresh(s, hwnd);
        return 0;
    }
    if (on_sync_timer(s, hwnd, id)) return 0;
    main_tick(s, hwnd);
    return 0;
}

LRESULT on_command(MainState& s, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    s.popup_pending = false;
    if (main_command(s, hwnd, LOWORD(wp))) return 0;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT on_paint(MainState& s, HWND hwnd) {
    main_paint(s, hwnd);
    // The tray icon as soon as the first paint is on the screen: the timer fires once the
    // program waits for input.
    if (s.tray_pending) SetTimer(hwnd, kTrayTimer, USER_TIMER_MINIMUM, nullptr);
    // The recent-schedules list opens once, after the first paint.
    if (s.startup_list_pending) {
        s.startup_list_pending = false;
        SendMessageA(hwnd, WM_COMMAND, CMD_RECENT, 0);
    }
    return 0;
}

LRESULT on_other(const MainState& s, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != 0 && msg == s.taskbar_created_msg) tray_restore(hwnd, *s.settings);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK main_wndproc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    MainState& s = main_state;
    // Before the first creation there are no records: only what needs none is handled.
    if (!s.settings && msg != WM_CREATE && msg != WM_GETMINMAXINFO)
        return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_CREATE: return on_create(s, hwnd, lp);
    case WM_DESTROY: return on_destroy(s, hwnd);
    case WM_SIZE: return on_size(s, hwnd, wp);
    case WM_PAINT: return on_paint(s, hwnd);
    case WM_ERASEBKGND: return 0;
    case WM_GETMINMAXINFO: return on_min_max_info(lp);
    case WM_DISPLAYCHANGE: return on_display_change(s, hwnd);
    case WM_SYSCOLORCHANGE: return on_sys_color_change(s, hwnd);
    case WM_SETTINGCHANGE: return on_setting_change(s, hwnd, wp);
    case WM_ENTERSIZEMOVE: return on_enter_size_move();
    case WM_EXITSIZEMOVE: return on_exit_size_move(s, hwnd);
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: return on_end_session(s, wp);
    case WM_COMMAND: return on_command(s, hwnd, msg, wp, lp);
    case WM_TIMER: return on_timer(s, hwnd, wp);
    case WM_MOUSEMOVE: return on_mouse_move(s, hwnd, wp, lp);
    case WM_LBUTTONDOWN: return on_lbutton_down(s, hwnd, wp, lp);
    case WM_LBUTTONUP: return on_lbutton_up(s, hwnd, wp, lp);
    case WM_RBUTTONDOWN: return on_rbutton_down(s, hwnd, wp, lp);
    case WM_RBUTTONUP: return on_rbutton_up(s, hwnd, wp, lp);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return on_key_down(s, hwnd, msg, wp, lp);
    case WM_CONTEXTMENU: return on_context_menu(s, hwnd, wp, lp);
    case WM_MOUSEWHEEL: return on_mouse_wheel(s, hwnd, wp);
    case WM_SETFOCUS: return on_focus_change(s, hwnd, true);
    case WM_KILLFOCUS: return on_focus_change(s, hwnd, false);
    case WM_UPDATEUISTATE: return on_update_ui_state(s, hwnd, wp, lp);
    case WM_GETOBJECT: return on_get_object(s, hwnd, wp, lp);
    case kAccessActionMessage: return on_access_action(s, hwnd, wp, lp);
    case WM_DPICHANGED: return on_dpi_changed(s, hwnd, wp, lp);
    case kTrayCallback: return tray_callback(s, hwnd, wp, lp);
    case kBackgroundLoaded: return on_background_loaded(s, hwnd, wp);
    case kAlarmsHeldBack: return on_alarms_held_back(s, hwnd);
    case kSyncDone: return on_sync_done(s, hwnd, lp);
    case kFeedsDone: return on_feeds_done(s, hwnd, lp);
    default: return on_other(s, hwnd, msg, wp, lp);
    }
}

}  // namespace

HINSTANCE app_instance() { return g_instance; }

int system_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int window_dpi(HWND hwnd) {
    if (const UINT dpi = sys_get_dpi_for_window(hwnd)) return static_cast<int>(dpi);
    return system_dpi();
}

int screen_width() { return GetSystemMetrics(SM_CXSCREEN); }
int screen_height() { return GetSystemMetrics(SM_CYSCREEN); }

void place_main_window(const MainState& s, HWND hwnd) {
    Settings& settings = *s.settings;
    WindowPos p = place_window(&settings.x1, &settings.y1, settings.x2, settings.y2,
                               screen_width(), screen_height());
    MoveWindow(hwnd, p.x, p.y, p.width, p.height, TRUE);
}

void apply_z_order(const MainState& s, HWND hwnd) {
    SetWindowPos(hwnd, always_on_top(*s.settings) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
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

HWND main_window_create(HINSTANCE inst, int show, const MainRecords& records) {
    if (!records.settings || !records.schedule) return nullptr;
    MainRecords handed = records;
    HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, kMainClassName, kProgramName,
                                main_window_style(records.settings->titlebar), 0, 0, 0, 0, nullptr,
                                nullptr, inst, &handed);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    return hwnd;
}

int message_loop() {
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The modeless alarm window gets its keyboard (Tab, Enter, Esc) like a dialog.
        HWND alarm = main_state.alarm.hwnd;
        if (alarm && IsDialogMessageA(alarm, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
