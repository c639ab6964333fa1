#include "checkers/TraceSimulation.h"

#include "base/Exceptions.h"
#include "engine/SuccessorFilters.h"
#include "engine/SuccessorPair.h"

namespace orvela {

TraceSimulation::TraceSimulation(const Pointer<Trace>& trace, const Pointer<System>& system,
                                 const Pointer<Allocator>& allocator, const GlobalState* start)
    : trace_(trace), system_(system), blocks_(*system, allocator),
      successor_(createCopyingSuccessorFilter(system, allocator)),
      delay_(createDelayFilter(system, allocator)) {
  successor_->setSink(delay_.get());
  delay_->setSink(this);
  const Transition* noMoves[1] = {nullptr};
  SuccessorPair pair(blocks_.copyOf(*start), noMoves);
  delay_->tryPut(&pair);
  trace_->reset();
}

TraceSimulation::~TraceSimulation() {
  if (current_)
    blocks_.drop(current_);
}

bool TraceSimulation::tryPut(void* item) {
  current_ = static_cast<SuccessorPair*>(item)->first;
  return true;
}

const Transition* const* TraceSimulation::next() {
  if (trace_->atEnd() || !current_)
    throw Bug("Trace simulation past its end or without a state");
  GlobalState* old = current_;
  const Transition* const* edges = trace_->getCurrent();
  // The stages take a mutable edge array; they only read it.
  SuccessorPair pair(old, const_cast<const Transition**>(edges));
  current_ = nullptr;
  successor_->tryPut(&pair);
  if (!current_) {
    current_ = old;
    throw Bug("Trace step cannot be taken from the current state");
  }
  blocks_.drop(old);
  trace_->next();
  return edges;
}

} // namespace orvela
