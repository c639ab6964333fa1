// Zone operations on closed DBMs: inclusion, past, minimal constraints and
// hashing.

#include "dbm/ClockOperations.h"
#include "dbm/DbmInternal.h"
#include "dbm/Hash.h"
#include "dbm/MinimalConstraints.h"

#include <cstring>

using namespace orvela;
using namespace orvela::dbm;

namespace {

constexpr uint32_t hashSeed = 23235;

/// Runs the pending closure; true if the DBM is not empty.
inline bool closeNonEmpty(_dbm_* d) {
  dbm_close(d);
  return !knownEmpty(d);
}

} // namespace

Inclusion dbm_relation(_dbm_* a, _dbm_* b) {
  const bool aNonEmpty = closeNonEmpty(a);
  const bool bNonEmpty = closeNonEmpty(b);
  if (!aNonEmpty || !bNonEmpty || dim(a) != dim(b))
    return Inclusion::none;
  return compareMatrices(bounds(a), bounds(b), 0, std::size_t(dim(a)) * dim(a));
}

void dbm_wp(_dbm_* dbm) {
  if (closeNonEmpty(dbm))
    pastMatrix(bounds(dbm), dim(dbm));
}

void dbm_min(_dbm_* dbm, int32_t* out) {
  dbm_close(dbm);
  const unsigned n = dim(dbm);
  std::memset(out, 0, std::size_t(n) * n * sizeof(int32_t));
  markMinimalConstraints(bounds(dbm), n, out);
}

uint32_t dbm_hash(_dbm_* dbm) {
  dbm_close(dbm);
  return orvela::hash(bounds(dbm), std::size_t(dim(dbm)) * dim(dbm) * sizeof(int32_t), hashSeed);
}
