#include "pwlist/BitStateHashingPWList.h"

#include "ListTestFixture.h"

namespace orvela {
namespace {

using test::OwnedState;

class BitStateHashingPWListTest : public test::ListTest {
protected:
  Pointer<PWList> makeList() {
    return createBitStateHashingPWList(1009, createQueuePWOrder(), 8388593, shape());
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

} // namespace
} // namespace orvela
