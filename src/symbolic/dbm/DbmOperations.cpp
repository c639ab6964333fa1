// Zone operations on closed DBMs: intersection, hull, inclusion, delay, past,
// resets, extrapolation, minimal constraints, hashing and printing.

#include "symbolic/dbm/ClockOperations.h"
#include "symbolic/dbm/DbmInternal.h"
#include "symbolic/dbm/Hash.h"
#include "symbolic/dbm/MinimalConstraints.h"

#include <cstdio>
#include <cstring>
#include <iostream>

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

void dbm_intersect(_dbm_* a, const _dbm_* b) {
  if (dim(a) != dim(b) || knownEmpty(b)) {
    markEmpty(a);
    return;
  }
  const unsigned n = dim(a);
  const int32_t* mb = bounds(b);
  const int32_t* ma = bounds(a);
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j) {
      if (knownEmpty(a))
        return;
      if (mb[i * n + j] < ma[i * n + j])
        dbm_tighten_bound(a, i, j, mb[i * n + j]);
    }
}

void dbm_convex_hull(_dbm_* a, _dbm_* b) {
  if (dim(a) != dim(b)) {
    markEmpty(a);
    return;
  }
  if (!closeNonEmpty(b))
    return;
  if (!closeNonEmpty(a)) {
    const uint8_t keep = a->control & callerBits;
    dbm_copy(a, b);
    a->control = static_cast<uint8_t>((a->control & ~callerBits) | keep);
    return;
  }
  const std::size_t count = std::size_t(dim(a)) * dim(a);
  int32_t* ma = bounds(a);
  const int32_t* mb = bounds(b);
  for (std::size_t k = 0; k < count; ++k)
    ma[k] = ma[k] < mb[k] ? mb[k] : ma[k];
  dbm_invalidate_all(a);
}

Inclusion dbm_relation(_dbm_* a, _dbm_* b) {
  const bool aNonEmpty = closeNonEmpty(a);
  const bool bNonEmpty = closeNonEmpty(b);
  if (!aNonEmpty || !bNonEmpty || dim(a) != dim(b))
    return Inclusion::none;
  return compareMatrices(bounds(a), bounds(b), 0, std::size_t(dim(a)) * dim(a));
}

void dbm_sp(_dbm_* dbm) {
  if (closeNonEmpty(dbm))
    delayMatrix(bounds(dbm), dim(dbm));
}

void dbm_wp(_dbm_* dbm) {
  if (closeNonEmpty(dbm))
    pastMatrix(bounds(dbm), dim(dbm));
}

void dbm_reset(_dbm_* dbm, unsigned x, int32_t value) {
  if (closeNonEmpty(dbm))
    resetClock(bounds(dbm), dim(dbm), x, value);
}

void dbm_free(_dbm_* dbm, unsigned x) {
  if (closeNonEmpty(dbm))
    freeClock(bounds(dbm), dim(dbm), x);
}

void dbm_normalise(_dbm_* dbm, const int32_t* max) {
  if (!closeNonEmpty(dbm))
    return;
  const unsigned n = dim(dbm);
  int32_t* m = bounds(dbm);
  bool changed = false;
  for (unsigned i = 0; i < n; ++i) {
    const int64_t upper = 2 * int64_t(max[i]) + 1;
    int32_t* row = m + i * n;
    for (unsigned j = 0; j < n; ++j) {
      const int64_t lower = -2 * int64_t(max[j]);
      if (row[j] > upper) {
        changed |= row[j] != rawInfinity;
        row[j] = rawInfinity;
      } else if (row[j] < lower) {
        row[j] = static_cast<int32_t>(lower);
        changed = true;
      }
    }
  }
  if (changed)
    dbm_invalidate_all(dbm);
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

void dbm_print(std::ostream& out, const _dbm_* dbm) {
  const unsigned n = dim(dbm);
  const int32_t* m = bounds(dbm);
  char field[32];
  std::snprintf(field, sizeof field, "Size   : %d\n", int(n));
  out << field;
  std::snprintf(field, sizeof field, "Status : %d\n", int(dbm->status));
  out << field << "   ";
  for (unsigned j = 0; j < n; ++j) {
    std::snprintf(field, sizeof field, "%5d", int(j));
    out << field;
  }
  out << '\n';
  for (unsigned i = 0; i < n; ++i) {
    std::snprintf(field, sizeof field, "%2d:", int(i));
    out << field;
    for (unsigned j = 0; j < n; ++j) {
      const int32_t raw = m[i * n + j];
      if (raw == rawInfinity)
        out << "  inf";
      else {
        std::snprintf(field, sizeof field, rawIsStrict(raw) ? "%4ds" : "%5d", rawConstant(raw));
        out << field;
      }
    }
    out << '\n';
  }
}

void dbm_project(_dbm_*, ...) { std::cerr << "Not implemented\n"; }
