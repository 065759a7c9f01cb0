#include "schedule/entry_identity_win.h"

#include <windows.h>

extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

bool platform_random_bytes(void* out, size_t n) {
    unsigned char* p = static_cast<unsigned char*>(out);
    while (n > 0) {
        const ULONG part = n > 0x10000 ? 0x10000 : static_cast<ULONG>(n);
        if (!SystemFunction036(p, part)) return false;
        p += part;
        n -= part;
    }
    return true;
}
