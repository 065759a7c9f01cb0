#include "schedule/schedule_sections.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "config/cp932.h"
#include "config/profile.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/storage.h"

namespace {

const char kSchedule[] = "Schedule";
const char kAlarm[] = "Alarm";

// Reading limits of the stored values. Room for the longest values the
// program writes: an alarm with a 266-byte sound path scrambles to 365
// characters, a schedule value with an 80-byte memo to 121.
constexpr size_t kScheduleValueSize = 200;
constexpr size_t kAlarmValueSize = 400;

using Line = ProfileFile::Line;
// Occurrences of a stored form, a multiset.
using Counts = std::unordered_map<std::string, int>;

std::string identity(const StoredSlot& s) {
    std::string id(1, s.readable ? 'R' : 'U');
    id += s.value;
    id += '\0';
    id += s.alarm;
    return id;
}

bool take(Counts* counts, const std::string& id) {
    auto it = counts->find(id);
    if (it == counts->end() || it->second == 0) return false;
    --it->second;
    return true;
}

std::string key_name(const char* prefix, int k) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d", prefix, k);
    return name;
}

struct Sections {
    std::vector<StoredSlot> slots;  // in key order
    // The values each slot was read from (in the document), so that an entry taken into
    // the list keeps what its load reads, an invalid alarm's values too.
    std::vector<std::pair<const std::string*, const std::string*>> read_from;
    std::vector<Line> schedule_lines, alarm_lines;
};

// Every slot of doc, read as the start-up load reads them.
Sections read_sections(const ProfileFile& doc) {
    static const std::vector<Line> kNone;
    const std::vector<Line>* sched = doc.lines(kSchedule);
    const std::vector<Line>* alarm = doc.lines(kAlarm);
    if (sched == nullptr) sched = &kNone;
    if (alarm == nullptr) alarm = &kNone;

    Sections out;
    struct Numbered {
        int k;
        size_t line;
    };
    std::vector<Numbered> numbered;
    for (size_t i = 0; i < sched->size(); ++i) {
        const Line& l = (*sched)[i];
        const std::string folded = profile_fold_name(l.name.data(), l.name.size());
        const int k = l.has_value ? stored_key_number(folded, "schedule") : 0;
        if (k != 0)
            numbered.push_back({k, i});
        else if (!l.has_value || folded != "schedulecount")
            out.schedule_lines.push_back(l);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const Numbered& a, const Numbered& b) { return a.k < b.k; });

    // Alarm lines of each number, in file order.
    std::unordered_map<int, std::vector<size_t>> alarms;
    for (size_t i = 0; i < alarm->size(); ++i) {
        const Line& l = (*alarm)[i];
        const int k = l.has_value
                          ? stored_key_number(profile_fold_name(l.name.data(), l.name.size()), "alarm")
                          : 0;
        if (k != 0) alarms[k].push_back(i);
    }
    std::vector<bool> taken(alarm->size(), false);
    std::unordered_map<int, size_t> seen;  // slots of each number so far
    ScheduleEntry e;
    for (const Numbered& n : numbered) {
        const std::string& value = (*sched)[n.line].value;
        const size_t nth = seen[n.k]++;
        auto a = alarms.find(n.k);
        const size_t alarm_line = a != alarms.end() && nth < a->second.size() ? a->second[nth] : SIZE_MAX;
        const std::string* alarm_value = alarm_line != SIZE_MAX ? &(*alarm)[alarm_line].value : nullptr;
        bool takes_alarm = false;
        out.read_from.emplace_back(&value, alarm_value);
        const bool readable = entry_from_stored(value, alarm_value, &e, &takes_alarm);
        // A slot that does not read as an entry once written (a memo of blanks) is kept like
        // one that does not read now.
        out.slots.push_back(readable ? stored_slot_of(e) : StoredSlot{false, value, std::string()});
        // The alarm of a slot kept as stored stays a line of its own: taken along, it could
        // meet another alarm line under the number the slot is written with.
        if (out.slots.back().readable && takes_alarm && alarm_value != nullptr)
            taken[alarm_line] = true;
    }
    for (size_t i = 0; i < alarm->size(); ++i)
        if (!taken[i]) out.alarm_lines.push_back((*alarm)[i]);
    return out;
}

