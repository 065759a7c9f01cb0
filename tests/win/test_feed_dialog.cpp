// The subscriptions dialog by its controls: the rows with their last fetch, the fields a
// selected row fills, the buttons' states, an addition, a refused duplicate told in a message box, a removal, and
// what OK and Cancel hand back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/feed_dialog_win.h"
#include "resources/resource.h"
#include "tests/win/modal_driver.h"
#include "tests/win/program_reset.h"
#include "tests/win/dialog_input.h"

namespace {

using win_test::item_text;

using win_test::ModalDriver;

int rows(HWND dlg) { return (int)SendDlgItemMessageA(dlg, IDC_FEED_LIST, LVM_GETITEMCOUNT, 0, 0); }

std::string cell(HWND dlg, int row, int column) {
    char buf[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendDlgItemMessageA(dlg, IDC_FEED_LIST, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}

void select_row(HWND dlg, int row) {
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageA(dlg, IDC_FEED_LIST, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// Which of add, change, remove are enabled: "acr" with "-" for a disabled one.
std::string button_states(HWND dlg) {
    std::string s;
    s += IsWindowEnabled(GetDlgItem(dlg, IDC_FEED_ADD)) ? 'a' : '-';
    s += IsWindowEnabled(GetDlgItem(dlg, IDC_FEED_CHANGE)) ? 'c' : '-';
    s += IsWindowEnabled(GetDlgItem(dlg, IDC_FEED_REMOVE)) ? 'r' : '-';
    return s;
}

void send_command(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class FeedDialog : public testing::Test {
protected:
    void SetUp() override { win_test::reset_program_globals(); }
    void TearDown() override { win_test::reset_program_globals(); }
    std::vector<FeedSubscription> feeds = {{"https://a.example/a.ics", "祝日", true},
                                           {"http://b.example/b.ics", "", false}};
};

TEST_F(FeedDialog, EditsByItsControls) {
    ModalDriver driver({
        [](HWND dlg) {
            char caption[128] = "";
            GetWindowTextA(dlg, caption, sizeof caption);
            EXPECT_STREQ(caption, "Tavelspore - カレンダーの購読");
            ASSERT_EQ(rows(dlg), 2);
            EXPECT_EQ(cell(dlg, 0, 0), "購読中");
            EXPECT_EQ(cell(dlg, 0, 1), "祝日");
            EXPECT_EQ(cell(dlg, 1, 0), "停止");
            EXPECT_EQ(cell(dlg, 1, 1), "b.example");  // no name: the host
            EXPECT_EQ(cell(dlg, 1, 3), "http://b.example/b.ics");
            // The first row is selected and in the fields.
            EXPECT_EQ(item_text(dlg, IDC_FEED_URL), "https://a.example/a.ics");
            EXPECT_EQ(item_text(dlg, IDC_FEED_NAME), "祝日");
            EXPECT_EQ(button_states(dlg), "acr");
            select_row(dlg, 1);
            EXPECT_EQ(item_text(dlg, IDC_FEED_URL), "http://b.example/b.ics");
            EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_FEED_ON), (UINT)BST_UNCHECKED);
            // A change of the selected row: switched on and named.
            SetDlgItemTextA(dlg, IDC_FEED_NAME, "Town");
            CheckDlgButton(dlg, IDC_FEED_ON, BST_CHECKED);
            send_command(dlg, IDC_FEED_CHANGE);
            EXPECT_EQ(cell(dlg, 1, 0), "購読中");
            EXPECT_EQ(cell(dlg, 1, 1), "Town");
            // An addition, webcal read as https, selected at the end.
            SetDlgItemTextA(dlg, IDC_FEED_URL, " webcal://c.example/c.ics ");
            SetDlgItemTextA(dlg, IDC_FEED_NAME, "C");
            send_command(dlg, IDC_FEED_ADD);
            ASSERT_EQ(rows(dlg), 3);
            EXPECT_EQ(cell(dlg, 2, 3), "https://c.example/c.ics");
            EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_FEED_LIST, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED), 2);
            // The same address again: refused, told.
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_FEED_ADD, BN_CLICKED), 0);
        },
        ModalDriver::on_dialog("Tavelspore",
                               [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }),
        ModalDriver::on_dialog("Tavelspore - カレンダーの購読",
                               [](HWND dlg) {
                                   EXPECT_EQ(rows(dlg), 3);
                                   select_row(dlg, 0);
                                   send_command(dlg, IDC_FEED_REMOVE);
                                   EXPECT_EQ(rows(dlg), 2);
                                   EXPECT_EQ(button_states(dlg), "a--");  // nothing selected
                                   PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                               }),
    });
    const bool ok = driver.run([this] { return feed_dialog(nullptr, &feeds); });
    EXPECT_TRUE(ok);
    EXPECT_EQ(driver.dialogs_seen(), 3);  // the dialog, the message box, the dialog again
    ASSERT_EQ(feeds.size(), 2u);
    EXPECT_EQ(feeds[0].url, "http://b.example/b.ics");
    EXPECT_EQ(feeds[0].name, "Town");
    EXPECT_TRUE(feeds[0].on);
    EXPECT_EQ(feeds[1].url, "https://c.example/c.ics");
}

TEST_F(FeedDialog, CancelKeepsTheList) {
    const std::vector<FeedSubscription> before = feeds;
    ModalDriver driver({[](HWND dlg) {
        send_command(dlg, IDC_FEED_REMOVE);
        EXPECT_EQ(rows(dlg), 1);
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_FALSE(driver.run([this] { return feed_dialog(nullptr, &feeds); }));
    ASSERT_EQ(feeds.size(), before.size());
    EXPECT_EQ(feeds[0].url, before[0].url);
}

// The last fetch column from the cache file's entries, found by address; a row the cache
// does not hold was never fetched, and rows keep their state through an edit of another.
TEST_F(FeedDialog, LastFetchFromTheCache) {
    FeedCache cache;
    FeedCacheEntry* failed = feed_cache_entry(&cache, "http://b.example/b.ics");
    failed->checked = 1796879100;
    failed->error = NetError::kNotFound;
    ModalDriver driver({[](HWND dlg) {
        EXPECT_EQ(cell(dlg, 0, 2), "未取得");
        EXPECT_EQ(cell(dlg, 1, 2), "取得失敗（カレンダーが見つかりません）");
        select_row(dlg, 0);
        send_command(dlg, IDC_FEED_REMOVE);
        EXPECT_EQ(cell(dlg, 0, 2), "取得失敗（カレンダーが見つかりません）");
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_FALSE(driver.run([this, &cache] { return feed_dialog(nullptr, &feeds, &cache); }));
}

}  // namespace
