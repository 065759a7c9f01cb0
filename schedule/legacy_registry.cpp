#include "schedule/legacy_registry.h"

#include <cstring>

#include "config/cp932.h"
#include "config/settings.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

namespace {

uint32_t le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t le32s(const unsigned char* p) { return static_cast<int32_t>(le32(p)); }

// A text cut by a forced terminator may end in half a double-byte character.
void drop_lone_lead(char* s) {
    const char* last = cp932_last_char(s);
    if (last != nullptr && last[1] == '\0' && cp932_is_lead(static_cast<unsigned char>(*last)))
        s[last - s] = '\0';
}

}  // namespace

int16_t registry_read_short(LegacyRegistry* reg, const char* name, int16_t def) {
    unsigned char b[2];
    if (!registry_read_record(reg, name, b, sizeof b)) return def;
    return static_cast<int16_t>(uint16_t(b[0]) | uint16_t(b[1]) << 8);
}

int32_t registry_read_long(LegacyRegistry* reg, const char* name, int32_t def) {
    unsigned char b[4];
    if (!registry_read_record(reg, name, b, sizeof b)) return def;
    return le32s(b);
}

void registry_read_string(LegacyRegistry* reg, const char* name, const char* def, char* buf,
                          size_t size) {
    if (size == 0) return;
    cp932_copy(buf, size, def);
    char value[256];
    size_t len = 0;
    if (reg == nullptr || !reg->read_value(name, value, sizeof value, &len)) return;
    if (len > 255) len = 255;
    value[len] = '\0';
    cp932_copy(buf, size, value);
}

bool registry_read_record(LegacyRegistry* reg, const char* name, void* buf, size_t size) {
    size_t len = 0;
    if (reg == nullptr || !reg->read_value(name, buf, size, &len) || len > size) return false;
    std::memset(static_cast<unsigned char*>(buf) + len, 0, size - len);
    return true;
}

void registry_read_setting(LegacyRegistry* reg, const SettingKey& k, Settings* s) {
    switch (k.kind) {
    case SettingKind::kInt16:
        setting_int(*s, k) = registry_read_short(reg, k.name, static_cast<int16_t>(k.def));
        break;
    case SettingKind::kInt32:
        setting_int(*s, k) = registry_read_long(reg, k.name, k.def);
        break;
    case SettingKind::kText:
        registry_read_string(reg, k.name, k.def_text, setting_text(*s, k), k.size);
        break;
    }
}

bool registry_delete(LegacyRegistry* reg) { return reg != nullptr && reg->delete_key(); }

void registry_record_decode(const unsigned char* rec, ScheduleEntry* e) {
    entry_blank(e);
    e->year = le32s(rec + 0);
    e->month = le32s(rec + 4);
    e->day = le32s(rec + 8);
    if (e->day == 0) e->day = kDayMovable;
    e->holiday = rec[12];
    e->scramble = rec[13];
    std::memcpy(e->memo, rec + 14, 81);
    e->memo[80] = '\0';
    drop_lone_lead(e->memo);
    e->has_time = rec[95];
    e->hour = le32s(rec + 96);
    e->minute = le32s(rec + 100);
    e->minutes_before = le32s(rec + 104);
    e->alarm_kind = rec[108];
    std::memcpy(e->sound_file, rec + 109, 267);
    e->sound_file[266] = '\0';
    drop_lone_lead(e->sound_file);
    e->alarm_at = 0;
    e->last_edited = rec[384];
}
