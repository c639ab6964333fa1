#pragma once
// The one closure engine of zones, shared by the DBM library and the regions.
//
// Closure is lazy: a tightening only marks the clocks of the bound it changed
// in a touched set (bit k mod 32 of word k / 32 for clock k), and the closure
// runs one Floyd–Warshall pivot per marked clock. Starting from a matrix that
// was closed before the tightenings, paths can only have become shorter
// through a changed bound, hence through a marked clock, so these pivots
// restore the closed form.

#include "dbm/RawBound.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvela {

/// Words of a touched set for n clocks.
constexpr std::size_t touchedWords(unsigned n) { return (std::size_t(n) + 31) / 32; }

/// Marks clock k in the touched set.
inline void markTouched(uint32_t* touched, unsigned k) {
  touched[k / 32] |= uint32_t(1) << (k % 32);
}

/// True if no clock is marked in the touched set of n clocks.
inline bool noneTouched(const uint32_t* touched, unsigned n) {
  uint32_t any = 0;
  for (std::size_t w = 0; w < touchedWords(n); ++w)
    any |= touched[w];
  return any == 0;
}

/// Constrains x_i - x_j by `raw` in the n×n matrix m when that is tighter
/// than the entry, and marks clocks i and j for the closure; a raw bound of
/// "no bound" (either encoding) changes nothing. False when the cycle through
/// the opposite entry (j, i) is negative: the zone is then empty.
inline bool tightenBound(int32_t* m, unsigned n, uint32_t* touched, unsigned i, unsigned j,
                         int32_t raw) {
  int32_t& entry = m[std::size_t(i) * n + j];
  if (raw >= entry || rawIsInfinite(raw))
    return true;
  entry = raw;
  markTouched(touched, i);
  markTouched(touched, j);
  const int32_t opposite = m[std::size_t(j) * n + i];
  return opposite == rawInfinity || !rawPairIsNegative(raw, opposite);
}

/// One relaxation pivot on clock k of the n×n matrix m. The diagonal is
/// relaxed like any entry: it keeps <= 0 in a zone and takes the weight of
/// the cycle i -> k -> i where that is lower (an infinite diagonal of a matrix
/// built from a blank one thus takes cycle weights). False as soon as a
/// diagonal entry is a negative cycle: the zone is empty, and relaxing it
/// further would only double its bounds pivot after pivot.
inline bool closurePivot(int32_t* m, unsigned n, unsigned k) {
  const int32_t* rowK = m + std::size_t(k) * n;
  if (rawCycleIsNegative(rowK[k]))
    return false;
  for (unsigned i = 0; i < n; ++i) {
    if (i == k)
      continue;
    int32_t* rowI = m + std::size_t(i) * n;
    const int32_t toK = rowI[k];
    if (toK == rawInfinity)
      continue;
    relaxRow(rowI, rowK, toK, n);
    if (rawCycleIsNegative(rowI[i]))
      return false;
  }
  return true;
}

/// Closes m over the clocks marked in `touched` and clears the set. False
/// when a negative cycle shows the zone empty: a diagonal entry of m is then
/// below <= 0, and the other bounds are only good for that answer.
inline bool closeTouched(int32_t* m, unsigned n, uint32_t* touched) {
  bool nonEmpty = true;
  for (std::size_t w = 0; w < touchedWords(n) && nonEmpty; ++w)
    for (uint32_t bits = touched[w]; bits != 0 && nonEmpty; bits &= bits - 1)
      nonEmpty = closurePivot(m, n, unsigned(w * 32 + __builtin_ctz(bits)));
  std::memset(touched, 0, touchedWords(n) * sizeof(uint32_t));
  return nonEmpty;
}

/// Closes m over every clock, whatever was tightened: for matrices whose
/// bounds were loosened or written directly. False as for `closeTouched`.
inline bool closeAll(int32_t* m, unsigned n) {
  for (unsigned k = 0; k < n; ++k)
    if (!closurePivot(m, n, k))
      return false;
  return true;
}

} // namespace orvela
