#pragma once
// The check of p --> q: a search for a reachable state where p holds from
// which a run never meets q.

#include "checkers/LivenessChecker.h"
#include "checkers/QueryFilters.h"
#include "checkers/ReachabilityFilter.h"

namespace orvela {

/// A reachability search over the server's state-space filter whose new
/// states are split by p (a multi-state query); every piece where p holds
/// starts a liveness search for E[] not q. All liveness searches of one check
/// share their passed list. The first witness of a liveness search reaches
/// the sink as a pair of trace identifiers (see `LivenessChecker`): a
/// counterexample, so the property does not hold. `tryPut(start)` runs the
/// reachability search from `start` (null: the state-space filter's own
/// continuation) and answers its answer.
class LeadsToChecker final : public CompoundFilter {
public:
  LeadsToChecker(int buckets, const Pointer<System>& system,
                 const Pointer<ReachabilityFilter>& stateSpace, const Pointer<PWList>& passed,
                 const Pointer<TraceStore>& traceStore, const NormalisationInfo& normalisation,
                 StorageReduction reduction = StorageReduction::dropUnnecessaryCommitted);

  /// Checks p --> q for the premise p and the consequence q. The constants of
  /// both join the model's for the normalisation of both searches. Throws
  /// `InputError` when q contains the deadlock predicate.
  void setExpression(const Pointer<TCTLExpression>& premise,
                     const Pointer<TCTLExpression>& consequence);
  bool tryPut(void* start) override { return reach_->tryPut(start); }
  /// Ends the reachability search after the current state and the liveness
  /// search before its next state.
  void stop();

  const Pointer<LivenessChecker>& live() const { return live_; }

private:
  Pointer<ReachabilityFilter> stateSpace_;
  NormalisationInfo modelConstants_;
  AbstractReachabilityFilter* reach_;
  Pointer<LivenessChecker> live_;
};

} // namespace orvela
