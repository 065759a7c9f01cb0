#include "app/month_accessible_win.h"

#include <oleacc.h>

#include <new>

#include "config/system_dlls_win.h"
#include "resources/texts.h"

namespace {

// The interfaces' identifiers, spelled out: the library that would define them is loaded
// only at the first question.
const IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidOleWindow = {0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

constexpr size_t kNameSize = 256;
constexpr size_t kDescriptionSize = 4096;

bool same_iid(REFIID a, const IID& b) { return IsEqualGUID(a, b) != 0; }

// A BSTR of code page 932 text; nullptr when it cannot be made.
BSTR bstr_of(const char* text) {
    const int n = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
    if (n <= 0) return nullptr;
    WCHAR stack[kNameSize];
    WCHAR* wide = n <= static_cast<int>(kNameSize) ? stack : new (std::nothrow) WCHAR[n];
    if (!wide) return nullptr;
    MultiByteToWideChar(932, 0, text, -1, wide, n);
    BSTR b = sys_alloc_string_len(wide, static_cast<UINT>(n - 1));
    if (wide != stack) delete[] wide;
    return b;
}

HRESULT text_answer(const char* text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!text || !text[0]) return S_FALSE;
    *out = bstr_of(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

void set_empty(VARIANT* v) {
    v->vt = VT_EMPTY;
}

void set_i4(VARIANT* v, LONG value) {
    v->vt = VT_I4;
    v->lVal = value;
}

}  // namespace

struct MonthAccessible final : public IAccessible, public IOleWindow {
    LONG refs = 1;
    HWND hwnd;
    AccessSource source;
    bool alive = true;
    bool com_ours = false;  // COM was initialised for it: left when it goes

    MonthAccessible(HWND w, const AccessSource& s) : hwnd(w), source(s) {}
    virtual ~MonthAccessible() = default;

    // ---- what the window shows now ----

    // Children: the days, the two buttons, the clock when shown.
    enum Kind { kSelf, kDay, kPrevious, kNext, kClock, kNone };
    struct Child {
        Kind kind;
        int day;
    };

    AccessView view() const {
        AccessView v = {};
        if (source.view) source.view(source.context, &v);
        if (v.days < 0) v.days = 0;
        if (v.days > 31) v.days = 31;
        return v;
    }
    static LONG child_count(const AccessView& v) { return v.days + 2 + (v.clock_shown ? 1 : 0); }
    static Child child_of(const AccessView& v, LONG id) {
        if (id == CHILDID_SELF) return {kSelf, 0};
        if (id >= 1 && id <= v.days) return {kDay, static_cast<int>(id)};
        if (id == v.days + 1) return {kPrevious, 0};
        if (id == v.days + 2) return {kNext, 0};
        if (id == v.days + 3 && v.clock_shown) return {kClock, 0};
        return {kNone, 0};
    }
    Child child_of(const AccessView& v, const VARIANT& var) const {
        if (var.vt != VT_I4) return {kNone, 0};
        return child_of(v, var.lVal);
    }
    static CellRect place_of(const AccessView& v, const Child& c) {
        switch (c.kind) {
        case kDay: return v.cells[c.day - 1];
        case kPrevious: return v.previous_button;
        case kNext: return v.next_button;
        case kClock: return v.clock_rect;
        default: return CellRect{0, 0, 0, 0};
        }
    }
    void day_texts(int day, char* name, char* description) const {
        name[0] = description[0] = '\0';
        if (source.day_texts) source.day_texts(source.context, day, name, kNameSize, description, kDescriptionSize);
    }
    // Asks the window to act once this question has returned.
    HRESULT ask(AccessAction what, LONG child) const {
        return PostMessageA(hwnd, kAccessActionMessage, static_cast<WPARAM>(what), child) ? S_OK : E_FAIL;
    }

    // ---- IUnknown ----

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (same_iid(riid, kIidUnknown) || same_iid(riid, kIidDispatch) || same_iid(riid, kIidAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (same_iid(riid, kIidOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // ---- IDispatch: readers go through IAccessible ----

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IOleWindow ----

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = alive ? hwnd : nullptr;
        return alive ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // ---- IAccessible ----

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        return sys_accessible_object_from_window(hwnd, static_cast<DWORD>(OBJID_WINDOW), kIidDispatch,
                                                 reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override {
        if (!out) return E_POINTER;
        *out = 0;
        if (!alive) return E_FAIL;
        *out = child_count(view());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        const Child c = child_of(view(), child);
        if (c.kind == kNone) return E_INVALIDARG;
        return S_FALSE;  // every child is a simple element of this object
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        const AccessView v = view();
        const Child c = child_of(v, child);
        switch (c.kind) {
        case kSelf: return text_answer(v.month_name, out);
        case kDay: {
            char name[kNameSize], description[kDescriptionSize];
            day_texts(c.day, name, description);
            return text_answer(name, out);
        }
        case kPrevious: return text_answer(kPreviousMonthButton, out);
        case kNext: return text_answer(kNextMonthButton, out);
        case kClock: {
            const char* t = v.clock_text;
            while (*t == ' ') ++t;  // the clock's leading blanks
            return text_answer(t, out);
        }
        default: return E_INVALIDARG;
        }
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        return child_of(view(), child).kind == kNone ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        const Child c = child_of(view(), child);
        if (c.kind == kNone) return E_INVALIDARG;
        if (c.kind != kDay) return S_FALSE;
        char name[kNameSize];
        char* description = new (std::nothrow) char[kDescriptionSize];
        if (!description) return E_OUTOFMEMORY;
        day_texts(c.day, name, description);
        const HRESULT hr = text_answer(description, out);
        delete[] description;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        switch (child_of(view(), child).kind) {
        case kSelf: set_i4(out, ROLE_SYSTEM_CLIENT); return S_OK;
        case kDay: set_i4(out, ROLE_SYSTEM_LISTITEM); return S_OK;
        case kPrevious:
        case kNext: set_i4(out, ROLE_SYSTEM_PUSHBUTTON); return S_OK;
        case kClock: set_i4(out, ROLE_SYSTEM_STATICTEXT); return S_OK;
        default: return E_INVALIDARG;
        }
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        const AccessView v = view();
        const Child c = child_of(v, child);
        LONG state = 0;
        switch (c.kind) {
        case kSelf:
            state = STATE_SYSTEM_FOCUSABLE;
            if (v.focused && v.cursor_day == 0) state |= STATE_SYSTEM_FOCUSED;
            break;
        case kDay:
            state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
            if (c.day == v.cursor_day) {
                state |= STATE_SYSTEM_SELECTED;
                if (v.focused) state |= STATE_SYSTEM_FOCUSED;
            }
            if (v.cells[c.day - 1].left < 0) state |= STATE_SYSTEM_INVISIBLE;
            break;
        case kPrevious:
        case kNext:
            if (v.pressed_button == (c.kind == kPrevious ? 1 : 2)) state = STATE_SYSTEM_PRESSED;
            break;
        case kClock: state = STATE_SYSTEM_READONLY; break;
        default: return E_INVALIDARG;
        }
        set_i4(out, state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        const AccessView v = view();
        if (!v.focused) return S_FALSE;
        set_i4(out, v.cursor_day > 0 ? v.cursor_day : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        const AccessView v = view();
        if (v.cursor_day <= 0) return S_FALSE;
        set_i4(out, v.cursor_day);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!alive) return E_FAIL;
        switch (child_of(view(), child).kind) {
        case kDay: return text_answer(kOpenDayAction, out);
        case kPrevious:
        case kNext: return text_answer(kPressAction, out);
        case kNone: return E_INVALIDARG;
        default: return S_FALSE;
        }
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!alive) return E_FAIL;
        const Child c = child_of(view(), child);
        if (c.kind == kNone) return E_INVALIDARG;
        if (c.kind != kDay || !(flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION))) return S_FALSE;
        return ask(AccessAction::kSelectDay, c.day);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        if (!alive) return E_FAIL;
        const AccessView v = view();
        const Child c = child_of(v, child);
        if (c.kind == kNone) return E_INVALIDARG;
        RECT r = {0, 0, 0, 0};
        if (c.kind == kSelf) {
            GetClientRect(hwnd, &r);
        } else {
            const CellRect p = place_of(v, c);
            if (rect_empty(p) || p.left < 0) return S_FALSE;
            r = RECT{p.left, p.top, p.right, p.bottom};
        }
        POINT corner = {r.left, r.top};
        ClientToScreen(hwnd, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        const AccessView v = view();
        const Child c = child_of(v, start);
        if (c.kind == kNone) return E_INVALIDARG;
        const LONG count = child_count(v);
        const LONG at = start.lVal;
        LONG to = 0;
        switch (direction) {
        case NAVDIR_FIRSTCHILD: to = c.kind == kSelf && count > 0 ? 1 : 0; break;
        case NAVDIR_LASTCHILD: to = c.kind == kSelf ? count : 0; break;
        case NAVDIR_NEXT: to = c.kind == kSelf ? 0 : at + 1; break;
        case NAVDIR_PREVIOUS: to = c.kind == kSelf ? 0 : at - 1; break;
        case NAVDIR_RIGHT: to = c.kind == kDay ? at + 1 : 0; break;
        case NAVDIR_LEFT: to = c.kind == kDay ? at - 1 : 0; break;
        case NAVDIR_DOWN: to = c.kind == kDay ? at + 7 : 0; break;
        case NAVDIR_UP: to = c.kind == kDay ? at - 7 : 0; break;
        default: return E_INVALIDARG;
        }
        const bool day_step = direction == NAVDIR_LEFT || direction == NAVDIR_RIGHT ||
                              direction == NAVDIR_UP || direction == NAVDIR_DOWN;
        if (to < 1 || to > count || (day_step && to > v.days)) return S_FALSE;
        set_i4(out, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        set_empty(out);
        if (!alive) return E_FAIL;
        POINT pt = {x, y};
        ScreenToClient(hwnd, &pt);
        RECT client;
        GetClientRect(hwnd, &client);
        if (!PtInRect(&client, pt)) return S_FALSE;
        const AccessView v = view();
        for (LONG id = 1; id <= child_count(v); ++id) {
            const CellRect p = place_of(v, child_of(v, id));
            if (!rect_empty(p) && pt.x >= p.left && pt.x < p.right && pt.y >= p.top && pt.y <= p.bottom) {
                set_i4(out, id);
                return S_OK;
            }
        }
        set_i4(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!alive) return E_FAIL;
        const Child c = child_of(view(), child);
        switch (c.kind) {
        case kDay: return ask(AccessAction::kOpenDay, c.day);
        case kPrevious: return ask(AccessAction::kPress, 1);
        case kNext: return ask(AccessAction::kPress, 2);
        case kNone: return E_INVALIDARG;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
};

LRESULT month_accessible_answer(HWND hwnd, WPARAM wp, LPARAM lp, const AccessSource& source,
                                MonthAccessible** kept) {
    if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT) || !kept)
        return DefWindowProcA(hwnd, WM_GETOBJECT, wp, lp);
    if (!*kept) {
        // The object is handed on through COM, which this thread then runs as an apartment.
        const HRESULT com = sys_co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED);
        MonthAccessible* made = new (std::nothrow) MonthAccessible(hwnd, source);
        if (!made) {
            if (com == S_OK || com == S_FALSE) sys_co_uninitialize();
            return DefWindowProcA(hwnd, WM_GETOBJECT, wp, lp);
        }
        made->com_ours = com == S_OK || com == S_FALSE;
        *kept = made;
    }
    const LRESULT r = sys_lresult_from_object(kIidAccessible, wp, static_cast<IAccessible*>(*kept));
    return r >= 0 ? r : DefWindowProcA(hwnd, WM_GETOBJECT, wp, lp);
}

void month_accessible_release(MonthAccessible** kept) {
    if (!kept || !*kept) return;
    MonthAccessible* a = *kept;
    *kept = nullptr;
    a->alive = false;
    const bool com = a->com_ours;
    // Readers in other processes hold proxies: cut them, then drop the window's own reference.
    sys_co_disconnect_object(static_cast<IAccessible*>(a), 0);
    a->Release();
    if (com) sys_co_uninitialize();
}

void month_accessible_focus_moved(HWND hwnd, int day, bool new_month) {
    if (new_month) NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
    if (day <= 0) return;
    NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd, OBJID_CLIENT, day);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, day);
}
