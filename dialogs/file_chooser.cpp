#include "dialogs/file_chooser.h"

#include <cstring>
#include <initializer_list>

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

namespace {

// The end of the field starting at p: the next separator or the text's end, by characters.
const char* field_end(const char* p, char sep) {
    while (*p && *p != sep) p = cp932_next(p);
    return p;
}

}  // namespace

bool chooser_default_ext(const char* filter, int index, char* ext, size_t size) {
    if (size > 0) ext[0] = '\0';
    const char* last = cp932_last_char(filter);
    if (!last || cp932_is_lead(static_cast<unsigned char>(*last)) || index < 1) return false;
    const char sep = *last;
    // Field 2 * index - 1 (0-based) holds the entry's patterns.
    const char* p = filter;
    for (int field = 0; field < 2 * index - 1; ++field) {
        p = field_end(p, sep);
        if (!*p) return false;
        ++p;
    }
    const char* end = field_end(p, sep);
    if (p == end) return false;
    const char* first_end = p;
    while (first_end < end && *first_end != ';') first_end = cp932_next(first_end);
    if (first_end - p < 3 || p[0] != '*' || p[1] != '.') return false;
    for (const char* q = p + 2; q < first_end; q = cp932_next(q))
        if (*q == '*' || *q == '?' || *q == '.' || *q == ' ') return false;
    const size_t n = static_cast<size_t>(first_end - (p + 2));
    if (n + 1 > size) return false;
    cp932_copy_n(ext, size, p + 2, n);
    return true;
}

void save_chooser_start(const char* path, const char* default_name, char* dir, size_t dir_size,
                        char* name, size_t name_size) {
    chooser_initial_dir(path, dir, dir_size);
    if (name_size == 0) return;
    char folder[1024];
    path_split(path, folder, sizeof folder, nullptr, 0, nullptr, 0);
    const size_t at = std::strlen(folder);
    const char* file = std::strlen(path) > at ? path + at : "";
    cp932_copy(name, name_size, *file ? file : default_name);
}

namespace {

bool absolute_folder(const char* dir) {
    const bool drive = ((dir[0] >= 'A' && dir[0] <= 'Z') || (dir[0] >= 'a' && dir[0] <= 'z')) &&
                       dir[1] == ':' && (dir[2] == '\\' || dir[2] == '/');
    const bool share = dir[0] == '\\' && dir[1] == '\\' && dir[2] && dir[2] != '\\';
    return drive || share;
}

}  // namespace

void chooser_start_dir(const char* path, const char* remembered, const char* documents,
                       char* dir, size_t size) {
    if (size == 0) return;
    chooser_initial_dir(path, dir, size);
    if (dir[0]) return;
    for (const char* folder : {remembered, documents}) {
        // A folder cut short would name another one.
        if (folder && absolute_folder(folder) && std::strlen(folder) < size) {
            char buf[1024];
            cp932_copy(buf, sizeof buf, folder);
            if (std::strlen(buf) >= 4) path_strip_separator(buf, sizeof buf);
            cp932_copy(dir, size, buf);
            return;
        }
    }
}
