#include "engine/TransitionFilter.h"

#include "engine/SuccessorPair.h"

namespace orvela {

TransitionFilter::TransitionFilter(const Pointer<System>& system) : system_(system) {}

bool TransitionFilter::put(GlobalState* state) {
  if (depth_ == levels_.size())
    levels_.push_back(std::make_unique<MoveEnumerator>(*system_));
  MoveEnumerator& moves = *levels_[depth_];
  ++depth_;
  struct Leave {
    std::size_t& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  moves.enumerate(state, [&](const Transition** move) {
    SuccessorPair pair(state, move);
    passOn(&pair);
    return true;
  });
  return true;
}

Filter* createTransitionFilter(const Pointer<System>& system) {
  return new TransitionFilter(system);
}

} // namespace orvela
