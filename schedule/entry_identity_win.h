// Random bytes for new identities from the platform's generator (RtlGenRandom, exported by
// ADVAPI32 as SystemFunction036, which the program already imports).
#pragma once

#include <stddef.h>

bool platform_random_bytes(void* out, size_t n);
