// The file choosers driven through the real open-file and save-file dialogs: the caption,
// the file name and folder they open with, the filter list, and what OK and Cancel leave in
// the path; the save chooser's extension and its question before a file is replaced.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/file_chooser_win.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "tests/win/file_dialog_input.h"
#include "tests/win/modal_driver.h"
#include "tests/win/win_scratch.h"
#include "tests/win/dialog_input.h"

namespace {

using win_test::text_of;

// What the driver saw in the dialog and what it does there.
struct Script {
    std::string type_name;  // typed into the file name field before OK; empty: Cancel
    bool seen = false;
    std::string caption, file_name, folder;
    int filter_entries = 0;
    std::string first_filter;
};

// Reads what the dialog shows, then types the name and presses OK, or cancels.
void answer(HWND dlg, Script& s) {
    s.seen = true;
    s.caption = text_of(dlg);
    s.file_name = text_of(win_test::file_name_field(dlg));
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
        win_test::choose_in_file_dialog(dlg, s.type_name.c_str());
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

// The save chooser: the file proposed, the extension a bare name gets, and a file that
// exists replaced only after a yes.
TEST_F(FileChooser, SaveChooserAddsTheExtensionAndAsksBeforeReplacing) {
    win_test::put_file(dir_ + "old.ics", "keep");
    using win_test::ModalDriver;
    struct Case {
        const char* last;   // the file chosen before, in the scratch folder ("" none)
        const char* typed;  // in the scratch folder
        int answer;         // to the question before replacing; 0: no question expected
        bool chosen;
        const char* path;   // afterwards, in the scratch folder ("" empty)
    } cases[] = {
        {"", "new", 0, true, "new.ics"},
        {"", "notes.txt", 0, true, "notes.txt"},       // an extension typed stays
        {"old.ics", "old.ics", IDYES, true, "old.ics"},
        {"old.ics", "old", IDYES, true, "old.ics"},     // with the extension added it exists
        {"", "old.ics", IDNO, false, ""},               // no: back in the chooser, which cancels
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        char path[MAX_PATH] = "";
        if (*c.last) lstrcpynA(path, (dir_ + c.last).c_str(), sizeof path);
        char filter[sizeof kIcalFilter + 1] = {};
        lstrcpyA(filter, kIcalFilter);
        Script s;
        HWND chooser = nullptr;
        bool asked = false;
        const std::string typed = dir_ + c.typed;
        std::vector<ModalDriver::Step> steps = {[&](HWND dlg) {
            chooser = dlg;
            s.type_name = typed;
            answer(dlg, s);
        }};
        auto other = [&chooser](HWND dlg) { return dlg != chooser; };
        if (c.answer)
            steps.push_back(ModalDriver::when(other, [&](HWND dlg) {
                asked = true;
                PostMessageA(dlg, WM_COMMAND, c.answer, 0);
            }));
        if (c.answer == IDNO)
            steps.push_back(ModalDriver::when([&chooser](HWND dlg) { return dlg == chooser; },
                                              [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); }));
        ModalDriver driver(std::move(steps));
        const bool chosen = driver.run([&] {
            return choose_save_file(nullptr, kIcalExportTitle, path, sizeof path, kIcalDefaultName,
                                    filter, 1);
        });
        EXPECT_EQ(chosen, c.chosen);
        EXPECT_EQ(asked, c.answer != 0);
        EXPECT_EQ(s.caption, kIcalExportTitle);
        EXPECT_EQ(s.file_name, *c.last ? c.last : "Tavelspore.ics");
        if (*c.last) EXPECT_EQ(lstrcmpiA(s.folder.c_str(), dir_.substr(0, dir_.size() - 1).c_str()), 0) << s.folder;
        EXPECT_EQ(s.filter_entries, 1);
        EXPECT_EQ(s.first_filter, "iCalendar (*.ics)");
        const std::string want = *c.path ? dir_ + c.path : "";
        EXPECT_EQ(lstrcmpiA(path, want.c_str()), 0) << path;
        EXPECT_EQ(win_test::get_file(dir_ + "old.ics"), "keep");  // the chooser writes nothing
    }
}

// The iCalendar choosers with no file chosen yet in the run open in the folder remembered from
// an earlier run, or in Documents when none is; a file chosen in the run leads.
TEST_F(FileChooser, IcalChoosersOpenInTheRememberedFolderOrDocuments) {
    char documents[MAX_PATH] = "";
    documents_folder(documents, sizeof documents);
    ASSERT_TRUE(documents[0]) << "the system names no Documents folder";
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    EXPECT_NE(std::string(program).find(documents), 0u) << "Documents is the program's folder";
    const std::string here = dir_.substr(0, dir_.size() - 1);
    const std::string other = win_test::scratch_dir("chooser_other");
    struct Case {
        std::string path, remembered, folder;
    } cases[] = {
        {"", "", documents},
        {"", dir_, here},
        {other + "x.ics", dir_, other.substr(0, other.size() - 1)},
    };
    for (const Case& c : cases) {
        for (bool save : {false, true}) {
            char path[MAX_PATH];
            lstrcpynA(path, c.path.c_str(), sizeof path);
            char filter[sizeof kIcalFilter + 1] = {};
            lstrcpynA(filter, kIcalFilter, sizeof filter);
            Script s;  // cancelled once seen
            run_chooser(&s, [&] {
                return save ? choose_save_file(nullptr, kIcalExportTitle, path, sizeof path,
                                               kIcalDefaultName, filter, 1, c.remembered.c_str())
                            : choose_file(nullptr, kIcalImportTitle, path, sizeof path, filter, 1,
                                          c.remembered.c_str());
            });
            ASSERT_TRUE(s.seen);
            EXPECT_EQ(lstrcmpiA(s.folder.c_str(), c.folder.c_str()), 0)
                << (save ? "save: " : "open: ") << c.path << " | " << c.remembered << " gave "
                << s.folder;
        }
    }
    win_test::remove_tree(other);
}

}  // namespace
