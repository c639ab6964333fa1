#pragma once
// Block layout of a DBM, shared by the library's own files only.
//
//   offset 0          control byte: bits 6-7 closure state, bits 0-5 the caller's
//   offset 1          status: bit 0 empty, bit 1 known non-empty
//   offset 2          dimension n, 16 bits unsigned
//   offset 4          n·n raw bounds, row-major
//   offset 4 + 4·n·n  pending-closure record, ⌈n/32⌉ words: the recorded pair
//                     (i << 16) | j in states 1 and 2, the set of touched
//                     clocks (bit k mod 32 of word k / 32) in state 3

#include "dbm/RawBound.h"
#include "dbm/dbm.h"

#include <cstddef>
#include <cstdint>

/// The fixed header; bounds and record follow it in the same block. No data
/// member may be added: the block size is computed by dbm_sizeof.
struct _dbm_ {
  uint8_t control;
  uint8_t status;
  uint16_t dimension;
};
static_assert(sizeof(_dbm_) == 4 && alignof(_dbm_) <= 4, "DBM header is one word");

namespace orvela::dbm {

/// Closure states, held in bits 6-7 of the control byte.
enum ClosureState : uint8_t { closed = 0, oneBound = 1, boundPair = 2, manyBounds = 3 };

inline constexpr uint8_t statusEmpty = 1;
inline constexpr uint8_t statusNonEmpty = 2;
inline constexpr uint8_t callerBits = 0x3f;

inline unsigned dim(const _dbm_* d) { return d->dimension; }
inline int32_t* bounds(_dbm_* d) { return reinterpret_cast<int32_t*>(d + 1); }
inline const int32_t* bounds(const _dbm_* d) { return reinterpret_cast<const int32_t*>(d + 1); }
inline uint32_t* record(_dbm_* d) {
  return reinterpret_cast<uint32_t*>(bounds(d) + std::size_t(dim(d)) * dim(d));
}
inline std::size_t recordWords(unsigned n) { return (n + 31) / 32; }

inline ClosureState state(const _dbm_* d) { return static_cast<ClosureState>(d->control >> 6); }
inline void setState(_dbm_* d, ClosureState s) {
  d->control = static_cast<uint8_t>((d->control & callerBits) | (s << 6));
}
inline bool knownEmpty(const _dbm_* d) { return (d->status & statusEmpty) != 0; }
inline void markEmpty(_dbm_* d) { d->status = static_cast<uint8_t>(d->status | statusEmpty); }

/// Clears the record words.
void clearRecord(_dbm_* d);

} // namespace orvela::dbm
