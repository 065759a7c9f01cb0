// A 64-bit FNV-1a hash of bytes: what tells one content from another without keeping it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint64_t kFnv64Basis = 14695981039346656037ULL;

// Continues h over data[0..n); start from kFnv64Basis.
uint64_t fnv1a_64(const void* data, size_t n, uint64_t h = kFnv64Basis);
