// The registry key of an older release ("Software\Quorvane\Zelmar" under
// HKEY_CURRENT_USER), read once and then deleted. The key is reached
// through LegacyRegistry so the import is the same code on every platform;
// without a registry the key is simply absent (nullptr).
#pragma once

#include <cstddef>
#include <cstdint>

struct ScheduleEntry;
struct SettingKey;
struct Settings;

class LegacyRegistry {
public:
    virtual ~LegacyRegistry() = default;
    // Opens the key, reads the value into buf (at most size bytes) and closes
    // the key again. False when the key or the value is missing or the value
    // is longer than size; otherwise *len is its length in bytes.
    virtual bool read_value(const char* name, void* buf, size_t size, size_t* len) = 0;
    // Deletes the key; true on success.
    virtual bool delete_key() = 0;
};

// Win32 implementation (schedule/legacy_registry_win.cpp, Windows only).
LegacyRegistry* legacy_registry_win();

// A value shorter than its form fills the start of the field and leaves the
// rest zero, as reading it into the field does; a longer one counts as
// missing and gives the default.
int16_t registry_read_short(LegacyRegistry* reg, const char* name, int16_t def);
int32_t registry_read_long(LegacyRegistry* reg, const char* name, int32_t def);
// Copies def, then the value if it can be read (at most 255 bytes; it need
// not end in NUL), cut to size - 1 bytes on a character boundary.
void registry_read_string(LegacyRegistry* reg, const char* name, const char* def, char* buf,
                          size_t size);
// Reads a raw value of at most size bytes into buf, zero after its end.
bool registry_read_record(LegacyRegistry* reg, const char* name, void* buf, size_t size);
// One settings key at its stored width (2 bytes, 4 bytes or a string) into
// its field of s, the key's default when missing.
void registry_read_setting(LegacyRegistry* reg, const SettingKey& k, Settings* s);
bool registry_delete(LegacyRegistry* reg);

constexpr size_t kRegistryRecordSize = 392;

// Decodes one 392-byte schedule record (the byte image of ScheduleEntry,
// integers little-endian) field by field. memo and sound_file always end in
// a NUL within their fields; a day of 0 becomes the day code 99; alarm_at
// is 0.
void registry_record_decode(const unsigned char* rec, ScheduleEntry* e);
