// Zone operations on the full matrix.

#include "symbolic/UnpackedRegion.h"

#include "dbm/ClockOperations.h"
#include "dbm/Closure.h"
#include "dbm/dbm.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/ScratchRegion.h"

#include <cassert>
#include <cstring>
#include <new>

namespace orvela {

UnpackedRegion::UnpackedRegion(unsigned n, bool init, bool heapBlock) : Region(n, heapBlock) {
  if (init) {
    int32_t* m = bounds();
    for (unsigned i = 0; i < n; ++i)
      for (unsigned j = 0; j < n; ++j)
        m[i * n + j] = (i == 0 || i == j) ? rawLessEqualZero : rawInfinity;
  }
  clearTouched();
}

UnpackedRegion* UnpackedRegion::create(int n, bool init) {
  void* memory = ::operator new(sizeOf(unsigned(n)) * sizeof(int32_t));
  return new (memory) UnpackedRegion(unsigned(n), init, true);
}

UnpackedRegion* UnpackedRegion::create(int n, bool init, int* memory) {
  assert(reinterpret_cast<uintptr_t>(memory) % alignof(UnpackedRegion) == 0 &&
         "region memory must be 8-byte aligned");
  return new (memory) UnpackedRegion(unsigned(n), init, false);
}

void UnpackedRegion::clearTouched() {
  std::memset(touched(), 0, touchedWords(dim_) * sizeof(uint32_t));
}

bool UnpackedRegion::isClosed() const { return noneTouched(touched(), dim_); }

// ------------------------------------------------------------------ closure

void UnpackedRegion::close() { closeTouched(bounds(), dim_, touched()); }

void UnpackedRegion::expensiveClose() {
  closeAll(bounds(), dim_);
  clearTouched();
}

bool UnpackedRegion::isEmpty() const {
  const unsigned n = dim_;
  const int32_t* m = bounds();
  for (unsigned k = 0; k < n; ++k)
    if (rawCycleIsNegative(m[k * n + k]))
      return true;
  return false;
}

bool UnpackedRegion::isUnbounded() const {
  const unsigned n = dim_;
  const int32_t* m = bounds();
  for (unsigned i = 1; i < n; ++i)
    if (!rawIsInfinite(m[i * n]))
      return false;
  return true;
}

// -------------------------------------------------------------- tightening

bool UnpackedRegion::tightenEntry(unsigned i, unsigned j, int32_t raw) {
  return tightenBound(bounds(), dim_, touched(), i, j, raw);
}

bool UnpackedRegion::tightenRaw(int i, int j, int raw) {
  return tightenEntry(unsigned(i), unsigned(j), raw);
}

bool UnpackedRegion::tighten(int i, int j, int value, bool strict) {
  return tightenEntry(unsigned(i), unsigned(j), rawBound(value, strict));
}

bool UnpackedRegion::hasPoints(Zone::Constraint c) const {
  const int32_t opposite = get(c.j, c.i);
  if (rawIsInfinite(c.value) || rawIsInfinite(opposite))
    return true;
  return !rawPairIsNegative(c.value, opposite);
}

bool UnpackedRegion::possible(int x, int v) {
  const bool ok = tighten(x, 0, v, false) && tighten(0, x, -v, false);
  close();
  return ok;
}

bool UnpackedRegion::intersect(const Region* other) {
  assert(other->getDim() == dim_ && "intersection of regions of different dimensions");
  const int32_t* theirs = static_cast<const UnpackedRegion*>(other)->bounds();
  const unsigned n = dim_;
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      if (!tightenEntry(i, j, theirs[i * n + j]))
        return false;
  close();
  return !isEmpty();
}

// ------------------------------------------------------- clock operations

void UnpackedRegion::zeroRegion() {
  const unsigned n = dim_;
  int32_t* m = bounds();
  for (std::size_t k = 0; k < std::size_t(n) * n; ++k)
    m[k] = rawLessEqualZero;
  clearTouched();
}

void UnpackedRegion::delay() { delayMatrix(bounds(), dim_); }

void UnpackedRegion::past() { pastMatrix(bounds(), dim_); }

void UnpackedRegion::reset(unsigned x, int value) { resetClock(bounds(), dim_, x, value); }

void UnpackedRegion::offset(unsigned x, int d) {
  const unsigned n = dim_;
  int32_t* m = bounds();
  assert(d >= -maximalClockConstant && d <= maximalClockConstant && "clock shift beyond the limit");
  const int32_t forward = rawBound(d, false), backward = rawBound(-d, false);
  // A translation of one clock keeps a closed matrix closed; the shifted
  // bounds saturate at the limit of the bounds.
  for (unsigned k = 0; k < n; ++k) {
    if (k == x)
      continue;
    m[x * n + k] = rawAdd(m[x * n + k], forward);
    m[k * n + x] = rawAdd(m[k * n + x], backward);
  }
  if (rawCycleIsNegative(m[x * n])) {
    // x fell below zero everywhere: clamp it to zero. This loosens a bound,
    // which only a full closure repairs.
    m[x * n] = rawLessEqualZero;
    if (m[x] > rawLessEqualZero)
      m[x] = rawLessEqualZero;
    expensiveClose();
    return;
  }
  if (m[x] > rawLessEqualZero) { // keep x >= 0: a tightening of one entry
    m[x] = rawLessEqualZero;
    touch(0);
    touch(x);
  }
  close();
}

void UnpackedRegion::free(unsigned x) { freeClock(bounds(), dim_, x); }

void UnpackedRegion::inactivate(unsigned x) {
  const unsigned n = dim_;
  int32_t* m = bounds();
  for (unsigned k = 0; k < n; ++k) {
    if (k == x)
      continue;
    m[x * n + k] = rawInfinity;
    m[k * n + x] = rawInfinity;
  }
}

void UnpackedRegion::normk(const std::vector<int>& max) {
  close();
  const unsigned n = dim_;
  assert(max.size() >= n && "one maximal constant per clock");
  int32_t* m = bounds();
  bool changed = false;
  for (unsigned i = 1; i < n; ++i) {
    int32_t* row = m + i * n;
    const int32_t upper = max[i];
    for (unsigned j = 0; j < n; ++j) {
      const int32_t constant = rawConstant(row[j]);
      if (constant > upper && !rawIsInfinite(row[j])) {
        row[j] = rawInfinity;
        changed = true;
      } else if (constant < -max[j]) {
        row[j] = -2 * max[j];
        changed = true;
      }
    }
  }
  // Widened bounds may be implied again by others: only a full closure
  // restores the canonical form.
  if (changed)
    expensiveClose();
}

UnpackedRegion* UnpackedRegion::microDelay() const {
  UnpackedRegion* delayed = unpack();
  const unsigned n = dim_;
  int32_t* m = delayed->bounds();
  for (unsigned i = 1; i < n; ++i)
    m[i * n] |= 1;
  delayed->expensiveClose();
  return delayed;
}

// ------------------------------------------------- hull, copies, relation

void UnpackedRegion::convexHull(UnpackedRegion* other) {
  assert(other->dim_ == dim_ && "hull of regions of different dimensions");
  close();
  other->close();
  if (other->isEmpty())
    return;
  if (isEmpty()) {
    *this = *other;
    return;
  }
  // The entrywise maximum of two closed matrices is closed.
  int32_t* mine = bounds();
  const int32_t* theirs = other->bounds();
  for (std::size_t k = 0; k < std::size_t(dim_) * dim_; ++k)
    mine[k] = mine[k] < theirs[k] ? theirs[k] : mine[k];
}

Region& UnpackedRegion::operator=(const Region& other) {
  if (&other == this)
    return *this;
  other.unpackTo(this);
  return *this;
}

void UnpackedRegion::unpackTo(UnpackedRegion* target) const {
  assert(target->dim_ == dim_ && "copy between regions of different dimensions");
  if (target != this)
    std::memcpy(target->bounds(), bounds(),
                (std::size_t(dim_) * dim_ + touchedWords(dim_)) * sizeof(int32_t));
}

Region* UnpackedRegion::copy() const { return unpack(); }

UnpackedRegion* UnpackedRegion::unpack() const {
  UnpackedRegion* twin = create(dim_, false);
  unpackTo(twin);
  return twin;
}

Inclusion UnpackedRegion::relation(const Region* other) const {
  assert(other->getDim() == dim_ && "relation of regions of different dimensions");
  assert(isClosed() && "relation of a region with a pending closure");
  // The first and the last entry are on the diagonal, <= 0 in both.
  const std::size_t count = std::size_t(dim_) * dim_;
  if (count < 2)
    return Inclusion::equal;
  return compareMatrices(bounds(), static_cast<const UnpackedRegion*>(other)->bounds(), 1,
                         count - 1);
}

_dbm_* UnpackedRegion::asDBM(_dbm_* target) const {
  assert(dbm_get_size(target) == dim_ && "DBM of another dimension");
  const unsigned n = dim_;
  const int32_t* m = bounds();
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      dbm_fast_set(target, i, j, rawIsInfinite(m[i * n + j]) ? rawInfinity : m[i * n + j]);
  return target;
}

} // namespace orvela
