#include "pwlist/HashingPWList.h"

#include "ListTestFixture.h"

#include <tuple>

namespace orvela {
namespace {

using test::OwnedState;

class HashingPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createDBMPWList(buckets, order, shape());
  }
};

int minusLocationZero(const GlobalState* s) { return -s->getLocation(0); }

// The waiting orders, with the first state dropped by a wider one of its
// discrete part that waits in its own place: the priority store takes the
// smallest first, equals in insertion order, and skips the freed node at its
// front. Each list runs a clone of the order it is given.
TEST_F(HashingPWListTest, QueueStackAndPriorityOrders) {
  const std::pair<WaitingStore*, std::vector<int>> orders[] = {
      {createQueuePWOrder(), {20, 10, 51, 50}},
      {createStackPWOrder(), {50, 51, 10, 20}},
      {createPriorityPWOrder(&minusLocationZero), {51, 50, 20, 10}},
  };
  for (const auto& [order, expected] : orders) {
    Pointer<PWList> list = makeList(order);
    for (auto [l0, i0, hi] : {std::tuple{5, 0, 1}, {2, 0, 1}, {1, 0, 1}, {5, 1, 1}, {5, 0, 3}})
      ASSERT_TRUE(put(*list, state(l0, i0, 0, hi)));
    std::vector<int> seen;
    while (GlobalStateReference* reference = get(*list)) {
      const OwnedState s = read(reference);
      seen.push_back(s->getLocation(0) * 10 + s->getIntegerReference()[0]);
      reference->release(true);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(list->getExplored(), 4u);
  }
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
