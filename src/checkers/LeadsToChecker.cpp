#include "checkers/LeadsToChecker.h"

namespace orvela {

LeadsToChecker::LeadsToChecker(int buckets, const Pointer<System>& system,
                               const Pointer<ReachabilityFilter>& stateSpace,
                               const Pointer<PWList>& passed, const Pointer<TraceStore>& traceStore,
                               const NormalisationInfo& normalisation, StorageReduction reduction)
    : stateSpace_(stateSpace), modelConstants_(normalisation),
      reach_(keep(createMultiReachabilityFilter(stateSpace.get(), {}))),
      live_(keep(
          new LivenessChecker(buckets, system, passed, traceStore, normalisation, reduction))) {
  stateSpace_->setConstants(modelConstants_);
  reach_->setSink(live_.get());
  setFinal(live_.get());
}

void LeadsToChecker::setExpression(const Pointer<TCTLExpression>& premise,
                                   const Pointer<TCTLExpression>& consequence) {
  live_->setExpression(consequence->negate());
  reach_->setExpression(premise);
  // The pieces where p holds are cut along p's bounds, so the reachable
  // zones must not be widened across them either.
  NormalisationInfo constants = modelConstants_;
  premise->accept(constants);
  consequence->accept(constants);
  stateSpace_->setConstants(constants);
}

void LeadsToChecker::stop() {
  reach_->requestStop();
  live_->stop();
}

} // namespace orvela
