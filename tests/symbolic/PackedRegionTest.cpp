#include "symbolic/PackedRegion.h"

#include "symbolic/PackData.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/UnpackedRegion.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace orvela {
namespace {

using test::matrixOf;
using test::regionOf;
using OwnedUnpacked = test::OwnedRegion<UnpackedRegion>;
using OwnedPacked = test::OwnedRegion<PackedRegion>;
using test::Matrix;
using test::ZoneGenerator;

constexpr int iterations = 300;

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

    const OwnedPacked packed(PackedRegion::create(&data));
    EXPECT_EQ(packed->keptCount(), data.count);
    for (unsigned k = 0; k < n * n; ++k)
      ASSERT_EQ(packed->isKept(k), data.keep[k] == 1) << "entry " << k;
    const OwnedUnpacked unpacked(packed->unpack());
    EXPECT_TRUE(unpacked->isClosed());
    ASSERT_EQ(matrixOf(unpacked.get()).m, zone.m) << "round " << round;

    // The same through the virtual pack() and into an existing region.
    const OwnedPacked again(region->pack());
    const OwnedUnpacked target(UnpackedRegion::create(int(n), false));
    *target = *again;
    ASSERT_EQ(matrixOf(target.get()).m, zone.m) << "round " << round;
  }
}

TEST(PackedRegionPacking, CallerMemoryOfTheReportedSizeHoldsTheRegion) {
  ZoneGenerator gen(203);
  const Matrix zone = gen.closedZone(9, 18);
  const OwnedUnpacked region = regionOf(zone); // the data reads its matrix
  PackData data;
  region->pack(&data);
  const std::size_t bytes = PackedRegion::sizeOf(&data);
  EXPECT_EQ(bytes % 8, 0u);
  EXPECT_GE(bytes, sizeof(PackedRegion) + 4 * ((81 + 31) / 32 + data.count));
  // An exact heap block, so that the sanitizer build sees any overrun.
  std::unique_ptr<char[]> memory(new char[bytes]);
  PackedRegion* packed = PackedRegion::create(&data, memory.get());
  OwnedUnpacked unpacked(packed->unpack());
  EXPECT_EQ(matrixOf(unpacked.get()).m, zone.m);
  Region::remove(packed); // destructor only: the block stays ours
}

// --------------------------------------------------------------- relation

TEST(PackedRegionRelation, AgreesWithTheUnpackedRelation) {
  ZoneGenerator gen(211);
  std::set<int> seen;
  for (int round = 0; round < 2 * iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const auto [a, b] = gen.relatedZones(n);
    const OwnedUnpacked unpackedA = regionOf(a), unpackedB = regionOf(b);
    const OwnedPacked packedA(unpackedA->pack());
    const int expected = unpackedA->relation(unpackedB.get());
    seen.insert(expected);
    // The quick test cannot tell equality from inclusion: both answer 1.
    ASSERT_EQ(packedA->relation(unpackedB.get()),
              expected == Region::equal ? Region::argIncludedIn : expected)
        << "round " << round;
    // An unpacked region compared with a packed one unpacks it.
    const OwnedPacked packedB(unpackedB->pack());
    ASSERT_EQ(unpackedA->relation(packedB.get()), expected) << "round " << round;
  }
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 4}));
}

TEST(PackedRegionRelation, QuickTestFindsInclusionWithoutUnpacking) {
  ZoneGenerator gen(212);
  int included = 0;
  for (int round = 0; round < iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const Matrix outer = gen.closedZone(n, int(2 * n));
    const Matrix inner = gen.subZone(outer);
    included += inner.m != outer.m;
    const OwnedPacked packed(regionOf(outer)->pack());
    ASSERT_TRUE(packed->keptConstraintsHold(*regionOf(inner))) << round;
    ASSERT_TRUE(packed->keptConstraintsHold(*regionOf(outer))) << round;
  }
  EXPECT_GT(included, iterations / 2);
  // A failed quick test unpacks.
  OwnedUnpacked small(UnpackedRegion::create(2, true)), large(UnpackedRegion::create(2, true));
  small->tighten(1, 0, 3, false);
  small->close();
  const OwnedPacked packed(small->pack());
  EXPECT_FALSE(packed->keptConstraintsHold(*large));
  EXPECT_EQ(packed->relation(large.get()), Region::argIncludes);
}

} // namespace
} // namespace orvela
