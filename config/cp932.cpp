#include "config/cp932.h"

#include <cstdint>
#include <cstring>

bool cp932_is_lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

const char* cp932_next(const char* p) {
    if (*p == '\0') return p;
    if (cp932_is_lead(static_cast<unsigned char>(p[0])) && p[1] != '\0') return p + 2;
    return p + 1;
}

const char* cp932_last_char(const char* s) {
    if (*s == '\0') return nullptr;
    const char* last = s;
    for (const char* p = s; *p != '\0'; p = cp932_next(p)) last = p;
    return last;
}

const char* cp932_strstr(const char* text, const char* pat) {
    if (text == nullptr || pat == nullptr) return nullptr;
    const size_t m = std::strlen(pat);
    for (const char* p = text;; p = cp932_next(p)) {
        if (std::strncmp(p, pat, m) == 0) {
            // The match must also end on a boundary of text.
            const char* q = p;
            while (q < p + m) q = cp932_next(q);
            if (q == p + m) return p;
        }
        if (*p == '\0') return nullptr;
    }
}

size_t cp932_copy_n(char* dst, size_t size, const char* src, size_t n) {
    if (size == 0) return 0;
    size_t used = 0;
    const char* p = src;
    while (used < n && *p != '\0') {
        const size_t len = static_cast<size_t>(cp932_next(p) - p);
        if (used + len > n || used + len > size - 1) break;
        used += len;
        p += len;
    }
    std::memmove(dst, src, used);
    dst[used] = '\0';
    return used;
}

size_t cp932_copy(char* dst, size_t size, const char* src) {
    return cp932_copy_n(dst, size, src, SIZE_MAX);
}

char cp932_fullwidth_digit(unsigned char lead, unsigned char trail) {
    if (lead != 0x82 || trail < 0x4F || trail > 0x58) return 0;
    return static_cast<char>('0' + (trail - 0x4F));
}

size_t cp932_fold_digits(char* dst, size_t size, const char* src) {
    if (size == 0) return 0;
    size_t n = 0;
    for (const char* p = src ? src : ""; *p != '\0';) {
        const char* next = cp932_next(p);
        const size_t len = static_cast<size_t>(next - p);
        const char digit = len == 2 ? cp932_fullwidth_digit(static_cast<unsigned char>(p[0]),
                                                             static_cast<unsigned char>(p[1]))
                                    : 0;
        const size_t put = digit ? 1 : len;
        if (n + put > size - 1) break;
        if (digit)
            dst[n] = digit;
        else
            std::memcpy(dst + n, p, len);
        n += put;
        p = next;
    }
    dst[n] = '\0';
    return n;
}
