// Changes to a profile document parsed from arbitrary bytes: setting a stored
// value again changes nothing, remembered changes made again on the document
// (or on an empty one) give what the changes themselves give, and names and
// values of any bytes are taken without overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/profile_changes.h"
#include "config/profile_file.h"

namespace {

const char* const kSections[] = {"Schedule", "Alarm", "S", "", "Config"};
const char* const kKeys[] = {"schedule001", "alarm001", "a", "", "k"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    // The first bytes choose the changes, the rest is the file.
    const size_t ops = 3 * (data[0] % 16);
    if (size < 1 + ops) return 0;
    const uint8_t* op = data + 1;
    const char* text = reinterpret_cast<const char*>(data + 1 + ops);
    const size_t text_size = size - 1 - ops;
    ProfileFile f;
    f.parse(text, text_size);

    for (const char* sec : kSections)
        for (const char* key : kKeys) {
            const std::string* v = f.find(sec, key);
            if (v != nullptr && f.set(sec, key, std::string(*v).c_str())) std::abort();
        }

    ProfileFile direct = f, empty_direct;
    ProfileChanges changes;
    for (size_t i = 0; i < ops; i += 3) {
        const char* sec = kSections[op[i] % 5];
        const char* key = kKeys[op[i + 1] % 5];
        const std::string value(1, static_cast<char>('0' + op[i + 2] % 4));
        if (op[i] & 0x80) {
            const std::string lines = std::string(key) + "=" + value + '\0' + '\0';
            const char* l = op[i + 2] & 0x40 ? "" : lines.c_str();
            direct.replace_section(sec, l);
            empty_direct.replace_section(sec, l);
            changes.replace_section(sec, l);
        } else {
            direct.set(sec, key, value.c_str());
            empty_direct.set(sec, key, value.c_str());
            changes.set(sec, key, value.c_str());
        }
    }
    ProfileFile again = f, empty_again;
    changes.apply(&again);
    changes.apply(&empty_again);
    if (again.serialize() != direct.serialize() || empty_again.serialize() != empty_direct.serialize())
        std::abort();

    const std::string value(text, text_size);  // as a C string: up to its first NUL
    f.set("S", "k", value.c_str());
    f.set(value.c_str(), value.c_str(), "v");
    const std::string lines = value + '\0';  // one line, then the closing empty string
    f.replace_section(value.c_str(), lines.c_str());
    f.replace_section("Schedule", "schedulecount=1\0");
    f.serialize();
    return 0;
}
