#include "schedule/sound_win.h"

#include "config/local_path_win.h"
#include "resources/resource.h"

namespace {

constexpr char kPollClass[] = "ZelmarSoundPoll";
constexpr UINT_PTR kPollTimer = 1;

void system_table(const char* key, const char* fallback, char* out, size_t size) {
    GetProfileStringA("MCI Extensions", key, fallback, out, static_cast<DWORD>(size));
}

}  // namespace

SoundPlayer::SoundPlayer(const SoundSystem& system) : system_(system) {
    if (!system_.library) system_.library = SoundSystem().library;
    if (!system_.table) system_.table = system_table;
}

SoundPlayer::~SoundPlayer() {
    if (playing_) {
        playing_ = false;
        send(id_, MCI_STOP, 0, 0);
        send(id_, MCI_CLOSE, 0, 0);
    }
    end_poll();
    if (poll_window_) DestroyWindow(poll_window_);
}

bool SoundPlayer::load_library() {
    if (!library_) library_ = LoadLibraryA(system_.library);
    return library_ != nullptr;
}

MCIERROR SoundPlayer::send(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    if (!load_library()) return MCIERR_DEVICE_NOT_READY;
    MciSendFn fn = system_.command;
    if (!fn) {
        fn = reinterpret_cast<MciSendFn>(
            reinterpret_cast<void*>(GetProcAddress(library_, "mciSendCommandA")));
    }
    if (!fn) return MCIERR_DEVICE_NOT_READY;
    return fn(device, message, flags, params);
}

bool SoundPlayer::select_device(const char* ext) {
    return select_sound_device(&device_, ext, system_.table);
}

MCIERROR SoundPlayer::play(HWND notify, const char* path) {
    if (!load_library()) return 1;
    if (playing_) stop();
    // A path from a settings file may name a share: opening it would connect to that host.
    if (!local_fixed_file_win(path)) return MCIERR_FILE_NOT_FOUND;

    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = sound_device_type(&device_);
    open.lpstrElementName = path;
    MCIERROR err = send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    if (err) return err;
    id_ = open.wDeviceID;

    MCI_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    send(id_, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set));
    notify_ = notify;

    MCI_PLAY_PARMS play = {};
    err = send(id_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play));
    // A sound whose end nobody would see is not started: the caller beeps instead.
    if (!err && !start_poll()) {
        send(id_, MCI_STOP, 0, 0);
        err = MCIERR_OUT_OF_MEMORY;
    }
    if (err) {
        send(id_, MCI_CLOSE, 0, 0);
        return err;
    }
    playing_ = true;
    return 0;
}

void SoundPlayer::stop() {
    if (playing_) {
        // Cleared first: the receiver's own stop from its CMD_SOUND_STOPPED then does nothing.
        playing_ = false;
        end_poll();
        send(id_, MCI_STOP, 0, 0);
        send(id_, MCI_CLOSE, 0, 0);
    }
    if (notify_) SendMessageA(notify_, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

void SoundPlayer::poll() {
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_MODE;
    if (send(id_, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status))) return;
    if (status.dwReturn == MCI_MODE_STOP) stop();
}

bool SoundPlayer::start_file(HWND notify, const char* path) {
    char ext[16];
    sound_extension(path, ext, sizeof ext);
    if (ext[0] == '.' && select_device(ext + 1)) play(notify, path);
    return playing_;
}

LRESULT CALLBACK SoundPlayer::poll_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_TIMER) return DefWindowProcA(hwnd, msg, wp, lp);
    auto* player = reinterpret_cast<SoundPlayer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (player && player->playing_) player->poll();
    return 0;
}

// The poll runs on a message-only window of the player's own, made at the first sound: its
// timer fires in every message loop of the thread, a dialog's own loop too.
bool SoundPlayer::start_poll() {
    if (!poll_window_) {
        const HINSTANCE inst = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        if (!GetClassInfoA(inst, kPollClass, &wc)) {
            wc.lpfnWndProc = poll_proc;
            wc.hInstance = inst;
            wc.lpszClassName = kPollClass;
            if (!RegisterClassA(&wc)) return false;
        }
        poll_window_ = CreateWindowA(kPollClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
        if (!poll_window_) return false;
        SetWindowLongPtrA(poll_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return SetTimer(poll_window_, kPollTimer, kPollMs, nullptr) != 0;
}

void SoundPlayer::end_poll() {
    if (poll_window_) KillTimer(poll_window_, kPollTimer);
}
