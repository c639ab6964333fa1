#pragma once
// Block layout of a DBM, shared by the library's own files only.
//
//   offset 0          unused byte, kept zero
//   offset 1          status: bit 0 empty, bit 1 known non-empty
//   offset 2          dimension n, 16 bits unsigned
//   offset 4          n·n raw bounds, row-major
//   offset 4 + 4·n·n  the touched set of the closure engine
//                     (symbolic/dbm/Closure.h), ⌈n/32⌉ words

#include "dbm/Closure.h"
#include "dbm/dbm.h"

#include <cstddef>
#include <cstdint>

/// The fixed header; bounds and touched set follow it in the same block. No
/// data member may be added: the block size is computed by dbm_sizeof.
struct _dbm_ {
  uint8_t unused;
  uint8_t status;
  uint16_t dimension;
};
static_assert(sizeof(_dbm_) == 4 && alignof(_dbm_) <= 4, "DBM header is one word");

namespace orvela::dbm {

inline constexpr uint8_t statusEmpty = 1;
inline constexpr uint8_t statusNonEmpty = 2;

inline unsigned dim(const _dbm_* d) { return d->dimension; }
inline int32_t* bounds(_dbm_* d) { return reinterpret_cast<int32_t*>(d + 1); }
inline const int32_t* bounds(const _dbm_* d) { return reinterpret_cast<const int32_t*>(d + 1); }
inline uint32_t* touched(_dbm_* d) {
  return reinterpret_cast<uint32_t*>(bounds(d) + std::size_t(dim(d)) * dim(d));
}

inline bool knownEmpty(const _dbm_* d) { return (d->status & statusEmpty) != 0; }
inline void markEmpty(_dbm_* d) { d->status = static_cast<uint8_t>(d->status | statusEmpty); }

} // namespace orvela::dbm
