#pragma once
// Brute-force reference for the DBM and region tests: plain matrices of raw
// bounds, a full Floyd–Warshall closure and random closed zones.

#include "dbm/RawBound.h"

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace orvela::test {

constexpr int32_t inf = 0x7fffffff;

/// Raw sum written from the definition (constants add, strict if either is).
inline int32_t referenceAdd(int32_t a, int32_t b) {
  if (a == inf || b == inf)
    return inf;
  const int64_t constant = int64_t(a >> 1) + (b >> 1);
  const bool strict = (a & 1) == 0 || (b & 1) == 0;
  return static_cast<int32_t>(2 * constant + (strict ? 0 : 1));
}

/// An n×n matrix of raw bounds, row-major.
struct Matrix {
  unsigned n;
  std::vector<int32_t> m;

  explicit Matrix(unsigned dim, int32_t fill = inf) : n(dim), m(std::size_t(dim) * dim, fill) {}
  int32_t& at(unsigned i, unsigned j) { return m[i * n + j]; }
  int32_t at(unsigned i, unsigned j) const { return m[i * n + j]; }

  /// Every clock non-negative and unbounded.
  static Matrix unconstrained(unsigned dim) {
    Matrix z(dim);
    for (unsigned k = 0; k < dim; ++k) {
      z.at(0, k) = 1;
      z.at(k, k) = 1;
    }
    return z;
  }

  void tighten(unsigned i, unsigned j, int32_t raw) {
    if (raw < at(i, j))
      at(i, j) = raw;
  }

  /// Full Floyd–Warshall over every pivot, diagonal included.
  void close() {
    for (unsigned k = 0; k < n; ++k)
      for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j < n; ++j) {
          const int32_t via = referenceAdd(at(i, k), at(k, j));
          if (via < at(i, j))
            at(i, j) = via;
        }
  }

  /// After close(): a negative cycle shows on the diagonal.
  bool emptyAfterClose() const {
    for (unsigned k = 0; k < n; ++k)
      if (at(k, k) < 1)
        return true;
    return false;
  }

  /// Every constraint between clock x and the others dropped, not closed.
  Matrix inactivated(unsigned x) const {
    Matrix z = *this;
    for (unsigned k = 0; k < n; ++k)
      if (k != x)
        z.at(x, k) = z.at(k, x) = inf;
    return z;
  }
  /// Clock x forgotten except x >= 0, closed.
  Matrix freed(unsigned x) const {
    Matrix z = inactivated(x);
    z.at(0, x) = 1;
    z.close();
    return z;
  }
  /// Clock x forgotten, then x == value, closed.
  Matrix resetTo(unsigned x, int value) const {
    Matrix z = freed(x);
    z.tighten(x, 0, 2 * value + 1);
    z.tighten(0, x, 1 - 2 * value);
    z.close();
    return z;
  }
  /// No upper bound on any clock (the future), closed.
  Matrix delayed() const {
    Matrix z = *this;
    for (unsigned k = 1; k < n; ++k)
      z.at(k, 0) = inf;
    z.close();
    return z;
  }
  /// No lower bound beyond x >= 0 (the past), closed.
  Matrix past() const {
    Matrix z = *this;
    for (unsigned k = 1; k < n; ++k)
      z.at(0, k) = 1;
    z.close();
    return z;
  }
  /// `combine` applied entry by entry (min: intersection, max: hull), closed.
  template <class Combine> static Matrix entrywise(const Matrix& a, const Matrix& b, Combine f) {
    Matrix z(a.n);
    for (std::size_t k = 0; k < a.m.size(); ++k)
      z.m[k] = f(a.m[k], b.m[k]);
    z.close();
    return z;
  }
};

/// Inclusion of the closed matrix a in b (same dimension), entry by entry.
inline Inclusion referenceInclusion(const Matrix& a, const Matrix& b) {
  bool aInB = true, bInA = true;
  for (std::size_t k = 0; k < a.m.size(); ++k) {
    aInB &= a.m[k] <= b.m[k];
    bInA &= a.m[k] >= b.m[k];
  }
  return aInB && bInA ? Inclusion::equal
         : aInB       ? Inclusion::subset
         : bInA       ? Inclusion::superset
                      : Inclusion::none;
}

