#include "dialogs/alarm_window_win.h"

#include <memory>
#include <new>

#include "schedule/alarm_text.h"
#include "schedule/entry.h"
#include "schedule/sound_win.h"

namespace {

constexpr UINT_PTR kPollTimer = 2;
constexpr UINT kPollMs = 500;
// Room for every block of a full list (a block stays well under this).
constexpr size_t kBlockRoom = 256;

HWND button(HWND hwnd) { return GetDlgItem(hwnd, IDC_ALARM_STOP_SOUND); }

void stop_sound_of(HWND hwnd) {
    if (sound_playing) SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

void kill_poll(HWND hwnd, AlarmWindow& w) {
    if (w.timer) {
        KillTimer(hwnd, kPollTimer);
        w.timer = false;
    }
}

// The batch a command 207 stands for: the one show_alarms left for it, or its index alone.
void batch_for(AlarmWindow& w, int index, AlarmBatch* out) {
    if (w.pending.count > 0 && w.pending.index[0] == index) {
        alarm_batch_make(out, *w.list, w.pending.index, w.pending.count);
    } else {
        alarm_batch_make(out, *w.list, &index, 1);
    }
    w.pending.count = 0;
}

void show_text(HWND hwnd, const AlarmWindow& w, const AlarmBatch* b) {
    const size_t size = static_cast<size_t>(b->count) * kBlockRoom + 1;
    std::unique_ptr<char[]> text(new (std::nothrow) char[size]);
    if (!text) return;
    format_alarm_batch(text.get(), size, b, *w.list, w.twelve_hour, w.mark_after);
    HWND edit = GetDlgItem(hwnd, IDC_ALARM_TEXT);
    SetWindowTextA(edit, text.get());
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
}

void sound_file_alarm(HWND hwnd, AlarmWindow& w, const ScheduleEntry* e) {
    ShowWindow(button(hwnd), SW_SHOWNORMAL);
    EnableWindow(button(hwnd), TRUE);
    if (sound_playing) sound_stop();
    kill_poll(hwnd, w);
    if (sound_start_file(hwnd, e->sound_file)) {
        SetTimer(hwnd, kPollTimer, kPollMs, nullptr);
        w.timer = true;
    } else {
        MessageBeep(MB_ICONASTERISK);
    }
}

void on_show(HWND hwnd, AlarmWindow& w, int index) {
    if (!w.list) return;
    AlarmBatch batch;
    AlarmBatch* b = &batch;
    batch_for(w, index, b);
    if (b->count == 0 || alarm_batch_same(b, &w.shown)) return;
    stop_sound_of(hwnd);
    w.shown = *b;
    show_text(hwnd, w, b);
    const ScheduleEntry* lead = &w.list->entries[b->index[alarm_batch_lead(b, *w.list)]];
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
    SetForegroundWindow(hwnd);
}

void on_sound_stopped(HWND hwnd, AlarmWindow& w) {
    if (sound_playing) sound_stop();
    kill_poll(hwnd, w);
    EnableWindow(button(hwnd), FALSE);
}

void on_close(HWND hwnd, AlarmWindow& w) {
    stop_sound_of(hwnd);
    w.hwnd = nullptr;
    DestroyWindow(hwnd);
}

// Destroyed by its owner as well as by Close: the sound and the timer go with the window.
void on_destroy(HWND hwnd, AlarmWindow& w) {
    stop_sound_of(hwnd);
    kill_poll(hwnd, w);
    w.shown.count = 0;
    if (w.hwnd == hwnd) w.hwnd = nullptr;
}

}  // namespace

INT_PTR AlarmWindow::init(HWND dlg) {
    shown.count = 0;
    timer = false;
    RECT r;
    GetWindowRect(dlg, &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(dlg, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
    return TRUE;
}

INT_PTR AlarmWindow::command(HWND dlg, int id, int) {
    switch (id) {
    case CMD_SOUND_STOPPED: on_sound_stopped(dlg, *this); return TRUE;
    case IDC_ALARM_STOP_SOUND: SendMessageA(dlg, WM_COMMAND, CMD_SOUND_STOPPED, 0); return TRUE;
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
    case WM_TIMER:
        if (sound_playing) sound_poll();
        return TRUE;
    case WM_DESTROY: on_destroy(dlg, *this); return FALSE;
    default: return FALSE;
    }
}

void show_alarms(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                 const int* indices, int count) {
    if (count <= 0) return;
    w->list = &list;
    w->twelve_hour = form.twelve_hour;
    w->mark_after = form.mark_after;
    if (!w->hwnd) {
        w->hwnd = open_modeless_dialog(owner, *w);
        if (!w->hwnd) return;
    }
    if (count > kMaxEntries) count = kMaxEntries;
    for (int k = 0; k < count; ++k) w->pending.index[k] = indices[k];
    w->pending.count = count;
    PostMessageA(w->hwnd, WM_COMMAND, CMD_SHOW_ALARM, indices[0]);
}

void show_alarm(HWND owner, AlarmWindow* w, const ScheduleList& list, AlarmTimeForm form,
                int index) {
    show_alarms(owner, w, list, form, &index, 1);
}

void close_alarm_window(AlarmWindow* w) {
    if (w->hwnd) DestroyWindow(w->hwnd);
    w->hwnd = nullptr;
}
