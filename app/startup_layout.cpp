#include "app/startup_layout.h"

#include <cstdio>

namespace {

// True when "%s%s.cfg" fits whole into out.
bool format_fits(char* out, size_t size, const char* dir, const char* name) {
    const int n = std::snprintf(out, size, "%s%s.cfg", dir, name);
    return n >= 0 && static_cast<size_t>(n) < size;
}

}  // namespace

SettingsPathResult settings_path_build(char* out, size_t size, const char* program_dir,
                                       const char* user_name) {
    if (out == nullptr || size == 0) return kPathTooLong;
    const char* dir = program_dir != nullptr ? program_dir : "";
    if (user_name != nullptr && user_name[0] != '\0' && format_fits(out, size, dir, user_name))
        return kPathWithUser;
    if (format_fits(out, size, dir, "default")) return kPathDefault;
    out[0] = '\0';
    return kPathTooLong;
}