/// Maximal-constant extrapolation of the rows from `firstRow` on, written from
/// its definition: a bound looser than <= max[i] (a larger constant, whatever
/// the strictness) is removed, a bound tighter than < -max[j] (a smaller
/// constant) becomes < -max[j]. Answers whether an entry changed; the matrix
/// is not closed again.
template <class Max> bool extrapolate(Matrix& z, const Max& max, unsigned firstRow) {
  bool changed = false;
  for (unsigned i = firstRow; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j) {
      int32_t& e = z.at(i, j);
      if (e == inf)
        continue;
      if ((e >> 1) > max[i])
        e = inf, changed = true;
      else if ((e >> 1) < -max[j])
        e = -2 * max[j], changed = true;
    }
  return changed;
}

/// Random constraints for zones whose constants stay within ±`range`.
class ZoneGenerator {
public:
  explicit ZoneGenerator(uint32_t seed) : random_(seed) {}

  int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool coin() { return uniform(0, 1) == 1; }

  int32_t raw(int constant) { return 2 * constant + (coin() ? 1 : 0); }

  /// x_i - x_j bounded by the raw bound `raw`.
  struct Bound {
    unsigned i, j;
    int32_t raw;
  };
  /// A random constraint with i != j (n >= 2), shaped like the guards of a
  /// model: upper bounds, lower bounds and differences.
  Bound constraint(unsigned n) {
    Bound b;
    b.i = unsigned(uniform(0, int(n) - 1));
    do
      b.j = unsigned(uniform(0, int(n) - 1));
    while (b.j == b.i);
    const int low = b.j == 0 ? 0 : b.i == 0 ? -2 * range : -range;
    const int high = b.j == 0 ? 2 * range : b.i == 0 ? 0 : range;
    b.raw = raw(uniform(low, high));
    return b;
  }

  /// A closed, non-empty zone over n clocks with up to `constraints`
  /// constraints; some pairs of clocks are made equal up to a constant so that
  /// equality classes occur.
  Matrix closedZone(unsigned n, int constraints) {
    for (;;) {
      Matrix z = Matrix::unconstrained(n);
      const int count = n < 2 ? 0 : uniform(0, constraints);
      for (int c = 0; c < count; ++c) {
        const Bound b = constraint(n);
        z.tighten(b.i, b.j, b.raw);
        if (uniform(0, 5) == 0) // fix the difference exactly
          z.tighten(b.j, b.i, 2 * -(b.raw >> 1) + 1), z.tighten(b.i, b.j, b.raw | 1);
      }
      z.close();
      if (!z.emptyAfterClose())
        return z;
    }
  }

  /// `z` with one more random bound, closed; `z` itself if that empties it.
  Matrix subZone(const Matrix& z) {
    Matrix sub = z;
    const Bound b = constraint(z.n);
    sub.tighten(b.i, b.j, b.raw);
    sub.close();
    return sub.emptyAfterClose() ? z : sub;
  }

  /// Two closed zones over n clocks, in random order: equal, one inside the
  /// other, or drawn independently.
  std::pair<Matrix, Matrix> relatedZones(unsigned n) {
    Matrix a = closedZone(n, int(2 * n));
    const int shape = uniform(0, 3);
    Matrix b = shape == 0 ? a : shape == 1 ? closedZone(n, int(2 * n)) : subZone(a);
    if (coin())
      std::swap(a, b);
    return {a, b};
  }

  /// A maximal constant per clock, around the constants of the zones.
  std::vector<int32_t> maxConstants(unsigned n) {
    std::vector<int32_t> max(n);
    for (auto& m : max)
      m = uniform(0, range + 4);
    return max;
  }

  static constexpr int range = 10;

private:
  std::mt19937 random_;
};

} // namespace orvela::test
