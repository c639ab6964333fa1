#include "symbolic/PackedRegion.h"

#include "base/Exceptions.h"
#include "cddlib/cdd.h"
#include "dbm/dbm.h"
#include "model/ModelTables.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/PackData.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/UnpackedRegion.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>

namespace orvela {
namespace {

using test::inf;
using test::matrixOf;
using test::regionOf;
using OwnedUnpacked = test::OwnedRegion<UnpackedRegion>;
using OwnedPacked = PackedRegion::Owned;
using test::Matrix;
using test::ZoneGenerator;

constexpr int iterations = 300;

/// The zone of `packed`, unpacked into a fresh region.
OwnedUnpacked unpack(const PackedRegion& packed) {
  OwnedUnpacked region(UnpackedRegion::create(int(packed.getDim()), false));
  packed.unpackTo(region.get());
  return region;
}

/// The packed form of `data` in a heap block of exactly its size.
OwnedPacked create(const PackData& data) {
  return OwnedPacked(PackedRegion::create(&data, ::operator new(PackedRegion::sizeOf(&data))));
}

// ----------------------------------------------------------- round trips

TEST(PackedRegionPacking, UnpackingGivesBackTheClosedMatrixExactly) {
  ZoneGenerator gen(201);
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(1, 12));
    const Matrix zone = gen.closedZone(n, int(2 * n));
    const OwnedUnpacked region = regionOf(zone);
    PackData data;
    region->pack(&data);
    EXPECT_EQ(data.dim, n);
    EXPECT_EQ(data.matrix, region->bounds());
    unsigned marked = 0;
    for (unsigned k = 0; k < n * n; ++k) {
      ASSERT_LE(data.keep[k], 1);
      marked += data.keep[k];
      if (k < n && k > 0 && data.keep[k]) { // x >= 0 is never kept
        EXPECT_NE(zone.m[k], 1);
      }
    }
    ASSERT_EQ(data.count, marked);

    const OwnedPacked packed = create(data);
    EXPECT_EQ(packed->keptCount(), data.count);
    EXPECT_EQ(packed->bytes(), PackedRegion::sizeOf(&data));
    for (unsigned k = 0; k < n * n; ++k)
      ASSERT_EQ(packed->isKept(k), data.keep[k] == 1) << "entry " << k;
    const OwnedUnpacked unpacked = unpack(*packed);
    EXPECT_TRUE(unpacked->isClosed());
    ASSERT_EQ(matrixOf(unpacked.get()).m, zone.m) << "round " << round;
    ASSERT_EQ(matrixOf(unpack(*PackedRegion::pack(*region)).get()).m, zone.m) << round;
  }
}

// --------------------------------------------------------------- relation

TEST(PackedRegionRelation, AgreesWithTheUnpackedRelation) {
  ZoneGenerator gen(211);
  std::set<Inclusion> seen;
  for (int round = 0; round < 2 * iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const auto [a, b] = gen.relatedZones(n);
    const OwnedUnpacked unpackedA = regionOf(a), unpackedB = regionOf(b);
    const OwnedPacked packedA = PackedRegion::pack(*unpackedA);
    const Inclusion expected = unpackedA->relation(unpackedB.get());
    seen.insert(expected);
    // The quick test cannot tell equality from inclusion: both answer superset.
    ASSERT_EQ(packedA->relation(unpackedB.get()),
              expected == Inclusion::equal ? Inclusion::superset : expected)
        << "round " << round;
  }
  EXPECT_EQ(seen, (std::set<Inclusion>{Inclusion::none, Inclusion::subset, Inclusion::superset,
                                       Inclusion::equal}));
}

TEST(PackedRegionRelation, QuickTestFindsInclusionWithoutUnpacking) {
  ZoneGenerator gen(212);
  int included = 0;
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const Matrix outer = gen.closedZone(n, int(2 * n));
    const Matrix inner = gen.subZone(outer);
    included += inner.m != outer.m;
    const OwnedPacked packed = PackedRegion::pack(*regionOf(outer));
    ASSERT_TRUE(packed->keptConstraintsHold(*regionOf(inner))) << round;
    ASSERT_TRUE(packed->keptConstraintsHold(*regionOf(outer))) << round;
  }
  EXPECT_GT(included, iterations / 2);
  // A failed quick test unpacks.
  OwnedUnpacked small(UnpackedRegion::create(2, true)), large(UnpackedRegion::create(2, true));
  small->tighten(1, 0, 3, false);
  small->close();
  const OwnedPacked packed = PackedRegion::pack(*small);
  EXPECT_FALSE(packed->keptConstraintsHold(*large));
  EXPECT_EQ(packed->relation(large.get()), Inclusion::subset);
}

} // namespace
} // namespace orvela
