#include "pwlist/HashingPWList.h"

#include "ListTestFixture.h"
#include "language/ParseSystem.h"
#include "pwlist/PWListFactories.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

using test::OwnedState;

// Two processes, two integers (both compared) and clocks x1, x2.
class HashingPWListTest : public ::testing::Test {
protected:
  void SetUp() override { test::setUpModel(2, 2); }

  StateShape shape() const { return {2, 2, 2, 3}; }
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createDBMPWList(buckets, order, shape());
  }

  /// A state at locations (l0, l1) with integers (i0, i1) and x1 in [lo, hi];
  /// the hash is the sum of the key unless given.
  OwnedState state(int l0, int l1, int i0, int i1, int lo, int hi) {
    OwnedState s = test::makeState({l0, l1}, {i0, i1});
    test::restrictClock(s.get(), 1, lo, hi);
    return s;
  }
  static unsigned keyHash(const GlobalState* s) {
    const int* v = const_cast<GlobalState*>(s)->getIntegerReference();
    return unsigned(s->getLocation(0) * 1000 + s->getLocation(1) * 100 + v[0] * 10 + v[1]);
  }
  static bool put(PWList& list, const OwnedState& s, bool store = true) {
    WaitingState offered{s.get(), store, keyHash(s.get())};
    return list.tryPut(&offered);
  }
  static bool putWithHash(PWList& list, const OwnedState& s, unsigned hash) {
    WaitingState offered{s.get(), true, hash};
    return list.tryPut(&offered);
  }
  static GlobalStateReference* get(PWList& list) {
    GlobalStateReference* reference = nullptr;
    return list.tryGet(&reference) ? reference : nullptr;
  }
  /// The state a reference names, read back into a fresh state.
  OwnedState read(GlobalStateReference* reference) {
    OwnedState s = test::makeState({0, 0}, {0, 0});
    reference->writeDiscreteTo(s.get());
    reference->writeSymbolicTo(s.get());
    return s;
  }
  /// Location 0 and the lower bound of x1 of each state, in enumeration
  /// order.
  std::vector<std::pair<int, int>> enumerate(const PWList& list) {
    std::vector<std::pair<int, int>> seen;
    Pointer<PureSource> states = list.enumStates();
    GlobalStateReference* reference;
    while (states->tryGet(&reference)) {
      EXPECT_TRUE(reference->getFlag());
      OwnedState s = read(reference);
      seen.emplace_back(s->getLocation(0), -(s->getUnpackedRegion()->get(0, 1) >> 1));
    }
    return seen;
  }
  static std::string check(const PWList& list) {
    return static_cast<const PWListBase&>(list).checkConsistency();
  }
};

TEST_F(HashingPWListTest, AReferenceGivesBackTheStoredStateExactly) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = state(3, 9, -4, 17, 2, 5);
  test::restrictClock(s.get(), 2, 1, 8);
  s->setTraceId(42);
  ASSERT_TRUE(put(*list, s));
  GlobalStateReference* reference = get(*list);
  ASSERT_NE(reference, nullptr);
  OwnedState back = test::makeState({0, 0}, {0, 0});
  back->getUnpackedRegion()->touch(1); // stale marks must not survive
  reference->writeDiscreteTo(back.get());
  reference->writeSymbolicTo(back.get());
  EXPECT_EQ(back->getLocation(0), 3);
  EXPECT_EQ(back->getLocation(1), 9);
  EXPECT_EQ(back->getIntegerReference()[0], -4);
  EXPECT_EQ(back->getIntegerReference()[1], 17);
  EXPECT_EQ(back->getTraceId(), 42);
  EXPECT_TRUE(back->getUnpackedRegion()->isClosed());
  EXPECT_EQ(back->relation(s.get()), GlobalState::equal);
  EXPECT_TRUE(reference->getFlag());
}

TEST_F(HashingPWListTest, TheSameStateTwiceIsRejected) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = state(1, 1, 0, 0, 2, 4);
  EXPECT_TRUE(put(*list, s));
  EXPECT_FALSE(put(*list, s));
  EXPECT_EQ(list->getSize(), 1u);
  EXPECT_EQ(list->getStored(), 1u);
}

