#pragma once
// The clock of a fastest-trace search: a clock that no guard, invariant or
// reset of the model names, started with the search and never widened, so
// that its lower bound in a zone is the least time in which the search can
// have reached the zone's states.

#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "engine/SuccessorPair.h"

namespace orvela {

class GlobalState;

/// The least time a cost clock reads in a zone: the constant of its lower
/// bound, which is only an infimum when the bound is strict.
struct ElapsedTime {
  int value = 0;
  bool infimum = false;
  bool operator==(const ElapsedTime&) const = default;
};

/// The lower bound of `clock` in the closed zone of `state` as a priority:
/// a smaller time comes first, and a time that is reached before the same
/// time that is only approached.
int costPriority(const GlobalState& state, int clock);
/// The time a priority of `costPriority` stands for.
ElapsedTime elapsedTimeOf(int priority);

/// `tryPut(SuccessorPair*)` on a state with a closed zone that the filter
/// owns: drops the upper bounds of the cost clock (a state reached later with
/// everything else equal cannot reach anything sooner, so the zone may cover
/// it), then drops the state, answering false, when its priority lies above
/// `*cutoff` (it cannot lead to a better answer than one found already);
/// otherwise passes the pair on and answers the sink's answer.
class CostClockFilter final : public ItemFilter<CostClockFilter, SuccessorPair> {
public:
  /// `cutoff` must outlive the filter.
  CostClockFilter(const System& system, const Pointer<Allocator>& allocator, int clock,
                  const int* cutoff)
      : blocks_(system, allocator), clock_(clock), cutoff_(cutoff) {}

  bool put(SuccessorPair* pair);

private:
  StateBlocks blocks_;
  int clock_;
  const int* cutoff_;
};

} // namespace orvela
