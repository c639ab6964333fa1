#include "support/CddTestSupport.h"

#include <algorithm>

namespace cddtest {
namespace {

using CddReduceTest = CddFixture;

/// Reduces `d`, checks that no path of the result is empty and that the
/// reduction is idempotent, and answers the result.
cdd reduced(CddLibrary& lib, const cdd& d) {
  cdd r = lib.reduce(d);
  EXPECT_NE(r.get(), nullptr);
  EXPECT_EQ(emptyPaths(r, 4), 0);
  EXPECT_EQ(lib.reduce(r).get(), r.get());
  return r;
}

/// Unions, differences, intersections and exclusive ors of `count` random overlapping pairs
/// of zones, reduced and compared with the zones at random points.
void checkOverlappingPairs(CddLibrary& lib, std::mt19937& rng, int count) {
  int pairs = 0;
  while (pairs < count) {
    Zone a = randomZone(rng, 4, 6), b = randomZone(rng, 4, 6);
    Zone both = Zone(a).intersect(b);
    if (both.empty())
      continue; // only overlapping zones
    ++pairs;
    cdd da = a.diagram(lib), db = b.diagram(lib);
    cdd sum = da | db, diff = da - db, common = da & db, odd = da ^ db;
    cdd sumR = reduced(lib, sum), diffR = reduced(lib, diff), commonR = reduced(lib, common);
    for (int m = 0; m < 300; ++m) {
      Point x = randomPoint(rng, 4, 6);
      bool inA = a.contains(x), inB = b.contains(x);
      ASSERT_EQ(evalAt(sum, x), inA || inB);
      ASSERT_EQ(evalAt(sumR, x), inA || inB);
      ASSERT_EQ(evalAt(diff, x), inA && !inB);
      ASSERT_EQ(evalAt(diffR, x), inA && !inB);
      ASSERT_EQ(evalAt(commonR, x), both.contains(x));
      ASSERT_EQ(evalAt(odd, x), inA != inB);
    }
    EXPECT_NE(commonR.get(), cddfalse);
  }
}

TEST_F(CddReduceTest, UnionAndDifferenceOfOverlappingZonesPointwise) {
  std::mt19937 rng(31);
  checkOverlappingPairs(*lib, rng, 30);
}

TEST_F(CddReduceTest, ReductionSurvivesACollectionAtEveryAllocation) {
  state().collectOnEveryAllocation = true;
  std::mt19937 rng(37);
  checkOverlappingPairs(*lib, rng, 10);
  EXPECT_GT(state().gcCount, 100);
}

TEST_F(CddReduceTest, DifferenceReducesToFalseExactlyWhenIncluded) {
  std::mt19937 rng(43);
  int included = 0, notIncluded = 0;
  for (int k = 0; k < 60; ++k) {
    Zone a = randomZone(rng, 4, 6), b = randomZone(rng, 4, 6);
    if (k % 2) // a smaller zone inside b
      a.intersect(b);
    if (a.empty())
      continue;
    const auto relation = dbm_relation(a.dbm(), b.dbm());
    bool inside = relation == DBM_SUBSET || relation == DBM_EQUAL;
    (inside ? included : notIncluded)++;
    EXPECT_EQ(reduced(*lib, a.diagram(*lib) - b.diagram(*lib)).get() == cddfalse, inside)
        << "pair " << k;
  }
  EXPECT_GT(included, 10);
  EXPECT_GT(notIncluded, 10);
}

TEST_F(CddReduceTest, ZonesOfADiagramPartitionItWithinAZone) {
  std::mt19937 rng(61);
  for (int k = 0; k < 30; ++k) {
    cdd all = cddfalse;
    for (int m = 0; m < 3; ++m)
      all = all | randomZone(rng, 4, 6).diagram(*lib);
    if (k % 2)
      all = !all;
    const Zone within = randomZone(rng, 4, 6, 2);
    std::vector<Zone> pieces;
    ASSERT_EQ(lib->forEachZone(all, within.dbm(),
                               [&](_dbm_* piece) {
                                 pieces.emplace_back(4);
                                 dbm_copy(pieces.back().dbm(), piece);
                               }),
              0);
    for (int m = 0; m < 500; ++m) {
      const Point x = randomPoint(rng, 4, 6);
      const auto holding = std::count_if(pieces.begin(), pieces.end(),
                                         [&](const Zone& piece) { return piece.contains(x); });
      ASSERT_EQ(holding, evalAt(all, x) && within.contains(x) ? 1 : 0) << "diagram " << k;
    }
  }
}

TEST_F(CddReduceTest, PathsThroughContradictoryDifferencesAreRemoved) {
  // x1 <= 3 and x2 >= 5 and x2 - x1 <= 1 cannot hold together, but no single
  // level shows it.
  Zone a(4), b(4), c(4);
  a.constrain(1, 0, le(3));
  b.constrain(0, 2, le(-5));
  c.constrain(2, 1, le(1));
  cdd none = a.diagram(*lib) & b.diagram(*lib) & c.diagram(*lib);
  EXPECT_NE(none.get(), cddfalse);
  EXPECT_GT(emptyPaths(none, 4), 0);
  EXPECT_EQ(lib->reduce(none).get(), cddfalse);
  EXPECT_EQ(lib->reduce(!none).get(), cddtrue);
  EXPECT_EQ(lib->reduce(cddtrue).get(), cddtrue);
  EXPECT_EQ(lib->reduce(cddfalse).get(), cddfalse);
  EXPECT_EQ(lib->reduce(nullptr).get(), nullptr);
}

} // namespace
} // namespace cddtest
