#include "pwlist/HashingPWList.h"

#include "ListTestFixture.h"
#include "language/ParseSystem.h"

namespace orvela {
namespace {

using test::OwnedState;
using Seen = std::vector<std::pair<int, std::pair<int, int>>>;

class HashingPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createDBMPWList(buckets, order, shape());
  }
  static std::size_t nodesInUse(PWList& list) {
    return static_cast<ChunkPWListBase&>(list).nodesInUse();
  }
};

TEST_F(HashingPWListTest, AReferenceGivesBackTheStoredStateExactly) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = state(3, -4, 2, 5, 9, 17);
  test::restrictClock(s.get(), 2, 1, 8);
  s->setTraceId(42);
  ASSERT_TRUE(put(*list, s));
  GlobalStateReference* reference = get(*list);
  ASSERT_NE(reference, nullptr);
  OwnedState back = test::makeState(model, {0, 0}, {0, 0});
  back->getUnpackedRegion()->touch(1); // stale marks must not survive
  reference->writeDiscreteTo(back.get());
  reference->writeSymbolicTo(back.get());
  EXPECT_EQ(back->getLocation(0), 3);
  EXPECT_EQ(back->getLocation(1), 9);
  EXPECT_EQ(back->getIntegerReference()[0], -4);
  EXPECT_EQ(back->getIntegerReference()[1], 17);
  EXPECT_EQ(back->getTraceId(), 42);
  EXPECT_TRUE(back->getUnpackedRegion()->isClosed());
  EXPECT_EQ(back->relation(s.get()), Inclusion::equal);
  EXPECT_TRUE(reference->getFlag());
}

TEST_F(HashingPWListTest, CoveringWorksInBothDirections) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState small = state(1, 0, 2, 3, 2), large = state(1, 0, 0, 5, 2),
             inside = state(1, 0, 1, 4, 2);
  EXPECT_TRUE(put(*list, small));
  EXPECT_TRUE(put(*list, large)); // drops the small waiting state
  EXPECT_EQ(list->getSize(), 2u); // the dropped entry counts until purged
  EXPECT_EQ(check(*list), "");
  EXPECT_FALSE(put(*list, inside));
  EXPECT_FALSE(put(*list, large)); // an equal state is covered too
  EXPECT_EQ(list->getStored(), 2u);
  EXPECT_EQ(enumerate(*list), (Seen{{10, {0, 5}}}));

  GlobalStateReference* reference = get(*list);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(read(reference)->relation(large.get()), Inclusion::equal);
  EXPECT_EQ(list->getSize(), 1u); // purged on the way to the front
  reference->release(false);
  EXPECT_EQ(get(*list), nullptr);
  // a passed state still covers
  EXPECT_FALSE(put(*list, small));
  EXPECT_EQ(check(*list), "");
}

int locationZero(const GlobalState* s) { return -s->getLocation(0); }

TEST_F(HashingPWListTest, QueueStackAndPriorityOrders) {
  const std::pair<WaitingStore*, std::vector<int>> orders[] = {
      {createQueuePWOrder(), {2, 5, 1}},
      {createStackPWOrder(), {1, 5, 2}},
      {createPriorityPWOrder(&locationZero), {5, 2, 1}},
  };
  for (const auto& [order, expected] : orders) {
    Pointer<PWList> list = makeList(order);
    for (int k : {2, 5, 1})
      ASSERT_TRUE(put(*list, state(k, 0, 0, 1)));
    std::vector<int> seen;
    while (GlobalStateReference* reference = get(*list)) {
      seen.push_back(read(reference)->getLocation(0));
      reference->release(true);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(list->getExplored(), 3u);
  }
}

// A state being explored may be covered by one of its own successors (a
// search that emits successors before releasing its reference): the held
// state stays readable and is forgotten when released.
TEST_F(HashingPWListTest, AHeldStateCoveredBeforeReleaseStaysReadableAndIsForgotten) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState held = state(1, 0, 2, 3), wider = state(1, 0, 0, 6);
  ASSERT_TRUE(put(*list, held));
  GlobalStateReference* reference = get(*list);
  ASSERT_TRUE(put(*list, wider));
  EXPECT_EQ(check(*list), "");
  EXPECT_EQ(read(reference)->relation(held.get()), Inclusion::equal);
  EXPECT_EQ(read(get(*list))->relation(held.get()), Inclusion::equal); // still held
  reference->release(false);
  EXPECT_EQ(check(*list), "");
  EXPECT_EQ(enumerate(*list), (Seen{{10, {0, 6}}}));
  EXPECT_EQ(nodesInUse(*list), 1u);
  GlobalStateReference* next = get(*list);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(read(next)->relation(wider.get()), Inclusion::equal);
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
    OwnedState a = state(1, 0, 2, 3), passed = state(3, 0, 0, 4), b = state(2, 0, 1, 1),
               bWider = state(2, 0, 0, 9), large = state(4, 0, 5, 20000);
    ASSERT_TRUE(put(*list, a));
    ASSERT_TRUE(put(*list, passed));
    get(*list)->release(false); // the chain: passed, a (waiting)
    ASSERT_TRUE(put(*list, b));
    GlobalStateReference* held = get(*list);
    ASSERT_EQ(read(held)->relation(b.get()), Inclusion::equal);
    if (detached) {
      ASSERT_TRUE(put(*list, bWider));
    }
    ASSERT_TRUE(chunks.layout().narrow());
    ASSERT_TRUE(put(*list, large));
    EXPECT_FALSE(chunks.layout().narrow());
    EXPECT_GT(chunks.nodeBytes(), narrowBytes);
    EXPECT_EQ(check(*list), "");
    EXPECT_EQ(read(held)->relation(b.get()), Inclusion::equal);
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

TEST_F(HashingPWListTest, RandomOperationsAgreeWithABruteForceModel) {
  for (bool queue : {true, false}) {
    SCOPED_TRACE(queue ? "queue" : "stack");
    Pointer<PWList> list = makeList(queue ? createQueuePWOrder() : createStackPWOrder(), 3);
    std::size_t passed = 0;
    runAgainstModel(*list, queue, 97531, passed);
  }
}

} // namespace
} // namespace orvela