void fill_entry(const char* value, ScheduleEntry* e) {
    entry_blank(e);
    e->year = storage_number(value, 4);
    e->month = storage_number(value + 4, 2);
    e->day = storage_number(value + 6, 2);
    if (e->year == 0) e->year = -1;
    if (e->month == 0) e->month = -1;
    if (e->day == 0) e->day = -1;
    e->holiday = value[8] & 1;
    e->scramble = value[8] & 2;
    e->has_time = value[9] & 1;
    cp932_copy(e->memo, sizeof e->memo, value + 10);
    e->alarm_at = 0;
    if (e->month == -1) e->year = -1;
    if (e->day == -1) {
        e->year = -1;
        e->month = -1;
        e->holiday = 0;
    }
}

// The alarm of an entry with a time flag; an invalid or missing one switches the time off
// (the values read stay in the fields).
void fill_alarm(const std::string* stored, ScheduleEntry* e) {
    char alarm[kAlarmValueSize];
    if (stored == nullptr) {
        e->has_time = 0;
        return;
    }
    profile_stored_text(*stored, alarm, sizeof alarm);
    if (std::strlen(alarm) < 7) {
        e->has_time = 0;
        return;
    }
    e->hour = storage_number(alarm, 2);
    e->minute = storage_number(alarm + 2, 2);
    e->minutes_before = storage_number(alarm + 4, 2);
    e->alarm_kind = static_cast<uint8_t>(alarm[6] - '0');
    if (alarm_kind_of(*e) == AlarmKind::kSoundFile)
        cp932_copy(e->sound_file, sizeof e->sound_file, alarm + 7);
    const bool valid = e->hour >= 0 && e->hour <= 23 && e->minute >= 0 && e->minute <= 59 &&
                       e->minutes_before >= 0 && e->minutes_before <= 99 &&
                       e->alarm_kind <= static_cast<uint8_t>(AlarmKind::kSoundFile);
    if (valid)
        compute_alarm_at(e);
    else
        e->has_time = 0;
}

// The stored values the program writes for an entry.
StoredSlot written_form(const ScheduleEntry& e) {
    char value[kAlarmValueSize];
    schedule_value(&e, value, sizeof value);
    StoredSlot s{true, profile_stored_form(value, e.scramble), std::string()};
    if (e.has_time) {
        alarm_value(&e, value, sizeof value);
        s.alarm = profile_stored_form(value, e.scramble);
    }
    return s;
}

// Lines kept as they were, after the slots. Lines with empty names that come together once
// the slots between them are gone keep only the first of them, as a read of the file would.
void append_lines(std::vector<Line>* to, const std::vector<Line>& lines) {
    for (const Line& l : lines) {
        if (l.name.empty() && !to->empty() && to->back().name.empty()) continue;
        to->push_back(l);
    }
}

std::vector<std::string> list_identities(const ScheduleEntry* list, int count) {
    std::vector<std::string> ids;
    ids.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) ids.push_back(identity(stored_slot_of(list[i])));
    return ids;
}

}  // namespace

int stored_key_number(const std::string& folded, const char* prefix) {
    const size_t p = std::strlen(prefix);
    if (folded.size() < p + 3 || folded.size() > p + 9 || folded.compare(0, p, prefix) != 0)
        return 0;
    int k = 0;
    for (size_t i = p; i < folded.size(); ++i) {
        if (folded[i] < '0' || folded[i] > '9') return 0;
        k = k * 10 + (folded[i] - '0');
    }
    // Only the spelling "%03d" gives: no zeros in front of more than three digits.
    if (k == 0 || (folded.size() > p + 3 && folded[p] == '0')) return 0;
    return k;
}

