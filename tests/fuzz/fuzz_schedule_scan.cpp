// The start-up load on arbitrary bytes as the settings file (and as the
// older files it imports from when the schedule is missing): no overrun, the
// list stays within its limits, and a file the program saved loads and saves
// back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/fileio.h"
#include "config/profile.h"
#include "schedule/entry.h"
#include "schedule/storage.h"
#include "tests/host/test_records.h"

namespace {

// The settings file in memory; the older files read as the input itself.
class MemoryFileIO : public FileIO {
public:
    std::string file, input;
    uint64_t version = 0;

    FileStamp stamp(const char*) override {
        FileStamp st;
        st.exists = true;
        st.size = file.size();
        st.time = version;
        return st;
    }
    bool read_all(const char* path, std::string* out) override {
        const size_t n = std::strlen(path);
        *out = n > 4 && std::strcmp(path + n - 4, ".cfg") == 0 ? file : input;
        return true;
    }
    bool write_atomic(const char*, const char* data, size_t n) override {
        file.assign(data, n);
        ++version;
        return true;
    }
};

MemoryFileIO io;

std::string load_and_save() {
    profile_open("fuzz.cfg", &io);
    startup_load(&settings, &schedule, 1024, 768);
    if (schedule.count < 0 || schedule.count > kMaxEntries) std::abort();
    for (int i = 0; i < schedule.count; ++i)
        if (std::strlen(schedule.entries[i].memo) > 80 || std::strlen(schedule.entries[i].sound_file) > 266)
            std::abort();
    if (!schedule_save(settings, &schedule)) std::abort();
    return io.file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    storage_set_sources("P", "W", nullptr);
    io.input.assign(reinterpret_cast<const char*>(data), size);
    io.file = io.input;
    load_and_save();
    // The first save may still hold entries a load drops (an empty memo does
    // not survive); from then on the file the program wrote reads back as it
    // was written.
    const std::string twice = load_and_save();
    if (load_and_save() != twice) std::abort();
    return 0;
}
