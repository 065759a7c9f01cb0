// The frame every dialog runs through: the record handed over and found again for every
// message, the typed result (and the preset one when the dialog cannot run), the shared close
// handling, messages seen before the frame's own handling, nested and modeless dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"
#include "tests/win/dialog_input.h"
#include "tests/win/modal_driver.h"

namespace {

using win_test::ModalDriver;

constexpr int kSwallowed = 1234;  // a command message() takes before command() could
constexpr int kOpenInner = 555;   // opens a second dialog over the first

// A dialog over the About template that notes what reaches it; OK ends it with 42.
struct Probe : DialogRecord<int> {
    static constexpr int kTemplate = IDD_ABOUT;
    HWND dlg = nullptr;
    int inits = 0;
    bool found_at_init = false;
    std::vector<int> commands;
    Probe* outer = nullptr;     // the record of the dialog it was opened over
    Probe* inner = nullptr;     // a record to open over this one on kOpenInner
    bool ncdestroy_seen = false;

    INT_PTR init(HWND d) {
        dlg = d;
        ++inits;
        found_at_init = dialog_state<Probe>(d) == this;
        // The window's own user data stays free for whoever owns the procedure.
        SetWindowLongPtrA(d, DWLP_USER, 0x1234);
        if (HWND owner = GetWindow(d, GW_OWNER)) outer = dialog_state<Probe>(owner);
        return TRUE;
    }
    INT_PTR command(HWND d, int id, int) {
        commands.push_back(id);
        if (id == kOpenInner && inner) run_dialog(d, *inner);
        if (id == IDOK) end_dialog(d, *this, 42);
        return TRUE;
    }
    INT_PTR message(HWND, UINT msg, WPARAM wp, LPARAM) {
        if (msg == WM_NCDESTROY) ncdestroy_seen = true;
        return msg == WM_COMMAND && LOWORD(wp) == kSwallowed;
    }
};

struct ProbeRunsOk : Probe {
    static constexpr DialogClose kClose = DialogClose::kRunsOk;
};

struct Missing : Probe {
    static constexpr int kTemplate = 9999;  // no such template
};

ModalDriver::Step post(UINT msg, WPARAM wp) {
    return [msg, wp](HWND dlg) { PostMessageA(dlg, msg, wp, 0); };
}

template <class T>
int run(T& record, std::vector<ModalDriver::Step> steps) {
    ModalDriver driver(std::move(steps));
    return driver.run([&] { return run_dialog(nullptr, record); });
}

TEST(DialogFrame, RecordKeptTypedResultAndMessagesFirst) {
    Probe p;
    p.result = -1;
    const int r = run(p, {post(WM_COMMAND, kSwallowed), post(WM_COMMAND, IDC_ABOUT_TEXT),
                          post(WM_COMMAND, IDOK)});
    EXPECT_EQ(r, 42);
    EXPECT_EQ(p.result, 42);
    EXPECT_EQ(p.inits, 1);
    EXPECT_TRUE(p.found_at_init);
    EXPECT_EQ(p.commands, (std::vector<int>{IDC_ABOUT_TEXT, IDOK})) << "message() took 1234";
    EXPECT_TRUE(p.ncdestroy_seen);
}

TEST(DialogFrame, SystemCloseByKind) {
    // Alt+F4 runs OK where there is no cancel; elsewhere it is the system's Esc (command 2),
    // which this dialog ignores until OK comes.
    {
        ProbeRunsOk p;
        EXPECT_EQ(run(p, {post(WM_SYSCOMMAND, SC_CLOSE)}), 42);
        ASSERT_FALSE(p.commands.empty());
        EXPECT_EQ(p.commands[0], IDOK);
    }
    {
        Probe p;
        EXPECT_EQ(run(p, {post(WM_SYSCOMMAND, SC_CLOSE), post(WM_COMMAND, IDOK)}), 42);
        EXPECT_EQ(p.commands, (std::vector<int>{IDCANCEL, IDOK}));
    }
}

TEST(DialogFrame, ADialogThatCannotRunGivesThePresetResult) {
    Missing m;
    m.result = 7;
    EXPECT_EQ(run_dialog(nullptr, m), 7);
    EXPECT_EQ(m.inits, 0);
}

TEST(DialogFrame, NestedDialogsEachFindTheirOwnRecord) {
    Probe outer, inner;
    outer.inner = &inner;
    const int r = run(outer, {post(WM_COMMAND, kOpenInner), post(WM_COMMAND, IDOK),
                              post(WM_COMMAND, IDOK)});
    EXPECT_EQ(r, 42);
    EXPECT_EQ(inner.result, 42);
    EXPECT_EQ(inner.outer, &outer);
    EXPECT_NE(inner.dlg, outer.dlg);
    EXPECT_EQ(outer.commands, (std::vector<int>{kOpenInner, IDOK}));
    EXPECT_EQ(inner.commands, (std::vector<int>{IDOK}));
}

TEST(DialogFrame, ModelessRecordLivesWithTheWindow) {
    Probe p;
    HWND w = open_modeless_dialog(nullptr, p);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(p.dlg, w);
    EXPECT_EQ(dialog_state<Probe>(w), &p);
    SendMessageA(w, WM_COMMAND, IDC_ABOUT_TEXT, 0);
    EXPECT_EQ(p.commands, (std::vector<int>{IDC_ABOUT_TEXT}));
    DestroyWindow(w);
    EXPECT_TRUE(p.ncdestroy_seen);
    win_test::pump();
}

// Ending a modeless dialog destroys it (EndDialog would only hide it), from its own handler
// or from its owner; the same record then runs modally as any other.
TEST(DialogFrame, EndingAModelessDialogDestroysIt) {
    Probe p;
    p.result = -1;
    HWND w = open_modeless_dialog(nullptr, p);
    ASSERT_NE(w, nullptr);
    SendMessageA(w, WM_COMMAND, IDOK, 0);  // OK ends it with 42
    EXPECT_FALSE(IsWindow(w)) << "destroyed, not only hidden";
    EXPECT_EQ(p.result, 42);
    EXPECT_TRUE(p.ncdestroy_seen);

    Probe q;
    HWND v = open_modeless_dialog(nullptr, q);
    ASSERT_NE(v, nullptr);
    close_modeless_dialog(v, q, 7);
    EXPECT_FALSE(IsWindow(v));
    EXPECT_EQ(q.result, 7);
    EXPECT_EQ(run(q, {post(WM_COMMAND, IDOK)}), 42) << "run modally after";
    win_test::pump();
}

}  // namespace
