#include "dialogs/schedule_list_view_win.h"

#include "config/system_dlls_win.h"
#include "resources/resource.h"

namespace {

constexpr int kImageSize = 16;
constexpr int kImageGrow = 2;
constexpr COLORREF kImageMask = RGB(0, 255, 0);

int column_format(ListAlign align) { return align == kListAlignCenter ? LVCFMT_CENTER : LVCFMT_LEFT; }

int column_width(HWND list, const ListColumn& c) {
    int width = c.extra;
    if (c.sample)
        width += (int)SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(c.sample));
    return width;
}

}  // namespace

HIMAGELIST holiday_image_list_create() {
    return sys_image_list_load(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_HOLIDAY_IMAGES),
                                kImageSize, kImageGrow, kImageMask, IMAGE_BITMAP, 0);
}

// The list's template asks for LVS_SHAREIMAGELISTS; a list without it would destroy the
// images with itself and then they would be destroyed twice, so it is given the style first.
void ListImages::attach(HWND list) {
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    if (!(style & LVS_SHAREIMAGELISTS)) SetWindowLongPtrA(list, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
    images_.reset(holiday_image_list_create());
    if (!images_) return;
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
}

void list_view_add_columns(HWND list, const ListColumn* columns, int count) {
    for (int i = 0; i < count; ++i) {
        const ListColumn& c = columns[i];
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_TEXT;
        col.fmt = column_format(c.align);
        col.cx = column_width(list, c);
        col.pszText = const_cast<char*>(c.title ? c.title : "");
        col.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
}

void list_view_append_row(HWND list, int image, const char* const* texts, int count, LPARAM param) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    item.iImage = image;
    item.lParam = param;
    item.pszText = const_cast<char*>(texts[0]);
    const int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    for (int i = 1; i < count; ++i) {
        LVITEMA sub = {};
        sub.iSubItem = i;
        sub.pszText = const_cast<char*>(texts[i]);
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
}

void list_view_widen(HWND list, const ListColumn* columns, int i, const char* sample) {
    ListColumn wide = columns[i];
    wide.sample = sample;
    const int want = column_width(list, wide);
    if ((int)SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0) < want) SendMessageA(list, LVM_SETCOLUMNWIDTH, i, want);
}

void list_view_autosize(HWND list, const ListColumn* columns, int count) {
    for (int i = 0; i < count; ++i) {
        if (!columns[i].fit) continue;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
        list_view_widen(list, columns, i, columns[i].sample);
    }
    for (int i = 0; i < count; ++i)
        if (columns[i].autosize) SendMessageA(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
}

LPARAM list_view_row_param(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return row >= 0 && SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}
