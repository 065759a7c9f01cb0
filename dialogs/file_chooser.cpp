#include "dialogs/file_chooser.h"

#include <cstring>

#include "config/cp932.h"
#include "config/paths.h"

bool filter_to_terminators(char* filter) {
    const char* last = cp932_last_char(filter);
    if (!last || cp932_is_lead(static_cast<unsigned char>(*last))) return false;
    const char sep = *last;
    for (char* p = filter; *p;) {
        char* next = cp932_next(p);
        if (*p == sep) *p = '\0';
        p = next;
    }
    return true;
}

void chooser_initial_dir(const char* path, char* dir, size_t size) {
    if (size == 0) return;
    dir[0] = '\0';
    char buf[1024];
    path_split(path, buf, sizeof buf, nullptr, 0, nullptr, 0);
    if (buf[0] == '\0') return;
    // A directory of one or two bytes ("\" or "a/") is no drive: keep it as split.
    if (std::strlen(buf) >= 4) path_strip_separator(buf, sizeof buf);
    cp932_copy(dir, size, buf);
}
