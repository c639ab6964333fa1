#pragma once
// Arithmetic on raw clock bounds and the row kernels shared by the DBM library
// and the regions.
//
// A raw bound is one int32_t: twice the constant, plus one for a non-strict
// bound (x <= c is 2c + 1, x < c is 2c). A smaller raw bound is tighter.
// 0x7fffffff is the absence of a bound (infinity).
//
// Finite bounds have constants in [-maximalClockConstant,
// maximalClockConstant]. Sums of bounds saturate at these limits instead of
// wrapping: a sum above the limit is no bound, a sum below it the bound
// "< -maximalClockConstant", which the true sum implies. Either way every
// stored bound still holds for every valuation of the zone: saturation may
// widen a zone, never cut valuations from it.

#include <cstddef>
#include <cstdint>

namespace orvela {

inline constexpr int32_t rawInfinity = 0x7fffffff;
/// The lower-bound form of minus infinity used by interval constraints.
inline constexpr int32_t rawMinusInfinity = -0x7fffffff;
/// x_i - x_j <= 0.
inline constexpr int32_t rawLessEqualZero = 1;
/// Every raw bound from this value up has the constant 0x3fffffff and counts
/// as "no bound" wherever bounds are read for printing or extrapolation.
inline constexpr int32_t rawInfiniteFrom = 0x7ffffffe;
/// The largest clock constant (in absolute value) of a bound: the largest
/// whose bounds <= c and < c and their negations are all finite raw bounds.
/// Models, properties and client states are held to it.
inline constexpr int32_t maximalClockConstant = 0x3ffffffe; // 1073741822
/// The tightest raw bound kept: < -maximalClockConstant.
inline constexpr int32_t rawLowestBound = -2 * maximalClockConstant;

constexpr int32_t rawBound(int32_t constant, bool strict) {
  return constant * 2 + (strict ? 0 : 1);
}
static_assert(rawBound(maximalClockConstant, false) == rawInfiniteFrom - 1 &&
                  rawBound(-maximalClockConstant, true) == rawLowestBound,
              "the limit is the largest constant with finite bounds of either sign");
constexpr int32_t rawConstant(int32_t raw) { return raw >> 1; }
constexpr bool rawIsStrict(int32_t raw) { return (raw & 1) == 0; }
/// True for both encodings of "no bound" (constant 0x3fffffff).
constexpr bool rawIsInfinite(int32_t raw) { return raw >= rawInfiniteFrom; }

/// Sum of two finite raw bounds: the constants add, and the sum is non-strict
/// only if both operands are. Saturates: a constant above
/// `maximalClockConstant` gives infinity, one below its negation
/// `rawLowestBound`. Defined for any two int32_t values (the halved constants
/// cannot overflow when added), and branch-free so that row loops vectorise.
constexpr int32_t rawAddFinite(int32_t a, int32_t b) {
  // The halved constants cannot overflow when added; doubling the sum as an
  // unsigned word is exact whenever the sum lies within the limits, and the
  // selects replace it otherwise.
  const int32_t constant = (a >> 1) + (b >> 1);
  const int32_t raw = static_cast<int32_t>(static_cast<uint32_t>(constant) * 2u) | (a & b & 1);
  return constant > maximalClockConstant    ? rawInfinity
         : constant < -maximalClockConstant ? rawLowestBound
                                            : raw;
}

/// Sum of two raw bounds; infinity (either encoding) absorbs.
constexpr int32_t rawAdd(int32_t a, int32_t b) {
  return (rawIsInfinite(a) || rawIsInfinite(b)) ? rawInfinity : rawAddFinite(a, b);
}

/// True if the cycle with raw weight `sum` makes a zone empty (a negative
/// constant, or zero with a strict bound).
constexpr bool rawCycleIsNegative(int32_t sum) { return sum < rawLessEqualZero; }

/// True if the cycle through the finite raw bounds `a` and `b` makes a zone
/// empty. Summed exactly in 64 bits, where `rawAddFinite` would saturate.
constexpr bool rawPairIsNegative(int32_t a, int32_t b) {
  return int64_t(a & ~1) + int64_t(b & ~1) + (a & b & 1) < rawLessEqualZero;
}

/// The upper bound on x_j - x_i that is the complement of the lower bound
/// `lower` on x_i - x_j: the constant is negated and the strictness flipped;
/// minus infinity becomes infinity.
constexpr int32_t rawNegateLower(int32_t lower) {
  return lower == rawMinusInfinity ? rawInfinity : ((-(lower & ~1)) | (lower & 1)) ^ 1;
}

/// One relaxation step of a shortest-path closure:
///   row[j] := min(row[j], viaBound + pivotRow[j])   for every j < n,
/// where `viaBound` is finite and infinite entries of `pivotRow` leave `row`
/// alone; the sums saturate like `rawAddFinite`. The two rows must not
/// overlap. Written branch-free so that the compiler vectorises it.
inline void relaxRow(int32_t* __restrict row, const int32_t* __restrict pivotRow, int32_t viaBound,
                     std::size_t n) {
  for (std::size_t j = 0; j < n; ++j) {
    const int32_t b = pivotRow[j];
    const int32_t sum = rawIsInfinite(b) ? rawInfinity : rawAddFinite(b, viaBound);
    row[j] = sum < row[j] ? sum : row[j];
  }
}

/// Number of entries compared per block by the scans below: large enough to
/// vectorise, small enough to stop soon after the deciding entry.
inline constexpr std::size_t scanBlock = 16;

/// Index of the first k in [from, to) with a[k] != b[k], or `to`. The scans
/// below take rows of any integer type (raw bounds, or bounds stored in a
/// narrower type that keeps their order).
template <class Bound>
inline std::size_t firstDifference(const Bound* a, const Bound* b, std::size_t from,
                                   std::size_t to) {
  std::size_t k = from;
  for (; k + scanBlock <= to; k += scanBlock) {
    int differ = 0;
    for (std::size_t m = 0; m < scanBlock; ++m)
      differ |= a[k + m] != b[k + m];
    if (differ)
      break;
  }
  for (; k < to; ++k)
    if (a[k] != b[k])
      return k;
  return to;
}

/// True if a[k] < b[k] for some k in [from, to).
template <class Bound>
inline bool anyLess(const Bound* a, const Bound* b, std::size_t from, std::size_t to) {
  std::size_t k = from;
  for (; k + scanBlock <= to; k += scanBlock) {
    int less = 0;
    for (std::size_t m = 0; m < scanBlock; ++m)
      less |= a[k + m] < b[k + m];
    if (less)
      return true;
  }
  for (; k < to; ++k)
    if (a[k] < b[k])
      return true;
  return false;
}

/// How one zone lies relative to another, read as "the first zone is ... the
/// second". The one inclusion answer of DBMs, regions, packed regions and
/// stored states.
enum class Inclusion : uint8_t {
  none,     ///< neither zone includes the other
  subset,   ///< the first is included in the second and differs from it
  superset, ///< the first includes the second and differs from it (or may
            ///< equal it, where a comparison's contract says so)
  equal,
};

/// True if the first zone includes the second (`superset` or `equal`).
constexpr bool includes(Inclusion r) { return r == Inclusion::superset || r == Inclusion::equal; }
/// True if the first zone is included in the second (`subset` or `equal`).
constexpr bool includedIn(Inclusion r) { return r == Inclusion::subset || r == Inclusion::equal; }

/// Compares the closed matrices a and b over [from, to): `equal` if every
/// entry is equal, `subset` if no entry of a is larger than b's (and one is
/// smaller), `superset` in the mirrored case, `none` otherwise. Stops as soon
/// as both directions are decided.
template <class Bound>
inline Inclusion compareMatrices(const Bound* a, const Bound* b, std::size_t from, std::size_t to) {
  const std::size_t k = firstDifference(a, b, from, to);
  if (k == to)
    return Inclusion::equal;
  if (a[k] < b[k])
    return anyLess(b, a, k + 1, to) ? Inclusion::none : Inclusion::subset;
  return anyLess(a, b, k + 1, to) ? Inclusion::none : Inclusion::superset;
}

} // namespace orvela
