// The resources linked into the program, read back through the ANSI functions
// the program uses (so every Japanese text must arrive as its code page 932
// bytes), and the raw templates the resource compiler produced.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/win/dialog_input.h"

namespace {

HINSTANCE inst() { return GetModuleHandleA(nullptr); }

const char kVersion[] = "Zelmar.exe Version 2.43";
const char kCopyright[] =
    "Tavelspore デスクトップカレンダー\n"
    "Copyright (C) 2026 Tavelspore の開発者\n"
    "使い方は README.txt をご覧ください";
const char kDialogFont[] = "ＭＳ Ｐゴシック";

// One menu item: its command (0 for a separator, -1 for a submenu) and text.
struct Item {
    int id;
    const char* text;
};

const Item kSettingsMenu[] = {
    {CMD_DISPLAY_MONTH, "表示月(&D)..."},
    {CMD_SCHEDULE, "スケジュール(&S)..."},
    {CMD_FONT, "フォント(&F)..."},
    {0, ""},
    {CMD_ALWAYS_ON_TOP, "つねに手前に表示(&T)"},
    {CMD_NO_TITLE_BAR, "タイトルバーなし(&N)"},
    {0, ""},
    {CMD_DETAILED_SETTINGS, "詳細設定(&C)..."},
};

const Item kMainMenu[] = {
    {CMD_RECENT, "最近の予定(&T)..."},
    {-1, "設定(&S)"},
    {CMD_RESET_MONTH, "表示月リセット(&R)"},
    {0, ""},
    {CMD_RESTORE_POSITION, "位置の復帰(&I)"},
    {CMD_SAVE_POSITION, "位置の保存(&P)"},
    {CMD_HIDE_SHOW, "非表示(&D)"},
    {CMD_CLOSE_MENU, "メニューの終了(&Q)"},
    {0, ""},
    {CMD_ABOUT, "Tavelspore について(&A)..."},
    {CMD_EXIT, "Tavelspore の終了(&X)"},
};

void expect_menu(HMENU menu, const Item* items, int count, const char* where) {
    ASSERT_EQ(GetMenuItemCount(menu), count) << where;
    for (int pos = 0; pos < count; ++pos) {
        const Item& it = items[pos];
        const UINT state = GetMenuState(menu, pos, MF_BYPOSITION);
        if (it.id == 0) {
            EXPECT_TRUE(state & MF_SEPARATOR) << where << " " << pos;
            continue;
        }
        EXPECT_EQ(state & (MF_CHECKED | MF_GRAYED | MF_DISABLED), 0u) << where << " " << pos;
        char text[128] = "";
        GetMenuStringA(menu, pos, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), it.text) << where << " " << pos;
        if (it.id == -1) {
            EXPECT_NE(GetSubMenu(menu, pos), nullptr) << where << " " << pos;
        } else {
            EXPECT_EQ(GetMenuItemID(menu, pos), UINT(it.id)) << where << " " << pos;
        }
    }
}

// Converts a UTF-16 resource string to code page 932; false when a character
// has no code page 932 form (what a wrongly decoded source file would give).
bool to_cp932(const WCHAR* w, std::string* out) {
    char buf[512];
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(932, 0, w, -1, buf, sizeof buf, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    *out = buf;
    return true;
}

const void* raw_resource(int id, LPCSTR type, DWORD* size) {
    HRSRC r = FindResourceA(inst(), MAKEINTRESOURCEA(id), type);
    if (!r) return nullptr;
    HGLOBAL g = LoadResource(inst(), r);
    if (!g) return nullptr;
    *size = SizeofResource(inst(), r);
    return LockResource(g);
}

// Walks a standard menu template; appends (id or -1 for a popup, text) in order.
const WORD* walk_menu(const WORD* p, const WORD* end, std::vector<std::pair<int, std::string>>* out,
                      int depth) {
    for (;;) {
        if (p >= end) return end;
        const WORD flags = *p++;
        int id = -1;
        if (!(flags & MF_POPUP)) id = *p++;
        const WCHAR* text = reinterpret_cast<const WCHAR*>(p);
        while (p < end && *p) ++p;
        ++p;
        std::string s;
        if (!to_cp932(text, &s)) s = "<not code page 932>";
        out->push_back({flags & MF_POPUP ? -1 : id, std::string(depth, '>') + s});
        if (flags & MF_POPUP) p = walk_menu(p, end, out, depth + 1);
        if (flags & MF_END) return p;
    }
}

}  // namespace

