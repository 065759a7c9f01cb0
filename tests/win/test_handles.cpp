// The Win32 holders: an owner closes its handle exactly once on every path (destruction,
// reset, move, release hands it over), selections and subclasses are undone on scope exit,
// a local-memory lock reports the block's size and is released.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "config/handles_win.h"

namespace {

// Handles are plain numbers; closing one records it.
std::vector<int> g_closed;
struct CountingTraits {
    using Handle = int;
    static int empty() { return 0; }
    static void close(int h) { g_closed.push_back(h); }
};
using Counted = Owned<CountingTraits>;

TEST(Owned, ClosesEachHandleExactlyOnce) {
    struct Case {
        const char* what;
        std::function<int()> run;  // returns the handle left with the caller (0: none)
        std::vector<int> closed;   // in order, once the scope of run has ended
        int left = 0;
    } cases[] = {
        {"destruction closes", [] { Counted a(1); return 0; }, {1}},
        {"empty closes nothing", [] { Counted a; return 0; }, {}},
        {"release hands over without closing", [] { Counted a(2); return a.release(); }, {}, 2},
        {"reset closes the old handle and keeps the new",
         [] { Counted a(3); a.reset(4); EXPECT_EQ(g_closed, std::vector<int>{3}); return 0; },
         {3, 4}},
        {"reset to empty closes once, destruction then nothing",
         [] { Counted a(5); a.reset(); a.reset(); return 0; }, {5}},
        {"move construction transfers",
         [] { Counted a(6); Counted b(std::move(a)); EXPECT_FALSE(a); EXPECT_EQ(b.get(), 6); return 0; },
         {6}},
        {"move assignment closes the target's handle first",
         [] {
             Counted a(7), b(8);
             b = std::move(a);
             EXPECT_EQ(g_closed, std::vector<int>{8});
             EXPECT_EQ(b.get(), 7);
             return 0;
         },
         {8, 7}},
        {"self move assignment keeps the handle",
         [] {
             Counted a(9);
             Counted& same = a;
             a = std::move(same);
             EXPECT_EQ(a.get(), 9);
             return 0;
         },
         {9}},
        {"out() closes the held handle before the call fills it",
         [] { Counted a(10); *a.out() = 11; EXPECT_EQ(g_closed, std::vector<int>{10}); return 0; },
         {10, 11}},
    };
    for (const Case& c : cases) {
        g_closed.clear();
        EXPECT_EQ(c.run(), c.left) << c.what;
        EXPECT_EQ(g_closed, c.closed) << c.what;
    }
}

TEST(Owned, RealHandlesAreClosed) {
    // A GDI object and a kernel handle: invalid once their owner is gone.
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    ASSERT_NE(pen, nullptr);
    { OwnedPen owned(pen); EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)); }
    EXPECT_EQ(GetObjectType(pen), 0u);

    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    { OwnedFile owned(event); EXPECT_TRUE(GetHandleInformation(event, &flags)); }
    EXPECT_FALSE(GetHandleInformation(event, &flags));

    // The file owner's empty value is INVALID_HANDLE_VALUE, not a null handle.
    OwnedFile none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
}

TEST(GdiSelect, PutsThePreviousObjectBack) {
    OwnedMemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ stock = GetCurrentObject(dc.get(), OBJ_PEN);
    OwnedPen pen(CreatePen(PS_SOLID, 3, RGB(0, 0, 255)));
    {
        GdiSelect sel(dc.get(), pen.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
        {
            GdiSelect none(dc.get(), nullptr);  // nothing to select: nothing changes
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), stock);
}

TEST(LocalLockGuard, PointsAtTheBlockWithItsSizeAndUnlocks) {
    struct Case {
        SIZE_T bytes;
        bool null_handle;
    } cases[] = {{100, false}, {1, false}, {4096, false}, {0, true}};
    for (const Case& c : cases) {
        OwnedLocal block(c.null_handle ? nullptr : LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, c.bytes));
        ASSERT_EQ(static_cast<bool>(block), !c.null_handle);
        {
            LocalLockGuard lock(block.get());
            if (c.null_handle) {
                EXPECT_EQ(lock.get(), nullptr);
                EXPECT_EQ(lock.size(), 0u);
                continue;
            }
            ASSERT_NE(lock.get(), nullptr) << c.bytes;
            EXPECT_EQ(lock.size(), LocalSize(block.get())) << c.bytes;
            EXPECT_GE(lock.size(), c.bytes);
            EXPECT_EQ(LocalFlags(block.get()) & LMEM_LOCKCOUNT, 1u) << c.bytes;
        }
        EXPECT_EQ(LocalFlags(block.get()) & LMEM_LOCKCOUNT, 0u) << c.bytes;
    }
}

// A window procedure that counts what reaches it and hands everything on.
int g_seen = 0;
WNDPROC g_previous = nullptr;
LRESULT CALLBACK subclass_counting_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 7) ++g_seen;
    return CallWindowProcA(g_previous, hwnd, msg, wp, lp);
}

WNDPROC proc_of(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

TEST(SubclassGuard, RestoresTheProcedureOnScopeExit) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    const WNDPROC original = proc_of(edit);
    g_seen = 0;
    {
        SubclassGuard guard(edit, subclass_counting_proc);
        g_previous = guard.previous();
        EXPECT_EQ(guard.previous(), original);
        EXPECT_EQ(proc_of(edit), subclass_counting_proc);
        SendMessageA(edit, WM_USER + 7, 0, 0);
        SetWindowTextA(edit, "kept");  // forwarded to the edit control
    }
    EXPECT_EQ(g_seen, 1);
    EXPECT_EQ(proc_of(edit), original);
    SendMessageA(edit, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_seen, 1);
    char text[16] = "";
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "kept");

    // A window destroyed inside the scope: the guard leaves it alone.
    {
        SubclassGuard guard(edit, subclass_counting_proc);
        g_previous = guard.previous();
        DestroyWindow(edit);
    }
    EXPECT_FALSE(IsWindow(edit));

    // No window: nothing replaced, nothing to forward to.
    SubclassGuard none(nullptr, subclass_counting_proc);
    EXPECT_EQ(none.previous(), nullptr);
}

}  // namespace
