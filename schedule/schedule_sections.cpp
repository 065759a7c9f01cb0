#include "schedule/schedule_sections.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "config/content_hash.h"
#include "config/cp932.h"
#include "config/profile.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/entry_identity.h"
#include "schedule/storage.h"

const char kScheduleSection[] = "Schedule";
const char kScheduleExtraSection[] = "ScheduleExtra";

namespace {

const char kAlarm[] = "Alarm";

// Reading limits of the stored values. Room for the longest values the
// program writes: an alarm with a 266-byte sound path scrambles to 365
// characters, a schedule value with an 80-byte memo to 121.
constexpr size_t kScheduleValueSize = 200;
constexpr size_t kAlarmValueSize = 400;
// An extra value: the longest form written (64 skipped days) scrambled, and more.
constexpr size_t kExtraValueSize = 2048;

using Line = ProfileFile::Line;
// Occurrences of a stored form, a multiset.
using Counts = std::unordered_map<std::string, int>;


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
    // The entry each readable slot reads as from the document, so that an entry taken into
    // the list keeps what its load reads, an invalid alarm's values too.
    std::vector<ScheduleEntry> read;
    std::vector<Line> schedule_lines, alarm_lines, extra_lines;
};

bool is_lower_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// The key of an extra line's folded name, "<16 hex digits>[-n]" before its last ".", and
// the property after it; false for a name of another form.
bool split_extra_name(const std::string& folded, std::string* key, std::string* prop) {
    const size_t dot = folded.rfind('.');
    if (dot == std::string::npos || dot < 16 || dot + 1 >= folded.size()) return false;
    for (size_t i = 0; i < 16; ++i)
        if (!is_lower_hex(folded[i])) return false;
    if (dot > 16) {
        if (folded[16] != '-' || dot == 17 || dot > 26) return false;
        for (size_t i = 17; i < dot; ++i)
            if (folded[i] < '0' || folded[i] > '9') return false;
    }
    *key = folded.substr(0, dot);
    *prop = folded.substr(dot + 1);
    return true;
}

// The lines of the extra section by key, each property once (the first, as a lookup finds).
struct ExtraLines {
    std::unordered_map<std::string, std::vector<std::pair<std::string, size_t>>> by_key;
    std::vector<bool> used;
};

ExtraLines index_extra(const std::vector<Line>& lines) {
    ExtraLines x;
    x.used.assign(lines.size(), false);
    std::string key, prop;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (!l.has_value || !split_extra_name(profile_fold_name(l.name.data(), l.name.size()), &key, &prop))
            continue;
        auto& props = x.by_key[key];
        bool seen = false;
        for (const auto& p : props) seen = seen || p.first == prop;
        if (!seen) props.emplace_back(prop, i);
    }
    return x;
}

// A value written so that it reads back as it is: scrambled with its entry, and also when
// read as it is it would not come back (a "$" first, blanks or quotes around it).
std::string stored_extra(const std::string& text, int scramble) {
    const bool awkward =
        !text.empty() && (text[0] == '$' || text[0] == ' ' || text[0] == '\t' || text.back() == ' ' ||
                          text.back() == '\t' || ((text[0] == '"' || text[0] == '\'') && text.size() > 1 && text.back() == text[0]));
    return profile_stored_form(text.c_str(), scramble || awkward);
}

// Whether a stored value reads as an entry, and whether it asks for its alarm key.
bool stored_value_readable(const std::string& value, bool* takes_alarm) {
    char text[kScheduleValueSize];
    profile_stored_text(value, text, sizeof text);
    *takes_alarm = std::strlen(text) > 10 && (text[9] & 1) != 0;
    return std::strlen(text) > 10;
}

std::string extra_text(const std::string& stored) {
    char text[kExtraValueSize];
    profile_stored_text(stored, text, sizeof text);
    return text;
}

StoredSlot written_form(const ScheduleEntry& e);

// The slot of an entry e just read from value, alarm (nullptr: none taken) and props, its
// identity derived (put in after the read) when derived. When what e writes is what it was
// read from (uid aside when derived), reading it back gives e again, so that is its slot and
// the round trip of stored_slot_of is saved: the load of a file the program wrote costs one
// write per entry.
StoredSlot slot_as_read(const ScheduleEntry& e, const std::string& value, const std::string* alarm,
                        const std::vector<EntryProp>& props, bool derived) {
    StoredSlot w = written_form(e);
    const size_t skip = derived ? 1 : 0;
    bool same = w.value == value && (w.alarm.empty() ? alarm == nullptr : alarm != nullptr && w.alarm == *alarm) &&
                w.extra.size() == props.size() + skip && (skip == 0 || w.extra[0].first == "uid");
    for (size_t i = 0; same && i < props.size(); ++i) same = w.extra[i + skip] == props[i];
    return same ? w : stored_slot_of(e);
}

