#include "pwlist/ConstredPWList.h"

#include "ListTestFixture.h"

namespace orvela {
namespace {

using test::OwnedState;

class ConstredPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(WaitingStore* order, unsigned buckets = 7) {
    return createCDSPWList(buckets, order, shape());
  }
  static ConstredPWList& constred(PWList& list) { return static_cast<ConstredPWList&>(list); }
};

TEST_F(ConstredPWListTest, AnExploredStateIsPackedAndGivesBackItsExactZone) {
  Pointer<PWList> list = makeList(createQueuePWOrder());
  OwnedState s = test::makeState({3, 0}, {-4, 17});
  test::restrictClock(s.get(), 1, 2, 5);
  test::restrictClock(s.get(), 2, 1, 8);
  s->tighten(2, 1, 2 * 3 + 1); // x2 - x1 <= 3: a difference constraint to keep
  ASSERT_TRUE(s->ok());
  s->setTraceId(42);
  OwnedState waiting = state(7, 0, 0, 1);
  ASSERT_TRUE(put(*list, s));
  ASSERT_TRUE(put(*list, waiting));

  GlobalStateReference* reference = get(*list);
  ASSERT_EQ(read(reference)->relation(s.get()), GlobalState::equal);
  reference->release(false);
  EXPECT_EQ(constred(*list).packedInUse(), 1u);
  EXPECT_EQ(constred(*list).nodesInUse(), 1u); // the waiting state's record
  EXPECT_EQ(check(*list), "");

  // Enumeration reads both forms: the passed state is unpacked exactly.
  int passedSeen = 0;
  Pointer<PureSource> states = list->enumStates();
  GlobalStateReference* stored;
  while (states->tryGet(&stored)) {
    OwnedState back = read(stored);
    if (back->getLocation(0) == 3) {
      ++passedSeen;
      EXPECT_EQ(back->relation(s.get()), GlobalState::equal);
      EXPECT_EQ(back->getIntegerReference()[1], 17);
      EXPECT_EQ(back->getTraceId(), 42);
      EXPECT_TRUE(back->getUnpackedRegion()->isClosed());
    } else {
      EXPECT_EQ(back->relation(waiting.get()), GlobalState::equal);
    }
  }
  EXPECT_EQ(passedSeen, 1);
}

TEST_F(ConstredPWListTest, PackedStatesCoverNewStatesAndAreDroppedByWiderOnes) {
  Pointer<PWList> list = makeList(createQueuePWOrder(), 1);
  ASSERT_TRUE(put(*list, state(1, 0, 0, 5)));
  get(*list)->release(false);
  ASSERT_EQ(constred(*list).packedInUse(), 1u);

  EXPECT_FALSE(put(*list, state(1, 0, 1, 4))); // inside: the quick test rejects it
  EXPECT_FALSE(put(*list, state(1, 0, 0, 5))); // equal
  EXPECT_TRUE(put(*list, state(1, 1, 1, 4)));  // another integer value
  EXPECT_TRUE(put(*list, state(1, 0, 3, 9)));  // overlapping only
  EXPECT_EQ(constred(*list).packedInUse(), 1u);
  EXPECT_TRUE(put(*list, state(1, 0, 0, 9))); // includes the packed state and the overlap
  EXPECT_EQ(constred(*list).packedInUse(), 0u);
  EXPECT_EQ(check(*list), "");
  using Seen = std::vector<std::pair<int, std::pair<int, int>>>;
  EXPECT_EQ(enumerate(*list), (Seen{{10, {0, 9}}, {11, {1, 4}}}));
}

// Packing must not change what the list keeps.
TEST_F(ConstredPWListTest, RandomOperationsAgreeWithTheDefaultListsSemantics) {
  for (bool queue : {true, false}) {
    SCOPED_TRACE(queue ? "queue" : "stack");
    Pointer<PWList> list = makeList(queue ? createQueuePWOrder() : createStackPWOrder(), 3);
    std::size_t passed = 0;
    runAgainstModel(*list, queue, 24680, passed);
    EXPECT_EQ(constred(*list).packedInUse(), passed);
  }
}

} // namespace
} // namespace orvela
