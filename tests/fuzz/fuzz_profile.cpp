// The profile file parser and the schedule scan on arbitrary bytes: no
// overrun, and written documents read back as they were written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/profile.h"
#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/storage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 8192) return 0;
    const size_t small = 1 + data[0] % 40;
    const char* text = reinterpret_cast<const char*>(data + 1);
    ProfileFile f;
    f.parse(text, size - 1);
    // Written and read back, a document reaches a fixed point after one more
    // round (the first may still merge headerless sections, as the platform
    // does).
    const std::string once = f.serialize();
    ProfileFile g;
    g.parse(once.data(), once.size());
    const std::string twice = g.serialize();
    ProfileFile h;
    h.parse(twice.data(), twice.size());
    if (h.serialize() != twice) std::abort();

    std::vector<char> buf(small, '#');
    for (const char* sec : {"Schedule", "Alarm", "S", ""}) {
        for (const char* key : {"schedule001", "alarm001", "a", ""}) {
            const size_t n = f.get_string(sec, key, "default value", buf.data(), small);
            if (n >= small || buf[n] != '\0') std::abort();
            f.get_int(sec, key, -1);
        }
    }
    const std::string value(text, size - 1);  // as a C string: up to its first NUL
    f.set("S", "k", value.c_str());
    f.set(value.c_str(), value.c_str(), "v");
    f.replace_section("Schedule", "schedulecount=1\0");

    // The same bytes as a settings file's schedule sections.
    *profile_document() = g;
    schedule_scan();
    if (schedulecount < 0 || schedulecount > kMaxEntries) std::abort();
    for (int i = 0; i < schedulecount; ++i)
        if (std::strlen(schedule_list[i].memo) > 80 || std::strlen(schedule_list[i].sound_file) > 266)
            std::abort();
    return 0;
}
