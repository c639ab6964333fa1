#pragma once
// A reachability search over a model written in the description language, set
// up as the model-checking service sets it up: a state-space filter over the
// default passed/waiting list, a query and a stop sink behind it.

#include "checkers/QueryFilters.h"
#include "checkers/ReachabilityFilter.h"
#include "checkers/TraceStore.h"
#include "engine/NormalisationInfo.h"
#include "engine/StateBlocks.h"
#include "engine/StopSinks.h"
#include "expr/LogicExpressions.h"
#include "formula/TCTLExpressionAdaptor.h"
#include "pwlist/PWListFactories.h"
#include "support/ModelText.h"
#include "symbolic/GlobalStateReference.h"

#include <map>
#include <string>
#include <vector>

namespace orvela::test {

struct Search {
  /// The model of `text`, its initial state recorded in a memory trace store
  /// (none with `traces` false), and a breadth-first state-space filter.
  explicit Search(const std::string& text, bool traces = true)
      : system(loadSystem(text)), store(traces ? new MemoryTraceStore() : nullptr),
        initial(system->calcInitial()),
        stateSpace(new ReachabilityFilter(
            system, createDBMPWList(17609, createQueuePWOrder(), stateShapeOf(*system)), store)),
        info(system->tables().clockCount()) {
    if (store)
      initial->setTraceId(store->put(nullptr, -1));
    system->accept(info);
  }

  /// A test of process `process` being in location `location`.
  Pointer<Expression> at(const std::string& process, const std::string& location) const {
    return new StateExpression(unsigned(processIndex(*system, process)),
                               unsigned(locationIndex(*system, process, location)));
  }
  static Pointer<Expression> both(const Pointer<Expression>& a, const Pointer<Expression>& b) {
    return new AndExpression(a, b);
  }

  /// Searches from the initial state for a state where `goal` holds;
  /// answers whether one was found.
  bool reach(const Pointer<Expression>& goal) {
    return reach(Pointer<TCTLExpression>(new TCTLExpressionAdaptor(goal)));
  }
  /// The same for a state formula (a parsed property's).
  bool reach(const Pointer<TCTLExpression>& property) {
    Pointer<AbstractReachabilityFilter> search = createReachabilityFilter(stateSpace.get(), {});
    stop = new StopSink(search.get());
    search->setSink(stop.get());
    stateSpace->setConstants(info);
    search->setExpression(property);
    EXPECT_TRUE(search->tryPut(initial.get()));
    return bool(stop->state());
  }

  /// The moves of the trace to the state found, one string per step.
  std::vector<std::string> trace() const {
    std::vector<std::string> steps;
    Pointer<Trace> trace = store->createTrace(stop->state()->getTraceId());
    for (trace->reset(); !trace->atEnd(); trace->next())
      steps.push_back(moveName(trace->getCurrent()));
    return steps;
  }

  /// States stored in the list now.
  std::size_t kept() const {
    std::size_t count = 0;
    Pointer<PureSource> states = stateSpace->list().enumStates();
    for (GlobalStateReference* ref; states->tryGet(&ref);)
      ++count;
    return count;
  }

  /// States stored in the list now, counted by their location vectors.
  std::map<std::vector<int>, int> keptByLocations() const {
    std::map<std::vector<int>, int> counts;
    Pointer<GlobalState> scratch = system->calcInitial();
    Pointer<PureSource> states = stateSpace->list().enumStates();
    for (GlobalStateReference* ref; states->tryGet(&ref);) {
      ref->writeDiscreteTo(scratch.get());
      std::vector<int> locations;
      for (int p = 0; p < system->getProcessCount(); ++p)
        locations.push_back(scratch->getLocation(unsigned(p)));
      ++counts[locations];
    }
    return counts;
  }

  Pointer<System> system;
  Pointer<MemoryTraceStore> store;
  Pointer<GlobalState> initial;
  Pointer<ReachabilityFilter> stateSpace;
  NormalisationInfo info;
  Pointer<StopSink> stop;
};

} // namespace orvela::test
