#include "schedule/sound_device.h"

#include <cstdio>
#include <cstring>

#include "config/cp932.h"
#include "config/paths.h"

const char kNoSupport[] = "no support";

bool select_sound_device(SoundDevice* dev, const char* ext, ExtensionLookup lookup) {
    if (std::strcmp(ext, "WAV") == 0) {
        dev->kind = kDeviceWaveAudio;
        return true;
    }
    if (std::strcmp(ext, "MID") == 0 || std::strcmp(ext, "RMI") == 0) {
        dev->kind = kDeviceSequencer;
        return true;
    }
    char key[12];  // 11 characters and the terminator
    cp932_copy(key, sizeof key, std::strcmp(ext, "MP3") == 0 ? "MP2" : ext);
    char value[kDeviceTypeSize];
    value[0] = '\0';
    lookup(key, kNoSupport, value, sizeof value);
    value[sizeof value - 1] = '\0';
    if (std::strcmp(value, kNoSupport) == 0) return false;
    dev->kind = kDeviceNamed;
    std::memcpy(dev->type_name, value, sizeof value);
    return true;
}

const char* sound_device_type(const SoundDevice* dev) {
    switch (dev->kind) {
    case kDeviceWaveAudio: return "WaveAudio";
    case kDeviceSequencer: return "Sequencer";
    default: return dev->type_name;
    }
}

void sound_extension(const char* path, char* out, size_t size) {
    path_split(path, nullptr, 0, nullptr, 0, out, size);
    for (char* p = out; *p != '\0'; p = cp932_next(p)) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
}
