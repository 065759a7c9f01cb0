// The sound player through a fake command function that records every call, and once
// through the real multimedia library (which under Wine opens files but never plays).
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "schedule/sound_win.h"
#include "tests/win/dialog_input.h"
#include "tests/win/fake_mci.h"
#include "tests/win/win_scratch.h"

namespace {

using win_test::FakeMci;

std::vector<std::string>& calls = FakeMci::get().calls;
std::vector<std::string>& table_keys = FakeMci::get().table_keys;
// The player a listener answers, as the window that started a sound does.
constexpr char kPlayerProp[] = "ZelmarTestPlayer";
SoundPlayer* player_of(HWND hwnd) { return static_cast<SoundPlayer*>(GetPropA(hwnd, kPlayerProp)); }

LRESULT CALLBACK listener_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == CMD_SOUND_STOPPED) {
        char line[64];
        std::snprintf(line, sizeof line, "208 to %s%s",
                      reinterpret_cast<const char*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)),
                      player_of(hwnd) && player_of(hwnd)->playing() ? " (still playing)" : "");
        calls.push_back(line);
        if (SoundPlayer* p = player_of(hwnd); p && p->playing()) p->stop();  // as every receiver does
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND listener(const char* name) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = listener_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZelmarSoundListener";
        RegisterClassA(&wc);
        registered = true;
    }
    HWND h = CreateWindowA("ZelmarSoundListener", name, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(name));
    return h;
}

class SoundFake : public ::testing::Test {
protected:
    void SetUp() override {
        fake_.emplace();
        a_ = listener("A");
        b_ = listener("B");
        SetPropA(a_, kPlayerProp, &player());
        SetPropA(b_, kPlayerProp, &player());
    }
    void TearDown() override {
        fake_.reset();
        for (HWND h : {a_, b_}) {
            RemovePropA(h, kPlayerProp);
            DestroyWindow(h);
        }
    }
    static std::string log() { return FakeMci::get().log(); }
    static FakeMci& mci() { return FakeMci::get(); }
    SoundPlayer& player() { return fake_->player(); }
    std::optional<win_test::FakeSound> fake_;
    HWND a_ = nullptr, b_ = nullptr;
};

TEST_F(SoundFake, PlayOpensSetsAndStarts) {
    EXPECT_TRUE(player().select_device("WAV"));
    EXPECT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    EXPECT_TRUE(player().playing());
    EXPECT_EQ(log(), "open 0 type+element WaveAudioC:\\s\\a.wav\nset 1 ms\nplay 1 0\n");
    EXPECT_TRUE(table_keys.empty());
}

TEST_F(SoundFake, SecondPlayTellsTheFirstWindowBeforeOpening) {
    ASSERT_TRUE(player().select_device("MID"));
    ASSERT_EQ(player().play(a_, "C:\\s\\x.mid"), 0u);
    calls.clear();
    ASSERT_TRUE(player().select_device("WAV"));
    EXPECT_EQ(player().play(b_, "C:\\s\\y.wav"), 0u);
    EXPECT_EQ(log(),
              "stop 1 0\nclose 1 0\n208 to A\nopen 0 type+element WaveAudioC:\\s\\y.wav\nset 2 ms\n"
              "play 2 0\n");
    calls.clear();
    player().stop();
    EXPECT_EQ(log(), "stop 2 0\nclose 2 0\n208 to B\n");
    SetPropA(b_, kPlayerProp, &player());
}

TEST_F(SoundFake, FailuresLeaveNothingPlaying) {
    struct {
        MCIERROR open, play;
        MCIERROR result;
        const char* log;
    } cases[] = {
        {MCIERR_FILE_NOT_FOUND, 0, MCIERR_FILE_NOT_FOUND,
         "open 0 type+element SequencerC:\\s\\z.rmi\n"},
        {0, MCIERR_HARDWARE, MCIERR_HARDWARE,
         "open 0 type+element SequencerC:\\s\\z.rmi\nset 1 ms\nplay 1 0\nclose 1 0\n"},
    };
    for (const auto& c : cases) {
        calls.clear();
        mci().next_id = 1;
        mci().open_error = c.open;
        mci().play_error = c.play;
        ASSERT_TRUE(player().select_device("RMI"));
        EXPECT_EQ(player().play(a_, "C:\\s\\z.rmi"), c.result);
        EXPECT_FALSE(player().playing());
        EXPECT_EQ(log(), c.log);
    }
}

