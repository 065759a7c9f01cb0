#include "schedule/sound_win.h"

#include "config/local_path_win.h"
#include "resources/resource.h"
#include "schedule/sound_device.h"

bool sound_playing = false;

namespace {

const char kLibraryName[] = "WINMM.DLL";

struct Player {
    HMODULE library = nullptr;   // never freed once loaded
    SoundDevice device = {kDeviceWaveAudio, ""};
    MCIDEVICEID id = 0;
    HWND notify = nullptr;
};
Player player;

MciSendFn fake_command = nullptr;
const char* library_name = kLibraryName;

void system_table(const char* key, const char* fallback, char* out, size_t size) {
    GetProfileStringA("MCI Extensions", key, fallback, out, static_cast<DWORD>(size));
}
SoundTableLookup table_lookup = system_table;

void forget_state() {
    player = Player();
    sound_playing = false;
}

}  // namespace

bool load_multimedia_library() {
    if (!player.library) player.library = LoadLibraryA(library_name);
    return player.library != nullptr;
}

MCIERROR mci_send(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    if (!load_multimedia_library()) return MCIERR_DEVICE_NOT_READY;
    MciSendFn fn = fake_command;
    if (!fn) {
        fn = reinterpret_cast<MciSendFn>(
            reinterpret_cast<void*>(GetProcAddress(player.library, "mciSendCommandA")));
    }
    if (!fn) return MCIERR_DEVICE_NOT_READY;
    return fn(device, message, flags, params);
}

bool sound_select_device(const char* ext) {
    return select_sound_device(&player.device, ext, table_lookup);
}

MCIERROR sound_play(HWND notify, const char* path) {
    if (!load_multimedia_library()) return 1;
    if (sound_playing) sound_stop();
    // A path from a settings file may name a share: opening it would connect to that host.
    if (!local_fixed_file_win(path)) return MCIERR_FILE_NOT_FOUND;

    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = sound_device_type(&player.device);
    open.lpstrElementName = path;
    MCIERROR err = mci_send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                            reinterpret_cast<DWORD_PTR>(&open));
    if (err) return err;
    player.id = open.wDeviceID;

    MCI_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mci_send(player.id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set));
    player.notify = notify;

    MCI_PLAY_PARMS play = {};
    err = mci_send(player.id, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play));
    if (err) {
        mci_send(player.id, MCI_CLOSE, 0, 0);
        return err;
    }
    sound_playing = true;
    return 0;
}

void sound_stop() {
    if (sound_playing) {
        // Cleared first: the receiver's own stop from its command 208 then does nothing.
        sound_playing = false;
        mci_send(player.id, MCI_STOP, 0, 0);
        mci_send(player.id, MCI_CLOSE, 0, 0);
    }
    if (player.notify) SendMessageA(player.notify, WM_COMMAND, CMD_SOUND_STOPPED, 0);
}

void sound_poll() {
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_MODE;
    if (mci_send(player.id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
        return;
    if (status.dwReturn == MCI_MODE_STOP) sound_stop();
}

bool sound_start_file(HWND notify, const char* path) {
    char ext[16];
    sound_extension(path, ext, sizeof ext);
    if (ext[0] == '.' && sound_select_device(ext + 1)) sound_play(notify, path);
    return sound_playing;
}

void sound_set_command_for_test(MciSendFn fn) {
    fake_command = fn;
    forget_state();
}

void sound_set_library_for_test(const char* name) {
    library_name = name ? name : kLibraryName;
    forget_state();
}

void sound_set_table_for_test(SoundTableLookup fn) {
    table_lookup = fn ? fn : system_table;
    forget_state();
}
