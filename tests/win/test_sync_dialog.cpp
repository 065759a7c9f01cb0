// The sync settings dialog by its controls, through the modal frame: what OK stores (the
// address as the sync uses it, the user, the interval, the switch) and where the password
// goes (the Credential Manager, never the settings file); the question before plain http to
// another machine; the stored password shown again and moved with the server; a search for
// calendars on a server that does not answer, told in the dialog, which stays usable.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/profile.h"
#include "config/sync_settings.h"
#include "dialogs/sync_dialog_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/credentials_win.h"
#include "app/tray_win.h"
#include "config/settings.h"
#include "tests/win/dialog_input.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/win_scratch.h"

namespace {

using win_test::ModalDriver;
using namespace win_test;

const char kPassword[] = "pw-Zq81-only-in-the-vault";
const wchar_t kPasswordW[] = L"pw-Zq81-only-in-the-vault";

std::wstring stored_password(const char* server) {
    std::wstring user, password;
    credential_load(credential_target(server), &user, &password);
    return password;
}

void fill(HWND dlg, const char* address, const char* user, const char* password, const char* interval) {
    paste(dlg, IDC_SYNC_ADDRESS, address);
    paste(dlg, IDC_SYNC_USER, user);
    paste(dlg, IDC_SYNC_PASSWORD, password);
    paste(dlg, IDC_SYNC_INTERVAL, interval);
}

bool is_not(HWND dlg, HWND other) { return dlg != other; }

class SyncDialog : public testing::Test {
protected:
    void SetUp() override {
        reset_program_globals();
        sync_settings_defaults(&settings_);
        for (const char* s : {"http://127.0.0.1:1", "http://dav.example.invalid", "https://dav.example.invalid"})
            credential_delete(credential_target(s));
    }
    void TearDown() override {
        for (const char* s : {"http://127.0.0.1:1", "http://dav.example.invalid", "https://dav.example.invalid"})
            credential_delete(credential_target(s));
        reset_program_globals();
    }
    bool run(ModalDriver& driver) {
        return driver.run([this] { return sync_settings_dialog(nullptr, &settings_); });
    }
    SyncSettings settings_;
};

TEST_F(SyncDialog, OkStoresTheAccountAndThePasswordOnlyInTheVault) {
    bool ok_before = false, find_before = true, ok_bad = true, find_filled = false;
    ModalDriver driver({[&](HWND dlg) {
        ok_before = enabled(dlg, IDOK);  // no address: no account, which OK may store
        find_before = enabled(dlg, IDC_SYNC_FIND);
        EXPECT_EQ(item_text(dlg, IDC_SYNC_INTERVAL), "15");
        fill(dlg, "ftp://127.0.0.1:1/alice/cal/", "alice", kPassword, "30");
        ok_bad = enabled(dlg, IDOK);
        paste(dlg, IDC_SYNC_ADDRESS, " http://127.0.0.1:1/alice/cal/ ");
        find_filled = enabled(dlg, IDC_SYNC_FIND);
        press(dlg, IDC_SYNC_ENABLED);
        press(dlg, IDOK);
    }});
    ASSERT_TRUE(run(driver));
    EXPECT_TRUE(ok_before);
    EXPECT_FALSE(find_before);
    EXPECT_FALSE(ok_bad);
    EXPECT_TRUE(find_filled);
    EXPECT_EQ(driver.dialogs_seen(), 1) << "no question for this machine";
    EXPECT_STREQ(settings_.address, "http://127.0.0.1:1/alice/cal/");
    EXPECT_STREQ(settings_.user, "alice");
    EXPECT_EQ(settings_.interval, 30);
    EXPECT_EQ(settings_.enabled, 1);
    EXPECT_EQ(settings_.plain_confirmed, 0);
    EXPECT_EQ(stored_password("http://127.0.0.1:1/"), kPasswordW);

    // The settings file holds the account, not the password.
    const std::string dir = scratch_dir("sync_dialog");
    profile_open((dir + "user.cfg").c_str(), nullptr);  // a new file
    sync_settings_put(settings_);
    ASSERT_TRUE(profile_flush());
    const std::string file = get_file(dir + "user.cfg");
    EXPECT_NE(file.find("Address=http://127.0.0.1:1/alice/cal/"), std::string::npos) << file;
    EXPECT_EQ(file.find(kPassword), std::string::npos);
    EXPECT_EQ(std::string(file).find("pw-Zq81"), std::string::npos);
    remove_tree(dir);

    // Opened again it shows the stored password; Cancel changes nothing.
    std::string shown;
    ModalDriver again({[&](HWND dlg) {
        shown = item_text(dlg, IDC_SYNC_PASSWORD);
        paste(dlg, IDC_SYNC_INTERVAL, "45");
        press(dlg, IDCANCEL);
    }});
    EXPECT_FALSE(run(again));
    EXPECT_EQ(shown, kPassword);
    EXPECT_EQ(settings_.interval, 30);
}

TEST_F(SyncDialog, PlainHttpElsewhereAsksFirstAndThePasswordMovesWithTheServer) {
    std::snprintf(settings_.address, sizeof settings_.address, "http://127.0.0.1:1/alice/cal/");
    std::snprintf(settings_.user, sizeof settings_.user, "alice");
    ASSERT_TRUE(credential_save(credential_target(settings_.address), L"alice", kPasswordW));
    HWND dialog = nullptr;
    int questions = 0;
    ModalDriver driver({
        [&](HWND dlg) {
            dialog = dlg;
            paste(dlg, IDC_SYNC_ADDRESS, "http://dav.example.invalid/alice/cal/");
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        },
        ModalDriver::when([&](HWND d) { return is_not(d, dialog); },
                          [&](HWND box) {
                              ++questions;
                              PostMessageA(box, WM_COMMAND, IDNO, 0);
                          }),
        // No: the dialog stays, and asks again at the next OK.
        ModalDriver::when([&](HWND d) { return d == dialog; },
                          [&](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDOK, 0); }),
        ModalDriver::when([&](HWND d) { return is_not(d, dialog); },
                          [&](HWND box) {
                              ++questions;
                              PostMessageA(box, WM_COMMAND, IDYES, 0);
                          }),
    });
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(questions, 2);
    EXPECT_STREQ(settings_.address, "http://dav.example.invalid/alice/cal/");
    EXPECT_EQ(settings_.plain_confirmed, 1);
    EXPECT_EQ(stored_password("http://dav.example.invalid"), kPasswordW);
    EXPECT_EQ(stored_password("http://127.0.0.1:1"), L"") << "the old server's password is gone";

