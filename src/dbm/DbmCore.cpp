// Creation, access, tightening and closure of DBMs.

#include "dbm/DbmInternal.h"

#include <cstring>
#include <new>

using namespace orvela;
using namespace orvela::dbm;

namespace {

/// Every entry infinity except those for which `finite(i, j)` holds, which
/// are <= 0; closed and known non-empty.
template <class Finite> _dbm_* fill(_dbm_* d, Finite finite) {
  const unsigned n = dim(d);
  int32_t* m = bounds(d);
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      m[i * n + j] = finite(i, j) ? rawLessEqualZero : rawInfinity;
  d->status = statusNonEmpty;
  std::memset(touched(d), 0, touchedWords(n) * sizeof(uint32_t));
  return d;
}

} // namespace

std::size_t dbm_sizeof(unsigned n) {
  const std::size_t extraWords = n == 0 ? 0 : (n - 1) / 32;
  return (std::size_t(n) * n + extraWords) * 4 + 8;
}

_dbm_* dbm_reserve(void* memory, unsigned n) {
  auto* d = new (memory) _dbm_;
  // The header bytes are cleared as well so that nothing ever reads an
  // indeterminate byte; the bounds stay undefined.
  d->unused = 0;
  d->status = 0;
  d->dimension = static_cast<uint16_t>(n);
  return d;
}

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
  if (knownEmpty(dbm))
    return;
  if (tightenBound(bounds(dbm), dim(dbm), touched(dbm), i, j, raw))
    dbm->status = 0; // non-empty is known again after the closure
  else
    markEmpty(dbm);
}

void dbm_tighten_interval(_dbm_* dbm, unsigned i, unsigned j, int32_t lower, int32_t upper) {
  dbm_tighten_bound(dbm, i, j, upper);
  if (lower != rawMinusInfinity)
    dbm_tighten_bound(dbm, j, i, rawNegateLower(lower));
}

void dbm_close(_dbm_* dbm) {
  if (knownEmpty(dbm))
    return;
  if (closeTouched(bounds(dbm), dim(dbm), touched(dbm)))
    dbm->status = statusNonEmpty;
  else
    markEmpty(dbm);
}

bool dbm_is_empty(_dbm_* dbm) {
  if (!knownEmpty(dbm) && !(dbm->status & statusNonEmpty))
    dbm_close(dbm);
  return knownEmpty(dbm);
}
