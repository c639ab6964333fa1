#include "dbm/dbm.h"
#include "dbm/DbmInternal.h"
#include "dbm/Hash.h"

#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvela {
namespace {

using test::inf;
using test::Matrix;
using test::ZoneGenerator;

/// A DBM in memory of exactly dbm_sizeof(n) bytes.
class Dbm {
public:
  explicit Dbm(unsigned n) : memory_((dbm_sizeof(n) + 3) / 4), d_(dbm_reserve(memory_.data(), n)) {}
  Dbm(const Dbm&) = delete;
  Dbm& operator=(const Dbm&) = delete;
  operator _dbm_*() const { return d_; }

private:
  std::vector<uint32_t> memory_;
  _dbm_* d_;
};

/// Writes a closed matrix into a DBM without going through any closure.
void load(_dbm_* d, const Matrix& z) {
  dbm_init(d);
  for (unsigned i = 0; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j)
      dbm_fast_set(d, i, j, z.at(i, j));
}

Matrix read(const _dbm_* d) {
  Matrix z(dbm_get_size(d));
  for (unsigned i = 0; i < z.n; ++i)
    for (unsigned j = 0; j < z.n; ++j)
      z.at(i, j) = dbm_get_bound(d, i, j);
  return z;
}

/// Off-diagonal entries only: closures of matrices with an infinite diagonal
/// may leave cycle weights there.
void expectSameOffDiagonal(const Matrix& expected, const Matrix& actual) {
  for (unsigned i = 0; i < expected.n; ++i)
    for (unsigned j = 0; j < expected.n; ++j)
      if (i != j) {
        ASSERT_EQ(expected.at(i, j), actual.at(i, j)) << "entry (" << i << ", " << j << ")";
      }
}

constexpr int iterations = 400;

// ---------------------------------------------------------------- closure

// Random intervals on blank or unconstrained matrices, closed now and then
// in between, against Floyd–Warshall: the one closure engine of DBMs and
// regions.
TEST(DbmClosure, IntervalsCloseLikeFloydWarshall) {
  ZoneGenerator gen(14);
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 8));
    Dbm d(n);
    const bool blank = gen.coin();
    if (blank)
      dbm_blank(d);
    else
      dbm_init(d);
    Matrix expected = blank ? Matrix(n) : Matrix::unconstrained(n);
    const int count = gen.uniform(1, int(2 * n));
    for (int c = 0; c < count; ++c) {
      auto [i, j, upper] = gen.constraint(n);
      int32_t lower = gen.uniform(0, 3) == 0 ? DBM_MINUS_INFINITY : upper - 2 * gen.uniform(0, 6);
      if (gen.uniform(0, 3) == 0)
        upper = DBM_INFINITY;
      dbm_tighten_interval(d, i, j, lower, upper);
      expected.tighten(i, j, upper);
      if (lower != DBM_MINUS_INFINITY)
        expected.tighten(j, i, (-(lower & ~1) | (lower & 1)) ^ 1);
      if (gen.coin()) // diagram traversal closes after every level
        dbm_close(d);
    }
    expected.close();
    const bool empty = expected.emptyAfterClose();
    ASSERT_EQ(dbm_is_empty(d), empty) << "round " << round;
    if (!empty) {
      dbm_close(d);
      expectSameOffDiagonal(expected, read(d));
    }
  }
}

TEST(DbmClosure, RecordBeyondTheFirstWordStaysInsideTheBlock) {
  // Dimensions whose touched-clock set spans several words; the sanitizer
  // build checks that the record fits the block dbm_sizeof describes.
  ZoneGenerator gen(15);
  for (unsigned n : {32u, 33u, 64u, 65u}) {
    Matrix expected = Matrix::unconstrained(n);
    Dbm d(n);
    dbm_init(d);
    for (unsigned k = 1; k < n; k += 7) {
      const int32_t upper = 2 * gen.uniform(1, 30) + 1;
      dbm_tighten_bound(d, k, 0, upper);
      dbm_tighten_bound(d, n - 1, k, upper);
      expected.tighten(k, 0, upper);
      expected.tighten(n - 1, k, upper);
    }
    EXPECT_NE(dbm::touched(d)[(n - 1) / 32] & (1u << ((n - 1) % 32)), 0u);
    expected.close();
    dbm_close(d);
    ASSERT_EQ(read(d).m, expected.m) << "dimension " << n;
  }
  EXPECT_EQ(dbm_sizeof(32), (32u * 32u) * 4 + 8);
  EXPECT_EQ(dbm_sizeof(33), (33u * 33u + 1) * 4 + 8);
}

