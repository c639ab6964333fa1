// Creation, access and lazy tightening of DBMs.

#include "dbm/DbmInternal.h"

#include <cstdlib>
#include <cstring>
#include <new>

using namespace orvela;
using namespace orvela::dbm;

namespace orvela::dbm {

void clearRecord(_dbm_* d) { std::memset(record(d), 0, recordWords(dim(d)) * sizeof(uint32_t)); }

} // namespace orvela::dbm

namespace {

inline uint32_t packPair(unsigned i, unsigned j) { return (uint32_t(i) << 16) | uint32_t(j); }

inline void markClock(uint32_t* set, unsigned k) { set[k / 32] |= uint32_t(1) << (k % 32); }

/// Leaves the one-bound or pair state for the touched-clock set: the clocks of
/// the recorded pair and of the new pair (i, j) are marked.
void switchToManyBounds(_dbm_* d, unsigned i, unsigned j) {
  uint32_t* set = record(d);
  const uint32_t recorded = set[0];
  clearRecord(d);
  markClock(set, recorded >> 16);
  markClock(set, recorded & 0xffff);
  markClock(set, i);
  markClock(set, j);
  setState(d, manyBounds);
}

/// Advances the closure state machine after entry (i, j) was tightened.
void recordPair(_dbm_* d, unsigned i, unsigned j) {
  uint32_t* rec = record(d);
  switch (state(d)) {
  case closed:
    rec[0] = packPair(i, j);
    setState(d, oneBound);
    break;
  case oneBound:
    if (rec[0] == packPair(i, j))
      break;
    if (rec[0] == packPair(j, i))
      setState(d, boundPair);
    else
      switchToManyBounds(d, i, j);
    break;
  case boundPair:
    if (rec[0] != packPair(i, j) && rec[0] != packPair(j, i))
      switchToManyBounds(d, i, j);
    break;
  case manyBounds:
    markClock(rec, i);
    markClock(rec, j);
    break;
  }
}

/// Every entry infinity except those for which `finite(i, j)` holds, which
/// are <= 0; closed, known non-empty, record cleared.
template <class Finite> _dbm_* fill(_dbm_* d, Finite finite) {
  const unsigned n = dim(d);
  int32_t* m = bounds(d);
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      m[i * n + j] = finite(i, j) ? rawLessEqualZero : rawInfinity;
  setState(d, closed);
  d->status = statusNonEmpty;
  clearRecord(d);
  return d;
}

} // namespace

std::size_t dbm_sizeof(unsigned n) {
  const std::size_t extraWords = n == 0 ? 0 : (n - 1) / 32;
  return (std::size_t(n) * n + extraWords) * 4 + 8;
}

_dbm_* dbm_reserve(void* memory, unsigned n) {
  auto* d = new (memory) _dbm_;
  // The control and status bytes are cleared as well so that nothing ever
  // reads an indeterminate byte; the bounds stay undefined.
  d->control = 0;
  d->status = 0;
  d->dimension = static_cast<uint16_t>(n);
  return d;
}

_dbm_* dbm_alloc(unsigned n) {
  void* memory = std::malloc(dbm_sizeof(n));
  if (!memory)
    throw std::bad_alloc();
  return dbm_reserve(memory, n);
}

void dbm_destroy(_dbm_* dbm) { std::free(dbm); }

_dbm_* dbm_init(_dbm_* dbm) {
  return fill(dbm, [](unsigned i, unsigned j) { return i == 0 || i == j; });
}

_dbm_* dbm_blank(_dbm_* dbm) {
  return fill(dbm, [](unsigned, unsigned) { return false; });
}

_dbm_* dbm_copy(_dbm_* destination, const _dbm_* source) {
  std::memcpy(destination, source, dbm_sizeof(dim(destination)));
  return destination;
}

unsigned dbm_get_size(const _dbm_* dbm) { return dim(dbm); }

int32_t dbm_get_bound(const _dbm_* dbm, unsigned i, unsigned j) {
  return bounds(dbm)[i * dim(dbm) + j];
}

void dbm_fast_set(_dbm_* dbm, unsigned i, unsigned j, int32_t raw) {
  bounds(dbm)[i * dim(dbm) + j] = raw;
}

void dbm_tighten_bound(_dbm_* dbm, unsigned i, unsigned j, int32_t raw) {
  const unsigned n = dim(dbm);
  int32_t* m = bounds(dbm);
  int32_t& entry = m[i * n + j];
  if (raw >= entry || knownEmpty(dbm))
    return;
  // raw is finite here, being tighter than something.
  const int32_t opposite = m[j * n + i];
  if (opposite != rawInfinity && rawPairIsNegative(raw, opposite)) {
    markEmpty(dbm);
    return;
  }
  entry = raw;
  recordPair(dbm, i, j);
  // With one bound or one pair pending the cycle test above keeps the status
  // exact; with more it no longer can.
  if (state(dbm) == manyBounds)
    dbm->status = static_cast<uint8_t>(dbm->status & ~statusNonEmpty);
}

void dbm_tighten_interval(_dbm_* dbm, unsigned i, unsigned j, int32_t lower, int32_t upper) {
  dbm_tighten_bound(dbm, i, j, upper);
  if (lower != rawMinusInfinity)
    dbm_tighten_bound(dbm, j, i, rawNegateLower(lower));
}

void dbm_set_bound(_dbm_* dbm, unsigned i, unsigned j, int32_t raw) {
  int32_t& entry = bounds(dbm)[i * dim(dbm) + j];
  if (raw < entry) {
    dbm_tighten_bound(dbm, i, j, raw);
  } else if (raw > entry && !knownEmpty(dbm)) {
    entry = raw;
    dbm_invalidate_all(dbm);
  }
}

int dbm_is_maybe_nonempty(const _dbm_* dbm) { return knownEmpty(dbm) ? 0 : 1; }

void dbm_invalidate_all(_dbm_* dbm) {
  const unsigned n = dim(dbm);
  uint32_t* set = record(dbm);
  const std::size_t words = recordWords(n);
  for (std::size_t w = 0; w < words; ++w)
    set[w] = ~uint32_t(0);
  if (n % 32 != 0)
    set[words - 1] = (uint32_t(1) << (n % 32)) - 1;
  setState(dbm, manyBounds);
}
