#include "pwlist/BitStateHashingPWList.h"

#include "ListTestFixture.h"
#include "dbm/Hash.h"

namespace orvela {
namespace {

using test::OwnedState;

class BitStateHashingPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList(unsigned bits = 8388593) {
    return createBitStateHashingPWList(1009, createQueuePWOrder(), bits, shape());
  }
  static BitStateHashingPWList& bitState(PWList& list) {
    return static_cast<BitStateHashingPWList&>(list);
  }
  /// Puts, gets and releases one state as the search does; true if it was
  /// explored.
  static bool explore(PWList& list, const OwnedState& s, bool store = true) {
    if (!put(list, s, store))
      return false;
    GlobalStateReference* reference = get(list);
    if (!reference)
      return false;
    reference->release(!reference->getFlag());
    return true;
  }
};

TEST_F(BitStateHashingPWListTest, AnExploredStateIsAcceptedAgainButNotExploredAgain) {
  Pointer<PWList> list = makeList();
  OwnedState s = state(1, 0, 0, 3);
  ASSERT_TRUE(explore(*list, s));
  EXPECT_EQ(bitState(*list).nodesInUse(), 0u); // explored states are not kept
  EXPECT_EQ(check(*list), "");
  EXPECT_TRUE(put(*list, s)); // the chains hold waiting states only
  EXPECT_EQ(get(*list), nullptr);
  EXPECT_EQ(bitState(*list).nodesInUse(), 0u); // skipped and forgotten
  EXPECT_EQ(list->getExplored(), 1u);
  // a different zone of the same discrete part is another state
  EXPECT_TRUE(explore(*list, state(1, 0, 0, 4)));
  EXPECT_TRUE(list->enumStates());
  GlobalStateReference* none;
  EXPECT_FALSE(list->enumStates()->tryGet(&none));
}

TEST_F(BitStateHashingPWListTest, OnlyKeptStatesSetTheirBitAndTheTableIsCleared) {
  Pointer<PWList> list = makeList();
  OwnedState s = state(1, 0, 0, 3);
  ASSERT_TRUE(explore(*list, s, false)); // dropped after exploration: bit clear
  EXPECT_TRUE(explore(*list, s, false));
  EXPECT_EQ(list->getExplored(), 2u);

  list = makeList(1); // every state has bit 0
  ASSERT_TRUE(explore(*list, state(1, 0, 0, 3)));
  EXPECT_FALSE(explore(*list, state(2, 1, 5, 7)));
  list->clear(); // the table is cleared too
  EXPECT_TRUE(explore(*list, state(2, 1, 5, 7)));
}

TEST_F(BitStateHashingPWListTest, WaitingStatesStillCoverEachOther) {
  Pointer<PWList> list = makeList();
  ASSERT_TRUE(put(*list, state(1, 0, 1, 2)));
  ASSERT_TRUE(put(*list, state(1, 0, 0, 5)));
  EXPECT_FALSE(put(*list, state(1, 0, 2, 3)));
  EXPECT_EQ(check(*list), "");
  GlobalStateReference* reference = get(*list);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(interval(read(reference).get()), std::make_pair(0, 5));
  reference->release(false);
  EXPECT_EQ(get(*list), nullptr);
}

TEST_F(BitStateHashingPWListTest, TheBitHashesLocationsComparedIntegersAndTheWholeZone) {
  Pointer<PWList> list = makeList();
  OwnedState s = test::makeState(model, {3, 1}, {-4, 9});
  test::restrictClock(s.get(), 1, 2, 5);
  const UnpackedRegion* zone = s->getUnpackedRegion();
  uint32_t h = hash(s->getLocations(), 2 * sizeof(uint16_t), 0);
  h = hash2(s->getIntegerTable()->getValues(), 2, h);
  h = hash2(zone->bounds(), 9, h);
  EXPECT_EQ(bitState(*list).bitIndex(s->getLocations(), s->getIntegerTable()->getValues(),
                                     zone->bounds()),
            h % 8388593u);
  // and that is the bit a kept state sets
  ASSERT_TRUE(explore(*list, s));
  EXPECT_TRUE(bitState(*list).isBitSet(h % 8388593u));
}

} // namespace
} // namespace orvela
