// The one sound player of the program: a sound file played through the multimedia command
// interface, its end found by polling, and command 208 sent to the window that started it
// whenever it stops. The multimedia library is loaded at first use, so the program runs
// (silently) where it is missing.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// A sound is open and was told to play.
extern bool sound_playing;

// LoadLibraryA of the multimedia library unless already loaded.
bool load_multimedia_library();

// Every command goes through here: the library is loaded if needed and its command function
// looked up by name on every call. MCIERR_DEVICE_NOT_READY when either is missing.
MCIERROR mci_send(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);

// Chooses the device for an extension without its dot (upper case expected). False when
// the file cannot be played; the device chosen before stays.
bool sound_select_device(const char* ext);

// Opens and starts path on the selected device; a sound playing already is stopped first
// (its window is told before the new file opens). 0 when playing, 1 without the library,
// else the error of the open or the play. A path that names no file on a local fixed disk
// (a share, a device, a URL, a relative path) is never opened: MCIERR_FILE_NOT_FOUND.
MCIERROR sound_play(HWND notify, const char* path);

// Stops and closes a playing sound (the flag is cleared first), then sends command 208 to
// the window that started it.
void sound_stop();

// Stops the sound when the device reports that it has stopped.
void sound_poll();

// What both players do to try a file: take its extension, select the device, play. True
// when it plays (the caller then polls); false when the caller should beep instead.
bool sound_start_file(HWND notify, const char* path);

// Test seams. A fake command function takes the place of the library's (nullptr: the real
// one again); another library name makes the next load use it (nullptr: the real one); an
// extension-table lookup takes the place of the system's (nullptr: the system's). Each call
// also forgets the player's state.
typedef MCIERROR(WINAPI* MciSendFn)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
void sound_set_command_for_test(MciSendFn fn);
void sound_set_library_for_test(const char* name);
typedef void (*SoundTableLookup)(const char* key, const char* fallback, char* out, size_t size);
void sound_set_table_for_test(SoundTableLookup fn);
