#include "dialogs/alarm_window_win.h"

#include <memory>
#include <new>

#include "dialogs/alarm_layout.h"
#include "schedule/alarm_text.h"
#include "schedule/entry.h"
#include "schedule/sound_win.h"

namespace {

// Room for every block of a full list (a block stays well under this), and the count line.
constexpr size_t kBlockRoom = 256;
// The controls below the text, in the order of AlarmTemplateSize::button.
const int kButtons[3] = {IDCANCEL, IDC_ALARM_SNOOZE, IDC_ALARM_STOP_SOUND};

// Marks the alarm window for the key filter below.
constexpr char kKeysProp[] = "ZelmarAlarmKeys";

HWND button(HWND hwnd) { return GetDlgItem(hwnd, IDC_ALARM_STOP_SOUND); }

// While a modal dialog runs its own loop (a dialog of the program, a common dialog, a message
// box), that loop hands keys only to its own dialog, so Enter on the alarm window's 閉じる
// would do nothing. The loop lets a message filter see every message first: keys meant for
// the alarm window go to its dialog manager there. The dialog manager calls the filter
// itself, so the filter must not run again inside its own call (a hook has no record of its
// own to keep that in).
LRESULT CALLBACK alarm_keys_filter(int code, WPARAM wp, LPARAM lp) {
    static bool inside = false;
    MSG* m = reinterpret_cast<MSG*>(lp);
    if (!inside && code == MSGF_DIALOGBOX && m && m->hwnd && m->message >= WM_KEYFIRST &&
        m->message <= WM_KEYLAST) {
        HWND root = GetAncestor(m->hwnd, GA_ROOT);
        if (root && GetPropA(root, kKeysProp)) {
            inside = true;
            const BOOL handled = IsDialogMessageA(root, m);
            inside = false;
            if (handled) return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Without the filter the window still works; only keys inside another dialog's loop are lost.
void filter_keys(HWND dlg, AlarmWindow& w) {
    if (!SetPropA(dlg, kKeysProp, reinterpret_cast<HANDLE>(1))) return;
    w.key_filter = SetWindowsHookExA(WH_MSGFILTER, alarm_keys_filter, nullptr, GetCurrentThreadId());
}

void stop_filtering_keys(HWND dlg, AlarmWindow& w) {
    if (w.key_filter) UnhookWindowsHookEx(w.key_filter);
    w.key_filter = nullptr;
    RemovePropA(dlg, kKeysProp);
}

bool sound_playing(const AlarmWindow& w) { return w.sound && w.sound->playing(); }

void stop_sound_of(HWND hwnd, const AlarmWindow& w) {
    if (sound_playing(w)) SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

RECT rect_in(HWND dlg, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void read_template_size(HWND dlg, AlarmTemplateSize* s) {
    RECT w = {};
    GetWindowRect(dlg, &w);
    s->window_w = w.right - w.left;
    s->window_h = w.bottom - w.top;
    const RECT e = rect_in(dlg, GetDlgItem(dlg, IDC_ALARM_TEXT));
    s->edit_w = e.right - e.left;
    s->edit_h = e.bottom - e.top;
    for (int k = 0; k < 3; ++k) {
        const RECT b = rect_in(dlg, GetDlgItem(dlg, kButtons[k]));
        s->button[k] = {b.left, b.top};
    }
}

int line_height(HWND edit) {
    HDC dc = GetDC(edit);
    if (!dc) return 16;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm = {};
    const bool ok = GetTextMetricsA(dc, &tm) != 0;
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return ok && tm.tmHeight > 0 ? tm.tmHeight : 16;
}

ScreenRect work_area() {
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right, r.bottom};
}

// The text control with or without a vertical scroll bar. An edit control takes its scroll
// bar style only when it is made, so a change makes a new control in the old one's place.
HWND text_control(HWND dlg, bool scrolls) {
    HWND old = GetDlgItem(dlg, IDC_ALARM_TEXT);
    const LONG style = GetWindowLongA(old, GWL_STYLE);
    if (((style & WS_VSCROLL) != 0) == scrolls) return old;
    const RECT r = rect_in(dlg, old);
    HWND made = CreateWindowExA(GetWindowLongA(old, GWL_EXSTYLE), "EDIT", "",
                                scrolls ? (style | WS_VSCROLL) : (style & ~WS_VSCROLL), r.left,
                                r.top, r.right - r.left, r.bottom - r.top, dlg,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ALARM_TEXT)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!made) return old;  // the text is still shown, without the bar
    SendMessageA(made, WM_SETFONT, SendMessageA(old, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(old);
    return made;
}

// Sizes and places the window and its controls for a text of this many lines; returns
// whether the text scrolls.
bool lay_out(HWND dlg, const AlarmWindow& w, int lines) {
    const AlarmTemplateSize& t = w.size;
    AlarmLayoutInput in = {};
    in.lines = lines;
    in.line_height = line_height(GetDlgItem(dlg, IDC_ALARM_TEXT));
    in.edit_height = t.edit_h;
    in.window_width = t.window_w;
    in.window_height = t.window_h;
    in.work = work_area();
    in.screen_w = GetSystemMetrics(SM_CXSCREEN);
    in.screen_h = GetSystemMetrics(SM_CYSCREEN);
    const AlarmLayout l = alarm_window_layout(in);
    HWND edit = text_control(dlg, l.scrolls);
    SetWindowPos(edit, nullptr, 0, 0, t.edit_w, t.edit_h + l.grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int k = 0; k < 3; ++k)
        SetWindowPos(GetDlgItem(dlg, kButtons[k]), nullptr, t.button[k].x, t.button[k].y + l.grow,
                     0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dlg, nullptr, l.x, l.y, t.window_w, l.window_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return l.scrolls;
}

void show_text(HWND hwnd, const AlarmWindow& w) {
    const AlarmBatch& b = *w.shown;
    const size_t size = static_cast<size_t>(b.count + 1) * kBlockRoom + 1;
    std::unique_ptr<char[]> text(new (std::nothrow) char[size]);
    if (!text) return;
    format_alarm_batch(text.get(), size, &b, w.twelve_hour, w.mark_after);
    // Too many to see at once: the count comes first, above the scrolling blocks.
    if (lay_out(hwnd, w, text_line_count(text.get())))
        format_alarm_batch(text.get(), size, &b, w.twelve_hour, w.mark_after, true);
    HWND edit = GetDlgItem(hwnd, IDC_ALARM_TEXT);
    SetWindowTextA(edit, text.get());
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
}

// The player polls the sound itself and says when it has stopped (CMD_SOUND_STOPPED).
void sound_file_alarm(HWND hwnd, AlarmWindow& w, const ScheduleEntry* e) {
    ShowWindow(button(hwnd), SW_SHOWNORMAL);
    EnableWindow(button(hwnd), TRUE);
    if (sound_playing(w)) w.sound->stop();
    if (!w.sound || !w.sound->start_file(hwnd, e->sound_file)) MessageBeep(MB_ICONASTERISK);
}

void sound_alarm(HWND hwnd, AlarmWindow& w, const ScheduleEntry* lead) {
    switch (alarm_kind_of(*lead)) {
    case AlarmKind::kWindow:
        ShowWindow(button(hwnd), SW_HIDE);
        break;
    case AlarmKind::kSystemSound:
        ShowWindow(button(hwnd), SW_HIDE);
        MessageBeep(MB_ICONASTERISK);
        break;
    case AlarmKind::kSoundFile:
        sound_file_alarm(hwnd, w, lead);
        break;
    default:
        break;  // the button keeps its state
    }
}

// The alarms a CMD_SHOW_ALARM stands for: the ones handed over with it, or its index alone.
std::unique_ptr<AlarmBatch> take_pending(AlarmWindow& w, int index, bool* joins) {
    std::unique_ptr<AlarmBatch> b = std::move(w.pending);
    *joins = w.pending_joins;
    w.pending_joins = false;
    if (b && b->count > 0 && b->item[0].index == index) return b;
    *joins = false;
    if (!b) b.reset(new (std::nothrow) AlarmBatch);
    if (b) {
        b->count = 0;
        if (w.list) alarm_batch_make(b.get(), *w.list, &index, 1);
    }
    return b;
}

// Puts b on show (replacing or joining); returns the position of the first alarm new on
// show, or -1 when nothing changes.
int put_on_show(AlarmWindow& w, std::unique_ptr<AlarmBatch> b, bool joins) {
    if (!b || b->count == 0) return -1;
    if (joins && w.shown && w.shown->count > 0) {
        const int first = w.shown->count;
        return alarm_batch_add(w.shown.get(), b.get()) > 0 ? first : -1;
    }
    if (w.shown && alarm_batch_same(b.get(), w.shown.get())) return -1;
    w.shown = std::move(b);
    return 0;
}

// Comes to the front over whatever program the user is in. A system that refuses the focus
// to a program waiting in the background leaves the window on top without it: its taskbar
// button then flashes until the user turns to it. In front, the frame is drawn active: a
// window that is its program's active one already is not always told so again (Wine), and
// would keep the grey caption it took when another program came forward.
void come_to_front(HWND hwnd) {
    SetForegroundWindow(hwnd);
    if (GetForegroundWindow() == hwnd) {
        SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
        return;
    }
    FLASHWINFO flash = {};
    flash.cbSize = sizeof flash;
    flash.hwnd = hwnd;
    flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
    FlashWindowEx(&flash);
}

void on_show(HWND hwnd, AlarmWindow& w, int index) {
    bool joins = false;
    std::unique_ptr<AlarmBatch> b = take_pending(w, index, &joins);
    const int first = put_on_show(w, std::move(b), joins);
    if (first < 0) return;
    stop_sound_of(hwnd, w);
    show_text(hwnd, w);
    sound_alarm(hwnd, w, &w.shown->item[alarm_batch_lead(w.shown.get(), first)].entry);
    // Enter and Space close the window from the start.
    SendMessageA(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDCANCEL)), TRUE);
    come_to_front(hwnd);
}

void on_sound_stopped(HWND hwnd, AlarmWindow& w) {
    if (sound_playing(w)) w.sound->stop();
    EnableWindow(button(hwnd), FALSE);
}

void on_close(HWND hwnd, AlarmWindow& w) {
    stop_sound_of(hwnd, w);
    w.hwnd = nullptr;
    end_dialog(hwnd, w, true);
}

// The alarms on show go to the owner to come back later; the window closes.
void on_snooze(HWND hwnd, AlarmWindow& w) {
    if (w.snooze.fn && w.shown && w.shown->count > 0) w.snooze.fn(w.snooze.context, *w.shown);
    on_close(hwnd, w);
}

// Destroyed by its owner as well as by Close: the sound goes with the window.
void on_destroy(HWND hwnd, AlarmWindow& w) {
    stop_filtering_keys(hwnd, w);
    stop_sound_of(hwnd, w);
    w.shown.reset();
    if (w.hwnd == hwnd) w.hwnd = nullptr;
}

}  // namespace

INT_PTR AlarmWindow::init(HWND dlg) {
    shown.reset();
    read_template_size(dlg, &size);
    filter_keys(dlg, *this);
    EnableWindow(GetDlgItem(dlg, IDC_ALARM_SNOOZE), snooze.fn ? TRUE : FALSE);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - size.window_w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - size.window_h) / 2;
    SetWindowPos(dlg, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
    return TRUE;  // the focus goes to the first tab stop, 閉じる
}

INT_PTR AlarmWindow::command(HWND dlg, int id, int) {
    switch (id) {
    case CMD_SOUND_STOPPED: on_sound_stopped(dlg, *this); return TRUE;
    case IDC_ALARM_STOP_SOUND: SendMessageA(dlg, WM_COMMAND, CMD_SOUND_STOPPED, 0); return TRUE;
    case IDC_ALARM_SNOOZE: on_snooze(dlg, *this); return TRUE;
    case IDCANCEL: on_close(dlg, *this); return TRUE;
    default: return FALSE;
    }
}

INT_PTR AlarmWindow::message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:  // the one command that carries its entry in lParam
        if (LOWORD(wp) != CMD_SHOW_ALARM) return FALSE;
        on_show(dlg, *this, static_cast<int>(lp));
        return TRUE;
    case WM_DESTROY: on_destroy(dlg, *this); return FALSE;
    default: return FALSE;
    }
}

void show_alarm_batch(HWND owner, AlarmWindow* w, AlarmTimeForm form, const AlarmBatch& b,
                      bool join) {
    w->twelve_hour = form.twelve_hour;
    w->mark_after = form.mark_after;
    if (!w->hwnd) {
        w->pending.reset();  // a command posted to a window now gone never arrives
        w->hwnd = open_modeless_dialog(owner, *w);
        if (!w->hwnd) return;
    }
    // Handed over before the window took the previous ones: shown together, one command.
    if (w->pending && w->pending->count > 0) {
        alarm_batch_add(w->pending.get(), &b);
        w->pending_joins = w->pending_joins && join;
        return;
    }
    if (!w->pending) w->pending.reset(new (std::nothrow) AlarmBatch);
    if (!w->pending) return;
    *w->pending = b;
    w->pending_joins = join;
    PostMessageA(w->hwnd, WM_COMMAND, CMD_SHOW_ALARM, b.count > 0 ? b.item[0].index : -1);
}

void show_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                 const int* indices, int count, uint64_t missed_upto) {
    if (count <= 0) return;
    w->list = &list;
    std::unique_ptr<AlarmBatch> b(new (std::nothrow) AlarmBatch);
    if (!b) return;
    alarm_batch_make(b.get(), list, indices, count);
    if (missed_upto != 0) alarm_batch_mark_missed(b.get(), missed_upto);
    show_alarm_batch(owner, w, form, *b, true);
}

void show_due_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                     const DueAlarm* due, int count, uint64_t missed_upto) {
    if (count <= 0) return;
    w->list = &list;
    std::unique_ptr<AlarmBatch> b(new (std::nothrow) AlarmBatch);
    if (!b) return;
    alarm_batch_make_due(b.get(), list, due, count);
    if (missed_upto != 0) alarm_batch_mark_missed(b.get(), missed_upto);
    show_alarm_batch(owner, w, form, *b, true);
}

void close_alarm_window(AlarmWindow* w) {
    if (w->hwnd) close_modeless_dialog(w->hwnd, *w, true);
    w->hwnd = nullptr;
    w->pending.reset();
}
