#include "engine/RandomTransitionFilter.h"

#include "engine/SuccessorPair.h"

#include <cstdlib>
#include <utility>

namespace orvela {

NewRandomTransitionFilter::NewRandomTransitionFilter(const Pointer<System>& system,
                                                     const Pointer<Allocator>& allocator)
    : system_(system), blocks_(*system, allocator), moves_(*system), scratch_(blocks_.create()) {}

NewRandomTransitionFilter::~NewRandomTransitionFilter() { blocks_.drop(scratch_); }

bool NewRandomTransitionFilter::put(GlobalStateReference* ref) {
  ref->writeDiscreteTo(scratch_);
  edges_.clear();
  candidates_.clear();
  moves_.enumerate(scratch_, [&](const Transition** move) {
    candidates_.push_back(edges_.size());
    for (; *move; ++move)
      edges_.push_back(*move);
    edges_.push_back(nullptr);
    return true;
  });
  for (std::size_t i = 1; i < candidates_.size(); ++i)
    std::swap(candidates_[i], candidates_[std::size_t(lrand48()) % i]);
  for (std::size_t start : candidates_) {
    ref->writeSymbolicTo(scratch_);
    SuccessorPair pair(scratch_, edges_.data() + start);
    passOn(&pair);
    scratch_ = blocks_.create();
    ref->writeDiscreteTo(scratch_);
  }
  ref->release(!ref->getFlag());
  return true;
}

Filter* createRandomTransitionFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator) {
  return new NewRandomTransitionFilter(system, allocator);
}

} // namespace orvela
