#pragma once
// The conversion from the successor pairs of the successor stages to the
// successor items of the liveness search.

#include "checkers/PathStep.h"
#include "engine/Pipeline.h"
#include "engine/SuccessorPair.h"

namespace orvela {

/// `tryPut(SuccessorPair*)` passes on a `MoveSuccessor` {first edge, second
/// edge (null when there is no first), state, the pair's edges}; answers the
/// sink's answer.
class ToSuccessorFilter final : public ItemFilter<ToSuccessorFilter, SuccessorPair> {
public:
  bool put(SuccessorPair* pair) {
    const Transition* first = pair->second[0];
    MoveSuccessor successor{{first, first ? pair->second[1] : nullptr, pair->first}, pair->second};
    return passOn(&successor);
  }
};

/// A new filter (reference count 0).
inline Filter* createToSuccessorFilter() { return new ToSuccessorFilter(); }

} // namespace orvela