// Constants up to the limit, where sums of bounds may leave the range of raw
// bounds, against the exact shortest paths (64 bits) of the same
// constraints. Where every exact bound lies within the range, the closure
// and the minimal constraints are exact; elsewhere a stored or rebuilt bound
// may be looser than the exact one, never tighter: a zone with valuations
// keeps them all.
TEST(DbmClosure, SumsBeyondTheLimitSaturateWithoutCuttingTheZone) {
  constexpr int L = maximalClockConstant;
  constexpr int64_t unbounded = INT64_MAX;
  const auto exactAdd = [](int64_t a, int64_t b) {
    return a == unbounded || b == unbounded ? unbounded : (a & ~1) + (b & ~1) + (a & b & 1);
  };
  const auto widened = [](int32_t raw) { return raw == inf ? unbounded : int64_t(raw); };
  ZoneGenerator gen(16);
  int exactZones = 0, saturatedZones = 0;
  for (int round = 0; round < iterations; ++round) {
    SCOPED_TRACE(round);
    const unsigned n = unsigned(gen.uniform(2, 6));
    Dbm d(n);
    dbm_init(d);
    std::vector<int64_t> exact(std::size_t(n) * n, unbounded);
    for (unsigned k = 0; k < n; ++k)
      exact[k] = exact[k * n + k] = 1;
    for (int c = gen.uniform(1, int(2 * n)); c > 0; --c) {
      const auto [i, j, small] = gen.constraint(n);
      // Upper bounds positive, lower bounds negative, differences either way.
      const int magnitude = gen.coin() ? L - gen.uniform(0, 2) : gen.uniform(0, L);
      const bool negative = i == 0 || (j != 0 && small < 0);
      const int32_t raw = rawBound(negative ? -magnitude : magnitude, gen.coin());
      dbm_tighten_bound(d, i, j, raw);
      exact[i * n + j] = std::min<int64_t>(exact[i * n + j], raw);
    }
    for (unsigned k = 0; k < n; ++k)
      for (unsigned i = 0; i < n; ++i)
        for (unsigned j = 0; j < n; ++j)
          exact[i * n + j] =
              std::min(exact[i * n + j], exactAdd(exact[i * n + k], exact[k * n + j]));
    bool empty = false, inRange = true;
    for (unsigned k = 0; k < n; ++k)
      empty |= exact[k * n + k] < 1;
    for (int64_t bound : exact)
      inRange &= bound == unbounded || (bound >= rawLowestBound && bound < rawInfiniteFrom);
    if (empty)
      continue; // saturation may hide a cycle beyond the limit
    ASSERT_FALSE(dbm_is_empty(d));
    dbm_close(d);
    const Matrix closed = read(d);
    std::vector<int32_t> keep(closed.m.size());
    dbm_min(d, keep.data());
    Dbm rebuilt(n);
    dbm_init(rebuilt);
    for (std::size_t k = 0; k < keep.size(); ++k)
      if (keep[k])
        dbm_tighten_bound(rebuilt, unsigned(k / n), unsigned(k % n), closed.m[k]);
    dbm_close(rebuilt);
    if (inRange) {
      ++exactZones;
      for (std::size_t k = 0; k < closed.m.size(); ++k)
        ASSERT_EQ(widened(closed.m[k]), exact[k]) << "entry " << k;
      ASSERT_EQ(read(rebuilt).m, closed.m);
      continue;
    }
    ++saturatedZones;
    for (std::size_t k = 0; k < closed.m.size(); ++k) {
      ASSERT_TRUE(closed.m[k] == inf || closed.m[k] >= rawLowestBound) << "entry " << k;
      ASSERT_GE(widened(closed.m[k]), exact[k]) << "entry " << k;
      ASSERT_GE(widened(dbm_get_bound(rebuilt, unsigned(k / n), unsigned(k % n))), exact[k])
          << "entry " << k;
    }
  }
  EXPECT_GT(exactZones, iterations / 4);
  EXPECT_GT(saturatedZones, iterations / 20);
}

// ------------------------------------------------------ minimal constraints

/// The closure of the marked entries alone (diagonal <= 0, the rest free).
Matrix rebuild(const Matrix& zone, const std::vector<int32_t>& keep) {
  Matrix z(zone.n);
  for (unsigned k = 0; k < zone.n; ++k)
    z.at(k, k) = 1;
  for (std::size_t k = 0; k < keep.size(); ++k)
    if (keep[k])
      z.m[k] = zone.m[k];
  z.close();
  return z;
}

TEST(DbmMin, KeptEntriesRebuildTheZoneAndNoneOfThemIsSuperfluous) {
  ZoneGenerator gen(51);
  int withClasses = 0;
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(1, 8));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    Dbm d(n);
    load(d, zone);
    std::vector<int32_t> keep(std::size_t(n) * n, 7);
    dbm_min(d, keep.data());
    for (int32_t mark : keep)
      ASSERT_TRUE(mark == 0 || mark == 1);
    ASSERT_EQ(rebuild(zone, keep).m, zone.m) << "round " << round;
    for (std::size_t k = 0; k < keep.size(); ++k) {
      if (!keep[k])
        continue;
      std::vector<int32_t> fewer = keep;
      fewer[k] = 0;
      ASSERT_NE(rebuild(zone, fewer).m, zone.m) << "round " << round << ", entry " << k;
    }
    bool classFound = false;
    for (unsigned i = 0; i < n; ++i)
      for (unsigned j = i + 1; j < n; ++j)
        classFound |= (zone.at(i, j) >> 1) + (zone.at(j, i) >> 1) == 0;
    withClasses += classFound;
  }
  EXPECT_GT(withClasses, iterations / 10);
}

} // namespace
} // namespace orvela
