#pragma once
// Arithmetic on raw clock bounds and the row kernels shared by the DBM library
// and the regions.
//
// A raw bound is one int32_t: twice the constant, plus one for a non-strict
// bound (x <= c is 2c + 1, x < c is 2c). A smaller raw bound is tighter.
// 0x7fffffff is the absence of a bound (infinity).

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

constexpr int32_t rawBound(int32_t constant, bool strict) {
  return constant * 2 + (strict ? 0 : 1);
}
constexpr int32_t rawConstant(int32_t raw) { return raw >> 1; }
constexpr bool rawIsStrict(int32_t raw) { return (raw & 1) == 0; }
/// True for both encodings of "no bound" (constant 0x3fffffff).
constexpr bool rawIsInfinite(int32_t raw) { return raw >= rawInfiniteFrom; }

/// Sum of two finite raw bounds: the constants add, and the sum is non-strict
/// only if both operands are. Added as unsigned words, like `relaxRow`: a sum
/// beyond the int32_t range wraps instead of being undefined.
constexpr int32_t rawAddFinite(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a & ~1) + static_cast<uint32_t>(b & ~1)) |
         (a & b & 1);
}

/// Sum of two raw bounds; infinity absorbs.
constexpr int32_t rawAdd(int32_t a, int32_t b) {
  return (a == rawInfinity || b == rawInfinity) ? rawInfinity : rawAddFinite(a, b);
}

/// True if the cycle with raw weight `sum` makes a zone empty (a negative
/// constant, or zero with a strict bound).
constexpr bool rawCycleIsNegative(int32_t sum) { return sum < rawLessEqualZero; }

/// True if the cycle through the finite raw bounds `a` and `b` makes a zone
/// empty. Summed in 64 bits: bounds that come from requests or properties may
/// lie near the limits of int32_t, where `rawAddFinite` would overflow.
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
/// alone. The two rows must not overlap. Written branch-free so that the
/// compiler vectorises it.
inline void relaxRow(int32_t* __restrict row, const int32_t* __restrict pivotRow, int32_t viaBound,
                     std::size_t n) {
  const uint32_t viaEven = static_cast<uint32_t>(viaBound & ~1);
  const int32_t viaBit = viaBound & 1;
  for (std::size_t j = 0; j < n; ++j) {
    const int32_t b = pivotRow[j];
    // Unsigned addition: the sum with an infinite entry may wrap, and is then
    // discarded by the select below.
    int32_t sum = static_cast<int32_t>(static_cast<uint32_t>(b & ~1) + viaEven) | (b & viaBit);
    sum = b == rawInfinity ? rawInfinity : sum;
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

/// Inclusion between two matrices compared entry by entry over [from, to).
enum class MatrixOrder { different, less, greater, equal };

/// Compares a and b over [from, to): `equal` if every entry is equal, `less`
/// if no entry of a is larger than b's (and one is smaller), `greater` in the
/// mirrored case, `different` otherwise. Stops as soon as both directions are
/// decided.
template <class Bound>
inline MatrixOrder compareMatrices(const Bound* a, const Bound* b, std::size_t from,
                                   std::size_t to) {
  const std::size_t k = firstDifference(a, b, from, to);
  if (k == to)
    return MatrixOrder::equal;
  if (a[k] < b[k])
    return anyLess(b, a, k + 1, to) ? MatrixOrder::different : MatrixOrder::less;
  return anyLess(a, b, k + 1, to) ? MatrixOrder::different : MatrixOrder::greater;
}

} // namespace orvela
