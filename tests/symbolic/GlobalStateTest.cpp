#include "symbolic/GlobalState.h"

#include "server/base/Exceptions.h"
#include "support/StateFixtures.h"
#include "symbolic/PackedRegion.h"
#include "symbolic/RegionFixtures.h"
#include "symbolic/ZoneReference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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
    setUpModel(3, 2);
    original = makeState({4, 1, 7}, {-3, 9});
    original->setTraceId(42);
    restrictClock(original.get(), 1, 2, 5);
    restrictClock(original.get(), 2, 0, 3);
  }
  OwnedState original;
};

// Every copy keeps the discrete part and the trace identifier; its zone is
// none, the target's own, or the original's (unpacked and closed, or packed).
TEST_F(GlobalStateCopies, EveryCopyKeepsTheDiscretePartTraceIdAndTheZoneItPromises) {
  enum ZoneKind { noZone, targetZone, sameZone, packedZone };
  const Matrix zone = matrixOf(original->getUnpackedRegion());
  OwnedState packed(original->packedCopy());
  OwnedState target = makeState({0, 0, 0}, {0, 0});
  restrictClock(target.get(), 3, 1, 1);
  const Matrix ownZone = matrixOf(target->getUnpackedRegion());
  OwnedState fresh = makeState({0, 0, 0}, {0, 0}), freshForPacked = makeState({0, 0, 0}, {0, 0});
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
      {"packedCopy", [&] { return original->packedCopy(); }, packedZone, true},
      {"unpackedCopy", [&] { return packed->unpackedCopy(); }, sameZone, true},
      {"assignment", [&] { return &(*fresh = *original); }, sameZone, false},
      {"assignment from packed", [&] { return &(*freshForPacked = *packed); }, sameZone, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalState* copy = c.copy();
    OwnedState owner(c.owned ? copy : nullptr);
    EXPECT_NE(copy, original.get());
    EXPECT_TRUE(copy->isHeapBlock());
    EXPECT_TRUE(copy->discEqual(original.get()));
    EXPECT_EQ(copy->getTraceId(), 42);
    EXPECT_EQ(copy->isPacked(), c.zone == packedZone);
    if (c.zone == noZone) {
      EXPECT_EQ(copy->getRegion(), nullptr);
    } else if (c.zone == packedZone) {
      // The quick test answers "includes" for an equal zone too.
      EXPECT_EQ(copy->relation(original.get()), GlobalState::argIncludedIn);
      EXPECT_EQ(original->relation(copy), GlobalState::equal);
    } else {
      EXPECT_TRUE(copy->getUnpackedRegion()->isClosed());
      EXPECT_EQ(matrixOf(copy->getUnpackedRegion()).m, (c.zone == sameZone ? zone : ownZone).m);
    }
  }
  // Into caller memory: an unpacked block sized from this state's numbers.
  for (bool fromPacked : {false, true}) {
    GlobalState* placed =
        fromPacked ? packed->unpackedCopy(buffer.data()) : original->discreteCopy(buffer.data());
    EXPECT_EQ(static_cast<void*>(placed), buffer.data());
    EXPECT_FALSE(placed->isHeapBlock());
    EXPECT_TRUE(placed->discEqual(original.get()));
    EXPECT_EQ(placed->getTraceId(), 42);
    EXPECT_EQ(placed->getUnpackedRegion()->getDim(), 4u);
    if (fromPacked) {
      EXPECT_EQ(matrixOf(placed->getUnpackedRegion()).m, zone.m);
    }
    EXPECT_TRUE(buffer.guardIntact());
    GlobalState::remove(placed);
  }
  // A packed zone cannot be copied or packed again.
  EXPECT_THROW(OwnedState(packed->copy()), Bug);
  EXPECT_THROW(OwnedState(packed->packedCopy()), Bug);
}

// ---------------------------------------------------------------- relation

TEST(GlobalStateRelation, DifferentDiscretePartsAreNeverIncluded) {
  setUpModel(2, 2);
  OwnedState base = makeState({1, 2}, {3, 4});
  OwnedState otherLocation = makeState({1, 3}, {3, 4});
  OwnedState otherInteger = makeState({1, 2}, {3, 5});
  restrictClock(otherInteger.get(), 1, 1, 2); // a zone inside base's
  EXPECT_EQ(base->relation(otherLocation.get()), GlobalState::noInclusion);
  EXPECT_EQ(base->relation(otherInteger.get()), GlobalState::noInclusion);
  EXPECT_EQ(otherInteger->relation(base.get()), GlobalState::noInclusion);
  EXPECT_FALSE(base->equalState(otherLocation.get()));
  EXPECT_TRUE(base->equalState(otherInteger.get()));
  EXPECT_FALSE(base->discEqual(otherInteger.get()));

  // Cells beyond the model's integers are not part of the state.
  OwnedState longer = makeState({1, 2}, {3, 4, 99});
  EXPECT_TRUE(base->discEqual(longer.get()));
}

TEST(GlobalStateRelation, MatchesEntrywiseInclusionOfRandomZones) {
  ZoneGenerator gen(41);
  int seen[5] = {};
  for (int round = 0; round < 400; ++round) {
    const int clocks = gen.uniform(1, 6);
    setUpModel(clocks, 1);
    const auto [za, zb] = gen.relatedZones(unsigned(clocks + 1));
    OwnedState a = makeState({2, 0}, {7});
    OwnedState b = makeState({2, 0}, {7});
    test::load(a->getUnpackedRegion(), za);
    test::load(b->getUnpackedRegion(), zb);
    const int expected = test::relationCode(za, zb, GlobalState::equal, GlobalState::argIncludes,
                                            GlobalState::argIncludedIn, GlobalState::noInclusion);
    ASSERT_EQ(a->relation(b.get()), expected) << "round " << round;
    // A packed zone answers "includes" without telling equality apart.
    OwnedState packed(a->packedCopy());
    ASSERT_EQ(packed->relation(b.get()),
              expected == GlobalState::equal ? GlobalState::argIncludedIn : expected)
        << "round " << round;
    ++seen[expected];
  }
  for (int code : {0, 1, 2, 4})
    EXPECT_GT(seen[code], 20) << GlobalState::rel2str(code);
}

} // namespace
} // namespace orvela
