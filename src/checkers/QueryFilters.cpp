#include "checkers/QueryFilters.h"

#include "base/Exceptions.h"
#include "symbolic/GlobalState.h"

namespace orvela {

void QueryFilterBase::checkReady() const {
  if (!expression_)
    throw Bug("Query filter used before its expression was set");
}

bool QueryFilter::tryPut(void* item) {
  checkReady();
  auto* state = static_cast<GlobalState*>(item);
  if (expression_->evaluate(state) && state->ok())
    passOn(state);
  allocator_->deallocate(state);
  return true;
}

bool MultiQueryFilter::tryPut(void* item) {
  checkReady();
  StateList states{static_cast<GlobalState*>(item)};
  expression_->evaluateMulti(states, allocator_.get());
  for (GlobalState* state : states) {
    passOn(state);
    returnState(state, allocator_.get());
  }
  return true;
}

AbstractReachabilityFilter::AbstractReachabilityFilter(ReachabilityFilter* stateSpace,
                                                       QueryFilterBase* query,
                                                       const std::list<Filter*>& extra)
    : stateSpace_(keep(stateSpace)), query_(keep(query)) {
  Filter* last = stateSpace_;
  for (Filter* observer : extra) {
    last->setSink(keep(observer));
    last = observer;
  }
  last->setSink(query_);
  setFinal(query_);
}

void AbstractReachabilityFilter::requestStop() { stateSpace_->requestStop(); }

AbstractReachabilityFilter* createReachabilityFilter(ReachabilityFilter* stateSpace,
                                                     const std::list<Filter*>& extra) {
  return new AbstractReachabilityFilter(stateSpace, new QueryFilter(stateSpace->allocator()),
                                        extra);
}

AbstractReachabilityFilter* createMultiReachabilityFilter(ReachabilityFilter* stateSpace,
                                                          const std::list<Filter*>& extra) {
  return new AbstractReachabilityFilter(stateSpace, new MultiQueryFilter(stateSpace->allocator()),
                                        extra);
}

} // namespace orvela
