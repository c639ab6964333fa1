#include "symbolic/UnpackedRegion.h"

#include "cddlib/cdd.h"
#include "dbm/dbm.h"
#include "model/ModelTables.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

namespace orvela {
namespace {

using test::inf;
using test::Matrix;
using test::matrixOf;
using test::regionOf;
using test::ZoneGenerator;
using OwnedUnpacked = test::OwnedRegion<UnpackedRegion>;

constexpr int iterations = 300;

/// The reference clock and clocks named `names`.
std::vector<ClockInfo> nameClocks(std::initializer_list<const char*> names) {
  ModelTables tables;
  for (const char* name : names)
    tables.addClock(name);
  return tables.clocks;
}

// ---------------------------------------------------------------- closure

// The closure over the touched clocks, and the full closure of the same
// matrix written directly (nothing touched, so close() leaves it alone).
TEST(UnpackedRegionClosure, TouchedAndFullClosuresCloseLikeFloydWarshall) {
  ZoneGenerator gen(101);
  int emptied = 0;
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 10));
    Matrix expected = gen.closedZone(n, int(n));
    OwnedUnpacked region = regionOf(expected);
    bool cycleSeen = false;
    const int count = gen.uniform(1, int(n) + 2);
    for (int c = 0; c < count; ++c) {
      const auto b = gen.constraint(n);
      cycleSeen |= !region->tightenRaw(int(b.i), int(b.j), b.raw);
      expected.tighten(b.i, b.j, b.raw);
    }
    OwnedUnpacked untouched = regionOf(expected);
    untouched->close();
    EXPECT_EQ(matrixOf(untouched.get()).m, expected.m);
    expected.close();
    region->close();
    untouched->expensiveClose();
    EXPECT_TRUE(region->isClosed());
    ASSERT_EQ(region->isEmpty(), expected.emptyAfterClose()) << "round " << round;
    ASSERT_EQ(untouched->isEmpty(), expected.emptyAfterClose()) << "round " << round;
    if (cycleSeen) { // a failed tightening always means an empty zone
      EXPECT_TRUE(region->isEmpty());
    }
    if (expected.emptyAfterClose()) {
      ++emptied;
      continue;
    }
    ASSERT_EQ(matrixOf(region.get()).m, expected.m) << "round " << round;
    ASSERT_EQ(matrixOf(untouched.get()).m, expected.m) << "round " << round;
  }
  EXPECT_GT(emptied, iterations / 20);
}

TEST(UnpackedRegionClosure, EmptyZoneStaysEmptyThroughAFullClosure) {
  // Every clock below every other: relaxing such a matrix pivot after pivot
  // doubles its bounds each time, far beyond the 32-bit range within 64
  // pivots; no sum may wrap around into a bound that looks consistent.
  const unsigned n = 64;
  OwnedUnpacked region(UnpackedRegion::create(int(n), true));
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j)
      if (i != j)
        region->set(i, j, -1);
  region->expensiveClose();
  EXPECT_TRUE(region->isEmpty());
  for (unsigned k = 1; k < n; ++k)
    region->touch(k);
  region->close();
  EXPECT_TRUE(region->isEmpty());
  EXPECT_TRUE(region->isClosed());
}

TEST(UnpackedRegionClosure, TighteningAnswersTheCycleTest) {
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  EXPECT_TRUE(region->tighten(1, 2, 3, false)); // x2 - x1 unbounded
  EXPECT_TRUE(region->isTouched(1) && region->isTouched(2) && !region->isTouched(0));
  EXPECT_EQ(region->get(1, 2), 7);
  EXPECT_TRUE(region->tighten(2, 1, -3, false)); // x1 - x2 = 3 exactly
  EXPECT_FALSE(region->tighten(2, 1, -3, true)); // x2 - x1 < -3 contradicts
  region->close();
  EXPECT_TRUE(region->isEmpty());

  OwnedUnpacked other(UnpackedRegion::create(3, true));
  EXPECT_TRUE(other->tightenRaw(1, 0, 9));
  EXPECT_TRUE(other->tightenRaw(1, 0, 11)); // looser: ignored
  EXPECT_EQ(other->get(1, 0), 9);
  other->close();
  // The strict form of infinity constrains nothing and never enters a sum.
  EXPECT_TRUE(other->tightenRaw(2, 0, Zone::infinity));
  EXPECT_EQ(other->get(2, 0), inf);
  EXPECT_TRUE(other->isClosed());
  other->set(2, 1, Zone::infinity);
  EXPECT_EQ(other->get(2, 1), inf);
  EXPECT_TRUE(other->tighten(Zone::Constraint{2, 1, 5}));
  EXPECT_EQ(other->get(2, 1), 5);
}

