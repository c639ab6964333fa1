#include "symbolic/UnpackedRegion.h"

#include "symbolic/PackedRegion.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
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

// ---------------------------------------------------------------- closure

// Random closures are checked against Floyd–Warshall through the DBM
// interface (DbmTest) and after every region operation below.
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

// Inclusion of random zones is checked through the states (GlobalStateTest).

// ------------------------------------------------------------------ packing

// A packed zone keeps the minimal constraints but never x >= 0, which
// unpacking restores by default; unpacking gives back the closed matrix.
TEST(UnpackedRegionPacking, UnpackingGivesBackTheClosedMatrixExactly) {
  ZoneGenerator gen(201);
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(1, 12));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    const PackedRegion::Owned packed = PackedRegion::pack(*regionOf(zone));
    for (unsigned j = 1; j < n; ++j)
      if (zone.m[j] == 1) {
        EXPECT_FALSE(packed->isKept(j)) << "round " << round << ", clock " << j;
      }
    OwnedUnpacked unpacked(UnpackedRegion::create(int(n), false));
    packed->unpackTo(unpacked.get());
    EXPECT_TRUE(unpacked->isClosed());
    ASSERT_EQ(matrixOf(unpacked.get()).m, zone.m) << "round " << round;
  }
}

// The packed list compares a new zone with a packed one without unpacking
// when the packed zone's kept constraints hold in it; either way the answer
// must be the unpacked zones' relation (the quick test answers superset for
// equal zones too).
TEST(UnpackedRegionPacking, PackedZonesRelateAsTheirUnpackedForms) {
  ZoneGenerator gen(211);
  std::set<Inclusion> seen;
  for (int round = 0; round < 2 * iterations; ++round) {
    const auto [a, b] = gen.relatedZones(unsigned(gen.uniform(2, 9)));
    const Inclusion expected = regionOf(a)->relation(regionOf(b).get());
    seen.insert(expected);
    ASSERT_EQ(PackedRegion::pack(*regionOf(a))->relation(regionOf(b).get()),
              expected == Inclusion::equal ? Inclusion::superset : expected)
        << "round " << round;
  }
  EXPECT_EQ(seen.size(), 4u);
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

} // namespace
} // namespace orvela
