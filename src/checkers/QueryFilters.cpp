#include "checkers/QueryFilters.h"

#include "base/Exceptions.h"
#include "engine/Properties.h"
#include "symbolic/GlobalState.h"

namespace orvela {

void QueryFilterBase::setProperty(const char* name, const void* value) {
  if (isProperty(name, "expression"))
    expression_ = propertyObject<TCTLExpression>(value);
  else if (isProperty(name, "allocator"))
    allocator_ = propertyObject<Allocator>(value);
}

void QueryFilterBase::checkReady() const {
  if (!allocator_ || !expression_)
    throw Bug("Query filter used before its expression and allocator were set");
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

AbstractReachabilityFilter::AbstractReachabilityFilter(Filter* stateSpace, Filter* query,
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

void AbstractReachabilityFilter::setProperty(const char* name, const void* value) {
  stateSpace_->setProperty(name, value);
  query_->setProperty(name, value);
}

Filter* createQueryFilter() { return new QueryFilter(); }

Filter* createMultiQueryFilter() { return new MultiQueryFilter(); }

AbstractReachabilityFilter* createReachabilityFilter(Filter* stateSpace,
                                                     const std::list<Filter*>& extra) {
  return new AbstractReachabilityFilter(stateSpace, createQueryFilter(), extra);
}

AbstractReachabilityFilter* createMultiReachabilityFilter(Filter* stateSpace,
                                                          const std::list<Filter*>& extra) {
  return new AbstractReachabilityFilter(stateSpace, createMultiQueryFilter(), extra);
}

} // namespace orvela
