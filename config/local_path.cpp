#include "config/local_path.h"

#include <cstring>

#include "config/ascii.h"
#include "config/cp932.h"

namespace {

bool is_sep(char c) { return c == '\\' || c == '/'; }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Printable single bytes and whole double-byte characters only.
bool well_formed(const char* p) {
    while (*p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F) return false;
        if (cp932_is_lead(c)) {
            if (static_cast<unsigned char>(p[1]) < 0x40) return false;  // cut short
            p += 2;
        } else {
            ++p;
        }
    }
    return true;
}

// "http:", "file:", "smb:": a letter, then letters, digits, "+", "-" or ".", then ":".
// One letter before the colon is a drive, not a scheme.
bool has_url_scheme(const char* p) {
    if (!is_letter(p[0])) return false;
    size_t n = 1;
    while (is_letter(p[n]) || (p[n] >= '0' && p[n] <= '9') || p[n] == '+' || p[n] == '-' ||
           p[n] == '.')
        ++n;
    return n >= 2 && p[n] == ':';
}

bool starts_with_word(const char* p, const char* word) {
    for (; *word; ++p, ++word)
        if (ascii_upper(*p) != *word) return false;
    return true;
}

// The names the system takes for devices in any folder, with any extension.
bool device_name(const char* name, size_t n) {
    // Trailing dots and blanks are dropped, then everything from the first dot, then blanks.
    while (n > 0 && (name[n - 1] == '.' || name[n - 1] == ' ')) --n;
    const void* dot = std::memchr(name, '.', n);
    if (dot) n = static_cast<size_t>(static_cast<const char*>(dot) - name);
    while (n > 0 && name[n - 1] == ' ') --n;
    char base[8];
    if (n == 0 || n >= sizeof base) return false;
    for (size_t i = 0; i < n; ++i) base[i] = ascii_upper(name[i]);
    base[n] = '\0';
    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kFixed)
        if (std::strcmp(base, d) == 0) return true;
    return n == 4 && (std::memcmp(base, "COM", 3) == 0 || std::memcmp(base, "LPT", 3) == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

// The part after "X:\": plain names only. A stream (":") or a device name is kDevice, a
// character no file name holds kMalformed; kLocalFixed when every name is plain.
PathPlace names_place(const char* p) {
    const char* name = p;
    for (;; p = cp932_next(p)) {
        const char c = *p;
        if (c == '\0' || is_sep(c)) {
            if (device_name(name, static_cast<size_t>(p - name))) return PathPlace::kDevice;
            if (c == '\0') return PathPlace::kLocalFixed;
            name = p + 1;
        } else if (c == ':') {
            return PathPlace::kDevice;
        } else if (std::strchr("*?\"<>|", c)) {
            return PathPlace::kMalformed;
        }
    }
}

// After two leading separators: "\\?\UNC\", "\\.\UNC\" reach a share as "\\host\" does; the
// rest of "\\?\" and "\\.\" is the device namespace.
PathPlace double_separator_place(const char* p) {
    if ((p[2] == '?' || p[2] == '.') && is_sep(p[3]))
        return starts_with_word(p + 4, "UNC") && is_sep(p[7]) ? PathPlace::kNetwork
                                                               : PathPlace::kDevice;
    return PathPlace::kNetwork;
}

}  // namespace

PathPlace local_path_place(const char* path, const DriveQuestion& drives) {
    if (path == nullptr || path[0] == '\0') return PathPlace::kEmpty;
    if (!well_formed(path)) return PathPlace::kMalformed;
    const char* p = path;
    if (is_sep(p[0]) && is_sep(p[1])) return double_separator_place(p);
    if (is_sep(p[0]) && p[1] == '?' && p[2] == '?' && is_sep(p[3])) return PathPlace::kDevice;
    if (has_url_scheme(p)) return PathPlace::kUrl;
    if (!is_letter(p[0]) || p[1] != ':' || !is_sep(p[2])) return PathPlace::kRelative;
    const PathPlace names = names_place(p + 3);
    if (names != PathPlace::kLocalFixed) return names;
    const DriveKind kind = drives.kind ? drives.kind(drives.context, ascii_upper(p[0])) : DriveKind::kOther;
    switch (kind) {
    case DriveKind::kFixed:
        return PathPlace::kLocalFixed;
    case DriveKind::kRemote:
        return PathPlace::kNetwork;
    default:
        return PathPlace::kNotFixed;
    }
}
