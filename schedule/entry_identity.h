// An entry's identity: made at random when the entry is created, taken from an imported
// event, or, for an entry of a file written before entries kept one, worked out from its
// stored form (schedule/schedule_sections.h) so that it stays the same at every load.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct ScheduleEntry;

// Fills n bytes with random bytes; false when it could not. The program installs the
// platform's generator; nullptr restores the built-in one (seeded from the clock, for tests
// and for a platform without one).
typedef bool (*RandomSource)(void* out, size_t n);
void set_random_source(RandomSource src);

// A new random identity, "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx" (RFC 4122, version 4), into
// out (at least 37 bytes; less gets nothing but a NUL).
void make_entry_uid(char* out, size_t size);

// Gives e a new identity when it has none.
void entry_ensure_uid(ScheduleEntry* e);

// The identity of an entry stored without one: the digest of its stored values, and for the
// n-th (n >= 2) of several equal ones "-n" after it ("0f3c9a..." / "0f3c9a...-2").
void derived_entry_uid(uint64_t digest, int nth, char* out, size_t size);