TEST_F(HashingPWListTest, CoveringWorksInBothDirections) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState small = state(1, 2, 0, 0, 2, 3), large = state(1, 2, 0, 0, 0, 5),
             inside = state(1, 2, 0, 0, 1, 4);
  EXPECT_TRUE(put(*list, small));
  EXPECT_TRUE(put(*list, large)); // drops the small waiting state
  EXPECT_EQ(list->getSize(), 2u); // the dropped entry counts until purged
  EXPECT_EQ(check(*list), "");
  EXPECT_FALSE(put(*list, inside));
  EXPECT_EQ(enumerate(*list), (std::vector<std::pair<int, int>>{{1, 0}}));

  GlobalStateReference* reference = get(*list);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(read(reference)->relation(large.get()), GlobalState::equal);
  EXPECT_EQ(list->getSize(), 1u); // purged on the way to the front
  reference->release(false);
  EXPECT_EQ(get(*list), nullptr);
  // a passed state still covers
  EXPECT_FALSE(put(*list, small));
  EXPECT_EQ(check(*list), "");
}

TEST_F(HashingPWListTest, NewStateDropsEveryStoredStateItIncludes) {
  Pointer<PWList> list = makeList(createQueuePWOrder(), 1);
  OwnedState a = state(1, 0, 0, 0, 2, 3), b = state(1, 0, 0, 0, 4, 6), c = state(1, 0, 0, 0, 1, 9),
             other = state(2, 0, 0, 0, 4, 5);
  ASSERT_TRUE(put(*list, a));
  ASSERT_TRUE(put(*list, other));
  ASSERT_TRUE(put(*list, b));
  GlobalStateReference* first = get(*list);
  first->release(false);      // a becomes passed
  ASSERT_TRUE(put(*list, c)); // covers the passed a and the waiting b
  EXPECT_EQ(check(*list), "");
  // newest first in the single bucket: c, then other
  EXPECT_EQ(enumerate(*list), (std::vector<std::pair<int, int>>{{1, 1}, {2, 4}}));
  EXPECT_EQ(static_cast<ChunkPWListBase&>(*list).nodesInUse(), 2u);
}

TEST_F(HashingPWListTest, StatesWithDifferentDiscretePartsNeverCoverEachOther) {
  Pointer<PWList> list = makeList(createQueuePWOrder(), 1);
  // equal hashes, so that only the discrete comparison tells them apart
  OwnedState wide = state(1, 1, 0, 0, 0, 9);
  EXPECT_TRUE(putWithHash(*list, wide, 5));
  EXPECT_TRUE(putWithHash(*list, state(1, 2, 0, 0, 1, 2), 5)); // another location
  EXPECT_TRUE(putWithHash(*list, state(1, 1, 0, 1, 1, 2), 5)); // another integer
  EXPECT_TRUE(putWithHash(*list, state(1, 1, 0, 0, 0, 9), 6)); // another hash
  EXPECT_FALSE(putWithHash(*list, state(1, 1, 0, 0, 1, 2), 5));
  EXPECT_EQ(list->getStored(), 4u);
}

TEST_F(HashingPWListTest, ValuesBeyondTheComparedOnesDoNotTellStatesApart) {
  Pointer<PWList> list = createDBMPWList(7, createQueuePWOrder(), {2, 2, 1, 3});
  OwnedState s = state(1, 1, 3, 8, 0, 9);
  EXPECT_TRUE(putWithHash(*list, s, 1));
  EXPECT_FALSE(putWithHash(*list, state(1, 1, 3, 9, 1, 2), 1));
  // but the value is stored and given back
  EXPECT_EQ(read(get(*list))->getIntegerReference()[1], 8);
}

