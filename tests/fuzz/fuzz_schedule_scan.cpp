// The start-up load of the schedule on arbitrary bytes as the settings file (and the imports
// of the older forms on the same bytes), run on the parsed document: no overrun, the list
// stays within its limits, every slot of the file is in the list or carried, and a file the
// program saved reads and saves back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/schedule_sections.h"
#include "schedule/storage.h"

namespace {

ScheduleList held;
ScheduleEntry* const list = held.entries;

void check_list(int count) {
    if (count < 0 || count > kMaxEntries) std::abort();
    for (int i = 0; i < count; ++i)
        if (std::strlen(list[i].memo) > 80 || std::strlen(list[i].sound_file) > 266) std::abort();
}

// Loads doc as the start does and writes it back the way a save does.
std::string load_and_save(const ProfileFile& doc, ScheduleKeep* keep, int* count) {
    *keep = ScheduleKeep();
    *count = 0;
    schedule_merge(doc, list, count, kMaxEntries, keep);
    check_list(*count);
    ProfileFile out = doc;
    schedule_write(&out, list, *count, *keep);
    return out.serialize();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    ProfileFile doc;
    doc.parse(text, size);

    // The older forms, read from the same bytes when the start would read them.
    if (static_cast<int16_t>(doc.get_int("Schedule", "schedulecount", -1)) == -1) {
        check_list(import_legacy_profile(doc, &held));
        check_list(import_anniversaries(text, size, &held));
    }

    ScheduleKeep keep;
    int count = 0;
    const std::string once = load_and_save(doc, &keep, &count);

    // Every slot read is in the list or carried: none is dropped, none made up.
    ScheduleKeep all;
    int none = 0;
    schedule_merge(doc, list, &none, 0, &all);
    if (all.not_loaded != keep.not_loaded + count ||
        all.carried.size() != keep.carried.size() + static_cast<size_t>(count))
        std::abort();

    // The file written reads back as it was written: the same entries, the same bytes.
    ProfileFile saved;
    saved.parse(once.data(), once.size());
    ScheduleKeep again;
    int count_again = 0;
    if (load_and_save(saved, &again, &count_again) != once || count_again != count) std::abort();

    // And a save of that file, nothing changed, leaves it as it is.
    schedule_keep_written(&again, list, count_again);
    schedule_merge(saved, list, &count_again, kMaxEntries, &again);
    ProfileFile twice = saved;
    schedule_write(&twice, list, count_again, again);
    if (count_again != count || twice.serialize() != once) std::abort();
    return 0;
}