bool entry_from_stored(const std::string& value, const std::string* alarm, ScheduleEntry* e,
                       bool* takes_alarm) {
    char text[kScheduleValueSize];
    profile_stored_text(value, text, sizeof text);
    *takes_alarm = false;
    if (std::strlen(text) <= 10) return false;
    *takes_alarm = (text[9] & 1) != 0;
    fill_entry(text, e);
    if (e->has_time) fill_alarm(alarm, e);
    return true;
}

StoredSlot stored_slot_of(const ScheduleEntry& e) {
    const StoredSlot written = written_form(e);
    ScheduleEntry back;
    bool takes_alarm = false;
    const std::string* alarm = written.alarm.empty() ? nullptr : &written.alarm;
    if (entry_from_stored(written.value, alarm, &back, &takes_alarm)) return written_form(back);
    return StoredSlot{false, written.value, std::string()};
}

void schedule_merge(const ProfileFile& doc, ScheduleEntry* list, int* count, int max,
                    ScheduleKeep* keep) {
    Sections now = read_sections(doc);
    Counts in_list, carried;
    for (const std::string& id : keep->list_base) ++in_list[id];
    for (const StoredSlot& s : keep->carried) ++carried[identity(s)];

    // Slots the list stands for are written from the list; the others go on.
    std::vector<std::string> ids;
    ids.reserve(now.slots.size());
    std::vector<size_t> rest;
    for (size_t i = 0; i < now.slots.size(); ++i) {
        ids.push_back(identity(now.slots[i]));
        if (take(&in_list, ids.back())) continue;
        take(&carried, ids.back());
        rest.push_back(i);
    }

    // What is left in in_list is gone from the file: out of the list too, unless changed here.
    const std::vector<std::string> list_ids = list_identities(list, *count);
    int kept = 0;
    for (int i = 0; i < *count; ++i) {
        if (take(&in_list, list_ids[static_cast<size_t>(i)])) continue;
        if (kept != i) list[kept] = list[i];
        ++kept;
    }
    *count = kept;

    keep->carried.clear();
    keep->not_loaded = 0;
    Counts carried_now;
    for (size_t i : rest) {
        StoredSlot& s = now.slots[i];
        ScheduleEntry e;
        bool takes_alarm;
        if (s.readable && *count < max &&
            entry_from_stored(*now.read_from[i].first, now.read_from[i].second, &e, &takes_alarm)) {
            list[(*count)++] = e;
            continue;
        }
        if (s.readable) ++keep->not_loaded;
        ++carried_now[ids[i]];
        keep->carried.push_back(std::move(s));
    }
    keep->schedule_lines = std::move(now.schedule_lines);
    keep->alarm_lines = std::move(now.alarm_lines);

    // Should the file not be written, it still holds what was read here: the list stands for
    // every slot of it that is not carried.
    keep->list_base.clear();
    for (const std::string& id : ids)
        if (!take(&carried_now, id)) keep->list_base.push_back(id);
}

void schedule_write(ProfileFile* doc, const ScheduleEntry* list, int count,
                    const ScheduleKeep& keep) {
    std::vector<Line> sched, alarm;
    sched.reserve(1 + static_cast<size_t>(count) + keep.carried.size() + keep.schedule_lines.size());
    sched.push_back(Line{"schedulecount", std::to_string(count), true});
    int k = 0;
    auto put = [&](const StoredSlot& s) {
        ++k;
        sched.push_back(Line{key_name("schedule", k), s.value, true});
        if (!s.alarm.empty()) alarm.push_back(Line{key_name("alarm", k), s.alarm, true});
    };
    for (int i = 0; i < count; ++i) put(written_form(list[i]));
    for (const StoredSlot& s : keep.carried) put(s);
    append_lines(&sched, keep.schedule_lines);
    append_lines(&alarm, keep.alarm_lines);
    doc->set_lines(kSchedule, std::move(sched));
    doc->set_lines(kAlarm, std::move(alarm));
}

void schedule_keep_written(ScheduleKeep* keep, const ScheduleEntry* list, int count) {
    keep->list_base = list_identities(list, count);
}