// Every slot of doc, read as the start-up load reads them.
Sections read_sections(const ProfileFile& doc) {
    static const std::vector<Line> kNone;
    const std::vector<Line>* sched = doc.lines(kScheduleSection);
    const std::vector<Line>* alarm = doc.lines(kAlarm);
    const std::vector<Line>* extra = doc.lines(kScheduleExtraSection);
    if (sched == nullptr) sched = &kNone;
    if (alarm == nullptr) alarm = &kNone;
    if (extra == nullptr) extra = &kNone;

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
    ExtraLines extras = index_extra(*extra);
    std::vector<bool> taken(alarm->size(), false);
    std::unordered_map<int, size_t> seen;  // slots of each number so far
    std::unordered_map<uint64_t, int> same;  // slots of each digest so far
    ScheduleEntry e;
    static const std::string kNoAlarm;
    for (const Numbered& n : numbered) {
        const std::string& value = (*sched)[n.line].value;
        const size_t nth = seen[n.k]++;
        auto a = alarms.find(n.k);
        const size_t alarm_line = a != alarms.end() && nth < a->second.size() ? a->second[nth] : SIZE_MAX;
        const std::string* alarm_value = alarm_line != SIZE_MAX ? &(*alarm)[alarm_line].value : nullptr;
        bool takes_alarm = false;
        const bool readable = stored_value_readable(value, &takes_alarm);
        const bool with_alarm = readable && takes_alarm && alarm_value != nullptr;

        // Its extra lines: those of the key its stored values give.
        const uint64_t digest = slot_digest(value, with_alarm ? *alarm_value : kNoAlarm);
        const std::string key = extra_key(digest, ++same[digest]);
        std::vector<EntryProp> props;
        auto x = extras.by_key.find(key);
        if (x != extras.by_key.end()) {
            for (const auto& p : x->second) {
                props.emplace_back(p.first, (*extra)[p.second].value);
                extras.used[p.second] = true;
            }
        }
        bool derived = false;
        if (readable) {
            entry_from_stored(value, alarm_value, &e, &takes_alarm, &props);
            derived = e.uid[0] == '\0';
            if (derived) cp932_copy(e.uid, sizeof e.uid, key.c_str());
        }
        out.read.push_back(e);
        // A slot that does not read as an entry once written (a memo of blanks) is kept like
        // one that does not read now.
        if (!readable)
            out.slots.push_back(StoredSlot{false, value, std::string(), props});
        else
            out.slots.push_back(slot_as_read(e, value, with_alarm ? alarm_value : nullptr, props, derived));
        // The alarm of a slot kept as stored stays a line of its own: taken along, it could
        // meet another alarm line under the number the slot is written with.
        if (out.slots.back().readable && with_alarm) taken[alarm_line] = true;
        if (!out.slots.back().readable) out.slots.back().extra = props;
    }
    for (size_t i = 0; i < alarm->size(); ++i)
        if (!taken[i]) out.alarm_lines.push_back((*alarm)[i]);
    for (size_t i = 0; i < extra->size(); ++i)
        if (!extras.used[i]) out.extra_lines.push_back((*extra)[i]);
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
    StoredSlot s{true, profile_stored_form(value, e.scramble), std::string(), {}};
    if (e.has_time) {
        alarm_value(&e, value, sizeof value);
        s.alarm = profile_stored_form(value, e.scramble);
    }
    for (const EntryProp& p : entry_props(e, true))
        s.extra.emplace_back(p.first, stored_extra(p.second, e.scramble));
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
    for (int i = 0; i < count; ++i) ids.push_back(slot_identity(stored_slot_of(list[i])));
    return ids;
}

}  // namespace

std::string slot_identity(const StoredSlot& s) {
    std::string id(1, s.readable ? 'R' : 'U');
    id += s.value;
    id += '\0';
    id += s.alarm;
    for (const EntryProp& p : s.extra) {
        id += '\0';
        id += p.first;
        id += '=';
        id += p.second;
    }
    return id;
}

uint64_t slot_digest(const std::string& value, const std::string& alarm) {
    uint64_t h = fnv1a_64(value.data(), value.size());
    h = fnv1a_64("", 1, h);
    return fnv1a_64(alarm.data(), alarm.size(), h);
}

