#include "schedule/sync_entry.h"

#include "schedule/ical_read.h"
#include "schedule/ical_write.h"
#include "schedule/sync_item.h"

namespace {

struct FirstEvent {
    bool found = false;
    ScheduleEntry entry;
};

void take_first(void* context, const IcalImported* ev) {
    FirstEvent* f = static_cast<FirstEvent*>(context);
    if (f->found || !ev || ev->cancelled) return;
    f->found = true;
    f->entry = ev->entry;
}

std::string canon_call(void* context, const std::string& ical) {
    return sync_entry_canon(ical, static_cast<const IcalPlatform*>(context));
}

std::string written_entry(const ScheduleEntry& e, const IcalPlatform* platform, const IcalTime& now) {
    std::string out;
    IcalExportCounts counts = {};
    ical_write(&e, 1, platform, now, &out, &counts);
    return counts.written == 1 ? out : std::string();
}

}  // namespace

std::string sync_entry_text(const ScheduleEntry& entry, const std::string& uid,
                            const IcalPlatform* platform, const IcalTime& now_utc) {
    const std::string text = written_entry(entry, platform, now_utc);
    return text.empty() ? text : ical_with_uid(ical_without_method(text), uid);
}

bool sync_entry_read(const std::string& ical, const IcalPlatform* platform, ScheduleEntry* out) {
    FirstEvent first;
    entry_blank(&first.entry);
    if (!ical_read(ical.data(), ical.size(), platform, take_first, &first) || !first.found)
        return false;
    *out = first.entry;
    return true;
}

std::string sync_entry_canon(const std::string& ical, const IcalPlatform* platform) {
    ScheduleEntry e;
    if (!sync_entry_read(ical, platform, &e)) return std::string();
    e.alarm_at = 0;
    e.last_edited = 0;
    // The item's UID is its name, not its content.
    e.uid[0] = '\0';
    static const IcalTime kStamp = {2000, 1, 1, 0, 0, 0};
    return written_entry(e, platform, kStamp);
}

SyncCanon sync_entry_canon_of(const IcalPlatform* platform) {
    return SyncCanon{const_cast<IcalPlatform*>(platform), canon_call};
}
