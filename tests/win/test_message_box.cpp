// The real message box and About box under the window manager: a thread timer
// finds the open dialog, checks its layout and controls, then presses keys or
// buttons, one scripted step per tick.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/about_box_win.h"
#include "dialogs/message_box_win.h"
#include "resources/resource.h"
#include "tests/win/modal_driver.h"
#include "tests/win/dialog_input.h"

namespace {

using win_test::text_of;

const char kCaption[] = "Tavelspore";
const char kOk[] = "OK";
const char kCancel[] = "ｷｬﾝｾﾙ";
const char kAbort[] = "中止";
const char kRetry[] = "再試行";
const char kIgnore[] = "無視";
const char kYes[] = "はい";
const char kNo[] = "いいえ";
const char kLine1[] = "スケジュールを編集中です";
const char kLine2[] = "スケジュール設定を終了しますか？";

using win_test::ModalDriver;

void post_key(HWND dlg, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus && IsChild(dlg, focus) ? focus : dlg;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void post_click(HWND dlg, int id) {
    HWND b = GetDlgItem(dlg, id);
    ASSERT_NE(b, nullptr) << "button " << id;
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

struct Button {
    int id;
    std::string label;
    RECT r;  // client coordinates of the dialog
    LONG style;
};

// What a box looks like: its measures (from the dummy button, as the box takes
// them), client size, window rectangle and visible buttons left to right.
struct Box {
    int bw, bh, mx, my, gap, lh;
    int cw, ch;
    RECT win;
    std::vector<Button> buttons;
    HWND dlg;
};

RECT client_rect_of(HWND dlg, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int text_width(HWND dlg, const char* s) {
    HFONT font = reinterpret_cast<HFONT>(
        SendMessageA(GetDlgItem(dlg, IDC_MSGBOX_DUMMY), WM_GETFONT, 0, 0));
    HDC dc = GetDC(dlg);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, s, int(std::strlen(s)), &size);
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
    return size.cx;
}

Box inspect(HWND dlg) {
    Box b = {};
    b.dlg = dlg;
    HWND dummy = GetDlgItem(dlg, IDC_MSGBOX_DUMMY);
    EXPECT_NE(dummy, nullptr);
    EXPECT_FALSE(IsWindowVisible(dummy));
    RECT d = client_rect_of(dlg, dummy);
    b.bw = d.right - d.left;
    b.bh = d.bottom - d.top;
    b.mx = d.left;
    b.my = d.top;
    b.gap = b.mx / 2;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dummy, WM_GETFONT, 0, 0));
    HDC dc = GetDC(dlg);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, "Mj", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
    b.lh = size.cy + 2;
    RECT c;
    GetClientRect(dlg, &c);
    b.cw = c.right;
    b.ch = c.bottom;
    GetWindowRect(dlg, &b.win);
    for (HWND w = GetWindow(dlg, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w)) continue;
        b.buttons.push_back({GetDlgCtrlID(w), text_of(w), client_rect_of(dlg, w),
                             GetWindowLongA(w, GWL_STYLE)});
        EXPECT_EQ(SendMessageA(w, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    }
    std::sort(b.buttons.begin(), b.buttons.end(),
              [](const Button& x, const Button& y) { return x.r.left < y.r.left; });
    return b;
}

struct Label {
    int id;
    const char* text;
};

// Buttons in a row at the bottom, bw x bh, gap apart, centred, labelled and
// numbered as expected, the first the default button.
void expect_buttons(const Box& b, std::vector<Label> want) {
    ASSERT_EQ(b.buttons.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const Button& x = b.buttons[i];
        EXPECT_EQ(x.id, want[i].id) << i;
        EXPECT_EQ(x.label, want[i].text) << i;
        EXPECT_EQ(x.r.right - x.r.left, b.bw) << i;
        EXPECT_EQ(x.r.bottom - x.r.top, b.bh) << i;
        EXPECT_EQ(x.r.top, b.ch - b.my - b.bh) << i;
        EXPECT_EQ(x.style & 0x0F, i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) << i;
        EXPECT_TRUE(x.style & WS_TABSTOP) << i;
        if (i > 0) {
            EXPECT_NEAR(x.r.left - b.buttons[i - 1].r.right, b.gap, 1) << i;
        }
    }
    const int mid = (b.buttons.front().r.left + b.buttons.back().r.right) / 2;
    EXPECT_NEAR(mid, b.cw / 2, 1);
}

int buttons_width(const Box& b, int places) { return 2 * b.mx + (places - 1) * b.gap + places * b.bw; }

}  // namespace

TEST(MessageBoxDialog, YesNoStaysOpenOnEscapeAndCloseBox) {
    ModalDriver s({
        [](HWND dlg) {
            EXPECT_EQ(text_of(dlg), kCaption);
            Box b = inspect(dlg);
            expect_buttons(b, {{IDYES, kYes}, {IDNO, kNo}});
            EXPECT_EQ(GetDlgItem(dlg, IDCANCEL), nullptr);
            post_key(dlg, VK_ESCAPE);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg)) << "Escape must not end a Yes/No box";
            PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg)) << "the close box must not end a Yes/No box";
            PostMessageA(dlg, WM_CLOSE, 0, 0);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg));
            post_click(dlg, IDNO);
        },
    });
    int r = s.run([] { return message_box(nullptr, "question", kCaption, MB_YESNO | MB_ICONQUESTION); });
    EXPECT_EQ(r, IDNO);
}

