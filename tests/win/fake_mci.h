// A recording stand-in for the multimedia command function and the extension table, for
// the tests of the sound player and of the two windows it is handed to. Every command is
// logged as a line ("open 0 type+element WaveAudioC:\a.wav", "set 1 ms", "play 1 0",
// "status 1 mode", "stop 1 0", "close 1 0"); opens hand out device ids 1, 2, ...; errors
// and the reported play mode are set by the test.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "schedule/sound_win.h"

namespace win_test {

struct FakeMci {
    std::vector<std::string> calls;
    std::vector<std::string> table_keys;
    MCIDEVICEID next_id = 1;
    MCIERROR open_error = 0, play_error = 0, status_error = 0;
    DWORD status_mode = MCI_MODE_PLAY;

    static FakeMci& get() {
        static FakeMci f;
        return f;
    }
    std::string log() const {
        std::string s;
        for (const auto& c : calls) s += c + "\n";
        return s;
    }
    int count(const char* prefix) const {
        int n = 0;
        for (const auto& c : calls) n += c.compare(0, std::strlen(prefix), prefix) == 0;
        return n;
    }

    static MCIERROR WINAPI command(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                                  DWORD_PTR params) {
        FakeMci& f = get();
        char line[600];
        switch (message) {
        case MCI_OPEN: {
            auto* p = reinterpret_cast<MCI_OPEN_PARMSA*>(params);
            std::snprintf(line, sizeof line, "open %u %s %s%s", device,
                          flags == (MCI_OPEN_TYPE | MCI_OPEN_ELEMENT) ? "type+element" : "flags?",
                          p->lpstrDeviceType, p->lpstrElementName);
            f.calls.push_back(line);
            if (f.open_error) return f.open_error;
            p->wDeviceID = f.next_id++;
            return 0;
        }
        case MCI_SET: {
            auto* p = reinterpret_cast<MCI_SET_PARMS*>(params);
            const bool ms = flags == MCI_SET_TIME_FORMAT && p->dwTimeFormat == MCI_FORMAT_MILLISECONDS;
            std::snprintf(line, sizeof line, "set %u %s", device, ms ? "ms" : "?");
            f.calls.push_back(line);
            return 0;
        }
        case MCI_PLAY:
            std::snprintf(line, sizeof line, "play %u %lu", device, (unsigned long)flags);
            f.calls.push_back(line);
            return f.play_error;
        case MCI_STATUS: {
            auto* p = reinterpret_cast<MCI_STATUS_PARMS*>(params);
            const bool mode = flags == MCI_STATUS_ITEM && p->dwItem == MCI_STATUS_MODE;
            std::snprintf(line, sizeof line, "status %u %s", device, mode ? "mode" : "?");
            f.calls.push_back(line);
            if (f.status_error) return f.status_error;
            p->dwReturn = f.status_mode;
            return 0;
        }
        case MCI_STOP:
        case MCI_CLOSE:
            std::snprintf(line, sizeof line, "%s %u %lu%s", message == MCI_STOP ? "stop" : "close",
                          device, (unsigned long)flags, params ? " params?" : "");
            f.calls.push_back(line);
            return 0;
        default:
            f.calls.push_back("other");
            return 0;
        }
    }

    // An extension table: MP2 is an MPEG device, MP3 (never to be asked) another, "wav" in
    // lower case a device of its own, NOS the literal "no support"; the rest is missing.
    static void table(const char* key, const char* fallback, char* out, size_t size) {
        get().table_keys.push_back(key);
        const char* v = fallback;
        if (std::strcmp(key, "MP2") == 0) v = "MPEGVideo";
        if (std::strcmp(key, "MP3") == 0) v = "NotThisOne";
        if (std::strcmp(key, "wav") == 0) v = "LowerWave";
        if (std::strcmp(key, "NOS") == 0) v = "no support";
        std::snprintf(out, size, "%s", v);
    }
};

// The fake as a player's multimedia system.
inline SoundSystem fake_sound_system() {
    SoundSystem s;
    s.command = FakeMci::command;
    s.table = FakeMci::table;
    return s;
}

// A player on the fake for a scope, with a fresh log.
class FakeSound {
public:
    FakeSound() : player_((FakeMci::get() = FakeMci(), fake_sound_system())) {}
    FakeSound(const FakeSound&) = delete;
    FakeSound& operator=(const FakeSound&) = delete;
    FakeMci& mci() { return FakeMci::get(); }
    SoundPlayer& player() { return player_; }

private:
    SoundPlayer player_;
};

}  // namespace win_test
