#pragma once
// Step-by-step simulation of a loaded model: its initial state, the enabled
// moves of a state with their successors, the move a client names by its
// edges, and whether a search would keep a state. Owns the successor
// pipeline it runs states through.

#include "engine/MoveEnumerator.h"
#include "engine/NormalisationInfo.h"
#include "engine/Pipeline.h"
#include "engine/StorageReduction.h"
#include "model/System.h"
#include "symbolic/Allocator.h"
#include "symbolic/GlobalState.h"

#include <functional>
#include <vector>

namespace orvela {

/// A state and the edges of the move that led to it (null-terminated).
using StepVisitor = std::function<void(const GlobalState* state, const Transition* const* edges)>;

class Simulator {
public:
  /// Simulates `system`, whose states come from `allocator`; with
  /// `normalise`, successors are normalised under `normalisation`.
  Simulator(const Pointer<System>& system, const Pointer<Allocator>& allocator, bool normalise,
            const NormalisationInfo& normalisation);
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  /// The model's initial state after letting time pass (unless time may not
  /// pass there) and restricting it to the invariants; null when that leaves
  /// nothing.
  Pointer<GlobalState> initialState() const;
  /// Calls `deliver` with every enabled move of `state` and the successor it
  /// leads to (after delay and, when normalising, normalisation). The
  /// successor is freed after the call.
  void enabledMoves(const GlobalState* state, const StepVisitor& deliver);
  /// The edges of a move, null-terminated.
  using Move = std::vector<const Transition*>;
  /// The move of `state` made of the edges of the null-terminated `requested`
  /// (in any order), in the order in which `enabledMoves` lists it, so that
  /// it leads to the successor listed there. Empty when the move is disabled
  /// by the integer guards of its own edges: it would be listed if they held.
  /// Any other set of edges (an edge that does not leave its process's
  /// current location, a synchronising edge without its partner, partners
  /// on different channels, in the same direction or in the same process,
  /// a move the committed locations forbid, a broadcast without each of its
  /// receivers) throws `ProtocolError` "State inconsistent with current
  /// system".
  Move moveOf(const GlobalState* state, const Transition* const* requested);
  /// Calls `deliver` with the successor of `state` by `move`, a move of
  /// `state` from `moveOf`, if its clock guards and the invariants leave one.
  void successors(const GlobalState* state, const Move& move, const StepVisitor& deliver);
  /// Whether a search under `reduction` keeps `state`, reached by `edges`.
  bool isStored(StorageReduction reduction, const GlobalState* state,
                const Transition* const* edges) const;

private:
  Pointer<System> system_;
  Pointer<Allocator> stateAlloc_;
  MoveEnumerator moves_; ///< for checking requested moves
  Pointer<Filter> transitionFilter_, successorFilter_, copyingSuccessorFilter_, delayFilter_,
      normalisationFilter_;
};

} // namespace orvela
