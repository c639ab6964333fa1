#pragma once
// The delay stage of the liveness search: a successor is kept only where the
// property holds, and lets time pass only as long as the property goes on
// holding.

#include "checkers/DisjunctiveForm.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "engine/SuccessorFilters.h"
#include "engine/SuccessorPair.h"

#include <vector>

namespace orvela {

/// `tryPut(SuccessorPair*)` on a pair whose state it owns (the state right
/// after a move): for every disjunct of the property whose discrete atoms
/// hold in the state, in order, the part of the state where the disjunct's
/// clock atoms hold is delayed as long as they keep holding and the
/// invariants allow, and passed on (a new state from the allocator, with the
/// pair's edges). A delay that leaves one disjunct where another one begins
/// goes on in that one (`checkTouching`). Answers true; the input state goes
/// back to the allocator.
///
/// Every valuation of a state passed on is reached from the input state by a
/// delay along which the property holds at every instant.
class RestrictedDelayFilter final : public ItemFilter<RestrictedDelayFilter, SuccessorPair> {
public:
  RestrictedDelayFilter(const Pointer<System>& system, const Pointer<Allocator>& allocator);

  /// The property φ; see `DisjunctiveForm` for what it may contain.
  void setExpression(const Pointer<TCTLExpression>& property);
  /// Whether time may pass in `state`.
  bool mayDelay(const GlobalState* state) const { return delay_->mayDelay(state); }

  bool put(SuccessorPair* pair);

private:
  /// Passes on every continuation of `state` (delayed within disjunct k) into
  /// a disjunct not yet used on this delay (`used`), recursively.
  void checkTouching(const Transition** edges, const GlobalState* state, std::vector<bool>& used);
  /// The states in which a delay leaving `state` (delayed within one
  /// disjunct) continues within disjunct m, at most two; none when the delay
  /// cannot enter m without a gap.
  std::vector<GlobalState*> delayInto(const GlobalState* state, std::size_t m);
  /// Lets time pass in `state`, then restricts it to the invariants and to
  /// disjunct k; drops it and answers null when that empties it.
  GlobalState* delayWithin(GlobalState* state, std::size_t k) const;
  void emit(GlobalState* state, const Transition** edges);

  StateBlocks blocks_;
  Pointer<System> system_;
  Pointer<DelayFilter> delay_;
  DisjunctiveForm disjuncts_;
};

/// A new filter (reference count 0).
RestrictedDelayFilter* createRestrictedDelayFilter(const Pointer<System>& system,
                                                   const Pointer<Allocator>& allocator);

} // namespace orvela