TEST(Resources, VersionAndCopyrightStrings) {
    char buf[1024];
    ASSERT_GT(LoadStringA(inst(), IDS_VERSION, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, kVersion);
    ASSERT_GT(LoadStringA(inst(), IDS_COPYRIGHT, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, kCopyright);
}

TEST(Resources, MainMenuTextsIdsAndStates) {
    HMENU menu = LoadMenuA(inst(), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    expect_menu(menu, kMainMenu, sizeof kMainMenu / sizeof kMainMenu[0], "menu 210");
    HMENU sub = GetSubMenu(menu, 1);
    ASSERT_NE(sub, nullptr);
    expect_menu(sub, kSettingsMenu, sizeof kSettingsMenu / sizeof kSettingsMenu[0], "settings submenu");
    DestroyMenu(menu);
}

// The compiled menu template itself: every text must be the UTF-16 form of the
// expected code page 932 bytes, so the resource script was read as UTF-8.
TEST(Resources, CompiledMenuTemplateHoldsTheCp932Texts) {
    DWORD size = 0;
    const WORD* p = static_cast<const WORD*>(raw_resource(IDM_MAIN, MAKEINTRESOURCEA(4), &size));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p[0], 0) << "standard menu template";
    const WORD* end = p + size / 2;
    std::vector<std::pair<int, std::string>> got;
    walk_menu(p + 2 + p[1] / 2, end, &got, 0);

    std::vector<std::pair<int, std::string>> want;
    for (const Item& it : kMainMenu) {
        want.push_back({it.id, it.text});
        if (it.id == -1)
            for (const Item& s : kSettingsMenu) want.push_back({s.id, std::string(">") + s.text});
    }
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].first, want[i].first) << i;
        EXPECT_EQ(got[i].second, want[i].second) << i;
    }
}

