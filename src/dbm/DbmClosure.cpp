// The three closure algorithms behind dbm_close, one per pending record.
//
// Each starts from a matrix that was closed before the recorded tightenings,
// so it only has to propagate what changed: O(n²) for one bound or a pair of
// opposite bounds, one Floyd–Warshall pivot per touched clock otherwise.

#include "dbm/DbmInternal.h"

using namespace orvela;
using namespace orvela::dbm;

namespace {

inline void recordedPair(const _dbm_* d, unsigned& i, unsigned& j) {
  const uint32_t pair =
      *reinterpret_cast<const uint32_t*>(bounds(d) + std::size_t(dim(d)) * dim(d));
  i = pair >> 16;
  j = pair & 0xffff;
}

/// One bound (i, j) tightened to b: paths may now go k -> i -> j -> l.
void closeBound(_dbm_* d) {
  const unsigned n = dim(d);
  int32_t* m = bounds(d);
  unsigned i, j;
  recordedPair(d, i, j);
  const int32_t b = m[i * n + j];
  if (i == j) {
    // A diagonal bound constrains nothing unless it is a negative cycle.
    if (rawCycleIsNegative(b))
      markEmpty(d);
    return;
  }
  int32_t* rowI = m + i * n;
  const int32_t* rowJ = m + j * n;
  relaxRow(rowI, rowJ, b, n);
  for (unsigned k = 0; k < n; ++k) {
    if (k == i)
      continue; // row i is done, and cannot improve through its own diagonal
    int32_t* rowK = m + k * n;
    const int32_t toI = rowK[i];
    if (toI == rawInfinity)
      continue;
    const int32_t t = rawAddFinite(toI, b);
    if (t >= rowK[j])
      continue; // no path through the new bound is shorter for this row
    rowK[j] = t;
    // Row j is the pivot row; a non-negative cycle through j adds nothing to it.
    if (k != j)
      relaxRow(rowK, rowJ, t, n);
  }
}

/// The opposite bounds (i, j) and (j, i) both tightened.
void closeInterval(_dbm_* d) {
  const unsigned n = dim(d);
  int32_t* m = bounds(d);
  unsigned i, j;
  recordedPair(d, i, j);
  const int32_t b1 = m[i * n + j];
  for (unsigned k = 0; k < n; ++k) {
    const int32_t toI = m[k * n + i];
    if (toI == rawInfinity)
      continue;
    const int32_t t = rawAddFinite(toI, b1);
    int32_t& toJ = m[k * n + j];
    if (t < toJ)
      toJ = t;
  }
  const int32_t b2 = m[j * n + i];
  int32_t* rowJ = m + j * n;
  relaxRow(rowJ, m + i * n, b2, n);
  // Pivot on j: rows with no bound to j gain nothing.
  for (unsigned k = 0; k < n; ++k) {
    if (k == j)
      continue;
    int32_t* rowK = m + k * n;
    if (rowK[j] != rawInfinity)
      relaxRow(rowK, rowJ, rowK[j], n);
  }
}

/// Floyd–Warshall restricted to the touched clocks as pivots. Answers false,
/// leaving state and set as they are, when a negative cycle shows the DBM
/// empty.
bool closeMultiple(_dbm_* d) {
  const unsigned n = dim(d);
  int32_t* m = bounds(d);
  const uint32_t* touched = record(d);
  for (unsigned k = 0; k < n; ++k) {
    if (!(touched[k / 32] & (uint32_t(1) << (k % 32))))
      continue;
    const int32_t* rowK = m + k * n;
    for (unsigned i = 0; i < n; ++i) {
      if (i == k)
        continue;
      int32_t* rowI = m + i * n;
      const int32_t toK = rowI[k];
      if (toK == rawInfinity)
        continue;
      const int32_t back = rowK[i];
      if (back != rawInfinity && rawPairIsNegative(toK, back)) {
        markEmpty(d);
        return false;
      }
      // The diagonal is not relaxed: keep it across the vectorised row update.
      const int32_t diagonal = rowI[i];
      relaxRow(rowI, rowK, toK, n);
      rowI[i] = diagonal;
    }
  }
  clearRecord(d);
  return true;
}

} // namespace

void dbm_close(_dbm_* dbm) {
  const ClosureState s = state(dbm);
  if (s == closed || knownEmpty(dbm))
    return;
  switch (s) {
  case oneBound:
    closeBound(dbm);
    if (knownEmpty(dbm))
      return;
    break;
  case boundPair:
    closeInterval(dbm);
    break;
  case manyBounds:
    if (!closeMultiple(dbm))
      return;
    break;
  case closed:
    break;
  }
  setState(dbm, closed);
  dbm->status = statusNonEmpty;
}

bool dbm_is_empty(_dbm_* dbm) {
  if (knownEmpty(dbm))
    return true;
  if (dbm->status & statusNonEmpty)
    return false;
  dbm_close(dbm);
  return knownEmpty(dbm);
}
