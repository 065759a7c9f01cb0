// How many bytes a zlib stream inflates to, found without inflating it: the stream is decoded
// code by code and only the lengths are added up, so counting holds no window, takes time in
// the stream's size alone and stops as soon as the count passes a limit. A damaged stream
// counts up to its first fault, which is as far as an inflater gets too.
#pragma once

#include <cstddef>
#include <cstdint>

// The inflated size of the zlib stream in data[0, n), or a number above limit once it is
// clear the stream inflates to more than limit. 0 for a stream an inflater refuses at its
// header (not deflate, or wanting a preset dictionary).
uint64_t zlib_inflated_size(const uint8_t* data, size_t n, uint64_t limit);
