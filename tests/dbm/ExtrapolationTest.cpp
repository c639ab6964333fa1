#include "dbm/Extrapolation.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::Matrix;
using test::ZoneGenerator;

constexpr int32_t none = noClockBound;
/// The largest constant of the zones and bounds drawn here.
constexpr int top = 3;
/// The grid reaches past every constant and every difference of constants,
/// so that it meets every part that a zone's bounds tell apart.
constexpr int reach = 2 * top + 2;

/// A closed, non-empty zone over n clocks with constants within ±top, also
/// after the closure.
Matrix smallZone(ZoneGenerator& gen, unsigned n) {
  for (;;) {
    Matrix z = Matrix::unconstrained(n);
    for (int c = gen.uniform(0, int(2 * n)); c > 0; --c) {
      const unsigned i = unsigned(gen.uniform(0, int(n) - 1));
      const unsigned j = (i + unsigned(gen.uniform(1, int(n) - 1))) % n;
      z.tighten(i, j, gen.raw(gen.uniform(j == 0 ? 0 : -top, i == 0 ? 0 : top)));
    }
    z.close();
    bool small = !z.emptyAfterClose();
    for (int32_t raw : z.m)
      small = small && (raw == test::inf || std::abs(raw >> 1) <= top);
    if (small)
      return z;
  }
}

/// Bounds within [0, top], or none, per clock; 0 for the reference clock.
std::vector<int32_t> smallBounds(ZoneGenerator& gen, unsigned n) {
  std::vector<int32_t> bounds(n, 0);
  for (unsigned k = 1; k < n; ++k)
    bounds[k] = gen.uniform(0, 5) == 0 ? none : gen.uniform(0, top);
  return bounds;
}

/// Valuations v with every v(x) a multiple of 1/d, scaled by d.
using Point = std::vector<int>;

bool contains(const Matrix& z, const Point& v, int d) {
  for (unsigned i = 0; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j) {
      const int32_t raw = z.at(i, j);
      const long diff = long(v[i]) - v[j], bound = long(raw >> 1) * d;
      if (raw != test::inf && (diff > bound || (diff == bound && (raw & 1) == 0)))
        return false;
    }
  return true;
}

/// v ∈ aLU(z), from the definition: the valuations that may simulate v form
/// one interval per clock (down to L, exclusive, if v(x) > L; up to infinity
/// if v(x) > U; v(x) itself always), so v is in aLU(z) when z meets that box.
bool inALU(const Matrix& z, const Point& v, int d, const std::vector<int32_t>& lower,
           const std::vector<int32_t>& upper) {
  Matrix scaled = z;
  for (int32_t& raw : scaled.m)
    if (raw != test::inf)
      raw = 2 * (raw >> 1) * d + (raw & 1);
  for (unsigned x = 1; x < z.n; ++x) {
    if (lower[x] == none || v[x] > lower[x] * d)
      scaled.tighten(0, x, lower[x] == none ? 1 : 2 * -lower[x] * d);
    else
      scaled.tighten(0, x, 2 * -v[x] + 1);
    if (upper[x] != none && v[x] <= upper[x] * d)
      scaled.tighten(x, 0, 2 * v[x] + 1);
  }
  scaled.close();
  return !scaled.emptyAfterClose();
}

/// Calls `visit` on every point of a grid fine enough to meet every region of
/// the constants up to `reach` (fractional parts in steps of 1/n).
template <class Visit> void forGrid(unsigned n, Visit&& visit) {
  const int d = int(n);
  Point v(n, 0);
  for (;;) {
    visit(v, d);
    unsigned k = 1;
    while (k < n && v[k] == reach * d)
      v[k++] = 0;
    if (k == n)
      return;
    ++v[k];
  }
}

/// z ⊆ aLU(zPrime), point by point.
bool referenceIncluded(const Matrix& z, const Matrix& zPrime, const std::vector<int32_t>& lower,
                       const std::vector<int32_t>& upper) {
  bool included = true;
  forGrid(z.n, [&](const Point& v, int d) {
    included = included && (!contains(z, v, d) || inALU(zPrime, v, d, lower, upper));
  });
  return included;
}

TEST(Extrapolation, InclusionInALUMatchesTheDefinitionOnRandomZones) {
  ZoneGenerator gen(2024);
  int answers[2] = {0, 0};
  for (int round = 0; round < 400; ++round) {
    const unsigned n = round % 4 == 0 ? 4 : unsigned(gen.uniform(2, 3));
    const Matrix zPrime = smallZone(gen, n);
    Matrix z = gen.coin() ? smallZone(gen, n) : zPrime;
    if (gen.coin()) { // near zPrime: one bound moved
      const unsigned i = unsigned(gen.uniform(0, int(n) - 1)), j = (i + 1) % n;
      z.at(i, j) = gen.raw(gen.uniform(j == 0 ? 0 : -top, i == 0 ? 0 : top));
      z.close();
      if (z.emptyAfterClose())
        continue;
    }
    const std::vector<int32_t> lower = smallBounds(gen, n), upper = smallBounds(gen, n);
    const bool expected = referenceIncluded(z, zPrime, lower, upper);
    ++answers[expected];
    ASSERT_EQ(includedInALU(z.m.data(), zPrime.m.data(), n, lower.data(), upper.data()), expected)
        << "round " << round;
  }
  EXPECT_GT(answers[0], 40);
  EXPECT_GT(answers[1], 40);
}

TEST(Extrapolation, ExtraLUWidensAZoneWithinItsALU) {
  ZoneGenerator gen(7);
  int changed = 0;
  for (int round = 0; round < 300; ++round) {
    const unsigned n = round % 4 == 0 ? 4 : unsigned(gen.uniform(2, 3));
    const Matrix z = smallZone(gen, n);
    const std::vector<int32_t> lower = smallBounds(gen, n), upper = smallBounds(gen, n);
    Matrix widened = z;
    changed += extrapolateLU(widened.m.data(), n, lower.data(), upper.data());
    Matrix closed = widened;
    closed.close();
    ASSERT_EQ(closed.m, widened.m) << "round " << round;
    ASSERT_TRUE(includedIn(test::referenceInclusion(z, widened))) << "round " << round;
    ASSERT_TRUE(referenceIncluded(widened, z, lower, upper)) << "round " << round;
  }
  EXPECT_GT(changed, 100);
}

// With L = U = M, Extra+LU is the maximal-constant widening wherever no lower
// bound lies beyond M, and coarser elsewhere.
TEST(Extrapolation, ExtraLUWithEqualBoundsIsTheMaximalConstantWidening) {
  ZoneGenerator gen(99);
  int equal = 0;
  for (int round = 0; round < 300; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 5));
    const Matrix z = smallZone(gen, n);
    std::vector<int32_t> max = smallBounds(gen, n);
    for (int32_t& m : max)
      m = m == none ? 0 : m;
    Matrix widened = z, today = z;
    extrapolateLU(widened.m.data(), n, max.data(), max.data());
    test::extrapolate(today, max, 1);
    today.close();
    bool lowWithinMax = true;
    for (unsigned k = 1; k < n; ++k)
      lowWithinMax = lowWithinMax && -(z.at(0, k) >> 1) <= max[k];
    if (lowWithinMax) {
      ASSERT_EQ(widened.m, today.m) << "round " << round;
      ++equal;
    } else {
      ASSERT_TRUE(includedIn(test::referenceInclusion(today, widened))) << "round " << round;
    }
  }
  EXPECT_GT(equal, 100);
}

} // namespace
} // namespace orvela
