// The main window's iCalendar commands: their menu items, export and import through the file
// choosers owned by the window, the one message each ends in, what an import saves, and the
// list left alone when nothing may or can be added.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_state_win.h"
#include "dialogs/message_box_win.h"
#include "resources/resource.h"
#include "tests/win/dialog_input.h"
#include "tests/win/file_dialog_input.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_driver.h"
#include "tests/win/win_scratch.h"

namespace {

using namespace win_test;

// What the message boxes said, in order.
std::vector<std::string> g_boxes;
void witness(const char* text, const char*, UINT) { g_boxes.push_back(text); }

// A calendar file of these events, each "YYYYMMDD" (all day) and a UTF-8 summary.
std::string calendar(std::initializer_list<std::pair<const char*, const char*>> events) {
    std::string s = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
    int uid = 0;
    for (const auto& e : events)
        s += "BEGIN:VEVENT\r\nUID:e" + std::to_string(++uid) +
             "\r\nDTSTAMP:20040101T000000Z\r\nDTSTART;VALUE=DATE:" + e.first + "\r\nSUMMARY:" +
             e.second + "\r\nEND:VEVENT\r\n";
    return s + "END:VCALENDAR\r\n";
}

class IcalCommands : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        g_boxes.clear();
        set_message_box_witness(witness);
    }
    // Closes the window and starts it again, afresh, over a settings file of these bytes.
    void reopen(const std::string& file_bytes) {
        close();
        reset_program_globals();
        set_clock_source(fixed_clock);
        set_message_box_witness(witness);
        open(file_bytes);
    }

    // Runs the command: its chooser answered with file (empty: cancelled), then the message
    // box (when one is expected) with OK. Returns the chooser's caption.
    std::string run(int cmd, const std::string& file, bool box_expected = true) {
        std::string caption;
        std::vector<ModalDriver::Step> steps = {[&](HWND dlg) {
            caption = text_of(dlg);
            chooser_owner_ = GetWindow(dlg, GW_OWNER);
            proposed_ = text_of(file_name_field(dlg));
            if (file.empty())
                PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            else
                choose_in_file_dialog(dlg, file.c_str());
        }};
        if (box_expected)
            steps.push_back(ModalDriver::on_dialog(
                "Tavelspore", [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDOK, 0); }));
        ModalDriver driver(std::move(steps));
        driver.run([&] { return command(cmd); });
        return caption;
    }

    HWND chooser_owner_ = nullptr;
    std::string proposed_;  // the file name the chooser showed
};