std::string extra_key(uint64_t digest, int nth) {
    char key[40];
    derived_entry_uid(digest, nth, key, sizeof key);
    return key;
}

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
                       bool* takes_alarm, const std::vector<EntryProp>* extra) {
    char text[kScheduleValueSize];
    profile_stored_text(value, text, sizeof text);
    *takes_alarm = false;
    if (std::strlen(text) <= 10) return false;
    *takes_alarm = (text[9] & 1) != 0;
    fill_entry(text, e);
    if (e->has_time) fill_alarm(alarm, e);
    if (extra != nullptr && !extra->empty()) {
        for (const EntryProp& p : *extra) entry_take_prop(p.first, extra_text(p.second), e);
        if (e->has_time || e->day_alarm) compute_alarm_at(e);
    }
    return true;
}

StoredSlot stored_slot_of(const ScheduleEntry& e) {
    const StoredSlot written = written_form(e);
    ScheduleEntry back;
    bool takes_alarm = false;
    const std::string* alarm = written.alarm.empty() ? nullptr : &written.alarm;
    if (entry_from_stored(written.value, alarm, &back, &takes_alarm, &written.extra)) return written_form(back);
    return StoredSlot{false, written.value, std::string(), {}};
}

void schedule_merge(const ProfileFile& doc, ScheduleEntry* list, int* count, int max,
                    ScheduleKeep* keep) {
    // Entries made without one (imports of the older forms) get their identity now.
    for (int i = 0; i < *count; ++i) entry_ensure_uid(&list[i]);
    Sections now = read_sections(doc);
    Counts in_list, carried;
    for (const std::string& id : keep->list_base) ++in_list[id];
    for (const StoredSlot& s : keep->carried) ++carried[slot_identity(s)];

    // Slots the list stands for are written from the list; the others go on.
    std::vector<std::string> ids;
    ids.reserve(now.slots.size());
    std::vector<size_t> rest;
    for (size_t i = 0; i < now.slots.size(); ++i) {
        ids.push_back(slot_identity(now.slots[i]));
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
        if (s.readable && *count < max) {
            list[(*count)++] = now.read[i];
            continue;
        }
        if (s.readable) ++keep->not_loaded;
        ++carried_now[ids[i]];
        keep->carried.push_back(std::move(s));
    }
    keep->schedule_lines = std::move(now.schedule_lines);
    keep->alarm_lines = std::move(now.alarm_lines);
    keep->extra_lines = std::move(now.extra_lines);

    // Should the file not be written, it still holds what was read here: the list stands for
    // every slot of it that is not carried.
    keep->list_base.clear();
    for (const std::string& id : ids)
        if (!take(&carried_now, id)) keep->list_base.push_back(id);
}

void schedule_write(ProfileFile* doc, const ScheduleEntry* list, int count,
                    const ScheduleKeep& keep) {
    std::vector<Line> sched, alarm, extra;
    sched.reserve(1 + static_cast<size_t>(count) + keep.carried.size() + keep.schedule_lines.size());
    sched.push_back(Line{"schedulecount", std::to_string(count), true});
    int k = 0;
    std::unordered_map<uint64_t, int> same;
    std::unordered_set<std::string> keys;  // of every slot written
    auto put = [&](const StoredSlot& s) {
        ++k;
        sched.push_back(Line{key_name("schedule", k), s.value, true});
        if (!s.alarm.empty()) alarm.push_back(Line{key_name("alarm", k), s.alarm, true});
        const uint64_t digest = slot_digest(s.value, s.alarm);
        const std::string key = extra_key(digest, ++same[digest]);
        keys.insert(key);
        for (const EntryProp& p : s.extra) {
            // The identity this key gives an entry stored without one goes unwritten.
            if (s.readable && p.first == "uid" && extra_text(p.second) == key) continue;
            extra.push_back(Line{key + "." + p.first, p.second, true});
        }
    };
    for (int i = 0; i < count; ++i) put(written_form(list[i]));
    for (const StoredSlot& s : keep.carried) put(s);
    append_lines(&sched, keep.schedule_lines);
    append_lines(&alarm, keep.alarm_lines);
    // Lines tied to no slot stay, unless a slot written now has their key: they would be
    // taken for its own.
    std::vector<Line> loose;
    std::string key, prop;
    for (const Line& l : keep.extra_lines)
        if (!l.has_value || !split_extra_name(profile_fold_name(l.name.data(), l.name.size()), &key, &prop) ||
            keys.count(key) == 0)
            loose.push_back(l);
    append_lines(&extra, loose);
    doc->set_lines(kScheduleSection, std::move(sched));
    doc->set_lines(kAlarm, std::move(alarm));
    doc->set_lines(kScheduleExtraSection, std::move(extra));
}

void schedule_keep_written(ScheduleKeep* keep, const ScheduleEntry* list, int count) {
    keep->list_base = list_identities(list, count);
}
