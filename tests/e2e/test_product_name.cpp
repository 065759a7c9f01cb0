// The program's name in the real exe: every place a Japanese text names the program (inside
// 「」, before " について", " の終了", " デスクトップカレンダー" or " の開発者", before " - " of a
// caption, the message box caption and the window title) holds "Tavelspore", in the resources as the exe carries them and in the
// texts of its windows and dialogs at run time.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

const char kName[] = "Tavelspore";

std::string cp932_of(const WCHAR* w, int len) {
    char buf[2048];
    const int n = WideCharToMultiByte(932, 0, w, len, buf, sizeof buf - 1, nullptr, nullptr);
    return std::string(buf, n > 0 ? n : 0);
}

// The places in a text where the program is named.
std::vector<std::string> name_slots(const std::string& t) {
    std::vector<std::string> out;
    for (size_t at = t.find("「"); at != std::string::npos; at = t.find("「", at + 1)) {
        const size_t end = t.find("」", at);
        if (end != std::string::npos) out.push_back(t.substr(at + 2, end - at - 2));
    }
    for (const char* tail : {" について", " の終了", " デスクトップカレンダー", " の開発者"}) {
        const size_t at = t.find(tail);
        if (at == std::string::npos) continue;
        const size_t from = t.rfind(' ', at == 0 ? 0 : at - 1);
        out.push_back(t.substr(from == std::string::npos ? 0 : from + 1,
                               at - (from == std::string::npos ? 0 : from + 1)));
    }
    const size_t dash = t.find(" - ");
    if (dash != std::string::npos && t.find(' ') == dash) out.push_back(t.substr(0, dash));
    return out;
}

struct Texts {
    std::vector<std::string> all;
    std::vector<std::string> captions;  // of dialogs: each names the program
    void add(const std::string& t) {
        if (!t.empty()) all.push_back(t);
    }
};

const WORD* skip_sz_or_ord(const WORD* w, Texts* texts) {
    if (*w == 0xFFFF) return w + 2;
    const WORD* s = w;
    while (*w) ++w;
    if (texts) texts->add(cp932_of(reinterpret_cast<const WCHAR*>(s), int(w - s)));
    return w + 1;
}

// Caption and control texts of a standard dialog template.
void dialog_texts(const BYTE* p, DWORD size, Texts* texts) {
    if (size < sizeof(DLGTEMPLATE)) return;
    DLGTEMPLATE t;
    std::memcpy(&t, p, sizeof t);
    if (HIWORD(t.style) == 0xFFFF) return;
    const BYTE* end = p + size;
    const WORD* w = reinterpret_cast<const WORD*>(p + 18);
    w = skip_sz_or_ord(w, nullptr);  // menu
    w = skip_sz_or_ord(w, nullptr);  // class
    const size_t before = texts->all.size();
    w = skip_sz_or_ord(w, texts);  // caption
    texts->captions.push_back(texts->all.size() > before ? texts->all.back() : "");
    if (t.style & DS_SETFONT) w = skip_sz_or_ord(w + 1, nullptr);
    for (int i = 0; i < t.cdit; ++i) {
        const size_t off = reinterpret_cast<const BYTE*>(w) - p;
        w = reinterpret_cast<const WORD*>(p + ((off + 3) & ~size_t(3)) + sizeof(DLGITEMTEMPLATE));
        if (reinterpret_cast<const BYTE*>(w) >= end) return;
        w = skip_sz_or_ord(w, nullptr);  // class
        w = skip_sz_or_ord(w, texts);    // text
        w = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(w + 1) + *w);
    }
}

void menu_texts(HMENU menu, Texts* texts) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        texts->add(text);
        if (HMENU sub = GetSubMenu(menu, i)) menu_texts(sub, texts);
    }
}

struct Collect {
    HMODULE module;
    Texts* texts;
};

