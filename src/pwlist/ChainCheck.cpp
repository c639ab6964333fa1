#include "pwlist/ChainCheck.h"

#include "pwlist/WaitingStores.h"

#include <sstream>
#include <unordered_set>

namespace orvela {

namespace {

template <class... Parts> std::string describe(const Parts&... parts) {
  std::ostringstream text;
  (text << ... << parts);
  return text.str();
}

} // namespace

std::string
checkChains(const ChainWord* heads, std::size_t buckets, const WaitingStore& store,
            const std::function<std::string(const StateNode*, std::size_t)>& checkNode) {
  std::unordered_set<const WaitingNode*> waitingInStore;
  std::size_t freedInStore = 0;
  store.forEach([&](const WaitingNode& node) {
    if (node.freed())
      ++freedInStore;
    else
      waitingInStore.insert(&node);
  });
  if (waitingInStore.size() + freedInStore != store.getCount())
    return describe("store count ", store.getCount(), " differs from the ",
                    waitingInStore.size() + freedInStore, " nodes it holds");

  std::unordered_set<ChainWord> seenNodes;
  std::unordered_set<const StateNode*> seenStates;
  std::size_t waitingInChains = 0;
  for (std::size_t b = 0; b < buckets; ++b) {
    const ChainWord* word = &heads[b];
    if (isWaitingWord(*word))
      return describe("bucket ", b, ": head carries a tag");
    for (std::size_t position = 0; nextAddress(*word); ++position) {
      const ChainWord address = nextAddress(*word);
      if (!seenNodes.insert(address).second)
        return describe("bucket ", b, " position ", position,
                        ": node reached twice (a cycle or a shared node)");
      const StateNode* state;
      if (isWaitingWord(*linkAt(address))) {
        const WaitingNode* waiting = waitingAt(address);
        if (waiting->back != word)
          return describe("bucket ", b, " position ", position,
                          ": back link does not name the word pointing here");
        if (waiting->bucket != &heads[b])
          return describe("bucket ", b, " position ", position,
                          ": waiting node names another bucket");
        if (waiting->freed())
          return describe("bucket ", b, " position ", position,
                          ": freed waiting node still in a chain");
        if (!waitingInStore.count(waiting))
          return describe("bucket ", b, " position ", position,
                          ": waiting node not held by the store");
        ++waitingInChains;
        state = waiting->stateNode();
      } else {
        state = stateAt(address);
      }
      if (!seenStates.insert(state).second)
        return describe("bucket ", b, " position ", position, ": state node reached twice");
      if (checkNode) {
        std::string problem = checkNode(state, b);
        if (!problem.empty())
          return describe("bucket ", b, " position ", position, ": ", problem);
      }
      word = linkAt(address);
    }
  }
  if (waitingInChains != waitingInStore.size())
    return describe(waitingInStore.size() - waitingInChains,
                    " waiting nodes of the store are in no chain");
  return {};
}

} // namespace orvela
