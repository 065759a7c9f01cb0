#include "config/content_hash.h"

uint64_t fnv1a_64(const void* data, size_t n, uint64_t h) {
    const unsigned char* s = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ s[i]) * 1099511628211ULL;
    return h;
}
