#pragma once
// Reachability explored by several threads at once. Each worker runs the
// sequential pipeline (`ReachabilityFilter`) with its own allocator, scratch
// states, query and trace segment; they share one passed/waiting list split
// into locked partitions by the discrete part's hash, so that an inclusion
// check locks one partition. Every pipeline is built on the calling thread
// before the workers start, so the workers never copy a counted reference to
// the shared model.

#include "checkers/ReachabilityFilter.h"
#include "engine/ClockBounds.h"
#include "engine/NormalisationInfo.h"
#include "engine/SearchWatch.h"
#include "engine/StorageReduction.h"
#include "formula/TCTLExpression.h"
#include "parallel/TraceSegments.h"
#include "pwlist/PartitionedPWList.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orvela {

class GlobalState;
class System;

/// How a parallel search is run.
struct ParallelSettings {
  unsigned threads = 2; ///< workers, at least 1
  StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted;
  bool traces = false; ///< record moves, so that `copyTrace` works
  /// Makes one partition of the shared list (the representation and the
  /// waiting order of the search).
  PartitionedPWList::ListMaker makeList;
};

/// What a search found and did.
struct ParallelOutcome {
  /// A goal state (an unpacked copy; its trace identifier names an entry of
  /// the search's segments), null when none was found.
  Pointer<GlobalState> goal;
  std::uint64_t explored = 0; ///< states taken for exploration, all workers
  std::uint64_t stored = 0;   ///< states the shared list accepted
};

/// One search over `system`, which must not change while it runs.
class ParallelReachability {
public:
  ParallelReachability(const Pointer<System>& system, ParallelSettings settings);

  /// Searches from `initial` for a state where the query holds, worker w
  /// evaluating `queries[w]` (one distinct expression per worker, as an
  /// evaluation may keep state; `splitting` when the query may split a zone,
  /// as the deadlock predicate does). Zones are normalised with `constants`
  /// under `abstraction`. `watch` (may be null) is stepped by the first
  /// worker. The first goal found stops every worker within one expansion.
  /// An exception of any worker stops the others and is rethrown here, after
  /// every worker has stopped.
  ParallelOutcome run(const GlobalState& initial,
                      const std::vector<Pointer<TCTLExpression>>& queries, bool splitting,
                      const NormalisationInfo& constants, const Abstraction& abstraction,
                      SearchWatch* watch);

  /// After a run that found a goal with traces on: copies its path into
  /// `into`, after entry `start` (the initial state's entry there); answers
  /// the goal's entry in `into`.
  int copyTrace(TraceStore& into, int start) const;

private:
  Pointer<System> system_;
  ParallelSettings settings_;
  std::unique_ptr<TraceSegments> segments_;
  int goalId_ = -1;
};

} // namespace orvela
