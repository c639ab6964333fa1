#include "checkers/RationalZone.h"

#include "dbm/RawBound.h"
#include "symbolic/UnpackedRegion.h"

namespace orvela {

namespace {

RationalBound lessEqualZero() { return RationalBound::at(0, false); }

RationalBound sum(const RationalBound& a, const RationalBound& b) {
  if (a.infinite || b.infinite)
    return {};
  return RationalBound::at(a.value + b.value, a.strict || b.strict);
}

/// True when `a` admits fewer differences than `b`.
bool tighter(const RationalBound& a, const RationalBound& b) {
  if (a.infinite)
    return false;
  if (b.infinite)
    return true;
  return a.value < b.value || (a.value == b.value && a.strict && !b.strict);
}

/// Whether `value` lies within `lower` (a bound on -x) and `upper`.
bool within(const mpq_class& value, const RationalBound& lower, const RationalBound& upper) {
  const mpq_class low = -lower.value;
  const bool aboveLow = lower.strict ? value > low : value >= low;
  const bool belowHigh =
      upper.infinite || (upper.strict ? value < upper.value : value <= upper.value);
  return aboveLow && belowHigh;
}

} // namespace

RationalBound RationalBound::fromRaw(int raw) {
  if (rawIsInfinite(raw))
    return {};
  return at(rawConstant(raw), rawIsStrict(raw));
}

RationalZone::RationalZone(unsigned dim) : dim_(dim), m_(std::size_t(dim) * dim) {
  for (unsigned i = 0; i < dim; ++i) {
    at(i, i) = lessEqualZero();
    at(0, i) = lessEqualZero();
  }
}

RationalZone::RationalZone(const UnpackedRegion& zone, unsigned dim) : RationalZone(dim) {
  const unsigned n = zone.getDim();
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      if (i != j)
        at(i, j) = RationalBound::fromRaw(zone.get(i, j));
  close();
}

void RationalZone::constrain(unsigned i, unsigned j, const RationalBound& bound) {
  if (empty_ || !tighter(bound, at(i, j)))
    return;
  if (tighter(sum(bound, at(j, i)), lessEqualZero())) {
    empty_ = true;
    return;
  }
  // The matrix was closed: only paths through the new entry got shorter.
  at(i, j) = bound;
  for (unsigned a = 0; a < dim_; ++a) {
    const RationalBound toJ = sum(at(a, i), bound);
    if (toJ.infinite)
      continue;
    for (unsigned b = 0; b < dim_; ++b) {
      RationalBound through = sum(toJ, at(j, b));
      if (tighter(through, at(a, b)))
        at(a, b) = std::move(through);
    }
  }
}

void RationalZone::constrainDifference(unsigned i, unsigned j, const mpq_class& value) {
  constrain(i, j, RationalBound::at(value, false));
  constrain(j, i, RationalBound::at(-value, false));
}

void RationalZone::intersect(const RationalZone& other) {
  for (unsigned i = 0; i < dim_; ++i)
    for (unsigned j = 0; j < dim_; ++j)
      if (tighter(other.bound(i, j), at(i, j)))
        at(i, j) = other.bound(i, j);
  close();
}

void RationalZone::delay() {
  for (unsigned i = 1; i < dim_; ++i)
    at(i, 0) = {};
}

void RationalZone::reset(unsigned x, const mpq_class& value) {
  for (unsigned i = 0; i < dim_; ++i) {
    if (i == x)
      continue;
    at(x, i) = sum(RationalBound::at(value, false), bound(0, i));
    at(i, x) = sum(bound(i, 0), RationalBound::at(-value, false));
  }
}

void RationalZone::copy(unsigned x, unsigned y) {
  if (x == y)
    return;
  for (unsigned i = 0; i < dim_; ++i) {
    if (i == x || i == y)
      continue;
    at(x, i) = bound(y, i);
    at(i, x) = bound(i, y);
  }
  at(x, y) = lessEqualZero();
  at(y, x) = lessEqualZero();
}

void RationalZone::offset(unsigned x, const mpq_class& delta) {
  for (unsigned i = 0; i < dim_; ++i) {
    if (i == x)
      continue;
    at(x, i) = sum(bound(x, i), RationalBound::at(delta, false));
    at(i, x) = sum(bound(i, x), RationalBound::at(-delta, false));
  }
  // The shift keeps the matrix closed; x >= 0 may cut it.
  constrain(0, x, lessEqualZero());
}

void RationalZone::free(unsigned x) {
  for (unsigned i = 0; i < dim_; ++i) {
    if (i == x)
      continue;
    at(x, i) = {};
    at(i, x) = bound(i, 0);
  }
}

void RationalZone::close() {
  for (unsigned k = 0; k < dim_; ++k)
    for (unsigned i = 0; i < dim_; ++i) {
      if (bound(i, k).infinite)
        continue;
      for (unsigned j = 0; j < dim_; ++j) {
        RationalBound through = sum(bound(i, k), bound(k, j));
        if (tighter(through, bound(i, j)))
          at(i, j) = std::move(through);
      }
    }
  for (unsigned i = 0; i < dim_; ++i)
    if (tighter(bound(i, i), lessEqualZero()))
      empty_ = true;
}

mpq_class RationalZone::pick(unsigned x, const mpq_class& grid, bool lowest) const {
  const RationalBound& lower = bound(0, x); // a bound on -x
  const RationalBound& upper = bound(x, 0);
  const mpq_class low = -lower.value;
  if (lowest && !lower.strict)
    return low;
  if (lowest) {
    // No lowest value: half a unit above the bound when the zone has it.
    const mpq_class half = low + mpq_class(1, 2);
    if (within(half, lower, upper))
      return half;
  } else {
    // The first value grid + k at or above the lower bound.
    const mpq_class above = low - grid;
    mpz_class steps;
    mpz_cdiv_q(steps.get_mpz_t(), above.get_num_mpz_t(), above.get_den_mpz_t());
    mpq_class onGrid = grid + mpq_class(steps);
    if (!within(onGrid, lower, upper))
      onGrid += 1;
    if (within(onGrid, lower, upper))
      return onGrid;
  }
  if (upper.infinite)
    return low + 1;
  mpq_class middle = (low + upper.value) / 2;
  middle.canonicalize();
  return middle;
}

std::vector<mpq_class> RationalZone::point(unsigned first, const mpq_class& grid,
                                           bool lowest) const {
  RationalZone zone = *this;
  std::vector<mpq_class> values(dim_);
  values[first] = zone.pick(first, grid, lowest);
  zone.constrainDifference(first, 0, values[first]);
  for (unsigned x = 1; x < dim_; ++x) {
    if (x == first)
      continue;
    values[x] = zone.pick(x, values[first], false);
    zone.constrainDifference(x, 0, values[x]);
  }
  return values;
}

} // namespace orvela