TEST(MessageBoxDialog, EscapeAndCloseBoxAnswerCancelWhereThereIsOne) {
    struct Case {
        UINT flags;
        bool close_box;  // else Escape
        std::vector<Label> buttons;
    } cases[] = {
        {MB_OKCANCEL, false, {{IDOK, kOk}, {IDCANCEL, kCancel}}},
        {MB_OKCANCEL, true, {{IDOK, kOk}, {IDCANCEL, kCancel}}},
        {MB_YESNOCANCEL, false, {{IDYES, kYes}, {IDNO, kNo}, {IDCANCEL, kCancel}}},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, true, {{IDYES, kYes}, {IDNO, kNo}, {IDCANCEL, kCancel}}},
        {MB_RETRYCANCEL, false, {{IDRETRY, kRetry}, {IDCANCEL, kCancel}}},
    };
    for (const auto& c : cases) {
        ModalDriver s({[&c](HWND dlg) {
            expect_buttons(inspect(dlg), c.buttons);
            if (c.close_box) PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            else post_key(dlg, VK_ESCAPE);
        }});
        int r = s.run([&c] { return message_box(nullptr, "text", kCaption, c.flags); });
        EXPECT_EQ(r, IDCANCEL) << c.flags << (c.close_box ? " close box" : " Escape");
    }
}

TEST(MessageBoxDialog, EnterPressesTheFirstButtonAndButtonsAnswerTheirIds) {
    struct Case {
        UINT flags;
        int press;  // 0: Enter
        int result;
    } cases[] = {
        {MB_OK, 0, IDOK},
        {MB_YESNO, 0, IDYES},
        {MB_ABORTRETRYIGNORE, 0, IDABORT},
        {MB_ABORTRETRYIGNORE, IDIGNORE, IDIGNORE},
        {MB_YESNOCANCEL, IDNO, IDNO},
        {MB_RETRYCANCEL, IDRETRY, IDRETRY},
        {MB_OKCANCEL | MB_ICONHAND, IDOK, IDOK},
    };
    for (const auto& c : cases) {
        ModalDriver s({[&c](HWND dlg) {
            if (c.press) post_click(dlg, c.press);
            else post_key(dlg, VK_RETURN);
        }});
        int r = s.run([&c] { return message_box(nullptr, "text", kCaption, c.flags); });
        EXPECT_EQ(r, c.result) << c.flags << " " << c.press;
    }
}

TEST(MessageBoxDialog, OkBoxIgnoresEscapeAndIsAsWideAsTwoButtons) {
    ModalDriver s({
        [](HWND dlg) {
            Box b = inspect(dlg);
            expect_buttons(b, {{IDOK, kOk}});
            EXPECT_EQ(b.cw, buttons_width(b, 2));
            EXPECT_EQ(b.ch, 3 * b.my + b.lh + b.bh);
            char cls[16] = "";
            GetClassNameA(GetDlgItem(dlg, IDOK), cls, sizeof cls);
            EXPECT_STRCASEEQ(cls, "Button");
            post_key(dlg, VK_ESCAPE);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg));
            post_click(dlg, IDOK);
        },
    });
    EXPECT_EQ(s.run([] { return message_box(nullptr, "a", kCaption, MB_OK); }), IDOK);
}

