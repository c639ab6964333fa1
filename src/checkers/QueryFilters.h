#pragma once
// What stands behind the search: the query filters that let through the
// states satisfying a property, and the compound that puts observers and a
// query behind a state-space filter.

#include "engine/CompoundFilter.h"
#include "formula/TCTLExpression.h"
#include "symbolic/Allocator.h"

#include <list>

namespace orvela {

class GlobalState;

/// What the query filters share: the properties "expression"
/// (`TCTLExpression*`, held by a counted reference) and "allocator"
/// (`Allocator*`), both to be set before the first state (Bug otherwise).
class QueryFilterBase : public AbstractFilter {
public:
  void setProperty(const char* name, const void* value) override;

protected:
  /// Throws Bug unless both properties are set.
  void checkReady() const;

  Pointer<Allocator> allocator_;
  Pointer<TCTLExpression> expression_;
};

/// `tryPut(GlobalState* s)`, s a block of the allocator that the filter now
/// owns: when the expression holds in s (which may narrow its zone) and the
/// zone is then not empty, puts s into the sink; returns s to the allocator in
/// any case and answers true.
class QueryFilter final : public QueryFilterBase {
public:
  bool tryPut(void* item) override;
};

/// The same for an expression that may split a state: puts every piece of s
/// where the expression holds (`evaluateMulti`) into the sink, in order, and
/// returns each to the allocator after the sink's call.
class MultiQueryFilter final : public QueryFilterBase {
public:
  bool tryPut(void* item) override;
};

/// A state-space filter with observers and a query behind it: the first extra
/// filter is attached to the state-space filter, each further one to the one
/// before, the query to the last. `tryPut` goes to the state-space filter;
/// `setProperty` is set on the state-space filter, then on the query (so
/// "stop" from a stop sink reaches the search); `setSink` attaches to the
/// query. Every member is kept.
class AbstractReachabilityFilter final : public CompoundFilter {
public:
  AbstractReachabilityFilter(Filter* stateSpace, Filter* query, const std::list<Filter*>& extra);

  bool tryPut(void* item) override { return stateSpace_->tryPut(item); }
  void setProperty(const char* name, const void* value) override;

  Filter* stateSpace() const { return stateSpace_; }

private:
  Filter* stateSpace_;
  Filter* query_;
};

/// Factories; each returns a new object with reference count 0.
Filter* createQueryFilter();
Filter* createMultiQueryFilter();
/// An `AbstractReachabilityFilter` with a `QueryFilter`.
AbstractReachabilityFilter* createReachabilityFilter(Filter* stateSpace,
                                                     const std::list<Filter*>& extra);
/// An `AbstractReachabilityFilter` with a `MultiQueryFilter`.
AbstractReachabilityFilter* createMultiReachabilityFilter(Filter* stateSpace,
                                                          const std::list<Filter*>& extra);

} // namespace orvela
