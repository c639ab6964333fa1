#pragma once
// Delay, past, reset and free on a closed n×n matrix of raw bounds, shared by
// the DBM library and the regions. Each keeps a closed matrix closed.

#include "dbm/RawBound.h"

#include <cassert>
#include <cstdint>

namespace orvela {

/// Delay: every upper bound x_i - x_0, i >= 1, is removed.
inline void delayMatrix(int32_t* m, unsigned n) {
  for (unsigned i = 1; i < n; ++i)
    m[i * n] = rawInfinity;
}

/// Past: each positive lower bound on a clock j drops to the tightest of
/// x_j >= 0 and its differences to the other clocks.
inline void pastMatrix(int32_t* m, unsigned n) {
  for (unsigned j = 1; j < n; ++j) {
    if (m[j] >= rawLessEqualZero)
      continue;
    int32_t lower = rawLessEqualZero;
    for (unsigned k = 1; k < n; ++k)
      lower = m[k * n + j] < lower ? m[k * n + j] : lower;
    m[j] = lower;
  }
}

/// Clock x := value: x's row and column become those of the reference clock
/// shifted by the value, which lies in [0, maximalClockConstant] (asserted):
/// the shifted bounds of a non-empty zone are then finite raw bounds.
inline void resetClock(int32_t* m, unsigned n, unsigned x, int32_t value) {
  assert(value >= 0 && value <= maximalClockConstant && "clock value beyond the limit");
  const int32_t shift = 2 * value;
  m[x * n + x] = rawLessEqualZero;
  m[x * n] = shift + 1;
  m[x] = 1 - shift;
  for (unsigned k = 1; k < n; ++k) {
    if (k == x)
      continue;
    m[x * n + k] = m[k] == rawInfinity ? rawInfinity : m[k] + shift;
    m[k * n + x] = m[k * n] == rawInfinity ? rawInfinity : m[k * n] - shift;
  }
}

/// Removes every constraint on clock x but x >= 0.
inline void freeClock(int32_t* m, unsigned n, unsigned x) {
  for (unsigned k = 0; k < n; ++k) {
    if (k == x)
      continue;
    m[x * n + k] = rawInfinity;
    m[k * n + x] = m[k * n];
  }
}

} // namespace orvela