    // The same server again: no question; https instead: the yes is not needed.
    ModalDriver same({[&](HWND dlg) {
        paste(dlg, IDC_SYNC_ADDRESS, "http://dav.example.invalid/alice/other/");
        press(dlg, IDOK);
    }});
    ASSERT_TRUE(run(same));
    EXPECT_EQ(same.dialogs_seen(), 1);
    EXPECT_EQ(settings_.plain_confirmed, 1);
    ModalDriver secure({[&](HWND dlg) {
        paste(dlg, IDC_SYNC_ADDRESS, "https://dav.example.invalid/alice/cal/");
        paste(dlg, IDC_SYNC_PASSWORD, "");
        press(dlg, IDOK);
    }});
    ASSERT_TRUE(run(secure));
    EXPECT_EQ(secure.dialogs_seen(), 1);
    EXPECT_EQ(settings_.plain_confirmed, 0);
    EXPECT_EQ(stored_password("https://dav.example.invalid"), L"") << "an empty password stores none";
    EXPECT_EQ(stored_password("http://dav.example.invalid"), L"");
}

TEST_F(SyncDialog, ASearchThatFindsNothingIsToldInTheDialog) {
    std::string status_while, status_after;
    bool find_while = true, cancel_while = false, list_after = true;
    ModalDriver driver({
        [&](HWND dlg) {
            fill(dlg, "http://127.0.0.1:1/", "alice", kPassword, "15");
            press(dlg, IDC_SYNC_FIND);
            status_while = item_text(dlg, IDC_SYNC_STATUS);
            find_while = enabled(dlg, IDC_SYNC_FIND);
            cancel_while = enabled(dlg, IDCANCEL);
        },
        ModalDriver::when([](HWND dlg) { return enabled(dlg, IDC_SYNC_FIND); },
                          [&](HWND dlg) {
                              status_after = item_text(dlg, IDC_SYNC_STATUS);
                              list_after = enabled(dlg, IDC_SYNC_CALENDARS);
                              press(dlg, IDCANCEL);
                          }),
    });
    EXPECT_FALSE(run(driver));
    EXPECT_EQ(status_while, kSyncSearching);
    EXPECT_FALSE(find_while) << "one search at a time";
    EXPECT_TRUE(cancel_while) << "the dialog does not wait for the network";
    EXPECT_EQ(status_after, std::string("カレンダーを探せませんでした。\n") + kSyncErrorConnect);
    EXPECT_FALSE(list_after);
    EXPECT_EQ(stored_password("http://127.0.0.1:1"), L"") << "Cancel stores nothing";
}

}  // namespace

namespace {

// The tip keeps its date line as it was and says below it when the last sync succeeded; a
// long first line (an era year and a holiday) is never cut for it.
TEST(SyncTrayTip, SecondLineUnderTheDate) {
    win_test::reset_program_globals();
    Settings settings;
    settings_defaults(&settings, 1024, 768);
    struct {
        int year, month, day, wareki;
        const char* line;
        const char* tip;
    } cases[] = {
        {2026, 12, 9, 0, "", "2026年12月9日(水)"},
        {2026, 12, 9, 0, "同期: 12/9 14:05", "2026年12月9日(水)\n同期: 12/9 14:05"},
        {2004, 5, 5, 1, "同期: 12/9 14:05", "平成16年5月5日(水) こどもの日\n同期: 12/9 14:05"},
    };
    for (const auto& c : cases) {
        settings.Wareki = c.wareki;
        tray_set_second_line(c.line);
        tray_show_date(nullptr, c.year, c.month, c.day, settings);
        EXPECT_STREQ(tray_tip(), c.tip);
    }
    settings.Wareki = 0;
    const std::string long_line(80, 'x');
    tray_set_second_line(long_line.c_str());
    tray_show_date(nullptr, 2026, 12, 9, settings);
    const std::string tip = tray_tip();
    EXPECT_EQ(tip.substr(0, tip.find('\n')), "2026年12月9日(水)");
    EXPECT_EQ(tip.size(), 63u);
    tray_set_second_line("");
}

}  // namespace
