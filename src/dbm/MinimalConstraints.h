#pragma once
// Minimal constraint set of a closed zone, shared by the DBM library (to build
// decision diagrams with few edges) and the packed regions (to store few
// bounds).

#include "dbm/RawBound.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvela {

/// Marks a minimal set of entries of the closed, non-empty n×n matrix `m`
/// (row-major, raw bounds) from which closure gives back the whole matrix:
/// keep[i·n + j] := 1 for every kept entry; the other entries of `keep` are
/// not written (the caller clears them).
///
/// Clocks whose difference is fixed (the constants of (i, j) and (j, i) sum to
/// zero) form equality classes, each represented by its smallest clock. Between
/// representatives, entry (i, j) is kept unless a third representative k gives
/// a path i -> k -> j at least as tight. Each class of two or more clocks keeps
/// the cycle through its members in increasing order.
template <class Mark> void markMinimalConstraints(const int32_t* m, unsigned n, Mark* keep) {
  constexpr unsigned localCapacity = 256;
  constexpr int32_t unassigned = -2, endOfClass = -1;
  int32_t localNext[localCapacity];
  unsigned localReps[localCapacity];
  std::vector<int32_t> heapNext;
  std::vector<unsigned> heapReps;
  int32_t* next = localNext;
  unsigned* reps = localReps;
  if (n > localCapacity) {
    heapNext.resize(n);
    heapReps.resize(n);
    next = heapNext.data();
    reps = heapReps.data();
  }

  // Equality classes, chained through `next` in increasing clock order.
  unsigned repCount = 0;
  for (unsigned i = 0; i < n; ++i)
    next[i] = unassigned;
  for (unsigned i = 0; i < n; ++i) {
    if (next[i] != unassigned)
      continue;
    reps[repCount++] = i;
    next[i] = endOfClass;
    unsigned last = i;
    for (unsigned j = i + 1; j < n; ++j) {
      if (next[j] != unassigned)
        continue;
      if (rawConstant(m[j * n + i]) + rawConstant(m[i * n + j]) == 0) {
        next[last] = static_cast<int32_t>(j);
        next[j] = endOfClass;
        last = j;
      }
    }
  }

  // Non-redundant edges between representatives. For a row i, every third
  // representative k marks the columns j it makes redundant in one pass over
  // row k, which the compiler vectorises.
  int32_t localRedundant[localCapacity];
  std::vector<int32_t> heapRedundant;
  int32_t* redundant = localRedundant;
  if (n > localCapacity) {
    heapRedundant.resize(n);
    redundant = heapRedundant.data();
  }
  for (unsigned a = 0; a < repCount; ++a) {
    const unsigned i = reps[a];
    const int32_t* rowI = m + i * n;
    for (unsigned j = 0; j < n; ++j)
      redundant[j] = 0;
    for (unsigned c = 0; c < repCount; ++c) {
      const unsigned k = reps[c];
      const int32_t toK = rowI[k];
      if (k == i || toK == rawInfinity)
        continue;
      const int32_t* rowK = m + k * n;
      const int32_t keepK = redundant[k]; // k does not make its own edge redundant
      for (unsigned j = 0; j < n; ++j) {
        const int32_t fromK = rowK[j];
        // A saturated sum is never tighter than the true one, so an entry is
        // only dropped when the path through k really implies it.
        const int32_t via = rawAddFinite(fromK, toK);
        redundant[j] |= (fromK != rawInfinity) & (rowI[j] >= via);
      }
      redundant[k] = keepK;
    }
    for (unsigned b = 0; b < repCount; ++b) {
      const unsigned j = reps[b];
      if (j != i && rowI[j] != rawInfinity && !redundant[j])
        keep[i * n + j] = 1;
    }
  }

  // The cycle through each class with more than one member.
  for (unsigned a = 0; a < repCount; ++a) {
    const unsigned first = reps[a];
    unsigned member = first;
    while (next[member] != endOfClass) {
      const unsigned following = static_cast<unsigned>(next[member]);
      keep[member * n + following] = 1;
      member = following;
    }
    if (member != first)
      keep[member * n + first] = 1;
  }
}

} // namespace orvela
