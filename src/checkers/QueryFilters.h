#pragma once
// What stands behind the search: the query filters that let through the
// states satisfying a property, and the compound that puts observers and a
// query behind a state-space filter.

#include "checkers/ReachabilityFilter.h"
#include "engine/CompoundFilter.h"
#include "formula/TCTLExpression.h"
#include "symbolic/Allocator.h"

#include <list>

namespace orvela {

class GlobalState;

/// What the query filters share: the allocator the states come from and the
/// expression, held by counted references; the expression must be set before
/// the first state (Bug otherwise).
class QueryFilterBase : public AbstractFilter {
public:
  explicit QueryFilterBase(const Pointer<Allocator>& allocator) : allocator_(allocator) {}
  /// The formula the states must satisfy from the next state on.
  void setExpression(const Pointer<TCTLExpression>& expression) { expression_ = expression; }

protected:
  /// Throws Bug unless the expression is set.
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
  using QueryFilterBase::QueryFilterBase;
  bool tryPut(void* item) override;
};

/// The same for an expression that may split a state: puts every piece of s
/// where the expression holds (`evaluateMulti`) into the sink, in order, and
/// returns each to the allocator after the sink's call.
class MultiQueryFilter final : public QueryFilterBase {
public:
  using QueryFilterBase::QueryFilterBase;
  bool tryPut(void* item) override;
};

/// A state-space filter with observers and a query behind it: the first extra
/// filter is attached to the state-space filter, each further one to the one
/// before, the query (on the state-space filter's allocator) to the last.
/// `tryPut` and `requestStop` go to the state-space filter; `setSink` attaches
/// to the query. Every member is kept.
class AbstractReachabilityFilter final : public SearchFilter {
public:
  AbstractReachabilityFilter(ReachabilityFilter* stateSpace, QueryFilterBase* query,
                             const std::list<Filter*>& extra);

  bool tryPut(void* item) override { return stateSpace_->tryPut(item); }
  void requestStop() override;
  /// The formula the query lets states through by.
  void setExpression(const Pointer<TCTLExpression>& expression) {
    query_->setExpression(expression);
  }

  ReachabilityFilter* stateSpace() const { return stateSpace_; }

private:
  ReachabilityFilter* stateSpace_;
  QueryFilterBase* query_;
};

/// An `AbstractReachabilityFilter` with a `QueryFilter` (reference count 0).
AbstractReachabilityFilter* createReachabilityFilter(ReachabilityFilter* stateSpace,
                                                     const std::list<Filter*>& extra);
/// An `AbstractReachabilityFilter` with a `MultiQueryFilter` (reference
/// count 0).
AbstractReachabilityFilter* createMultiReachabilityFilter(ReachabilityFilter* stateSpace,
                                                          const std::list<Filter*>& extra);

} // namespace orvela