namespace {

struct DialogItem {
    DWORD style;
    int x, y, cx, cy, id;
    std::string cls;    // lower case: "button", "edit", "static" (stored as ordinal or name)
    std::string title;  // text, or "#n" for an ordinal (a resource id)
};

struct DialogHeader {
    DWORD style;
    int x, y, cx, cy, items;
    std::string caption, face;
    int points;
    std::vector<DialogItem> controls;
};

const WORD* skip_string(const WORD* w) {
    while (*w) ++w;
    return w + 1;
}

const WORD* align4(const BYTE* base, const WORD* w) {
    const size_t off = reinterpret_cast<const BYTE*>(w) - base;
    return reinterpret_cast<const WORD*>(base + ((off + 3) & ~size_t(3)));
}

// Reads the header of a DLGTEMPLATE (not DLGTEMPLATEEX) resource.
bool read_dialog(int id, DialogHeader* h) {
    DWORD size = 0;
    const BYTE* p = static_cast<const BYTE*>(raw_resource(id, MAKEINTRESOURCEA(5), &size));
    if (!p || size < sizeof(DLGTEMPLATE)) return false;
    DLGTEMPLATE t;
    std::memcpy(&t, p, sizeof t);
    if (HIWORD(t.style) == 0xFFFF) return false;  // extended template
    h->style = t.style;
    h->x = t.x;
    h->y = t.y;
    h->cx = t.cx;
    h->cy = t.cy;
    h->items = t.cdit;
    const WORD* w = reinterpret_cast<const WORD*>(p + 18);
    for (int skip = 0; skip < 2; ++skip) {  // menu, class: none (0) or ordinal (0xFFFF, n)
        if (*w == 0xFFFF) w += 2;
        else if (*w == 0) ++w;
        else return false;
    }
    const WCHAR* caption = reinterpret_cast<const WCHAR*>(w);
    if (!to_cp932(caption, &h->caption)) return false;
    while (*w) ++w;
    ++w;
    h->points = -1;
    if (t.style & DS_SETFONT) {
        h->points = *w++;
        if (!to_cp932(reinterpret_cast<const WCHAR*>(w), &h->face)) return false;
        w = skip_string(w);
    }
    for (int i = 0; i < h->items; ++i) {
        w = align4(p, w);
        if (reinterpret_cast<const BYTE*>(w) + sizeof(DLGITEMTEMPLATE) > p + size) return false;
        DLGITEMTEMPLATE it;
        std::memcpy(&it, w, sizeof it);
        w = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(w) + sizeof it);
        DialogItem item = {it.style, it.x, it.y, it.cx, it.cy, short(it.id), "", ""};
        if (*w == 0xFFFF) {
            static const char* const kOrdinals[] = {"button", "edit", "static", "listbox",
                                                    "scrollbar", "combobox"};
            if (w[1] < 0x80 || w[1] > 0x85) return false;
            item.cls = kOrdinals[w[1] - 0x80];
            w += 2;
        } else {
            if (!to_cp932(reinterpret_cast<const WCHAR*>(w), &item.cls)) return false;
            for (char& ch : item.cls) ch = char(std::tolower(static_cast<unsigned char>(ch)));
            w = skip_string(w);
        }
        if (*w == 0xFFFF) {
            item.title = "#" + std::to_string(w[1]);
            w += 2;
        } else {
            if (!to_cp932(reinterpret_cast<const WCHAR*>(w), &item.title)) return false;
            w = skip_string(w);
        }
        w = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(w + 1) + *w);  // creation data
        h->controls.push_back(item);
    }
    return true;
}

void expect_controls(const DialogHeader& h, const std::vector<DialogItem>& want) {
    ASSERT_EQ(h.controls.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const DialogItem& g = h.controls[i];
        const DialogItem& w = want[i];
        EXPECT_EQ(g.style, w.style) << "control " << i << std::hex << " " << g.style;
        EXPECT_EQ(g.x, w.x) << i;
        EXPECT_EQ(g.y, w.y) << i;
        EXPECT_EQ(g.cx, w.cx) << i;
        EXPECT_EQ(g.cy, w.cy) << i;
        EXPECT_EQ(g.id, w.id) << i;
        EXPECT_EQ(g.cls, w.cls) << i;
        EXPECT_EQ(g.title, w.title) << i;
    }
}

using win_test::inert_proc;

