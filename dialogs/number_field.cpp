#include "dialogs/number_field.h"

#include <climits>
#include <cstring>

#include "config/cp932.h"

namespace {

constexpr unsigned kBackspace = 8;

bool passes(unsigned c, const char* also) {
    if ((c >= '0' && c <= '9') || c == kBackspace) return true;
    return also && c != 0 && c < 0x80 && std::strchr(also, static_cast<int>(c)) != nullptr;
}

bool trail_byte(unsigned c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

unsigned fullwidth(unsigned lead, unsigned trail) {
    return static_cast<unsigned char>(cp932_fullwidth_digit(static_cast<unsigned char>(lead),
                                                            static_cast<unsigned char>(trail)));
}

}  // namespace

unsigned number_field_char(NumberFieldInput* in, unsigned code, bool ime, const char* also) {
    if (ime) {
        in->lead = 0;
        if (code > 0xFF) return fullwidth(code >> 8, code & 0xFF);
        return passes(code, also) ? code : 0;
    }
    if (in->lead != 0) {
        const unsigned lead = in->lead;
        in->lead = 0;
        // A byte that cannot end a double-byte character: the lone lead byte goes alone.
        if (trail_byte(code)) return fullwidth(lead, code);
    }
    if (code <= 0xFF && cp932_is_lead(static_cast<unsigned char>(code))) {
        in->lead = static_cast<unsigned char>(code);
        return 0;
    }
    return passes(code, also) ? code : 0;
}

void number_field_text(char* out, size_t size, const char* text) {
    cp932_fold_digits(out, size, text);
}

namespace {

// The digit at p (ASCII or full-width) and where the next character starts; -1 for none.
int digit_at(const char* p, const char** next) {
    *next = cp932_next(p);
    if (*p >= '0' && *p <= '9') return *p - '0';
    if (*next - p == 2) {
        const char d = cp932_fullwidth_digit(static_cast<unsigned char>(p[0]), static_cast<unsigned char>(p[1]));
        if (d) return d - '0';
    }
    return -1;
}

}  // namespace

bool number_field_unsigned(const char* text, unsigned* value) {
    if (!text) return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    const char* next = p;
    int digit = digit_at(p, &next);
    if (digit < 0) return false;
    unsigned v = 0;
    for (; digit >= 0; digit = digit_at(p, &next)) {
        const unsigned d = static_cast<unsigned>(digit);
        v = v > (UINT_MAX - d) / 10 ? UINT_MAX : v * 10 + d;
        p = next;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p != '\0') return false;
    *value = v;
    return true;
}
