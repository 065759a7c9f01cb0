#include "image/plugins_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "config/handles_win.h"
#include "config/paths.h"
#include "image/bitmap_decode.h"
#include "image/bitmap_file.h"
#include "image/plugin_api_win.h"
#include "image/plugin_table.h"

namespace {

constexpr DWORD kDirSize = 300;
constexpr size_t kHeadSize = 2048 + 128;
constexpr size_t kPrefix = 128;

template <class Fn>
Fn entry_point(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// LoadLibraryA with dir as the current directory, and without the system's error boxes.
HMODULE load_beside(const char* full_path, const char* dir) {
    char saved[kDirSize] = "";
    const DWORD n = GetCurrentDirectoryA(kDirSize, saved);
    char here[kDirSize];
    std::snprintf(here, sizeof here, "%s", dir);
    path_strip_separator(here, sizeof here);
    SetCurrentDirectoryA(here);
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE m = LoadLibraryA(full_path);
    SetErrorMode(mode);
    if (n > 0 && n < kDirSize) SetCurrentDirectoryA(saved);
    return m;
}

bool register_plugin(HMODULE module, PluginEntry* entry) {
    const auto info = entry_point<GetPluginInfoFn>(module, "GetPluginInfo");
    if (info == nullptr) return false;
    *entry = PluginEntry{};
    if (!read_plugin_formats([info](int n, char* buf, int len) { return info(n, buf, len); }, entry))
        return false;
    entry->module = module;
    return true;
}

// One plug-in's answer for path; true when it delivered a drawable picture.
bool picture_from(HMODULE module, const char* path, const unsigned char* head, ScreenSize screen,
                  PixelBlock* pixels, ImageInfo* info) {
    const auto supported = entry_point<IsSupportedFn>(module, "IsSupported");
    if (supported == nullptr) return false;
    void* at0 = const_cast<unsigned char*>(head);
    void* at128 = const_cast<unsigned char*>(head + kPrefix);
    LONG_PTR offset;
    if (supported(path, at0)) offset = 0;
    else if (supported(path, at128)) offset = static_cast<LONG_PTR>(kPrefix);
    else return false;

    const auto get_picture = entry_point<GetPictureFn>(module, "GetPicture");
    if (get_picture == nullptr) return false;
    HLOCAL info_handle = nullptr, pixel_handle = nullptr;
    const int failed = get_picture(path, offset, 0, &info_handle, &pixel_handle, nullptr, 0);
    // Whatever it handed out is ours to free, also when it then reports a failure.
    const OwnedLocal info_owner(info_handle), pixel_owner(pixel_handle);
    if (failed != 0) return false;
    const LocalLockGuard info_lock(info_handle), pixel_lock(pixel_handle);
    if (info_lock.get() == nullptr || pixel_lock.get() == nullptr) return false;
    return accept_plugin_picture(static_cast<const uint8_t*>(info_lock.get()), info_lock.size(),
                                 static_cast<const uint8_t*>(pixel_lock.get()), pixel_lock.size(),
                                 pixels, info, screen);
}

}  // namespace

namespace {

char g_deferred_dir[kDirSize] = "";

}  // namespace

void defer_image_plugins(const char* dir) {
    unload_image_plugins();
    std::snprintf(g_deferred_dir, sizeof g_deferred_dir, "%s", dir ? dir : "");
}

const PluginTable& image_plugins() {
    if (g_deferred_dir[0] != '\0') {
        char dir[kDirSize];
        std::memcpy(dir, g_deferred_dir, sizeof dir);
        load_image_plugins(dir);  // forgets the deferred directory: one attempt
    }
    return plugin_table;
}

int load_image_plugins(const char* dir) {
    unload_image_plugins();
    if (dir == nullptr || dir[0] == '\0') return 0;
    char base[kDirSize];
    std::snprintf(base, sizeof base, "%s", dir);
    if (!path_add_separator(base, sizeof base)) return 0;
    char pattern[kDirSize + 8];
    std::snprintf(pattern, sizeof pattern, "%s*.SPI", base);

    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA(pattern, &found));
    if (!find) return 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        char full[MAX_PATH * 2];
        const int n = std::snprintf(full, sizeof full, "%s%s", base, found.cFileName);
        if (n < 0 || static_cast<size_t>(n) >= sizeof full) continue;
        OwnedLibrary module(load_beside(full, base));
        if (!module) continue;
        if (register_plugin(module.get(), &plugin_table.entries[plugin_table.count])) {
            module.release();
            ++plugin_table.count;
        }
    } while (plugin_table.count < kMaxPlugins && FindNextFileA(find.get(), &found));
    return plugin_table.count;
}

void unload_image_plugins() {
    for (int i = 0; i < plugin_table.count && i < kMaxPlugins; ++i)
        if (plugin_table.entries[i].module) FreeLibrary(static_cast<HMODULE>(plugin_table.entries[i].module));
    std::memset(&plugin_table, 0, sizeof plugin_table);
    g_deferred_dir[0] = '\0';
}

bool load_plugin_picture(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info) {
    unsigned char head[kHeadSize] = {};
    {  // closed again before the plug-ins open the file themselves
        FileSource file(path);
        if (!file.is_open()) return false;
        file.read_at(0, head, sizeof head);
    }
    const PluginTable& table = image_plugins();
    for (int i = 0; i < table.count && i < kMaxPlugins; ++i) {
        HMODULE module = static_cast<HMODULE>(table.entries[i].module);
        if (module && picture_from(module, path, head, screen, pixels, info)) return true;
    }
    pixels->reset();
    return false;
}

bool load_image_file(const char* path, ScreenSize screen, PixelBlock* pixels, ImageInfo* info) {
    pixels->reset();
    if (is_builtin_bitmap(path)) return load_bitmap_file(path, screen, pixels, info);
    if (plugin_handles_extension(image_plugins(), path))
        return load_plugin_picture(path, screen, pixels, info);
    return false;
}
