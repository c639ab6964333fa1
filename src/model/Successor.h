#pragma once
// A successor of a state: the edges of the move that produced it and the
// state itself.

namespace orvela {

class GlobalState;
class Transition;

/// The successor item of the liveness filters and of `System::noSave`.
struct Successor {
  const Transition* first;  ///< the edge of the (first) moving process
  const Transition* second; ///< the partner's edge, null for a move of one process
  GlobalState* state;       ///< the state reached
};

} // namespace orvela
