#include "symbolic/PackedRegion.h"

#include "cdd/lib/cdd.h"
#include "model/ClockInfo.h"
#include "model/ModelTables.h"
#include "server/base/Exceptions.h"
#include "symbolic/PackData.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/UnpackedRegion.h"
#include "symbolic/ZoneReference.h"
#include "symbolic/dbm/dbm.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>

namespace orvela {
namespace {

using test::inf;
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

TEST(PackedRegionPacking, InitialRegionKeepsOnlyTheChainOfItsEqualityClass) {
  for (unsigned clocks : {1u, 3u, 8u}) {
    OwnedUnpacked region(UnpackedRegion::create(int(clocks + 1), false));
    region->zeroRegion();
    PackData data;
    region->pack(&data);
    EXPECT_EQ(data.count, clocks);
    const unsigned n = clocks + 1;
    for (unsigned k = 1; k < clocks; ++k)
      EXPECT_EQ(data.keep[k * n + k + 1], 1) << "chain edge " << k;
    EXPECT_EQ(data.keep[clocks * n], 1); // closing edge back to clock 0
    EXPECT_EQ(data.keep[1], 0);          // x1 >= 0, dropped
    const OwnedPacked packed(PackedRegion::create(&data));
    const OwnedUnpacked unpacked(packed->unpack());
    EXPECT_EQ(matrixOf(unpacked.get()).m, std::vector<int32_t>(n * n, 1));
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
  std::set<Inclusion> seen;
  for (int round = 0; round < 2 * iterations; ++round) {
    const unsigned n = unsigned(gen.uniform(2, 9));
    const auto [a, b] = gen.relatedZones(n);
    const OwnedUnpacked unpackedA = regionOf(a), unpackedB = regionOf(b);
    const OwnedPacked packedA(unpackedA->pack());
    const Inclusion expected = unpackedA->relation(unpackedB.get());
    seen.insert(expected);
    // The quick test cannot tell equality from inclusion: both answer superset.
    ASSERT_EQ(packedA->relation(unpackedB.get()),
              expected == Inclusion::equal ? Inclusion::superset : expected)
        << "round " << round;
    // An unpacked region compared with a packed one unpacks it.
    const OwnedPacked packedB(unpackedB->pack());
    ASSERT_EQ(unpackedA->relation(packedB.get()), expected) << "round " << round;
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
  EXPECT_EQ(packed->relation(large.get()), Inclusion::subset);
}

// -------------------------------------------------------------- refusals

TEST(PackedRegionRefusals, ChangingOperationsThrowWithTheirSignature) {
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(1, 0, 4, false);
  region->close();
  OwnedPacked packed(region->pack());
  alignas(4) unsigned char memory[64];
  _dbm_* d = dbm_reserve(memory, 3);
  const std::pair<const char*, std::function<void()>> refusals[] = {
      {"virtual Region* PackedRegion::copy() const", [&] { packed->copy(); }},
      {"virtual Region* PackedRegion::copy() const", [&] { packed->pack(); }},
      {"virtual Region& PackedRegion::operator=(const Region&)", [&] { *packed = *region; }},
      {"virtual void PackedRegion::convexHull(UnpackedRegion*)",
       [&] { packed->convexHull(region.get()); }},
      {"virtual void PackedRegion::delay()", [&] { packed->delay(); }},
      {"virtual void PackedRegion::past()", [&] { packed->past(); }},
      {"virtual bool PackedRegion::isUnbounded() const", [&] { packed->isUnbounded(); }},
      {"virtual _dbm_* PackedRegion::asDBM(_dbm_*) const", [&] { packed->asDBM(d); }},
      {"virtual cdd PackedRegion::asCDD() const", [&] { packed->asCDD(); }},
      {"virtual bool PackedRegion::tightenRaw(int, int, int)",
       [&] { packed->tightenRaw(1, 0, 3); }},
      {"virtual bool PackedRegion::tighten(int, int, int, bool)",
       [&] { packed->tighten(1, 0, 3, false); }},
      {"virtual void PackedRegion::close()", [&] { packed->close(); }},
  };
  for (const auto& [signature, call] : refusals) {
    try {
      call();
      ADD_FAILURE() << "no refusal for " << signature;
    } catch (const Bug& bug) {
      EXPECT_EQ(std::string(bug.what()), std::string("NI: ") + signature);
    }
  }
  EXPECT_FALSE(packed->isEmpty());
  EXPECT_TRUE(packed->isPacked());
  EXPECT_EQ(packed->getDim(), 3u);
}

// -------------------------------------------------------------- text form

TEST(PackedRegionText, DisplayWritesEveryKeptBoundWithATrailingSeparator) {
  resetModelTables();
  ClockInfo::addClock("x");
  ClockInfo::addClock("y");
  OwnedUnpacked region(UnpackedRegion::create(3, true));
  region->tighten(0, 1, -2, true);  // x > 2
  region->tighten(2, 0, 4, false);  // y <= 4
  region->tighten(1, 2, -1, false); // x - y <= -1
  region->close();
  const OwnedPacked packed(region->pack());
  std::ostringstream out;
  packed->display(out);
  EXPECT_EQ(out.str(), "x>2, x-y<=-1, y<=4, ");
  std::ostringstream query;
  packed->displayAsQuery(query);
  EXPECT_EQ(query.str(), "");
}

} // namespace
} // namespace orvela
