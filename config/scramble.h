// Scrambled form of stored text: "$" followed by the Base64 text (standard
// alphabet, no "=" padding) of a fixed byte permutation of the plain text.
// There is no key; it only keeps memos from showing as plain text.
#pragma once
#include <cstddef>

// Byte permutation of s (n bytes) into out (n bytes, must not overlap s):
// the middle byte first when n is odd, then pairs from the middle outward,
// left one first ("abcdef" -> "cdbeaf", "abcde" -> "cbdae").
void memo_permute(const char* s, size_t n, char* out);
// Inverse of memo_permute.
void memo_unpermute(const char* t, size_t n, char* out);

// Characters of the scrambled form of an n-byte text, "$" included
// (1 + ceil(8n / 6)); the buffer needs one more byte for the NUL.
size_t memo_scrambled_length(size_t n);

// Turns the plain text in buf into "$" + encoding, in place. Returns false,
// buf unchanged, if the result and its NUL do not fit in size bytes.
bool memo_scramble(char* buf, size_t size);

// buf holds the encoded text that followed the "$"; it is replaced by the
// decoded text, NUL-terminated. Decoding never writes past size (the result
// is always shorter than its encoding). Characters are looked up by their
// low 7 bits; "=" is skipped; any other character outside the alphabet ends
// decoding and the bytes decoded so far are left in permuted order.
// Returns the decoded length (a malformed value may decode to NUL bytes).
size_t memo_unscramble(char* buf, size_t size);

// Decodes encoded (the text after "$") into out, cut to out_size - 1 bytes
// on a character boundary (and at a decoded NUL byte).
// out may overlap encoded (decoding buf + 1 into buf works). Returns the
// length of the text stored in out.
size_t memo_unscramble_to(const char* encoded, char* out, size_t out_size);
