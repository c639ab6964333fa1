#include "engine/SearchTransitionFilter.h"

#include "engine/SuccessorPair.h"

#include <utility>

namespace orvela {

SearchTransitionFilter::SearchTransitionFilter(const Pointer<System>& system,
                                               const Pointer<Allocator>& allocator)
    : system_(system), blocks_(*system, allocator), moves_(*system), cur_(blocks_.create()),
      spare_(blocks_.create()), pendingMove_(moves_.moveCapacity() + 2, nullptr) {}

SearchTransitionFilter::~SearchTransitionFilter() {
  blocks_.drop(cur_);
  blocks_.drop(spare_);
}

bool SearchTransitionFilter::put(GlobalStateReference* ref) {
  ref->writeDiscreteTo(cur_);
  bool found = false;
  moves_.enumerate(cur_, [&](const Transition** move) {
    found = true;
    defer(ref, move);
    return true;
  });
  if (!found)
    ref->release(!ref->getFlag());
  else
    flush();
  return true;
}

void SearchTransitionFilter::defer(GlobalStateReference* ref, const Transition** move) {
  if (!pending_) {
    ref->writeSymbolicTo(cur_);
    ref->release(!ref->getFlag());
  } else {
    *spare_ = *cur_;
    flush();
    std::swap(cur_, spare_);
  }
  std::size_t k = 0;
  for (; move[k]; ++k)
    pendingMove_[k] = move[k];
  pendingMove_[k] = nullptr;
  pending_ = true;
}

void SearchTransitionFilter::flush() {
  pending_ = false;
  SuccessorPair pair(cur_, pendingMove_.data());
  passOn(&pair);
  cur_ = blocks_.create();
}

Filter* createSearchTransitionFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator) {
  return new SearchTransitionFilter(system, allocator);
}

} // namespace orvela