// Only a file on a local fixed disk is opened: a share, a device, a URL or a relative name
// never reaches the device. A sound playing still stops, and its window is told.
TEST_F(SoundFake, OpensNothingButAFileOnALocalFixedDisk) {
    const char* const refused[] = {
        "\\\\10.9.9.9\\share\\ring.wav", "//host/share/ring.wav",
        "\\\\?\\UNC\\host\\s\\a.wav",  "\\\\.\\pipe\\a.wav",
        "\\\\?\\C:\\a.wav",           "file:///C:/a.wav",
        "http://host/a.wav",           "a.wav",
        "C:a.wav",                     "C:\\CON.wav",
        "C:\\a.wav:x",                 "A:\\a.wav",  // no such drive here
    };
    for (const char* path : refused) {
        ASSERT_TRUE(player().select_device("WAV"));
        ASSERT_EQ(player().play(a_, "C:\\s\\before.wav"), 0u);
        calls.clear();
        EXPECT_EQ(player().play(b_, path), (MCIERROR)MCIERR_FILE_NOT_FOUND) << path;
        EXPECT_FALSE(player().playing()) << path;
        EXPECT_EQ(log(), "stop 1 0\nclose 1 0\n208 to A\n") << path;
        calls.clear();
        EXPECT_FALSE(player().start_file(b_, path)) << path;
        EXPECT_EQ(mci().count("open"), 0) << path;
        mci().next_id = 1;
    }
}

TEST_F(SoundFake, PollStopsOnlyWhenTheDeviceHasStopped) {
    struct {
        DWORD mode;
        MCIERROR status;
        bool stops;
    } cases[] = {
        {MCI_MODE_PLAY, 0, false},
        {MCI_MODE_STOP, MCIERR_HARDWARE, false},
        {MCI_MODE_PAUSE, 0, false},
        {MCI_MODE_STOP, 0, true},
    };
    ASSERT_TRUE(player().select_device("WAV"));
    ASSERT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    for (const auto& c : cases) {
        calls.clear();
        mci().status_mode = c.mode;
        mci().status_error = c.status;
        player().poll();
        EXPECT_EQ(player().playing(), !c.stops) << c.mode;
        EXPECT_EQ(log(), c.stops ? "status 1 mode\nstop 1 0\nclose 1 0\n208 to A\n"
                                 : "status 1 mode\n")
            << c.mode;
    }
}

TEST_F(SoundFake, StopWhileIdleStillTellsTheWindow) {
    ASSERT_TRUE(player().select_device("WAV"));
    ASSERT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    player().stop();
    calls.clear();
    player().stop();
    EXPECT_EQ(log(), "208 to A\n");
}

