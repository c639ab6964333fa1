#pragma once
// The items of the liveness search: a successor together with the whole move
// that produced it, as it travels through the search, and as it is kept on the
// pending list and the search path.

#include "model/Successor.h"

#include <vector>

namespace orvela {

/// A `Successor` that also points to the null-terminated array of every edge
/// of its move (a broadcast may have more than two). The array belongs to the
/// member that emitted the item and is valid only during the `tryPut` call
/// that carries it. The initial state has an empty move and no edges.
struct MoveSuccessor : Successor {
  const Transition* const* move;
};

/// A successor kept beyond the call that delivered it: the state (owned by
/// whoever keeps the step) and a copy of its move.
struct PathStep {
  PathStep() = default;
  /// Copies the move of `item`; the state is taken over.
  explicit PathStep(const MoveSuccessor& item);

  /// The null-terminated edges of the move.
  const Transition* const* edges() const { return move.data(); }

  Successor successor{nullptr, nullptr, nullptr};
  std::vector<const Transition*> move{nullptr};
};

inline PathStep::PathStep(const MoveSuccessor& item) : successor(item) {
  move.clear();
  for (const Transition* const* edge = item.move; *edge; ++edge)
    move.push_back(*edge);
  move.push_back(nullptr);
}

} // namespace orvela
