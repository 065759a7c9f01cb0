#include "schedule/deleted_entries.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "config/content_hash.h"
#include "config/profile_file.h"
#include "schedule/entry.h"
#include "schedule/ical_import.h"

const char kScheduleDeletedSection[] = "ScheduleDeleted";

namespace {

uint64_t identity_key(const ScheduleEntry& e) {
    const uint64_t h = fnv1a_64(e.uid, strnlen(e.uid, sizeof e.uid));
    const uint32_t day = static_cast<uint32_t>(e.recur_date);
    const unsigned char tail[5] = {0, static_cast<unsigned char>(day), static_cast<unsigned char>(day >> 8),
                                   static_cast<unsigned char>(day >> 16), static_cast<unsigned char>(day >> 24)};
    return fnv1a_64(tail, sizeof tail, h);
}

bool read_hex16(const char* s, size_t n, uint64_t* out) {
    if (n != 16) return false;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        const int d = c >= '0' && c <= '9' ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return false;
        v = v << 4 | static_cast<uint64_t>(d);
    }
    *out = v;
    return true;
}

// Decimal digits up to the next "," (at most max, without overflow); p moves past the ",".
bool read_field_number(const char** p, const char* end, uint64_t max, uint64_t* out) {
    const char* s = *p;
    uint64_t v = 0;
    if (s == end || *s < '0' || *s > '9') return false;
    for (; s != end && *s >= '0' && *s <= '9'; ++s) {
        const uint64_t d = static_cast<uint64_t>(*s - '0');
        if (v > (max - d) / 10) return false;
        v = v * 10 + d;
    }
    if (s == end || *s != ',') return false;
    *out = v;
    *p = s + 1;
    return true;
}

bool read_deleted_line(const ProfileFile::Line& l, uint64_t* key, DeletedVersion* v) {
    if (!l.has_value || !read_hex16(l.name.data(), l.name.size(), key)) return false;
    const char* p = l.value.data();
    const char* end = p + l.value.size();
    uint64_t seq = 0, modified = 0;
    if (!read_field_number(&p, end, UINT32_MAX, &seq) || !read_field_number(&p, end, UINT64_MAX, &modified))
        return false;
    if (!read_hex16(p, static_cast<size_t>(end - p), &v->content)) return false;
    v->sequence = static_cast<uint32_t>(seq);
    v->modified = modified;
    return true;
}

}  // namespace

void DeletedEntries::apply(std::vector<Record>* records, const Change& c) {
    for (size_t i = 0; i < records->size(); ++i) {
        if ((*records)[i].key == c.record.key) {
            records->erase(records->begin() + static_cast<ptrdiff_t>(i));
            break;
        }
    }
    if (!c.remember) return;
    if (records->size() >= kMaxDeleted)
        records->erase(records->begin(),
                       records->begin() + static_cast<ptrdiff_t>(records->size() - kMaxDeleted + 1));
    records->push_back(c.record);
}

void DeletedEntries::remember(const ScheduleEntry& e) {
    if (!e.uid[0]) return;
    const Change c{true, {identity_key(e), {e.sequence, e.modified, ical_content_digest(e)}}};
    apply(&records_, c);
    pending_.push_back(c);
}

const DeletedVersion* DeletedEntries::find(const ScheduleEntry& e) const {
    if (!e.uid[0] || records_.empty()) return nullptr;
    const uint64_t key = identity_key(e);
    for (const Record& r : records_)
        if (r.key == key) return &r.version;
    return nullptr;
}

void DeletedEntries::forget(const ScheduleEntry& e) {
    if (!find(e)) return;
    const Change c{false, {identity_key(e), {}}};
    apply(&records_, c);
    pending_.push_back(c);
}

void DeletedEntries::load(const ProfileFile& doc) {
    records_.clear();
    pending_.clear();
    written_.clear();
    const std::vector<ProfileFile::Line>* lines = doc.lines(kScheduleDeletedSection);
    if (!lines) return;
    // Each line as remembered again, so that a repeated or surplus line counts as the
    // program would have kept it.
    for (const ProfileFile::Line& l : *lines) {
        Change c{true, {}};
        if (read_deleted_line(l, &c.record.key, &c.record.version)) apply(&records_, c);
    }
}

void DeletedEntries::write(ProfileFile* doc) {
    std::vector<Record> file_records;
    {
        DeletedEntries now;
        now.load(*doc);
        file_records = std::move(now.records_);
    }
    written_ = file_records;
    if (pending_.empty()) return;
    for (const Change& c : pending_) apply(&written_, c);
    std::vector<ProfileFile::Line> lines;
    lines.reserve(written_.size());
    char name[20], value[64];
    for (const Record& r : written_) {
        snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(r.key));
        snprintf(value, sizeof value, "%lu,%llu,%016llx",
                 static_cast<unsigned long>(r.version.sequence),
                 static_cast<unsigned long long>(r.version.modified),
                 static_cast<unsigned long long>(r.version.content));
        lines.push_back(ProfileFile::Line{name, value, true});
    }
    doc->set_lines(kScheduleDeletedSection, std::move(lines));
}

void DeletedEntries::commit() {
    records_ = std::move(written_);
    written_.clear();
    pending_.clear();
}

bool deleted_version_covers(const DeletedVersion& v, const ScheduleEntry& e, bool has_version) {
    if (ical_content_digest(e) == v.content) return true;
    if (!has_version) return false;
    return e.sequence < v.sequence ||
           (e.sequence == v.sequence && e.modified != 0 && v.modified != 0 && e.modified < v.modified);
}
