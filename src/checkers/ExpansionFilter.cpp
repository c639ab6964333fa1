#include "checkers/ExpansionFilter.h"

#include "checkers/TraceStoreFilter.h"
#include "engine/Adapters.h"
#include "engine/SuccessorFilters.h"
#include "engine/TransitionFilter.h"

#include <memory>

namespace orvela {

ExpansionFilter::ExpansionFilter(const Pointer<System>& system,
                                 const Pointer<TraceRecorder>& traceStore,
                                 const Pointer<Allocator>& allocator, StorageReduction reduction)
    : system_(system), reduction_(reduction), blocks_(*system, allocator),
      transitions_(createTransitionFilter(system)),
      successors_(createCopyingSuccessorFilter(system, allocator)),
      delay_(createDelayFilter(system, allocator)),
      expandSink_(createFunctionToSinkAdapter([this](SuccessorPair* p) { return expand(p); })),
      reinsertSink_(createFunctionToSinkAdapter([this](SuccessorPair* p) { return reinsert(p); })) {
  transitions_->setSink(expandSink_.get());
  successors_->setSink(delay_.get());
  if (traceStore) {
    traceStore_ = createTraceStoreFilter(traceStore);
    delay_->setSink(traceStore_.get());
    traceStore_->setSink(reinsertSink_.get());
  } else {
    delay_->setSink(reinsertSink_.get());
  }
}

bool ExpansionFilter::put(GlobalStateReference* ref) {
  GlobalState* state = blocks_.create();
  ref->writeDiscreteTo(state);
  ref->writeSymbolicTo(state);
  if (reduction_ != StorageReduction::keepAll)
    transitions_->tryPut(state);
  return passOn(state);
}

bool ExpansionFilter::expand(SuccessorPair* pair) {
  struct Remover {
    void operator()(GlobalState* state) const { GlobalState::remove(state); }
  };
  const std::unique_ptr<GlobalState, Remover> target(pair->first->locationCopy());
  for (const Transition** e = pair->second; *e; ++e)
    target->setLocation(unsigned((*e)->getProcessIndex()), (*e)->getTarget());
  if (reduction_ != StorageReduction::dropUnnecessary && system_->committed(target.get()) == 0)
    return false;
  // The whole edge array is asked, so that a broadcast's every receiver counts.
  if (!system_->noSave(pair->second, target.get()))
    return false;
  return successors_->tryPut(pair);
}

bool ExpansionFilter::reinsert(SuccessorPair* pair) {
  transitions_->tryPut(pair->first);
  return passOn(pair->first);
}

Filter* createExpansionFilter(const Pointer<System>& system,
                              const Pointer<TraceRecorder>& traceStore,
                              const Pointer<Allocator>& allocator, StorageReduction reduction) {
  return new ExpansionFilter(system, traceStore, allocator, reduction);
}

} // namespace orvela
