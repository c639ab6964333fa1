#include "checkers/FrontStack.h"

#include "checkers/Detector.h"
#include "pwlist/WaitingStateFilters.h"
#include "symbolic/GlobalState.h"
#include "symbolic/ScratchRegion.h"

#include <utility>

namespace orvela {

namespace {

bool zonesMeet(const GlobalState& a, const GlobalState& b) {
  const Region& zone = *a.getRegion();
  ScratchRegion both(zone.getDim(), false);
  zone.unpackTo(both.get());
  return both->intersect(b.getRegion());
}

} // namespace

FrontStack::FrontStack(int buckets) : buckets_(std::size_t(buckets > 0 ? buckets : 1), nullptr) {}

FrontStack::~FrontStack() {
  while (top_)
    delete std::exchange(top_, top_->below);
}

void FrontStack::push(PathStep step, std::size_t mark) {
  assert(step.successor.state && "a path step without a state");
  Node* node = new Node{std::move(step), top_, nullptr, nullptr, mark};
  Node*& head = buckets_[discreteHash(node->step.successor.state) % buckets_.size()];
  node->chainNext = head;
  node->chainLink = &head;
  if (head)
    head->chainLink = &node->chainNext;
  head = node;
  top_ = node;
  ++depth_;
}

PathStep FrontStack::pop() {
  if (!top_)
    return PathStep();
  Node* node = std::exchange(top_, top_->below);
  *node->chainLink = node->chainNext;
  if (node->chainNext)
    node->chainNext->chainLink = node->chainLink;
  --depth_;
  PathStep step = std::move(node->step);
  delete node;
  return step;
}

const FrontStack::Node* FrontStack::find(const GlobalState* state, Detector& detector) const {
  for (const Node* node = buckets_[discreteHash(state) % buckets_.size()]; node;
       node = node->chainNext) {
    const GlobalState& candidate = *node->step.successor.state;
    if (candidate.discEqual(state) && zonesMeet(*state, candidate) &&
        detector.prestabilizable(*node))
      return node;
  }
  return nullptr;
}

} // namespace orvela