// The two items follow 詳細設定(&C)... below a separator of their own.
TEST_F(IcalCommands, MenuItemsFollowTheDetailedSettings) {
    open("");
    HMENU sub = GetSubMenu(menu(), 1);
    const int at = menu_position(sub, CMD_DETAILED_SETTINGS);
    ASSERT_GE(at, 0);
    ASSERT_EQ(GetMenuItemCount(sub), at + 6);
    EXPECT_TRUE(GetMenuState(sub, at + 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(sub, at + 2), UINT(CMD_ICS_EXPORT));
    EXPECT_EQ(GetMenuItemID(sub, at + 3), UINT(CMD_ICS_IMPORT));
    EXPECT_EQ(GetMenuItemID(sub, at + 4), UINT(CMD_SYNC_SETTINGS));  // the calendar sync's
    EXPECT_EQ(GetMenuItemID(sub, at + 5), UINT(CMD_SUBSCRIPTIONS));
    EXPECT_EQ(menu_text(menu(), CMD_SUBSCRIPTIONS), "カレンダーの購読(&B)...");
    EXPECT_EQ(menu_text(menu(), CMD_ICS_EXPORT), "iCalendar形式で書き出す(&E)...");
    EXPECT_EQ(menu_text(menu(), CMD_ICS_IMPORT), "iCalendar形式を読み込む(&I)...");
    EXPECT_EQ(menu_text(menu(), CMD_SYNC_SETTINGS), "同期の設定(&Y)...");
    // Sync now right after the month reset, grey without an account.
    const int reset = menu_position(menu(), CMD_RESET_MONTH);
    ASSERT_GE(reset, 0);
    EXPECT_EQ(GetMenuItemID(menu(), reset + 1), UINT(CMD_SYNC_NOW));
    EXPECT_EQ(menu_text(menu(), CMD_SYNC_NOW), "今すぐ同期(&N)");
    EXPECT_TRUE(GetMenuState(menu(), CMD_SYNC_NOW, MF_BYCOMMAND) & MF_GRAYED);
}

// Every entry with a day is written; the message counts them and the one without a day. The
// next chooser starts at the file chosen, and the settings file keeps its folder for later runs.
TEST_F(IcalCommands, ExportWritesTheScheduleAndSaysWhat) {
    open("[Schedule]\r\nschedulecount=3\r\nschedule001=2004052000歯医者\r\n"
         "schedule002=0000051110誕生日\r\nschedule003=0000059900無い日\r\n");
    const std::string caption = run(CMD_ICS_EXPORT, dir_ + "out");
    EXPECT_EQ(caption, "Tavelspore - iCalendar形式で書き出す (メモは暗号化されずに書き出されます)");
    EXPECT_EQ(chooser_owner_, hwnd_);
    EXPECT_EQ(proposed_, "Tavelspore.ics");
    const std::string ics = get_file(dir_ + "out.ics");  // the extension added
    EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\n", 0), 0u) << ics;
    EXPECT_NE(ics.find(u8"SUMMARY:歯医者\r\n"), std::string::npos) << ics;
    EXPECT_NE(ics.find(u8"SUMMARY:誕生日\r\n"), std::string::npos) << ics;
    EXPECT_EQ(ics.find(u8"無い日"), std::string::npos) << ics;
    const std::string folder = "IcalFolder=" + dir_.substr(0, dir_.size() - 1) + "\r\n";
    EXPECT_NE(get_file(path_).find(folder), std::string::npos) << get_file(path_);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], "2 件の予定を書き出しました。\n日付の定まらない予定 1 件は書き出していません。");

    // Cancelled: nothing written, nothing said; the chooser proposed the file of before.
    DeleteFileA((dir_ + "out.ics").c_str());
    run(CMD_ICS_EXPORT, "", false);
    EXPECT_EQ(proposed_, "out.ics");
    EXPECT_EQ(GetFileAttributesA((dir_ + "out.ics").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(g_boxes.size(), 1u);
}

// Each import ends in one message; the list and the settings file change only when an event
// was added, and then the file is written with the list in its order.
TEST_F(IcalCommands, ImportAddsWhatIsNewAndSavesOnce) {
    const std::string start = "[Schedule]\r\nschedulecount=1\r\nschedule001=2004052000歯医者\r\n";
    struct Case {
        const char* name;
        std::string file;  // the bytes of the chosen file; "" leaves it missing
        int count;         // entries afterwards
        const char* line;  // a line the settings file holds afterwards; nullptr: left as it was
        const char* said;
    } cases[] = {
        {"one new, one there", calendar({{"20040610", u8"会議"}, {"20040520", u8"歯医者"}}), 2,
         "schedule002=2004061000会議\r\n",
         "2 件の予定を読み込みました。\n\n追加した予定: 1 件\n登録済みの予定: 1 件\n"
         "変更して追加した予定: 0 件\n追加しなかった予定: 0 件"},
        {"nothing new", calendar({{"20040520", u8"歯医者"}}), 1, nullptr,
         "1 件の予定を読み込みました。\n\n追加した予定: 0 件\n登録済みの予定: 1 件\n"
         "変更して追加した予定: 0 件\n追加しなかった予定: 0 件"},
        {"not a calendar", "Subject: hello\r\n\r\nBEGIN:VEVENT\r\n", 1, nullptr,
         "iCalendar形式のファイルではないため、読み込めませんでした。"},
        {"missing", "", 1, nullptr, "ファイルを読み込めませんでした。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopen(start);
        const std::string before = get_file(path_);
        const std::string ics = dir_ + "in.ics";
        DeleteFileA(ics.c_str());
        if (!c.file.empty()) put_file(ics, c.file);
        g_boxes.clear();
        const std::string caption = run(CMD_ICS_IMPORT, ics);
        EXPECT_EQ(caption, "Tavelspore - iCalendar形式を読み込む");
        EXPECT_EQ(chooser_owner_, hwnd_);
        EXPECT_EQ(schedule.count, c.count);
        const std::string after = get_file(path_);
        if (c.line) {
            EXPECT_NE(after.find(c.line), std::string::npos) << after;
            // The folder is kept with the save, for the choosers of later runs.
            EXPECT_NE(after.find("IcalFolder=" + dir_.substr(0, dir_.size() - 1) + "\r\n"),
                      std::string::npos)
                << after;
        } else
            EXPECT_EQ(after, before);
        ASSERT_EQ(g_boxes.size(), 1u);
        EXPECT_EQ(g_boxes[0], c.said);
    }
}

// A settings file that cannot be written is told in the import's own message, and the
// entries stay in the list for the next save.
TEST_F(IcalCommands, ImportTellsAFailedSaveInItsMessage) {
    const std::string missing = dir_ + "no such folder\\tester.cfg";
    open("", missing.c_str());
    put_file(dir_ + "in.ics", calendar({{"20040610", u8"会議"}}));
    run(CMD_ICS_IMPORT, dir_ + "in.ics");
    EXPECT_EQ(schedule.count, 1);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0],
              "1 件の予定を読み込みました。\n\n追加した予定: 1 件\n登録済みの予定: 0 件\n"
              "変更して追加した予定: 0 件\n追加しなかった予定: 0 件\n\n"
              "設定ファイルに保存できませんでした。");
}

// While the schedule dialog edits the list in place (the tray menu reaches the window then),
// an import does not start.
TEST_F(IcalCommands, NoImportWhileTheScheduleDialogIsOpen) {
    open("");
    main_state.schedule_dialog_open = true;
    auto closer = ModalDriver::pressing_ok();
    command(CMD_ICS_IMPORT);
    EXPECT_EQ(closer.dialogs_seen(), 0);
    main_state.schedule_dialog_open = false;
}

}  // namespace