TEST_F(HashingPWListTest, QueueAndStackOrders) {
  for (bool queue : {true, false}) {
    SCOPED_TRACE(queue ? "queue" : "stack");
    Pointer<PWList> list = makeList(queue ? createQueuePWOrder() : createStackPWOrder());
    for (int k = 1; k <= 3; ++k)
      ASSERT_TRUE(put(*list, state(k, 0, 0, 0, 0, 1)));
    std::vector<int> order;
    while (GlobalStateReference* reference = get(*list)) {
      order.push_back(read(reference)->getLocation(0));
      reference->release(true);
    }
    EXPECT_EQ(order, queue ? (std::vector<int>{1, 2, 3}) : (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list->getExplored(), 3u);
  }
}

int locationZero(const GlobalState* s) { return -s->getLocation(0); }

TEST_F(HashingPWListTest, PriorityOrderComesFromTheOfferedStates) {
  Pointer<PWList> list = makeList(createPriorityPWOrder(&locationZero));
  for (int k : {2, 5, 1})
    ASSERT_TRUE(put(*list, state(k, 0, 0, 0, 0, 1)));
  std::vector<int> order;
  while (GlobalStateReference* reference = get(*list)) {
    order.push_back(read(reference)->getLocation(0));
    reference->release(false);
  }
  EXPECT_EQ(order, (std::vector<int>{5, 2, 1}));
}

TEST_F(HashingPWListTest, ReleaseKeepsOrDropsAccordingToTheFlag) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState kept = state(1, 0, 0, 0, 0, 1), dropped = state(2, 0, 0, 0, 0, 1);
  ASSERT_TRUE(put(*list, kept, true));
  ASSERT_TRUE(put(*list, dropped, false));
  for (int k = 0; k < 2; ++k) {
    GlobalStateReference* reference = get(*list);
    ASSERT_NE(reference, nullptr);
    reference->release(!reference->getFlag());
    EXPECT_EQ(check(*list), "");
  }
  EXPECT_EQ(enumerate(*list), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_FALSE(put(*list, kept));
  EXPECT_TRUE(put(*list, dropped)); // forgotten once explored
  EXPECT_EQ(static_cast<ChunkPWListBase&>(*list).nodesInUse(), 2u);
}

TEST_F(HashingPWListTest, TheSameReferenceUntilReleasedAndNothingWhenEmpty) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  GlobalStateReference* untouched = reinterpret_cast<GlobalStateReference*>(0x10);
  EXPECT_FALSE(list->tryGet(&untouched));
  EXPECT_EQ(untouched, reinterpret_cast<GlobalStateReference*>(0x10));
  EXPECT_EQ(list->getSize(), 0u);

  ASSERT_TRUE(put(*list, state(1, 0, 0, 0, 0, 1)));
  ASSERT_TRUE(put(*list, state(2, 0, 0, 0, 0, 1)));
  GlobalStateReference* first = get(*list);
  OwnedState seen = read(first);
  EXPECT_EQ(read(get(*list))->getLocation(0), seen->getLocation(0));
  EXPECT_EQ(list->getExplored(), 1u);
  first->release(false);
  EXPECT_NE(read(get(*list))->getLocation(0), seen->getLocation(0));
  EXPECT_EQ(list->getExplored(), 2u);
}

// A state being explored may be covered by one of its own successors (a
// search that emits successors before releasing its reference): the held
// state stays readable and is forgotten when released.
TEST_F(HashingPWListTest, AHeldStateCoveredBeforeReleaseStaysReadableAndIsForgotten) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState held = state(1, 0, 0, 0, 2, 3), wider = state(1, 0, 0, 0, 0, 6);
  ASSERT_TRUE(put(*list, held));
  GlobalStateReference* reference = get(*list);
  ASSERT_TRUE(put(*list, wider));
  EXPECT_EQ(check(*list), "");
  EXPECT_EQ(read(reference)->relation(held.get()), GlobalState::equal);
  EXPECT_EQ(read(get(*list))->relation(held.get()), GlobalState::equal); // still held
  reference->release(false);
  EXPECT_EQ(check(*list), "");
  EXPECT_EQ(enumerate(*list), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(static_cast<ChunkPWListBase&>(*list).nodesInUse(), 1u);
  GlobalStateReference* next = get(*list);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(read(next)->relation(wider.get()), GlobalState::equal);
}