TEST(ZoneConstraint, OrderingIsByClockPairThenBound) {
  // Constraints on the same pair with different bounds are distinct elements.
  const std::set<Zone::Constraint> constraints = {{2, 1, 5},  {1, 2, 4}, {1, 2, -3},
                                                  {0, 2, -1}, {1, 2, 4}, {2, 0, 7}};
  const std::vector<Zone::Constraint> expected = {
      {0, 2, -1}, {1, 2, -3}, {1, 2, 4}, {2, 0, 7}, {2, 1, 5}};
  EXPECT_EQ(std::vector<Zone::Constraint>(constraints.begin(), constraints.end()), expected);
}

// --------------------------------------------------------------- relation

TEST(UnpackedRegionRelation, MatchesInclusionOfTheClosedMatrices) {
  ZoneGenerator gen(111);
  std::set<Inclusion> seen;
  for (int round = 0; round < 3 * iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const auto [a, b] = gen.relatedZones(n);
    const Inclusion expected = test::referenceInclusion(a, b);
    seen.insert(expected);
    ASSERT_EQ(regionOf(a)->relation(regionOf(b).get()), expected) << "round " << round;
  }
  EXPECT_EQ(seen, (std::set<Inclusion>{Inclusion::none, Inclusion::subset, Inclusion::superset,
                                       Inclusion::equal}));
  OwnedUnpacked one(UnpackedRegion::create(1, true)), other(UnpackedRegion::create(1, true));
  EXPECT_EQ(one->relation(other.get()), Inclusion::equal);
}

// ------------------------------------------------------- clock operations

TEST(UnpackedRegionOperations, OffsetMatchesItsDefinition) {
  ZoneGenerator gen(121);
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 8));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    const unsigned x = unsigned(gen.uniform(1, int(n) - 1));
    const int d = gen.uniform(-8, 8);
    Matrix expected = zone;
    for (unsigned k = 0; k < n; ++k) {
      if (k == x)
        continue;
      if (expected.at(x, k) != inf)
        expected.at(x, k) += 2 * d;
      if (expected.at(k, x) != inf)
        expected.at(k, x) -= 2 * d;
    }
    if (expected.at(x, 0) < 1) { // x would be negative everywhere: clamp to 0
      expected.at(x, 0) = 1;
      expected.at(0, x) = std::min(expected.at(0, x), 1);
    }
    expected.at(0, x) = std::min(expected.at(0, x), 1);
    expected.close();
    OwnedUnpacked region = regionOf(zone);
    region->offset(x, d);
    EXPECT_TRUE(region->isClosed());
    ASSERT_EQ(matrixOf(region.get()).m, expected.m) << "round " << round << ", d " << d;
  }
}

// Reset, free, inactivate, delay, past, hull and intersection against the
// reference matrix operations.
TEST(UnpackedRegionOperations, ClockAndZoneOperationsMatchTheirDefinitions) {
  ZoneGenerator gen(122);
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 8));
    const Matrix a = gen.closedZone(n, int(2 * n)), b = gen.closedZone(n, int(2 * n));
    const unsigned x = unsigned(gen.uniform(1, int(n) - 1));
    const int value = gen.uniform(0, 15);
    const OwnedUnpacked other = regionOf(b);
    const Matrix meet =
        Matrix::entrywise(a, b, [](int32_t p, int32_t q) { return std::min(p, q); });
    const std::pair<const char*, std::function<Matrix(UnpackedRegion*)>> operations[] = {
        {"inactivate", [&](UnpackedRegion* r) { return r->inactivate(x), a.inactivated(x); }},
        {"free", [&](UnpackedRegion* r) { return r->free(x), a.freed(x); }},
        {"reset", [&](UnpackedRegion* r) { return r->reset(x, value), a.resetTo(x, value); }},
        {"delay",
         [&](UnpackedRegion* r) {
           r->delay();
           EXPECT_TRUE(r->isUnbounded());
           return a.delayed();
         }},
        {"past", [&](UnpackedRegion* r) { return r->past(), a.past(); }},
        {"hull",
         [&](UnpackedRegion* r) {
           r->convexHull(other.get());
           return Matrix::entrywise(a, b, [](int32_t p, int32_t q) { return std::max(p, q); });
         }},
        {"intersect",
         [&](UnpackedRegion* r) {
           EXPECT_EQ(r->intersect(other.get()), !meet.emptyAfterClose());
           return meet.emptyAfterClose() ? matrixOf(r) : meet;
         }},
    };
    for (const auto& [name, apply] : operations) {
      OwnedUnpacked region = regionOf(a);
      const Matrix expected = apply(region.get());
      ASSERT_EQ(matrixOf(region.get()).m, expected.m) << name << ", round " << round;
    }
  }
}

