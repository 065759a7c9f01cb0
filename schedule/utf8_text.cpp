#include "schedule/utf8_text.h"

namespace {

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

bool is_control(uint32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0) || cp == 0x2028 || cp == 0x2029;
}

// Unicode forms of JIS X 0208 characters whose code page 932 mapping is another code point.
uint32_t jis_form(uint32_t cp) {
    switch (cp) {
    case 0x301C:
        return 0xFF5E;  // wave dash
    case 0x2016:
        return 0x2225;  // double vertical line
    case 0x2212:
        return 0xFF0D;  // minus sign
    case 0x00A2:
        return 0xFFE0;  // cent sign
    case 0x00A3:
        return 0xFFE1;  // pound sign
    case 0x00AC:
        return 0xFFE2;  // not sign
    case 0x2014:
        return 0x2015;  // em dash
    default:
        return cp;
    }
}

}  // namespace

size_t utf8_decode(const char* s, size_t n, uint32_t* cp) {
    const unsigned char c = (unsigned char)s[0];
    if (c < 0x80) {
        *cp = c;
        return 1;
    }
    size_t len;
    uint32_t v, min;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2, v = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, v = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, v = c & 0x07, min = 0x10000;
    } else {
        *cp = kUtf8Replacement;
        return 1;
    }
    if (len > n) {
        *cp = kUtf8Replacement;
        return 1;
    }
    for (size_t i = 1; i < len; ++i) {
        const unsigned char b = (unsigned char)s[i];
        if (!continuation(b)) {
            *cp = kUtf8Replacement;
            return 1;
        }
        v = (v << 6) | (b & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
        *cp = kUtf8Replacement;
        return 1;
    }
    *cp = v;
    return len;
}

size_t utf8_encode(uint32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = (char)cp;
        return 1;
    }
    if (cp < 0x800) {
        out[0] = (char)(0xC0 | (cp >> 6));
        out[1] = (char)(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = (char)(0xE0 | (cp >> 12));
        out[1] = (char)(0x80 | ((cp >> 6) & 0x3F));
        out[2] = (char)(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = (char)(0xF0 | (cp >> 18));
    out[1] = (char)(0x80 | ((cp >> 12) & 0x3F));
    out[2] = (char)(0x80 | ((cp >> 6) & 0x3F));
    out[3] = (char)(0x80 | (cp & 0x3F));
    return 4;
}

size_t utf8_clean(const char* in, size_t n, size_t max_chars, bool jis_forms, char* out,
                  size_t out_size) {
    if (out_size == 0) return 0;
    size_t used = 0, chars = 0, i = 0;
    while (i < n && chars < max_chars) {
        uint32_t cp;
        i += utf8_decode(in + i, n - i, &cp);
        if (is_control(cp)) cp = ' ';
        if (jis_forms) cp = jis_form(cp);
        char buf[4];
        const size_t len = utf8_encode(cp, buf);
        if (used + len > out_size - 1) break;
        for (size_t k = 0; k < len; ++k) out[used + k] = buf[k];
        used += len;
        ++chars;
    }
    out[used] = '\0';
    return used;
}

size_t utf8_cut(const char* s, size_t n, size_t max) {
    if (n <= max) return n;
    // A character is at most 4 bytes: a longer run of continuation bytes is ill-formed and
    // is cut where the limit falls, so a caller always moves on.
    size_t cut = max;
    while (cut > 0 && max - cut < 3 && continuation((unsigned char)s[cut])) --cut;
    return continuation((unsigned char)s[cut]) || cut == 0 ? max : cut;
}
