#include "pwlist/WaitingStores.h"

namespace orvela {

namespace {

WaitingNode* append(std::deque<WaitingNode>& nodes, StateNode* node, bool store) {
  WaitingNode& waiting = nodes.emplace_back();
  makeWaiting(waiting, node, store);
  return &waiting;
}

} // namespace

WaitingNode* DequeWaitingStore::add(StateNode* node, bool store, const GlobalState*) {
  ++count_;
  return append(nodes_, node, store);
}

void DequeWaitingStore::clear() {
  nodes_.clear();
  count_ = 0;
}

void DequeWaitingStore::forEach(const std::function<void(const WaitingNode&)>& visit) const {
  for (const WaitingNode& node : nodes_)
    visit(node);
}

WaitingNode* WaitingQueueStore2::front() {
  while (!nodes_.empty() && nodes_.front().freed()) {
    nodes_.pop_front();
    --count_;
  }
  return nodes_.empty() ? nullptr : &nodes_.front();
}

WaitingNode* WaitingStackStore2::front() {
  while (!nodes_.empty() && nodes_.back().freed()) {
    nodes_.pop_back();
    --count_;
  }
  return nodes_.empty() ? nullptr : &nodes_.back();
}

WaitingNode* PriorityPWListStore::add(StateNode* node, bool store, const GlobalState* state) {
  ++count_;
  return append(levels_[priority_(state)], node, store);
}

WaitingNode* PriorityPWListStore::front() {
  while (!levels_.empty() && !(cutoff_ && levels_.begin()->first > *cutoff_)) {
    std::deque<WaitingNode>& first = levels_.begin()->second;
    while (!first.empty() && first.front().freed()) {
      first.pop_front();
      --count_;
    }
    if (!first.empty())
      return &first.front();
    levels_.erase(levels_.begin());
  }
  return nullptr;
}

void PriorityPWListStore::clear() {
  levels_.clear();
  count_ = 0;
}

void PriorityPWListStore::forEach(const std::function<void(const WaitingNode&)>& visit) const {
  for (const auto& level : levels_)
    for (const WaitingNode& node : level.second)
      visit(node);
}

} // namespace orvela
