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

std::ptrdiff_t wordOffset(const void* from, const void* to) {
  return (static_cast<const char*>(to) - static_cast<const char*>(from)) / 4;
}

// ------------------------------------------------------------------ layout

TEST(GlobalStateLayout, LocationsArePaddedToAWholeWordAfterTheHeader) {
  for (int p = 0; p < 10; ++p) {
    const std::size_t bytes = GlobalState::sizeOf(p) * 4;
    EXPECT_GE(bytes, sizeof(GlobalState) + 2 * std::size_t(p)) << p;
    EXPECT_LT(bytes, sizeof(GlobalState) + 2 * std::size_t(p) + 4) << p;
  }
  EXPECT_EQ(GlobalState::sizeOf(3), GlobalState::sizeOf(4));
  EXPECT_EQ(GlobalState::sizeOf(5), GlobalState::sizeOf(4) + 1);
}

TEST(GlobalStateLayout, OneBlockHoldsLocationsTableAndRegionWithoutOverlap) {
  const ModelTables model = setUpModel(5, 3);
  for (int p : {1, 2, 3, 4, 7}) {
    for (int integers : {0, 1, 2, 5}) {
      for (int clocks : {1, 2, 4, 6}) {
        const std::size_t words = GlobalState::sizeOfUnpacked(p, integers, clocks);
        SCOPED_TRACE(testing::Message()
                     << p << " processes, " << integers << " integers, " << clocks << " clocks");
        EXPECT_EQ(words % 2, 0u);
        Buffer buffer(words);
        GlobalState* state = GlobalState::createUnpacked(p, integers, clocks, buffer.data());
        ASSERT_EQ(static_cast<void*>(state), buffer.data());
        IntegerTable* table = state->getIntegerTable();
        UnpackedRegion* region = state->getUnpackedRegion();
        EXPECT_EQ(wordOffset(state, table), std::ptrdiff_t(GlobalState::sizeOf(p)));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(region) % 8, 0u);
        EXPECT_GE(wordOffset(state, region),
                  wordOffset(state, table) + IntegerTable::sizeOf(integers));
        EXPECT_EQ(wordOffset(state, region) + std::ptrdiff_t(UnpackedRegion::sizeOf(clocks)),
                  std::ptrdiff_t(words));
        EXPECT_EQ(region->getDim(), unsigned(clocks));
        EXPECT_EQ(table->getCount(), integers);
        // Fill every part to its last cell, then read each back.
        for (int k = 0; k < p; ++k)
          state->setLocation(unsigned(k), 0xffff - k);
        for (int k = 0; k < integers; ++k)
          (*table)[k] = -1 - k;
        for (unsigned i = 0; i < unsigned(clocks); ++i)
          for (unsigned j = 0; j < unsigned(clocks); ++j)
            region->set(i, j, int32_t(2 * (i * 16 + j) + 1));
        for (int k = 0; k < p; ++k)
          EXPECT_EQ(state->getLocation(unsigned(k)), 0xffff - k);
        for (int k = 0; k < integers; ++k)
          EXPECT_EQ((*table)[k], -1 - k);
        EXPECT_EQ(table->getCount(), integers);
        EXPECT_EQ(state->getProcessCount(), p);
        EXPECT_EQ(state->getTraceId(), -1);
        EXPECT_TRUE(region->isClosed());
        EXPECT_TRUE(buffer.guardIntact());
        GlobalState::remove(state);
        EXPECT_TRUE(buffer.guardIntact());
      }
    }
  }
}

// ---------------------------------------------------------------- creation

TEST(GlobalStateCreation, AFreshStateHasNoZoneNoIntegersAndNoTraceEntry) {
  OwnedState heap(GlobalState::create(3));
  EXPECT_TRUE(heap->isHeapBlock());
  EXPECT_EQ(heap->getTraceId(), -1);
  EXPECT_EQ(heap->getRegion(), nullptr);
  EXPECT_EQ(heap->getIntegerTable(), nullptr);
  EXPECT_EQ(heap->getIntegerReference(), nullptr);
  EXPECT_FALSE(heap->isUnbounded());
  for (unsigned k = 0; k < 3; ++k)
    EXPECT_EQ(heap->getLocation(k), 0);

  EXPECT_EQ(GlobalState::create(3, nullptr), nullptr);
  EXPECT_EQ(GlobalState::create(3, 2, nullptr), nullptr);
  EXPECT_EQ(GlobalState::createUnpacked(3, 2, 2, nullptr), nullptr);
  GlobalState::remove(nullptr);

  Buffer buffer(GlobalState::sizeOf(5));
  GlobalState* placed = GlobalState::create(5, buffer.data());
  EXPECT_FALSE(placed->isHeapBlock());
  EXPECT_EQ(placed->getTraceId(), -1);
  EXPECT_EQ(placed->getLocation(4), 0);
  EXPECT_TRUE(buffer.guardIntact());
  GlobalState::remove(placed); // destroys, leaves the caller's memory alone
}

TEST(GlobalStateCreation, SettersTakeOwnershipAndReplaceThePreviousParts) {
  const ModelTables model = setUpModel(2, 2);
  OwnedState state = makeState(model, {1, 2}, {5, 6});
  IntegerTable* table = IntegerTable::create(2, true);
  state->setIntegerTable(table); // frees the first table
  EXPECT_EQ(state->getIntegerTable(), table);
  EXPECT_EQ(state->getIntegerReference()[0], 0);
  UnpackedRegion* region = UnpackedRegion::create(3, true);
  state->setRegion(region); // removes the first region
  EXPECT_EQ(state->getRegion(), region);
  UnpackedRegion* taken = state->releaseRegion();
  EXPECT_EQ(taken, region);
  EXPECT_EQ(state->getRegion(), nullptr);
  Region::remove(taken);
}

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

