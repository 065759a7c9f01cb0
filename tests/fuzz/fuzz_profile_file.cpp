// The profile file parser and writer on arbitrary bytes: no overrun, lookups
// stay within their buffers, and a parsed document written and parsed again
// is the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 8192) return 0;
    const size_t small = 1 + data[0] % 40;
    ProfileFile f;
    f.parse(reinterpret_cast<const char*>(data + 1), size - 1);

    // The same sections, keys and values in the same order, so written
    // again, the same bytes.
    const std::string once = f.serialize();
    ProfileFile g;
    g.parse(once.data(), once.size());
    if (g.section_count() != f.section_count() || g.serialize() != once) std::abort();

    std::vector<char> buf(small, '#');
    for (const char* sec : {"Schedule", "Alarm", "S", ""}) {
        for (const char* key : {"schedule001", "alarm001", "a", ""}) {
            const size_t n = f.get_string(sec, key, "default value", buf.data(), small);
            if (n >= small || buf[n] != '\0') std::abort();
            f.get_int(sec, key, -1);
        }
    }
    return 0;
}
