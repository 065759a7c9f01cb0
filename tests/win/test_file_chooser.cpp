// The file choosers driven through the real open-file dialog: the caption, the file name
// and folder it opens with, the filter list, and what OK and Cancel leave in the path.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>

#include "dialogs/file_chooser_win.h"
#include "resources/resource.h"
#include "tests/win/modal_driver.h"
#include "tests/win/win_scratch.h"

namespace {

// What the driver saw in the dialog and what it does there.
struct Script {
    std::string type_name;  // typed into the file name field before OK; empty: Cancel
    bool seen = false;
    std::string caption, file_name, folder;
    int filter_entries = 0;
    std::string first_filter;
};

// The file name field: a combo box in the current dialog, an edit in the older one.
HWND name_field(HWND dlg) {
    HWND combo = GetDlgItem(dlg, cmb13);
    return combo ? combo : GetDlgItem(dlg, edt1);
}

std::string text_of(HWND w) {
    char buf[512] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// Reads what the dialog shows, then types the name and presses OK, or cancels.
void answer(HWND dlg, Script& s) {
    s.seen = true;
    s.caption = text_of(dlg);
    s.file_name = text_of(name_field(dlg));
    char folder[MAX_PATH] = "";
    SendMessageA(dlg, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    s.folder = folder;
    HWND types = GetDlgItem(dlg, cmb1);
    s.filter_entries = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    char first[256] = "";
    if (s.filter_entries > 0) SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    s.first_filter = first;
    if (s.type_name.empty()) {
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetWindowTextA(name_field(dlg), s.type_name.c_str());
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }
}

// Runs the chooser with the driver answering the dialog.
template <class Call>
bool run_chooser(Script* script, Call call) {
    win_test::ModalDriver driver({[script](HWND dlg) { answer(dlg, *script); }});
    return driver.run(call);
}

class FileChooser : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = win_test::scratch_dir("chooser");
        win_test::put_file(dir_ + "a.wav", "RIFF");
        win_test::put_file(dir_ + "b.wav", "RIFF");
    }
    void TearDown() override { win_test::remove_tree(dir_); }
    std::string dir_;
};

TEST_F(FileChooser, OkReturnsTheTypedFileInItsFolder) {
    char path[300];
    lstrcpynA(path, (dir_ + "a.wav").c_str(), sizeof path);
    char filter[] = "Sounds|*.wav|All|*.*||";
    Script s;
    s.type_name = dir_ + "b.wav";
    ASSERT_TRUE(run_chooser(&s, [&] { return choose_file(nullptr, "Pick", path, sizeof path, filter, 1); }));
    ASSERT_TRUE(s.seen);
    EXPECT_EQ(s.caption, "Pick");
    EXPECT_NE(s.file_name.find("a.wav"), std::string::npos) << s.file_name;
    std::string want_folder = dir_.substr(0, dir_.size() - 1);
    EXPECT_EQ(lstrcmpiA(s.folder.c_str(), want_folder.c_str()), 0) << s.folder;
    EXPECT_EQ(s.filter_entries, 2);
    EXPECT_EQ(lstrcmpiA(path, (dir_ + "b.wav").c_str()), 0) << path;
}

TEST_F(FileChooser, CancelLeavesThePath) {
    char path[300];
    lstrcpynA(path, (dir_ + "a.wav").c_str(), sizeof path);
    const std::string before = path;
    char filter[] = "Sounds|*.wav||";
    Script s;
    EXPECT_FALSE(run_chooser(&s, [&] { return choose_file(nullptr, "Pick", path, sizeof path, filter, 1); }));
    EXPECT_TRUE(s.seen);
    EXPECT_EQ(before, path);
}

TEST_F(FileChooser, SoundChooserUsesItsStrings) {
    char path[300] = "";
    Script s;
    s.type_name = dir_ + "a.wav";
    ASSERT_TRUE(run_chooser(&s, [&] {
        return choose_file_from_resources(nullptr, IDS_SOUND_TITLE, path, sizeof path,
                                          IDS_SOUND_FILTER, 1);
    }));
    EXPECT_EQ(s.caption, "Tavelspore - ｻｳﾝﾄﾞﾌｧｲﾙの指定");
    EXPECT_EQ(s.file_name, "");
    EXPECT_EQ(s.filter_entries, 2);
    EXPECT_EQ(s.first_filter, "ｻｳﾝﾄﾞﾌｧｲﾙ");
    EXPECT_EQ(lstrcmpiA(path, (dir_ + "a.wav").c_str()), 0) << path;
}

}  // namespace
