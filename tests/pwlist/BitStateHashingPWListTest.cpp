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
