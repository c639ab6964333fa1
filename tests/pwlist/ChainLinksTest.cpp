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

TEST(ChainCheck, ReportsEachKindOfDamage) {
  Chains c(2);
  WaitingNode* w1 = c.pushNew(0);
  WaitingNode* w2 = c.pushNew(0);
  StateNode* s1 = w1->stateNode();
  replaceByState(w1);
  WaitingNode* w3 = c.pushNew(1);
  ASSERT_EQ(c.check(), "");

  const ChainWord* savedBack = w2->back;
  w2->back = &c.heads[1];
  EXPECT_NE(c.check().find("back link"), std::string::npos) << c.check();
  w2->back = const_cast<ChainWord*>(savedBack);

  w3->bucket = &c.heads[0];
  EXPECT_NE(c.check().find("another bucket"), std::string::npos) << c.check();
  w3->bucket = &c.heads[1];

  c.heads[1] |= waitingTag;
  EXPECT_NE(c.check().find("tag"), std::string::npos) << c.check();
  c.heads[1] &= ~waitingTag;

  // a waiting node freed without leaving its chain
  const std::uintptr_t savedState = w3->state;
  w3->state = 0;
  EXPECT_NE(c.check(), "");
  w3->state = savedState;

  // a waiting node that left its chain without being freed
  const ChainWord savedHead = c.heads[1];
  c.heads[1] = 0;
  EXPECT_NE(c.check().find("in no chain"), std::string::npos) << c.check();
  c.heads[1] = savedHead;

  // a cycle: the passed node at the end points back to the head
  s1->link = c.heads[0];
  EXPECT_NE(c.check().find("twice"), std::string::npos) << c.check();
  s1->link = 0;

  EXPECT_EQ(c.check(), "");
  std::string refusal =
      checkChains(c.heads.data(), 2, *c.store, [&](const StateNode* node, std::size_t bucket) {
        return node == s1 && bucket == 0 ? "refused" : "";
      });
  EXPECT_NE(refusal.find("refused"), std::string::npos);
}

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
