// Which multimedia device plays a sound file, chosen by its extension: waveform audio for
// WAV, the MIDI sequencer for MID and RMI, and otherwise the device the system's extension
// table names. Pure: the table lookup is passed in.
#pragma once

#include <cstddef>

constexpr unsigned char kDeviceWaveAudio = 0;
constexpr unsigned char kDeviceSequencer = 2;
constexpr unsigned char kDeviceNamed = 9;
constexpr size_t kDeviceTypeSize = 100;

struct SoundDevice {
    unsigned char kind;
    char type_name[kDeviceTypeSize];  // for kDeviceNamed
};

// Reads the extension table's value for key into out (size bytes), or fallback when the key
// is missing.
typedef void (*ExtensionLookup)(const char* key, const char* fallback, char* out, size_t size);

// The table's value that means "not supported".
extern const char kNoSupport[];

// ext is the extension without its dot, compared case-sensitively (callers upper-case it).
// MP3 files are looked up under "MP2". True when the file can be played; on false the device
// is left as it was.
bool select_sound_device(SoundDevice* dev, const char* ext, ExtensionLookup lookup);

// The device type handed to the open: "WaveAudio", "Sequencer" or the table's name.
const char* sound_device_type(const SoundDevice* dev);

// The extension of path as the players take it: a dot and at most four bytes, upper-cased
// (single-byte letters only), or empty.
void sound_extension(const char* path, char* out, size_t size);
