#pragma once
// Bob Jenkins' lookup2 hash, the one hash function of the whole system: hash
// tables of states, bit-state indices and zone fingerprints all use it.

#include <cstddef>
#include <cstdint>

namespace orvela {

/// The lookup2 hash of `length` bytes at `key`, chained from `initval` (the
/// previous hash or an arbitrary value). Reads the key as little-endian words,
/// whatever the host's byte order.
uint32_t hash(const void* key, std::size_t length, uint32_t initval);

/// The lookup2 hash of `length` 32-bit words at `key`, chained from `initval`.
uint32_t hash2(const uint32_t* key, std::size_t length, uint32_t initval);

/// hash2 over signed words (raw bounds, integer values), bit for bit.
inline uint32_t hash2(const int32_t* key, std::size_t length, uint32_t initval) {
  return hash2(reinterpret_cast<const uint32_t*>(key), length, initval);
}

} // namespace orvela