TEST(MessageBoxDialog, ThreeButtonBoxIsWideEnoughForItsButtons) {
    ModalDriver s({
        [](HWND dlg) {
            Box b = inspect(dlg);
            expect_buttons(b, {{IDABORT, kAbort}, {IDRETRY, kRetry}, {IDIGNORE, kIgnore}});
            EXPECT_EQ(b.cw, buttons_width(b, 3));
            EXPECT_GE(b.buttons.front().r.left, b.mx - 1);
            EXPECT_LE(b.buttons.back().r.right, b.cw - b.mx + 1);
            post_key(dlg, VK_ESCAPE);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg)) << "Abort/Retry/Ignore has no Cancel";
            post_click(dlg, IDRETRY);
        },
    });
    EXPECT_EQ(s.run([] { return message_box(nullptr, "a", kCaption, MB_ABORTRETRYIGNORE); }),
              IDRETRY);
}

TEST(MessageBoxDialog, SizeFollowsTheLinesOfTheText) {
    const std::string two = std::string(kLine1) + "\n" + kLine2;
    const std::string doubled = std::string(kLine1) + "\n\n" + kLine2 + "\n";
    std::string many;
    std::vector<std::string> first20;
    for (int i = 0; i < 25; ++i) {
        many += "line " + std::to_string(i) + "\n";
        if (i < 20) first20.push_back("line " + std::to_string(i));
    }
    const std::string wide(60, 'W');
    struct Case {
        const char* what;
        std::string text;
        int lines;
        std::vector<std::string> measured;  // lines whose width decides
    } cases[] = {
        {"two lines", two, 2, {kLine1, kLine2}},
        {"a double line feed adds no blank line", doubled, 2, {kLine1, kLine2}},
        {"at most twenty lines", many, 20, first20},
        {"empty text is one empty line", "", 1, {""}},
        {"a long line widens the box", wide, 1, {wide}},
    };
    for (const auto& c : cases) {
        ModalDriver s({[&c](HWND dlg) {
            Box b = inspect(dlg);
            int widest = 0;
            for (const auto& line : c.measured) widest = std::max(widest, text_width(dlg, line.c_str()) + 8);
            EXPECT_EQ(b.cw, std::max(widest + 2 * b.mx, buttons_width(b, 2))) << c.what;
            EXPECT_EQ(b.ch, 3 * b.my + c.lines * b.lh + b.bh) << c.what;
            expect_buttons(b, {{IDOK, kOk}, {IDCANCEL, kCancel}});
            post_click(dlg, IDOK);
        }});
        EXPECT_EQ(s.run([&c] { return message_box(nullptr, c.text.c_str(), kCaption, MB_OKCANCEL); }),
                  IDOK) << c.what;
    }
}

TEST(MessageBoxDialog, IconWidensAndHeightensTheBox) {
    const std::string wide(120, 'W');
    for (const std::string& text : {std::string("a"), wide}) {
        ModalDriver s({[&text](HWND dlg) {
            Box b = inspect(dlg);
            const int w = text_width(dlg, text.c_str()) + 8;
            EXPECT_EQ(b.cw, std::max(w + 2 * b.mx + b.mx + 32, buttons_width(b, 2))) << text.size();
            EXPECT_EQ(b.ch, std::max(3 * b.my + b.lh + b.bh, 3 * b.my + b.bh + 32)) << text.size();
            post_click(dlg, IDOK);
        }});
        s.run([&text] { return message_box(nullptr, text.c_str(), kCaption, MB_ICONEXCLAMATION); });
    }
}