std::string window_text(HWND w) {
    char buf[1024] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// Pixel rectangle of a control placed at x, y with size w, h in dialog units:
// position and size are converted separately, as the dialog manager does.
RECT dialog_units(HWND dlg, int x, int y, int w, int h) {
    RECT r = {x, y, w, h};
    MapDialogRect(dlg, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT child_rect(HWND dlg, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expect_rect(const RECT& got, const RECT& want, const char* what) {
    EXPECT_EQ(got.left, want.left) << what;
    EXPECT_EQ(got.top, want.top) << what;
    EXPECT_EQ(got.right, want.right) << what;
    EXPECT_EQ(got.bottom, want.bottom) << what;
}

std::string class_of(HWND w) {
    char buf[64] = "";
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

}  // namespace

TEST(Resources, MessageBoxTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_MESSAGE_BOX, &h));
    EXPECT_EQ(h.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME |
                             DS_3DLOOK | DS_SETFONT));
    EXPECT_EQ(h.cx, 59);
    EXPECT_EQ(h.cy, 25);
    EXPECT_EQ(h.items, 1);
    EXPECT_EQ(h.caption, "Tavelspore");
    EXPECT_EQ(h.points, 9);
    EXPECT_EQ(h.face, kDialogFont);
    expect_controls(h, {{WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 8, 5, 44, 14,
                         IDC_MSGBOX_DUMMY, "button", "ﾀﾞﾐｰ"}});  // hidden

    HWND dlg = CreateDialogParamA(inst(), MAKEINTRESOURCEA(IDD_MESSAGE_BOX), nullptr, inert_proc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(window_text(dlg), "Tavelspore");
    HWND dummy = GetDlgItem(dlg, IDC_MSGBOX_DUMMY);
    ASSERT_NE(dummy, nullptr);
    char text[64] = "";
    GetDlgItemTextA(dlg, IDC_MSGBOX_DUMMY, text, sizeof text);
    EXPECT_STREQ(text, "ﾀﾞﾐｰ");
    const LONG style = GetWindowLongA(dummy, GWL_STYLE);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_DISABLED);
    EXPECT_EQ(style & 0x0F, BS_PUSHBUTTON);
    expect_rect(child_rect(dlg, dummy), dialog_units(dlg, 8, 5, 44, 14), "dummy button");
    RECT client;
    GetClientRect(dlg, &client);
    expect_rect(client, dialog_units(dlg, 0, 0, 59, 25), "client");

    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dummy, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ASSERT_GT(GetObjectA(font, sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, kDialogFont);
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72));
    ReleaseDC(nullptr, dc);
    DestroyWindow(dlg);
}

