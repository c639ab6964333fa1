#include "dbm/Extrapolation.h"

#include "dbm/Closure.h"
#include "dbm/RawBound.h"

namespace orvela {

namespace {

/// The constant of a finite raw bound, with room for the comparisons below.
int64_t constantOf(int32_t raw) { return rawConstant(raw); }

/// True when bound `c` (a constant) exceeds `bound`, a clock bound that may be
/// `noClockBound`.
bool exceeds(int64_t c, int32_t bound) { return bound == noClockBound || c > bound; }

} // namespace

bool extrapolateLU(int32_t* m, unsigned n, const int32_t* lower, const int32_t* upper) {
  // The tests read the lower bounds of the zone as it was. They stand in
  // row 0, which the first loop leaves alone and the second rewrites one
  // entry at a time, each after reading it: no copy is needed.
  const int32_t* const row0 = m;
  bool changed = false;
  const auto widen = [&](int32_t& entry, int32_t raw) {
    if (entry != raw) {
      entry = raw;
      changed = true;
    }
  };
  for (unsigned i = 1; i < n; ++i) {
    const bool lowAboveL = exceeds(-constantOf(row0[i]), lower[i]);
    for (unsigned j = 0; j < n; ++j) {
      int32_t& entry = m[std::size_t(i) * n + j];
      if (i == j || rawIsInfinite(entry))
        continue;
      if (lowAboveL || exceeds(constantOf(entry), lower[i]) ||
          (j != 0 && exceeds(-constantOf(row0[j]), upper[j])))
        widen(entry, rawInfinity);
    }
  }
  for (unsigned j = 1; j < n; ++j)
    if (exceeds(-constantOf(row0[j]), upper[j]))
      widen(m[j], upper[j] == noClockBound ? rawLessEqualZero : rawBound(-upper[j], true));
  if (changed)
    closeAll(m, n);
  return changed;
}

bool includedInALU(const int32_t* z, const int32_t* zPrime, unsigned n, const int32_t* lower,
                   const int32_t* upper) {
  // Raw bounds compared in 64 bits: the clock bounds may reach the largest
  // constants, and their negations and sums must not wrap.
  const auto at = [n](const int32_t* m, unsigned i, unsigned j) {
    return int64_t(m[std::size_t(i) * n + j]);
  };
  for (unsigned x = 0; x < n; ++x) {
    const int32_t ux = x == 0 ? 0 : upper[x];
    if (ux == noClockBound || at(z, 0, x) < 2 * -int64_t(ux) + 1)
      continue;
    for (unsigned y = 0; y < n; ++y) {
      const int32_t ly = y == 0 ? 0 : lower[y];
      const int32_t bound = zPrime[std::size_t(y) * n + x];
      if (y == x || ly == noClockBound || rawIsInfinite(bound) || !(bound < at(z, y, x)))
        continue;
      // z'_yx + (<, -L_y): the constants add, the sum is strict.
      if (2 * (constantOf(bound) - ly) < at(z, 0, x))
        return false;
    }
  }
  return true;
}

} // namespace orvela
