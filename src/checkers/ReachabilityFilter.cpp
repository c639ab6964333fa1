#include "checkers/ReachabilityFilter.h"

#include "checkers/ExpansionFilter.h"
#include "checkers/TraceStoreFilter.h"
#include "engine/Branches.h"
#include "engine/CostClock.h"
#include "engine/NormalisationFilter.h"
#include "engine/Progress.h"
#include "engine/SearchTransitionFilter.h"
#include "engine/StateBlocks.h"
#include "engine/StopSinks.h"
#include "engine/SuccessorFilters.h"
#include "engine/SuccessorPair.h"
#include "model/System.h"
#include "pwlist/WaitingStateFilters.h"
#include "symbolic/GlobalStateReference.h"

#include <iostream>

namespace orvela {

ReachabilityFilter::ReachabilityFilter(const Pointer<System>& system, PWList* list,
                                       const Pointer<TraceRecorder>& traceStore,
                                       StorageReduction reduction)
    : traceStore_(traceStore), system_(system), reduction_(reduction), list_(list),
      allocator_(createChunkAllocator(system->getSizeOfUnpackedState())),
      then_(createWaitingStateToGlobalStateFilter()) {}

void ReachabilityFilter::setSink(Sink* next) {
  finalSink_ = next;
  then_->setSink(next);
  if (expansion_)
    expansion_->setSink(next);
}

void ReachabilityFilter::setConstants(const NormalisationInfo& info,
                                      const Abstraction& abstraction) {
  info_.maxConst = info.maxConst;
  info_.constraints = info.constraints;
  abstraction_ = abstraction;
  if (normalisation_)
    normalisation_->setConstants(info_, abstraction_.extrapolation, abstraction_.bounds);
  list_->setSimulation(abstraction_.subsumption == Subsumption::lu ? abstraction_.bounds : nullptr);
}

void ReachabilityFilter::prepare() {
  stop_ = false;
  reset();
  list_->clear();
  normalisation_ = keep(createNormalisationFilter(system_, allocator_));
  normalisation_->setConstants(info_, abstraction_.extrapolation, abstraction_.bounds);
  successor_ = keep(createSuccessorFilter(system_, allocator_));
  transition_ = keep(createSearchTransitionFilter(system_, allocator_));
  delay_ = keep(createDelayFilter(system_, allocator_));

  Filter* progress = keep(createProgress(std::cerr, list_.get()));
  PureSink* deallocation = keep(createDeallocationSink(allocator_));
  Filter* otherwise = keep(createWaitingStateToGlobalStateFilter());
  Filter* activeClocks = keep(createActiveClockReductionFilter(system_));
  Filter* waiting = keep(createPairToWaitingStateFilter(system_, reduction_));
  Filter* trace = traceStore_ ? keep(createTraceStoreFilter(traceStore_)) : nullptr;
  Filter* cost = costClock_ >= 0
                     ? keep(new CostClockFilter(*system_, allocator_, costClock_, cutoff_))
                     : nullptr;
  Filter* last = active_ ? activeClocks : waiting;
  head_ = chain({transition_, silent_ ? nullptr : progress, successor_, trace, delay_,
                 normalisation_, cost, waiting, active_ ? activeClocks : nullptr});
  // The list decides: a state it accepts goes on to the sink, one it refuses
  // back to the allocator.
  then_->setSink(finalSink_);
  otherwise->setSink(deallocation);
  branch_ = keep(new Branch(*list_, *then_, *otherwise));
  last->setSink(branch_);

  expansion_ = nullptr;
  if (reuse_) {
    expansion_ = keep(createExpansionFilter(system_, traceStore_, allocator_, reduction_));
    if (finalSink_)
      expansion_->setSink(finalSink_);
  }
}

bool ReachabilityFilter::tryPut(void* item) {
  stop_ = false;
  if (!item) {
    if (expansion_) {
      Pointer<PureSource> stored = list_->enumStates();
      GlobalStateReference* ref;
      while (!stop_ && stored->tryGet(&ref))
        expansion_->tryPut(ref);
    }
  } else {
    prepare();
    seed(*static_cast<GlobalState*>(item));
  }
  explore();
  return true;
}

void ReachabilityFilter::seed(const GlobalState& initial) {
  const Transition* noMoves[1] = {nullptr};
  SuccessorPair pair(StateBlocks(*system_, allocator_).copyOf(initial), noMoves);
  delay_->tryPut(&pair);
}

void ReachabilityFilter::admit(GlobalState* state, bool store) {
  WaitingState record{state, store, discreteHash(state)};
  branch_->tryPut(&record);
}

void ReachabilityFilter::explore() {
  if (!head_)
    return;
  GlobalStateReference* ref;
  while (!stop_ && list_->tryGet(&ref))
    head_->tryPut(ref);
}

ReachabilityFilter* createStateSpaceFilter(const Pointer<System>& system, PWList* list,
                                           const Pointer<TraceRecorder>& traceStore,
                                           StorageReduction reduction) {
  return new ReachabilityFilter(system, list, traceStore, reduction);
}

} // namespace orvela
