// The sound player: a sound file played through the multimedia command interface, its end
// found by the player's own poll timer, and CMD_SOUND_STOPPED sent to the window that started
// it whenever it stops. The main window owns the one player of the program and hands it to
// the windows that sound files (the alarm window, the schedule dialog's ♪ button). The
// multimedia library is loaded at first use, so the program runs (silently) where it is
// missing.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

#include "schedule/sound_device.h"

typedef MCIERROR(WINAPI* MciSendFn)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
typedef void (*SoundTableLookup)(const char* key, const char* fallback, char* out, size_t size);

// The multimedia system a player talks to; the defaults are the system's own. Tests hand in
// a recording command function and extension table, or another library.
struct SoundSystem {
    const char* library = "WINMM.DLL";
    MciSendFn command = nullptr;       // nullptr: the library's mciSendCommandA
    SoundTableLookup table = nullptr;  // nullptr: the system's "MCI Extensions"
};

class SoundPlayer {
public:
    // How often a playing sound is asked whether it has ended.
    static constexpr UINT kPollMs = 500;

    explicit SoundPlayer(const SoundSystem& system = SoundSystem());
    // Closes a device still open, without telling anyone, and ends the poll.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // A sound is open and was told to play.
    bool playing() const { return playing_; }

    // LoadLibraryA of the multimedia library unless already loaded.
    bool load_library();
    // Every command goes through here: the library is loaded if needed and its command
    // function looked up by name on every call. MCIERR_DEVICE_NOT_READY when either is
    // missing.
    MCIERROR send(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
    // Chooses the device for an extension without its dot (upper case expected). False when
    // the file cannot be played; the device chosen before stays.
    bool select_device(const char* ext);
    // Opens and starts path on the selected device and polls it until it ends; a sound
    // playing already is stopped first (its window is told before the new file opens). 0
    // when playing, 1 without the library, else the error of the open or the play
    // (MCIERR_OUT_OF_MEMORY, with the device closed again, when no poll can be started).
    // A path that names no file on a local fixed disk (a share, a device, a URL, a relative
    // path) is never opened: MCIERR_FILE_NOT_FOUND.
    MCIERROR play(HWND notify, const char* path);
    // Stops and closes a playing sound (the flag is cleared first) and ends the poll, then
    // sends CMD_SOUND_STOPPED to the window that started it.
    void stop();
    // Stops the sound when the device reports that it has stopped.
    void poll();
    // What both windows do to try a file: take its extension, select the device, play. True
    // when it plays; false when the caller should beep instead.
    bool start_file(HWND notify, const char* path);

private:
    bool start_poll();
    void end_poll();
    static LRESULT CALLBACK poll_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    SoundSystem system_;
    HMODULE library_ = nullptr;  // never freed once loaded
    SoundDevice device_ = {kDeviceWaveAudio, ""};
    MCIDEVICEID id_ = 0;
    HWND notify_ = nullptr;
    bool playing_ = false;
    HWND poll_window_ = nullptr;  // a message-only window whose timer polls while playing
};
