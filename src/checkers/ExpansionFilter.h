#pragma once
// Replays a state space already held in the passed/waiting list, so that a new
// property can be checked on it without a new search.

#include "checkers/TraceStore.h"
#include "engine/Pipeline.h"
#include "engine/StateBlocks.h"
#include "engine/StorageReduction.h"
#include "engine/SuccessorPair.h"
#include "symbolic/GlobalStateReference.h"

namespace orvela {

/// `tryPut(GlobalStateReference* ref)`: builds the referenced stored state in
/// a block of the allocator and, when the storage reduction left states out
/// of the list, regenerates the states that the search passed through without
/// storing them: every move to a state that was not stored (committed target
/// locations only, unless the reduction drops any unnecessary state) is taken again
/// through an inner successor, delay and (with a trace store) trace-store
/// stage, and each state reached is expanded the same way and then passed on.
/// Finally the stored state is passed on; answers the sink's answer for it.
/// Every state passed on belongs to the sink. No normalisation is applied on
/// this path.
class ExpansionFilter final : public ItemFilter<ExpansionFilter, GlobalStateReference> {
public:
  /// `traceStore` may be null: then the regenerated moves are not recorded.
  ExpansionFilter(const Pointer<System>& system, const Pointer<TraceRecorder>& traceStore,
                  const Pointer<Allocator>& allocator, StorageReduction reduction);

  bool put(GlobalStateReference* ref);

private:
  /// A move from a stored or regenerated state: regenerates its target when
  /// the search did not store it; false otherwise.
  bool expand(SuccessorPair* pair);
  /// A regenerated state: expands it, then passes it on.
  bool reinsert(SuccessorPair* pair);

  Pointer<System> system_;
  StorageReduction reduction_;
  StateBlocks blocks_;
  Pointer<Filter> transitions_;
  Pointer<Filter> successors_;
  Pointer<Filter> delay_;
  Pointer<Filter> traceStore_;
  Pointer<PureSink> expandSink_;
  Pointer<PureSink> reinsertSink_;
};

/// A new filter (reference count 0).
Filter* createExpansionFilter(const Pointer<System>& system,
                              const Pointer<TraceRecorder>& traceStore,
                              const Pointer<Allocator>& allocator, StorageReduction reduction);

} // namespace orvela
