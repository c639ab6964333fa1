#pragma once
// Move enumeration on a state held by the passed/waiting list: the enumerator
// of every search.

#include "engine/MoveEnumerator.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "symbolic/GlobalStateReference.h"

#include <vector>

namespace orvela {

/// `tryPut(GlobalStateReference* ref)`: reads the discrete part of the state
/// behind `ref`, enumerates its enabled moves (see `MoveEnumerator`) and emits
/// one successor pair per move whose state is a copy of the source state that
/// the sink owns. The reference is released with `release(!getFlag())` as soon
/// as its zone has been read, or at once when the state has no move.
///
/// Emission is deferred by one move: the pair of a move is emitted when the
/// next move is found, from a copy of the source state, and the last move
/// gets the block that held the source state. A state with k moves therefore
/// costs k - 1 copies. Answers true; the sink's answers are ignored.
class SearchTransitionFilter final
    : public ItemFilter<SearchTransitionFilter, GlobalStateReference> {
public:
  SearchTransitionFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);
  /// Returns both scratch states to the allocator.
  ~SearchTransitionFilter() override;

  bool put(GlobalStateReference* ref);

private:
  /// A move is in the enumerator's array: make it the pending one, emitting
  /// the one pending before it.
  void defer(GlobalStateReference* ref, const Transition** move);
  /// Emits `cur_` with the pending move and takes a fresh block for `cur_`.
  void flush();

  Pointer<System> system_;
  StateBlocks blocks_;
  MoveEnumerator moves_;
  GlobalState* cur_;
  GlobalState* spare_;
  bool pending_ = false;
  std::vector<const Transition*> pendingMove_;
};

/// A new filter (reference count 0).
Filter* createSearchTransitionFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator);

} // namespace orvela