// Records start with 16-bit bounds; the first state that needs more turns
// every stored record wide, the held one included, wherever it is, and keeps
// the chains whole: here one chain holds a waiting state behind a passed one.
TEST_F(HashingPWListTest, AStateWithLargeBoundsWidensEveryStoredRecord) {
  for (bool detached : {false, true}) {
    SCOPED_TRACE(detached ? "held state covered before widening" : "held state in its chain");
    Pointer<PWList> list = makeList(createStackPWOrder(), 1);
    auto& chunks = static_cast<ChunkPWListBase&>(*list);
    const std::size_t narrowBytes = chunks.nodeBytes();
    OwnedState a = state(1, 0, 0, 0, 2, 3), passed = state(3, 0, 0, 0, 0, 4),
               b = state(2, 0, 0, 0, 1, 1), bWider = state(2, 0, 0, 0, 0, 9),
               large = state(4, 0, 0, 0, 5, 20000);
    ASSERT_TRUE(put(*list, a));
    ASSERT_TRUE(put(*list, passed));
    get(*list)->release(false); // the chain: passed, a (waiting)
    ASSERT_TRUE(put(*list, b));
    GlobalStateReference* held = get(*list);
    ASSERT_EQ(read(held)->relation(b.get()), GlobalState::equal);
    if (detached) {
      ASSERT_TRUE(put(*list, bWider));
    }
    ASSERT_TRUE(chunks.layout().narrow());
    ASSERT_TRUE(put(*list, large));
    EXPECT_FALSE(chunks.layout().narrow());
    EXPECT_GT(chunks.nodeBytes(), narrowBytes);
    EXPECT_EQ(check(*list), "");
    EXPECT_EQ(read(held)->relation(b.get()), GlobalState::equal);
    held->release(false);
    EXPECT_EQ(check(*list), "");
    // every state is still there, wide, and still covers
    for (const OwnedState* s : {&a, &passed, &b, &large})
      EXPECT_FALSE(put(*list, *s));
    EXPECT_EQ(enumerate(*list).size(), 4u);
    EXPECT_EQ(chunks.nodesInUse(), 4u);
    list->clear();
    EXPECT_TRUE(chunks.layout().narrow());
  }
}

TEST_F(HashingPWListTest, ClearForgetsEverything) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = state(1, 0, 0, 0, 0, 1);
  ASSERT_TRUE(put(*list, s));
  get(*list);
  list->clear();
  EXPECT_EQ(list->getSize(), 0u);
  EXPECT_EQ(list->getStored(), 0u);
  EXPECT_EQ(list->getExplored(), 0u);
  EXPECT_TRUE(enumerate(*list).empty());
  EXPECT_EQ(get(*list), nullptr);
  EXPECT_TRUE(put(*list, s));
  EXPECT_EQ(check(*list), "");
}

TEST_F(HashingPWListTest, RandomOperationsAgreeWithABruteForceModel) {
  for (bool queue : {true, false}) {
    SCOPED_TRACE(queue ? "queue" : "stack");
    Pointer<PWList> list = makeList(queue ? createQueuePWOrder() : createStackPWOrder(), 3);
    std::size_t passed = 0;
    test::ListTest::runAgainstModel(*list, queue, 97531, passed);
  }
}

// A list made for a loaded system stores its initial state (two processes,
// two integers, two clocks) and gives it back whole.
TEST(DBMPWListForASystem, StoresTheSystemsStatesWhole) {
  Pointer<System> system = parseSystem("int [0,5] a := 3; int [-2,2] b := -1;\n"
                                       "process P { clock x; state s, t; init t; }\n"
                                       "process Q { clock y; state u; init u; }\n"
                                       "system P, Q;");
  ASSERT_TRUE(system);
  Pointer<PWList> list = createDBMPWList(17609, createQueuePWOrder(), system);
  test::OwnedState initial(system->calcInitial());
  ASSERT_TRUE(initial->ok());
  WaitingState offered{initial.get(), true, 12345};
  ASSERT_TRUE(list->tryPut(&offered));
  GlobalStateReference* reference = nullptr;
  ASSERT_TRUE(list->tryGet(&reference));
  test::OwnedState back(system->calcInitial());
  back->setLocation(0, 0);
  back->getIntegerReference()[0] = 0;
  reference->writeDiscreteTo(back.get());
  reference->writeSymbolicTo(back.get());
  EXPECT_EQ(back->getLocation(0), 1);
  EXPECT_EQ(back->getIntegerReference()[1], -1);
  EXPECT_EQ(back->relation(initial.get()), GlobalState::equal);
}

} // namespace
} // namespace orvela
