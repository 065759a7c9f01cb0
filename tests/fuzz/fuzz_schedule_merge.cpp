// The settings file changed behind the program between its load and its save: any file,
// edits of the list made here, and lines of the file dropped and added meanwhile. Nothing is
// lost: every entry is in the saved file as many times as the changes on both sides give
// (an entry added on either side is there, one deleted on either side and unchanged on the
// other is gone), the list stays within its room, and the saved file reads back to the same.
//
// Input: byte 0 the room of the list (1..8) and the number of edits (0..15), two bytes per
// edit, two bytes (little-endian) for the length of the file at load, that file, then one
// byte whose bits say which of its lines are dropped (in turn), and the lines added.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/entry_identity.h"
#include "schedule/schedule_sections.h"

namespace {

using Counts = std::unordered_map<std::string, long>;

// The slots the list and the carried ones stand for.
Counts holdings(const ScheduleEntry* list, int count, const ScheduleKeep& keep) {
    Counts c;
    for (int i = 0; i < count; ++i) ++c[slot_identity(stored_slot_of(list[i]))];
    for (const StoredSlot& s : keep.carried) ++c[slot_identity(s)];
    return c;
}

// Every slot of a document, whatever the room.
Counts slots_of(const ProfileFile& doc) {
    ScheduleEntry unused[1];
    int count = 0;
    ScheduleKeep all;
    schedule_merge(doc, unused, &count, 0, &all);
    return holdings(unused, 0, all);
}

long at(const Counts& c, const std::string& id) {
    auto it = c.find(id);
    return it == c.end() ? 0 : it->second;
}

long positive(long v) { return v > 0 ? v : 0; }

// The edits made here: delete, add or change the memo of an entry.
void edit(uint8_t what, uint8_t which, int n, ScheduleEntry* list, int* count, int room) {
    const int i = *count > 0 ? which % *count : 0;
    switch (what % 3) {
    case 0:
        if (*count == 0) return;
        for (int k = i + 1; k < *count; ++k) list[k - 1] = list[k];
        --*count;
        return;
    case 1:
        if (*count >= room) return;
        entry_blank(&list[*count]);
        list[*count].year = 2004;
        list[*count].month = 1 + which % 12;
        list[*count].day = 1 + which % 28;
        list[*count].scramble = what & 0x10;
        std::snprintf(list[*count].memo, sizeof list[0].memo, "new %d", n);
        entry_ensure_uid(&list[(*count)++]);  // as an entry added here has
        return;
    default:
        if (*count == 0) return;
        std::snprintf(list[i].memo, sizeof list[i].memo, "changed %d", n);
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3 || size > 8192) return 0;
    const int room = 1 + data[0] % 8;
    const size_t edits = data[0] / 16;
    size_t pos = 1 + 2 * edits;
    if (size < pos + 2) return 0;
    const uint8_t* ops = data + 1;
    const size_t first_len = data[pos] | (data[pos + 1] << 8);
    pos += 2;
    if (size < pos + first_len + 1) return 0;
    const std::string first(reinterpret_cast<const char*>(data + pos), first_len);
    pos += first_len;
    const uint8_t drop = data[pos++];
    const std::string added(reinterpret_cast<const char*>(data + pos), size - pos);

    // The load.
    ScheduleEntry list[8];
    int count = 0;
    ScheduleKeep keep;
    ProfileFile doc;
    doc.parse(first.data(), first.size());
    schedule_merge(doc, list, &count, room, &keep);
    Counts base;
    for (const std::string& id : keep.list_base) ++base[id];
    for (const StoredSlot& s : keep.carried) ++base[slot_identity(s)];

    for (size_t k = 0; k < edits; ++k) edit(ops[2 * k], ops[2 * k + 1], static_cast<int>(k), list, &count, room);
    const Counts mine = holdings(list, count, keep);

    // The file meanwhile: lines of the first one dropped, others added.
    std::string now;
    size_t line = 0;
    for (size_t b = 0; b < first.size(); ++line) {
        size_t e = first.find('\n', b);
        e = e == std::string::npos ? first.size() : e + 1;
        if (!(drop >> (line % 8) & 1)) now.append(first, b, e - b);
        b = e;
    }
    now += "\r\n" + added;
    ProfileFile changed;
    changed.parse(now.data(), now.size());
    const Counts theirs = slots_of(changed);

    schedule_merge(changed, list, &count, room, &keep);
    if (count < 0 || count > room) std::abort();
    const Counts result = holdings(list, count, keep);

    Counts every = mine;
    for (const auto& t : theirs) every[t.first];
    for (const auto& b : base) every[b.first];
    for (const auto& x : every) {
        const std::string& id = x.first;
        const long gone = positive(at(base, id) - at(theirs, id));
        const long want = positive(at(mine, id) - gone) + positive(at(theirs, id) - at(base, id));
        if (at(result, id) != want) std::abort();
    }

    // Written, the file holds exactly that.
    ProfileFile saved = changed;
    schedule_write(&saved, list, count, keep);
    const std::string bytes = saved.serialize();
    ProfileFile reread;
    reread.parse(bytes.data(), bytes.size());
    if (slots_of(reread) != result) std::abort();
    return 0;
}
