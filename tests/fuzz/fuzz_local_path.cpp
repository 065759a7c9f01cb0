// The local-file rule on any bytes, in a buffer of exactly their size: it reads nothing past
// the terminator; a path it takes is a drive path on a drive it asked about, and stops being
// taken when that drive is a share or missing; "/" and "\" are one separator to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "config/local_path.h"

namespace {

struct Answer {
    DriveKind kind;
    int asked = 0;
    char letter = 0;
};

DriveKind answer(void* context, char letter) {
    Answer* a = static_cast<Answer*>(context);
    ++a->asked;
    a->letter = letter;
    return a->kind;
}

PathPlace place(const std::vector<char>& path, DriveKind kind, Answer* a) {
    a->kind = kind;
    DriveQuestion q;
    q.kind = answer;
    q.context = a;
    return local_path_place(path.data(), q);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::vector<char> path(data, data + size);
    path.push_back('\0');
    path.resize(std::strlen(path.data()) + 1);

    Answer fixed;
    const PathPlace p = place(path, DriveKind::kFixed, &fixed);
    if (fixed.asked > 1) std::abort();
    if (p == PathPlace::kLocalFixed) {
        const char c = path[0];
        if (fixed.asked != 1 || fixed.letter < 'A' || fixed.letter > 'Z' ||
            (c & ~0x20) != fixed.letter || path[1] != ':' || (path[2] != '\\' && path[2] != '/'))
            std::abort();
        if (std::strchr(path.data() + 2, ':')) std::abort();
        Answer remote, other;
        if (place(path, DriveKind::kRemote, &remote) != PathPlace::kNetwork) std::abort();
        if (place(path, DriveKind::kOther, &other) != PathPlace::kNotFixed) std::abort();
    } else if (fixed.asked != 0 && p != PathPlace::kLocalFixed) {
        std::abort();  // asked about a drive, and still refused for the path itself
    }

    // No trail byte of a double-byte character is "/", so in well-formed text turning every
    // "/" into "\" keeps every character and must keep the verdict.
    if (p == PathPlace::kMalformed) return 0;
    std::vector<char> back = path;
    for (char& c : back)
        if (c == '/') c = '\\';
    Answer again;
    if (place(back, DriveKind::kFixed, &again) != p) std::abort();
    return 0;
}
