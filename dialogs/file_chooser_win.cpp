#include "dialogs/file_chooser_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "config/cp932.h"
#include "config/system_dlls_win.h"
#include "dialogs/file_chooser.h"

namespace {

// The dialog's name buffers hold 255 characters and a terminator.
constexpr DWORD kNameCapacity = 256;
constexpr size_t kBufferSize = 1024;
constexpr int kResourceTextSize = 512;
constexpr size_t kExtSize = 16;

struct ChooserBuffers {
    char file[kBufferSize];
    char title[kBufferSize];
    char dir[kBufferSize];
};

// What both dialogs are given: owner, title, filter (already a list, or nullptr) and its
// index, the name buffers and the folder they open in.
OPENFILENAMEA dialog_fields(HWND owner, const char* title, const char* filter, int filter_index,
                            ChooserBuffers* b) {
    OPENFILENAMEA ofn = {};
    // The original structure size: understood by every version of the dialog.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = filter_index < 1 ? 1 : static_cast<DWORD>(filter_index);
    ofn.lpstrFile = b->file;
    ofn.nMaxFile = kNameCapacity;
    ofn.lpstrFileTitle = b->title;
    ofn.nMaxFileTitle = kNameCapacity;
    ofn.lpstrInitialDir = b->dir[0] ? b->dir : nullptr;
    ofn.lpstrTitle = title;
    return ofn;
}

// With a remembered folder given, a path naming no folder starts in it or in Documents.
void start_dir(const char* path, const char* remembered_dir, ChooserBuffers* b) {
    if (!remembered_dir) return;
    char documents[MAX_PATH] = "";
    if (!b->dir[0]) documents_folder(documents, sizeof documents);
    chooser_start_dir(path, remembered_dir, documents, b->dir, sizeof b->dir);
}

}  // namespace

void documents_folder(char* dir, size_t size) {
    if (size == 0) return;
    dir[0] = '\0';
    char buf[MAX_PATH] = "";
    if (SUCCEEDED(sys_get_folder_path(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                      SHGFP_TYPE_CURRENT, buf)) &&
        std::strlen(buf) < size)
        cp932_copy(dir, size, buf);
}

bool choose_file(HWND owner, const char* title, char* path, size_t size, char* filter,
                 int filter_index, const char* remembered_dir) {
    if (!path || size == 0) return false;
    std::unique_ptr<ChooserBuffers> b(new (std::nothrow) ChooserBuffers());
    if (!b) return false;
    const bool has_filter = filter && filter_to_terminators(filter);
    chooser_initial_dir(path, b->dir, sizeof b->dir);
    start_dir(path, remembered_dir, b.get());
    cp932_copy(b->file, kNameCapacity, path);

    OPENFILENAMEA ofn =
        dialog_fields(owner, title, has_filter ? filter : nullptr, filter_index, b.get());
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOVALIDATE;
    if (!sys_get_open_file_name(&ofn)) return false;
    cp932_copy(path, size, b->file);
    return true;
}

bool choose_file_from_resources(HWND owner, UINT title_id, char* path, size_t size,
                                UINT filter_id, int filter_index) {
    char title[kResourceTextSize] = "";
    char filter[kResourceTextSize] = "";
    LoadStringA(GetModuleHandleA(nullptr), title_id, title, sizeof title);
    LoadStringA(GetModuleHandleA(nullptr), filter_id, filter, sizeof filter);
    return choose_file(owner, title, path, size, filter, filter_index);
}

bool choose_save_file(HWND owner, const char* title, char* path, size_t size,
                      const char* default_name, char* filter, int filter_index,
                      const char* remembered_dir) {
    if (!path || size == 0) return false;
    std::unique_ptr<ChooserBuffers> b(new (std::nothrow) ChooserBuffers());
    if (!b) return false;
    const int index = filter_index < 1 ? 1 : filter_index;
    char ext[kExtSize] = "";
    if (filter) chooser_default_ext(filter, index, ext, sizeof ext);
    const bool has_filter = filter && filter_to_terminators(filter);
    save_chooser_start(path, default_name ? default_name : "", b->dir, sizeof b->dir, b->file,
                       kNameCapacity);
    start_dir(path, remembered_dir, b.get());

    OPENFILENAMEA ofn = dialog_fields(owner, title, has_filter ? filter : nullptr, index, b.get());
    ofn.lpstrDefExt = ext[0] ? ext : nullptr;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    if (!sys_get_save_file_name(&ofn)) return false;
    // A path cut short would name another file.
    if (std::strlen(b->file) >= size) return false;
    cp932_copy(path, size, b->file);
    return true;
}
