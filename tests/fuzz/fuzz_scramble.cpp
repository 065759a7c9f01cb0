// Scramble/unscramble round trip on arbitrary bytes, and decoding of
// arbitrary (malformed) scrambled values in buffers of exactly their size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "config/scramble.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;

    // Round trip: the input without its NUL bytes as plain text.
    std::vector<char> plain;
    for (size_t i = 0; i < size; ++i)
        if (data[i]) plain.push_back(static_cast<char>(data[i]));
    const size_t n = plain.size();
    const size_t need = memo_scrambled_length(n) + 1;
    std::vector<char> buf(need);
    if (n > 0) std::memcpy(buf.data(), plain.data(), n);  // plain.data() may be null
    buf[n] = '\0';
    if (!memo_scramble(buf.data(), buf.size())) abort();
    if (buf[0] != '$' || std::strlen(buf.data()) != need - 1) abort();
    std::vector<char> encoded(buf.begin() + 1, buf.end());
    if (memo_unscramble(encoded.data(), encoded.size()) != n) abort();
    if ((n > 0 && std::memcmp(encoded.data(), plain.data(), n) != 0) || encoded[n] != '\0') abort();

    // One byte too small must be refused and leave the buffer alone.
    if (n > 0) {
        std::vector<char> small(need - 1);
        std::memcpy(small.data(), plain.data(), n);
        small[n] = '\0';
        const std::vector<char> before = small;
        if (memo_scramble(small.data(), small.size()) || small != before) abort();
    }

    // Arbitrary bytes as an encoded value, unterminated, in an exact buffer.
    std::vector<char> raw(data, data + size);
    const size_t got = memo_unscramble(raw.data(), raw.size());
    if (size > 0 && got >= size) abort();

    // Into a small output, overlapping the input the way a settings reader does.
    std::vector<char> value(size + 2);
    value[0] = '$';
    if (size > 0) std::memcpy(value.data() + 1, data, size);  // data is null for no input
    value[size + 1] = '\0';
    const size_t out_size = size ? 1 + data[0] % 64 : 1;
    const size_t kept = memo_unscramble_to(value.data() + 1, value.data(),
                                           out_size < value.size() ? out_size : value.size());
    if (kept >= out_size) abort();
    return 0;
}
