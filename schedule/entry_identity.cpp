#include "schedule/entry_identity.h"

#include <stdio.h>
#include <string.h>

#include "calendar/date.h"
#include "schedule/entry.h"

namespace {

RandomSource g_source = nullptr;

// The built-in generator: splitmix64 seeded once from the clock and an address.
uint64_t g_state = 0;

uint64_t next_builtin() {
    if (g_state == 0) {
        const LocalTime t = get_local_now();
        g_state = (static_cast<uint64_t>(t.year) << 40) ^ (static_cast<uint64_t>(t.month) << 32) ^
                  (static_cast<uint64_t>(t.day) << 24) ^ (static_cast<uint64_t>(t.hour) << 16) ^
                  (static_cast<uint64_t>(t.minute) << 8) ^ static_cast<uint64_t>(t.second) ^
                  static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&g_state));
    }
    uint64_t z = (g_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void random_bytes(unsigned char* out, size_t n) {
    if (g_source != nullptr && g_source(out, n)) return;
    for (size_t i = 0; i < n; i += 8) {
        const uint64_t r = next_builtin();
        for (size_t k = 0; k < 8 && i + k < n; ++k) out[i + k] = static_cast<unsigned char>(r >> (8 * k));
    }
}

}  // namespace

void set_random_source(RandomSource src) { g_source = src; }

void make_entry_uid(char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (size < 37) return;
    unsigned char b[16];
    random_bytes(b, sizeof b);
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // the RFC 4122 variant
    snprintf(out, size, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0],
             b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
             b[15]);
}

void entry_ensure_uid(ScheduleEntry* e) {
    if (strnlen(e->uid, sizeof e->uid) == sizeof e->uid) e->uid[sizeof e->uid - 1] = '\0';
    if (e->uid[0] == '\0') make_entry_uid(e->uid, sizeof e->uid);
}

// Made at every slot of every load: written out by hand rather than by a format.
void derived_entry_uid(uint64_t digest, int nth, char* out, size_t size) {
    char text[32];
    size_t n = 0;
    for (int shift = 60; shift >= 0; shift -= 4) text[n++] = "0123456789abcdef"[(digest >> shift) & 0xF];
    if (nth >= 2) {
        char digits[12];
        int k = 0;
        for (unsigned v = static_cast<unsigned>(nth); v != 0; v /= 10) digits[k++] = static_cast<char>('0' + v % 10);
        text[n++] = '-';
        while (k > 0) text[n++] = digits[--k];
    }
    if (size == 0) return;
    if (n >= size) n = size - 1;
    memcpy(out, text, n);
    out[n] = '\0';
}
