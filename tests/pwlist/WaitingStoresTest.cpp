#include "pwlist/WaitingStores.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace orvela {
namespace {

// The priority store reads priorities through this table, indexed by the
// address given as the state.
std::vector<int> priorities;
int priorityOf(const GlobalState* state) {
  return priorities[std::size_t(reinterpret_cast<std::uintptr_t>(state))];
}
const GlobalState* stateNumber(std::size_t k) {
  return reinterpret_cast<const GlobalState*>(std::uintptr_t(k));
}

class WaitingStoresTest : public ::testing::Test {
protected:
  /// Adds states 0..n-1 in order; answers their waiting nodes.
  std::vector<WaitingNode*> addStates(WaitingStore& store, std::size_t n) {
    std::vector<WaitingNode*> added;
    for (std::size_t k = 0; k < n; ++k)
      added.push_back(store.add(&nodes[k], k % 2 == 0, stateNumber(k)));
    return added;
  }
  /// Takes every waiting node out in store order, freeing each as a release
  /// would; answers the state numbers.
  std::vector<std::size_t> drain(WaitingStore& store) {
    std::vector<std::size_t> order;
    while (WaitingNode* w = store.front()) {
      order.push_back(std::size_t(w->stateNode() - nodes));
      w->state = 0;
    }
    return order;
  }
  StateNode nodes[8] = {};
};

TEST_F(WaitingStoresTest, PriorityOrderIsSmallestFirstThenInsertion) {
  priorities = {5, 1, 5, -2, 1, 5};
  PriorityPWListStore store(&priorityOf);
  std::vector<WaitingNode*> added = addStates(store, 6);
  added[3]->state = 0; // the only node of the smallest priority, freed
  EXPECT_EQ(store.getCount(), 6u);
  EXPECT_EQ(drain(store), (std::vector<std::size_t>{1, 4, 0, 2, 5}));
  EXPECT_EQ(store.getCount(), 0u);

  Pointer<WaitingStore> twin = store.clone();
  twin->add(&nodes[0], true, stateNumber(2));
  twin->add(&nodes[1], true, stateNumber(1)); // same priority function
  EXPECT_EQ(drain(*twin), (std::vector<std::size_t>{1, 0}));
}

} // namespace
} // namespace orvela
