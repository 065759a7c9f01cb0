// The alarm window (template 212): modeless, centred and topmost, telling the entries that
// came due and sounding the alarm of the first one with a sound. A later alarm reuses the
// window and replaces its text.
#include "schedule/alarm_window_win.h"

#include <memory>
#include <new>

#include "config/settings.h"
#include "resources/resource.h"
#include "schedule/alarm_batch.h"
#include "schedule/alarm_text.h"
#include "schedule/sound_win.h"

HWND alarm_window = nullptr;

namespace {

constexpr UINT_PTR kPollTimer = 2;
constexpr UINT kPollMs = 500;
// Room for every block of a full list (a block stays well under this).
constexpr size_t kBlockRoom = 256;

struct AlarmState {
    AlarmBatch shown;    // the entries on show
    AlarmBatch pending;  // posted by show_alarms, taken by the command it posted
    bool timer = false;
};
AlarmState state;

HWND button(HWND hwnd) { return GetDlgItem(hwnd, IDC_ALARM_STOP_SOUND); }

void stop_sound_of(HWND hwnd) {
    if (sound_playing) SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

void kill_poll(HWND hwnd) {
    if (state.timer) {
        KillTimer(hwnd, kPollTimer);
        state.timer = false;
    }
}

void on_init(HWND hwnd) {
    state.shown.count = 0;
    state.timer = false;
    RECT r;
    GetWindowRect(hwnd, &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
}

// The batch a command 207 stands for: the one show_alarms left for it, or its index alone.
void batch_for(int index, AlarmBatch* out) {
    if (state.pending.count > 0 && state.pending.index[0] == index) {
        alarm_batch_make(out, state.pending.index, state.pending.count);
    } else {
        alarm_batch_make(out, &index, 1);
    }
    state.pending.count = 0;
}

void show_text(HWND hwnd, const AlarmBatch* b) {
    const size_t size = static_cast<size_t>(b->count) * kBlockRoom + 1;
    std::unique_ptr<char[]> text(new (std::nothrow) char[size]);
    if (!text) return;
    format_alarm_batch(text.get(), size, b, settings.method != 0, settings.ampm != 0);
    HWND edit = GetDlgItem(hwnd, IDC_ALARM_TEXT);
    SetWindowTextA(edit, text.get());
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
}

void sound_file_alarm(HWND hwnd, const ScheduleEntry* e) {
    ShowWindow(button(hwnd), SW_SHOWNORMAL);
    EnableWindow(button(hwnd), TRUE);
    if (sound_playing) sound_stop();
    kill_poll(hwnd);
    if (sound_start_file(hwnd, e->sound_file)) {
        SetTimer(hwnd, kPollTimer, kPollMs, nullptr);
        state.timer = true;
    } else {
        MessageBeep(MB_ICONASTERISK);
    }
}

void on_show(HWND hwnd, int index) {
    AlarmBatch batch;
    AlarmBatch* b = &batch;
    batch_for(index, b);
    if (b->count == 0 || alarm_batch_same(b, &state.shown)) return;
    stop_sound_of(hwnd);
    state.shown = *b;
    show_text(hwnd, b);
    const ScheduleEntry* lead = &schedule_list[b->index[alarm_batch_lead(b)]];
    switch (lead->alarm_kind) {
    case 1:
        ShowWindow(button(hwnd), SW_HIDE);
        break;
    case 2:
        ShowWindow(button(hwnd), SW_HIDE);
        MessageBeep(MB_ICONASTERISK);
        break;
    case 3:
        sound_file_alarm(hwnd, lead);
        break;
    default:
        break;  // the button keeps its state
    }
    SetForegroundWindow(hwnd);
}

void on_sound_stopped(HWND hwnd) {
    if (sound_playing) sound_stop();
    kill_poll(hwnd);
    EnableWindow(button(hwnd), FALSE);
}

void on_close(HWND hwnd) {
    stop_sound_of(hwnd);
    alarm_window = nullptr;
    DestroyWindow(hwnd);
}

// Destroyed by its owner as well as by Close: the sound and the timer go with the window.
void on_destroy(HWND hwnd) {
    stop_sound_of(hwnd);
    kill_poll(hwnd);
    state.shown.count = 0;
    if (alarm_window == hwnd) alarm_window = nullptr;
}

INT_PTR on_command(HWND hwnd, int id, LPARAM lp) {
    switch (id) {
    case CMD_SHOW_ALARM: on_show(hwnd, static_cast<int>(lp)); return TRUE;
    case CMD_SOUND_STOPPED: on_sound_stopped(hwnd); return TRUE;
    case IDC_ALARM_STOP_SOUND: SendMessageA(hwnd, WM_COMMAND, CMD_SOUND_STOPPED, 0); return TRUE;
    case IDCANCEL: on_close(hwnd); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK alarm_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: on_init(hwnd); return TRUE;
    case WM_COMMAND: return on_command(hwnd, LOWORD(wp), lp);
    case WM_TIMER:
        if (sound_playing) sound_poll();
        return TRUE;
    case WM_DESTROY: on_destroy(hwnd); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void show_alarms(HWND owner, const int* indices, int count) {
    if (count <= 0) return;
    if (!alarm_window) {
        alarm_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ALARM),
                                          owner, alarm_proc, 0);
        if (!alarm_window) return;
    }
    if (count > kMaxEntries) count = kMaxEntries;
    for (int k = 0; k < count; ++k) state.pending.index[k] = indices[k];
    state.pending.count = count;
    PostMessageA(alarm_window, WM_COMMAND, CMD_SHOW_ALARM, indices[0]);
}

void show_alarm(HWND owner, int index) { show_alarms(owner, &index, 1); }
