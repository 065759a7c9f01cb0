#include "config/scramble.h"

#include <cstring>
#include <memory>
#include <new>

#include "config/cp932.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value 0-63 of an alphabet character, -1 for "=" (skipped), -2 otherwise.
int char_value(unsigned char c) {
    c &= 0x7F;
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == '=') return -1;
    return -2;
}

std::unique_ptr<char[]> scratch(size_t n) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[n ? n : 1]);
}

// Decodes len bytes of src into out (room for len * 3 / 4 bytes). Returns the
// byte count; *complete is false when an invalid character stopped decoding.
size_t unscramble_bytes(const char* src, size_t len, char* out, bool* complete) {
    unsigned bits = 0;
    int nbits = 0;
    size_t n = 0;
    *complete = true;
    for (size_t i = 0; i < len; ++i) {
        const int v = char_value(static_cast<unsigned char>(src[i]));
        if (v == -1) continue;
        if (v == -2) {
            *complete = false;
            break;
        }
        bits = (bits << 6) | static_cast<unsigned>(v);
        nbits += 6;
        if (nbits >= 8) {
            nbits -= 8;
            out[n++] = static_cast<char>((bits >> nbits) & 0xFF);
        }
    }
    return n;
}

// Decodes len bytes of src into a new NUL-terminated buffer holding the plain
// (or, after an invalid character, still permuted) bytes; *n is their count.
// Returns nullptr if out of memory.
std::unique_ptr<char[]> decode_plain(const char* src, size_t len, size_t* n) {
    auto permuted = scratch(len + 1);
    auto plain = scratch(len + 1);
    if (!permuted || !plain) return nullptr;
    bool complete = false;
    *n = unscramble_bytes(src, len, permuted.get(), &complete);
    permuted[*n] = '\0';
    if (!complete) return permuted;
    memo_unpermute(permuted.get(), *n, plain.get());
    plain[*n] = '\0';
    return plain;
}

}  // namespace

void memo_permute(const char* s, size_t n, char* out) {
    const size_t h = n / 2, o = n % 2;
    if (o) out[0] = s[h];
    for (size_t k = 0; k < h; ++k) {
        out[o + 2 * k] = s[h - 1 - k];
        out[o + 2 * k + 1] = s[h + o + k];
    }
}

void memo_unpermute(const char* t, size_t n, char* out) {
    const size_t h = n / 2, o = n % 2;
    if (o) out[h] = t[0];
    for (size_t k = 0; k < h; ++k) {
        out[h - 1 - k] = t[o + 2 * k];
        out[h + o + k] = t[o + 2 * k + 1];
    }
}

size_t memo_scrambled_length(size_t n) { return 1 + (8 * n + 5) / 6; }

bool memo_scramble(char* buf, size_t size) {
    const void* nul = std::memchr(buf, '\0', size);
    if (nul == nullptr) return false;
    const size_t n = static_cast<size_t>(static_cast<const char*>(nul) - buf);
    if (memo_scrambled_length(n) + 1 > size) return false;
    auto t = scratch(n);
    if (!t) return false;
    memo_permute(buf, n, t.get());

    char* out = buf;
    *out++ = '$';
    unsigned bits = 0;
    int nbits = 0;
    for (size_t i = 0; i < n; ++i) {
        bits = (bits << 8) | static_cast<unsigned char>(t[i]);
        nbits += 8;
        while (nbits >= 6) {
            nbits -= 6;
            *out++ = kAlphabet[(bits >> nbits) & 0x3F];
        }
    }
    if (nbits > 0) *out++ = kAlphabet[(bits << (6 - nbits)) & 0x3F];
    *out = '\0';
    return true;
}

size_t memo_unscramble(char* buf, size_t size) {
    if (size == 0) return 0;
    const void* nul = std::memchr(buf, '\0', size);
    // An unterminated buffer is decoded in full; the result is still shorter.
    const size_t len = nul ? static_cast<size_t>(static_cast<const char*>(nul) - buf) : size;
    size_t n = 0;
    auto plain = decode_plain(buf, len, &n);
    std::memset(buf, 0, size);
    if (!plain) return 0;
    std::memcpy(buf, plain.get(), n);  // n <= len * 3 / 4 < size
    return n;
}

size_t memo_unscramble_to(const char* encoded, char* out, size_t out_size) {
    size_t n = 0;
    auto plain = decode_plain(encoded, std::strlen(encoded), &n);
    if (out_size == 0) return 0;
    if (!plain) {
        out[0] = '\0';
        return 0;
    }
    return cp932_copy_n(out, out_size, plain.get(), n);
}
