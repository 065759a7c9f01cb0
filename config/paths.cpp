#include "config/paths.h"

#include <cstring>

#include "config/cp932.h"

namespace {

// Length of s if it is NUL-terminated within size, else size.
size_t bounded_len(const char* s, size_t size) {
    const void* nul = std::memchr(s, '\0', size);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - s) : size;
}

bool ends_in_backslash(const char* path) {
    const char* last = cp932_last_char(path);
    return last != nullptr && last[0] == '\\' && last[1] == '\0';
}

}  // namespace

bool path_add_separator(char* path, size_t size) {
    const size_t len = bounded_len(path, size);
    if (len == size) return false;
    if (ends_in_backslash(path)) return true;
    if (len + 2 > size) return false;
    path[len] = '\\';
    path[len + 1] = '\0';
    return true;
}

int path_strip_separator(char* path, size_t size) {
    const size_t len = bounded_len(path, size);
    if (len == size) return -1;
    if (len == 0) return 0;
    if (len < 4) {
        if (size < 4) return static_cast<int>(len);
        path[1] = ':';
        path[2] = '\\';
        path[3] = '\0';
        return 3;
    }
    if (ends_in_backslash(path)) path[len - 1] = '\0';
    return static_cast<int>(std::strlen(path));
}

void path_split(const char* path, char* dir, size_t dir_size, char* name, size_t name_size,
                char* ext, size_t ext_size) {
    char work[1024];
    cp932_copy(work, sizeof work, path);

    char* sep = nullptr;
    char* dot = nullptr;
    for (char* p = work; *p != '\0'; p = cp932_next(p)) {
        if (*p == '\\' || *p == '/') sep = p;
        else if (*p == '.') dot = p;
    }
    if (dir && dir_size) dir[0] = '\0';
    if (name && name_size) name[0] = '\0';
    if (ext && ext_size) ext[0] = '\0';
    if (dot && sep && dot < sep) dot = nullptr;

    const char* base = sep ? sep + 1 : work;
    if (dir && sep) cp932_copy_n(dir, dir_size, work, static_cast<size_t>(base - work));

    if (dot && std::strlen(dot + 1) > 4) dot = nullptr;  // too long: part of the name
    if (name) cp932_copy_n(name, name_size, base, dot ? static_cast<size_t>(dot - base) : sizeof work);
    if (ext && dot) cp932_copy(ext, ext_size, dot);
}

namespace {

// Rebuilds text (of length len) as text[0..pos) + rep + text[pos+m..], cut on
// a character boundary to size - 1 bytes. Returns false if it had to be cut.
bool splice(char* text, size_t size, size_t len, size_t pos, size_t m, const char* rep, size_t r) {
    const size_t new_len = len - m + r;
    const size_t keep = size - 1;
    size_t cut = new_len;
    if (new_len > keep) {
        // Byte i of the result as it would be without a cut.
        auto at = [&](size_t i) -> unsigned char {
            if (i < pos) return static_cast<unsigned char>(text[i]);
            if (i < pos + r) return static_cast<unsigned char>(rep[i - pos]);
            return static_cast<unsigned char>(text[pos + m + (i - pos - r)]);
        };
        cut = 0;
        while (cut < new_len) {
            const size_t step = (cp932_is_lead(at(cut)) && cut + 1 < new_len) ? 2 : 1;
            if (cut + step > keep) break;
            cut += step;
        }
    }
    // pos is a character boundary of the result, so cut >= pos.
    const size_t rep_kept = cut - pos < r ? cut - pos : r;
    const size_t tail_kept = cut > pos + r ? cut - pos - r : 0;
    std::memmove(text + pos + rep_kept, text + pos + m, tail_kept);
    std::memcpy(text + pos, rep, rep_kept);
    text[cut] = '\0';
    return cut == new_len;
}

}  // namespace

int replace_all(char* text, size_t size, const char* pattern, const char* replacement) {
    const size_t len0 = bounded_len(text, size);
    if (len0 == size || pattern[0] == '\0') return 0;
    char* hit = cp932_strstr(text, pattern);
    if (hit == nullptr) return 0;

    const size_t m = std::strlen(pattern);
    const size_t r = std::strlen(replacement);
    // Searching from the start would find a self-containing replacement again
    // and again; for those, continue after the inserted text instead.
    const bool resume_after = cp932_strstr(replacement, pattern) != nullptr;
    // Safety net: a rewrite that keeps the length could in principle go on
    // matching; no sane use needs more passes than this.
    const size_t side = size < 4096 ? size : 4096;
    size_t passes_left = side * side + 16;

    size_t len = len0;
    while (hit != nullptr && passes_left-- > 0) {
        const size_t pos = static_cast<size_t>(hit - text);
        if (!splice(text, size, len, pos, m, replacement, r)) break;
        len = len - m + r;
        hit = resume_after ? cp932_strstr(text + pos + r, pattern) : cp932_strstr(text, pattern);
    }
    return 1;
}
