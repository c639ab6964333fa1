#pragma once
// The steps that turn a move into a symbolic successor: the edges' guards,
// target locations and updates, then delay and invariants. Each step drops
// the state, returning it to the allocator, when it empties the zone.

#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "engine/SuccessorPair.h"

#include <vector>

namespace orvela {

/// `tryPut(SuccessorPair*)` on a pair whose state it owns: applies the clock
/// guards of every edge (dropping the state, answer false, when a guard fails
/// or the zone becomes empty), moves each edge's process to the edge's target,
/// then executes the updates of the edges in array order, so that a
/// receiver's update of a variable overwrites the sender's. Passes the pair
/// on and answers the sink's answer. Integer guards are not tested here: the
/// transition filters emit only moves whose integer guards hold.
class SuccessorFilter : public AbstractFilter {
public:
  SuccessorFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

  bool tryPut(void* item) override;

protected:
  /// The steps above on (state, edges); the state is owned.
  bool advance(GlobalState* state, const Transition** edges);

  Pointer<System> system_;
  StateBlocks blocks_;
};

/// `tryPut(SuccessorPair*)` on a pair whose state stays the caller's: answers
/// false, without copying, when an integer guard of an edge fails in the
/// state; otherwise runs the `SuccessorFilter` steps on a copy of the state
/// in a block of the allocator.
class CopyingSuccessorFilter final : public SuccessorFilter {
public:
  CopyingSuccessorFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

  bool tryPut(void* item) override;
};

/// `tryPut(SuccessorPair*)`: lets time pass unless some process is in an
/// urgent or committed location or an urgent synchronisation is enabled,
/// then restricts the zone to the invariants of the current locations. Drops
/// the state (answer false) when that empties the zone; otherwise passes the
/// pair on and answers the sink's answer.
class DelayFilter final : public ItemFilter<DelayFilter, SuccessorPair> {
public:
  DelayFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

  bool put(SuccessorPair* pair);

  /// Whether time may pass in `state`.
  bool mayDelay(const GlobalState* state) const;

private:
  Pointer<System> system_;
  StateBlocks blocks_;
  /// Per location of every process (processes one after another): urgent or
  /// committed.
  std::vector<bool> stopsTime_;
  std::vector<std::size_t> locationBase_;
  bool urgentChannels_; ///< the model has an urgent channel
};

/// Factories; each returns a new filter with reference count 0.
Filter* createSuccessorFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);
Filter* createCopyingSuccessorFilter(const Pointer<System>& system,
                                     const Pointer<Allocator>& allocator);
Filter* createDelayFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

} // namespace orvela