TEST(Resources, AboutTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_ABOUT, &h));
    EXPECT_EQ(h.style, DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(h.x, 26);
    EXPECT_EQ(h.y, 30);
    EXPECT_EQ(h.cx, 169);
    EXPECT_EQ(h.cy, 79);
    EXPECT_EQ(h.items, 5);
    EXPECT_EQ(h.caption, "「Tavelspore」について");
    EXPECT_EQ(h.points, 9);
    EXPECT_EQ(h.face, kDialogFont);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    expect_controls(h, {
        {child | SS_ICON, 4, 4, 20, 20, -1, "static", "#127"},
        {child | WS_GROUP | SS_CENTER, 39, 4, 90, 8, -1, "static", "「Tavelspore」"},
        {child | WS_GROUP | SS_CENTER, 39, 16, 90, 8, IDC_ABOUT_VERSION, "static", "Version"},
        {child | WS_TABSTOP | BS_DEFPUSHBUTTON, 140, 6, 26, 12, IDOK, "button", "OK"},
        {child | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
         2, 30, 164, 46, IDC_ABOUT_TEXT, "edit", ""},
    });

    HWND dlg = CreateDialogParamA(inst(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, inert_proc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(GetWindowLongA(dlg, GWL_STYLE) & WS_SYSMENU);

    // Controls in template order: icon, name, version, OK, text.
    struct Want {
        int id;
        const char* cls;
        const char* text;
        int x, y, w, h;
    } want[] = {
        {-1, "Static", nullptr, 4, 4, 20, 20},
        {-1, "Static", "「Tavelspore」", 39, 4, 90, 8},
        {IDC_ABOUT_VERSION, "Static", nullptr, 39, 16, 90, 8},
        {IDOK, "Button", "OK", 140, 6, 26, 12},
        {IDC_ABOUT_TEXT, "Edit", "", 2, 30, 164, 46},
    };
    HWND c = GetWindow(dlg, GW_CHILD);
    for (const Want& w : want) {
        ASSERT_NE(c, nullptr) << w.x << "," << w.y;
        EXPECT_EQ(GetDlgCtrlID(c), w.id == -1 ? 0xFFFF : w.id) << w.x << "," << w.y;
        EXPECT_STRCASEEQ(class_of(c).c_str(), w.cls) << w.x << "," << w.y;
        if (w.text) {
            EXPECT_EQ(window_text(c), w.text) << w.x << "," << w.y;
        }
        // The icon control sizes itself to the icon; the others keep the template's box.
        if (w.w != 20) expect_rect(child_rect(dlg, c), dialog_units(dlg, w.x, w.y, w.w, w.h), w.cls);
        c = GetWindow(c, GW_HWNDNEXT);
    }
    EXPECT_EQ(c, nullptr);

    HWND icon = GetWindow(dlg, GW_CHILD);
    EXPECT_EQ(GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDC_ABOUT_VERSION), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    HWND text = GetDlgItem(dlg, IDC_ABOUT_TEXT);
    const LONG edit = GetWindowLongA(text, GWL_STYLE);
    const LONG edit_style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    EXPECT_EQ(edit & edit_style, edit_style);
    // The edit control may turn its border into a sunken client edge.
    EXPECT_TRUE((edit & WS_BORDER) || (GetWindowLongA(text, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    DestroyWindow(dlg);
}

TEST(Resources, SettingsTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_SETTINGS, &h));
    EXPECT_EQ(h.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(h.x, 32);
    EXPECT_EQ(h.y, 32);
    EXPECT_EQ(h.cx, 207);
    EXPECT_EQ(h.cy, 229);
    EXPECT_EQ(h.caption, "Tavelspore - 設定");
    EXPECT_EQ(h.points, 9);
    EXPECT_EQ(h.face, kDialogFont);
    // Template order; kind: the button type, or -1 for edits and labels.
    const int group = 1, hidden = 2, read_only = 4;
    struct Want {
        int id;
        const char* cls;
        const char* title;
        int x, y, w, h, kind, flags;
    } want[] = {
        {-1, "button", "月", 4, 4, 96, 40, BS_GROUPBOX, 0},
        {IDC_SET_MONTH_JAPANESE, "button", "月を日本語で表示", 8, 16, 69, 10, BS_AUTORADIOBUTTON, group},
        {IDC_SET_MONTH_ENGLISH, "button", "英語で表示", 8, 28, 50, 10, BS_AUTORADIOBUTTON, 0},
        {-1, "button", "曜日", 104, 4, 96, 40, BS_GROUPBOX, 0},
        {IDC_SET_WEEK_JAPANESE, "button", "曜日を日本語で表示", 108, 16, 76, 10, BS_AUTORADIOBUTTON, group},
        {IDC_SET_WEEK_ENGLISH, "button", "英語で表示", 108, 28, 50, 10, BS_AUTORADIOBUTTON, 0},
        {-1, "button", "今日の表示", 4, 48, 96, 40, BS_GROUPBOX, 0},
        {IDC_SET_TODAY_BOX, "button", "今日を箱で囲む", 8, 60, 62, 10, BS_AUTORADIOBUTTON, group},
        {IDC_SET_TODAY_TICK, "button", "過ぎた日にチェックマーク", 8, 72, 90, 10, BS_AUTORADIOBUTTON, 0},
        {-1, "button", "土曜日", 104, 48, 96, 40, BS_GROUPBOX, 0},
        {IDC_SET_SAT_COLOUR, "button", "土曜日に色をつける", 108, 60, 74, 10, BS_AUTORADIOBUTTON, group},
        {IDC_SET_SAT_PLAIN, "button", "つけない", 108, 72, 41, 10, BS_AUTORADIOBUTTON, 0},
        {-1, "button", "時計", 4, 92, 196, 50, BS_GROUPBOX, 0},
        {IDC_SET_CLOCK, "button", "時計を表示する", 8, 104, 62, 10, BS_AUTOCHECKBOX, group},
        {IDC_SET_CLOCK_SECONDS, "button", "秒を表示", 8, 116, 42, 10, BS_AUTOCHECKBOX, hidden},
        {IDC_SET_CLOCK_12H, "button", "時刻を12時制で表示", 88, 104, 76, 10, BS_AUTOCHECKBOX, 0},
        {IDC_SET_CLOCK_AMPM_AFTER, "button", "AM/PMを時刻の後に表示", 88, 116, 91, 10, BS_AUTOCHECKBOX, 0},
        {IDC_SET_CLOCK_ANALOG, "button", "アナログ時計", 88, 128, 54, 10, BS_AUTOCHECKBOX, group},
        {-1, "button", "背景", 4, 146, 196, 62, BS_GROUPBOX, 0},
        {IDC_SET_BACK_IMAGE, "button", "背景に画像を表示", 8, 158, 69, 10, BS_AUTOCHECKBOX, 0},
        {IDC_SET_BACK_WHOLE, "button", "全面", 18, 172, 30, 10, BS_AUTORADIOBUTTON, group},
        {IDC_SET_BACK_RIGHT, "button", "右側", 50, 172, 30, 10, BS_AUTORADIOBUTTON, 0},
        {IDC_SET_BACK_BOTTOM, "button", "下側", 82, 172, 30, 10, BS_AUTORADIOBUTTON, 0},
        {IDC_SET_TRANSPARENT_LABEL, "static", "透明度：", 126, 158, 25, 8, -1, 0},
        {IDC_SET_BACK_TRANSPARENT, "edit", "", 153, 155, 20, 14, -1, 0},
        {IDC_SET_TRANSPARENT_UNIT, "static", "％", 174, 158, 8, 8, -1, 0},
        {IDC_SET_AREA_LABEL, "static", "表示比率：", 120, 173, 32, 8, -1, 0},
        {IDC_SET_BACK_AREA, "edit", "", 153, 170, 20, 14, -1, 0},
        {IDC_SET_AREA_UNIT, "static", "％", 174, 173, 8, 8, -1, 0},
        {IDC_SET_BACK_FILE_LABEL, "static", "画像ファイル：", 8, 190, 42, 8, -1, 0},
        {IDC_SET_BACK_FILE, "edit", "", 50, 188, 122, 14, -1, read_only},
        {IDC_SET_BACK_BROWSE, "button", "参照", 174, 188, 19, 14, BS_PUSHBUTTON, 0},
        {IDOK, "button", "OK", 41, 212, 40, 14, BS_DEFPUSHBUTTON, group},
        {IDCANCEL, "button", "ｷｬﾝｾﾙ", 83, 212, 40, 14, BS_PUSHBUTTON, 0},
        {IDC_SET_APPLY, "button", "更新", 125, 212, 40, 14, BS_PUSHBUTTON, 0},
    };
    ASSERT_EQ(h.controls.size(), sizeof want / sizeof want[0]);
    for (size_t i = 0; i < h.controls.size(); ++i) {
        const DialogItem& g = h.controls[i];
        const Want& w = want[i];
        const std::string where = std::to_string(i) + " " + w.title;
        EXPECT_EQ(g.id, w.id) << where;
        EXPECT_EQ(g.cls, w.cls) << where;
        EXPECT_EQ(g.title, w.title) << where;
        EXPECT_EQ(g.x, w.x) << where;
        EXPECT_EQ(g.y, w.y) << where;
        EXPECT_EQ(g.cx, w.w) << where;
        EXPECT_EQ(g.cy, w.h) << where;
        if (w.kind >= 0) EXPECT_EQ(int(g.style & 0x0F), w.kind) << where;
        // Labels start groups of their own (the rc default), which ends the radio groups.
        if (std::string(w.cls) != "static") EXPECT_EQ((g.style & WS_GROUP) != 0, (w.flags & group) != 0) << where;
        const bool hide = (w.flags & hidden) != 0;
        EXPECT_EQ((g.style & WS_VISIBLE) == 0, hide) << where;
        EXPECT_EQ((g.style & WS_DISABLED) != 0, hide) << where;
        if (std::string(w.cls) == "edit") {
            EXPECT_TRUE(g.style & ES_AUTOHSCROLL) << where;
            EXPECT_EQ((g.style & ES_READONLY) != 0, (w.flags & read_only) != 0) << where;
        }
    }
}

// The icon has an image of its own for the small and large sizes of 100 %, 150 %, 200 % and
// 300 % display scaling, so none is a blurred scaling of another.
TEST(Resources, ProgramIconHasAnImageForEachScaling) {
    for (int size : {16, 24, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageA(inst(), MAKEINTRESOURCEA(IDI_ZELMAR), IMAGE_ICON,
                                                   size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm = {};
        ASSERT_TRUE(info.hbmColor != nullptr);
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);

        // The page: transparent outside (mask set at the top-left corner), a red
        // header band, a white page. A pixel of the 16-pixel map at x, y lands at at(x), at(y).
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        auto at = [size](int v) { return (v * size + 15) / 16; };
        HGDIOBJ old = SelectObject(dc, info.hbmMask);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << size;
        EXPECT_EQ(GetPixel(dc, at(8), at(8)), RGB(0, 0, 0)) << size;
        SelectObject(dc, info.hbmColor);
        EXPECT_EQ(GetPixel(dc, at(6), at(3)), RGB(255, 0, 0)) << size;
        EXPECT_EQ(GetPixel(dc, at(6), at(8)), RGB(255, 255, 255)) << size;
        EXPECT_EQ(GetPixel(dc, at(1), at(5)), RGB(0, 0, 0)) << size;  // outline
        // Only the palette's colours: no pixel blended from a scaling.
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                for (int ch : {GetRValue(c), GetGValue(c), GetBValue(c)})
                    ASSERT_TRUE(ch == 0 || ch == 128 || ch == 192 || ch == 255) << size << " " << x << "," << y;
            }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, HolidayBitmapIsTwoSixteenColourImagesOnGreen) {
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(inst(), MAKEINTRESOURCEA(IDB_HOLIDAY_IMAGES),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bmp, nullptr);
    DIBSECTION ds = {};
    ASSERT_EQ(GetObjectA(bmp, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 32);
    EXPECT_EQ(ds.dsBm.bmHeight, 16);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 4);

    // Read the pixels as 32-bit top-down rows.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> px(32 * 16);
    HDC dc = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(dc, bmp, 0, 16, px.data(), &bi, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, dc);
    const DWORD green = 0x00FF00, red = 0xFF0000, grey = 0x808080;  // 0xRRGGBB as stored

    int reds = 0, greys = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const DWORD c = px[y * 32 + x] & 0xFFFFFF;
            if (x < 16) {
                EXPECT_EQ(c, green) << "image 0 must be empty at " << x << "," << y;
                continue;
            }
            EXPECT_TRUE(c == green || c == red || c == grey) << x << "," << y << " " << std::hex << c;
            reds += c == red;
            greys += c == grey;
        }
    }
    EXPECT_GE(reds, 20);   // a flag, not a speck
    EXPECT_GE(greys, 12);  // the pole
    for (int y = 1; y <= 14; ++y) EXPECT_EQ(px[y * 32 + 19] & 0xFFFFFF, grey) << "pole at row " << y;
    EXPECT_EQ(px[16] & 0xFFFFFF, green);             // corners of image 1 are transparent
    EXPECT_EQ(px[15 * 32 + 31] & 0xFFFFFF, green);
    DeleteObject(bmp);

    // As the list views use it: two 16 x 16 images with green transparent.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HIMAGELIST list = ImageList_LoadImageA(inst(), MAKEINTRESOURCEA(IDB_HOLIDAY_IMAGES), 16, 0,
                                           RGB(0, 255, 0), IMAGE_BITMAP, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    ImageList_Destroy(list);
}

namespace {

// The frame the three dialogs share: popup, visible, caption, modal frame, no system menu.
constexpr DWORD kListDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kListViewStyle = kChild | LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP;

void expect_frame(const DialogHeader& h, int x, int y, int cx, int cy, const char* caption) {
    EXPECT_EQ(h.style, kListDialogStyle);
    EXPECT_EQ(h.x, x);
    EXPECT_EQ(h.y, y);
    EXPECT_EQ(h.cx, cx);
    EXPECT_EQ(h.cy, cy);
    EXPECT_EQ(h.caption, caption);
    EXPECT_EQ(h.points, 9);
    EXPECT_EQ(h.face, kDialogFont);
}

}  // namespace

TEST(Resources, DisplayMonthTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_DISPLAY_MONTH, &h));
    expect_frame(h, 33, 48, 99, 66, "Tavelspore - 表示月");
    const DWORD button = kChild | WS_TABSTOP | BS_PUSHBUTTON;
    const DWORD edit = kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    const DWORD label = kChild | WS_GROUP | SS_RIGHT;
    expect_controls(h, {
        {kChild | BS_GROUPBOX, 2, 2, 94, 44, -1, "button", "表示月"},
        {label, 8, 14, 26, 8, -1, "static", "西暦(&Y):"},
        {button, 40, 12, 10, 14, IDC_DM_YEAR_DOWN, "button", "－"},
        {edit, 52, 12, 24, 14, IDC_DM_YEAR, "edit", ""},
        {button, 78, 12, 10, 14, IDC_DM_YEAR_UP, "button", "＋"},
        {label, 8, 30, 26, 8, -1, "static", "月(&M):"},
        {button, 40, 28, 10, 14, IDC_DM_MONTH_DOWN, "button", "－"},
        {edit, 52, 28, 24, 14, IDC_DM_MONTH, "edit", ""},
        {button, 78, 28, 10, 14, IDC_DM_MONTH_UP, "button", "＋"},
        {button, 8, 50, 40, 14, IDC_DM_RESET, "button", "ﾘｾｯﾄ(&R)"},
        {kChild | BS_DEFPUSHBUTTON, 50, 50, 40, 14, IDOK, "button", "OK"},
    });
    EXPECT_EQ(std::string("－＋"), "\x81\x7c\x81\x7b");  // the full-width signs of code page 932
}

TEST(Resources, DayContentsTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_DAY_CONTENTS, &h));
    expect_frame(h, 32, 48, 207, 119, "Tavelspore - スケジュール内容");
    expect_controls(h, {
        {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 102, 40, 14, IDOK, "button", "OK"},
        {kChild | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 4, 2, 80, 12, IDC_DAY_HEADER,
         "static", "1994年12月31日(日)"},
        {kListViewStyle | LVS_SHAREIMAGELISTS, 4, 18, 200, 80, IDC_DAY_LIST, "syslistview32", ""},
        {kChild | WS_TABSTOP | BS_PUSHBUTTON, 4, 102, 75, 14, IDC_DAY_SCHEDULE, "button",
         "スケジュール設定(&S)"},
    });
}

TEST(Resources, RecentScheduleTemplate) {
    DialogHeader h;
    ASSERT_TRUE(read_dialog(IDD_RECENT, &h));
    expect_frame(h, 16, 32, 207, 119, "Tavelspore - 最近の予定");
    expect_controls(h, {
        {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 102, 40, 14, IDOK, "button", "OK"},
        {kChild | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 4, 2, 80, 12, IDC_RECENT_HEADER,
         "static", "1994年12月31日(日) "},
        // Its rows' texts are asked for as they are shown: thousands of occurrences open at once.
        {kListViewStyle | LVS_OWNERDATA | LVS_SHAREIMAGELISTS, 4, 18, 200, 80, IDC_RECENT_LIST, "syslistview32", ""},
        {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 104, 64, 10, IDC_RECENT_BOOT, "button", "起動時に表示"},
        {kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 74, 102, 28, 84, IDC_RECENT_WIDTH,
         "combobox", ""},
        {kChild | WS_GROUP | SS_LEFT, 104, 104, 30, 8, -1, "static", "日後迄"},
        {kChild | WS_GROUP | SS_LEFT, 162, 8, 42, 8, -1, "static", "(A : アラーム)"},
    });
}
