#include "checkers/TraceStoreFilter.h"

#include "symbolic/GlobalState.h"

namespace orvela {

bool TraceStoreFilter::put(SuccessorPair* pair) {
  GlobalState* state = pair->first;
  state->setTraceId(store_->put(pair->second, state->getTraceId()));
  return passOn(pair);
}

Filter* createTraceStoreFilter(const Pointer<TraceRecorder>& store) {
  return new TraceStoreFilter(store);
}

} // namespace orvela
