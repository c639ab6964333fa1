#include "checkers/LivenessChecker.h"

#include "checkers/ToSuccessorFilter.h"
#include "checkers/TraceStoreFilter.h"
#include "engine/Branches.h"
#include "engine/NormalisationFilter.h"
#include "engine/SearchTransitionFilter.h"
#include "engine/StateBlocks.h"
#include "symbolic/GlobalStateReference.h"

namespace orvela {

LivenessChecker::LivenessChecker(int buckets, const Pointer<System>& system,
                                 const Pointer<PWList>& passed,
                                 const Pointer<TraceStore>& traceStore,
                                 const NormalisationInfo& normalisation, StorageReduction reduction)
    : system_(system), passed_(passed),
      allocator_(createChunkAllocator(system->getSizeOfUnpackedState())),
      modelConstants_(normalisation), path_(new FrontStack(buckets)) {
  transition_ = keep(createSearchTransitionFilter(system, allocator_));
  Filter* successor = keep(createSuccessorFilter(system, allocator_));
  Filter* trace = keep(
      createTraceStoreFilter(traceStore ? traceStore : Pointer<TraceStore>(new NullTraceStore())));
  restricted_ = keep(createRestrictedDelayFilter(system, allocator_));
  normalisation_ = keep(createNormalisationFilter(system, allocator_));
  normalisation_->setConstants(modelConstants_);
  Filter* toSuccessor = keep(createToSuccessorFilter());
  Filter* repeater = keep(createRepeater());
  backFront_ =
      keep(createBackFrontFilter(system, *path_, pending_, passed_, allocator_, reduction));
  detector_ = keep(createDetector(system, *path_, *restricted_, allocator_));
  chain({transition_, successor, trace, restricted_, normalisation_, toSuccessor, repeater});
  repeater->setSink(backFront_);
  repeater->setSink(detector_);
  setFinal(detector_);
}

// A stopped search gives its states back before it returns, so nothing is
// left on the path or the pending list here.
LivenessChecker::~LivenessChecker() = default;

void LivenessChecker::setExpression(const Pointer<TCTLExpression>& property) {
  restricted_->setExpression(property);
  detector_->setExpression(property);
  NormalisationInfo constants = modelConstants_;
  property->accept(constants);
  normalisation_->setConstants(constants);
  passed_->clear();
}

bool LivenessChecker::tryPut(void* start) {
  stopped_ = false;
  if (!start)
    return true;
  const Transition* noMoves[1] = {nullptr};
  SuccessorPair pair(StateBlocks(*system_, allocator_).copyOf(*static_cast<GlobalState*>(start)),
                     noMoves);
  restricted_->tryPut(&pair);
  // A start state that is a witness itself ends the search before it is
  // taken from the buffer; it was examined all the same.
  if (stopped_)
    ++explored_;
  Successor next;
  while (!stopped_ && backFront_->tryGet(&next)) {
    ++explored_;
    GlobalStateReferenceWrapper reference(next.state);
    transition_->tryPut(&reference);
  }
  if (stopped_)
    backFront_->abandon();
  return true;
}

} // namespace orvela