TEST_F(SoundFake, ExtensionTable) {
    struct {
        const char* path;
        bool plays;
        const char* open;   // the open logged, or nullptr
        const char* key;    // the table key asked, or nullptr
    } cases[] = {
        {"C:\\m\\song.mp3", true, "open 0 type+element MPEGVideoC:\\m\\song.mp3", "MP2"},
        {"C:\\m\\song.Mp3", true, "open 0 type+element MPEGVideoC:\\m\\song.Mp3", "MP2"},
        {"C:\\m\\a.nos", false, nullptr, "NOS"},
        {"C:\\m\\a.ogg", false, nullptr, "OGG"},
        {"C:\\m\\a.wave5", false, nullptr, nullptr},  // five letters: no extension
        {"", false, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        calls.clear();
        table_keys.clear();
        player().stop();
        calls.clear();
        EXPECT_EQ(player().start_file(a_, c.path), c.plays) << c.path;
        EXPECT_EQ(calls.empty() ? std::string() : calls[0], c.open ? c.open : "") << c.path;
        EXPECT_EQ(table_keys.empty() ? std::string() : table_keys[0], c.key ? c.key : "")
            << c.path;
    }
    // Lower case is not "WAV": it goes to the table (the players upper-case first).
    table_keys.clear();
    EXPECT_TRUE(player().select_device("wav"));
    ASSERT_EQ(table_keys.size(), 1u);
    EXPECT_EQ(table_keys[0], "wav");
    calls.clear();
    player().stop();
    calls.clear();
    EXPECT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    EXPECT_EQ(calls[0], "open 0 type+element LowerWaveC:\\s\\a.wav");
}

TEST_F(SoundFake, MissingLibraryOrCommand) {
    SoundSystem none;
    none.library = "ZELMAR_NO_SUCH_LIBRARY.DLL";
    none.table = FakeMci::table;
    SoundPlayer missing(none);
    EXPECT_FALSE(missing.load_library());
    EXPECT_EQ(missing.play(a_, "C:\\s\\a.wav"), 1u);
    EXPECT_EQ(missing.send(0, MCI_CLOSE, 0, 0), (MCIERROR)MCIERR_DEVICE_NOT_READY);
    EXPECT_FALSE(missing.playing());
    // A library without the command function: every command is "not ready".
    SoundSystem kernel = none;
    kernel.library = "KERNEL32.DLL";
    SoundPlayer without(kernel);
    EXPECT_TRUE(without.load_library());
    EXPECT_EQ(without.play(a_, "C:\\s\\a.wav"), (MCIERROR)MCIERR_DEVICE_NOT_READY);
    EXPECT_FALSE(without.playing());
    EXPECT_TRUE(calls.empty());
}

// The player asks the device every half second while a sound plays, tells the window once
// it has ended, and asks no more after that.
TEST_F(SoundFake, PollsByItselfUntilTheSoundEnds) {
    ASSERT_TRUE(player().select_device("WAV"));
    ASSERT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    calls.clear();
    win_test::pump_for(1200);
    EXPECT_GE(mci().count("status"), 1) << log();
    EXPECT_TRUE(player().playing());
    mci().status_mode = MCI_MODE_STOP;
    win_test::pump_for(700);
    EXPECT_FALSE(player().playing());
    EXPECT_EQ(mci().count("208 to A"), 1) << log();
    const int asked = mci().count("status");
    win_test::pump_for(1200);
    EXPECT_EQ(mci().count("status"), asked) << "no poll once the sound ended";
}

// Two players keep their sounds apart: each polls and stops its own device.
TEST_F(SoundFake, PlayersAreIndependent) {
    SoundPlayer other(win_test::fake_sound_system());
    SetPropA(b_, kPlayerProp, &other);
    ASSERT_TRUE(player().select_device("WAV"));
    ASSERT_EQ(player().play(a_, "C:\\s\\a.wav"), 0u);
    ASSERT_TRUE(other.select_device("MID"));
    ASSERT_EQ(other.play(b_, "C:\\s\\b.mid"), 0u);
    calls.clear();
    other.stop();
    EXPECT_TRUE(player().playing());
    EXPECT_EQ(log(), "stop 2 0\nclose 2 0\n208 to B\n");
    SetPropA(b_, kPlayerProp, &player());
}

std::string small_wav() {
    const unsigned rate = 8000, samples = 800;
    std::string w = "RIFF";
    auto u32 = [&w](unsigned v) { for (int i = 0; i < 4; ++i) w += char((v >> (8 * i)) & 0xFF); };
    auto u16 = [&w](unsigned v) { w += char(v & 0xFF); w += char((v >> 8) & 0xFF); };
    u32(36 + samples);
    w += "WAVEfmt ";
    u32(16); u16(1); u16(1); u32(rate); u32(rate); u16(1); u16(8);
    w += "data";
    u32(samples);
    for (unsigned i = 0; i < samples; ++i) w += char(i % 16 < 8 ? 0x60 : 0xA0);
    return w;
}

// The real library: a small WAV file opens on the waveform device; a missing one does not.
TEST(SoundReal, OpensAWavFile) {
    SoundPlayer real;
    const std::string dir = win_test::scratch_dir("sound");
    const std::string path = dir + "tone.wav";
    win_test::put_file(path, small_wav());

    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = "WaveAudio";
    open.lpstrElementName = path.c_str();
    EXPECT_EQ(real.send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                       reinterpret_cast<DWORD_PTR>(&open)), 0u);
    EXPECT_NE(open.wDeviceID, 0u);
    EXPECT_EQ(real.send(open.wDeviceID, MCI_CLOSE, 0, 0), 0u);

    EXPECT_TRUE(real.select_device("WAV"));
    EXPECT_NE(real.play(nullptr, (dir + "missing.wav").c_str()), 0u);
    EXPECT_FALSE(real.playing());

    // A play that starts is stopped again through the real library.
    if (real.play(nullptr, path.c_str()) == 0) {
        EXPECT_TRUE(real.playing());
        real.stop();
    }
    EXPECT_FALSE(real.playing());
    win_test::remove_tree(dir);
}

}  // namespace
