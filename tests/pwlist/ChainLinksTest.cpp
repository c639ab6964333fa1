#include "pwlist/ChainLinks.h"

#include "pwlist/ChainCheck.h"
#include "pwlist/WaitingStores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <vector>

namespace orvela {
namespace {

// Chains over bare state nodes (no stored state), with a queue store.
class Chains {
public:
  explicit Chains(std::size_t buckets) : heads(buckets, 0) {}

  StateNode* newState() {
    StateNode& node = states.emplace_back();
    node.link = 0xdead0; // whatever a fresh block holds
    return &node;
  }
  WaitingNode* pushNew(std::size_t bucket, bool store = true) {
    WaitingNode* waiting = this->store->add(newState(), store, nullptr);
    pushWaiting(&heads[bucket], waiting);
    return waiting;
  }
  std::string check() { return checkChains(heads.data(), heads.size(), *store); }

  /// The chain of `bucket` as state nodes, each marked waiting or not.
  std::vector<std::pair<const StateNode*, bool>> chain(std::size_t bucket) const {
    std::vector<std::pair<const StateNode*, bool>> nodes;
    for (ChainWord a = heads[bucket]; a; a = nextAddress(*linkAt(a)))
      nodes.emplace_back(storedAt(a), isWaitingWord(*linkAt(a)));
    return nodes;
  }

  std::vector<ChainWord> heads;
  std::deque<StateNode> states;
  Pointer<WaitingStore> store = new WaitingQueueStore2();
};

// Random pushes, releases (keep and drop), removals at arbitrary positions and
// purges of the store, against a model of each chain as a list of
// (state, waiting) pairs. Fixed seed.
TEST(ChainLinks, RandomOperationsMatchAModelAndKeepTheInvariants) {
  const std::size_t buckets = 4;
  Chains c(buckets);
  using Chain = std::vector<std::pair<const StateNode*, bool>>;
  std::vector<Chain> model(buckets);
  std::map<const StateNode*, WaitingNode*> waitingOf;
  std::deque<WaitingNode*> expectedQueue; // waiting nodes in insertion order
  std::mt19937 random(20240607);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };

  for (int step = 0; step < 4000; ++step) {
    const std::size_t b = pick(buckets);
    Chain& chain = model[b];
    switch (pick(5)) {
    case 0:
    case 1: { // push a new waiting state
      WaitingNode* w = c.pushNew(b);
      chain.insert(chain.begin(), {w->stateNode(), true});
      waitingOf[w->stateNode()] = w;
      expectedQueue.push_back(w);
      break;
    }
    case 2: { // release a waiting state, keeping or dropping it
      auto it = std::find_if(chain.begin(), chain.end(), [](auto& e) { return e.second; });
      if (it == chain.end())
        break;
      WaitingNode* w = waitingOf[it->first];
      if (pick(2)) {
        replaceByState(w);
        it->second = false;
      } else {
        unlinkWaiting(w);
        chain.erase(it);
      }
      break;
    }
    case 3: { // remove the node at a random position, as a covered state
      if (chain.empty())
        break;
      const std::size_t position = pick(chain.size());
      ChainWord* word = &c.heads[b];
      for (std::size_t k = 0; k < position; ++k)
        word = linkAt(nextAddress(*word));
      const ChainWord removed = unlinkAfter(word);
      if (chain[position].second) {
        EXPECT_EQ(removed, addressOf(waitingOf[chain[position].first]));
        waitingAt(removed)->state = 0;
      } else {
        EXPECT_EQ(removed, addressOf(chain[position].first));
      }
      chain.erase(chain.begin() + std::ptrdiff_t(position));
      break;
    }
    case 4: { // the store discards freed nodes at its front
      while (!expectedQueue.empty() && expectedQueue.front()->freed())
        expectedQueue.pop_front();
      WaitingNode* front = c.store->front();
      EXPECT_EQ(front, expectedQueue.empty() ? nullptr : expectedQueue.front());
      break;
    }
    }
    ASSERT_EQ(c.check(), "") << "after step " << step;
    ASSERT_EQ(c.chain(b), chain) << "after step " << step;
  }
  for (std::size_t b = 0; b < buckets; ++b)
    EXPECT_EQ(c.chain(b), model[b]);
}

} // namespace
} // namespace orvela