TEST(UnpackedRegionOperations, NormkMatchesTheExtrapolationRule) {
  ZoneGenerator gen(123);
  int changedCount = 0;
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 8));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    const std::vector<int32_t> generated = gen.maxConstants(n);
    const std::vector<int> max(generated.begin(), generated.end());
    Matrix expected = zone;
    const bool changed = test::extrapolate(expected, max, 1); // row 0 is left alone
    expected.close();
    changedCount += changed;
    OwnedUnpacked region = regionOf(zone);
    region->normk(max);
    EXPECT_TRUE(region->isClosed());
    ASSERT_EQ(matrixOf(region.get()).m, expected.m) << "round " << round;
  }
  EXPECT_GT(changedCount, iterations / 4);
}

TEST(UnpackedRegionOperations, HullWithAnEmptyRegionIsTheOther) {
  OwnedUnpacked empty(UnpackedRegion::create(2, true)), some(UnpackedRegion::create(2, true));
  empty->tighten(1, 0, 1, false);
  empty->tighten(0, 1, -2, false);
  some->tighten(1, 0, 4, true);
  some->close();
  const Matrix expected = matrixOf(some.get());
  empty->convexHull(some.get());
  EXPECT_EQ(matrixOf(empty.get()).m, expected.m);
  empty->tighten(1, 0, 1, false);
  empty->tighten(0, 1, -2, false);
  some->convexHull(empty.get());
  EXPECT_EQ(matrixOf(some.get()).m, expected.m);
}

TEST(UnpackedRegionOperations, HasPointsAnswersWhetherTheConstraintMeetsTheZone) {
  ZoneGenerator gen(125);
  int both[2] = {0, 0};
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 7));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    const auto b = gen.constraint(n);
    const Zone::Constraint c{b.i, b.j, b.raw};
    Matrix restricted = zone;
    restricted.tighten(c.i, c.j, c.value);
    restricted.close();
    const bool expected = !restricted.emptyAfterClose();
    ++both[expected];
    ASSERT_EQ(regionOf(zone)->hasPoints(c), expected) << "round " << round;
  }
  EXPECT_GT(both[0], 0);
  EXPECT_GT(both[1], 0);
  OwnedUnpacked region(UnpackedRegion::create(2, true));
  EXPECT_TRUE(region->hasPoints({0, 1, Zone::infinity}));
}

TEST(UnpackedRegionOperations, PossibleRestrictsAClockToAValue) {
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(1, 0, 5, false);
  region->tighten(2, 1, 0, false); // x2 <= x1
  region->close();
  EXPECT_TRUE(region->possible(1, 3));
  EXPECT_EQ(region->get(1, 0), 7);
  EXPECT_EQ(region->get(0, 1), -5);
  EXPECT_EQ(region->get(2, 0), 7); // propagated by the closure
  EXPECT_FALSE(region->possible(1, 4));
}

TEST(UnpackedRegionOperations, MicroDelayMakesUpperBoundsNonStrict) {
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(1, 0, 5, true); // x1 < 5
  region->tighten(2, 1, 0, false);
  region->close();
  ASSERT_EQ(region->get(2, 0), 10); // x2 < 5
  OwnedUnpacked delayed(region->microDelay());
  EXPECT_EQ(delayed->get(1, 0), 11);
  EXPECT_EQ(delayed->get(2, 0), 11);
  EXPECT_EQ(region->get(1, 0), 10); // the original is unchanged
  EXPECT_TRUE(delayed->isClosed());
}

TEST(UnpackedRegionOperations, ZeroRegionSetsEveryClockToZero) {
  OwnedUnpacked region(UnpackedRegion::create(3, false));
  region->zeroRegion();
  EXPECT_EQ(matrixOf(region.get()).m, std::vector<int32_t>(9, 1));
  EXPECT_TRUE(region->isClosed());
}

// ------------------------------------------------------ memory and copies

