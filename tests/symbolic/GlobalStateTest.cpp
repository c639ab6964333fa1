#include "symbolic/GlobalState.h"

#include "base/Exceptions.h"
#include "support/StateFixtures.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/GlobalStateReference.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <type_traits>
#include <vector>

namespace orvela {
namespace {

using test::makeState;
using test::Matrix;
using test::matrixOf;
using test::OwnedState;
using test::restrictClock;
using test::setUpModel;
using test::ZoneGenerator;

/// 8-byte aligned caller memory of `words` 32-bit words, filled with a
/// pattern, with `guard` pattern words after the block.
struct Buffer {
  static constexpr uint32_t pattern = 0xa5a5a5a5u;
  Buffer(std::size_t words, std::size_t guard = 4)
      : size(words), storage((words + guard + 1) / 2, 0xa5a5a5a5a5a5a5a5ull) {}
  void* data() { return storage.data(); }
  uint32_t word(std::size_t k) const {
    uint32_t w;
    std::memcpy(&w, reinterpret_cast<const char*>(storage.data()) + 4 * k, 4);
    return w;
  }
  bool guardIntact() const {
    for (std::size_t k = size; k < storage.size() * 2; ++k)
      if (word(k) != pattern)
        return false;
    return true;
  }
  std::size_t size;
  std::vector<uint64_t> storage;
};

// ------------------------------------------------------------------ copies

class GlobalStateCopies : public ::testing::Test {
protected:
  void SetUp() override {
    model = setUpModel(3, 2);
    original = makeState(model, {4, 1, 7}, {-3, 9});
    original->setTraceId(42);
    restrictClock(original.get(), 1, 2, 5);
    restrictClock(original.get(), 2, 0, 3);
  }
  ModelTables model;
  OwnedState original;
};

// Every copy keeps the discrete part and the trace identifier; its zone is
// none, the target's own, or the original's (closed).
TEST_F(GlobalStateCopies, EveryCopyKeepsTheDiscretePartTraceIdAndTheZoneItPromises) {
  enum ZoneKind { noZone, targetZone, sameZone };
  const Matrix zone = matrixOf(original->getUnpackedRegion());
  OwnedState target = makeState(model, {0, 0, 0}, {0, 0});
  restrictClock(target.get(), 3, 1, 1);
  const Matrix ownZone = matrixOf(target->getUnpackedRegion());
  OwnedState fresh = makeState(model, {0, 0, 0}, {0, 0});
  Buffer buffer(GlobalState::sizeOfUnpacked(3, 2, 4));
  const struct {
    const char* name;
    std::function<GlobalState*()> copy;
    ZoneKind zone;
    bool owned; ///< a new heap state
  } cases[] = {
      {"discreteCopy", [&] { return original->discreteCopy(); }, noZone, true},
      {"discreteCopy into a state", [&] { return original->discreteCopy(target.get()); },
       targetZone, false},
      {"copy", [&] { return original->copy(); }, sameZone, true},
      {"unpackedCopy", [&] { return original->unpackedCopy(); }, sameZone, true},
      {"assignment", [&] { return &(*fresh = *original); }, sameZone, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalState* copy = c.copy();
    OwnedState owner(c.owned ? copy : nullptr);
    EXPECT_NE(copy, original.get());
    EXPECT_TRUE(copy->isHeapBlock());
    EXPECT_TRUE(copy->discEqual(original.get()));
    EXPECT_EQ(copy->getTraceId(), 42);
    if (c.zone == noZone) {
      EXPECT_EQ(copy->getRegion(), nullptr);
    } else {
      EXPECT_TRUE(copy->getUnpackedRegion()->isClosed());
      EXPECT_EQ(matrixOf(copy->getUnpackedRegion()).m, (c.zone == sameZone ? zone : ownZone).m);
    }
  }
  // Into caller memory: an unpacked block sized from this state's numbers.
  for (bool withZone : {false, true}) {
    GlobalState* placed =
        withZone ? original->unpackedCopy(buffer.data()) : original->discreteCopy(buffer.data());
    EXPECT_EQ(static_cast<void*>(placed), buffer.data());
    EXPECT_FALSE(placed->isHeapBlock());
    EXPECT_TRUE(placed->discEqual(original.get()));
    EXPECT_EQ(placed->getTraceId(), 42);
    EXPECT_EQ(placed->getUnpackedRegion()->getDim(), 4u);
    if (withZone) {
      EXPECT_EQ(matrixOf(placed->getUnpackedRegion()).m, zone.m);
    }
    EXPECT_TRUE(buffer.guardIntact());
    GlobalState::remove(placed);
  }
}

// ---------------------------------------------------------------- relation

TEST(GlobalStateRelation, DifferentDiscretePartsAreNeverIncluded) {
  const ModelTables model = setUpModel(2, 2);
  OwnedState base = makeState(model, {1, 2}, {3, 4});
  OwnedState otherLocation = makeState(model, {1, 3}, {3, 4});
  OwnedState otherInteger = makeState(model, {1, 2}, {3, 5});
  restrictClock(otherInteger.get(), 1, 1, 2); // a zone inside base's
  EXPECT_EQ(base->relation(otherLocation.get()), Inclusion::none);
  EXPECT_EQ(base->relation(otherInteger.get()), Inclusion::none);
  EXPECT_EQ(otherInteger->relation(base.get()), Inclusion::none);
  EXPECT_FALSE(base->equalState(otherLocation.get()));
  EXPECT_TRUE(base->equalState(otherInteger.get()));
  EXPECT_FALSE(base->discEqual(otherInteger.get()));
}

TEST(GlobalStateRelation, MatchesEntrywiseInclusionOfRandomZones) {
  ZoneGenerator gen(41);
  std::map<Inclusion, int> seen;
  for (int round = 0; round < 400; ++round) {
    const int clocks = gen.uniform(1, 6);
    const ModelTables model = setUpModel(clocks, 1);
    const auto [za, zb] = gen.relatedZones(unsigned(clocks + 1));
    OwnedState a = makeState(model, {2, 0}, {7});
    OwnedState b = makeState(model, {2, 0}, {7});
    test::load(a->getUnpackedRegion(), za);
    test::load(b->getUnpackedRegion(), zb);
    const Inclusion expected = test::referenceInclusion(za, zb);
    ASSERT_EQ(a->relation(b.get()), expected) << "round " << round;
    ++seen[expected];
  }
  for (Inclusion r : {Inclusion::none, Inclusion::subset, Inclusion::superset, Inclusion::equal})
    EXPECT_GT(seen[r], 20) << int(r);
}

// -------------------------------------------------------------- ownership

static_assert(!std::is_destructible_v<GlobalState>, "delete of a GlobalState* must not compile");

} // namespace
} // namespace orvela