TEST_F(GlobalStateCopies, CopiesAreIndependentOfTheOriginal) {
  OwnedState discrete(original->discreteCopy());
  discrete->getIntegerReference()[1] = 0;
  EXPECT_EQ(original->getIntegerReference()[1], 9);
  EXPECT_FALSE(discrete->discEqual(original.get()));

  OwnedState same(original->copy());
  same->tighten(1, 0, 2 * 3 + 1); // x1 <= 3: the copy shrinks, not the original
  same->ok();
  EXPECT_EQ(original->relation(same.get()), Inclusion::superset);
  EXPECT_EQ(same->relation(original.get()), Inclusion::subset);

  // A location copy has neither integers nor zone.
  OwnedState locations(original->locationCopy());
  EXPECT_TRUE(locations->equalState(original.get()));
  EXPECT_EQ(locations->getTraceId(), 42);
  EXPECT_EQ(locations->getIntegerTable(), nullptr);
  EXPECT_EQ(locations->getRegion(), nullptr);
  locations->setLocation(2, 0);
  EXPECT_EQ(original->getLocation(2), 7);
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

// -------------------------------------------------------------- state view

// The zone operations of the view are those of the region (tested there):
// here only that each reaches the state's own zone.
TEST(GlobalStateView, TightenResetAndOffsetChangeTheZoneThroughTheView) {
  const ModelTables model = setUpModel(2, 0);
  OwnedState state = makeState(model, {0}, {});
  restrictClock(state.get(), 1, 2, 5);
  restrictClock(state.get(), 2, 1, 1);
  PublicState* view = state.get();
  EXPECT_TRUE(view->tighten(0, 1, -2 * 4 + 1)); // x1 >= 4
  EXPECT_TRUE(state->ok());
  view->offset(1, 3); // x1 in [7, 8]
  view->reset(2, 6);
  const UnpackedRegion* region = state->getUnpackedRegion();
  EXPECT_EQ(region->get(1, 0), 2 * 8 + 1);
  EXPECT_EQ(region->get(0, 1), -2 * 7 + 1);
  EXPECT_EQ(region->get(2, 0), 2 * 6 + 1);
  EXPECT_EQ(region->get(0, 2), -2 * 6 + 1);
  EXPECT_FALSE(view->tighten(1, 0, 2 * 7)); // x1 < 7: empty
  EXPECT_FALSE(state->ok());
}

TEST(GlobalStateView, IntegersAndLocationsAreReadThroughTheView) {
  const ModelTables model = setUpModel(2, 2);
  OwnedState state = makeState(model, {3, 1}, {10, 20});
  PublicState* view = state.get();
  view->getIntegerReference()[1] = 21;
  EXPECT_EQ((*state->getIntegerTable())[1], 21);
  EXPECT_EQ(view->getLocation(0), 3);
  EXPECT_EQ(view->getGlobalState(), state.get());
}

// -------------------------------------------------------------- ownership

static_assert(!std::is_destructible_v<GlobalState>, "delete of a GlobalState* must not compile");

TEST(GlobalStateOwnership, LastPointerRemovesTheHeapStateWithItsParts) {
  const ModelTables model = setUpModel(2, 2);
  GlobalState* raw = makeState(model, {1, 1}, {1, 2}).release();
  Pointer<GlobalState> first(raw);
  {
    Pointer<GlobalState> second(first);
    EXPECT_EQ(raw->referenceCount(), 2);
    first = nullptr;
    // Still alive: a sanitizer build reports any use after an early free.
    EXPECT_EQ(second->getIntegerReference()[1], 2);
    EXPECT_EQ(raw->referenceCount(), 1);
    Pointer<Object> asObject(second);
    second = nullptr;
    EXPECT_EQ(asObject->referenceCount(), 1);
  } // the last holder goes: remove(), once (a sanitizer build reports a leak
    // or a double free)
}

TEST(GlobalStateOwnershipDeathTest, DeleteThroughABasePointerFailsLoudly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        Object* object = GlobalState::create(2);
        delete object;
      },
      "delete called on GlobalState");
}

// --------------------------------------------------------------- reference

TEST(GlobalStateReference, WrapperWritesBothHalvesOfAStoredState) {
  const ModelTables model = setUpModel(2, 1);
  OwnedState stored = makeState(model, {5, 6}, {8});
  stored->setTraceId(3);
  restrictClock(stored.get(), 1, 1, 4);
  OwnedState copy(stored->copy());
  OwnedState target = makeState(model, {0, 0}, {0});

  GlobalStateReferenceWrapper reference(copy.get());
  EXPECT_TRUE(reference.getFlag());
  reference.writeDiscreteTo(target.get());
  EXPECT_TRUE(target->discEqual(stored.get()));
  EXPECT_EQ(target->getTraceId(), 3);
  EXPECT_NE(target->relation(stored.get()), Inclusion::equal); // zone not yet written
  reference.writeSymbolicTo(target.get());
  EXPECT_EQ(target->relation(stored.get()), Inclusion::equal);
  reference.release(true);
}

} // namespace
} // namespace orvela