TEST(UnpackedRegionMemory, CallerMemoryIsNeverFreedAndCopiesAreIndependent) {
  static_assert(UnpackedRegion::sizeOf(3) % 2 == 0);
  alignas(8) int memory[UnpackedRegion::sizeOf(3)];
  UnpackedRegion* inPlace = UnpackedRegion::create(3, true, memory);
  EXPECT_EQ(static_cast<void*>(inPlace), static_cast<void*>(memory));
  inPlace->tighten(1, 0, 4, false);
  OwnedUnpacked copy(static_cast<UnpackedRegion*>(inPlace->copy()));
  EXPECT_TRUE(copy->isTouched(1)); // the touched set travels with the matrix
  copy->close();
  inPlace->tighten(2, 0, 1, false);
  EXPECT_EQ(copy->get(2, 0), inf);
  *inPlace = *copy;
  EXPECT_EQ(matrixOf(inPlace).m, matrixOf(copy.get()).m);
  EXPECT_TRUE(inPlace->isClosed());
  // Only the destructor runs: the sanitizer build would report a free of
  // stack memory.
  Region::remove(inPlace);
  Region::remove(nullptr);
}

TEST(UnpackedRegionMemory, AsDbmWritesEveryEntry) {
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(1, 2, -2, true);
  region->tighten(2, 0, 6, false);
  region->close();
  alignas(4) unsigned char memory[64];
  _dbm_* d = dbm_blank(dbm_reserve(memory, 3));
  EXPECT_EQ(region->asDBM(d), d);
  for (unsigned i = 0; i < 3; ++i)
    for (unsigned j = 0; j < 3; ++j)
      EXPECT_EQ(dbm_get_bound(d, i, j), region->get(i, j));
  EXPECT_FALSE(dbm_is_empty(d));
}

TEST(UnpackedRegionMemory, AsCddIsTheDiagramOfTheSameZone) {
  CddLibrary library(3, 8, 1000, 100);
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(1, 0, 5, false);
  region->tighten(1, 2, 3, true);
  region->set(2, 1, Zone::infinity); // the strict form of no bound
  region->close();
  alignas(4) unsigned char memory[64];
  _dbm_* d = dbm_init(dbm_reserve(memory, 3));
  dbm_tighten_bound(d, 1, 0, 11);
  dbm_tighten_bound(d, 1, 2, 6);
  {
    const cdd fromRegion = region->asCDD(library);
    const cdd fromDbm = library.fromDbm(d);
    EXPECT_EQ(fromRegion.get(), fromDbm.get());
    EXPECT_NE(fromRegion.get(), cddtrue);
    region->tighten(2, 0, 1, false);
    region->close();
    EXPECT_NE(region->asCDD(library).get(), fromDbm.get());
  }
}

// -------------------------------------------------------------- text forms

TEST(UnpackedRegionText, DisplayListsTheBoundsAndTheQueryFormWritesAConjunction) {
  const std::vector<ClockInfo> clocks = nameClocks({"x", "y"});
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  std::ostringstream unconstrained;
  region->display(unconstrained, clocks);
  EXPECT_EQ(unconstrained.str(), "");
  region->tighten(0, 1, -2, false); // x >= 2
  region->tighten(1, 0, 5, true);   // x < 5
  region->tighten(1, 2, 3, false);  // x - y <= 3
  region->close();
  std::ostringstream out;
  region->display(out, clocks);
  EXPECT_EQ(out.str(), "x>=2, x<5, x-y<=3");

  OwnedUnpacked other(UnpackedRegion::create(3, true));
  other->tighten(1, 0, 5, false);  // x <= 5
  other->tighten(1, 2, 3, false);  // x - y <= 3
  other->tighten(2, 1, -1, false); // y - x <= -1
  other->close();
  std::ostringstream query;
  other->displayAsQuery(query, clocks);
  // The closure adds y <= 4 and x >= 1.
  EXPECT_EQ(query.str(), " and x>=1 and x<=5 and x<=y+3 and y<=4 and y<=x-1");

  OwnedUnpacked strict(UnpackedRegion::create(3, true));
  strict->tighten(0, 1, 0, true); // x > 0 is kept, only x >= 0 goes
  strict->tighten(2, 1, 0, true); // y < x
  strict->tighten(1, 2, 1, true); // x < y + 1
  strict->close();
  std::ostringstream strictQuery;
  strict->displayAsQuery(strictQuery, clocks);
  EXPECT_EQ(strictQuery.str(), " and x>0 and x<y+1 and y<x");
}

} // namespace
} // namespace orvela
