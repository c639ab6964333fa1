#include "symbolic/GlobalState.h"

#include "support/StateFixtures.h"
#include "symbolic/GlobalStateReference.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

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

// ------------------------------------------------------------------ copies

// Every copy keeps the discrete part and the trace identifier; its zone is
// none, the target's own, the original's (closed), or in caller memory of
// sizeOfUnpacked words one of the model's dimension (the sanitizer build
// sees a write beyond the block).
TEST(GlobalStateCopies, EveryCopyKeepsTheDiscretePartTraceIdAndTheZoneItPromises) {
  const ModelTables model = setUpModel(3, 2);
  OwnedState original = makeState(model, {4, 1, 7}, {-3, 9});
  original->setTraceId(42);
  restrictClock(original.get(), 1, 2, 5);
  restrictClock(original.get(), 2, 0, 3);
  const Matrix zone = matrixOf(original->getUnpackedRegion());
  OwnedState target = makeState(model, {0, 0, 0}, {0, 0});
  restrictClock(target.get(), 3, 1, 1);
  const Matrix ownZone = matrixOf(target->getUnpackedRegion());
  OwnedState fresh = makeState(model, {0, 0, 0}, {0, 0});
  std::vector<uint64_t> memory(GlobalState::sizeOfUnpacked(3, 2, 4) / 2);
  enum ZoneKind { noZone, someZone, targetZone, sameZone };
  const struct {
    const char* name;
    std::function<GlobalState*()> copy;
    ZoneKind zone;
    bool owned; ///< a new state, heap or placed
  } cases[] = {
      {"discreteCopy", [&] { return original->discreteCopy(); }, noZone, true},
      {"discreteCopy into a state", [&] { return original->discreteCopy(target.get()); },
       targetZone, false},
      {"copy", [&] { return original->copy(); }, sameZone, true},
      {"unpackedCopy", [&] { return original->unpackedCopy(); }, sameZone, true},
      {"assignment", [&] { return &(*fresh = *original); }, sameZone, false},
      {"discreteCopy into memory", [&] { return original->discreteCopy(memory.data()); }, someZone,
       true},
      {"unpackedCopy into memory", [&] { return original->unpackedCopy(memory.data()); }, sameZone,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalState* copy = c.copy();
    OwnedState owner(c.owned ? copy : nullptr);
    EXPECT_NE(copy, original.get());
    EXPECT_EQ(copy->isHeapBlock(), static_cast<void*>(copy) != memory.data());
    EXPECT_TRUE(copy->discEqual(original.get()));
    EXPECT_EQ(copy->getTraceId(), 42);
    if (c.zone == noZone) {
      EXPECT_EQ(copy->getRegion(), nullptr);
    } else if (c.zone == someZone) {
      EXPECT_EQ(copy->getUnpackedRegion()->getDim(), 4u);
    } else {
      EXPECT_TRUE(copy->getUnpackedRegion()->isClosed());
      EXPECT_EQ(matrixOf(copy->getUnpackedRegion()).m, (c.zone == sameZone ? zone : ownZone).m);
    }
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