BOOL CALLBACK one_resource(HMODULE m, LPCSTR type, LPSTR name, LONG_PTR lp) {
    Collect* c = reinterpret_cast<Collect*>(lp);
    HRSRC r = FindResourceA(m, name, type);
    HGLOBAL g = r ? LoadResource(m, r) : nullptr;
    const BYTE* p = g ? static_cast<const BYTE*>(LockResource(g)) : nullptr;
    const DWORD size = r ? SizeofResource(m, r) : 0;
    if (!p) return TRUE;
    if (type == RT_STRING) {
        // Sixteen counted UTF-16 strings a block.
        const WORD* w = reinterpret_cast<const WORD*>(p);
        const WORD* end = reinterpret_cast<const WORD*>(p + size);
        for (int i = 0; i < 16 && w < end; ++i) {
            const WORD len = *w++;
            if (w + len > end) break;
            c->texts->add(cp932_of(reinterpret_cast<const WCHAR*>(w), len));
            w += len;
        }
    } else if (type == RT_DIALOG) {
        dialog_texts(p, size, c->texts);
    } else if (type == RT_MENU) {
        if (HMENU menu = LoadMenuA(m, name)) {
            menu_texts(menu, c->texts);
            DestroyMenu(menu);
        }
    }
    return TRUE;
}

// Every dialog caption begins with the program's name: the name alone, or a name slot.
void check_captions(Ctx& ctx, const std::vector<std::string>& captions, const char* where) {
    for (const std::string& t : captions)
        if (t != kName && name_slots(t).empty())
            ctx.fail(__FILE__, __LINE__, std::string(where) + ": caption \"" + t + "\" does not name the program");
}

int check_names(Ctx& ctx, const std::vector<std::string>& texts, const char* where) {
    int slots = 0;
    for (const std::string& t : texts)
        for (const std::string& s : name_slots(t)) {
            ++slots;
            if (s != kName) ctx.fail(__FILE__, __LINE__, std::string(where) + ": \"" + t + "\" names \"" + s + "\"");
        }
    return slots;
}

void child_texts(HWND dlg, Texts* texts) {
    texts->add(window_text(dlg));
    texts->captions.push_back(window_text(dlg));
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) texts->add(window_text(c));
}


}  // namespace

E2E_TEST(product_name_in_resources) {
    HMODULE exe = LoadLibraryExA(g_exe_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(exe != nullptr);
    Texts texts;
    Collect c = {exe, &texts};
    for (LPCSTR type : {RT_STRING, RT_DIALOG, RT_MENU})
        EnumResourceNamesA(exe, type, one_resource, reinterpret_cast<LONG_PTR>(&c));
    FreeLibrary(exe);
    CHECK(texts.all.size() >= 40);  // menus, dialogs and strings were all read
    // About box caption, label and text, About and Exit items, font dialog and sound chooser
    // titles.
    CHECK(check_names(ctx, texts.all, "resources") >= 8);
    CHECK(texts.captions.size() >= 3);  // message box, About box, font dialog
    check_captions(ctx, texts.captions, "resources");
}

E2E_TEST(product_name_in_window_texts) {
    App app;
    REQUIRE(app_start(app, fresh_dir("product_name")));
    Texts texts;
    const std::string title = window_text(app.hwnd);
    CHECK(title.compare(0, sizeof kName, std::string(kName) + " ") == 0);

    const int dialogs[] = {CMD_ABOUT, CMD_FONT, CMD_SAVE_POSITION};
    for (int id : dialogs) {
        PostMessageA(app.hwnd, WM_COMMAND, id, 0);
        HWND dlg = find_owned_dialog(app.hwnd, 5000);
        CHECK(dlg != nullptr);
        if (!dlg) continue;
        child_texts(dlg, &texts);
        if (id == CMD_SAVE_POSITION) CHECK(window_text(dlg) == kName);  // the message box
        PostMessageA(dlg, WM_COMMAND, id == CMD_FONT ? IDCANCEL : IDOK, 0);
        CHECK(wait_until(is_gone, dlg));
    }
    CHECK(check_names(ctx, texts.all, "window texts") >= 3);
    CHECK_EQ(texts.captions.size(), size_t(3));
    check_captions(ctx, texts.captions, "window texts");
    CHECK_EQ(app_close(app), 0);
}