namespace {

// A plain top-level window to own a box.
HWND make_owner(int x, int y, int w, int h) {
    return CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, w, h,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(MessageBoxDialog, CentredOverItsOwnerAndKeptOnTheScreen) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* what;
        RECT owner;  // empty: no owner
        bool at_right_edge;
    } cases[] = {
        {"centred over the owner", {100, 80, 700, 480}, false},
        {"owner near the right edge: moved left to end at the edge", {sw - 120, 200, sw + 180, 400}, true},
        {"no owner: centred on the screen", {0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        const bool has_owner = c.owner.right > c.owner.left;
        HWND owner = nullptr;
        if (has_owner) {
            owner = make_owner(c.owner.left, c.owner.top, c.owner.right - c.owner.left,
                               c.owner.bottom - c.owner.top);
            ASSERT_NE(owner, nullptr);
        }
        RECT area = has_owner ? c.owner : RECT{0, 0, sw, sh};
        ModalDriver s({[&](HWND dlg) {
            EXPECT_EQ(GetWindow(dlg, GW_OWNER), owner) << c.what;
            Box b = inspect(dlg);
            const int w = b.win.right - b.win.left, h = b.win.bottom - b.win.top;
            EXPECT_NEAR(b.win.top, area.top + (area.bottom - area.top) / 2 - h / 2, 0) << c.what;
            if (c.at_right_edge) {
                EXPECT_EQ(b.win.right, sw) << c.what;
            } else {
                EXPECT_EQ(b.win.left, area.left + (area.right - area.left) / 2 - w / 2) << c.what;
            }
            post_click(dlg, IDOK);
        }});
        s.run([&] { return message_box(owner, "over the owner", kCaption, MB_OK); });
        if (owner) {
            EXPECT_TRUE(IsWindowEnabled(owner)) << c.what;
            DestroyWindow(owner);
        }
    }
}

TEST(MessageBoxDialog, JapaneseCaptionArrivesAsCp932) {
    const std::string text = std::string(kLine1) + "\n" + kLine2;
    const char caption[] = "設定";
    ModalDriver s({[&](HWND dlg) {
        EXPECT_EQ(text_of(dlg), caption);
        post_click(dlg, IDYES);
    }});
    EXPECT_EQ(s.run([&] { return message_box(nullptr, text.c_str(), caption, MB_YESNO); }), IDYES);
}

TEST(AboutBox, ShowsVersionAndCopyrightLinesAndClosesOnAltF4) {
    ModalDriver s({
        [](HWND dlg) {
            EXPECT_EQ(text_of(dlg), "「Tavelspore」について");
            EXPECT_EQ(text_of(GetDlgItem(dlg, IDC_ABOUT_VERSION)), "Zelmar.exe Version 2.43");
            HWND edit = GetDlgItem(dlg, IDC_ABOUT_TEXT);
            char raw[1024] = "";
            LoadStringA(GetModuleHandleA(nullptr), IDS_COPYRIGHT, raw, sizeof raw);
            std::string want;
            for (const char* p = raw; *p; ++p) want += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
            EXPECT_EQ(text_of(edit), want);
            EXPECT_GE(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 3);
            EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
            post_key(dlg, VK_ESCAPE);
        },
        [](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg)) << "only OK and Alt+F4 close the About box";
            PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    s.run([] {
        about_box(nullptr);
        return 0;
    });
    EXPECT_FALSE(IsWindow(s.last_dialog()));
}

TEST(AboutBox, OkClosesIt) {
    ModalDriver s({[](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); }});
    s.run([] {
        about_box(nullptr);
        return 0;
    });
    EXPECT_FALSE(IsWindow(s.last_dialog()));
}

// An owner that is no window makes the dialog fail to run: the set's safe answer.
TEST(MessageBoxDialog, DialogThatCannotRunGivesThePresetResult) {
    struct { UINT flags; int preset; } cases[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_ABORTRETRYIGNORE, IDRETRY},
        {MB_YESNOCANCEL, IDCANCEL}, {MB_YESNO | MB_ICONQUESTION, IDNO}, {MB_RETRYCANCEL, IDCANCEL},
        {0x0F, IDOK},
    };
    HWND bogus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7777));
    ASSERT_FALSE(IsWindow(bogus));
    for (const auto& c : cases) {
        ModalDriver s;  // no steps: a box that did open would be closed by the time-out and fail
        int r = s.run([&] { return message_box(bogus, "x", kCaption, c.flags); });
        EXPECT_EQ(r, c.preset) << c.flags;
        EXPECT_EQ(s.last_dialog(), nullptr) << c.flags;
    }
}
